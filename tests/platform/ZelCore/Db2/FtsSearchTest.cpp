// Searches: phone numbers by any run of digits, e-mail addresses by their words, descending sort,
// row-id sub-queries, texts that look like query syntax, and bad input.
#include <gtest/gtest.h>

#include "FtsTestSupport.h"
#include "ZelCoreTest.h"

namespace {

using db2test::Db2Test;
using db2test::Prefix;
using db2test::SearchIds;
using db2test::SearchOptions;
using Ids = std::vector<int>;

class FtsSearch : public Db2Test {
 protected:
  void SetUp() override {
    Db2Test::SetUp();
    Exec(db2test::kCreateContactData);
    Exec("INSERT INTO CtSvcContactDataTable (ID, DEVICE_TYPE, FL_FULLNAME, TYPE, CONTACT_DATA) VALUES "
         "(1, 1, 'Kim Min-ji', 1, '010-1234-5678'), "
         "(2, 2, 'Ann Kidd', 1, '+82 10 9876 5432'), "
         "(3, 1, '김민지', 2, 'kim.minji@example.com'), "
         "(4, 1, '박지성', 2, '56chan@example.org'), "
         "(5, 1, 'KIRA', 1, '02 56 70'), "
         "(6, 1, NULL, 2, 'ann kidd@home')");
    for (const char* psz : {db2test::kPhoneIndex, db2test::kEmailIndex, db2test::kNameIndex}) {
      ASSERT_TRUE(Db2FTSDoSyntax(psz, 0));
    }
  }
};

// Name searches by word prefix, all rows, device range and row-id narrowing run through the
// service's own search (CtSvcSearch tests); the contact-data indexes are searched only here.
TEST_F(FtsSearch, PhoneNumbersByAnyRunOfDigitsAndEmailsByTheirWords) {
  const struct {
    std::string query;
    Ids ids;
  } kCases[] = {
      {"[msgplcontact, {phonenumber, '*' }]", {2, 5, 1}},  // only TYPE 1 rows
      {Prefix("phonenumber", "1234"), {1}},
      {Prefix("phonenumber", "9876"), {2}},
      {Prefix("phonenumber", "234-56"), {1}},
      // Shorter than a trigram: a substring scan of the indexed rows (not the e-mail "56chan").
      {Prefix("phonenumber", "56"), {5, 1}},
      {Prefix("phonenumber", "8"), {2, 1}},
      {"[msgplcontact, {phonenumber, '56*' and '1234*' }]", {1}},
      {Prefix("phonenumber", "%"), {}},  // LIKE wildcards are escaped
      {Prefix("phonenumber", "4321"), {}},
      {Prefix("email", "kim"), {3}},
      {Prefix("email", "kidd"), {6}},
      {Prefix("email", "010"), {}},  // a phone row
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(SearchIds(c.query), c.ids) << c.query;
  }
}

TEST_F(FtsSearch, DescendingSortAndRowIdSubQueries) {
  SearchOptions o;
  o.nAscending = 0;
  EXPECT_EQ(SearchIds(Prefix("name", "ki"), o), (Ids{1, 5, 2}));
  o = SearchOptions();
  o.pszSort = "ID";
  o.pszRidSub = "select ctsvccontactdatatable.rid from ctsvccontactdatatable where id > 100";
  EXPECT_EQ(SearchIds(Prefix("name", "ki"), o), Ids{});
  // A sub-query that names a row twice still lets it through once.
  o.pszRidSub = "select rid from ctsvccontactdatatable union all select rid from ctsvccontactdatatable";
  EXPECT_EQ(SearchIds(Prefix("name", "ki"), o), (Ids{1, 2, 5}));
}

TEST_F(FtsSearch, TextsThatLookLikeQuerySyntax) {
  Exec("INSERT INTO CtSvcContactDataTable (ID, FL_FULLNAME, TYPE) VALUES (10, 'O''Neil \"Quote\" AND OR NEAR', 0)");
  EXPECT_EQ(SearchIds("[msgplcontact, {name, 'o\\'neil*' }]"), Ids{10});
  EXPECT_EQ(SearchIds("[msgplcontact, {name, '\"quote\"*' }]"), Ids{10});
  EXPECT_EQ(SearchIds("[msgplcontact, {name, 'near*' and 'or*' }]"), Ids{10});
}

TEST_F(FtsSearch, BadQueriesFailCleanly) {
  zel::test::LogCapture log;
  const std::string kLong = "[msgplcontact, {name, '" + std::string(1000, 'k') + "*' }]";
  const std::string kBad[] = {
      "[msgplcontact, {name, 'ki* }]", "[msgplcontact, {name, 'k*i*' }]", "[msgplcontact, {name, '**' }]",
      "[msgplcontact, {nosuchindex, 'ki*' }]", "[nosuchgroup, {name, 'ki*' }]", kLong};
  for (const std::string& query : kBad) {
    EXPECT_LT(Db2FTSCreate(query.c_str(), 1, 1), 0) << query;
  }
  EXPECT_LT(Db2FTSCreate(nullptr, 1, 1), 0);
  EXPECT_TRUE(log.Contains("Db2FTSCreate"));
}

TEST_F(FtsSearch, HandlesAndArgumentsAreChecked) {
  const int h = Db2FTSCreate(Prefix("name", "ki").c_str(), 1, 1);
  ASSERT_GE(h, 0);
  EXPECT_EQ(Db2FTSGetResultCnt(h, 0), -1);  // not executed yet
  EXPECT_LT(Db2FTSAddFetchColumnList(h, 0, "OtherTable", "ID"), 0);
  EXPECT_LT(Db2FTSAddFetchColumnList(h, 0, "CtSvcContactDataTable", "ID; DROP TABLE x"), 0);
  const int hOther = Db2FTSMakeDBTableColumn("CtSvcPerson:FL_FULLNAME");
  ASSERT_GE(hOther, 0);
  EXPECT_LT(Db2FTSSetSortOption(h, hOther, 1, 1), 0);
  EXPECT_LT(Db2FTSSetRangeQuery(h, hOther, "1", "1"), 0);
  EXPECT_LT(Db2FTSMakeDBTableColumn("no colon"), 0);
  EXPECT_LT(Db2FTSMakeDBTableColumn(nullptr), 0);
  ASSERT_GE(Db2FTSAddFetchColumnList(h, 0, "ctsvccontactdatatable", "ID"), 0);
  ASSERT_GE(Db2FTSAddFetchColumnList(h, 1, "ctsvccontactdatatable", "DEVICE_TYPE"), 0);
  EXPECT_LT(Db2FTSExecuteWithRID(h, 1, 1, "select rid from nowhere"), 0);
  EXPECT_LT(Db2FTSExecuteWithRID(h, 1, 1, nullptr), 0);
  EXPECT_EQ(Db2FTSGetResultCnt(h, 0), -1);
  ASSERT_EQ(Db2FTSExecute(h, 1), 3);
  INT32 record[2] = {0, 0};
  EXPECT_LT(Db2FTSFetchResultRecord(h, 0, record, 4), 0);  // too small for two columns
  EXPECT_LT(Db2FTSFetchResultRecord(h, 3, record, sizeof(record)), 0);
  EXPECT_LT(Db2FTSFetchResultRecord(h, -1, record, sizeof(record)), 0);
  ASSERT_GT(Db2FTSFetchResultRecord(h, 1, record, sizeof(record)), 0);  // unsorted: row-id order
  EXPECT_EQ(record[0], 2);
  EXPECT_EQ(record[1], 2);  // "Ann Kidd" is a SIM row
  EXPECT_GT(Db2FTSQuitResultRecord(h), 0);
  EXPECT_EQ(Db2FTSGetResultCnt(h, 0), -1);
  EXPECT_GT(Db2FTSDestroy(h), 0);
  Db2FTSFreeDBTableColumn(hOther);
  for (int hBad : {h, -1, 999}) {
    EXPECT_LT(Db2FTSExecute(hBad, 1), 0);
    EXPECT_LT(Db2FTSExecuteWithRID(hBad, 1, 1, "select 1"), 0);
    EXPECT_EQ(Db2FTSGetResultCnt(hBad, 0), -1);
    EXPECT_LT(Db2FTSFetchResultRecord(hBad, 0, record, sizeof(record)), 0);
    EXPECT_LT(Db2FTSQuitResultRecord(hBad), 0);
    EXPECT_LT(Db2FTSDestroy(hBad), 0);
  }
}

}  // namespace
