#include "CtSvcBulkOperation/CtSvcBulkOpChangeOrder.h"

#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "ZelDb2.h"

CCtSvcBulkOpChangeOrder::CCtSvcBulkOpChangeOrder() : CCtSvcBulkOpBase(CTSVC_BULK_CHANGE_ORDER_UNIT) {
  CtSvcPrimaryFilter filter;
  CtSvcPrimaryFilterInit(&filter);
  const int nCount = CtSvcDbPrimaryGetCount(&filter);
  if (nCount <= 0) {
    return;
  }
  std::vector<INT32> vcIds(static_cast<size_t>(nCount));
  const int nRead = CtSvcDbPrimaryGetIds(&filter, vcIds.data(), nCount);
  for (int i = 0; i < nRead; ++i) {
    _AddItem(vcIds[i]);
  }
}

void CCtSvcBulkOpChangeOrder::_BeginUnit() {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcBulkOpChangeOrder::OnBulkOperation Func START\n");
  Db2CommitPause();
}

BOOL CCtSvcBulkOpChangeOrder::_ProcessItem(int& nPrimaryId) {
  if (!CCtSvcDbMgr::Instance()->RearrangePrimary(nPrimaryId, FALSE)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcBulkOpChangeOrder::OnBulkOperation - RearrangePrimary(%d) failed\n", nPrimaryId);
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcBulkOpChangeOrder::_EndUnit(BOOL bResult) {
  Db2CommitResume();
  Db2Commit();
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcBulkOpChangeOrder::OnBulkOperation Func FINISH\n");
  return bResult;
}
