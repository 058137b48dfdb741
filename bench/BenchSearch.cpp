// Name search for a two-letter prefix: the basic search (one result, its count) and the extended
// search narrowed to phone contacts with a number or an e-mail, against the same FTS5 statements
// issued with plain SQLite.
#include <cstring>
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
// The matching rows joined to their primaries, in name order; the narrowed form keeps the hits the
// sub-query names.
const char kRawSearch[] =
    "SELECT c.ID FROM fts_ctprimarygroup_ctprimaryindex AS f JOIN CtSvcPrimary AS c ON c.rowid = f.rowid "
    "WHERE f.fts_ctprimarygroup_ctprimaryindex MATCH '\"an\"*'";
const char kRawRidCheck[] = " AND EXISTS (SELECT 1 FROM db2_rid_filter WHERE db2_rid_filter.v = c.rowid)";
const char kRawOrder[] = " ORDER BY c.FL_FULLNAME ASC, c.rowid";

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

void Extended(benchmark::State& state, int nContacts) {
  ServiceSession session(ContactStoreDir(nContacts));
  const CtSvcExtendedSearchRequest request = ExtendedRequest();
  for (auto _ : state) {
    const INT32 nResult = CtSvcExtendedSearchRequestSearch(0, &request);
    const bool bFound = nResult >= 0 && CtSvcExtendedSearchGetResultCount(nResult) > 0;
    CtSvcExtendedSearchDestroyResult(nResult);
    if (!bFound) {
      state.SkipWithError("the search found nothing");
      break;
    }
  }
}

void Raw(benchmark::State& state, int nContacts, bool bNarrowed) {
  RawDb db(ContactStoreDir(nContacts) + "/ctsvc.db");
  const std::string strSql = bNarrowed ? std::string(kRawRidFilter) + kRawSearch + kRawRidCheck + kRawOrder
                                       : std::string(kRawSearch) + kRawOrder;
  RawStmt stmt(db, strSql);
  for (auto _ : state) {
    benchmark::DoNotOptimize(stmt.Drain());
  }
}

}  // namespace

void RegisterSearchBenchmarks() {
  for (int n : {10000, 100000}) {
    const std::string strN = std::to_string(n);
    const std::string strRaw = "search_raw_fts5/" + strN;
    const std::string strRawNarrowed = "search_raw_fts5_narrowed/" + strN;
    const Target target = n == 100000 ? MaxSeconds(2e-3, "< 2 ms") : Target{};
    Register(strRaw, 1, "", {}, [n](benchmark::State& s) { Raw(s, n, false); });
    Register("search_basic/" + strN, 1, strRaw, target, [n](benchmark::State& s) { Basic(s, n); });
    Register(strRawNarrowed, 1, "", {}, [n](benchmark::State& s) { Raw(s, n, true); });
    Register("search_extended/" + strN, 1, strRawNarrowed, target, [n](benchmark::State& s) { Extended(s, n); });
  }
}

}  // namespace ctsvc_bench
