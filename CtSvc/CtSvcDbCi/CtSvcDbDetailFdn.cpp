// Fixed-dialling numbers by phone number: an entry matches when its number ends in the same caller
// digits as the dialled one, so a number dialled with a country prefix finds the entry stored in
// national form.
#include <cstring>
#include <string>
#include <vector>

#include "CtSvcDbDetail.h"
#include "CtSvcDbDetailOps.h"

namespace {

// The FDN filter of the entries matching a number; false when the number has no usable caller
// digits (nothing can match, and an empty condition would select every entry).
bool MakeNumberFilter(const char* pszPhoneNumber, CtSvcFdnFilter& filter) {
  std::string strSearch;
  CCtSvcRecord::_GetPhoneNumberToSearch(pszPhoneNumber, strSearch);
  CtSvcFdnFilterInit(&filter);
  if (strSearch.empty() || strSearch.size() >= sizeof(filter.szPhoneNumber)) {
    return false;
  }
  std::memcpy(filter.szPhoneNumber, strSearch.c_str(), strSearch.size() + 1);
  return true;
}

bool IsEmpty(const char* pszText) { return pszText == nullptr || pszText[0] == '\0'; }

}  // namespace

extern "C" BOOL CtSvcDbFdnGetRecordByPhoneNumber(const char* pszPhoneNumber, CtSvcFdnRecord* pRecord) {
  if (!ZEL_REQUIRE(pRecord)) {
    return FALSE;
  }
  if (IsEmpty(pszPhoneNumber)) {
    DbgPrint(DBG_CLASS_FAIL, "GetFdnRecordByPhoneNumber -strPhoneNumber.empty!!!\n");
    return FALSE;
  }
  CtSvcFdnFilter filter;
  std::vector<CContent> vcRows;
  CCtSvcFdn fdn;
  if (!MakeNumberFilter(pszPhoneNumber, filter) || !CCtSvcDbMgr::Instance()->GetRows(&filter, vcRows) ||
      !fdn.SetData(vcRows.front())) {
    DbgPrint(DBG_CLASS_FAIL, "GetFdnRecordByPhoneNumber -CtSvcFdnListGetAt is FALSE!!!\n");
    return FALSE;
  }
  fdn.GetData(*pRecord);
  return TRUE;
}

extern "C" BOOL CtSvcDbFdnCheckIsAvailFdnNumber(const char* pszPhoneNumber) {
  if (IsEmpty(pszPhoneNumber)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbFdnCheckIsAvailFdnNumber pszPhoneNumber strlen return <=0 !!!\n");
    return FALSE;
  }
  CtSvcFdnFilter filter;
  if (!MakeNumberFilter(pszPhoneNumber, filter) || CCtSvcDbMgr::Instance()->GetCount(&filter) < 1) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcFdnListCheckIsAvailFdnNumber CtSvcFdnListGetCount return <1 !!!\n");
    return FALSE;
  }
  return TRUE;
}
