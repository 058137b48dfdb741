// Deleting many persons at once: by filter, by device type (in chunks) and by account.
#include <cstdio>
#include <string>

#include "CtSvcDB/CfPlugin/CtSvcPersonFilter.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDbCiCommon.h"
#include "CtSvcDbListener.h"
#include "CtSvcDbPerson.h"
#include "CtSvcTask.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

// One table of the person-deletion list: its URI and the column holding the device type
// (-1: the table has none).
struct DeletionEntry {
  const char* szUri;
  CtSvcDbTableType nTable;
  int nDeviceColumn;
  int nAccountColumn;
};

const DeletionEntry kDeletionList[] = {
    {"CtSvc/Person", CTSVC_DB_TABLE_PERSON, CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, CTSVC_DB_PERSON_COLUMN_ACCOUNT_ID},
    {"CtSvc/PhoneNumber", CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE,
     CTSVC_DB_CONTACTDATA_COLUMN_ACCOUNT_ID},
    {"CtSvc/Email", CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE,
     CTSVC_DB_CONTACTDATA_COLUMN_ACCOUNT_ID},
    {"CtSvc/PostalAddress", CTSVC_DB_TABLE_POSTALADDRESS, -1, CTSVC_DB_POSTALADDR_COLUMN_ACCOUNT_ID},
    {"CtSvc/EtcData", CTSVC_DB_TABLE_ETCDATA, CTSVC_DB_ETCDATA_COLUMN_DEVICE_TYPE, CTSVC_DB_ETCDATA_COLUMN_ACCOUNT_ID},
    {"CtSvc/Rcs", CTSVC_DB_TABLE_RCS, -1, CTSVC_DB_RCS_COLUMN_ACCOUNT_ID},
    {"CtSvc/GroupMember", CTSVC_DB_TABLE_GROUPMEMBER, CTSVC_DB_GRPMEMBER_COLUMN_DEVICE_TYPE,
     CTSVC_DB_GRPMEMBER_COLUMN_ACCOUNT_ID},
    {"CtSvc/SpeedDial", CTSVC_DB_TABLE_SPEEDDIAL, CTSVC_DB_SPEEDDIAL_COLUMN_DEVICE_TYPE,
     CTSVC_DB_SPEEDDIAL_COLUMN_ACCOUNT_ID},
    {"CtSvc/Primary", CTSVC_DB_TABLE_PRIMARY, CTSVC_DB_PRIMARY_COLUMN_DEVICE_TYPE,
     CTSVC_DB_PRIMARY_COLUMN_FIRST_ACCOUNT_ID},
};

// Postal addresses and RCS entries have no device type; those of deleted persons are the ones
// whose person no longer exists.
const char kOrphanWhere[] = "PERSON_ID NOT IN (select ID from CtSvcPerson)";

CCtSvcDbTable* Table(CtSvcDbTableType nTable) { return CCtSvcDbMgr::Instance()->GetDBTable(nTable); }

// A filtered delete that reports "nothing to delete" apart from a real failure.
bool DeleteWhere(const char* szUri, const CContentFilter& filter, const char* szLogPrefix) {
  if (CContentMgr::Instance()->Delete(szUri, &filter)) {
    return true;
  }
  if (CContentMgr::Instance()->GetCount(szUri, &filter) == 0) {
    DbgPrint(DBG_CLASS_TRACE, "%s - CContentMgr::Instance()->Delete : there is no record to delete\n", szLogPrefix);
    return true;
  }
  DbgPrint(DBG_CLASS_FAIL, "%s - CContentMgr::Instance()->Delete failed\n", szLogPrefix);
  return false;
}

// Deletes the rows of a where text in chunks of 100, each chunk committed lightly (inside the
// caller's write unit the commits wait for its end). False when a chunk could not be deleted.
bool DeleteInChunks(const char* szUri, const std::string& strWhere) {
  CContentFilter filter;
  filter.SetWhere(strWhere + " LIMIT 100");
  while (CContentMgr::Instance()->GetCount(szUri, &filter) > 0) {
    Db2CommitPause();
    const bool bDeleted = CContentMgr::Instance()->Delete(szUri, &filter);
    Db2CommitResume();
    Db2CommitLite();
    if (!bDeleted) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPersonDeleteRecordsWithDevType - CContentMgr::Instance()->Delete failed\n");
      return false;
    }
  }
  return true;
}

// "(ACCOUNT_ID = 3 or ACCOUNT_ID = 7)" for the accounts, or "ACCOUNT_ID < 1" for local contacts.
std::string AccountCondition(const char* szColumn, const int* pAccountIds, int nCount) {
  std::string strWhere;
  if (nCount <= 0) {
    return std::string(szColumn) + " < 1";
  }
  for (int i = 0; i < nCount; ++i) {
    strWhere += (i == 0 ? "(" : " or ") + std::string(szColumn) + " = " + std::to_string(pAccountIds[i]);
  }
  return strWhere + ")";
}

// Runs a filtered delete between a commit pause and resume, then commits lightly.
bool DeletePaused(const char* szUri, const std::string& strWhere, const char* szLogPrefix) {
  CContentFilter filter;
  filter.SetWhere(strWhere);
  Db2CommitPause();
  const bool bDeleted = DeleteWhere(szUri, filter, szLogPrefix);
  Db2CommitResume();
  Db2CommitLite();
  return bDeleted;
}

// Rebuilds a primary that lost persons, or deletes it when none is left.
bool RebuildOrDeletePrimary(int nPrimaryId) {
  std::vector<CCtSvcPerson> vcPersons;
  Db2CommitPause();
  const bool bDone = CCtSvcDbMgr::Instance()->GetPersonSortByPriority(nPrimaryId, vcPersons)
                         ? CCtSvcDbMgr::Instance()->RearrangePrimary(nPrimaryId, 0) != FALSE
                         : CCtSvcDbMgr::Instance()->DeletePrimary(nPrimaryId) != FALSE;
  Db2CommitResume();
  Db2CommitLite();
  return bDone;
}

}  // namespace

extern "C" BOOL CtSvcDbPersonDeleteRecordsWithFilter(const CtSvcPersonFilter* pFilter) {
  CCtSvcModuleLock lock;
  CCtSvcPersonFilter personFilter;
  personFilter.SetContentFilter(pFilter);
  const CContentFilter persons = *personFilter.GetContentFilter();
  CCtSvcDbWriteUnit unit;
  if (!unit.IsOpen()) {
    return FALSE;
  }
  static const DeletionEntry* const kRelated[] = {&kDeletionList[1], &kDeletionList[2], &kDeletionList[3],
                                                  &kDeletionList[4], &kDeletionList[5], &kDeletionList[6]};
  BOOL bResult = TRUE;
  for (const DeletionEntry* pEntry : kRelated) {
    CCtSvcDbTable* pTable = Table(pEntry->nTable);
    CContentFilter related;
    if (!persons.GetWhere().empty()) {
      char szPrefix[96];
      std::snprintf(szPrefix, sizeof(szPrefix), "%s.%s IN ", pTable->GetTableName(),
                    pTable->GetColumnName(1));  // PERSON_ID is column 1 of every detail table here
      related.SetWhere(std::string(szPrefix) + "( select " + personFilter.GetTableName() + "." +
                       personFilter.GetIDColumnName() + " from " + personFilter.GetTableName() + " where " +
                       persons.GetWhere() + " )");
      related.SetWhereArg(persons.GetWhereArg());
    }
    if (!DeleteWhere(pEntry->szUri, related, "__CtSvcDbDeleteRelatedRecordsOnPersonFilter")) {
      bResult = FALSE;
    }
  }
  CContentFilter personRows;
  personRows.SetWhere(persons.GetWhere());
  personRows.SetWhereArg(persons.GetWhereArg());
  if (!DeleteWhere("CtSvc/Person", personRows, "__CtSvcDbDeleteRelatedRecordsOnPersonFilter")) {
    bResult = FALSE;
  }
  return unit.Finish(bResult != FALSE);
}

extern "C" BOOL CtSvcDbPersonDeleteRecordsWithDeviceType(int nDeviceType) {
  if (!ZEL_REQUIRE(CtSvcIsStoreDeviceType(nDeviceType))) {
    return FALSE;
  }
  CtSvcDbListenerPause();
  BOOL bResult = FALSE;
  {
    CCtSvcDbWriteUnit unit;
    bool bDeleted = unit.IsOpen();
    for (const DeletionEntry& entry : kDeletionList) {
      if (entry.nDeviceColumn < 0 || !bDeleted) {
        continue;  // removed after the persons, below
      }
      char szWhere[96];
      std::snprintf(szWhere, sizeof(szWhere), "%s = %d", Table(entry.nTable)->GetColumnName(entry.nDeviceColumn),
                    nDeviceType);
      bDeleted = DeleteInChunks(entry.szUri, szWhere);
    }
    if (nDeviceType == CTSVC_USE_TYPE_SIM) {
      DbgPrint(DBG_CLASS_TRACE, "CtSvcDbPersonDeleteRecordsWithDevType - In SIM case, there is no Postal address or RCS record.\n");
    } else if (bDeleted) {
      bDeleted = DeleteInChunks("CtSvc/PostalAddress", kOrphanWhere) && DeleteInChunks("CtSvc/Rcs", kOrphanWhere);
    }
    bResult = unit.Finish(bDeleted);
  }
  CtSvcDbListenerResume();
  return bResult;
}

extern "C" BOOL CtSvcDbPersonDeleteRecords(int nDeviceType, const int* pAccountIds, int nCount) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(CtSvcIsStoreDeviceType(nDeviceType)) || (nCount > 0 && !ZEL_REQUIRE(pAccountIds))) {
    return FALSE;
  }
  CCtSvcDbWriteUnit unit;
  bool bDone = unit.IsOpen();
  for (const DeletionEntry& entry : kDeletionList) {
    if (entry.nTable == CTSVC_DB_TABLE_PRIMARY || !bDone) {
      continue;
    }
    if (entry.nDeviceColumn < 0 && nDeviceType == CTSVC_USE_TYPE_SIM) {
      continue;
    }
    CCtSvcDbTable* pTable = Table(entry.nTable);
    std::string strWhere = AccountCondition(pTable->GetColumnName(entry.nAccountColumn), pAccountIds, nCount);
    if (entry.nDeviceColumn >= 0) {
      strWhere = std::string(pTable->GetColumnName(entry.nDeviceColumn)) + " = " + std::to_string(nDeviceType) +
                 " and " + strWhere;
    }
    bDone = DeletePaused(entry.szUri, strWhere, "CtSvcDbPersonDeleteRecords");
  }
  if (!bDone) {
    return FALSE;
  }
  CCtSvcDbTable* pPrimary = Table(CTSVC_DB_TABLE_PRIMARY);
  const std::string strPrimaryWhere =
      std::string(pPrimary->GetColumnName(CTSVC_DB_PRIMARY_COLUMN_DEVICE_TYPE)) + " = " + std::to_string(nDeviceType) +
      " and " + AccountCondition(pPrimary->GetColumnName(CTSVC_DB_PRIMARY_COLUMN_FIRST_ACCOUNT_ID), pAccountIds, nCount);
  bDone = DeletePaused("CtSvc/Primary", strPrimaryWhere + " and " + pPrimary->GetColumnName(CTSVC_DB_PRIMARY_COLUMN_LINK_COUNT) + " = 1",
               "CtSvcDbPersonDeleteRecords - Delete Primary");
  // Primaries that shared a person of the accounts lose it: rebuild them, or delete those left empty.
  std::string strShared;
  for (int nColumn : {CTSVC_DB_PRIMARY_COLUMN_FIRST_ACCOUNT_ID, CTSVC_DB_PRIMARY_COLUMN_SECOND_ACCOUNT_ID,
                      CTSVC_DB_PRIMARY_COLUMN_THIRD_ACCOUNT_ID}) {
    strShared += (strShared.empty() ? "(" : " or ") + AccountCondition(pPrimary->GetColumnName(nColumn), pAccountIds, nCount);
  }
  std::vector<std::vector<int>> vcShared;
  CtSvcQueryIntRows("SELECT ID FROM ctsvcprimary WHERE LINK_COUNT >=2 and " + strShared + ")", {}, 1, vcShared);
  for (size_t i = 0; bDone && i < vcShared.size(); ++i) {
    bDone = RebuildOrDeletePrimary(vcShared[i][0]);
  }
  return unit.Finish(bDone);
}
extern "C" BOOL CtSvcDbPersonDeletebyAccount(int nDeviceType, const int* pAccountIds, int nCount,
                                             CtSvcDeleteAccountCallback pfnCallback, void* pUserData) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(pAccountIds) || !ZEL_REQUIRE_TEXT(nCount > 0, "nAccountIdCount > 0")) {
    return FALSE;
  }
  return CtSvcTaskRequestDeleteAccount(nDeviceType, pAccountIds, nCount, pfnCallback, pUserData);
}
