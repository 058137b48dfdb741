// lower(), DATE_FORMAT() and the user1 collation as registered on the connection.
#include <gtest/gtest.h>

#include "Db2/SqlFunctions.h"
#include "Db2TestSupport.h"

namespace {

using db2test::Column;
using db2test::Db2Test;
using db2test::Scalar;

class Db2SqlFunctions : public Db2Test {};

TEST_F(Db2SqlFunctions, LowerFoldsEveryScript) {
  // Full Unicode rules, including the final form of sigma.
  EXPECT_EQ(Scalar("SELECT lower('ÄÖÜ ΣΑΣ Привет KIM')"), "äöü σας привет kim");
  EXPECT_EQ(Scalar("SELECT LOWERCASE('ÉCOLE')"), "école");
  EXPECT_EQ(Scalar("SELECT lower(NULL) IS NULL"), "1");
  EXPECT_EQ(Scalar("SELECT lower(12)"), "12");
}

TEST_F(Db2SqlFunctions, DateFormatGivesMonthAndDay) {
  EXPECT_EQ(Scalar("SELECT DATE_FORMAT('1985-03-07 00:00:00', '%M-%D')"), "03-07");
  EXPECT_EQ(Scalar("SELECT DATE_FORMAT('1985-3-7 0:0:0', '%%%%M/%%D')"), "03/07");
  EXPECT_EQ(Scalar("SELECT DATE_FORMAT('2001-12-31 10:11:12', '%Y.%M.%D %x%')"), "2001.12.31 %x%");
  EXPECT_EQ(Scalar("SELECT DATE_FORMAT(NULL, '%M') IS NULL"), "1");
  EXPECT_EQ(Scalar("SELECT DATE_FORMAT('not a date', '%M') IS NULL"), "1");
}

TEST(Db2DateFormat, RunsOfPercentSignsAreOneDirective) {
  std::string out;
  ASSERT_TRUE(zel::db2::FormatDate("1899-12-31 00:00:00", "%%%%M-%%%%D", &out));
  EXPECT_EQ(out, "12-31");
  EXPECT_FALSE(zel::db2::FormatDate("1899/12/31", "%M", &out));
}

// The name order of the platform language: case and accents matter only between otherwise equal
// names, U+FFFF ("no name") comes after emoji. A column declaring the collation orders, compares
// and indexes by it; U+FFFF is bound as 16-bit text, the way names arrive.
TEST_F(Db2SqlFunctions, User1CollationIsTheNameOrder) {
  Exec("CREATE TABLE t (a NVARCHAR(0,2) COLLATE user1)");
  Exec("CREATE INDEX t_a ON t (a)");
  const std::u16string kValues[] = {u"\uFFFF", u"\U0001F600", u"bob", u"\uAC00", u"Zack", u"\u00C9mile", u"Bob", u"emile"};
  const int h = Db2StmtCreate("INSERT INTO t VALUES (?)");
  for (const std::u16string& value : kValues) {
    Db2StmtGetBindParamFields(h)[0] = {DB2_FIELD_TEXT16, const_cast<char16_t*>(value.c_str()),
                                       static_cast<INT32>(value.size() * 2)};
    ASSERT_EQ(Db2StmtExecute(h), 1);
  }
  Db2StmtDestroy(h);
  const std::vector<std::string> expected{"\xF0\x9F\x98\x80", "Bob", "bob", "emile", "\xC3\x89mile", "Zack",
                                          "\xEA\xB0\x80", "\xEF\xBF\xBF"};
  EXPECT_EQ(Column("SELECT a FROM t GROUP BY a collation user1 ORDER BY a COLLATE user1"), expected);
  EXPECT_EQ(Column("SELECT a FROM t ORDER BY a"), expected);  // the declared collation
  EXPECT_EQ(Column("SELECT a FROM t INDEXED BY t_a WHERE a > ''"), expected);
  EXPECT_EQ(Column("SELECT a FROM t WHERE a < 'c' ORDER BY a"), (std::vector<std::string>(expected.begin(), expected.begin() + 3)));
  EXPECT_EQ(Column("SELECT a FROM t WHERE a > n'' ORDER BY a").size(), 8u);
  EXPECT_EQ(Scalar("SELECT count(*) FROM t WHERE a = 'BOB'"), "0");  // equal only when the same text
}

}  // namespace
