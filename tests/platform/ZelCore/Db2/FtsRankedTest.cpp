// Ranked full-text indexes: after random inserts, renames, moves between device types, deletes and
// the renumberings they force, every search returns what the earlier shape of index (MATCH joined
// to the table, sorted by the name collation) returns, in the same order; and the catalogue,
// dropping and the statement a search runs.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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
  void Upsert(int nId, const std::string& fl, const std::string& lf, int nDevice, int nKind) {
    Exec(("INSERT OR REPLACE INTO People (ID, DEVICE_TYPE, FL_FULLNAME, LF_FULLNAME, KIND) VALUES (" +
          std::to_string(nId) + ", " + std::to_string(nDevice) + ", " + Quote(fl) + ", " + Quote(lf) + ", " +
          std::to_string(nKind) + ")")
             .c_str());
  }
  void Insert(int nId) { Upsert(nId, RandomName(), RandomName(), 1 + static_cast<int>(m_random() % 3), KindOf()); }
  int KindOf() { return m_random() % 8 == 0 ? 1 : 0; }
  int RandomId() { return 1 + static_cast<int>(m_random() % static_cast<unsigned>(m_nNextId)); }

  // One random write: insert, rename, move to another device type, leave or enter the index's
  // condition, delete.
  void RandomWrite() {
    const std::string id = std::to_string(RandomId());
    switch (m_random() % 6) {
      case 0:
      case 1:
        Insert(m_nNextId++);
        break;
      case 2:
        Exec(("UPDATE People SET FL_FULLNAME = " + Quote(RandomName()) + " WHERE ID = " + id).c_str());
        break;
      case 3:
        Exec(("UPDATE People SET LF_FULLNAME = " + Quote(RandomName()) + ", DEVICE_TYPE = " +
              std::to_string(1 + m_random() % 3) + " WHERE ID = " + id)
                 .c_str());
        break;
      case 4:
        Exec(("UPDATE People SET KIND = " + std::to_string(KindOf()) + " WHERE ID = " + id).c_str());
        break;
      default:
        Exec(("DELETE FROM People WHERE ID = " + id).c_str());
    }
  }

  // Every search of the text through the ranked index equals the plain index's, in both orders,
  // with and without a device range and a row-id sub-query; FALSE at the first difference.
  void ExpectSameAsPlain(const std::string& terms) {
    for (const char* pszSort : {"FL_FULLNAME", "LF_FULLNAME"}) {
      for (int nDevice : {0, 1, 2}) {
        for (const char* pszRid : {static_cast<const char*>(nullptr), "select rid from people where id % 3 = 0"}) {
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
  for (int nRound = 0; nRound < 6; ++nRound) {
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
    for (const char* pszQuery : kQueries) {
      ASSERT_NO_FATAL_FAILURE(ExpectSameAsPlain(pszQuery)) << "round " << nRound;
    }
  }
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
