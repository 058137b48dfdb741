#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcCFHandler.h"
#include "CtSvcDB/CfPlugin/CtSvcContentHandlerFactory.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"
#include "ZelDb2.h"

namespace {

using ctsvc_test::StoreTest;

class CountingObserver : public IContentObserver {
 public:
  void OnChange(int nChangeType, const std::string&, int nId, intptr_t, int nParam2) override {
    if (nChangeType == CONTENT_CHANGE_DELETE && nId > 0) {
      ++m_nDeletes;
      m_nBulkFlags += nParam2;
    }
  }
  std::atomic<int> m_nDeletes{0};
  std::atomic<int> m_nBulkFlags{0};
};

class CtSvcCFHandlerTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    ASSERT_TRUE(CCtSvcDbMgr::Instance()->Initialize());
  }

  std::vector<int> InsertRcsRows(int nCount) {
    CCtSvcDbTable* pTable = CCtSvcDbMgr::Instance()->GetDBTable(CTSVC_DB_TABLE_RCS);
    std::vector<int> vcIds;
    for (int i = 0; i < nCount; ++i) {
      CContentInput input;
      input.SetInt("ID", pTable->TakeNextRecordId());
      input.SetNString("SIP", u"sip:" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)));
      vcIds.push_back(CContentMgr::Instance()->Insert("CtSvc/Rcs", input));
    }
    return vcIds;
  }
};

TEST(CtSvcHandlerFactory, RoutesEveryUriToItsHandler) {
  struct Case {
    const char* szUri;
    const char* szClass;
  };
  const Case kCases[] = {{"CtSvc/GroupMember", "CCtSvcGroupMemberHandler"},
                         {"CtSvc/Group", "CCtSvcGroupHandler"},
                         {"CtSvc/Group/BulkOperation", "CCtSvcGroupHandler"},
                         {"CtSvc/PrimaryGroupMember", "CCtSvcPrimaryGroupMemberHandler"},
                         {"CtSvc/Primary", "CCtSvcPrimaryHandler"},
                         {"CtSvc/Email", "CCtSvcEmailHandler"},
                         {"CtSvc/DeleteAccount", "CCtSvcDeleteAccountHandler"}};
  CCtSvcContentHandlerFactory factory;
  for (const Case& c : kCases) {
    zel::test::LogCapture capture;
    EXPECT_NE(nullptr, factory.Create(c.szUri)) << c.szUri;
    EXPECT_TRUE(capture.Contains(std::string("CCtSvcContentHandlerFactory::Create - new ") + c.szClass + "\n"))
        << c.szUri;
  }
  zel::test::LogCapture capture;
  EXPECT_EQ(nullptr, factory.Create("CtSvc/Persons"));
  EXPECT_EQ(nullptr, factory.Create("Other/Person"));
  EXPECT_TRUE(capture.Contains("CCtSvcContentHandlerFactory::Create - unknown URI(CtSvc/Persons)\n"));
}

TEST(CtSvcHandlerStatements, JoinedHandlerNamesBothTablesAndPrefixesColumns) {
  CCtSvcPrimaryGroupMemberHandler handler("CtSvc/PrimaryGroupMember");
  EXPECT_EQ("CtSvcPrimary,CtSvcGroupMember", handler.GetTableName());
  EXPECT_EQ("CtSvcPrimary.ID", handler.GetIDColumnName());
  CContentFilter filter;
  filter.SetColumnNames({"ID", "FL_FULLNAME"});
  filter.SetWhere("CtSvcGroupMember.GROUP_ID = 3 and CtSvcGroupMember.PRIMARY_ID = CtSvcPrimary.ID");
  filter.SetOrderBy("FL_FULLNAME, DEVICE_TYPE,ID");
  filter.SetHint("PRIMARY_IDX1");
  handler.SetFilter(&filter);
  EXPECT_EQ(
      "SELECT CtSvcPrimary.ID, CtSvcPrimary.FL_FULLNAME FROM CtSvcPrimary,CtSvcGroupMember ISCAN PRIMARY_IDX1 WHERE "
      "CtSvcGroupMember.GROUP_ID = 3 and CtSvcGroupMember.PRIMARY_ID = CtSvcPrimary.ID ORDER BY "
      "CtSvcPrimary.FL_FULLNAME, CtSvcPrimary.DEVICE_TYPE, CtSvcPrimary.ID",
      handler.__CreateQuery(CTSVC_QUERY_SELECT, -1, nullptr));
  CContentInput input;
  EXPECT_FALSE(handler.Update(input, 3));
  EXPECT_FALSE(handler.Delete(3));
}

TEST(CtSvcHandlerStatements, WriteForms) {
  CCtSvcFdnHandler handler("CtSvc/Fdn");
  CContentInput input;
  input.SetInt("ID", 4);
  input.SetNString("NAME", u"x");
  EXPECT_EQ("INSERT INTO CtSvcFdn ( ID, NAME ) VALUES( ?, ? )", handler.__CreateQuery(CTSVC_QUERY_INSERT, -1, &input));
  EXPECT_EQ("UPDATE CtSvcFdn SET ID = ?, NAME = ? WHERE ID = 4", handler.__CreateQuery(CTSVC_QUERY_UPDATE, 4, &input));
  EXPECT_EQ("DELETE FROM CtSvcFdn WHERE ID = 9", handler.__CreateQuery(CTSVC_QUERY_DELETE, 9, nullptr));
  CContentInput noId;
  noId.SetNString("NAME", u"x");
  zel::test::LogCapture capture;
  EXPECT_EQ("", handler.__CreateQuery(CTSVC_QUERY_INSERT, -1, &noId));
  EXPECT_TRUE(capture.Contains("CCtSvcCFHandler::__CreateQuery: Insert Failed(No Primary Key)\n"));
}

TEST_F(CtSvcCFHandlerTest, BulkListDeleteGoesRowByRowAndPlainListIsCapped) {
  const std::vector<int> vcIds = InsertRcsRows(60);
  CountingObserver observer;
  ASSERT_TRUE(CContentMgr::Instance()->RegisterObserver("CtSvc/Rcs", &observer));
  {
    zel::test::LogCapture capture;
    EXPECT_FALSE(CContentMgr::Instance()->Delete("CtSvc/Rcs", vcIds));
    EXPECT_TRUE(capture.HasAssertion("vcIDs.size() < 50"));
    EXPECT_TRUE(capture.Contains("CCtSvcCFHandler::Delete: Records count should be under 50\n"));
  }
  EXPECT_EQ(60, CountFromSecondConnection("CtSvcRcs"));
  EXPECT_EQ(0, observer.m_nDeletes.load());

  EXPECT_TRUE(CContentMgr::Instance()->Delete("CtSvc/Rcs/BulkOperation", vcIds));
  EXPECT_EQ(60, observer.m_nDeletes.load());
  EXPECT_EQ(60, observer.m_nBulkFlags.load());
  // Every row was committed lightly on its own: another connection sees them gone.
  EXPECT_EQ(0, CountFromSecondConnection("CtSvcRcs"));
  CContentMgr::Instance()->UnregisterObserver("CtSvc/Rcs", &observer);
}

TEST_F(CtSvcCFHandlerTest, PlainListDeleteUnderFiftyIsOneStatement) {
  const std::vector<int> vcIds = InsertRcsRows(49);
  EXPECT_TRUE(CContentMgr::Instance()->Delete("CtSvc/Rcs", vcIds));
  EXPECT_EQ(0, CountFromSecondConnection("CtSvcRcs"));
}

TEST_F(CtSvcCFHandlerTest, BulkInsertStaysUncommittedUntilACommit) {
  CContentInput input;
  input.SetInt("ID", CCtSvcDbMgr::Instance()->GetDBTable(CTSVC_DB_TABLE_PERSON)->TakeNextRecordId());
  input.SetNString("FIRSTNAME", u"Bulk");
  ASSERT_GT(CContentMgr::Instance()->Insert("CtSvc/Person/BulkOperation", input), 0);
  EXPECT_EQ(0, CountFromSecondConnection("CtSvcPerson"));
  ASSERT_TRUE(Db2Commit());
  EXPECT_EQ(1, CountFromSecondConnection("CtSvcPerson"));
}

TEST_F(CtSvcCFHandlerTest, TextValuesAreStoredUnescaped) {
  CContentInput input;
  const int nId = CCtSvcDbMgr::Instance()->GetDBTable(CTSVC_DB_TABLE_FDN)->TakeNextRecordId();
  input.SetInt("ID", nId);
  input.SetNString("NAME", u"Dan''s 100%% \u00e9\u4e2d");
  ASSERT_EQ(nId, CContentMgr::Instance()->Insert("CtSvc/Fdn", input));
  CContent row;
  ASSERT_TRUE(CContentMgr::Instance()->GetContent("CtSvc/Fdn", nId, row));
  std::u16string strName;
  ASSERT_TRUE(row.GetString(CTSVC_DB_FDN_COLUMN_NAME, strName));
  EXPECT_EQ(u"Dan's 100% \u00e9\u4e2d", strName);
  EXPECT_TRUE(row.IsNull(CTSVC_DB_FDN_COLUMN_PHONENUMBER));
}

TEST_F(CtSvcCFHandlerTest, FailedInsertIsRolledBackAndReported) {
  const std::vector<int> vcIds = InsertRcsRows(1);
  CContentInput duplicate;
  duplicate.SetInt("ID", vcIds[0]);
  zel::test::LogCapture capture;
  EXPECT_EQ(-1, CContentMgr::Instance()->Insert("CtSvc/Rcs", duplicate));
  EXPECT_TRUE(capture.Contains("CCtSvcCFHandler::Insert:  SEARCH FAIL \n"));
  EXPECT_EQ(1, CountFromSecondConnection("CtSvcRcs"));
}

TEST_F(CtSvcCFHandlerTest, FilteredDeleteOfNothingSucceedsAndUnknownUriFails) {
  CContentFilter filter;
  filter.SetWhere("ID = 12345");
  EXPECT_TRUE(CContentMgr::Instance()->Delete("CtSvc/Rcs", &filter));
  CContentInput input;
  input.SetInt("ID", 1);
  EXPECT_EQ(-1, CContentMgr::Instance()->Insert("CtSvc/Nothing", input));
  CContent row;
  EXPECT_FALSE(CContentMgr::Instance()->GetContent("CtSvc/Nothing", 1, row));
}

}  // namespace
