// The dialect translator: one case per rewrite, texts inside literals stay as they are, and where a
// rewrite removes or changes a token right next to another, the neighbours never run together (two
// literals into one, a comment opening, a longer number) and a literal left open at the end takes
// nothing more (cases found by fuzz_dialect).
#include <gtest/gtest.h>

#include "Db2/Dialect.h"

namespace {

using zel::db2::DroppedTable;
using zel::db2::TranslateDialect;

struct Rewrite {
  const char* name;
  const char* dialect;
  const char* sqlite;
};

const Rewrite kRewrites[] = {
    {"volume", "CREATE TABLE T (  ID  INTEGER PRIMARY KEY,  A  NVARCHAR(25,102) ) volume vol2",
     "CREATE TABLE T (  ID  INTEGER PRIMARY KEY,  A  NVARCHAR(25,102) ) "},
    {"iscan between from and where", "SELECT ID FROM t ISCAN T_IDX1 WHERE A = 1", "SELECT ID FROM t  WHERE A = 1"},
    {"iscan at the end", "SELECT count(*) FROM t WHERE a = 1 ISCAN T_IDX2", "SELECT count(*) FROM t WHERE a = 1 "},
    {"iscan in lower case", "select a from t iscan idx where b = 2", "select a from t  where b = 2"},
    {"truncate", "TRUNCATE CtSvcPerson", "DELETE FROM CtSvcPerson"},
    {"truncate table", "truncate table t", "DELETE FROM  t"},
    {"drop index", "DROP INDEX PERSON_IDX1", "DROP INDEX IF EXISTS PERSON_IDX1"},
    {"drop index if exists kept", "DROP INDEX IF EXISTS X", "DROP INDEX IF EXISTS X"},
    {"national literal", "SELECT * FROM t WHERE (t.A > n'')", "SELECT * FROM t WHERE (t.A > '')"},
    {"national literal upper case", "WHERE a = N'x'", "WHERE a = 'x'"},
    {"identifier ending in n is not a prefix", "WHERE hasn='x' OR n = 1", "WHERE hasn='x' OR n = 1"},
    {"rid", "select rid from ctsvcperson where account_id < 1", "select rowid from ctsvcperson where account_id < 1"},
    {"table.rid", "select ctsvcprimary.rid from ctsvcprimary", "select ctsvcprimary.rowid from ctsvcprimary"},
    {"rid only as a whole word", "SELECT grid, rid_x, RID FROM t", "SELECT grid, rid_x, rowid FROM t"},
    {"lowercase function", "SELECT * FROM t WHERE LOWERCASE(a) = LOWERCASE('X')",
     "SELECT * FROM t WHERE lower(a) = lower('X')"},
    {"lowercase as update target",
     "UPDATE CtSvcEtcData SET LOWERCASE(ETC_DATA) = LOWERCASE('/new') WHERE LOWERCASE(ETC_DATA) = LOWERCASE('/old')",
     "UPDATE CtSvcEtcData SET ETC_DATA = lower('/new') WHERE lower(ETC_DATA) = lower('/old')"},
    {"collation", "SELECT X, count(*) FROM t GROUP BY X collation user1 order by X",
     "SELECT X, count(*) FROM t GROUP BY X COLLATE user1 order by X"},
    {"unset date literal", "WHERE t.BIRTHDAY <> 18991231000 and 1 = 1",
     "WHERE t.BIRTHDAY <> '1899-12-31 00:00:00' and 1 = 1"},
    {"other numbers stay", "WHERE a = 189912310001 OR b = 18991231", "WHERE a = 189912310001 OR b = 18991231"},
    {"unpadded date literal", "WHERE t.BIRTHDAY >= '2024-1-5 0:0:0'", "WHERE t.BIRTHDAY >= '2024-01-05 00:00:00'"},
    {"padded date literal stays", "WHERE d <= '2024-11-25 23:59:59'", "WHERE d <= '2024-11-25 23:59:59'"},
    {"like escape", "WHERE t.FL_FULLNAME like ? AND x = 1", "WHERE t.FL_FULLNAME like ? ESCAPE '\\' AND x = 1"},
    {"like with escape kept", "WHERE a LIKE ? ESCAPE '!'", "WHERE a LIKE ? ESCAPE '!'"},
    {"like with a literal is left alone", "WHERE a like 'x%'", "WHERE a like 'x%'"},
    {"hinted distinct gets its order",
     "SELECT DISTINCT fl_group_letter FROM ctsvcprimary WHERE fl_group_letter IS NOT NULL AND device_type = 1 "
     "ISCAN PRIMARY_GROUP_IDX1",
     "SELECT DISTINCT fl_group_letter FROM ctsvcprimary WHERE fl_group_letter IS NOT NULL AND device_type = 1 "
     "ORDER BY fl_group_letter "},
    {"hinted distinct order goes before limit", "SELECT DISTINCT t.a FROM t ISCAN I LIMIT 0, 5",
     "SELECT DISTINCT t.a FROM t  ORDER BY t.a LIMIT 0, 5"},
    {"hinted distinct with its own order",
     "SELECT distinct FL_GROUP_LETTER FROM ctsvcperson ISCAN PERSON_GROUP_IDX1 WHERE FL_GROUP_LETTER IS NOT NULL "
     "ORDER BY FL_GROUP_LETTER",
     "SELECT distinct FL_GROUP_LETTER FROM ctsvcperson  WHERE FL_GROUP_LETTER IS NOT NULL ORDER BY FL_GROUP_LETTER"},
    {"distinct without hint is not ordered", "SELECT DISTINCT a FROM t", "SELECT DISTINCT a FROM t"},
    {"hinted distinct of two columns is not ordered", "SELECT DISTINCT a, b FROM t ISCAN I",
     "SELECT DISTINCT a, b FROM t "},
    {"limit offset count is native", "SELECT * FROM t LIMIT 10, 20", "SELECT * FROM t LIMIT 10, 20"},
};

void PrintTo(const Rewrite& r, std::ostream* os) { *os << r.name; }

class DialectRewrite : public ::testing::TestWithParam<Rewrite> {};

TEST_P(DialectRewrite, TranslatesAsExpected) {
  EXPECT_EQ(TranslateDialect(GetParam().dialect), GetParam().sqlite);
}

INSTANTIATE_TEST_SUITE_P(Dialect, DialectRewrite, ::testing::ValuesIn(kRewrites),
                         [](const ::testing::TestParamInfo<Rewrite>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

// Words the translator rewrites, written inside literals and quoted names, must not change.
TEST(Dialect, LiteralsAreNeverChanged) {
  const char* const kTexts[] = {
      "INSERT INTO t VALUES ('Dan''s rid ISCAN idx volume vol2 n''x''')",
      "SELECT 'LOWERCASE(a) collation user1 18991231000 like ?' FROM \"rid\"",
      "UPDATE t SET a = 'TRUNCATE t' WHERE b = 'DROP INDEX x'",
      "SELECT 'it''s', `iscan` FROM t -- rid iscan x\n",
  };
  for (const char* psz : kTexts) {
    EXPECT_EQ(TranslateDialect(psz), psz);
  }
}

const Rewrite kAdjacent[] = {
    {"unset date next to a literal", "DELETE FROM t WHERE d <> 18991231000'2024-1-5 0:0:0'",
     "DELETE FROM t WHERE d <> '1899-12-31 00:00:00' '2024-01-05 00:00:00'"},
    {"like escape next to a literal", "SELECT * FROM t WHERE a like ?'x'", "SELECT * FROM t WHERE a like ? ESCAPE '\\' 'x'"},
    {"hint between literals", "SELECT 'a'ISCAN'b'", "SELECT 'a' 'b'"},
    {"national prefix between literals", "SELECT a FROM t WHERE x = n'a'n'b'", "SELECT a FROM t WHERE x = 'a' 'b'"},
    {"hint between minus signs", "SELECT 1 -ISCAN- 2", "SELECT 1 - - 2"},
    {"hint between slash and star", "SELECT x/ISCAN*y FROM t", "SELECT x/ *y FROM t"},
    {"order of a hinted distinct stays out of an open literal", "SELECT DISTINCT a FROM t ISCAN i WHERE b = 'x",
     "SELECT DISTINCT a FROM t  WHERE b = 'x"},
    {"untouched neighbours get no blank", "SELECT ?1a, 8\xc3\xa9, t.x FROM t", "SELECT ?1a, 8\xc3\xa9, t.x FROM t"},
    {"unterminated literal is left to the engine", "SELECT 'abc FROM t ISCAN x", "SELECT 'abc FROM t ISCAN x"},
    {"every statement of a text", "TRUNCATE a; DROP INDEX b;SELECT rid FROM c ISCAN d",
     "DELETE FROM a; DROP INDEX IF EXISTS b;SELECT rowid FROM c "},
};

TEST(Dialect, RewrittenNeighboursNeverRunTogetherAndOpenLiteralsTakeNothingMore) {
  for (const Rewrite& c : kAdjacent) {
    EXPECT_EQ(TranslateDialect(c.dialect), c.sqlite) << c.name;
  }
}

TEST(Dialect, DroppedTableIsRecognised) {
  EXPECT_EQ(DroppedTable("drop table CtSvcPerson"), "CtSvcPerson");
  EXPECT_EQ(DroppedTable("DROP TABLE IF EXISTS main.\"T x\""), "T x");
  EXPECT_EQ(DroppedTable("DROP INDEX t"), "");
  EXPECT_EQ(DroppedTable("SELECT 1"), "");
}

}  // namespace
