// Db2FTSDoSyntax: index creation over existing rows, upkeep by the triggers under the row
// condition, the catalogue, and dropping by group or with the content table.
#include <gtest/gtest.h>

#include "FtsTestSupport.h"
#include "ZelCoreTest.h"

namespace {

using db2test::Db2Test;
using db2test::kCreateContactData;
using db2test::kEmailIndex;
using db2test::kNameIndex;
using db2test::kPhoneIndex;
using db2test::Prefix;
using db2test::Scalar;
using db2test::SearchIds;

class FtsIndex : public Db2Test {
 protected:
  void SetUp() override {
    Db2Test::SetUp();
    Exec(kCreateContactData);
    Exec("INSERT INTO CtSvcContactDataTable (ID, PERSON_ID, FL_FULLNAME, TYPE, CONTACT_DATA) VALUES "
         "(1, 1, 'Kim Min-ji', 1, '010-1234-5678'), (2, 1, 'Kim Min-ji', 2, 'minji@example.com'), "
         "(3, 2, 'Ann Kidd', 1, '+82 10 9876 5432')");
  }
  void CreateAll() {
    for (const char* psz : {kPhoneIndex, kEmailIndex, kNameIndex}) {
      ASSERT_TRUE(Db2FTSDoSyntax(psz, 0)) << psz;
    }
  }
  std::string FtsObjects() { return Scalar("SELECT count(*) FROM sqlite_master WHERE name LIKE 'fts\\_%' ESCAPE '\\'"); }
};

TEST_F(FtsIndex, ExistingRowsMeetingTheConditionAreIndexed) {
  CreateAll();
  EXPECT_EQ(Scalar("SELECT group_concat(groupname || '.' || idxname, ' ') FROM "
                   "(SELECT * FROM sysirs_indexes ORDER BY idxname)"),
            "msgplcontact.email msgplcontact.name msgplcontact.phonenumber");
  EXPECT_EQ(SearchIds(Prefix("phonenumber", "1234")), std::vector<int>{1});
  EXPECT_EQ(SearchIds(Prefix("email", "minji")), std::vector<int>{2});
  EXPECT_EQ(SearchIds(Prefix("phonenumber", "minji")), std::vector<int>{});  // an e-mail row
  EXPECT_EQ(SearchIds(Prefix("name", "kim")), (std::vector<int>{1, 2}));
}

TEST_F(FtsIndex, TriggersFollowInsertsUpdatesAndDeletes) {
  CreateAll();
  Exec("INSERT INTO CtSvcContactDataTable (ID, FL_FULLNAME, TYPE, CONTACT_DATA) VALUES (4, 'Bob', 1, '555-0001')");
  EXPECT_EQ(SearchIds(Prefix("phonenumber", "0001")), std::vector<int>{4});
  Exec("UPDATE CtSvcContactDataTable SET CONTACT_DATA = '555-7777' WHERE ID = 4");
  EXPECT_EQ(SearchIds(Prefix("phonenumber", "0001")), std::vector<int>{});
  EXPECT_EQ(SearchIds(Prefix("phonenumber", "7777")), std::vector<int>{4});
  // The row leaves the phone index and enters the e-mail index when its type changes.
  Exec("UPDATE CtSvcContactDataTable SET TYPE = 2, CONTACT_DATA = 'bob@example.com' WHERE ID = 4");
  EXPECT_EQ(SearchIds(Prefix("phonenumber", "7777")), std::vector<int>{});
  EXPECT_EQ(SearchIds(Prefix("email", "bob")), std::vector<int>{4});
  Exec("UPDATE CtSvcContactDataTable SET FL_FULLNAME = 'Robert' WHERE ID = 4");
  EXPECT_EQ(SearchIds(Prefix("name", "bob")), std::vector<int>{});
  EXPECT_EQ(SearchIds(Prefix("name", "rob")), std::vector<int>{4});
  Exec("UPDATE CtSvcContactDataTable SET PERSON_ID = 9 WHERE ID = 4");  // no indexed column
  EXPECT_EQ(SearchIds(Prefix("email", "bob")), std::vector<int>{4});
  Exec("DELETE FROM CtSvcContactDataTable WHERE ID = 4");
  EXPECT_EQ(SearchIds(Prefix("email", "bob")), std::vector<int>{});
  EXPECT_EQ(SearchIds(Prefix("name", "rob")), std::vector<int>{});
  Exec("TRUNCATE CtSvcContactDataTable");
  EXPECT_EQ(SearchIds("[msgplcontact, {name, '*' }]"), std::vector<int>{});
}

TEST_F(FtsIndex, ConditionWithParentheses) {
  ASSERT_TRUE(Db2FTSDoSyntax("create fulltext index g.data (simplex) on ctsvccontactdatatable (contact_data condition "
                             "(type = 2 or (type = 3 and person_id = 1)))",
                             0));
  Exec("INSERT INTO CtSvcContactDataTable (ID, PERSON_ID, TYPE, CONTACT_DATA) VALUES (7, 1, 3, 'x7'), (8, 2, 3, 'x8')");
  EXPECT_EQ(SearchIds("[g, {data, 'x*' }]"), std::vector<int>{7});
  EXPECT_EQ(SearchIds("[g, {data, 'minji*' }]"), std::vector<int>{2});
}

TEST_F(FtsIndex, DropGroupRemovesEverything) {
  CreateAll();
  ASSERT_TRUE(Db2FTSDoSyntax("DROP FULLTEXT INDEX msgplcontact", 0));
  EXPECT_EQ(Scalar("SELECT count(*) FROM sysirs_indexes"), "0");
  EXPECT_EQ(FtsObjects(), "0");  // tables and triggers
  Exec("INSERT INTO CtSvcContactDataTable (ID, TYPE, CONTACT_DATA) VALUES (9, 1, '123')");
  EXPECT_EQ(SearchIds(Prefix("phonenumber", "123")), std::vector<int>{-1});
  EXPECT_TRUE(Db2FTSDoSyntax("DROP FULLTEXT INDEX msgplcontact", 0));  // nothing left: still fine
  CreateAll();  // and the group can be built again
  EXPECT_EQ(SearchIds(Prefix("phonenumber", "123")), (std::vector<int>{9, 1}));
}

TEST_F(FtsIndex, DroppingTheContentTableDropsItsIndexes) {
  CreateAll();
  Exec("drop table CtSvcContactDataTable");
  EXPECT_EQ(Scalar("SELECT count(*) FROM sysirs_indexes"), "0");
  EXPECT_EQ(FtsObjects(), "0");
  Exec(kCreateContactData);
  CreateAll();
  EXPECT_EQ(Scalar("SELECT count(*) FROM sysirs_indexes"), "3");
}

TEST_F(FtsIndex, BadStatementsLeaveNothingBehind) {
  zel::test::LogCapture log;
  ASSERT_TRUE(Db2FTSDoSyntax(kNameIndex, 0));
  const char* const kBad[] = {
      kNameIndex,  // exists already
      "create fulltext index nodot (simplex) on ctsvccontactdatatable (fl_fullname)",
      "create fulltext index g.i (simplex) on missing_table (fl_fullname)",
      "create fulltext index g.i (simplex) on ctsvccontactdatatable (missing_column)",
      "create fulltext index g.i (simplex) on ctsvccontactdatatable (contact_data condition type = = 1)",
      "create fulltext index g.i (simplex) on ctsvccontactdatatable (contact_data condition )",
      "create fulltext index g.i (simplex) on ctsvccontactdatatable (contact_data",
      "create fulltext index g.i ('x') on ctsvccontactdatatable (contact_data)",
      "DROP FULLTEXT INDEX",
      "SELECT 1",
      "",
  };
  for (const char* psz : kBad) {
    EXPECT_FALSE(Db2FTSDoSyntax(psz, 0)) << psz;
  }
  EXPECT_FALSE(Db2FTSDoSyntax(nullptr, 0));
  EXPECT_EQ(Scalar("SELECT count(*) FROM sysirs_indexes"), "1");
  EXPECT_EQ(Scalar("SELECT count(*) FROM sqlite_master WHERE name LIKE 'fts\\_g\\_%' ESCAPE '\\'"), "0");
  EXPECT_TRUE(log.Contains("Db2FTSDoSyntax"));
}

TEST_F(FtsIndex, IndexCreationIsPartOfTheOpenWork) {
  db2test::OtherConnection other(Path());
  ASSERT_TRUE(Db2Commit());
  ASSERT_TRUE(Db2FTSDoSyntax(kNameIndex, 0));
  EXPECT_EQ(other.Int("SELECT count(*) FROM sysirs_indexes"), 0);
  ASSERT_TRUE(Db2Commit());
  EXPECT_EQ(other.Int("SELECT count(*) FROM sysirs_indexes"), 1);
}

}  // namespace
