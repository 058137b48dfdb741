// The primary a new contact joins: two local phone contacts never merge, any other pair sharing
// an e-mail address or an ordinary number does - and a third, unrelated contact never changes
// the answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbPerson.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"

namespace {

using ctsvc_test::ContactParts;

constexpr int kLocal = -1;

int FindFor(ContactParts parts, int nExcept) {
  const CtSvcContactInfo info = parts.Info();
  return CtSvcDbPrimaryFindPrimary(&info, nExcept);
}

// Stores a whole contact; the id of its primary.
int StorePrimary(ContactParts parts, CtSvcDeviceType nDeviceType) {
  CCtSvcContact contact(parts.Info(), nDeviceType);
  const int nPerson = contact.Insert(1);
  EXPECT_GT(nPerson, 0);
  CtSvcPersonRecord record{};
  EXPECT_TRUE(CtSvcDbPersonGetRecordById(nPerson, &record));
  return record.Info.nPrimaryId;
}

class CtSvcDbMgrFindPrimaryTest : public ctsvc_test::SchemaTest {};

TEST_F(CtSvcDbMgrFindPrimaryTest, AnswerFollowsTheContactsAloneNotAThirdOne) {
  // Only local phone and SIM data is stored at first: no account contact at all.
  const int nLocal = StorePrimary(ContactParts("Ann", kLocal).Number("0101"), CTSVC_USE_TYPE_PHONE);
  const int nSim = StorePrimary(ContactParts("Sim", kLocal).Number("0202"), CTSVC_USE_TYPE_SIM);
  const struct {
    const char* szCase;
    ContactParts query;
    int nExcept;
    int nExpected;
  } kCases[] = {
      {"local with a local number", ContactParts("Bob", kLocal).Number("0101"), -1, -1},
      {"account with a local number", ContactParts("Bob", 5).Number("0101"), -1, nLocal},
      {"account, that primary excluded", ContactParts("Bob", 5).Number("0101"), nLocal, -1},
      {"local with a SIM number", ContactParts("Bob", kLocal).Number("0202"), -1, nSim},
      {"local, number of another kind", ContactParts("Bob", kLocal).Number("0202", 2), -1, -1},
      {"nothing shared", ContactParts("Bob", 5).Number("0303").Email("bob@example.org"), -1, -1},
  };
  for (const bool bUnrelated : {false, true}) {
    if (bUnrelated) {
      StorePrimary(ContactParts("Zed", 9).Number("0999").Email("zed@example.org"), CTSVC_USE_TYPE_PHONE);
    }
    for (const auto& c : kCases) {
      SCOPED_TRACE(std::string(c.szCase) + (bUnrelated ? ", with an unrelated account contact" : ""));
      EXPECT_EQ(c.nExpected, FindFor(c.query, c.nExcept));
    }
  }
  // An e-mail address is looked at before the numbers.
  const int nKim = StorePrimary(ContactParts("Kim", 4).Email("kim@example.org"), CTSVC_USE_TYPE_PHONE);
  EXPECT_EQ(nKim, FindFor(ContactParts("Kim", kLocal).Number("0101").Email("kim@example.org"), -1));
}

TEST_F(CtSvcDbMgrFindPrimaryTest, NullContactIsRefused) {
  zel::test::LogCapture capture;
  EXPECT_EQ(-1, CtSvcDbPrimaryFindPrimary(nullptr, -1));
  EXPECT_EQ(1, capture.Count("pContact"));
}

}  // namespace
