// Caches that keep repeated statement texts cheap: dialect text -> SQLite text, and idle
// prepared statements by SQLite text. Both are small and least-recently-used; lookups do not
// allocate. Callers hold the connection mutex.
#ifndef ZEL_DB2_STMT_CACHE_H
#define ZEL_DB2_STMT_CACHE_H

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zel::db2 {

class TranslationCache {
 public:
  explicit TranslationCache(size_t nCapacity) : m_nCapacity(nCapacity) {}
  // The SQLite text of a dialect text, translated on a miss. Valid until the next call.
  const std::string& Get(std::string_view dialect);
  void Clear() { m_entries.clear(); }

 private:
  struct Entry {
    size_t nHash;
    uint64_t nUse;
    std::string dialect;
    std::string sqlite;
  };
  std::vector<Entry> m_entries;
  uint64_t m_nClock = 0;
  size_t m_nCapacity;
};

class StmtPool {
 public:
  explicit StmtPool(size_t nCapacity) : m_nCapacity(nCapacity) {}
  StmtPool(const StmtPool&) = delete;
  StmtPool& operator=(const StmtPool&) = delete;
  ~StmtPool() { Clear(); }
  // An idle statement prepared from exactly this text, or null.
  sqlite3_stmt* Take(std::string_view sql);
  // Resets and keeps the statement, finalizing the least recently kept one when full.
  void Give(sqlite3_stmt* pStmt);
  void Clear();

 private:
  struct Entry {
    size_t nHash;
    uint64_t nUse;
    sqlite3_stmt* pStmt;
  };
  std::vector<Entry> m_entries;
  uint64_t m_nClock = 0;
  size_t m_nCapacity;
};

// A prepared statement lent out by the connection; given back when the lease ends.
class StmtLease {
 public:
  StmtLease() = default;
  StmtLease(sqlite3_stmt* pStmt, uint64_t nGeneration, bool bPoolable)
      : m_pStmt(pStmt), m_nGeneration(nGeneration), m_bPoolable(bPoolable) {}
  StmtLease(StmtLease&& other) noexcept { *this = std::move(other); }
  StmtLease& operator=(StmtLease&& other) noexcept {
    if (this != &other) {
      Reset();
      m_pStmt = std::exchange(other.m_pStmt, nullptr);
      m_nGeneration = other.m_nGeneration;
      m_bPoolable = other.m_bPoolable;
    }
    return *this;
  }
  StmtLease(const StmtLease&) = delete;
  StmtLease& operator=(const StmtLease&) = delete;
  ~StmtLease() { Reset(); }

  sqlite3_stmt* Get() const { return m_pStmt; }
  explicit operator bool() const { return m_pStmt != nullptr; }
  uint64_t Generation() const { return m_nGeneration; }
  void Reset();

 private:
  sqlite3_stmt* m_pStmt = nullptr;
  uint64_t m_nGeneration = 0;
  bool m_bPoolable = false;
};

}  // namespace zel::db2

#endif
