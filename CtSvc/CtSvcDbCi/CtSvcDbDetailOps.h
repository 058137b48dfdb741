// One implementation of each operation of the detail-table family, parameterised by the member's
// traits (CtSvcDbDetailTraits.h). The exported functions forward to these.
#ifndef CTSVC_DB_DETAIL_OPS_H
#define CTSVC_DB_DETAIL_OPS_H

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDbCiCommon.h"
#include "CtSvcDbDetailSupport.h"
#include "CtSvcDbDetailTraits.h"
#include "CtSvcModule.h"
#include "ZelDebug.h"

namespace ctsvc_detail {

// Whether a record class has a device-type field (postal addresses, IM, social-network data and
// RCS have none).
template <class R, class = void>
struct HasDeviceType : std::false_type {};
template <class R>
struct HasDeviceType<R, std::void_t<decltype(std::declval<R&>().SetDeviceType(CTSVC_USE_TYPE_NONE))>>
    : std::true_type {};

// Takes the caller's info into the record; refuses an info whose texts are not terminated UTF-8
// (the record has logged which).
template <class T>
bool LoadInfo(typename T::Record& record, const typename T::Info& info, const char* szOperation) {
  if (record.SetData(info)) {
    return true;
  }
  DbgPrint(DBG_CLASS_FAIL, "%s%s - %s.SetData failed\n", T::kPrefix, szOperation, T::kRecordVar);
  return false;
}

// Reads row nID of the member's URI into the record. A row of the shared phone-number/e-mail
// table of the other kind does not load.
template <class T>
bool LoadRow(int nID, const char* szOperation, typename T::Record& record) {
  CContent content;
  if (!CtSvcDetailGetContent(T::kPrefix, szOperation, T::kUri, nID, content)) {
    return false;
  }
  if (record.SetData(content)) {
    return true;
  }
  CtSvcDetailLogLoadFailure(T::kPrefix, szOperation, T::kRecordVar, nID);
  return false;
}

// The owner of a person's detail: person id and device type from the handle; for members that read
// the person, its stored identity (account id, names); the primary id is always the caller's.
template <class T>
void ApplyOwner(typename T::Record& record, HOBJ hPerson, int nPrimaryId, const char* szOperation) {
  const int nPersonId = CTSVC_HANDLE_TO_ID(hPerson);
  record.SetPersonId(nPersonId);
  if constexpr (HasDeviceType<typename T::Record>::value) {
    record.SetDeviceType(static_cast<CtSvcDeviceType>(CTSVC_HANDLE_TO_DEVICE(hPerson)));
  }
  if constexpr (T::kReadsPerson) {
    CCtSvcPerson person;
    if (CtSvcDetailReadPerson(T::kPrefix, szOperation, nPersonId, person)) {
      record.SetPerson(person);
    }
  }
  record.SetPrimaryId(nPrimaryId);
}

template <class T>
int InsertLoaded(typename T::Record& record) {
  const int nId = record.Insert(1);
  if (nId <= 0) {
    DbgPrint(DBG_CLASS_FAIL, "%sInsertRecord - %s.Insert failed\n", T::kPrefix, T::kRecordVar);
    return -1;
  }
  return nId;
}

template <class T>
BOOL UpdateLoaded(typename T::Record& record, int nID) {
  if (record.Update(nID, 1)) {
    return TRUE;
  }
  DbgPrint(DBG_CLASS_FAIL, "%sUpdateRecord - %s.Update failed(nID = %d)\n", T::kPrefix, T::kRecordVar, nID);
  return FALSE;
}

// ---- Insert / update ----

template <class T>
int InsertRecord(HOBJ hPerson, int nPrimaryId, const typename T::Info* pInfo) {
  static_assert(T::kOwnedByPerson, "the member's rows belong to no person");
  DbgPrint(DBG_CLASS_TRACE, "%sInsertRecord - Entered\n", T::kPrefix);
  if (!ZEL_REQUIRE(pInfo) || !CtSvcDetailCheckPersonHandle(hPerson)) {
    return -1;
  }
  CCtSvcModuleLock lock;
  typename T::Record record;
  if (!LoadInfo<T>(record, *pInfo, "InsertRecord")) {
    return -1;
  }
  ApplyOwner<T>(record, hPerson, nPrimaryId, "InsertRecord");
  return InsertLoaded<T>(record);
}

template <class T>
int InsertRecord(const typename T::Info* pInfo) {
  static_assert(!T::kOwnedByPerson, "the member's rows need their owner");
  DbgPrint(DBG_CLASS_TRACE, "%sInsertRecord - Entered\n", T::kPrefix);
  if (!ZEL_REQUIRE(pInfo)) {
    return -1;
  }
  CCtSvcModuleLock lock;
  typename T::Record record;
  if (!LoadInfo<T>(record, *pInfo, "InsertRecord")) {
    return -1;
  }
  return InsertLoaded<T>(record);
}

// The stored row is loaded first, so that columns the info does not carry keep their values.
template <class T>
BOOL UpdateRecord(int nID, HOBJ hPerson, int nPrimaryId, const typename T::Info* pInfo) {
  static_assert(T::kOwnedByPerson, "the member's rows belong to no person");
  if (!ZEL_REQUIRE(nID > 0) || !ZEL_REQUIRE(pInfo) || !CtSvcDetailCheckPersonHandle(hPerson)) {
    return FALSE;
  }
  CCtSvcModuleLock lock;
  typename T::Record record;
  if (!LoadRow<T>(nID, "UpdateRecord", record) || !LoadInfo<T>(record, *pInfo, "UpdateRecord")) {
    return FALSE;
  }
  ApplyOwner<T>(record, hPerson, nPrimaryId, "UpdateRecord");
  return UpdateLoaded<T>(record, nID);
}

template <class T>
BOOL UpdateRecord(int nID, const typename T::Info* pInfo) {
  static_assert(!T::kOwnedByPerson, "the member's rows need their owner");
  if (!ZEL_REQUIRE(nID > 0) || !ZEL_REQUIRE(pInfo)) {
    return FALSE;
  }
  CCtSvcModuleLock lock;
  typename T::Record record;
  if (!LoadRow<T>(nID, "UpdateRecord", record) || !LoadInfo<T>(record, *pInfo, "UpdateRecord")) {
    return FALSE;
  }
  return UpdateLoaded<T>(record, nID);
}

// ---- Delete ----

template <class T>
BOOL DeleteRecord(int nID) {
  if (!ZEL_REQUIRE(nID > 0)) {
    return FALSE;
  }
  CCtSvcModuleLock lock;
  // Phone numbers and e-mail addresses share a table: never delete a row of the other kind.
  if constexpr (T::kTable == CTSVC_DB_TABLE_CONTACTDATA) {
    typename T::Record record;
    if (!LoadRow<T>(nID, "DeleteRecord", record)) {
      return FALSE;
    }
  }
  if (CContentMgr::Instance()->Delete(T::kUri, nID)) {
    return TRUE;
  }
  DbgPrint(DBG_CLASS_FAIL, "%sDeleteRecord - CContentMgr::Instance()->Delete failed(nID = %d)\n", T::kPrefix, nID);
  return FALSE;
}

template <class T>
BOOL DeleteRowByRow(const typename T::Filter& filter) {
  std::vector<CContent> vcRows;
  if (!CCtSvcDbMgr::Instance()->GetRows(&filter, vcRows)) {
    return CtSvcDetailReportEmptyDelete(T::kPrefix, CCtSvcDbMgr::Instance()->GetCount(&filter));
  }
  return CtSvcDetailDeleteRows(T::kPrefix, T::kIdColumn, T::kUri, vcRows);
}

template <class T>
BOOL DeleteInOneStatement(const typename T::Filter& filter) {
  const int nMatching = CCtSvcDbMgr::Instance()->GetCount(&filter);
  if (nMatching == 0) {
    return CtSvcDetailReportEmptyDelete(T::kPrefix, 0);
  }
  typename T::CFFilter contentFilter;
  contentFilter.SetContentFilter(&filter);
  if (CContentMgr::Instance()->Delete(T::kUri, contentFilter.GetContentFilter())) {
    return TRUE;
  }
  return CtSvcDetailReportEmptyDelete(T::kPrefix, nMatching);
}

template <class T>
BOOL DeleteRecordsWithFilter(const typename T::Filter* pFilter) {
  if (!ZEL_REQUIRE(pFilter)) {
    return FALSE;
  }
  CCtSvcModuleLock lock;
  if constexpr (T::kFilterDelete == CtSvcFilterDelete::RowByRow) {
    return DeleteRowByRow<T>(*pFilter);
  } else {
    return DeleteInOneStatement<T>(*pFilter);
  }
}

// ---- Reads ----

template <class T>
BOOL GetRecord(int nID, typename T::CRecord* pRecord) {
  static_assert(T::kHasGetRecord, "the member exports no GetRecord");
  if (!ZEL_REQUIRE(nID > 0) || !ZEL_REQUIRE(pRecord)) {
    return FALSE;
  }
  typename T::Record record;
  if (!LoadRow<T>(nID, "GetRecord", record)) {
    return FALSE;
  }
  record.GetData(*pRecord);
  return TRUE;
}

// Converts the first rows of a list, in list order, into the caller's array; a row that cannot be
// read or loaded is logged and left out. The number written.
template <class T>
int ConvertListRows(IContentList& list, int nRows, typename T::CRecord* pRecords, int nCapacity) {
  int nFilled = 0;
  for (int i = 0; i < nRows && nFilled < nCapacity; ++i) {
    CContent content;
    typename T::Record record;
    if (!list.GetAt(i, content) || !record.SetData(content)) {
      DbgPrint(DBG_CLASS_FAIL, "%sGetRecords - %s.SetContent failed(nIndex = %d)\n", T::kPrefix, T::kRecordVar, i);
      continue;
    }
    record.GetData(pRecords[nFilled++]);
  }
  return nFilled;
}

template <class T>
int GetRecords(const typename T::Filter* pFilter, typename T::CRecord* pRecords, int nCapacity) {
  if (!ZEL_REQUIRE(pRecords) || !ZEL_REQUIRE(nCapacity >= 0)) {
    return -1;
  }
  std::unique_ptr<IContentList> pList(CCtSvcDbMgr::Instance()->CreateList(pFilter));
  const int nRows = pList ? pList->GetCount() : -1;
  if (nRows < 0) {
    DbgPrint(DBG_CLASS_FAIL, "%sGetRecords - CCtSvcDbMgr::Instance()->CreateList failed\n", T::kPrefix);
    return -1;
  }
  return ConvertListRows<T>(*pList, nRows, pRecords, nCapacity);
}

template <class T>
int GetCount(const typename T::Filter* pFilter) {
  return CCtSvcDbMgr::Instance()->GetCount(pFilter);
}

template <class T>
int GetTotalCount() {
  static_assert(T::kHasTotalCount, "the member exports no total count");
  CCtSvcDbTable* pTable = CCtSvcDbMgr::Instance()->GetDBTable(T::kTable);
  return pTable != nullptr ? pTable->GetTotalRecordCount() : -1;
}

}  // namespace ctsvc_detail

#endif
