// Db2CheckTable and the schema versions.
#include <gtest/gtest.h>

#include "Db2TestSupport.h"
#include "ZelCoreTest.h"

namespace {

using db2test::Db2Test;

class Db2Schema : public Db2Test {};

TEST_F(Db2Schema, CheckTableIgnoresCase) {
  EXPECT_EQ(Db2CheckTable("CtSvcPerson"), 0);
  Exec("CREATE TABLE CtSvcPerson (ID INTEGER PRIMARY KEY) volume vol2");
  EXPECT_NE(Db2CheckTable("CtSvcPerson"), 0);
  EXPECT_NE(Db2CheckTable("ctsvcperson"), 0);
  EXPECT_EQ(Db2CheckTable("CtSvcPerson2"), 0);
  Exec("CREATE INDEX PERSON_IDX1 on CtSvcPerson (ID)");
  EXPECT_EQ(Db2CheckTable("PERSON_IDX1"), 0);  // an index is not a table
}

TEST_F(Db2Schema, VersionIsKeptPerModule) {
  char szVersion[32];
  EXPECT_FALSE(Db2GetSchemaVer("CtSvc", szVersion, sizeof(szVersion)));
  ASSERT_TRUE(Db2SetSchemaVer("CtSvc", "1.1.76.0.0"));
  ASSERT_TRUE(Db2SetSchemaVer("Other", "2"));
  ASSERT_TRUE(Db2Commit());
  Db2Close();
  ASSERT_EQ(Db2Open(Path().c_str()), DB2_OK);
  ASSERT_TRUE(Db2GetSchemaVer("CtSvc", szVersion, sizeof(szVersion)));
  EXPECT_STREQ(szVersion, "1.1.76.0.0");
  ASSERT_TRUE(Db2SetSchemaVer("CtSvc", "1.1.77.0.0"));
  ASSERT_TRUE(Db2GetSchemaVer("CtSvc", szVersion, sizeof(szVersion)));
  EXPECT_STREQ(szVersion, "1.1.77.0.0");
}

TEST_F(Db2Schema, BadArgumentsFail) {
  zel::test::LogCapture log;
  char szSmall[4];
  ASSERT_TRUE(Db2SetSchemaVer("CtSvc", "1.1.76.0.0"));
  EXPECT_FALSE(Db2GetSchemaVer("CtSvc", szSmall, sizeof(szSmall)));
  EXPECT_STREQ(szSmall, "");
  EXPECT_FALSE(Db2SetSchemaVer(nullptr, "1"));
  EXPECT_EQ(Db2CheckTable(nullptr), 0);
  EXPECT_TRUE(log.HasAssertion("pszModule != NULL"));
  EXPECT_TRUE(log.HasAssertion("pszTableName != NULL"));
}

}  // namespace
