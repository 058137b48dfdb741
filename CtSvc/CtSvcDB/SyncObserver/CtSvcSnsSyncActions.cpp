// The action table of the friend synchronisation and the friend's person lookup.
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncActions.h"

#include <cstdio>

#include "ContentFramework.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "CtSvcDB/SyncObserver/CtSvcSnsSyncHooks.h"

namespace {

const CtSvcSnsSyncAction kActions[] = {
    {"update", "CCtSvcSnsSyncObserver::OnExecuteSync - SNS_FRIEND_ACTION_UPDATE(%d friends)",
     "CCtSvcSnsSyncObserver::OnExecuteSync - Friend information is invalid", &CtSvcSnsUpdateFriend},
    {"delete", "CCtSvcSnsSyncObserver::OnExecuteSync - SNS_FRIEND_ACTION_DELETE(%d friends)",
     "CCtSvcSnsSyncObserver::OnExecuteSync - Friend information is invalid", &CtSvcSnsDeleteFriend},
    {"needcallerid", nullptr, "CCtSvcSnsSyncObserver::OnExecuteSync(%s) - Friend information is invalid",
     &CtSvcSnsRequestCallerId},
};

}  // namespace

const CtSvcSnsSyncAction* CtSvcFindSnsSyncAction(const std::string& strAction) {
  for (const CtSvcSnsSyncAction& action : kActions) {
    if (strAction == action.szAction) {
      return &action;
    }
  }
  return nullptr;
}

bool CtSvcIsUsableSnsFriend(const ISnsSvcFriend& person) { return !person.strId.empty() && person.nAccountId > 0; }

int CtSvcSnsFindPersonId(const ISnsSvcFriend& person) {
  CCtSvcDbTable* pTable = CCtSvcDbMgr::Instance()->GetDBTable(CTSVC_DB_TABLE_SNSDATA);
  if (pTable == nullptr) {
    return -1;
  }
  char szWhere[160];
  std::snprintf(szWhere, sizeof(szWhere), "%s = ? AND %s = %d", pTable->GetColumnName(CTSVC_DB_SNSDATA_COLUMN_PEOPLE_ID),
                pTable->GetColumnName(CTSVC_DB_SNSDATA_COLUMN_ACCOUNT_ID), person.nAccountId);
  CContentFilter filter;
  filter.SetWhere(szWhere);
  filter.SetWhereArg({CtSvcToPCode(person.strId)});
  filter.SetColumnNames({pTable->GetColumnName(CTSVC_DB_SNSDATA_COLUMN_PERSON_ID)});
  std::vector<CContent> vcRows;
  int32_t nPersonId = -1;
  if (!CContentMgr::Instance()->GetContents("CtSvc/SnsData", &filter, vcRows) || vcRows.empty() ||
      !vcRows.front().GetInt(0, nPersonId)) {
    return -1;
  }
  return nPersonId;
}
