// Exported person functions: insert, update, delete, read and count.
#include "CtSvcDB/CfPlugin/CtSvcPersonFilter.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDbCiCommon.h"
#include "CtSvcDbPerson.h"
#include "ZelDebug.h"

namespace {

bool ReadPerson(int nId, CCtSvcPerson& person) {
  CContent content;
  if (!CContentMgr::Instance()->GetContent("CtSvc/Person", nId, content)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPersonGetRecord - CContentMgr::Instance()->GetContent failed(nID = %d)\n", nId);
    return false;
  }
  DbgPrint(DBG_CLASS_TRACE, "CtSvcDbPersonGetRecord - CContentMgr::Instance()->GetContent success(hPerson = %d)\n", nId);
  if (!person.SetData(content)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPersonGetRecord - Person.SetData failed(nID = %d)\n", nId);
    return false;
  }
  return true;
}

}  // namespace

extern "C" HOBJ CtSvcDbPersonInsertRecord(int nDeviceType, int nPrimaryId, const CtSvcPersonInfo* pInfo,
                                          const char* pszCaller, int nLine) {
  CCtSvcModuleLock lock;
  DbgPrint(DBG_CLASS_TRACE, "CtSvcDbPersonInsertRecord - %s(line:%d)\n", pszCaller != nullptr ? pszCaller : "", nLine);
  if (!ZEL_REQUIRE(pInfo) || !ZEL_REQUIRE(CtSvcIsStoreDeviceType(nDeviceType))) {
    return INVALID_HOBJ;
  }
  CCtSvcPerson person(*pInfo);
  person.SetDeviceType(static_cast<CtSvcDeviceType>(nDeviceType));
  person.SetPrimaryId(nPrimaryId);
  const int nId = person.Insert(1);
  return nId > 0 ? CTSVC_MAKE_HANDLE(nDeviceType, nId) : INVALID_HOBJ;
}

extern "C" BOOL CtSvcDbPersonUpdateRecord(HOBJ hPerson, int nPrimaryId, const CtSvcPersonInfo* pInfo) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(hPerson != INVALID_HOBJ) || !ZEL_REQUIRE(pInfo) || !ZEL_REQUIRE(CtSvcIsValidPersonHandle(hPerson))) {
    return FALSE;
  }
  const int nId = CTSVC_HANDLE_TO_ID(hPerson);
  // The person and the names copied into its numbers and e-mails change together.
  CCtSvcDbWriteUnit unit;
  CCtSvcPerson person;
  if (!unit.IsOpen() || !ReadPerson(nId, person)) {
    return FALSE;
  }
  person.SetData(*pInfo);
  person.SetPrimaryId(nPrimaryId);
  return unit.Finish(person.Update(nId, 1) != 0);
}

extern "C" BOOL CtSvcDbPersonDeleteRecord(HOBJ hPerson) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(CtSvcIsValidPersonHandle(hPerson))) {
    return FALSE;
  }
  // The person and, through the cascade, every row of it: all or nothing.
  CCtSvcDbWriteUnit unit;
  return unit.IsOpen() ? unit.Finish(CContentMgr::Instance()->Delete("CtSvc/Person", CTSVC_HANDLE_TO_ID(hPerson))) : FALSE;
}

extern "C" BOOL CtSvcDbPersonGetRecordById(int nId, CtSvcPersonRecord* pRecord) {
  if (!ZEL_REQUIRE(pRecord) || !ZEL_REQUIRE(nId > 0)) {
    return FALSE;
  }
  CCtSvcPerson person;
  if (!ReadPerson(nId, person)) {
    return FALSE;
  }
  return person.GetData(*pRecord) ? TRUE : FALSE;
}

extern "C" BOOL CtSvcDbPersonGetRecord(HOBJ hPerson, CtSvcPersonRecord* pRecord) {
  if (!ZEL_REQUIRE(CtSvcIsValidPersonHandle(hPerson))) {
    return FALSE;
  }
  return CtSvcDbPersonGetRecordById(CTSVC_HANDLE_TO_ID(hPerson), pRecord);
}

extern "C" int CtSvcDbPersonGetRecords(const CtSvcPersonFilter* pFilter, CtSvcPersonRecord* pRecords, int nCapacity) {
  if (!ZEL_REQUIRE(pRecords) || !ZEL_REQUIRE(nCapacity >= 0)) {
    return -1;
  }
  std::vector<CContent> vcRows;
  CCtSvcDbMgr::Instance()->GetRows(pFilter, vcRows);
  int nFilled = 0;
  for (const CContent& row : vcRows) {
    if (nFilled >= nCapacity) {
      break;
    }
    CCtSvcPerson person;
    if (person.SetData(row) && person.GetData(pRecords[nFilled])) {
      ++nFilled;
    }
  }
  return nFilled;
}

extern "C" int CtSvcDbPersonGetTotalCount(void) {
  CCtSvcDbTable* pTable = CCtSvcDbMgr::Instance()->GetDBTable(CTSVC_DB_TABLE_PERSON);
  return pTable != nullptr ? pTable->GetTotalRecordCount() : -1;
}

extern "C" int CtSvcDbPersonGetCount(const CtSvcPersonFilter* pFilter) {
  return CCtSvcDbMgr::Instance()->GetCount(pFilter);
}
