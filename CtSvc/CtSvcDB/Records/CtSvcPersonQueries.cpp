// Reading a stored person's detail rows.
#include <cstdio>

#include "ContentFramework.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "ZelDebug.h"

namespace {

// A detail table's rows of one person: "<table>.PERSON_ID = id", and for the shared contact-data
// table "and <table>.TYPE = type", in row-id order.
struct DetailQuery {
  const char* szUri;
  CtSvcDbTableType nTable;
  int nPersonColumn;
  int nTypeColumn;  // -1: the table holds one kind of row
  int nType;
};

constexpr DetailQuery kPhoneNumbers = {"CtSvc/PhoneNumber", CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID,
                                       CTSVC_DB_CONTACTDATA_COLUMN_TYPE, CTSVC_CONTACT_TYPE_PHONENUMBER};
constexpr DetailQuery kEmailAddresses = {"CtSvc/Email", CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID,
                                         CTSVC_DB_CONTACTDATA_COLUMN_TYPE, CTSVC_CONTACT_TYPE_EMAILADDRESS};
constexpr DetailQuery kPostalAddresses = {"CtSvc/PostalAddress", CTSVC_DB_TABLE_POSTALADDRESS,
                                          CTSVC_DB_POSTALADDR_COLUMN_PERSON_ID, -1, 0};
constexpr DetailQuery kEtcData = {"CtSvc/EtcData", CTSVC_DB_TABLE_ETCDATA, CTSVC_DB_ETCDATA_COLUMN_PERSON_ID, -1, 0};

std::string Condition(CCtSvcDbTable& table, int nColumn, const char* szOperator, int nValue) {
  char szBuf[160];
  std::snprintf(szBuf, sizeof(szBuf), "%s.%s %s %d", table.GetTableName(), table.GetColumnName(nColumn), szOperator,
                nValue);
  return szBuf;
}

bool MakeFilter(const DetailQuery& query, int nPersonId, CContentFilter& filter) {
  CCtSvcDbTable* pTable = CCtSvcDbMgr::Instance()->GetDBTable(query.nTable);
  if (pTable == nullptr) {
    return false;
  }
  std::string strWhere = Condition(*pTable, query.nPersonColumn, "=", nPersonId);
  if (query.nTypeColumn >= 0) {
    strWhere += " and " + Condition(*pTable, query.nTypeColumn, "=", query.nType);
  }
  filter.SetWhere(strWhere);
  filter.SetOrderBy(pTable->GetIDColumnName());
  return true;
}

bool GetRows(const DetailQuery& query, int nPersonId, std::vector<CContent>& vcContents) {
  CContentFilter filter;
  return MakeFilter(query, nPersonId, filter) && CContentMgr::Instance()->GetContents(query.szUri, &filter, vcContents);
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
  return __IsSaved("GetPhoneNumber") && GetRows(kPhoneNumbers, GetRecordId(), vcContents) ? 1 : 0;
}

int CCtSvcPerson::GetEmailAddress(std::vector<CContent>& vcContents) const {
  return __IsSaved("GetEmailAddress") && GetRows(kEmailAddresses, GetRecordId(), vcContents) ? 1 : 0;
}

int CCtSvcPerson::GetPostalAddress(std::vector<CContent>& vcContents) const {
  return __IsSaved("GetPostalAddress") && GetRows(kPostalAddresses, GetRecordId(), vcContents) ? 1 : 0;
}

int CCtSvcPerson::GetEtcData(std::vector<CContent>& vcContents) const {
  return __IsSaved("GetEtcData") && GetRows(kEtcData, GetRecordId(), vcContents) ? 1 : 0;
}

int CCtSvcPerson::GetDefaultPhoneNumber(CContent& content) const {
  if (!__IsSaved("GetDefaultPhoneNumber") || GetDefaultPhoneNumberId() < 0) {
    return 0;
  }
  return CContentMgr::Instance()->GetContent(kPhoneNumbers.szUri, GetDefaultPhoneNumberId(), content) ? 1 : 0;
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
                Condition(*pMembers, CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID, "=", GetRecordId()).c_str());
  CContentFilter filter;
  filter.SetWhere(szWhere);
  filter.SetOrderBy(pGroups->GetIDColumnName());
  CContentMgr::Instance()->GetContents("CtSvc/Group", &filter, vcGroups);
  return vcGroups;
}
