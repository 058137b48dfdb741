// The database manager as observer of its own URIs: keeps the denormalised names of numbers and
// e-mails in step with their person, and removes or moves dependent rows after a delete.
#include <cstdio>

#include "CtSvcDbMgr.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

// Detail tables whose rows belong to a person, in the order they are removed with it.
struct PersonDetail {
  const char* szUri;
  CtSvcDbTableType nTable;
  int nPersonColumn;
  const char* szLogName;
};

const PersonDetail kPersonDetails[] = {
    {"CtSvc/PhoneNumber", CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID, "PHNUM"},
    {"CtSvc/Email", CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID, "EMAIL"},
    {"CtSvc/PostalAddress", CTSVC_DB_TABLE_POSTALADDRESS, CTSVC_DB_POSTALADDR_COLUMN_PERSON_ID, "POSTALADDR"},
    {"CtSvc/EtcData", CTSVC_DB_TABLE_ETCDATA, CTSVC_DB_ETCDATA_COLUMN_PERSON_ID, "ETCDATA"},
    {"CtSvc/IM", CTSVC_DB_TABLE_IM, CTSVC_DB_IM_COLUMN_PERSON_ID, "IM"},
    {"CtSvc/SnsData", CTSVC_DB_TABLE_SNSDATA, CTSVC_DB_SNSDATA_COLUMN_PERSON_ID, "SNSDATA"},
    {"CtSvc/GroupMember", CTSVC_DB_TABLE_GROUPMEMBER, CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID, "GRPMEMBER"},
    {"CtSvc/SpeedDial", CTSVC_DB_TABLE_SPEEDDIAL, CTSVC_DB_SPEEDDIAL_COLUMN_PERSON_ID, "SPEEDDIAL"},
};

// Name columns copied from a person to its numbers and e-mails (same names in both tables).
const int kPersonNameColumns[] = {CTSVC_DB_PERSON_COLUMN_FIRSTNAME, CTSVC_DB_PERSON_COLUMN_LASTNAME,
                                  CTSVC_DB_PERSON_COLUMN_FL_FULLNAME, CTSVC_DB_PERSON_COLUMN_LF_FULLNAME};

// A filter "<column> = <value>" on one table, optionally reading only the id column.
CContentFilter ColumnEquals(CCtSvcDbTable* pTable, int nColumn, int nValue, bool bIdOnly) {
  char szWhere[128];
  std::snprintf(szWhere, sizeof(szWhere), "%s = %d", pTable->GetColumnName(nColumn), nValue);
  CContentFilter filter;
  filter.SetWhere(szWhere);
  if (bIdOnly) {
    filter.SetColumnNames({pTable->GetIDColumnName()});
  }
  return filter;
}

// Deletes, one by one, the rows of a URI matching the filter, so that each delete is observed.
void DeleteRowsOneByOne(const std::string& strUri, const CContentFilter& filter, const char* szLogName) {
  std::vector<CContent> vcRows;
  if (!CContentMgr::Instance()->GetContents(strUri, &filter, vcRows)) {
    return;
  }
  for (const CContent& row : vcRows) {
    int32_t nId = 0;
    if (!row.GetInt(0, nId)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::_OnDelete - Content.GetInt(CTSVC_DB_%s_COLUMN_ID) failed\n", szLogName);
      continue;
    }
    CContent still;
    if (!CContentMgr::Instance()->Delete(strUri, nId) && CContentMgr::Instance()->GetContent(strUri, nId, still)) {
      Db2UnitFail();  // the row stays: the delete this cascade belongs to must not land half done
    }
  }
}

}  // namespace

bool CtSvcUriMatches(const std::string& strUri, const std::string& strTableUri) {
  return strUri.compare(0, strTableUri.size(), strTableUri) == 0 &&
         (strUri.size() == strTableUri.size() || strUri[strTableUri.size()] == '/');
}

std::string CtSvcUriSuffix(const std::string& strUri) {
  CContentURI uri(strUri);
  return uri.GetURICount() > 2 ? uri.GetSubURI(2) : std::string();
}

bool CtSvcIsBulkUri(const std::string& strUri) {
  CContentURI uri(strUri);
  return uri.GetURICount() > 2 && uri.GetSubURI(uri.GetURICount() - 1) == "BulkOperation";
}

void CCtSvcDbMgr::OnChange(int nChangeType, const std::string& strUri, int nId, intptr_t nParam1, int /*nParam2*/) {
  if (nId <= 0) {
    return;
  }
  DbgPrint(DBG_CLASS_TRACE, "**************  CCtSvcDbMgr::OnChange(%s) begin ***************", strUri.c_str());
  switch (nChangeType) {
    case CONTENT_CHANGE_INSERT:
      _OnInsert(strUri, nId);
      break;
    case CONTENT_CHANGE_UPDATE:
      _OnUpdate(strUri, nId, reinterpret_cast<CContentInput*>(nParam1));
      break;
    case CONTENT_CHANGE_DELETE:
      _OnDelete(strUri, nId);
      break;
    default:
      break;
  }
  DbgPrint(DBG_CLASS_TRACE, "**************  CCtSvcDbMgr::OnChange(%s) end ***************", strUri.c_str());
}

void CCtSvcDbMgr::_OnInsert(const std::string& /*strUri*/, int /*nId*/) {}

void CCtSvcDbMgr::_OnUpdate(const std::string& strUri, int nId, CContentInput* pInput) {
  if (pInput == nullptr || !CtSvcUriMatches(strUri, "CtSvc/Person")) {
    return;
  }
  CCtSvcDbTable* pPersonTable = GetDBTable(CTSVC_DB_TABLE_PERSON);
  CCtSvcDbTable* pDataTable = GetDBTable(CTSVC_DB_TABLE_CONTACTDATA);
  if (pDataTable == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::_OnUpdate - GetDBTable( CTSVC_DB_TABLE_CONTACTDATA) is Failed \n");
    return;
  }
  CContentInput names;
  for (int nColumn : kPersonNameColumns) {
    const std::string strColumn = pPersonTable->GetColumnName(nColumn);
    const CContentValue* pValue = pInput->GetColumnData(strColumn);
    if (pValue != nullptr && pValue->type == ContentValueType::String) {
      names.SetNString(strColumn, pValue->strValue);
    }
  }
  if (names.IsEmpty()) {
    return;
  }
  char szWhere[160];
  std::snprintf(szWhere, sizeof(szWhere), "%s.%s = %d", pDataTable->GetTableName(),
                pDataTable->GetColumnName(CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID), nId);
  CContentFilter filter;
  filter.SetWhere(szWhere);
  if (!CContentMgr::Instance()->Update("CtSvc/PhoneNumber", &filter, names)) {
    Db2UnitFail();
  }
}

void CCtSvcDbMgr::_OnDelete(const std::string& strUri, int nId) {
  const std::string strThird = CtSvcUriSuffix(strUri);
  if (strThird == "NoSync") {
    return;
  }
  const std::string strSuffix = strThird == "BulkOperation" ? "/BulkOperation" : "";
  if (CtSvcUriMatches(strUri, "CtSvc/Person")) {
    _DeletePersonDetails(strSuffix, nId);
  } else if (CtSvcUriMatches(strUri, "CtSvc/PhoneNumber")) {
    _DeletePhoneNumberDetails(strSuffix, nId);
  } else if (CtSvcUriMatches(strUri, "CtSvc/Group")) {
    _DeleteGroupMembers(strSuffix, nId);
  }
}

void CCtSvcDbMgr::_DeletePersonDetails(const std::string& strSuffix, int nPersonId) {
  for (const PersonDetail& detail : kPersonDetails) {
    CCtSvcDbTable* pTable = GetDBTable(detail.nTable);
    const CContentFilter filter = ColumnEquals(pTable, detail.nPersonColumn, nPersonId, true);
    DeleteRowsOneByOne(detail.szUri + strSuffix, filter, detail.szLogName);
  }
}

void CCtSvcDbMgr::_DeletePhoneNumberDetails(const std::string& strSuffix, int nPhoneNumberId) {
  CCtSvcDbTable* pTable = GetDBTable(CTSVC_DB_TABLE_SPEEDDIAL);
  const CContentFilter filter = ColumnEquals(pTable, CTSVC_DB_SPEEDDIAL_COLUMN_PHNUM_ID, nPhoneNumberId, true);
  DeleteRowsOneByOne("CtSvc/SpeedDial" + strSuffix, filter, "SPEEDDIAL");
}

void CCtSvcDbMgr::_DeleteGroupMembers(const std::string& strSuffix, int nGroupId) {
  CCtSvcDbTable* pTable = GetDBTable(CTSVC_DB_TABLE_GROUPMEMBER);
  const std::string strUri = "CtSvc/GroupMember" + strSuffix;
  const CContentFilter filter = ColumnEquals(pTable, CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, nGroupId, false);
  std::vector<CContent> vcMembers;
  if (!CContentMgr::Instance()->GetContents(strUri, &filter, vcMembers)) {
    return;
  }
  for (const CContent& member : vcMembers) {
    int32_t nMemberId = 0;
    if (!member.GetInt(CTSVC_DB_GRPMEMBER_COLUMN_ID, nMemberId) || member.GetFieldCount() < CTSVC_DB_GRPMEMBER_COLUMN_MAX) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::_OnDelete - GroupMember.SetData() failed\n");
      return;
    }
    _MoveToDefaultGroupIfLast(strSuffix, member);
    if (!CContentMgr::Instance()->Delete(strUri, nMemberId)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::_OnDelete - CContentMgr::Instance()->Delete(GroupMemberURI, %d) failed\n",
               nMemberId);
      Db2UnitFail();
    }
  }
}

// A local phone contact whose only group is being deleted goes to the default group.
BOOL CCtSvcDbMgr::_MoveToDefaultGroupIfLast(const std::string& strSuffix, const CContent& member) {
  int32_t nAccountId = 0, nPersonId = 0;
  int8_t nDeviceType = 0;
  member.GetInt(CTSVC_DB_GRPMEMBER_COLUMN_ACCOUNT_ID, nAccountId);
  member.GetInt(CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID, nPersonId);
  member.GetInt8(CTSVC_DB_GRPMEMBER_COLUMN_DEVICE_TYPE, nDeviceType);
  if (nAccountId > 0 || nDeviceType != CTSVC_USE_TYPE_PHONE) {
    return FALSE;
  }
  CCtSvcDbTable* pTable = GetDBTable(CTSVC_DB_TABLE_GROUPMEMBER);
  const CContentFilter personFilter = ColumnEquals(pTable, CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID, nPersonId, false);
  if (CContentMgr::Instance()->GetCount("CtSvc/GroupMember", &personFilter) != 1) {
    return FALSE;
  }
  CContentInput copy;
  for (int nColumn = 0; nColumn < CTSVC_DB_GRPMEMBER_COLUMN_MAX; ++nColumn) {
    const CContentValue* pValue = member.GetValue(nColumn);
    if (pValue != nullptr) {
      copy.SetInt(pTable->GetColumnName(nColumn), pValue->nInt);
    }
  }
  copy.SetInt(pTable->GetColumnName(CTSVC_DB_GRPMEMBER_COLUMN_ID), pTable->TakeNextRecordId());
  copy.SetInt(pTable->GetColumnName(CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID), CTSVC_NOT_ASSIGNED_GROUP_ID);
  copy.SetInt8(pTable->GetColumnName(CTSVC_DB_GRPMEMBER_COLUMN_DEVICE_TYPE), nDeviceType);
  if (CContentMgr::Instance()->Insert("CtSvc/GroupMember" + strSuffix, copy) <= 0) {
    DbgPrint(DBG_CLASS_FAIL,
             "CCtSvcDbMgr::_OnDelete - tempGroupMember.Insert(CTSVC_NOT_ASSIGNED_GROUP_ID) failed\n");
    Db2UnitFail();
    return FALSE;
  }
  return TRUE;
}
