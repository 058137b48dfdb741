// The filter-keeping base of handlers over tables of the platform database.
#include <algorithm>

#include "ContentFramework.h"
#include "Db2Statement.h"
#include "RowQueries.h"
#include "SqlText.h"
#include "ZelDebug.h"

using zel::content::SameColumn;

void CContentDb2MgrBaseHandler::SetFilter(const CContentFilter* pFilter) {
  if (pFilter == nullptr) {
    m_Filter = CContentFilter();
    m_bHasFilter = false;
    return;
  }
  if (pFilter != &m_Filter) {
    m_Filter = *pFilter;
  }
  m_bHasFilter = true;
}

const CContentFilter* CContentDb2MgrBaseHandler::GetFilter() { return m_bHasFilter ? &m_Filter : nullptr; }

std::string CContentDb2MgrBaseHandler::GetWhere() { return m_Filter.GetWhere(); }

std::vector<std::u16string> CContentDb2MgrBaseHandler::GetWhereArg() { return m_Filter.GetWhereArg(); }

std::string CContentDb2MgrBaseHandler::GetHint() { return m_Filter.GetHint(); }

std::vector<std::string> CContentDb2MgrBaseHandler::GetColumnNames() {
  return m_Filter.GetColumnNames().empty() ? GetAllColumnNames() : m_Filter.GetColumnNames();
}

int CContentDb2MgrBaseHandler::GetCount() {
  const int nCount = zel::content::QueryInt(zel::content::MakeCountSelect(GetTableName(), m_Filter.GetWhere()),
                                            m_Filter.GetWhereArg());
  if (nCount < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CContentDb2MgrBaseHandler::GetCount - count of %s failed\n", GetTableName().c_str());
  }
  return nCount;
}

int CContentDb2MgrBaseHandler::GetBlockCount() {
  const int nCount = GetCount();
  const int nBatch = GetBatchSize();
  if (nCount < 0 || nBatch <= 0) {
    return -1;
  }
  return (nCount + nBatch - 1) / nBatch;
}

bool CContentDb2MgrBaseHandler::IsContained(int nId) {
  std::string strCondition;
  std::string strLimit;
  zel::content::SplitTrailingLimit(m_Filter.GetWhere(), strCondition, strLimit);
  if (!strLimit.empty()) {
    // Only the first rows of the order belong to a limited filter.
    return GetIndexWithID(nId) >= 0;
  }
  const std::string strWhere = zel::content::MakeIdInWhere(GetIDColumnName(), {nId}, strCondition);
  return zel::content::QueryInt(zel::content::MakeCountSelect(GetTableName(), strWhere), m_Filter.GetWhereArg()) > 0;
}

int CContentDb2MgrBaseHandler::GetIndexWithID(int nId) {
  std::vector<int> vcIds;
  if (!zel::content::LoadRowIds(GetTableName(), GetIDColumnName(), m_Filter, vcIds)) {
    return -1;
  }
  const auto it = std::find(vcIds.begin(), vcIds.end(), nId);
  return it == vcIds.end() ? -1 : static_cast<int>(it - vcIds.begin());
}

int CContentDb2MgrBaseHandler::GetContentID(CContentInput& input) {
  const std::string strIdColumn = GetIDColumnName();
  for (const auto& entry : input.GetColumnDataSet()) {
    if (!SameColumn(entry.first, strIdColumn)) {
      continue;
    }
    const CContentValue& value = entry.second;
    if (value.type == ContentValueType::Int || value.type == ContentValueType::Int8) {
      return value.nInt;
    }
    return -1;
  }
  return -1;
}

std::string CContentDb2MgrBaseHandler::JoinNames(const std::vector<std::string>& vcNames) {
  return zel::content::JoinNames(vcNames);
}

std::string CContentDb2MgrBaseHandler::JoinIds(const std::vector<int>& vcIds) { return zel::content::JoinIds(vcIds); }

std::string CContentDb2MgrBaseHandler::MakeSetValues(const std::vector<std::string>& vcNames) {
  return zel::content::MakeSetValues(vcNames);
}

bool CContentDb2MgrBaseHandler::BindWhereArgs(int hStmt, const std::vector<std::u16string>& vcArgs, int nFirstParam) {
  return Db2BindText16(hStmt, vcArgs, nFirstParam);
}
