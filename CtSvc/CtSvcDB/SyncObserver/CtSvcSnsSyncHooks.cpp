// Per-friend work of the friend actions. Each finds the friend's person; the phonebook writes
// and the image request that complete the work are not in the library yet and are logged.
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncHooks.h"

#include "CtSvcDB/SyncObserver/CtSvcSnsSyncActions.h"
#include "ZelDebug.h"

int CtSvcSnsUpdateFriend(const ISnsSvcFriend& person) {
  const int nPersonId = CtSvcSnsFindPersonId(person);
  if (nPersonId < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync - GetContactInfo failed");
    return 0;
  }
  DbgPrint(DBG_CLASS_FAIL,
           "CCtSvcSnsSyncObserver::UpdateContactInfo(%d) - %d numbers, %d e-mails: CtSvcPhonebookUpdateContactToPhone "
           "not available yet\n",
           nPersonId, static_cast<int>(CtSvcSnsFriendPhoneNumbers(person).size()),
           static_cast<int>(CtSvcSnsFriendEmails(person).size()));
  return 0;
}

int CtSvcSnsDeleteFriend(const ISnsSvcFriend& person) {
  const int nPersonId = CtSvcSnsFindPersonId(person);
  if (nPersonId < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync - GetContactInfo failed");
    return 0;
  }
  DbgPrint(DBG_CLASS_FAIL,
           "CCtSvcSnsSyncObserver::OnExecuteSync - CtSvcPhonebookDeleteContactFromPhone(%d) not available yet\n",
           nPersonId);
  return 0;
}

int CtSvcSnsRequestCallerId(const ISnsSvcFriend& person) {
  const int nPersonId = CtSvcSnsFindPersonId(person);
  if (nPersonId < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync(%s) - GetPersonId failed", person.strId.c_str());
    return 0;
  }
  if (person.strPictureUrl.empty()) {
    return 1;
  }
  DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync(%s) - CtSvcSnsImageRequest not available yet\n",
           person.strId.c_str());
  return 0;
}
