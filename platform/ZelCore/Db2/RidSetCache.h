// The rows a row-id sub-query selects, kept per sub-query text between searches.
//
// A narrowed search checks every hit against its sub-query. Asked of SQLite per hit, that costs a
// lookup of the hit in the sub-query's tables (about 0.6-1 µs each, thousands per search). The
// set kept here answers the same question in a few nanoseconds; it is rebuilt, by running the
// sub-query once, whenever the store may have changed since it was taken:
// - another connection or process committed (PRAGMA data_version),
// - this connection changed rows (sqlite3_total_changes64, which also counts trigger changes and
//   work rolled back later) or the schema (PRAGMA schema_version),
// - the connection was opened again (its generation).
// A set is only taken and used outside a transaction of this connection, inside a read
// transaction that also runs the search, so the set and the hits come from one snapshot.
#ifndef ZEL_DB2_RID_SET_CACHE_H
#define ZEL_DB2_RID_SET_CACHE_H

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zel::db2 {

// The state of the store a set was taken from; equal states select the same rows.
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

class RidSetCache {
 public:
  // The set of the sub-query's rows in state, taken now if the kept one is of another state or
  // missing; null (reported) when the sub-query fails. Valid until the next call.
  const RidSet* Get(sqlite3* pDb, const std::string& subQuery, const StoreState& state);
  void Clear() { m_entries.clear(); }

 private:
  struct Entry {
    std::string subQuery;
    StoreState state;
    RidSet set;
  };
  static constexpr size_t kMaxEntries = 4;
  std::vector<Entry> m_entries;  // the most recently used last
};

}  // namespace zel::db2

#endif
