// A store written before the name order was the language's collation is brought to it at start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Tables/CtSvcDbTable.h"
#include "CtSvcTestEnv.h"
#include "ZelCollate.h"
#include "ZelCoreTest.h"
#include "ZelDb2.h"

namespace {

class CtSvcDbMgrNameOrder : public ctsvc_test::StoreTest {
 protected:
  static std::vector<std::string> Column(const char* pszSql) {
    std::vector<std::string> values;
    EXPECT_GE(Db2QueryEx("%s", pszSql), 0) << pszSql;
    while (Db2GetNextRow() > 0) {
      values.emplace_back(Db2GetColumn(0));
    }
    return values;
  }

  // Every table as an older store declared it: no collation on any column.
  static void CreateOlderTables() {
    for (int nType = 0; nType < CTSVC_DB_TABLE_MAX; ++nType) {
      auto pTable = CtSvcCreateDbTable(nType);
      std::string strSql = pTable->BuildCreateStatement();
      for (size_t n; (n = strSql.find(" COLLATE user1")) != std::string::npos;) {
        strSql.erase(n, 14);
      }
      ASSERT_GE(Db2QueryEx("%s", strSql.c_str()), 0) << strSql;
      for (int i = 0; i < pTable->GetIndexCount(); ++i) {
        ASSERT_GE(Db2QueryEx("CREATE INDEX %s on %s (%s)", pTable->GetIndexName(i), pTable->GetTableName(),
                             pTable->GetIndexColumns(i)),
                  0);
      }
    }
  }
};

TEST_F(CtSvcDbMgrNameOrder, AnOlderStoreGetsTheNameOrderAndItsLettersOnce) {
  CreateOlderTables();
  // Letters as the older code-unit rules made them: a symbol was its own letter.
  ASSERT_GE(Db2QueryEx("INSERT INTO CtSvcPrimary (ID, DEVICE_TYPE, FL_FULLNAME, FL_GROUP_LETTER, FL_LETTER, "
                       "LF_FULLNAME, LF_GROUP_LETTER, LF_LETTER, LINK_COUNT) VALUES "
                       "(1, 1, 'Zack', 'Z', 'ZA', 'Zack', 'Z', 'ZA', 1), (2, 1, 'bob', 'B', 'BO', 'bob', 'B', 'BO', 1), "
                       "(3, 1, '!bang', '!', '!B', '!bang', '!', '!B', 1), "
                       "(4, 1, '\xC3\x89mile', 'E', 'EM', '\xC3\x89mile', 'E', 'EM', 1)"),
            0);
  ASSERT_GE(Db2QueryEx("INSERT INTO CtSvcPerson (ID, DEVICE_TYPE, FL_FULLNAME, FL_GROUP_LETTER, FL_LETTER, "
                       "LF_FULLNAME, LF_GROUP_LETTER, LF_LETTER, PRIMARY_ID) VALUES "
                       "(1, 1, 'Zack', 'Z', 'ZA', 'Zack', 'Z', 'ZA', 1), (3, 1, '!bang', '!', '!B', '!bang', '!', '!B', 3)"),
            0);
  ASSERT_TRUE(Db2Commit());
  {
    zel::test::LogCapture capture;
    ASSERT_TRUE(CCtSvcDbMgr::Instance()->Initialize());
    EXPECT_TRUE(capture.Contains("CtSvcDeclareNameOrder - CtSvcPrimary now declares the name order"));
    EXPECT_TRUE(capture.Contains("CtSvcDeclareNameOrder - CtSvcPerson now declares the name order"));
    EXPECT_TRUE(capture.Contains("CtSvcRefreshNameLetters - 1 letters of CtSvcPrimary changed"));
  }
  for (const char* pszTable : {"CtSvcPerson", "CtSvcPrimary", "CtSvcContactDataTable", "CtSvcFdn"}) {
    const std::string strSql = std::string("SELECT sql FROM sqlite_master WHERE name = '") + pszTable + "'";
    EXPECT_NE(Column(strSql.c_str()).at(0).find(" COLLATE user1"), std::string::npos) << pszTable;
  }
  EXPECT_EQ(Column("PRAGMA integrity_check"), std::vector<std::string>{"ok"});
  // The name index walks in the name order now.
  EXPECT_EQ(Column("SELECT FL_FULLNAME FROM CtSvcPrimary INDEXED BY PRIMARY_IDX1 WHERE FL_FULLNAME > ''"),
            (std::vector<std::string>{"!bang", "bob", "\xC3\x89mile", "Zack"}));
  EXPECT_EQ(Column("SELECT FL_GROUP_LETTER || FL_LETTER || LF_GROUP_LETTER || LF_LETTER FROM CtSvcPrimary ORDER BY ID"),
            (std::vector<std::string>{"ZZAZZA", "BBOBBO", "##B##B", "EEMEEM"}));
  EXPECT_EQ(Column("SELECT FL_GROUP_LETTER FROM CtSvcPerson WHERE ID = 3"), std::vector<std::string>{"#"});
  char szVersion[128] = {};
  ASSERT_TRUE(Db2GetSchemaVer("CtSvc.letters", szVersion, sizeof(szVersion)));
  EXPECT_STREQ(szVersion, ZelCollateIdentity());

  // The next start finds nothing to do.
  CCtSvcDbMgr::DestroyInstance();
  zel::test::LogCapture capture;
  ASSERT_TRUE(CCtSvcDbMgr::Instance()->Initialize());
  EXPECT_FALSE(capture.Contains("now declares the name order"));
  EXPECT_FALSE(capture.Contains("CtSvcRefreshNameLetters"));
}

}  // namespace
