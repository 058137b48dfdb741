// The content handlers: which handler a URI gets, the statements they build, and the commit and
// list rules of plain and ".../BulkOperation" URIs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcCFHandler.h"
#include "CtSvcDB/CfPlugin/CtSvcContentHandlerFactory.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"
#include "ZelDb2.h"

namespace {

using ctsvc_test::Row;

class CtSvcCFHandlerTest : public ctsvc_test::SchemaTest {
 protected:
  static std::vector<int> InsertRcsRows(int nCount) {
    std::vector<int> vcIds;
    for (int i = 0; i < nCount; ++i) {
      vcIds.push_back(Row(CTSVC_DB_TABLE_RCS).Text(CTSVC_DB_RCS_COLUMN_SIP, u"sip:a").Insert("CtSvc/Rcs"));
    }
    return vcIds;
  }
};

// A URI that starts like another (GroupMember, Group) still gets its own handler.
TEST(CtSvcHandlerFactory, RoutesEveryUriToItsHandler) {
  const char* const kCases[][2] = {{"CtSvc/GroupMember", "CCtSvcGroupMemberHandler"},
                                   {"CtSvc/Group/BulkOperation", "CCtSvcGroupHandler"},
                                   {"CtSvc/PrimaryGroupMember", "CCtSvcPrimaryGroupMemberHandler"},
                                   {"CtSvc/Primary", "CCtSvcPrimaryHandler"},
                                   {"CtSvc/Email", "CCtSvcEmailHandler"}};
  CCtSvcContentHandlerFactory factory;
  for (const auto& c : kCases) {
    zel::test::LogCapture capture;
    EXPECT_NE(nullptr, factory.Create(c[0])) << c[0];
    EXPECT_TRUE(capture.Contains(std::string("CCtSvcContentHandlerFactory::Create - new ") + c[1] + "\n")) << c[0];
  }
  EXPECT_EQ(nullptr, factory.Create("CtSvc/Persons"));
  EXPECT_EQ(nullptr, factory.Create("Other/Person"));
}

// The joined handler (its rows are read through the primary lists of a group) never writes; an
// insert without the id column is not built.
TEST(CtSvcHandlerStatements, JoinedHandlerRefusesWritesAndInsertsNeedTheId) {
  CCtSvcPrimaryGroupMemberHandler joined("CtSvc/PrimaryGroupMember");
  EXPECT_EQ("CtSvcPrimary.ID", joined.GetIDColumnName());
  CContentInput input;
  EXPECT_FALSE(joined.Update(input, 3));
  EXPECT_FALSE(joined.Delete(3));
  CCtSvcFdnHandler handler("CtSvc/Fdn");
  input.SetNString("NAME", u"x");
  EXPECT_EQ("", handler.__CreateQuery(CTSVC_QUERY_INSERT, -1, &input));
}

// What a list over a URI and a where text reads: its own rows (marked), every table the text
// names as a whole word, never a sibling URI of its own table nor the two-table URI.
TEST_F(CtSvcCFHandlerTest, ListSourcesAreTheTablesTheListReads) {
  using Sources = std::vector<std::pair<std::string, bool>>;
  const struct {
    const char* szUri;
    const char* szWhere;
    Sources expected;
  } kCases[] = {
      {"CtSvc/Person", "", {{"CtSvc/Person", true}}},
      {"CtSvc/Person", "CtSvcPerson.ID IN ( select ctsvcgroupmember.PERSON_ID from CtSvcGroupMember where x = 1 )",
       {{"CtSvc/Person", true}, {"CtSvc/GroupMember", false}}},
      {"CtSvc/Email", "CtSvcContactDataTable.TYPE = 2", {{"CtSvc/Email", true}}},
      {"CtSvc/GroupMember", "CtSvcGroupMember.GROUP_ID = 3", {{"CtSvc/GroupMember", true}}},
      {"CtSvc/Group", "CtSvcGroup.ID IN ( select CtSvcGroupMember.GROUP_ID from CtSvcGroupMember )",
       {{"CtSvc/Group", true}, {"CtSvc/GroupMember", false}}},
      {"CtSvc/PrimaryGroupMember", "CtSvcPrimary.ID = CtSvcGroupMember.PRIMARY_ID",
       {{"CtSvc/GroupMember", false}, {"CtSvc/Primary", true}}},
      {"CtSvc/Unknown", "CtSvcPerson.ID = 1", {}},
  };
  for (const auto& c : kCases) {
    Sources actual;
    for (const CtSvcListSource& source : CCtSvcContentHandlerFactory::FindListSources(c.szUri, c.szWhere)) {
      actual.emplace_back(source.strUri, source.bRowTable);
    }
    EXPECT_EQ(c.expected, actual) << c.szUri << " " << c.szWhere;
  }
}

// A plain list delete takes fewer than 50 ids in one statement; the bulk URI takes any number,
// row by row, each noticed with the bulk flag and committed lightly on its own.
TEST_F(CtSvcCFHandlerTest, BulkListDeleteGoesRowByRowAndPlainListIsCapped) {
  const std::vector<int> vcIds = InsertRcsRows(60);
  ctsvc_test::NoticeRecorder recorder("CtSvc/Rcs");
  {
    zel::test::LogCapture capture;
    EXPECT_FALSE(CContentMgr::Instance()->Delete("CtSvc/Rcs", vcIds));
    EXPECT_TRUE(capture.HasAssertion("vcIDs.size() < 50"));
  }
  EXPECT_EQ(60, CountFromSecondConnection("CtSvcRcs"));
  EXPECT_TRUE(recorder.m_vcNotices.empty());

  EXPECT_TRUE(CContentMgr::Instance()->Delete("CtSvc/Rcs/BulkOperation", vcIds));
  EXPECT_EQ(60u, recorder.m_vcNotices.size());
  EXPECT_EQ(60, recorder.m_nFlagged);
  EXPECT_EQ(0, CountFromSecondConnection("CtSvcRcs"));

  EXPECT_TRUE(CContentMgr::Instance()->Delete("CtSvc/Rcs", InsertRcsRows(49)));
  EXPECT_EQ(0, CountFromSecondConnection("CtSvcRcs"));
}

TEST_F(CtSvcCFHandlerTest, BulkInsertStaysUncommittedUntilACommit) {
  ASSERT_GT(Row(CTSVC_DB_TABLE_PERSON).Text(CTSVC_DB_PERSON_COLUMN_FIRSTNAME, u"Bulk").Insert("CtSvc/Person/BulkOperation"), 0);
  EXPECT_EQ(0, CountFromSecondConnection("CtSvcPerson"));
  ASSERT_TRUE(Db2Commit());
  EXPECT_EQ(1, CountFromSecondConnection("CtSvcPerson"));
}

TEST_F(CtSvcCFHandlerTest, TextValuesAreStoredUnescaped) {
  const int nId = Row(CTSVC_DB_TABLE_FDN).Text(CTSVC_DB_FDN_COLUMN_NAME, u"Dan''s 100%% \u00e9\u4e2d").Insert("CtSvc/Fdn");
  ASSERT_GT(nId, 0);
  CContent row;
  ASSERT_TRUE(CContentMgr::Instance()->GetContent("CtSvc/Fdn", nId, row));
  std::u16string strName;
  ASSERT_TRUE(row.GetString(CTSVC_DB_FDN_COLUMN_NAME, strName));
  EXPECT_EQ(u"Dan's 100% \u00e9\u4e2d", strName);
  EXPECT_TRUE(row.IsNull(CTSVC_DB_FDN_COLUMN_PHONENUMBER));
}

TEST_F(CtSvcCFHandlerTest, FailedInsertIsRolledBack) {
  const std::vector<int> vcIds = InsertRcsRows(1);
  CContentInput duplicate;
  duplicate.SetInt("ID", vcIds[0]);
  EXPECT_EQ(-1, CContentMgr::Instance()->Insert("CtSvc/Rcs", duplicate));
  EXPECT_EQ(1, CountFromSecondConnection("CtSvcRcs"));
}

}  // namespace
