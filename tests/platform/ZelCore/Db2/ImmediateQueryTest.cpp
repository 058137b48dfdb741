// Db2QueryEx, Db2GetNextRow and Db2GetColumn.
#include <gtest/gtest.h>

#include <string>

#include "Db2TestSupport.h"
#include "ZelCoreTest.h"

namespace {

using db2test::Db2Test;
using db2test::FetchRows;
using db2test::Scalar;

class Db2ImmediateQuery : public Db2Test {
 protected:
  void SetUp() override {
    Db2Test::SetUp();
    Exec("CREATE TABLE t (ID INTEGER PRIMARY KEY, NAME NVARCHAR(25,102))");
  }
};

TEST_F(Db2ImmediateQuery, ResultIsRowCountOrChangedRowsAndEveryStatementOfTheTextRuns) {
  EXPECT_EQ(Db2QueryEx("INSERT INTO t VALUES (%d, '%s'), (%d, '%s')", 1, "Ann", 2, "Bob"), 2);
  EXPECT_EQ(Db2QueryEx("UPDATE t SET NAME = 'x' WHERE ID > %d", 5), 0);
  EXPECT_EQ(Db2QueryEx("SELECT ID, NAME FROM t ORDER BY ID"), 2);
  EXPECT_EQ(FetchRows(2), (std::vector<std::vector<std::string>>{{"1", "Ann"}, {"2", "Bob"}}));
  EXPECT_EQ(Db2GetNextRow(), 0);
  EXPECT_EQ(Db2QueryEx("DELETE FROM t"), 2);
  EXPECT_EQ(Db2QueryEx("INSERT INTO t VALUES (1, 'a'); INSERT INTO t VALUES (2, 'b'); SELECT count(*) FROM t"), 1);
  EXPECT_STREQ(Db2GetColumn(0), "2");
  const std::string longName(5000, 'n');  // texts of any length
  EXPECT_EQ(Db2QueryEx("INSERT INTO t VALUES (3, '%s')", longName.c_str()), 1);
  EXPECT_EQ(Scalar("SELECT length(NAME) FROM t WHERE ID = 3"), "5000");
}

TEST_F(Db2ImmediateQuery, ColumnBeforeTheFirstFetchBadIndexesAndTheMaxOfAnEmptyTable) {
  ASSERT_EQ(Db2QueryEx("SELECT MAX(%s) FROM %s", "ID", "t"), 1);  // one row holding NULL
  ASSERT_GT(Db2GetNextRow(), 0);
  EXPECT_STREQ(Db2GetColumn(0), "");
  Exec("INSERT INTO t VALUES (3, 'Cy')");
  ASSERT_EQ(Db2QueryEx("SELECT NAME FROM t"), 1);
  EXPECT_STREQ(Db2GetColumn(0), "Cy");
  EXPECT_STREQ(Db2GetColumn(1), "");
  EXPECT_STREQ(Db2GetColumn(-1), "");
  ASSERT_EQ(Db2QueryEx("DELETE FROM t"), 1);
  EXPECT_STREQ(Db2GetColumn(0), "");  // a write leaves no rows
  EXPECT_EQ(Db2GetNextRow(), 0);
}

TEST_F(Db2ImmediateQuery, FailuresAreNegativeAndLogged) {
  zel::test::LogCapture log;
  EXPECT_LT(Db2QueryEx("SELECT nothing FROM nowhere"), 0);
  EXPECT_TRUE(log.Contains("nowhere"));
  EXPECT_STRNE(Db2GetLastError(), "");
  EXPECT_LT(Db2QueryEx("%s", ""), 0);
  EXPECT_LT(Db2QueryEx(nullptr), 0);
  EXPECT_TRUE(log.HasAssertion("pszFormat != NULL"));
}

}  // namespace
