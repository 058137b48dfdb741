// Translation and prepared-statement caches.
#include "StmtCache.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "Connection.h"
#include "Dialect.h"

namespace zel::db2 {

namespace {

size_t HashOf(std::string_view text) { return std::hash<std::string_view>()(text); }

template <typename Entry>
size_t LeastRecentlyUsed(const std::vector<Entry>& entries) {
  return static_cast<size_t>(
      std::min_element(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.nUse < b.nUse; }) -
      entries.begin());
}

}  // namespace

const std::string& TranslationCache::Get(std::string_view dialect) {
  const size_t nHash = HashOf(dialect);
  for (Entry& e : m_entries) {
    if (e.nHash == nHash && e.dialect == dialect) {
      e.nUse = ++m_nClock;
      return e.sqlite;
    }
  }
  Entry fresh{nHash, ++m_nClock, std::string(dialect), TranslateDialect(dialect)};
  if (m_entries.size() < m_nCapacity) {
    m_entries.push_back(std::move(fresh));
    return m_entries.back().sqlite;
  }
  Entry& victim = m_entries[LeastRecentlyUsed(m_entries)];
  victim = std::move(fresh);
  return victim.sqlite;
}

sqlite3_stmt* StmtPool::Take(std::string_view sql) {
  const size_t nHash = HashOf(sql);
  for (size_t i = 0; i < m_entries.size(); ++i) {
    sqlite3_stmt* pStmt = m_entries[i].pStmt;
    if (m_entries[i].nHash == nHash && sql == sqlite3_sql(pStmt)) {
      m_entries[i] = m_entries.back();
      m_entries.pop_back();
      return pStmt;
    }
  }
  return nullptr;
}

void StmtPool::Give(sqlite3_stmt* pStmt) {
  sqlite3_reset(pStmt);
  sqlite3_clear_bindings(pStmt);
  if (m_nCapacity == 0) {
    sqlite3_finalize(pStmt);
    return;
  }
  if (m_entries.size() >= m_nCapacity) {
    const size_t nVictim = LeastRecentlyUsed(m_entries);
    sqlite3_finalize(m_entries[nVictim].pStmt);
    m_entries[nVictim] = m_entries.back();
    m_entries.pop_back();
  }
  const char* pszSql = sqlite3_sql(pStmt);
  m_entries.push_back(Entry{HashOf(pszSql != nullptr ? pszSql : ""), ++m_nClock, pStmt});
}

void StmtPool::Clear() {
  for (Entry& e : m_entries) {
    sqlite3_finalize(e.pStmt);
  }
  m_entries.clear();
}

void StmtLease::Reset() {
  if (m_pStmt != nullptr) {
    Connection::Instance().Release(std::exchange(m_pStmt, nullptr), m_nGeneration, m_bPoolable);
  }
}

}  // namespace zel::db2
