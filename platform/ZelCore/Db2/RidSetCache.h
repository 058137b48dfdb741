// What a row-id sub-query selects, kept per sub-query text between searches.
//
// A narrowed search checks every hit against its sub-query. Asked of SQLite, a check looks the hit
// up in the sub-query's tables (about 0.6-1 µs each, thousands per search). The answers are kept
// while the store may not have changed, so a later search answers the same hits from memory in a
// few nanoseconds each. They are dropped when:
// - another connection or process committed (PRAGMA data_version),
// - this connection changed rows (sqlite3_total_changes64, which also counts trigger changes and
//   work rolled back later) or the schema (PRAGMA schema_version),
// - the connection was opened again (its generation).
// Hits are looked up one by one, so the first search after a write costs what asking SQLite per
// hit costs, not a run of the whole sub-query. The sub-query is run whole (its rows kept as a set)
// only when that is cheaper: when a check had to scan a table, or when this state of the store has
// asked about as many hits as half the rows the sub-query selected last time.
// Answers are only taken and used outside a transaction of this connection, inside a read
// transaction that also runs the search, so the answers and the hits come from one snapshot.
#ifndef ZEL_DB2_RID_SET_CACHE_H
#define ZEL_DB2_RID_SET_CACHE_H

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "StmtCache.h"

namespace zel::db2 {

// The state of the store answers were taken in; equal states select the same rows.
struct StoreState {
  uint64_t nGeneration = 0;
  long long nDataVersion = -1;
  long long nSchemaVersion = -1;
  long long nOwnChanges = -1;

  bool operator==(const StoreState& o) const {
    return nGeneration == o.nGeneration && nDataVersion == o.nDataVersion && nSchemaVersion == o.nSchemaVersion &&
           nOwnChanges == o.nOwnChanges;
  }
};

// A set of row ids: a bitmap when the ids are dense enough, else a sorted array.
class RidSet {
 public:
  explicit RidSet(std::vector<long long> ids);
  bool Contains(long long nId) const;
  size_t Size() const { return m_nSize; }

 private:
  std::vector<uint64_t> m_bits;     // bit n: id n (ids in [0, 64 * size))
  std::vector<long long> m_sorted;  // when the bitmap would be larger than the array
  size_t m_nSize = 0;
};

// Answers already known for single ids: unknown, in or not in the sub-query's rows.
class RidAnswers {
 public:
  enum Answer : uint8_t { kUnknown = 0, kOut = 1, kIn = 2 };
  Answer Get(long long nId) const;
  void Put(long long nId, bool bIn);
  void Clear();
  size_t Count() const { return m_nCount; }

 private:
  // Ids below it live in the array (4 MiB at most), the others in the map.
  static constexpr long long kDenseLimit = 1LL << 22;
  std::vector<uint8_t> m_dense;  // by id
  std::unordered_map<long long, bool> m_sparse;
  size_t m_nCount = 0;
};

// The checks of one search against one sub-query; valid while the cache and the read
// transaction it was begun in last.
class RidCheck {
 public:
  // 1 when the sub-query selects nId, 0 when not, -1 when asking SQLite failed (reported).
  int Contains(long long nId);
  // Logs how many hits were asked of SQLite and how many answered from what was kept.
  void Report() const;

 private:
  friend class RidSetCache;
  struct Entry;
  RidCheck(Entry* pEntry, sqlite3* pDb) : m_pEntry(pEntry), m_pDb(pDb) {}
  int Ask(long long nId);
  bool TakeWholeSet();

  Entry* m_pEntry;
  sqlite3* m_pDb;
  StmtLease m_lease;  // the per-hit statement, prepared at the first unknown hit
  size_t m_nAsked = 0;
  size_t m_nKept = 0;
};

struct RidCheck::Entry {
  std::string subQuery;
  StoreState state;
  RidAnswers answers;               // per id, while no whole set is kept
  std::optional<RidSet> set;        // every row, once the sub-query was run whole in this state
  std::optional<size_t> wholeSize;  // rows of the last whole run, in any state
};

class RidSetCache {
 public:
  // The checks against subQuery in state: what was kept for the text when the state is the same,
  // else nothing yet. Holds until the next call.
  RidCheck Begin(sqlite3* pDb, const std::string& subQuery, const StoreState& state);
  void Clear() { m_entries.clear(); }

 private:
  static constexpr size_t kMaxEntries = 4;
  std::vector<RidCheck::Entry> m_entries;  // the most recently used last
};

}  // namespace zel::db2

#endif
