// Name search for a two-letter prefix: the basic search (one result, its count) and the extended
// search narrowed to phone contacts with a number or an e-mail, against the same FTS5 statements
// issued with plain SQLite; and the extended search right after another connection wrote, which
// asks the store about its hits afresh, against the plain statement after the same write.
#include <cstring>
#include <optional>
#include <string>

#include "BenchEnv.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "CtSvcSearch.h"

namespace ctsvc_bench {

namespace {

const char kPrefix[] = "an";
// The narrowing of the extended request: the search's row-id sub-query.
const char kRawRidFilter[] =
    "WITH db2_rid_filter(v) AS (SELECT rowid FROM CtSvcPrimary WHERE device_type = 1 and (HAS_PH = 1 OR HAS_EMAIL = "
    "1)) ";
// The search's own statement: the hits of the ranked index in its order (first name first), the
// primary's id taken from the entry's rowid; the narrowed form keeps the hits the sub-query names.
const char kRawSearch[] =
    "SELECT ((f.rowid >> 2) & 4294967295) FROM fts_ctprimarygroup_ctprimaryindex_fl_fullname AS f "
    "WHERE f.fts_ctprimarygroup_ctprimaryindex_fl_fullname MATCH '\"an\"*'";
const char kRawRidCheck[] =
    " AND (SELECT 1 FROM db2_rid_filter WHERE db2_rid_filter.v = ((f.rowid >> 2) & 4294967295) LIMIT 1) IS NOT NULL";
const char kRawOrder[] = " ORDER BY f.rowid";

// What another process commits before each after-write search: the store changed, its rows not.
const char kForeignWrite[] = "UPDATE CtSvcPrimary SET FAVORITE = FAVORITE WHERE ID = (SELECT min(ID) FROM CtSvcPrimary)";

CtSvcExtendedSearchRequest ExtendedRequest() {
  CtSvcExtendedSearchRequest request{};
  std::strncpy(request.szSearchText, kPrefix, sizeof(request.szSearchText) - 1);
  request.DevType = CTSVC_USE_TYPE_PHONE;
  request.nFilterFlag = CTSVC_SEARCH_FILTER_HAS_PHONENUMBER_OR_EMAIL;
  request.nAccountId = -1;
  return request;
}

void Basic(benchmark::State& state, int nContacts) {
  ServiceSession session(ContactStoreDir(nContacts));
  for (auto _ : state) {
    if (!CtSvcSearchRequestSearch(0, kPrefix, 0) || CtSvcSearchGetResultCount() <= 0) {
      state.SkipWithError("the search found nothing");
      break;
    }
  }
  CtSvcSearchDestroyResult();
}

// Extended searches of the store; with a writer, each one follows a commit of that other
// connection (not timed), so none reuses the narrowing's rows kept by the one before. Without,
// the first search (not timed) takes those rows, which the writer's variant measures.
void Extended(benchmark::State& state, int nContacts, bool bAfterWrite) {
  ServiceSession session(ContactStoreDir(nContacts));
  std::optional<RawDb> writer;
  const CtSvcExtendedSearchRequest request = ExtendedRequest();
  if (bAfterWrite) {
    writer.emplace(ContactStoreDir(nContacts) + "/ctsvc.db");
  } else {
    CtSvcExtendedSearchDestroyResult(CtSvcExtendedSearchRequestSearch(0, &request));
  }
  for (auto _ : state) {
    if (writer) {
      state.PauseTiming();
      writer->Exec(kForeignWrite);
      state.ResumeTiming();
    }
    const INT32 nResult = CtSvcExtendedSearchRequestSearch(0, &request);
    const bool bFound = nResult >= 0 && CtSvcExtendedSearchGetResultCount(nResult) > 0;
    CtSvcExtendedSearchDestroyResult(nResult);
    if (!bFound) {
      state.SkipWithError("the search found nothing");
      break;
    }
  }
}

// The search's statement with plain SQLite; with a writer, each run follows a commit of another
// connection, after which SQLite reads the store's pages afresh.
void Raw(benchmark::State& state, int nContacts, bool bNarrowed, bool bAfterWrite = false) {
  RawDb db(ContactStoreDir(nContacts) + "/ctsvc.db");
  std::optional<RawDb> writer;
  if (bAfterWrite) {
    writer.emplace(ContactStoreDir(nContacts) + "/ctsvc.db");
  }
  const std::string strSql = bNarrowed ? std::string(kRawRidFilter) + kRawSearch + kRawRidCheck + kRawOrder
                                       : std::string(kRawSearch) + kRawOrder;
  RawStmt stmt(db, strSql);
  for (auto _ : state) {
    if (writer) {
      state.PauseTiming();
      writer->Exec(kForeignWrite);
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(stmt.Drain());
  }
}

}  // namespace

void RegisterSearchBenchmarks() {
  for (int n : {10000, 100000}) {
    const std::string strN = std::to_string(n);
    const std::string strRaw = "search_raw_fts5/" + strN;
    const std::string strRawNarrowed = "search_raw_fts5_narrowed/" + strN;
    const Target basic = n == 100000 ? MaxSeconds(1e-3, "< 1 ms") : Target{};
    const Target extended = n == 100000 ? MaxSeconds(2e-3, "< 2 ms") : Target{};
    Register(strRaw, 1, "", {}, [n](benchmark::State& s) { Raw(s, n, false); });
    Register("search_basic/" + strN, 1, strRaw, basic, [n](benchmark::State& s) { Basic(s, n); });
    Register(strRawNarrowed, 1, "", {}, [n](benchmark::State& s) { Raw(s, n, true); });
    Register("search_extended/" + strN, 1, strRawNarrowed, extended,
             [n](benchmark::State& s) { Extended(s, n, false); });
    const std::string strRawAfterWrite = "search_raw_fts5_narrowed_after_write/" + strN;
    Register(strRawAfterWrite, 1, "", {}, [n](benchmark::State& s) { Raw(s, n, true, true); });
    Register("search_extended_after_write/" + strN, 1, strRawAfterWrite, {},
             [n](benchmark::State& s) { Extended(s, n, true); });
  }
}

}  // namespace ctsvc_bench
