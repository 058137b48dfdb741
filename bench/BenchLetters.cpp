// Fast-scroll data of the primary list on 100 000 contacts: the group letters with their counts and
// the position of a letter, against their grouped and counted statements in plain SQLite.
#include <string>

#include "BenchEnv.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"

namespace ctsvc_bench {

namespace {

constexpr int kContacts = 100000;
constexpr int kMaxLetters = 256;
const MCHAR kLetter[] = {u'K', 0};

CtSvcPrimaryFilter FirstLast() {
  CtSvcPrimaryFilter filter;
  CtSvcPrimaryFilterInit(&filter);
  filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  return filter;
}

void GroupLetters(benchmark::State& state) {
  ServiceSession session(ContactStoreDir(kContacts));
  const CtSvcPrimaryFilter filter = FirstLast();
  MCHAR aLetters[kMaxLetters];
  INT32 aCounts[kMaxLetters];
  for (auto _ : state) {
    if (CtSvcDbPrimaryGetGroupLetters(&filter, aLetters, aCounts, kMaxLetters) <= 0) {
      state.SkipWithError("no group letters");
      break;
    }
  }
}

void FastScroll(benchmark::State& state) {
  ServiceSession session(ContactStoreDir(kContacts));
  const CtSvcPrimaryFilter filter = FirstLast();
  for (auto _ : state) {
    if (CtSvcDbPrimaryGetFastScrollIndex(&filter, kLetter) <= 0) {
      state.SkipWithError("no position for the letter");
      break;
    }
  }
}

void Raw(benchmark::State& state, const std::string& strSql) {
  RawDb db(ContactStoreDir(kContacts) + "/ctsvc.db");
  RawStmt stmt(db, strSql);
  sqlite3_bind_text16(stmt.Get(), 1, kLetter, -1, SQLITE_STATIC);
  for (auto _ : state) {
    benchmark::DoNotOptimize(stmt.Drain());
  }
}

}  // namespace

void RegisterLetterBenchmarks() {
  const char kRawLetters[] = "letters_raw_group_by/100000";
  const char kRawScroll[] = "fastscroll_raw_count/100000";
  Register(kRawLetters, 1, "", {}, [](benchmark::State& s) {
    Raw(s, "SELECT FL_GROUP_LETTER, count(*) FROM CtSvcPrimary GROUP BY FL_GROUP_LETTER COLLATE user1 ORDER BY "
           "FL_GROUP_LETTER");
  });
  Register("letters_group/100000", 1, kRawLetters, {}, GroupLetters);
  Register(kRawScroll, 1, "", {},
           [](benchmark::State& s) { Raw(s, "SELECT count(*) FROM CtSvcPrimary WHERE FL_LETTER < ?"); });
  Register("fastscroll_position/100000", 1, kRawScroll, {}, FastScroll);
}

}  // namespace ctsvc_bench
