// The bulk C API as an application drives it: one operation at a time, its callbacks, the QRN
// report at the end of a bulk insert or delete, mass-delete mode above thirty persons, and a
// change order that destroys itself.
#include <string>
#include <vector>

#include "CtSvcBulkOp.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPhonebook.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"

namespace {

struct Seen {
  std::vector<std::string> vcEvent;
  static void OnState(BOOL bResult, int nOld, int nNew, void* p) {
    static_cast<Seen*>(p)->vcEvent.push_back("state " + std::to_string(bResult) + ":" + std::to_string(nOld) + "->" +
                                             std::to_string(nNew));
  }
  static void OnProgress(int nDone, int nTotal, void* p) {
    static_cast<Seen*>(p)->vcEvent.push_back("progress " + std::to_string(nDone) + "/" + std::to_string(nTotal));
  }
  static void OnQrn(CtSvcChangeType type, int nId, void*, void* p) {
    static_cast<Seen*>(p)->vcEvent.push_back("qrn " + std::to_string(type) + " " + std::to_string(nId));
  }
};

class BulkOpApiTest : public ctsvc_test::ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    zel::test::SetTimersManual(true);
    CtSvcPhonebookRegisterContactCallbackForQRN(&Seen::OnQrn, &m_seen);
  }
  void TearDown() override {
    CtSvcPhonebookUnRegisterContactCallbackForQRN(&Seen::OnQrn, &m_seen);
    CtSvcBulkOpDestroy();
    zel::test::SetTimersManual(false);
    ServiceTest::TearDown();
  }
  // Stores n phone contacts; their handles.
  static std::vector<HOBJ> StoreContacts(int n) {
    std::vector<HOBJ> vc;
    for (int i = 0; i < n; ++i) {
      CCtSvcContactInfoBuilder builder("Person " + std::to_string(i), -1);
      builder.Number("0301234" + std::to_string(1000 + i));
      CtSvcContactInfo info = builder.Info();
      vc.push_back(CtSvcPhonebookInsertContactToPhone(&info));
    }
    return vc;
  }
  Seen m_seen;
};

TEST_F(BulkOpApiTest, ABulkInsertReportsProgressThenTheQrnBulkInsert) {
  ASSERT_TRUE(CtSvcBulkOpCreate(CTSVC_BULK_OP_INSERT_DB, &Seen::OnState, &m_seen));
  EXPECT_FALSE(CtSvcBulkOpCreate(CTSVC_BULK_OP_DELETE_DB, &Seen::OnState, &m_seen));  // one at a time
  ASSERT_TRUE(CtSvcBulkOpRegisterProgressCallback(&Seen::OnProgress));
  for (int i = 0; i < 7; ++i) {
    CCtSvcContactInfoBuilder builder("Bulk " + std::to_string(i), -1);
    CtSvcContactInfo info = builder.Info();
    ASSERT_TRUE(CtSvcBulkOpAddContactRecord(CTSVC_USE_TYPE_PHONE, &info));
  }
  EXPECT_FALSE(CtSvcBulkOpAddPersonId(3));  // not a delete
  EXPECT_EQ(5, CtSvcBulkOpGetUnitCountAtOnce());
  // Registered empty, so FINISHED until it starts.
  ASSERT_TRUE(CtSvcBulkOpStart());
  EXPECT_EQ(2, zel::test::FireDueTimers());
  EXPECT_EQ(std::vector<std::string>({"state 1:1->3", "progress 5/7", "progress 7/7", "qrn 4 -1", "state 1:3->1"}),
            m_seen.vcEvent);
  EXPECT_EQ(7, CtSvcDbPersonGetTotalCount());
  EXPECT_EQ(CTSVC_BULK_STATE_FINISHED, CtSvcBulkOpGetState());
  ASSERT_TRUE(CtSvcBulkOpDestroy());
  EXPECT_EQ(CTSVC_BULK_STATE_INVALID, CtSvcBulkOpGetState());
  EXPECT_FALSE(CtSvcBulkOpRegisterProgressCallback(&Seen::OnProgress));
}

TEST_F(BulkOpApiTest, MoreThanThirtyPersonsAreDeletedInMassDeleteMode) {
  for (const int nCount : {30, 31}) {
    SCOPED_TRACE(nCount);
    const std::vector<HOBJ> vcHandles = StoreContacts(nCount);
    m_seen.vcEvent.clear();
    ASSERT_TRUE(CtSvcBulkOpCreate(CTSVC_BULK_OP_DELETE_DB, &Seen::OnState, &m_seen));
    for (const HOBJ h : vcHandles) {
      ASSERT_TRUE(CtSvcBulkOpAddPersonId(CTSVC_HANDLE_TO_ID(h)));
    }
    EXPECT_FALSE(CtSvcBulkOpAddPersonId(0));
    zel::test::LogCapture log;
    ASSERT_TRUE(CtSvcBulkOpStart());
    EXPECT_EQ(2, zel::test::FireDueTimers());  // twenty a tick
    EXPECT_EQ(0, CtSvcDbPersonGetTotalCount());
    EXPECT_EQ(nCount > 30, log.Contains("DeleteContactsFromPhoneForVamo"));
    EXPECT_EQ("qrn 3 -1", m_seen.vcEvent.at(m_seen.vcEvent.size() - 2));
    ASSERT_TRUE(CtSvcBulkOpDestroy());
  }
}

TEST_F(BulkOpApiTest, AChangeOrderWithoutCallbackDestroysItselfWhenDone) {
  StoreContacts(3);
  ASSERT_TRUE(CtSvcBulkOpCreate(CTSVC_BULK_OP_CHANGE_ORDER, nullptr, nullptr));
  EXPECT_EQ(CTSVC_BULK_STATE_READY, CtSvcBulkOpGetState());
  zel::test::LogCapture log;
  ASSERT_TRUE(CtSvcBulkOpStart());
  EXPECT_EQ(2, zel::test::FireDueTimers());  // two a tick
  EXPECT_EQ(2, log.Count("CCtSvcBulkOpChangeOrder::OnBulkOperation Func FINISH"));
  EXPECT_EQ(CTSVC_BULK_STATE_INVALID, CtSvcBulkOpGetState());
  ASSERT_TRUE(CtSvcBulkOpCreate(CTSVC_BULK_OP_INSERT_DB, nullptr, nullptr));
}

TEST_F(BulkOpApiTest, UnknownTypesAndItemsOfAnotherTypeAreRefused) {
  zel::test::LogCapture log;
  EXPECT_FALSE(CtSvcBulkOpCreate(0, nullptr, nullptr));
  EXPECT_FALSE(CtSvcBulkOpCreate(14, nullptr, nullptr));
  EXPECT_EQ(2u, log.Assertions().size());
  EXPECT_FALSE(CtSvcBulkOpStart());
  // Each function feeds only the types that take its items.
  struct Case {
    int nType;
    bool bPersons;
    bool bGroup;
  };
  for (const Case& c : {Case{CTSVC_BULK_OP_INSERT_ADN, false, false}, Case{CTSVC_BULK_OP_DELETE_ADN, true, false},
                        Case{CTSVC_BULK_OP_CHANGE_ORDER, false, false}, Case{CTSVC_BULK_OP_ADD_MEMBER_DB, true, true},
                        Case{CTSVC_BULK_OP_REMOVE_MEMBER_ADN, true, true}}) {
    SCOPED_TRACE(c.nType);
    ASSERT_TRUE(CtSvcBulkOpCreate(c.nType, nullptr, nullptr));
    EXPECT_EQ(c.bPersons, CtSvcBulkOpAddPersonId(5) != FALSE);
    EXPECT_EQ(c.bGroup, CtSvcBulkOpSetGroupId(CTSVC_NOT_ASSIGNED_GROUP_ID) != FALSE);
    EXPECT_FALSE(CtSvcBulkOpAddSimRecordIndex(0));
    ASSERT_TRUE(CtSvcBulkOpDestroy());
  }
  EXPECT_FALSE(CtSvcBulkOpDestroy());
  EXPECT_FALSE(CtSvcBulkOpAddSimRecordIndex(0));
  // Contacts of no store, or without person, are not taken.
  ASSERT_TRUE(CtSvcBulkOpCreate(CTSVC_BULK_OP_INSERT_DB, nullptr, nullptr));
  CCtSvcContactInfoBuilder builder("Nobody", -1);
  CtSvcContactInfo info = builder.Info();
  EXPECT_FALSE(CtSvcBulkOpAddContactRecord(CTSVC_USE_TYPE_NONE, &info));
  EXPECT_FALSE(CtSvcBulkOpAddContactRecord(7, &info));
  info.pPersonInfo = nullptr;
  EXPECT_FALSE(CtSvcBulkOpAddContactRecord(CTSVC_USE_TYPE_PHONE, &info));
  EXPECT_FALSE(CtSvcBulkOpAddContactRecord(CTSVC_USE_TYPE_PHONE, nullptr));
  EXPECT_EQ(CTSVC_BULK_STATE_FINISHED, CtSvcBulkOpGetState());
  EXPECT_TRUE(CtSvcBulkOpStart());
  EXPECT_EQ(0, zel::test::FireDueTimers());
  EXPECT_EQ(0, CtSvcDbPersonGetTotalCount());
}

}  // namespace
