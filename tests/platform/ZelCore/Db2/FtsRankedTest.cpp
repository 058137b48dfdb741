// Ranked full-text indexes: after random inserts, renames, moves between device types, deletes and
// the renumberings they force, made by this connection (committed, left open or rolled back) or by
// another one, every search returns what the earlier shape of index (MATCH joined to the table,
// sorted by the name collation) returns, in the same order; and the catalogue, dropping and the
// statement a search runs.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Db2/FtsTokenizer.h"
#include "Db2/SqlFunctions.h"
#include "FtsTestSupport.h"
#include "ZelCoreTest.h"

namespace {

using db2test::Db2Test;
using db2test::Scalar;
using db2test::SearchIds;
using db2test::SearchOptions;
using Ids = std::vector<int>;

constexpr char kCreatePeople[] =
    "CREATE TABLE People (ID INTEGER PRIMARY KEY, DEVICE_TYPE TINYINT, FL_FULLNAME TEXT COLLATE user1, "
    "LF_FULLNAME TEXT COLLATE user1, KIND INTEGER)";
constexpr char kRanked[] =
    "create fulltext index pg.ranked (simplex, exactspace, utf8) on people "
    "(fl_fullname order by fl_fullname, lf_fullname range device_type condition kind = 0)";
constexpr char kPlain[] =
    "create fulltext index pg.plain (simplex, exactspace, utf8) on people (fl_fullname condition kind = 0)";

// Words of generated names: case and accents the search folds, Hangul names a search may type
// without the blank, and words that share prefixes.
const char* const kWords[] = {"an",   "Ann",  "Ánna", "anders", "ANNE", "kim", "Kím",  "min",  "ji",   "o",
                              "오",   "하은", "하늘", "김",     "민지", "Zoë", "zoe",  "Øyvind", "oy", "b"};

class FtsRanked : public Db2Test {
 protected:
  void SetUp() override {
    Db2Test::SetUp();
    Exec(kCreatePeople);
    ASSERT_TRUE(Db2FTSDoSyntax(kRanked, 0));
    ASSERT_TRUE(Db2FTSDoSyntax(kPlain, 0));
  }

  std::string RandomName() {
    std::string name = kWords[m_random() % std::size(kWords)];
    for (unsigned n = m_random() % 3; n > 0; --n) {
      name += std::string(" ") + kWords[m_random() % std::size(kWords)];
    }
    return name;
  }
  static std::string Quote(const std::string& text) { return "'" + text + "'"; }
  static std::string UpsertSql(int nId, const std::string& fl, const std::string& lf, int nDevice, int nKind) {
    return "INSERT OR REPLACE INTO People (ID, DEVICE_TYPE, FL_FULLNAME, LF_FULLNAME, KIND) VALUES (" +
           std::to_string(nId) + ", " + std::to_string(nDevice) + ", " + Quote(fl) + ", " + Quote(lf) + ", " +
           std::to_string(nKind) + ")";
  }
  void Upsert(int nId, const std::string& fl, const std::string& lf, int nDevice, int nKind) {
    Exec(UpsertSql(nId, fl, lf, nDevice, nKind).c_str());
  }
  std::string InsertSql(int nId) {
    return UpsertSql(nId, RandomName(), RandomName(), 1 + static_cast<int>(m_random() % 3), KindOf());
  }
  void Insert(int nId) { Exec(InsertSql(nId).c_str()); }
  int KindOf() { return m_random() % 8 == 0 ? 1 : 0; }
  int RandomId() { return 1 + static_cast<int>(m_random() % static_cast<unsigned>(m_nNextId)); }

  // One random write: insert, rename, move to another device type, leave or enter the index's
  // condition, delete.
  std::string RandomWriteSql() {
    const std::string id = std::to_string(RandomId());
    switch (m_random() % 6) {
      case 0:
      case 1:
        return InsertSql(m_nNextId++);
      case 2:
        return "UPDATE People SET FL_FULLNAME = " + Quote(RandomName()) + " WHERE ID = " + id;
      case 3:
        return "UPDATE People SET LF_FULLNAME = " + Quote(RandomName()) + ", DEVICE_TYPE = " +
               std::to_string(1 + m_random() % 3) + " WHERE ID = " + id;
      case 4:
        return "UPDATE People SET KIND = " + std::to_string(KindOf()) + " WHERE ID = " + id;
      default:
        return "DELETE FROM People WHERE ID = " + id;
    }
  }
  void RandomWrite() { Exec(RandomWriteSql().c_str()); }

  // Random writes committed by another connection to the same file, as another process makes them.
  void RandomWritesOfAnotherConnection(int nWrites) {
    db2test::OtherConnection other(Path());
    ASSERT_TRUE(zel::db2::RegisterSqlFunctions(other.Get()) && zel::db2::RegisterFtsTokenizers(other.Get()));
    sqlite3_busy_timeout(other.Get(), 5000);
    std::string sql = "BEGIN;";
    for (int i = 0; i < nWrites; ++i) {
      sql += RandomWriteSql() + ";";
    }
    ASSERT_EQ(sqlite3_exec(other.Get(), (sql + "COMMIT").c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(other.Get());
  }

  // Every search of the text through the ranked index equals the plain index's, in both orders,
  // with and without a device range and a row-id sub-query; FALSE at the first difference.
  void ExpectSameAsPlain(const std::string& terms, const char* pszRidSub = "select rid from people where id % 3 = 0") {
    for (const char* pszSort : {"FL_FULLNAME", "LF_FULLNAME"}) {
      for (int nDevice : {0, 1, 2}) {
        for (const char* pszRid : {static_cast<const char*>(nullptr), pszRidSub}) {
          SearchOptions o;
          o.pszTable = "People";
          o.pszSort = pszSort;
          o.nDeviceType = nDevice;
          o.pszRidSub = pszRid;
          const Ids ranked = SearchIds("[pg, {ranked, " + terms + " }]", o);
          const Ids plain = SearchIds("[pg, {plain, " + terms + " }]", o);
          ASSERT_NE(plain, Ids{-1}) << terms;
          ASSERT_EQ(ranked.size(), plain.size()) << terms << " by " << pszSort << " device " << nDevice;
          for (size_t i = 0; i < ranked.size(); ++i) {
            ASSERT_EQ(ranked[i], plain[i]) << "at " << i << ": " << terms << " by " << pszSort << " device "
                                           << nDevice << (pszRid != nullptr ? " narrowed" : "") << ": "
                                           << NamesOf(ranked[i], plain[i]);
          }
        }
      }
    }
  }

  static std::string NamesOf(int nA, int nB) {
    return Scalar(("SELECT group_concat(ID || '=' || FL_FULLNAME || '/' || LF_FULLNAME || '/' || "
                   "(SELECT rank FROM fts_pg_ranked_fl_fullname_rank WHERE name = FL_FULLNAME), ', ') FROM People "
                   "WHERE ID IN (" + std::to_string(nA) + ", " + std::to_string(nB) + ")")
                      .c_str());
  }

  std::mt19937 m_random{18};
  int m_nNextId = 1;
};

// Narrowings: one SQLite answers per hit by a lookup, one it must scan for (a LIMIT keeps the hit's
// id out of the sub-query).
const char kLookupRid[] = "select rid from people where id % 3 = 0";
const char kScannedRid[] = "select rid from people where id % 3 = 0 order by fl_fullname limit 1000000";

// Prefixes of one and two letters, whole words, two words, Hangul typed without the blank and its
// initial consonants.
const char* const kQueries[] = {"'a*'",    "'an*'",        "'AN*'",  "'ann*'",  "'kim*'",  "'K*'",
                                "'o*'",    "'oy*'",        "'zo*'",  "'z*' and 'an*'",     "'k*' and 'a*'",
                                "'하*'",   "'오하은*'",    "'ㅎㅇ*'", "'김민*'",  "'b*'",    "'min*' and 'ji*'"};

TEST_F(FtsRanked, RandomWritesAndRenumberingsKeepEverySearchEqualToTheCollationOrder) {
  zel::test::LogCapture log;
  for (int i = 0; i < 300; ++i) {
    Insert(m_nNextId++);
  }
  // Rounds whose writes stay in this connection's open transaction (the narrowed searches ask
  // SQLite per hit in the statement), are committed (they keep the answers of their sub-query,
  // dropped after every write), come from another connection after this one searched, or are
  // rolled back. Odd rounds narrow by a sub-query SQLite cannot look one row up in, which is run
  // whole instead.
  for (int nRound = 0; nRound < 8; ++nRound) {
    const char* pszRid = nRound % 2 == 0 ? kLookupRid : kScannedRid;
    for (int i = 0; i < 150; ++i) {
      RandomWrite();
    }
    // Names that each sort just after the previous one take half of the gap left above them
    // until there is none: the index renumbers.
    std::string name = std::string("ann") + static_cast<char>('b' + nRound);
    for (int i = 0; i < 40; ++i) {
      name += "a";
      Upsert(m_nNextId++, name, name, 1 + i % 2, 0);
    }
    if (nRound % 4 != 0) {
      ASSERT_TRUE(Db2Commit());
      ASSERT_NO_FATAL_FAILURE(ExpectSameAsPlain("'an*'", pszRid));
    }
    if (nRound % 4 == 2) {
      ASSERT_NO_FATAL_FAILURE(RandomWritesOfAnotherConnection(60));
    } else if (nRound % 4 == 3) {
      const int nNextId = m_nNextId;
      for (int i = 0; i < 30; ++i) {
        RandomWrite();
      }
      ASSERT_NO_FATAL_FAILURE(ExpectSameAsPlain("'an*'", pszRid));
      ASSERT_TRUE(Db2Rollback());
      m_nNextId = nNextId;
    }
    for (const char* pszQuery : kQueries) {
      ASSERT_NO_FATAL_FAILURE(ExpectSameAsPlain(pszQuery, pszRid)) << "round " << nRound;
    }
    if (nRound % 4 != 0) {
      ASSERT_TRUE(Db2Commit());
    }
  }
  // The committed rounds answered hits from what they kept, asked again after each write; the
  // scanning sub-query was run whole in each of them.
  EXPECT_GE(log.Count("rows of the sub-query kept"), 3);
  EXPECT_GE(log.Count("- 0 hits asked of the store"), 20);
  EXPECT_GE(log.Count("hits asked of the store") - log.Count("- 0 hits asked of the store"), 6);
  for (const char* pszTable : {"fts_pg_ranked_fl_fullname", "fts_pg_ranked_lf_fullname"}) {
    Exec((std::string("INSERT INTO ") + pszTable + " (" + pszTable + ") VALUES ('integrity-check')").c_str());
  }
  EXPECT_GE(log.Count("fts_pg_ranked_fl_fullname renumbered"), 6);
  EXPECT_GE(log.Count("fts_pg_ranked_lf_fullname renumbered"), 6);
  // Sanity of the comparison itself: the searches found rows.
  SearchOptions o;
  o.pszTable = "People";
  EXPECT_GT(SearchIds("[pg, {ranked, 'an*' }]", o).size(), 100u);
}

// A narrowed search keeps the answers of its sub-query while the store stays as it was, and asks
// again after a write of another connection or of its own (committed or rolled back); inside an
// open transaction it asks SQLite per hit in its statement. Each time it finds what the store now
// holds.
TEST_F(FtsRanked, ANarrowedSearchKeepsTheSubQueryAnswersUntilTheStoreChanges) {
  Upsert(1, "Anna", "Anna", 1, 0);
  Upsert(2, "Anders", "Anders", 1, 0);
  ASSERT_TRUE(Db2Commit());
  zel::test::LogCapture log;
  SearchOptions o;
  o.pszTable = "People";
  o.pszRidSub = "select rid from people where device_type = 1";
  const std::string query = "[pg, {ranked, 'an*' }]";
  // "asked/kept" of the last narrowed search answered from outside the statement.
  auto last = [&log] {
    std::string text = "none";
    for (const auto& line : log.Lines()) {
      const size_t n = line.text.find(" - ");
      if (line.text.find("hits asked of the store") != std::string::npos && n != std::string::npos) {
        const size_t nAsked = std::stoul(line.text.substr(n + 3));
        const size_t nKept = std::stoul(line.text.substr(line.text.find(", ") + 2));
        text = std::to_string(nAsked) + "/" + std::to_string(nKept);
      }
    }
    log.Clear();
    return text;
  };
  EXPECT_EQ(SearchIds(query, o), (Ids{2, 1}));
  EXPECT_EQ(last(), "2/0");
  EXPECT_EQ(SearchIds(query, o), (Ids{2, 1}));
  EXPECT_EQ(last(), "0/2");
  {
    db2test::OtherConnection other(Path());
    ASSERT_TRUE(zel::db2::RegisterSqlFunctions(other.Get()) && zel::db2::RegisterFtsTokenizers(other.Get()));
    ASSERT_EQ(sqlite3_exec(other.Get(), "UPDATE People SET DEVICE_TYPE = 2 WHERE ID = 2", nullptr, nullptr, nullptr),
              SQLITE_OK);
  }
  EXPECT_EQ(SearchIds(query, o), (Ids{1}));
  EXPECT_EQ(last(), "2/0");
  Upsert(3, "Ann", "Ann", 1, 0);
  EXPECT_EQ(SearchIds(query, o), (Ids{3, 1})) << "an open transaction of this connection";
  EXPECT_EQ(last(), "none");
  ASSERT_TRUE(Db2Commit());
  EXPECT_EQ(SearchIds(query, o), (Ids{3, 1}));
  EXPECT_EQ(last(), "3/0");
  Upsert(4, "Annie", "Annie", 1, 0);
  ASSERT_TRUE(Db2Rollback());
  EXPECT_EQ(SearchIds(query, o), (Ids{3, 1}));
  EXPECT_EQ(last(), "3/0");
  o.pszRidSub = "select rid from nosuch";
  EXPECT_EQ(SearchIds(query, o), (Ids{-1}));
  Upsert(5, "Anton", "Anton", 1, 0);  // the failed search left no transaction of its own open
  ASSERT_TRUE(Db2Commit());
  o.pszRidSub = "select rid from people where device_type = 1";
  EXPECT_EQ(SearchIds(query, o), (Ids{3, 1, 5}));
  EXPECT_EQ(last(), "4/0");
  // A sub-query SQLite must scan for one hit is run whole at the first hit.
  o.pszRidSub = "select rid from people where device_type = 1 limit 100";
  EXPECT_EQ(SearchIds(query, o), (Ids{3, 1, 5}));
  EXPECT_TRUE(log.Contains("3 rows of the sub-query kept"));
  EXPECT_EQ(last(), "1/3");
}

// Sub-queries whose values are not plain row ids select what the comparison with the table's
// rowid selects: text that reads as a number is that number, a fraction or a word none. So do
// the checks in the statement inside an open transaction, per hit outside one, and against the
// whole set (the LIMIT variants).
TEST_F(FtsRanked, ASubQueryOfOtherValuesNarrowsAsTheComparisonWithTheRowIdDoes) {
  for (int i = 0; i < 40; ++i) {
    Insert(m_nNextId++);
  }
  Exec("INSERT INTO People (ID, DEVICE_TYPE, FL_FULLNAME, LF_FULLNAME, KIND) VALUES (100000, 1, 'ann', 'ann', 0)");
  ASSERT_TRUE(Db2Commit());
  for (bool bOpen : {false, true}) {
    if (bOpen) {
      Insert(m_nNextId++);
    }
    for (const char* pszRid : {
           "select '3' union all select ' 5 ' union all select '7.0' union all select 9.0 union all select 11.5",
           "select 'x' union all select null union all select x'00' union all select -1",
           "select 4294967297 union all select 2",           // a row id beyond 32 bits is not row 1
           "select rid from people where id % 2 = 0 union all select 100000",  // sparse ids: a sorted set
           "select rid from people where 0",
           "select * from (select '3' union all select ' 5 ' union all select 9.0 union all select 11.5) limit 9",
           "select rid from people where id % 2 = 0 union all select 100000 limit 1000",
         }) {
      ASSERT_NO_FATAL_FAILURE(ExpectSameAsPlain("'a*'", pszRid)) << pszRid << (bOpen ? " (open)" : "");
      ASSERT_NO_FATAL_FAILURE(ExpectSameAsPlain("'k*'", pszRid)) << pszRid << (bOpen ? " (open)" : "");
    }
  }
}

TEST_F(FtsRanked, TheSearchReadsTheIndexInOrderWithoutTheTableWhenItCan) {
  Upsert(1, "Anna Kim", "Kim Anna", 1, 0);
  Upsert(2, "Annie Ahn", "Ahn Annie", 2, 0);
  Upsert(3, "Anders", "Anders", 3, 0);
  Upsert(4, "annie", "annie", 1, 1);  // outside the index's condition
  SearchOptions o;
  o.pszTable = "People";
  EXPECT_EQ(SearchIds("[pg, {ranked, 'an*' }]", o), (Ids{3, 1, 2}));
  o.nDeviceType = 2;
  EXPECT_EQ(SearchIds("[pg, {ranked, 'an*' }]", o), (Ids{2}));
  o.nDeviceType = 3;  // a value the entries do not carry: answered through the table
  EXPECT_EQ(SearchIds("[pg, {ranked, 'an*' }]", o), (Ids{3}));
  o.nDeviceType = 0;
  o.pszSort = "LF_FULLNAME";
  EXPECT_EQ(SearchIds("[pg, {ranked, 'an*' }]", o), (Ids{2, 3, 1}));
  o.pszRidSub = "select rid from people where id >= 2";
  EXPECT_EQ(SearchIds("[pg, {ranked, 'an*' }]", o), (Ids{2, 3}));
  o.pszRidSub = nullptr;
  o.nAscending = 0;  // descending: through the table
  EXPECT_EQ(SearchIds("[pg, {ranked, 'an*' }]", o), (Ids{1, 3, 2}));
  o.nAscending = 1;
  o.pszSort = "DEVICE_TYPE";  // not an order of the index: through the table
  EXPECT_EQ(SearchIds("[pg, {ranked, 'an*' }]", o), (Ids{1, 2, 3}));
  EXPECT_EQ(Scalar("SELECT count(*) FROM fts_pg_ranked_fl_fullname_rank"), "3");
}

// An open that finds another name order or folding recorded renumbers every ranked index (its
// ranks follow the collation), and the searches still equal the plain index's.
TEST_F(FtsRanked, AnotherRecordedOrderOrFoldingRenumbersOnOpen) {
  for (int i = 0; i < 50; ++i) {
    Insert(m_nNextId++);
  }
  ASSERT_TRUE(Db2Commit());
  for (const char* pszModule : {"db2.collation.user1", "db2.tokenizer.simplex"}) {
    Exec((std::string("UPDATE sysschema_versions SET version = 'other' WHERE module = '") + pszModule + "'").c_str());
    Exec("UPDATE fts_pg_ranked_fl_fullname_rank SET rank = 1");  // ranks that no longer follow the order
    ASSERT_TRUE(Db2Commit());
    Db2Close();
    zel::test::LogCapture log;
    ASSERT_EQ(DB2_OK, Db2Open(Path().c_str()));
    EXPECT_EQ(1, log.Count("fts_pg_ranked_fl_fullname renumbered")) << pszModule;
    for (const char* pszQuery : {"'a*'", "'k*'", "'하*'"}) {
      ASSERT_NO_FATAL_FAILURE(ExpectSameAsPlain(pszQuery)) << pszModule;
    }
  }
}

TEST_F(FtsRanked, CatalogueAndDrop) {
  EXPECT_EQ(Scalar("SELECT group_concat(ordercol || ':' || rangecol, ' ') FROM sysirs_orders"),
            "fl_fullname:device_type lf_fullname:device_type");
  ASSERT_TRUE(Db2FTSDoSyntax("drop fulltext index pg.ranked", 0));
  EXPECT_EQ(Scalar("SELECT count(*) FROM sysirs_orders"), "0");
  EXPECT_EQ(Scalar("SELECT count(*) FROM sqlite_master WHERE name LIKE 'fts\\_pg\\_ranked%' ESCAPE '\\'"), "0");
  Upsert(1, "Ann", "Ann", 1, 0);  // no trigger of the dropped index is left to fail
  for (const char* pszBad : {
           "create fulltext index pg.r2 (simplex) on people (fl_fullname order by nosuch)",
           "create fulltext index pg.r2 (simplex) on people (fl_fullname order by fl_fullname range nosuch)",
           "create fulltext index pg.r2 (ngram) on people (fl_fullname order by fl_fullname)",
           "create fulltext index pg.r2 (simplex) on people (fl_fullname order fl_fullname)",
       }) {
    EXPECT_FALSE(Db2FTSDoSyntax(pszBad, 0)) << pszBad;
  }
  EXPECT_EQ(Scalar("SELECT count(*) FROM sysirs_indexes WHERE idxname = 'r2'"), "0");
}

}  // namespace
