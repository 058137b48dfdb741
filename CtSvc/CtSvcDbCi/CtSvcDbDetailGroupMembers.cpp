// The memberships of one group, read through the database manager's membership list.
#include <memory>

#include "CtSvcDbDetail.h"
#include "CtSvcDbDetailOps.h"

extern "C" int CtSvcDbGroupGetGroupMemberList(int nID, CtSvcGroupMemberRecord* pRecords, int nCapacity) {
  if (!ZEL_REQUIRE(nID > 0) || !ZEL_REQUIRE(pRecords) || !ZEL_REQUIRE(nCapacity >= 0)) {
    return -1;
  }
  CtSvcGroupMemberFilter filter;
  CtSvcGroupMemberFilterInit(&filter);
  filter.nGroupId = nID;
  std::unique_ptr<IContentList> pList(CCtSvcDbMgr::Instance()->CreateList(&filter));
  const int nRows = pList ? pList->GetCount() : -1;
  if (nRows < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPersonGetGroupMemberList - CCtSvcDbMgr::Instance()->CreateGroupMemberList failed\n");
    return -1;
  }
  return ctsvc_detail::ConvertListRows<CtSvcDbGroupMemberTraits>(*pList, nRows, pRecords, nCapacity);
}
