#include <gtest/gtest.h>

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"

namespace {

class CtSvcContactBulkCommitTest : public ctsvc_test::SchemaTest {};

// Bulk inserts of whole contacts still commit every 50 uncommitted writes, so a long import keeps
// what it stored when it is interrupted, instead of holding everything in one transaction.
TEST_F(CtSvcContactBulkCommitTest, BulkContactsCommitAsTheirWritesAddUp) {
  ctsvc_test::ContactParts parts("Bulk", -1);
  parts.Number("0101").Number("0102").Number("0103");
  int nCommittedAfter = -1;
  for (int i = 1; i <= 30 && nCommittedAfter < 0; ++i) {
    CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
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
