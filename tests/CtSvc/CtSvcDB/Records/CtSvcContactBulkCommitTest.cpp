#include <gtest/gtest.h>

#include <cstring>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcTestEnv.h"
#include "ZelDb2.h"

namespace {

class CtSvcContactBulkCommitTest : public ctsvc_test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    ASSERT_TRUE(CCtSvcDbMgr::Instance()->Initialize());
  }
};

// Bulk inserts of whole contacts still commit every 50 uncommitted writes, so a long import keeps
// what it stored when it is interrupted, instead of holding everything in one transaction.
TEST_F(CtSvcContactBulkCommitTest, BulkContactsCommitAsTheirWritesAddUp) {
  CtSvcPersonInfo person{};
  std::strcpy(person.szFirstName, "Bulk");
  CtSvcPhoneNumberInfo numbers[3] = {{-1, 1, 1, "0101"}, {-1, 1, 1, "0102"}, {-1, 1, 1, "0103"}};
  CtSvcContactInfo info{};
  info.pPersonInfo = &person;
  info.pPhoneNumberInfo = numbers;
  info.nPhoneNumberCount = 3;
  int nCommittedAfter = -1;
  for (int i = 1; i <= 30 && nCommittedAfter < 0; ++i) {
    CCtSvcContact contact(info, CTSVC_USE_TYPE_PHONE);
    ASSERT_GT(contact.Insert(0), 0);
    if (CountFromSecondConnection("CtSvcPerson") > 0) {
      nCommittedAfter = i;
    }
  }
  // Each contact writes a primary, a person, three numbers and a membership: the ninth passes 50.
  EXPECT_EQ(9, nCommittedAfter);
  EXPECT_EQ(9, CountFromSecondConnection("CtSvcPerson"));
  EXPECT_EQ(27, CountFromSecondConnection("CtSvcContactDataTable"));
}

}  // namespace
