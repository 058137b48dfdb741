// The row-id sub-query that narrows an extended search by group, favourite, device type, account
// and the kind of data a contact has.
#include <cstdio>
#include <string>
#include <utility>

#include "CtSvcSearchMgr.h"
#include "CtSvcSearchQuery.h"
#include "ZelDebug.h"

namespace {

// Appends conditions joined by " and" to a statement that may already hold some.
class CConditionList {
 public:
  CConditionList(std::string strBase, int nConditions) : m_strText(std::move(strBase)), m_nCount(nConditions) {}
  void Add(const std::string& strCondition) {
    if (m_nCount > 0) {
      m_strText += " and";
    }
    m_strText += strCondition;
    ++m_nCount;
  }
  const std::string& Text() const { return m_strText; }
  int Count() const { return m_nCount; }

 private:
  std::string m_strText;
  int m_nCount;
};

std::string Format(const char* pszFormat, int nValue) {
  char szBuf[256];
  std::snprintf(szBuf, sizeof(szBuf), pszFormat, nValue);
  return szBuf;
}

bool IsDeviceTypeSet(int nDevType) { return nDevType == CTSVC_USE_TYPE_PHONE || nDevType == CTSVC_USE_TYPE_SIM; }

void AddFilterFlag(CConditionList& list, int nFilterFlag) {
  static const char* const kFlagConditions[] = {nullptr, " HAS_PH = 1", " HAS_EMAIL = 1",
                                                " (HAS_PH = 1 OR HAS_EMAIL = 1)"};
  if (nFilterFlag < 1 || nFilterFlag > 3) {
    return;
  }
  DbgPrint(DBG_CLASS_TRACE, "__MakeQueryExtended  nFilterFlag(%d)\n", nFilterFlag);
  list.Add(kFlagConditions[nFilterFlag]);
}

CConditionList PrimaryGroupQuery(const CtSvcExtendedSearchRequest& request) {
  DbgPrint(DBG_CLASS_TRACE, "__MakeQueryExtended  nGroupId(%d)\n", request.nGroupId);
  CConditionList list(Format("select ctsvcprimary.rid from ctsvcprimary, ctsvcgroupmember where ctsvcprimary.id = "
                             "ctsvcgroupmember.primary_id and ctsvcgroupmember.group_id=%d",
                             request.nGroupId),
                      1);
  if (request.FavoriteType > 0) {
    DbgPrint(DBG_CLASS_TRACE, "__MakeQueryExtended  FavouriteType(%d)\n", request.FavoriteType);
    list.Add(Format(" ctsvcprimary.favorite = %d and ctsvcprimary.device_type = 1", request.FavoriteType));
  }
  if (IsDeviceTypeSet(request.DevType)) {
    DbgPrint(DBG_CLASS_TRACE, "__MakeQueryExtended  DevType(%d)\n", request.DevType);
    list.Add(Format(" ctsvcprimary.device_type = %d", request.DevType));
  }
  return list;
}

CConditionList PrimaryQuery(const CtSvcExtendedSearchRequest& request) {
  CConditionList list("select rid from ctsvcprimary where", 0);
  if (request.FavoriteType > 0) {
    DbgPrint(DBG_CLASS_TRACE, "__MakeQueryExtended  FavouriteType(%d)\n", request.FavoriteType);
    list.Add(Format(" favorite = %d and device_type = 1", request.FavoriteType));
  } else if (IsDeviceTypeSet(request.DevType)) {
    DbgPrint(DBG_CLASS_TRACE, "__MakeQueryExtended  DevType(%d)\n", request.DevType);
    list.Add(Format(" device_type = %d", request.DevType));
  }
  if (request.bLocalPhoneDataOnly) {
    DbgPrint(DBG_CLASS_TRACE, "__MakeQueryExtended  bLocalPhoneDataOnly(%d)\n", request.bLocalPhoneDataOnly);
    list.Add(" first_account_id < 0");
  }
  AddFilterFlag(list, request.nFilterFlag);
  return list;
}

CConditionList PersonQuery(const CtSvcExtendedSearchRequest& request) {
  CConditionList list("select rid from ctsvcperson where", 0);
  if (request.bLocalPhoneDataOnly) {
    DbgPrint(DBG_CLASS_TRACE, "__MakeQueryExtended  bLocalPhoneDataOnly(%d)\n", request.bLocalPhoneDataOnly);
    list.Add(" account_id < 1");
  } else if (request.nAccountId >= 0) {
    DbgPrint(DBG_CLASS_TRACE, "__MakeQueryExtended  nAccountId(%d)\n", request.nAccountId);
    list.Add(Format(" account_id = %d", request.nAccountId));
  }
  if (IsDeviceTypeSet(request.DevType)) {
    DbgPrint(DBG_CLASS_TRACE, "__MakeQueryExtended  DevType(%d)\n", request.DevType);
    list.Add(Format(" device_type = %d", request.DevType));
  }
  AddFilterFlag(list, request.nFilterFlag);
  return list;
}

}  // namespace

std::string CtSvcSearchMakeRidQuery(int nType, const CtSvcExtendedSearchRequest& request, int* pnConditions) {
  CConditionList list = nType == CTSVC_SEARCH_TYPE_PERSON ? PersonQuery(request)
                        : request.nGroupId >= 1           ? PrimaryGroupQuery(request)
                                                          : PrimaryQuery(request);
  if (pnConditions != nullptr) {
    *pnConditions = list.Count();
  }
  return list.Text();
}
