// Sets of row ids selected by a row-id sub-query, kept while the store is unchanged.
#include "RidSetCache.h"

#include <algorithm>
#include <utility>

#include "Connection.h"
#include "ZelDebug.h"

namespace zel::db2 {

namespace {

const char kWho[] = "Db2FTSRidSet";

// A value of the sub-query as a row id: what a comparison with a rowid column makes of it
// (numeric affinity: text that reads as a number is that number). FALSE when it cannot equal one.
bool AsRowId(sqlite3_stmt* pStmt, long long* pnId) {
  int nType = sqlite3_column_type(pStmt, 0);
  if (nType == SQLITE_TEXT) {
    sqlite3_value* pCopy = sqlite3_value_dup(sqlite3_column_value(pStmt, 0));
    nType = pCopy != nullptr ? sqlite3_value_numeric_type(pCopy) : SQLITE_NULL;
    if (nType == SQLITE_INTEGER || nType == SQLITE_FLOAT) {
      *pnId = sqlite3_value_int64(pCopy);
      const double dValue = sqlite3_value_double(pCopy);
      nType = nType == SQLITE_FLOAT && static_cast<double>(*pnId) != dValue ? SQLITE_NULL : SQLITE_INTEGER;
    }
    sqlite3_value_free(pCopy);
    return nType == SQLITE_INTEGER;
  }
  if (nType == SQLITE_FLOAT) {
    const double dValue = sqlite3_column_double(pStmt, 0);
    *pnId = sqlite3_column_int64(pStmt, 0);
    return static_cast<double>(*pnId) == dValue;
  }
  *pnId = sqlite3_column_int64(pStmt, 0);
  return nType == SQLITE_INTEGER;
}

// The row ids the sub-query selects (its first column), or FALSE when it fails.
bool ReadIds(sqlite3* pDb, const std::string& subQuery, std::vector<long long>* pIds) {
  const std::string sql = "WITH db2_rid_set(v) AS (" + subQuery + ") SELECT v FROM db2_rid_set";
  sqlite3_stmt* pStmt = nullptr;
  int rc = sqlite3_prepare_v2(pDb, sql.c_str(), -1, &pStmt, nullptr);
  if (rc == SQLITE_OK) {
    while ((rc = sqlite3_step(pStmt)) == SQLITE_ROW) {
      long long nId = 0;
      if (AsRowId(pStmt, &nId)) {
        pIds->push_back(nId);
      }
    }
  }
  if (rc != SQLITE_DONE) {
    ReportFailure(kWho, "sub-query failed", sql, pDb);
  }
  sqlite3_finalize(pStmt);
  return rc == SQLITE_DONE;
}

}  // namespace

RidSet::RidSet(std::vector<long long> ids) {
  if (!std::is_sorted(ids.begin(), ids.end())) {  // a scan of the table gives them in order
    std::sort(ids.begin(), ids.end());
  }
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  m_nSize = ids.size();
  // A bitmap of ids up to 64 per id kept is at most as large as the sorted array.
  if (ids.empty() || ids.front() < 0 || static_cast<unsigned long long>(ids.back()) >= 64 * ids.size()) {
    m_sorted = std::move(ids);
    return;
  }
  m_bits.assign(static_cast<size_t>(ids.back()) / 64 + 1, 0);
  for (long long n : ids) {
    m_bits[static_cast<size_t>(n) / 64] |= uint64_t{1} << (n % 64);
  }
}

bool RidSet::Contains(long long nId) const {
  if (!m_bits.empty()) {
    const unsigned long long n = static_cast<unsigned long long>(nId);
    return n / 64 < m_bits.size() && (m_bits[n / 64] >> (n % 64) & 1) != 0;
  }
  return std::binary_search(m_sorted.begin(), m_sorted.end(), nId);
}

const RidSet* RidSetCache::Get(sqlite3* pDb, const std::string& subQuery, const StoreState& state) {
  auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.subQuery == subQuery; });
  if (it != m_entries.end() && it->state == state) {
    std::rotate(it, it + 1, m_entries.end());
    return &m_entries.back().set;
  }
  if (it != m_entries.end()) {
    m_entries.erase(it);
  }
  std::vector<long long> ids;
  if (!ReadIds(pDb, subQuery, &ids)) {
    return nullptr;
  }
  if (m_entries.size() >= kMaxEntries) {
    m_entries.erase(m_entries.begin());
  }
  m_entries.push_back(Entry{subQuery, state, RidSet(std::move(ids))});
  DbgPrint(DBG_CLASS_TRACE, "%s - %zu rows of the sub-query kept\n", kWho, m_entries.back().set.Size());
  return &m_entries.back().set;
}

}  // namespace zel::db2
