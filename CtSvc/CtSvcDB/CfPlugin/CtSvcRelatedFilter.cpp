#include "CtSvcDB/CfPlugin/CtSvcRelatedFilter.h"

#include <new>

#include "CtSvcDB/CfPlugin/CtSvcFilterConditions.h"
#include "CtSvcDB/CfPlugin/CtSvcPersonFilter.h"
#include "ZelDebug.h"

namespace {

std::unique_ptr<CCtSvcCFFilter> CloneOf(const CCtSvcCFFilter* pFilter) {
  if (pFilter == nullptr) {
    return nullptr;
  }
  try {
    return pFilter->Clone();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

CCtSvcRelatedFilter::CCtSvcRelatedFilter(const CCtSvcRelatedFilter& other) : m_pFilter(CloneOf(other.m_pFilter.get())) {}

CCtSvcRelatedFilter& CCtSvcRelatedFilter::operator=(const CCtSvcRelatedFilter& other) {
  if (this != &other) {
    m_pFilter = CloneOf(other.m_pFilter.get());
  }
  return *this;
}

BOOL CCtSvcRelatedFilter::SetRelatedFilter(const CCtSvcCFFilter* pFilter) {
  // The argument may be the held filter itself: clone before dropping it.
  std::unique_ptr<CCtSvcCFFilter> pClone = CloneOf(pFilter);
  m_pFilter.reset();
  if (pFilter == nullptr) {
    return TRUE;
  }
  if (pClone == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcCFRelatedFilter::SetContentFilter - memory allocation failed\n");
    return FALSE;
  }
  m_pFilter = std::move(pClone);
  return TRUE;
}

BOOL CCtSvcRelatedFilter::SetPersonFilter(const CtSvcPersonFilter* pPersonFilter) {
  if (pPersonFilter == nullptr) {
    return SetRelatedFilter(nullptr);
  }
  CCtSvcPersonFilter personFilter;
  personFilter.SetContentFilter(pPersonFilter);
  return SetRelatedFilter(&personFilter);
}

BOOL CCtSvcRelatedFilter::GetNestedQueryString(std::string& strOut) {
  std::vector<std::u16string> vcArgs;
  return GetNestedQueryString(strOut, vcArgs);
}

BOOL CCtSvcRelatedFilter::GetNestedQueryString(std::string& strOut, std::vector<std::u16string>& vcArgs) {
  if (m_pFilter == nullptr) {
    return FALSE;
  }
  const CContentFilter* pContentFilter = m_pFilter->GetContentFilter();
  if (pContentFilter->GetWhere().empty()) {
    return FALSE;
  }
  strOut = CtSvcFormat("( select %s.%s from %s where %s )", m_pFilter->GetTableName(), m_pFilter->GetIDColumnName(),
                       m_pFilter->GetTableName(), pContentFilter->GetWhere().c_str());
  vcArgs = pContentFilter->GetWhereArg();
  return TRUE;
}
