// Per-friend work of the friend actions: each finds the friend's person and changes it through the
// phonebook's contact update or delete, so that change callbacks and primaries follow.
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncHooks.h"

#include <cstdio>
#include <vector>

#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncActions.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPhonebook.h"
#include "ZelDebug.h"

namespace {

// The stored person of a friend with the rows an update must keep (its RCS entry and its first
// social-network row), as a contact info that leaves every other list as stored.
struct FriendContact {
  CtSvcPersonRecord stored{};
  CtSvcRcsRecord rcs{};
  CtSvcSnsDataRecord sns{};
  CtSvcContactInfo info{};

  bool Load(int nPersonId) {
    if (!CtSvcDbPersonGetRecordById(nPersonId, &stored)) {
      return false;
    }
    info.pPersonInfo = &stored.Info;
    info.nPhoneNumberCount = info.nEmailAddressCount = info.nPostalAddressCount = -1;
    info.nGroupMemberCount = info.nEtcDataCount = info.nIMCount = -1;
    const HOBJ hPerson = Handle();
    info.pRcsInfo = CtSvcDbPersonGetRcsInformation(hPerson, &rcs, 1) == 1 ? &rcs.Info : nullptr;
    info.pSnsDataInfo = CtSvcDbPersonGetSnsData(hPerson, &sns, 1) == 1 ? &sns.Info : nullptr;
    return true;
  }
  HOBJ Handle() const { return CTSVC_MAKE_HANDLE(stored.DevType, stored.nId); }
  // Where the friend's picture is kept as the caller image: "<sp><people id>.jpg" among the
  // caller images of the friend's account.
  void SetCallerImage(const ISnsSvcFriend& person) {
    const int nSp = info.pSnsDataInfo != nullptr ? info.pSnsDataInfo->nSp : -1;
    std::snprintf(stored.Info.szCallerImage, sizeof(stored.Info.szCallerImage), "/User/Mass/Ct/%d/Images/%d%s.jpg",
                  person.nAccountId, nSp, person.strId.c_str());
  }
};

}  // namespace

int CtSvcSnsUpdateFriend(const ISnsSvcFriend& person) {
  FriendContact contact;
  const int nPersonId = CtSvcSnsFindPersonId(person);
  if (nPersonId < 0 || !contact.Load(nPersonId)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync - GetContactInfo failed");
    return 0;
  }
  CtSvcPersonInfo& info = contact.stored.Info;
  if (!person.strFirstName.empty() || !person.strLastName.empty()) {
    CtSvcWriteCString(info.szFirstName, sizeof(info.szFirstName), person.strFirstName);
    CtSvcWriteCString(info.szLastName, sizeof(info.szLastName), person.strLastName);
  }
  std::vector<CtSvcPhoneNumberInfo> vNumbers = CtSvcSnsFriendPhoneNumbers(person);
  std::vector<CtSvcEmailAddressInfo> vEmails = CtSvcSnsFriendEmails(person);
  contact.info.pPhoneNumberInfo = vNumbers.data();
  contact.info.nPhoneNumberCount = static_cast<INT32>(vNumbers.size());
  contact.info.pEmailAddressInfo = vEmails.data();
  contact.info.nEmailAddressCount = static_cast<INT32>(vEmails.size());
  if (!person.strPictureUrl.empty()) {
    contact.SetCallerImage(person);
  }
  if (!CtSvcPhonebookUpdateContactToPhone(contact.Handle(), &contact.info)) {
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
  FriendContact contact;
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
  contact.SetCallerImage(person);
  if (!CtSvcPhonebookUpdateContactToPhone(contact.Handle(), &contact.info)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::UpdateContactInfo(%d) Inserting failure!\n", nPersonId);
    return 0;
  }
  return 1;
}
