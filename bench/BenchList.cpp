// A primary list in first-last order over the phone's contacts: opening it (the first count loads
// the ordered ids) and reading 1 000 random positions with GetAt, against the ordered id select
// and "... ORDER BY FL_FULLNAME, DEVICE_TYPE, ID LIMIT 1 OFFSET n" with plain SQLite.
#include <random>
#include <string>

#include "BenchEnv.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "CtSvcFilter.h"
#include "CtSvcList.h"

namespace ctsvc_bench {

namespace {

constexpr int kReads = 1000;
const char kOrder[] = " FROM CtSvcPrimary ORDER BY FL_FULLNAME, DEVICE_TYPE, ID";

CtSvcPrimaryFilter PhoneList() {
  CtSvcPrimaryFilter filter;
  CtSvcPrimaryFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_PHONE;
  filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  return filter;
}

// An open primary list, destroyed with the object.
class PrimaryList {
 public:
  PrimaryList() : m_hList(CtSvcPrimaryListCreate(&kFilter, nullptr)) {}
  ~PrimaryList() { CtSvcPrimaryListDestroy(m_hList); }
  PrimaryList(const PrimaryList&) = delete;
  PrimaryList& operator=(const PrimaryList&) = delete;
  INT32 Handle() const { return m_hList; }
  INT32 Count() const { return CtSvcPrimaryListGetCount(m_hList); }

 private:
  static inline const CtSvcPrimaryFilter kFilter = PhoneList();
  INT32 m_hList;
};

void Open(benchmark::State& state, int nContacts) {
  ServiceSession session(ContactStoreDir(nContacts));
  for (auto _ : state) {
    PrimaryList list;
    if (list.Count() < nContacts) {
      state.SkipWithError("the list is shorter than the store");
      break;
    }
  }
}

void RawOpen(benchmark::State& state, int nContacts) {
  RawDb db(ContactStoreDir(nContacts) + "/ctsvc.db");
  RawStmt stmt(db, std::string("SELECT ID") + kOrder);
  for (auto _ : state) {
    benchmark::DoNotOptimize(stmt.Drain());
  }
}

void GetAt(benchmark::State& state, int nContacts) {
  ServiceSession session(ContactStoreDir(nContacts));
  PrimaryList list;
  const int nCount = list.Count();
  std::mt19937 rng(kSeed);
  std::uniform_int_distribution<int> position(0, nCount - 1);
  CtSvcPrimaryRecord record{};
  for (auto _ : state) {
    for (int i = 0; i < kReads; ++i) {
      if (!CtSvcPrimaryListGetAt(list.Handle(), position(rng), &record)) {
        state.SkipWithError("GetAt failed");
        break;
      }
    }
  }
}

void RawOffset(benchmark::State& state, int nContacts) {
  RawDb db(ContactStoreDir(nContacts) + "/ctsvc.db");
  RawStmt count(db, "SELECT count(*) FROM CtSvcPrimary");
  RawStmt stmt(db, std::string("SELECT *") + kOrder + " LIMIT 1 OFFSET ?");
  std::mt19937 rng(kSeed);
  std::uniform_int_distribution<int> position(0, count.Int() - 1);
  for (auto _ : state) {
    for (int i = 0; i < kReads; ++i) {
      sqlite3_bind_int(stmt.Get(), 1, position(rng));
      if (stmt.Drain() != 1) {
        state.SkipWithError("no row at the offset");
        break;
      }
    }
  }
}

}  // namespace

void RegisterListBenchmarks() {
  for (int n : {10000, 100000}) {
    const std::string strN = std::to_string(n);
    const std::string strRawOpen = "list_open_raw_id_select/" + strN;
    const std::string strRawRead = "list_read_raw_offset/" + strN;
    Register(strRawOpen, 1, "", {}, [n](benchmark::State& s) { RawOpen(s, n); });
    Register("list_open/" + strN, 1, strRawOpen, {}, [n](benchmark::State& s) { Open(s, n); });
    Register(strRawRead, kReads, "", {}, [n](benchmark::State& s) { RawOffset(s, n); })->Iterations(1);
    Register("list_getat_random/" + strN, kReads, strRawRead,
             n == 100000 ? MaxSeconds(20e-6, "< 20 us") : Target{},
             [n](benchmark::State& s) { GetAt(s, n); });
  }
}

}  // namespace ctsvc_bench
