// A full store, end to end: contacts are stored, the volume fills up (forced through the platform's
// test switch, or a real tmpfs filled to the last page), every kind of write through the exported
// functions fails with its failure result and its handler's log line, nothing stored changes, and
// once there is room again writes work and the earlier contacts are still whole.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "StoreReader.h"
#include "TmpfsMount.h"
#include "ZelCoreTest.h"

namespace {

enum class FullKind { Forced, RealDisk };

using ctsvc_test::Copy;

using ctsvc_test::DumpStore;

class CtSvcDbFullStoreTest : public ctsvc_test::ServiceTest, public ::testing::WithParamInterface<FullKind> {
 protected:
  void SetUp() override {
    if (GetParam() == FullKind::RealDisk) {
      m_pVolume = std::make_unique<ctsvc_test::TmpfsMount>(m_dir.Path(), 8 * 1024 * 1024);
      if (!m_pVolume->IsMounted()) {
        GTEST_SKIP() << "no tmpfs to fill (" << m_pVolume->Error() << ")";
      }
    }
    ServiceTest::SetUp();
  }
  void TearDown() override {
    zel::test::SetVolumeFull(false);
    if (m_pVolume) {
      m_pVolume->Unfill();
    }
    ServiceTest::TearDown();
    m_pVolume.reset();
  }

  void FillVolume() {
    if (m_pVolume) {
      m_pVolume->Fill();
    } else {
      zel::test::SetVolumeFull(true);
    }
  }
  void MakeRoom() {
    if (m_pVolume) {
      m_pVolume->Unfill();
    } else {
      zel::test::SetVolumeFull(false);
    }
  }

  // A whole contact with two numbers and an e-mail; its person handle.
  static HOBJ StoreContact(const char* pszFirst, const char* pszLast, const char* pszNumber) {
    ctsvc_test::ContactParts parts(pszFirst, -1, pszLast);
    parts.Number(pszNumber).Number("0212345678", 2).Email(std::string(pszFirst) + "@example.com");
    CCtSvcModuleLock lock;
    CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
    return contact.Insert(1) > 0 ? contact.GetPerson().GetHandle() : INVALID_HOBJ;
  }

  std::unique_ptr<ctsvc_test::TmpfsMount> m_pVolume;
};

struct WriteCase {
  const char* name;
  const char* log;  // the handler's failure line
  std::function<bool()> write;  // true when the write succeeded
};

TEST_P(CtSvcDbFullStoreTest, WritesFailWithTheirResultsAndNothingStoredIsLost) {
  const HOBJ hAnna = StoreContact("Anna", "Smith", "01011112222");
  const HOBJ hBen = StoreContact("Ben", "Jones", "01033334444");
  ASSERT_NE(INVALID_HOBJ, hAnna);
  ASSERT_NE(INVALID_HOBJ, hBen);
  CtSvcPersonRecord anna{};
  ASSERT_TRUE(CtSvcDbPersonGetRecordById(CTSVC_HANDLE_TO_ID(hAnna), &anna));
  CtSvcPhoneNumberRecord numbers[4]{};
  ASSERT_EQ(2, CtSvcDbPersonGetPhoneNumberList(hAnna, numbers, 4));
  CtSvcEmailAddressRecord emails[2]{};
  ASSERT_EQ(1, CtSvcDbPersonGetEmailAddressList(hBen, emails, 2));
  const int nPrimary = anna.Info.nPrimaryId;
  DrainEventHandler();
  const std::vector<std::string> before = DumpStore(DbPath());

  CtSvcPersonInfo newcomer = anna.Info;
  Copy(newcomer.szFirstName, "Cleo");
  CtSvcPhoneNumberInfo number = numbers[0].Info;
  Copy(number.szPhoneNumber, "01099998888");
  CtSvcGroupInfo group{};
  group.nAccountId = -1;
  group.nSlotIndex = -1;
  group.DevType = CTSVC_USE_TYPE_PHONE;
  Copy(group.szName, "Climbing");
  const std::vector<WriteCase> kWrites = {
      {"insert a person", "CCtSvcCFHandler::Insert:  SEARCH FAIL \n",
       [&] { return CtSvcDbPersonInsertRecord(CTSVC_USE_TYPE_PHONE, nPrimary, &newcomer, __FILE__, __LINE__) != INVALID_HOBJ; }},
      {"insert a number", "CCtSvcCFHandler::Insert:  SEARCH FAIL \n",
       [&] { return CtSvcDbPhoneNumberInsertRecord(hAnna, nPrimary, &number) >= 0; }},
      {"insert a group", "CCtSvcCFHandler::Insert:  SEARCH FAIL \n",
       [&] { return CtSvcDbGroupInsertRecord(&group) >= 0; }},
      {"update a person", "CCtSvcCFHandler::Update:  SEARCH FAIL \n",
       [&] { return CtSvcDbPersonUpdateRecord(hAnna, nPrimary, &newcomer) != FALSE; }},
      {"update a number", "CCtSvcCFHandler::Update:  SEARCH FAIL \n",
       [&] { return CtSvcDbPhoneNumberUpdateRecord(numbers[1].nId, hAnna, nPrimary, &number) != FALSE; }},
      {"make a favourite", "CCtSvcCFHandler::Update:  SEARCH FAIL \n",
       [&] { return CtSvcDbPrimarySetFavoriteType(nPrimary, CTSVC_FAVORITE_TYPE_FAVORITE) != FALSE; }},
      {"delete an e-mail", "CCtSvcCFHandler::Delete:  SEARCH FAIL \n",
       [&] { return CtSvcDbEmailAddressDeleteRecord(emails[0].nId) != FALSE; }},
      {"delete a person", "CCtSvcCFHandler::Delete:  SEARCH FAIL \n",
       [&] { return CtSvcDbPersonDeleteRecord(hBen) != FALSE; }},
  };

  FillVolume();
  for (const WriteCase& c : kWrites) {
    zel::test::LogCapture log;
    EXPECT_FALSE(c.write()) << c.name;
    EXPECT_TRUE(log.Contains(c.log)) << c.name;
  }
  DrainEventHandler();
  EXPECT_EQ(2, CtSvcDbPersonGetTotalCount());
  EXPECT_EQ(before, DumpStore(DbPath()));

  MakeRoom();
  for (const WriteCase& c : kWrites) {
    EXPECT_TRUE(c.write()) << c.name << ": " << Db2GetLastError();
  }
  CtSvcPersonRecord again{};
  ASSERT_TRUE(CtSvcDbPersonGetRecordById(CTSVC_HANDLE_TO_ID(hAnna), &again));
  EXPECT_STREQ("Cleo", again.Info.szFirstName);
  EXPECT_EQ(3, CtSvcDbPersonGetPhoneNumberList(hAnna, numbers, 4));
  EXPECT_FALSE(CtSvcDbPersonGetRecordById(CTSVC_HANDLE_TO_ID(hBen), &again));
}

INSTANTIATE_TEST_SUITE_P(FullKinds, CtSvcDbFullStoreTest, ::testing::Values(FullKind::Forced, FullKind::RealDisk),
                         [](const ::testing::TestParamInfo<FullKind>& info) {
                           return std::string(info.param == FullKind::Forced ? "Forced" : "RealDisk");
                         });

}  // namespace
