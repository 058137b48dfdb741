// Prepared statements: binding every field type, result field types, NULLs, dates, re-execution,
// row access and invalid handles.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Db2TestSupport.h"
#include "ZelCoreTest.h"

namespace {

using db2test::Db2Test;
using db2test::Scalar;

std::u16string Text16(const Db2Field& f) {
  return f.pBuffer != nullptr ? std::u16string(static_cast<const char16_t*>(f.pBuffer), f.nLength / 2)
                              : std::u16string(u"<null>");
}

class Db2Statement : public Db2Test {
 protected:
  void SetUp() override {
    Db2Test::SetUp();
    Exec("CREATE TABLE p (ID INTEGER PRIMARY KEY, NAME NVARCHAR(25,102), BIRTHDAY DATETIME, N INTEGER) volume vol2");
  }
  // Inserts one row through a prepared statement with fields built by the caller.
  int Insert(int nId, const char16_t* pszName, const TmDateTime* pDate, INT64 n) {
    const int h = Db2StmtCreate("INSERT INTO p (ID, NAME, BIRTHDAY, N) VALUES (?, ?, ?, ?)");
    EXPECT_GE(h, 0);
    Db2Field* f = Db2StmtGetBindParamFields(h);
    f[0] = {DB2_FIELD_INT32, &nId, sizeof(nId)};
    f[1] = {DB2_FIELD_TEXT16, const_cast<char16_t*>(pszName),
            pszName != nullptr ? static_cast<INT32>(std::char_traits<char16_t>::length(pszName) * 2) : 0};
    f[2] = {DB2_FIELD_DATETIME, const_cast<TmDateTime*>(pDate), sizeof(TmDateTime)};
    f[3] = {DB2_FIELD_INT64, &n, sizeof(n)};
    const int nChanged = Db2StmtExecute(h);
    Db2StmtClearRow(h);
    Db2StmtDestroy(h);
    return nChanged;
  }
};

TEST_F(Db2Statement, ValuesRoundTripWithTheirTypes) {
  const TmDateTime birthday{1985, 3, 7, 0, 0, 0};
  const std::u16string name = u"김민지 \uFFFF";
  ASSERT_EQ(Insert(1, name.c_str(), &birthday, 5000000000LL), 1);
  ASSERT_EQ(Insert(2, nullptr, nullptr, 7), 1);

  const int h = Db2StmtCreate("SELECT ID, NAME, BIRTHDAY, N FROM p ISCAN P_IDX ORDER BY ID");
  ASSERT_GE(h, 0);
  EXPECT_EQ(Db2StmtGetBindResCount(h), 4);
  ASSERT_EQ(Db2StmtExecute(h), 2);
  Db2Field* r = Db2StmtGetBindResFields(h);
  ASSERT_GT(Db2StmtGetNextRow(h), 0);
  EXPECT_EQ(r[0].nType, DB2_FIELD_INT32);
  EXPECT_EQ(*static_cast<INT32*>(r[0].pBuffer), 1);
  EXPECT_EQ(r[1].nType, DB2_FIELD_TEXT16);
  EXPECT_EQ(Text16(r[1]), name);
  EXPECT_EQ(static_cast<const char16_t*>(r[1].pBuffer)[name.size()], u'\0');
  ASSERT_EQ(r[2].nType, DB2_FIELD_DATETIME);
  const TmDateTime* pDate = static_cast<TmDateTime*>(r[2].pBuffer);
  EXPECT_EQ(pDate->year * 10000 + pDate->month * 100 + pDate->day, 19850307);
  EXPECT_EQ(r[3].nType, DB2_FIELD_INT64);
  EXPECT_EQ(*static_cast<INT64*>(r[3].pBuffer), 5000000000LL);
  ASSERT_GT(Db2StmtGetNextRow(h), 0);
  EXPECT_EQ(r[1].pBuffer, nullptr);
  EXPECT_EQ(r[2].pBuffer, nullptr);
  EXPECT_EQ(Db2StmtGetNextRow(h), 0);
  Db2StmtClearRow(h);
  Db2StmtDestroy(h);
  // Dates are stored as zero-padded text, so they compare in date order.
  EXPECT_EQ(Scalar("SELECT BIRTHDAY FROM p WHERE ID = 1"), "1985-03-07 00:00:00");
}

TEST_F(Db2Statement, UnsetDateReadsAsADate) {
  Exec("INSERT INTO p (ID, BIRTHDAY) VALUES (1, 18991231000)");
  const int h = Db2StmtCreate("SELECT BIRTHDAY FROM p WHERE BIRTHDAY <> 18991231000 OR ID = 1");
  ASSERT_EQ(Db2StmtExecute(h), 1);
  ASSERT_GT(Db2StmtGetNextRow(h), 0);
  const Db2Field* r = Db2StmtGetBindResFields(h);
  ASSERT_EQ(r[0].nType, DB2_FIELD_DATETIME);
  const TmDateTime* pDate = static_cast<const TmDateTime*>(r[0].pBuffer);
  EXPECT_EQ(pDate->year * 10000 + pDate->month * 100 + pDate->day, 18991231);
  Db2StmtDestroy(h);
}

TEST_F(Db2Statement, ReExecutionBindsAfresh) {
  const int h = Db2StmtCreate("INSERT INTO p (ID, NAME) VALUES (?, ?)");
  ASSERT_GE(h, 0);
  EXPECT_EQ(Db2StmtGetBindParamCount(h), 2);
  Db2Field* f = Db2StmtGetBindParamFields(h);
  const char16_t* const kNames[] = {u"Ann", u"Bob", u"Cy"};
  for (int i = 0; i < 3; ++i) {
    f[0] = {DB2_FIELD_INT32, &i, sizeof(i)};
    f[1] = {DB2_FIELD_TEXT16, const_cast<char16_t*>(kNames[i]),
            static_cast<INT32>(std::char_traits<char16_t>::length(kNames[i]) * 2)};
    ASSERT_EQ(Db2StmtExecute(h), 1);
  }
  f[1] = {DB2_FIELD_TEXT16, nullptr, 0};  // a null buffer binds NULL
  const int nFour = 4;
  f[0] = {DB2_FIELD_INT32, const_cast<int*>(&nFour), sizeof(nFour)};
  ASSERT_EQ(Db2StmtExecute(h), 1);
  Db2StmtDestroy(h);
  EXPECT_EQ(Scalar("SELECT group_concat(coalesce(NAME, '-'), ',') FROM p"), "Ann,Bob,Cy,-");
}

TEST_F(Db2Statement, SeekPositionsTheNextFetch) {
  for (int i = 0; i < 10; ++i) {
    ASSERT_EQ(Db2QueryEx("INSERT INTO p (ID) VALUES (%d)", i * 10), 1);
  }
  const int h = Db2StmtCreate("SELECT ID FROM p ORDER BY ID LIMIT 2, 5");
  ASSERT_EQ(Db2StmtExecute(h), 5);
  const Db2Field* r = Db2StmtGetBindResFields(h);
  ASSERT_GT(Db2StmtSeekRow(h, 0, 3), 0);
  ASSERT_GT(Db2StmtGetNextRow(h), 0);
  EXPECT_EQ(*static_cast<INT32*>(r[0].pBuffer), 50);
  ASSERT_GT(Db2StmtSeekRow(h, 0, 0), 0);
  ASSERT_GT(Db2StmtGetNextRow(h), 0);
  EXPECT_EQ(*static_cast<INT32*>(r[0].pBuffer), 20);
  EXPECT_LT(Db2StmtSeekRow(h, 0, 5), 0);
  EXPECT_LT(Db2StmtSeekRow(h, 0, -1), 0);
  Db2StmtDestroy(h);
}

// An integer column handed over row by row: the rows in order, parameters bound as for an
// execution, and a value that is not a number fails the whole run.
TEST_F(Db2Statement, IntegerColumnsAreHandedOverRowByRow) {
  Exec("INSERT INTO p (ID, NAME, N) VALUES (3, 'c', 30), (1, 'a', 10), (2, 'b', NULL)");
  auto collect = [](void* p, INT32 n) { static_cast<std::vector<int>*>(p)->push_back(n); };
  std::vector<int> ids;
  int h = Db2StmtCreate("SELECT ID FROM p WHERE ID >= ? ORDER BY NAME DESC");
  INT32 nFrom = 2;
  Db2StmtGetBindParamFields(h)[0] = {DB2_FIELD_INT32, &nFrom, sizeof(nFrom)};
  EXPECT_EQ(2, Db2StmtExecuteInts(h, collect, &ids));
  EXPECT_EQ((std::vector<int>{3, 2}), ids);
  Db2StmtDestroy(h);
  h = Db2StmtCreate("SELECT N FROM p ORDER BY ID");
  zel::test::LogCapture log;
  EXPECT_EQ(-1, Db2StmtExecuteInts(h, collect, &ids));
  EXPECT_TRUE(log.Contains("Db2StmtExecuteInts - a row without a number"));
  Db2StmtDestroy(h);
  EXPECT_EQ(-1, Db2StmtExecuteInts(h, collect, &ids));  // destroyed handle
}

TEST_F(Db2Statement, FailuresAnswerCleanly) {
  zel::test::LogCapture log;
  EXPECT_EQ(Db2StmtCreate("SELEC nonsense"), -1);
  EXPECT_EQ(Db2StmtCreate("SELECT 1; SELECT 2"), -1);
  EXPECT_EQ(Db2StmtCreate("   "), -1);
  EXPECT_EQ(Db2StmtCreate(nullptr), -1);
  EXPECT_TRUE(log.HasAssertion("pszSql != NULL"));
  for (int hBad : {-1, 12345}) {
    EXPECT_EQ(Db2StmtExecute(hBad), -1);
    EXPECT_EQ(Db2StmtGetNextRow(hBad), -1);
    EXPECT_EQ(Db2StmtSeekRow(hBad, 0, 0), -1);
    EXPECT_EQ(Db2StmtGetBindParamFields(hBad), nullptr);
    EXPECT_EQ(Db2StmtGetBindResFields(hBad), nullptr);
    EXPECT_EQ(Db2StmtClearRow(hBad), -1);
    EXPECT_EQ(Db2StmtDestroy(hBad), -1);
  }
  const int h = Db2StmtCreate("INSERT INTO p (ID) VALUES (?)");
  Db2Field* f = Db2StmtGetBindParamFields(h);
  int nId = 1;
  f[0] = {DB2_FIELD_INT32, &nId, sizeof(nId)};
  EXPECT_EQ(Db2StmtExecute(h), 1);
  EXPECT_EQ(Db2StmtExecute(h), -1);  // duplicate key
  const int nBadType = 99;  // what a C caller might leave in the field
  std::memcpy(&f[0].nType, &nBadType, sizeof(nBadType));
  EXPECT_EQ(Db2StmtExecute(h), -1);
  EXPECT_EQ(Db2StmtDestroy(h), 1);
  EXPECT_EQ(Db2StmtDestroy(h), -1);  // twice
  EXPECT_TRUE(log.Contains("invalid statement handle"));
}

TEST_F(Db2Statement, HandlesDieWithTheirConnection) {
  const int h = Db2StmtCreate("SELECT ID FROM p");
  ASSERT_GE(h, 0);
  Db2Close();
  ASSERT_EQ(Db2Open(Path().c_str()), DB2_OK);
  EXPECT_EQ(Db2StmtExecute(h), -1);
}

}  // namespace
