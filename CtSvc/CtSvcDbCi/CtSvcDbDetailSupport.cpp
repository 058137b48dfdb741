#include "CtSvcDbDetailSupport.h"

#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "ZelDebug.h"

bool CtSvcDetailCheckPersonHandle(HOBJ hPerson) {
  if (!ZEL_REQUIRE(hPerson != INVALID_HOBJ)) {
    return false;
  }
  const int nDeviceType = CTSVC_HANDLE_TO_DEVICE(hPerson);
  const int nPersonId = CTSVC_HANDLE_TO_ID(hPerson);
  return ZEL_REQUIRE(nDeviceType == CTSVC_USE_TYPE_PHONE || nDeviceType == CTSVC_USE_TYPE_SIM) &&
         ZEL_REQUIRE(nPersonId > 0);
}

bool CtSvcDetailReadPerson(const char* szPrefix, const char* szOperation, int nPersonId, CCtSvcPerson& person) {
  CContent content;
  if (!CContentMgr::Instance()->GetContent("CtSvc/Person", nPersonId, content)) {
    DbgPrint(DBG_CLASS_FAIL, "%s%s - CContentMgr::Instance()->GetContent failed(nPersonId = %d)\n", szPrefix,
             szOperation, nPersonId);
    return false;
  }
  DbgPrint(DBG_CLASS_TRACE, "%s%s - CContentMgr::Instance()->GetContent success(nPersonId = %d)\n", szPrefix,
           szOperation, nPersonId);
  if (!person.SetData(content)) {
    DbgPrint(DBG_CLASS_FAIL, "%s%s - Person.SetData failed(nPersonId = %d)\n", szPrefix, szOperation, nPersonId);
    return false;
  }
  return true;
}

bool CtSvcDetailGetContent(const char* szPrefix, const char* szOperation, const std::string& strUri, int nID,
                           CContent& content) {
  if (!CContentMgr::Instance()->GetContent(strUri, nID, content)) {
    DbgPrint(DBG_CLASS_FAIL, "%s%s - CContentMgr::Instance()->GetContent failed(nID = %d)\n", szPrefix, szOperation,
             nID);
    return false;
  }
  DbgPrint(DBG_CLASS_TRACE, "%s%s - CContentMgr::Instance()->GetContent success(nID = %d)\n", szPrefix, szOperation,
           nID);
  return true;
}

void CtSvcDetailLogLoadFailure(const char* szPrefix, const char* szOperation, const char* szRecordVar, int nID) {
  DbgPrint(DBG_CLASS_FAIL, "%s%s - %s.SetContent failed(nID = %d)\n", szPrefix, szOperation, szRecordVar, nID);
}

BOOL CtSvcDetailDeleteRows(const char* szPrefix, const char* szIdColumn, const std::string& strUri,
                           const std::vector<CContent>& vcRows) {
  for (const CContent& row : vcRows) {
    int32_t nId = -1;
    if (!row.GetInt(0, nId)) {
      DbgPrint(DBG_CLASS_FAIL, "%sDeleteRecordsWithFilter - Content.GetInt(%s) failed\n", szPrefix, szIdColumn);
      continue;
    }
    // A row removed meanwhile by a cascade answers false; nothing of it is left either way.
    if (!CContentMgr::Instance()->Delete(strUri, nId)) {
      DbgPrint(DBG_CLASS_FAIL, "%sDeleteRecordsWithFilter - CContentMgr::Instance()->Delete failed(nID = %d)\n",
               szPrefix, nId);
    }
  }
  return TRUE;
}

BOOL CtSvcDetailReportEmptyDelete(const char* szPrefix, int nMatching) {
  if (nMatching == 0) {
    DbgPrint(DBG_CLASS_TRACE,
             "%sDeleteRecordsWithFilter - CContentMgr::Instance()->Delete : there is no record to delete\n", szPrefix);
    return TRUE;
  }
  DbgPrint(DBG_CLASS_FAIL, "%sDeleteRecordsWithFilter - CContentMgr::Instance()->Delete failed\n", szPrefix);
  return FALSE;
}
