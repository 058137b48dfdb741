// The letters statements of primaries and persons.
#include "CtSvcTaskJobFastScroll.h"

#include <cstdio>

namespace {

std::string Format(const char* pszFormat, const char* pszValue) {
  char szBuf[160];
  std::snprintf(szBuf, sizeof(szBuf), pszFormat, pszValue);
  return szBuf;
}

std::string Format(const char* pszFormat, int nValue) {
  char szBuf[160];
  std::snprintf(szBuf, sizeof(szBuf), pszFormat, nValue);
  return szBuf;
}

bool IsDeviceTypeSet(int nDevType) { return nDevType == CTSVC_USE_TYPE_PHONE || nDevType == CTSVC_USE_TYPE_SIM; }

// Conditions of the primary filter's FilterDetail bits, joined with the group table and alone.
struct DetailCondition {
  int nBit;
  const char* szJoined;
  const char* szPlain;
};

const DetailCondition kDetailConditions[] = {
    {CTSVC_PRIMARY_FILTER_DETAIL_HAS_NAME, " And ctsvcprimary.FL_FULLNAME <> ?", " AND FL_FULLNAME <> ?"},
    {CTSVC_PRIMARY_FILTER_DETAIL_HAS_PHONENUMBER, " AND ctsvcprimary.HAS_PH > 0", " AND HAS_PH > 0"},
    {CTSVC_PRIMARY_FILTER_DETAIL_HAS_EMAIL, " AND ctsvcprimary.HAS_EMAIL > 0", " AND HAS_EMAIL > 0"},
    {CTSVC_PRIMARY_FILTER_DETAIL_HAS_ADDRESS, " AND ctsvcprimary.HAS_ADDR > 0", " AND HAS_ADDR > 0"},
    {CTSVC_PRIMARY_FILTER_DETAIL_HAS_PHONENUMBER_OR_EMAIL,
     " AND (ctsvcprimary.HAS_PH > 0 or ctsvcprimary.HAS_EMAIL > 0)", " AND (HAS_PH > 0 or HAS_EMAIL > 0)"},
};

std::string DetailConditions(int nFilterDetail, bool bJoined) {
  std::string strText;
  for (const DetailCondition& condition : kDetailConditions) {
    if ((nFilterDetail & condition.nBit) != 0) {
      strText += bJoined ? condition.szJoined : condition.szPlain;
    }
  }
  return strText;
}

}  // namespace

CCtSvcTaskJobFastScroll::CCtSvcTaskJobFastScroll(const CtSvcPrimaryFilter& filter, CtSvcFastScrollCallback pfnCallback,
                                                 void* pUserData)
    : CCtSvcTaskJobLetters("CCtSvcTaskJobFastScroll", pfnCallback, pUserData), m_Filter(filter) {}

bool CCtSvcTaskJobFastScroll::_MakeStatement(std::string& strSql, bool& bBindNoName) const {
  if (!_CheckFilter(m_Filter.DevType, m_Filter.FilterIndexType)) {
    return false;
  }
  const bool bLastFirst = m_Filter.FilterIndexType == CTSVC_FILTER_INDEX_LAST_FIRST;
  const char* pszLetter = bLastFirst ? "lf_group_letter" : "fl_group_letter";
  const bool bGroup = m_Filter.nGroupId > 0;
  bBindNoName = (m_Filter.FilterDetail & CTSVC_PRIMARY_FILTER_DETAIL_HAS_NAME) != 0;
  if (bGroup) {
    strSql = Format("SELECT DISTINCT ctsvcprimary.%s FROM ctsvcprimary, ctsvcgroupmember", pszLetter);
    strSql += Format(" WHERE ctsvcprimary.%s IS NOT NULL", pszLetter);
    strSql += Format(" AND ctsvcprimary.id = ctsvcgroupmember.primary_id AND ctsvcgroupmember.group_id = %d",
                     m_Filter.nGroupId);
    if (IsDeviceTypeSet(m_Filter.DevType)) {
      strSql += Format(" AND ctsvcprimary.device_type = %d", m_Filter.DevType);
    }
    strSql += DetailConditions(m_Filter.FilterDetail, true);
    if (m_Filter.nExceptPrimaryId > 0) {
      strSql += Format(" AND ctsvcprimary.ID <> %d", m_Filter.nExceptPrimaryId);
    }
    strSql += Format(" ORDER BY ctsvcprimary.%s", pszLetter);
    return true;
  }
  strSql = Format("SELECT DISTINCT %s FROM ctsvcprimary", pszLetter);
  strSql += Format(" WHERE %s IS NOT NULL", pszLetter);
  if (IsDeviceTypeSet(m_Filter.DevType)) {
    strSql += Format(" AND device_type = %d", m_Filter.DevType);
  }
  strSql += DetailConditions(m_Filter.FilterDetail, false);
  if (m_Filter.FavoriteType > 0) {
    strSql += Format(" AND FAVORITE = %d", m_Filter.FavoriteType);
  }
  if (m_Filter.nExceptPrimaryId > 0) {
    strSql += Format(" AND ID <> %d", m_Filter.nExceptPrimaryId);
  }
  strSql += bLastFirst ? " ISCAN PRIMARY_GROUP_IDX2" : " ISCAN PRIMARY_GROUP_IDX1";
  return true;
}

CCtSvcTaskJobPersonFastScroll::CCtSvcTaskJobPersonFastScroll(const CtSvcPersonFilter& filter,
                                                             CtSvcFastScrollCallback pfnCallback, void* pUserData)
    : CCtSvcTaskJobLetters("CCtSvcTaskJobPersonFastScroll", pfnCallback, pUserData), m_Filter(filter) {}

bool CCtSvcTaskJobPersonFastScroll::_MakeStatement(std::string& strSql, bool& bBindNoName) const {
  if (!_CheckFilter(m_Filter.DevType, m_Filter.FilterIndexType)) {
    return false;
  }
  const bool bLastFirst = m_Filter.FilterIndexType == CTSVC_FILTER_INDEX_LAST_FIRST;
  bBindNoName = false;
  strSql = bLastFirst ? "SELECT DISTINCT lf_group_letter FROM ctsvcperson" : "SELECT DISTINCT fl_group_letter FROM ctsvcperson";
  strSql += bLastFirst ? " WHERE lf_group_letter IS NOT NULL" : " WHERE fl_group_letter IS NOT NULL";
  if (IsDeviceTypeSet(m_Filter.DevType)) {
    strSql += Format(" AND device_type = %d", m_Filter.DevType);
  }
  if (m_Filter.bLocalPhoneDataOnly) {
    strSql += " AND account_id < 1";
  } else if (m_Filter.nAccountId >= 0) {
    strSql += Format(" AND account_id = %d", m_Filter.nAccountId);
  }
  strSql += bLastFirst ? " ISCAN PERSON_GROUP_IDX2" : " ISCAN PERSON_GROUP_IDX1";
  return true;
}
