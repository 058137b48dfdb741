// Reading a stored person's detail rows.
#include <cstdio>
#include <string>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcFilter.h"
#include "ZelDebug.h"

namespace {

// The rows of one detail table whose PERSON_ID is the person, through the database manager.
template <typename S>
bool GetRowsOfPerson(void (*pfnInit)(S*), int nPersonId, std::vector<CContent>& vcContents) {
  S filter;
  pfnInit(&filter);
  filter.nPersonId = nPersonId;
  return CCtSvcDbMgr::Instance()->GetRows(&filter, vcContents) != FALSE;
}

std::string Condition(CCtSvcDbTable& table, int nColumn, int nValue) {
  char szBuf[160];
  std::snprintf(szBuf, sizeof(szBuf), "%s.%s = %d", table.GetTableName(), table.GetColumnName(nColumn), nValue);
  return szBuf;
}

}  // namespace

bool CCtSvcPerson::__IsSaved(const char* szQuery) const {
  if (GetRecordId() >= 0) {
    return true;
  }
  ZEL_REQUIRE_TEXT(GetRecordId() >= 0, "GetRecordId() >= 0");
  DbgPrint(DBG_CLASS_FAIL, "CCtSvcPerson::%s - the person is not stored\n", szQuery);
  return false;
}

int CCtSvcPerson::GetPhoneNumber(std::vector<CContent>& vcContents) const {
  return __IsSaved("GetPhoneNumber") && GetRowsOfPerson(CtSvcPhoneNumberFilterInit, GetRecordId(), vcContents) ? 1 : 0;
}

int CCtSvcPerson::GetEmailAddress(std::vector<CContent>& vcContents) const {
  return __IsSaved("GetEmailAddress") && GetRowsOfPerson(CtSvcEmailFilterInit, GetRecordId(), vcContents) ? 1 : 0;
}

int CCtSvcPerson::GetPostalAddress(std::vector<CContent>& vcContents) const {
  return __IsSaved("GetPostalAddress") && GetRowsOfPerson(CtSvcPostalAddressFilterInit, GetRecordId(), vcContents) ? 1 : 0;
}

int CCtSvcPerson::GetEtcData(std::vector<CContent>& vcContents) const {
  return __IsSaved("GetEtcData") && GetRowsOfPerson(CtSvcEtcDataFilterInit, GetRecordId(), vcContents) ? 1 : 0;
}

int CCtSvcPerson::GetDefaultPhoneNumber(CContent& content) const {
  if (!__IsSaved("GetDefaultPhoneNumber") || GetDefaultPhoneNumberId() < 0) {
    return 0;
  }
  return CContentMgr::Instance()->GetContent("CtSvc/PhoneNumber", GetDefaultPhoneNumberId(), content) ? 1 : 0;
}

std::vector<CContent> CCtSvcPerson::GetJoinedGroupList() const {
  std::vector<CContent> vcGroups;
  CCtSvcDbMgr* pMgr = CCtSvcDbMgr::Instance();
  CCtSvcDbTable* pGroups = pMgr->GetDBTable(CTSVC_DB_TABLE_GROUP);
  CCtSvcDbTable* pMembers = pMgr->GetDBTable(CTSVC_DB_TABLE_GROUPMEMBER);
  if (!__IsSaved("GetJoinedGroupList") || pGroups == nullptr || pMembers == nullptr) {
    return vcGroups;
  }
  char szWhere[512];
  std::snprintf(szWhere, sizeof(szWhere), "%s.%s IN ( select %s.%s from %s where %s )", pGroups->GetTableName(),
                pGroups->GetIDColumnName(), pMembers->GetTableName(),
                pMembers->GetColumnName(CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID), pMembers->GetTableName(),
                Condition(*pMembers, CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID, GetRecordId()).c_str());
  CContentFilter filter;
  filter.SetWhere(szWhere);
  filter.SetOrderBy(pGroups->GetIDColumnName());
  CContentMgr::Instance()->GetContents("CtSvc/Group", &filter, vcGroups);
  return vcGroups;
}
