#include <gtest/gtest.h>

#include <cstring>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Tables/CtSvcDbTable.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"
#include "ZelDb2.h"

namespace {

using ctsvc_test::StoreTest;

TEST(CtSvcDbTableDdl, DeleteAccountTextIsExact) {
  CCtSvcDeleteAccountTable table;
  EXPECT_EQ(
      "CREATE TABLE CtSvcDeleteAccount (  ID  INTEGER PRIMARY KEY,  DEVICE_TYPE  TINYINT default 0,  ACCOUNT_ID  "
      "INTEGER default 0) volume vol2",
      table.BuildCreateStatement());
}

TEST(CtSvcDbTableDdl, ColumnFormsByType) {
  CCtSvcPersonTable table;
  const std::string strSql = table.BuildCreateStatement();
  EXPECT_NE(std::string::npos, strSql.find("  FIRSTNAME  NVARCHAR(12,51), "));
  EXPECT_NE(std::string::npos, strSql.find("  BIRTHDAY  DATETIME default NULL, "));
  EXPECT_NE(std::string::npos, strSql.find("  UUID  NVARCHAR(25,256)) volume vol2"));
}

TEST(CtSvcDbTableDdl, TypeCodesAndAccessorBounds) {
  EXPECT_EQ(11, CtSvcGetColumnTypeCode("NVARCHAR"));
  EXPECT_EQ(2, CtSvcGetColumnTypeCode("tinyint"));
  EXPECT_EQ(10, CtSvcGetColumnTypeCode("DATETIME"));
  EXPECT_EQ(0, CtSvcGetColumnTypeCode("BLOB"));
  CCtSvcFdnTable table;
  zel::test::LogCapture capture;
  EXPECT_EQ(nullptr, table.GetColumnName(table.GetColumnCount()));
  EXPECT_EQ(-1, table.GetIndexKind(0));  // the FDN table has no index
  EXPECT_TRUE(capture.HasAssertion("nColumnIndex >= 0 && nColumnIndex < GetColumnCount()"));
  EXPECT_TRUE(capture.HasAssertion("nIndex >= 0 && nIndex < GetIndexCount()"));
}

class CtSvcDbTableStore : public StoreTest {};

TEST_F(CtSvcDbTableStore, EmptyStoreStartsEveryTableAtOne) {
  for (int nType = 0; nType < CTSVC_DB_TABLE_MAX; ++nType) {
    auto pTable = CtSvcCreateDbTable(nType);
    ASSERT_TRUE(pTable->CreateTable()) << nType;
    EXPECT_EQ(1, pTable->PeekNextRecordId()) << pTable->GetTableName();
    EXPECT_EQ(1, pTable->TakeNextRecordId());
    EXPECT_EQ(2, pTable->PeekNextRecordId());
  }
}

TEST_F(CtSvcDbTableStore, PersonIdsStillReferencedAreNotReused) {
  for (int nType = 0; nType < CTSVC_DB_TABLE_MAX; ++nType) {
    ASSERT_TRUE(CtSvcCreateDbTable(nType)->CreateTable());
  }
  ASSERT_GE(Db2QueryEx("INSERT INTO CtSvcPerson (ID) VALUES (10)"), 0);
  ASSERT_GE(Db2QueryEx("INSERT INTO CtSvcContactDataTable (ID, PERSON_ID) VALUES (1, 12)"), 0);
  ASSERT_GE(Db2QueryEx("INSERT INTO CtSvcGroupMember (ID, PRIMARY_ID) VALUES (1, 40)"), 0);
  Db2Commit();
  CCtSvcPersonTable person;
  ASSERT_TRUE(person.CreateTable());
  EXPECT_EQ(13, person.PeekNextRecordId());
  CCtSvcPrimaryTable primary;
  ASSERT_TRUE(primary.CreateTable());
  EXPECT_EQ(41, primary.PeekNextRecordId());
}

TEST_F(CtSvcDbTableStore, FailingIndexLeavesNoTable) {
  // An index of that name already exists elsewhere, so creating the table's index fails.
  ASSERT_GE(Db2QueryEx("CREATE TABLE Blocker (A INTEGER)"), 0);
  ASSERT_GE(Db2QueryEx("CREATE INDEX DELETEACCOUNT_IDX1 on Blocker (A)"), 0);
  zel::test::LogCapture capture;
  CCtSvcDeleteAccountTable table;
  EXPECT_FALSE(table.CreateTable());
  EXPECT_EQ(0, Db2CheckTable("CtSvcDeleteAccount"));
  EXPECT_TRUE(capture.Contains("CCtSvcDbTable::CreateTable - create index table failed(CREATE INDEX DELETEACCOUNT_IDX1"));
}

TEST_F(CtSvcDbTableStore, TruncateCountAndDestroy) {
  CCtSvcGroupTable table;
  ASSERT_TRUE(table.CreateTable());
  ASSERT_GE(Db2QueryEx("INSERT INTO CtSvcGroup (ID, NAME) VALUES (1, 'a'), (2, 'b')"), 0);
  EXPECT_EQ(2, table.GetTotalRecordCount());
  EXPECT_TRUE(table.TruncateTable());
  EXPECT_EQ(0, table.GetTotalRecordCount());
  EXPECT_TRUE(table.DestroyTable());
  EXPECT_FALSE(table.VerifyTable());
  zel::test::LogCapture capture;
  EXPECT_EQ(-1, table.GetTotalRecordCount());
  EXPECT_TRUE(capture.Contains("CCtSvcDbTable::GetTotalRecordCount : Get Content Count Failed\n"));
}

}  // namespace
