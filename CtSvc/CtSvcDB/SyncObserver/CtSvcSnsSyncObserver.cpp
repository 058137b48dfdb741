// Social-network sync subscriber: registration, history store and the action dispatch.
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncObserver.h"

#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncActions.h"
#include "ZelDebug.h"
#include "ZelSnsSvc/ZelSnsSvc.h"

CCtSvcSnsSyncObserver::CCtSvcSnsSyncObserver() {
  m_bRegistered = CContentSyncMgr::Instance()->RegisterSyncSubscriber(CTSVC_SNS_SYNC_KEY, this, 1);
  DbgPrint(m_bRegistered ? DBG_CLASS_TRACE : DBG_CLASS_FAIL,
           m_bRegistered
               ? "CCtSvcSnsSyncObserver::CCtSvcSnsSyncObserver - CContentSyncMgr::Instance()->RegisterSyncSubscriber success"
               : "CCtSvcSnsSyncObserver::CCtSvcSnsSyncObserver - CContentSyncMgr::Instance()->RegisterSyncSubscriber failed");
  m_hHistoryDb = SnsSvcHistoryDbOpen(CTSVC_SNS_SYNC_HISTORY_DB, CTSVC_SNS_SYNC_HISTORY_SIZE);
  if (m_hHistoryDb == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::CCtSvcSnsSyncObserver - history store cannot be opened\n");
  }
}

CCtSvcSnsSyncObserver::~CCtSvcSnsSyncObserver() {
  if (m_bRegistered) {
    CContentSyncMgr::Instance()->UnregisterSyncSubscriber(CTSVC_SNS_SYNC_KEY, this);
  }
  if (m_hHistoryDb != INVALID_HOBJ) {
    SnsSvcHistoryDbClose(m_hHistoryDb);
  }
}

int CCtSvcSnsSyncObserver::OnSync(const std::string& strKey, const std::string& strAction, const std::string& strArg) {
  return OnExecuteSync(strKey, strAction, strArg);
}

int CCtSvcSnsSyncObserver::OnExecuteSync(const std::string& strUri, const std::string& strAction,
                                         const std::string& strData) {
  if (strUri.empty() || strUri != CTSVC_SNS_SYNC_KEY) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync - invalid URI(%s)\n", strUri.c_str());
    return 0;
  }
  if (strAction.empty() || strData.empty()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync - action or data is empty\n");
    return 0;
  }
  const CtSvcSnsSyncAction* pAction = CtSvcFindSnsSyncAction(strAction);
  if (pAction == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync - Unknown action type");
    return 0;
  }
  std::vector<ISnsSvcFriend> vcFriends;
  if (!SnsSvcFriendsFromText(strData, vcFriends)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsSyncObserver::OnExecuteSync - Friend information is invalid");
    return 0;
  }
  if (pAction->szCountFormat != nullptr) {
    DbgPrint(DBG_CLASS_TRACE, pAction->szCountFormat, static_cast<int>(vcFriends.size()));
  }
  int nHandled = 0;
  for (const ISnsSvcFriend& person : vcFriends) {
    if (!CtSvcIsUsableSnsFriend(person)) {
      DbgPrint(DBG_CLASS_FAIL, pAction->szInvalidFormat, person.strId.c_str());
      continue;
    }
    nHandled += pAction->pfnHook(person);
  }
  return nHandled == static_cast<int>(vcFriends.size()) ? 1 : 0;
}

int CCtSvcSnsSyncObserver::OnSyncStarted() {
  return CContentMgr::Instance()->BeginProviderSync(CTSVC_PROVIDER_NAME) ? 1 : 0;
}

int CCtSvcSnsSyncObserver::OnSyncFinished() {
  return CContentMgr::Instance()->EndProviderSync(CTSVC_PROVIDER_NAME) ? 1 : 0;
}
