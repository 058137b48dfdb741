// The answers of a row-id sub-query for single ids, and its whole set of rows, kept while the
// store is unchanged.
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

// The statement asking whether the sub-query selects one id. The CAST gives the id the affinity
// of a rowid column, so the sub-query's values compare as they would with one.
std::string CheckSql(const std::string& subQuery) {
  return "WITH db2_rid_set(v) AS (" + subQuery + ") SELECT 1 FROM db2_rid_set WHERE v = CAST(?1 AS INTEGER) LIMIT 1";
}

// Per-hit checks are dearer than one row of a whole run (a lookup against a step of a scan); after
// this many the whole set pays, when the sub-query's size is not known yet.
constexpr size_t kChecksBeforeFirstWholeRun = 16384;
// A check that steps the engine this often is no lookup: the sub-query is run whole instead.
constexpr int kMaxStepsPerCheck = 1000;

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

RidAnswers::Answer RidAnswers::Get(long long nId) const {
  if (nId >= 0 && nId < kDenseLimit) {
    return static_cast<size_t>(nId) < m_dense.size() ? static_cast<Answer>(m_dense[static_cast<size_t>(nId)])
                                                     : kUnknown;
  }
  auto it = m_sparse.find(nId);
  return it == m_sparse.end() ? kUnknown : (it->second ? kIn : kOut);
}

void RidAnswers::Put(long long nId, bool bIn) {
  ++m_nCount;
  if (nId >= 0 && nId < kDenseLimit) {
    const size_t n = static_cast<size_t>(nId);
    if (n >= m_dense.size()) {
      m_dense.resize(std::max(n + 1, m_dense.size() * 2), kUnknown);
    }
    m_dense[n] = bIn ? kIn : kOut;
    return;
  }
  m_sparse[nId] = bIn;
}

void RidAnswers::Clear() {
  m_dense.clear();
  m_sparse.clear();
  m_nCount = 0;
}

int RidCheck::Contains(long long nId) {
  if (m_pEntry->set) {
    ++m_nKept;
    return m_pEntry->set->Contains(nId) ? 1 : 0;
  }
  const RidAnswers::Answer answer = m_pEntry->answers.Get(nId);
  if (answer != RidAnswers::kUnknown) {
    ++m_nKept;
    return answer == RidAnswers::kIn ? 1 : 0;
  }
  const size_t nWholeAfter =
      m_pEntry->wholeSize ? std::max<size_t>(*m_pEntry->wholeSize / 2, 64) : kChecksBeforeFirstWholeRun;
  if (m_pEntry->answers.Count() >= nWholeAfter) {
    return TakeWholeSet() ? Contains(nId) : -1;
  }
  return Ask(nId);
}

// Asks SQLite about one id and keeps the answer; a check that had to scan makes the whole run.
int RidCheck::Ask(long long nId) {
  if (!m_lease) {
    const std::string sql = CheckSql(m_pEntry->subQuery);
    const char* pszTail = nullptr;
    m_lease = Connection::Instance().PrepareSqlite(sql.c_str(), &pszTail, kWho);
    if (!m_lease) {
      return -1;
    }
  }
  ++m_nAsked;
  sqlite3_stmt* pStmt = m_lease.Get();
  sqlite3_bind_int64(pStmt, 1, nId);
  const int rc = sqlite3_step(pStmt);
  sqlite3_reset(pStmt);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
    ReportFailure(kWho, "sub-query check failed", sqlite3_sql(pStmt), m_pDb);
    return -1;
  }
  const bool bScanned = sqlite3_stmt_status(pStmt, SQLITE_STMTSTATUS_FULLSCAN_STEP, 1) > 0;
  const bool bLong = sqlite3_stmt_status(pStmt, SQLITE_STMTSTATUS_VM_STEP, 1) > kMaxStepsPerCheck;
  m_pEntry->answers.Put(nId, rc == SQLITE_ROW);
  if (bScanned || bLong) {
    DbgPrint(DBG_CLASS_TRACE, "%s - a check of one row scanned: the sub-query is run whole\n", kWho);
    if (!TakeWholeSet()) {
      return -1;
    }
  }
  return rc == SQLITE_ROW ? 1 : 0;
}

bool RidCheck::TakeWholeSet() {
  std::vector<long long> ids;
  if (!ReadIds(m_pDb, m_pEntry->subQuery, &ids)) {
    return false;
  }
  m_pEntry->set.emplace(std::move(ids));
  m_pEntry->wholeSize = m_pEntry->set->Size();
  m_pEntry->answers.Clear();
  DbgPrint(DBG_CLASS_TRACE, "%s - %zu rows of the sub-query kept\n", kWho, m_pEntry->set->Size());
  return true;
}

void RidCheck::Report() const {
  DbgPrint(DBG_CLASS_TRACE, "%s - %zu hits asked of the store, %zu answered from kept rows\n", kWho, m_nAsked,
           m_nKept);
}

RidCheck RidSetCache::Begin(sqlite3* pDb, const std::string& subQuery, const StoreState& state) {
  auto it = std::find_if(m_entries.begin(), m_entries.end(),
                         [&](const RidCheck::Entry& e) { return e.subQuery == subQuery; });
  if (it == m_entries.end()) {
    if (m_entries.size() >= kMaxEntries) {
      m_entries.erase(m_entries.begin());
    }
    m_entries.emplace_back();
    m_entries.back().subQuery = subQuery;
    m_entries.back().state = state;
  } else {
    std::rotate(it, it + 1, m_entries.end());
  }
  RidCheck::Entry& entry = m_entries.back();
  if (!(entry.state == state)) {
    entry.state = state;
    entry.answers.Clear();
    entry.set.reset();
  }
  return RidCheck(&entry, pDb);
}

}  // namespace zel::db2
