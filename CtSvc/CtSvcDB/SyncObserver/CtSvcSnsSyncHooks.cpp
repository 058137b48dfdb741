// Per-friend work of the friend actions: each finds the friend's person and changes it through the
// phonebook's contact update or delete, so that change callbacks and primaries follow.
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncHooks.h"

#include <cstdio>
#include <vector>

#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncActions.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPhonebook.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookStoredContact.h"
#include "ZelDebug.h"

namespace {

// Where the friend's picture is kept as the caller image: "<sp><people id>.jpg" among the caller
// images of the friend's account.
void SetCallerImage(CCtSvcStoredContactInfo& contact, const ISnsSvcFriend& person) {
  const CtSvcSnsDataInfo* pSns = contact.Info().pSnsDataInfo;
  CtSvcPersonInfo& info = contact.Person().Info;
  std::snprintf(info.szCallerImage, sizeof(info.szCallerImage), "/User/Mass/Ct/%d/Images/%d%s.jpg", person.nAccountId,
                pSns != nullptr ? pSns->nSp : -1, person.strId.c_str());
}

}  // namespace

int CtSvcSnsUpdateFriend(const ISnsSvcFriend& person) {
  CCtSvcStoredContactInfo contact;
  const int nPersonId = CtSvcSnsFindPersonId(person);
  if (nPersonId < 0 || !contact.Load(nPersonId)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync - GetContactInfo failed");
    return 0;
  }
  CtSvcPersonInfo& info = contact.Person().Info;
  if (!person.strFirstName.empty() || !person.strLastName.empty()) {
    CtSvcWriteCString(info.szFirstName, sizeof(info.szFirstName), person.strFirstName);
    CtSvcWriteCString(info.szLastName, sizeof(info.szLastName), person.strLastName);
  }
  std::vector<CtSvcPhoneNumberInfo> vNumbers = CtSvcSnsFriendPhoneNumbers(person);
  std::vector<CtSvcEmailAddressInfo> vEmails = CtSvcSnsFriendEmails(person);
  contact.Info().pPhoneNumberInfo = vNumbers.data();
  contact.Info().nPhoneNumberCount = static_cast<INT32>(vNumbers.size());
  contact.Info().pEmailAddressInfo = vEmails.data();
  contact.Info().nEmailAddressCount = static_cast<INT32>(vEmails.size());
  if (!person.strPictureUrl.empty()) {
    SetCallerImage(contact, person);
  }
  if (!CtSvcPhonebookUpdateContactToPhone(contact.Handle(), &contact.Info())) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::UpdateContactInfo(%d) Inserting failure!\n", nPersonId);
    return 0;
  }
  return 1;
}

int CtSvcSnsDeleteFriend(const ISnsSvcFriend& person) {
  const int nPersonId = CtSvcSnsFindPersonId(person);
  CtSvcPersonRecord stored{};
  if (nPersonId < 0 || !CtSvcDbPersonGetRecordById(nPersonId, &stored)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync - GetContactInfo failed");
    return 0;
  }
  if (!CtSvcPhonebookDeleteContactFromPhone(CTSVC_MAKE_HANDLE(stored.DevType, nPersonId))) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync - CtSvcPhonebookDeleteContactFromPhone failed");
    return 0;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSnsSyncObserver::OnExecuteSync - CtSvcPhonebookDeleteContactFromPhone success");
  return 1;
}

int CtSvcSnsRequestCallerId(const ISnsSvcFriend& person) {
  CCtSvcStoredContactInfo contact;
  const int nPersonId = CtSvcSnsFindPersonId(person);
  if (nPersonId < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync(%s) - GetPersonId failed", person.strId.c_str());
    return 0;
  }
  if (person.strPictureUrl.empty()) {
    return 1;
  }
  if (!contact.Load(nPersonId)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync(%s) - GetPersonId failed", person.strId.c_str());
    return 0;
  }
  SetCallerImage(contact, person);
  if (!CtSvcPhonebookUpdateContactToPhone(contact.Handle(), &contact.Info())) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::UpdateContactInfo(%d) Inserting failure!\n", nPersonId);
    return 0;
  }
  return 1;
}
