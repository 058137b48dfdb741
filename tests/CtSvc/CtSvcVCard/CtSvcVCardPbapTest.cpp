// The Bluetooth phonebook exports: the full list written on its timer and reported once to the
// Bluetooth service, the listing's files, the synchronous list, and the speed-dial lookup.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPbap.h"
#include "CtSvcPhonebook.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcTestEnv.h"
#include "VobjectReader.h"
#include "ZelBluetoothTest.h"
#include "ZelCoreTest.h"
#include "ZelFm.h"
#include "ZelPhs.h"

namespace {

constexpr char kFullList[] = "/User/Bluetooth/_PBS/telecom/pb.vcf";
constexpr char kNoOwnerCard[] = "BEGIN:VCARD\r\nVERSION:2.1\r\nN:No my namecard\r\nEND:VCARD\r\n";

class CtSvcVCardPbapTest : public ctsvc_test::ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    zel::test::SetTimersManual(true);
    zel::test::SetPhoneStatus(PSV_SIM_MODE_NOSIM, 1);
    int bNoSim = 0;
    ASSERT_TRUE(CtSvcPhonebookInitialize(nullptr, nullptr, &bNoSim));
    zel::test::TakePbsCompletions();
  }
  void TearDown() override {
    // An export a test left pending is written before its folder goes.
    zel::test::FireDueTimers();
    zel::test::TakePbsCompletions();
    zel::test::SetTimersManual(false);
    CCtSvcPhonebookMgr::Instance()->ResetForTest();
    ServiceTest::TearDown();
  }

  // Contacts "Name 001".."Name <n>" with a number each; the first ones get the given extras.
  static void AddContacts(int nCount) {
    for (int i = 1; i <= nCount; ++i) {
      char szName[16];
      std::snprintf(szName, sizeof(szName), "Name %03d", i);
      CCtSvcContactInfoBuilder contact(szName, -1, "Zed");
      contact.Number("0100" + std::to_string(1000 + i));
      CtSvcContactInfo info = contact.Info();
      ASSERT_NE(INVALID_HOBJ, CtSvcPhonebookInsertContactToPhone(&info)) << i;
    }
  }
  static void WriteFile(const char* pszPath, const std::string& strText) {
    const std::string strPath = pszPath;
    ASSERT_TRUE(FmCreateDir(strPath.substr(0, strPath.rfind('/')).c_str()));
    const HOBJ hFile = FmCreateFile(pszPath);
    ASSERT_NE(INVALID_HOBJ, hFile);
    FmWriteFile(hFile, strText.data(), static_cast<UINT32>(strText.size()));
    FmCloseFile(hFile);
  }
  static std::string HostPath(const std::string& strPath) {
    char szHost[1024] = {};
    FmGetHostPath(strPath.c_str(), szHost, sizeof(szHost));
    return szHost;
  }
  static std::string ReadFile(const std::string& strPath) {
    std::ifstream in(HostPath(strPath), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static std::vector<std::string> Cards(const std::string& strText) {
    std::vector<std::string> vcCards;
    for (size_t nAt = strText.find("BEGIN:VCARD"); nAt != std::string::npos;) {
      const size_t nNext = strText.find("BEGIN:VCARD", nAt + 1);
      vcCards.push_back(strText.substr(nAt, nNext == std::string::npos ? std::string::npos : nNext - nAt));
      nAt = nNext;
    }
    return vcCards;
  }
  // Requests the full list and fires its timer: the cards written.
  static std::vector<std::string> Export(int nDeviceType, UINT16 nStart, UINT16 nEnd) {
    const CtSvcBtPbsCtInfo request{nStart, nEnd, -1};
    EXPECT_TRUE(CtSvcFullCtListExForPBAP(nDeviceType, &request));
    EXPECT_TRUE(zel::test::TakePbsCompletions().empty());  // nothing is done before the timer
    EXPECT_TRUE(zel::test::FireTimer("CtSvcVcardTime"));
    EXPECT_EQ(std::vector<BOOL>{TRUE}, zel::test::TakePbsCompletions());
    return Cards(ReadFile(CtSvcPbapPathOf(nDeviceType)));
  }
  static std::string CtSvcPbapPathOf(int nDeviceType) {
    char szPath[CTSVC_PBAP_PATH_SIZE];
    EXPECT_TRUE(CtSvcPbapGetPath(nDeviceType, CTSVC_PBAP_FILE_FULL_LIST, -1, szPath, sizeof(szPath)));
    return szPath;
  }
};

TEST_F(CtSvcVCardPbapTest, FullListOf350ContactsIsWrittenIn21WithTheOwnersCardFirst) {
  WriteFile("/User/Ct/myaddress.vcf", "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Owner;Olga\r\nTEL;CELL:+4930123\r\nEND:VCARD\r\n");
  AddContacts(350);
  const std::vector<std::string> vcCards = Export(CTSVC_USE_TYPE_PHONE, 0, CTSVC_PBAP_MAX_ENTRY);
  ASSERT_EQ(351u, vcCards.size());
  for (const std::string& strCard : vcCards) {
    EXPECT_NE(std::string::npos, strCard.find("\r\nVERSION:2.1\r\n")) << strCard;
  }
  EXPECT_NE(std::string::npos, vcCards[0].find("\r\nN:Owner;Olga\r\n")) << vcCards[0];
  EXPECT_NE(std::string::npos, vcCards[0].find(":+4930123\r\n")) << vcCards[0];
  EXPECT_NE(std::string::npos, vcCards[1].find("Name 001 Zed")) << vcCards[1];
  EXPECT_NE(std::string::npos, vcCards[350].find("Name 350 Zed")) << vcCards[350];
  EXPECT_NE(std::string::npos, vcCards[350].find(":01001350\r\n")) << vcCards[350];
}

TEST_F(CtSvcVCardPbapTest, ARangeTakesItsEntriesOnlyAndEntryZeroIsTheOwnersCard) {
  AddContacts(12);
  struct Case {
    UINT16 nStart, nEnd;
    size_t nCards;
    const char* szFirst;  // in the first card
  };
  const Case kCases[] = {{0, 0, 1, "No my namecard"},   {0, 5, 6, "No my namecard"}, {1, 10, 10, "Name 001"},
                         {10, 2000, 3, "Name 010"},      {12, 12, 1, "Name 012"},     {13, 2000, 0, ""}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.nStart) + ".." + std::to_string(c.nEnd));
    const std::vector<std::string> vcCards = Export(CTSVC_USE_TYPE_PHONE, c.nStart, c.nEnd);
    ASSERT_EQ(c.nCards, vcCards.size());
    if (c.nCards > 0) {
      EXPECT_NE(std::string::npos, vcCards[0].find(c.szFirst)) << vcCards[0];
    }
  }
}

TEST_F(CtSvcVCardPbapTest, WithoutAnOwnersCardEveryExportStartsWithTheNoNamecardCard) {
  AddContacts(2);
  EXPECT_EQ(0u, ReadFile(kFullList).size());
  const std::vector<std::string> vcCards = Export(CTSVC_USE_TYPE_NONE, 0, 5);
  ASSERT_EQ(3u, vcCards.size());
  EXPECT_EQ(kNoOwnerCard, vcCards[0]);
  ASSERT_EQ(3, CtSvcFullCtListForPBAPListing(CTSVC_USE_TYPE_PHONE));
  EXPECT_NE(std::string::npos, ReadFile("/User/Bluetooth/_PBS/telecom/pb/0.vcf").find("No My NameCard"));
  ASSERT_TRUE(CtSvcFullCtListForPBAP(CTSVC_USE_TYPE_PHONE));
  const std::vector<std::string> vcSync = Cards(ReadFile(kFullList));
  ASSERT_EQ(3u, vcSync.size());
  EXPECT_NE(std::string::npos, vcSync[0].find("No My NameCard"));
}

// Each refused request tells the Bluetooth service once, and writes no file and arms no timer.
TEST_F(CtSvcVCardPbapTest, EveryFailureCallsTheCompletionOnceWithFalseBeforeAnyFileIsWritten) {
  AddContacts(1);
  const CtSvcBtPbsCtInfo kEnd2001{0, 2001, -1};
  const CtSvcBtPbsCtInfo kStart2001{2001, 2001, -1};
  const CtSvcBtPbsCtInfo kBackwards{5, 4, -1};
  const CtSvcBtPbsCtInfo kAll{0, 2000, -1};
  struct Case {
    const char* szWhat;
    INT32 nDeviceType;
    const CtSvcBtPbsCtInfo* pRequest;
  };
  const Case kCases[] = {{"end 2001", 1, &kEnd2001},      {"start 2001", 1, &kStart2001},
                         {"end before start", 1, &kBackwards}, {"no request", 1, nullptr},
                         {"device type 3", 3, &kAll},       {"device type -1", -1, &kAll}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szWhat);
    zel::test::LogCapture capture;
    EXPECT_FALSE(CtSvcFullCtListExForPBAP(c.nDeviceType, c.pRequest));
    EXPECT_EQ(std::vector<BOOL>{FALSE}, zel::test::TakePbsCompletions());
    EXPECT_FALSE(zel::test::FireTimer("CtSvcVcardTime"));
    EXPECT_FALSE(FmIsFileExist(kFullList));
    EXPECT_FALSE(FmIsFileExist("/User/Bluetooth/_PBS/SIM1/telecom/pb.vcf"));
    if (c.pRequest == &kEnd2001) {
      EXPECT_TRUE(capture.Contains(
          "CtSvcFullCtListExForPBAP :BtPbsCtInfo.pbStart is 0 BtPbsCtInfo.pbEnd is 2001 ,return FALSE\n"));
    }
  }
  // The folder cannot be made: a file is in its place.
  WriteFile("/User/Bluetooth/_PBS/SIM1", "in the way");
  zel::test::LogCapture capture;
  EXPECT_FALSE(CtSvcFullCtListExForPBAP(CTSVC_USE_TYPE_SIM, &kAll));
  EXPECT_EQ(std::vector<BOOL>{FALSE}, zel::test::TakePbsCompletions());
  EXPECT_TRUE(capture.Contains("CtSvcFullCtListExForPBAP : /User/Bluetooth/_PBS/SIM1/telecom/pb.vcf file create error!\n"));
  EXPECT_EQ(0, CtSvcFullCtListForPBAPListing(CTSVC_USE_TYPE_SIM));
  EXPECT_FALSE(CtSvcFullCtListForPBAP(CTSVC_USE_TYPE_SIM));
}

TEST_F(CtSvcVCardPbapTest, BeforeThePhonebookIsInitialisedTheExportFails) {
  CCtSvcPhonebookMgr::Instance()->ResetForTest();
  zel::test::LogCapture capture;
  const CtSvcBtPbsCtInfo request{0, 10, -1};
  EXPECT_FALSE(CtSvcFullCtListExForPBAP(CTSVC_USE_TYPE_PHONE, &request));
  EXPECT_EQ(std::vector<BOOL>{FALSE}, zel::test::TakePbsCompletions());
  EXPECT_TRUE(capture.Contains("CtSvcFullCtListExForPBAP :Phonebook is not initialized!!!! \n"));
  EXPECT_EQ(0, CtSvcFullCtListForPBAPListing(CTSVC_USE_TYPE_PHONE));
  EXPECT_FALSE(FmIsFileExist(kFullList));
}

TEST_F(CtSvcVCardPbapTest, ASecondRequestWhileOneIsPendingIsRefusedWithoutACompletion) {
  AddContacts(3);
  const CtSvcBtPbsCtInfo first{0, 2000, -1};
  const CtSvcBtPbsCtInfo second{1, 1, 7};
  ASSERT_TRUE(CtSvcFullCtListExForPBAP(CTSVC_USE_TYPE_PHONE, &first));
  EXPECT_FALSE(CtSvcFullCtListExForPBAP(CTSVC_USE_TYPE_PHONE, &second));
  EXPECT_TRUE(zel::test::TakePbsCompletions().empty());
  EXPECT_FALSE(FmIsFileExist("/User/Bluetooth/_PBS/telecom/pb7.vcf"));
  ASSERT_TRUE(zel::test::FireTimer("CtSvcVcardTime"));
  EXPECT_EQ(std::vector<BOOL>{TRUE}, zel::test::TakePbsCompletions());
  EXPECT_EQ(4u, Cards(ReadFile(kFullList)).size());
  // Once it was written the next request is taken, into its indexed file.
  ASSERT_TRUE(CtSvcFullCtListExForPBAP(CTSVC_USE_TYPE_PHONE, &second));
  ASSERT_TRUE(zel::test::FireTimer("CtSvcVcardTime"));
  EXPECT_EQ(std::vector<BOOL>{TRUE}, zel::test::TakePbsCompletions());
  EXPECT_EQ(1u, Cards(ReadFile("/User/Bluetooth/_PBS/telecom/pb7.vcf")).size());
}

TEST_F(CtSvcVCardPbapTest, ListingOf350ContactsWrites301FilesAndReplacesAnEarlierListing) {
  WriteFile("/User/Bluetooth/_PBS/telecom/pb/400.vcf", "stale");
  AddContacts(350);
  EXPECT_EQ(301, CtSvcFullCtListForPBAPListing(CTSVC_USE_TYPE_PHONE));
  for (int i = 0; i <= 300; ++i) {
    const std::string strPath = "/User/Bluetooth/_PBS/telecom/pb/" + std::to_string(i) + ".vcf";
    ASSERT_EQ(1u, Cards(ReadFile(strPath)).size()) << strPath;
  }
  EXPECT_NE(std::string::npos, ReadFile("/User/Bluetooth/_PBS/telecom/pb/300.vcf").find("Name 300 Zed"));
  EXPECT_FALSE(FmIsFileExist("/User/Bluetooth/_PBS/telecom/pb/301.vcf"));
  EXPECT_FALSE(FmIsFileExist("/User/Bluetooth/_PBS/telecom/pb/400.vcf"));
  // The SIM has no contacts: its listing is the owner's entry alone, in its own folder.
  EXPECT_EQ(1, CtSvcFullCtListForPBAPListing(CTSVC_USE_TYPE_SIM));
  EXPECT_TRUE(FmIsFileExist("/User/Bluetooth/_PBS/SIM1/telecom/pb/0.vcf"));
  for (INT32 nDeviceType : {INT32{CTSVC_USE_TYPE_NONE}, INT32{3}, INT32{-1}}) {
    EXPECT_EQ(0, CtSvcFullCtListForPBAPListing(nDeviceType)) << nDeviceType;
  }
}

TEST_F(CtSvcVCardPbapTest, SynchronousListCarriesEmailsAndTheOwnersFullCard) {
  WriteFile("/User/Ct/myaddress.vcf", "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Owner;Olga\r\nNOTE:mine\r\nEND:VCARD\r\n");
  CCtSvcContactInfoBuilder contact("Ann", -1, "Lee");
  contact.Number("0123").Email("ann@lee.org").Address("Main St 1", "Town");
  CtSvcContactInfo info = contact.Info();
  ASSERT_NE(INVALID_HOBJ, CtSvcPhonebookInsertContactToPhone(&info));
  ASSERT_TRUE(CtSvcFullCtListForPBAP(CTSVC_USE_TYPE_PHONE));
  const std::vector<std::string> vcCards = Cards(ReadFile(kFullList));
  ASSERT_EQ(2u, vcCards.size());
  EXPECT_NE(std::string::npos, vcCards[0].find("NOTE")) << vcCards[0];  // the owner's card as it is
  EXPECT_NE(std::string::npos, vcCards[1].find("ann@lee.org")) << vcCards[1];
  EXPECT_EQ(std::string::npos, vcCards[1].find("ADR")) << vcCards[1];
  // The timed export carries the address instead of the e-mail, and never the owner's note.
  const std::vector<std::string> vcTimed = Export(CTSVC_USE_TYPE_PHONE, 0, 1);
  ASSERT_EQ(2u, vcTimed.size());
  EXPECT_EQ(std::string::npos, vcTimed[0].find("NOTE")) << vcTimed[0];
  EXPECT_NE(std::string::npos, vcTimed[1].find("Main St 1")) << vcTimed[1];
  EXPECT_EQ(std::string::npos, vcTimed[1].find("ann@lee.org")) << vcTimed[1];
}

TEST_F(CtSvcVCardPbapTest, SpeedDialGivesTheNumberOnTheKey) {
  CCtSvcContactInfoBuilder contact("Ann", -1, "Lee");
  contact.Number("0111").Number("0222");
  CtSvcContactInfo info = contact.Info();
  const HOBJ hPerson = CtSvcPhonebookInsertContactToPhone(&info);
  ASSERT_NE(INVALID_HOBJ, hPerson);
  CtSvcPhoneNumberRecord numbers[4];
  ASSERT_EQ(2, CtSvcDbPersonGetPhoneNumberList(hPerson, numbers, 4));
  const int nSecond = std::string(numbers[0].Info.szPhoneNumber) == "0222" ? 0 : 1;
  ASSERT_TRUE(CtSvcDbSdSetRecord(3, numbers[nSecond].nId, -1));
  char szNumber[CTSVC_PBAP_NUMBER_SIZE] = {};
  ASSERT_TRUE(CtSvcGetSpeedDial4BT("3", szNumber));
  EXPECT_STREQ("0222", szNumber);
  struct Case {
    const char* szEntry;
    const char* szLog;
  };
  const Case kCases[] = {{"", "__CtSvcGetSpeedDial4BT pszEntryNum is invalid \n"},
                         {nullptr, "__CtSvcGetSpeedDial4BT pszEntryNum is invalid \n"},
                         {"3x", "__CtSvcGetSpeedDial4BT pszEntryNum is invalid \n"},
                         {"99999999999", "__CtSvcGetSpeedDial4BT pszEntryNum is invalid \n"},
                         {"-2", "__CtSvcGetSpeedDial4BT pszEntryNum < 0 !! \n"},
                         {"4", "__CtSvcGetSpeedDial4BT ListCount is 0 < 0 !! \n"}};
  for (const Case& c : kCases) {
    zel::test::LogCapture capture;
    EXPECT_FALSE(CtSvcGetSpeedDial4BT(c.szEntry, szNumber)) << (c.szEntry ? c.szEntry : "null");
    EXPECT_TRUE(capture.Contains(c.szLog)) << (c.szEntry ? c.szEntry : "null");
  }
  EXPECT_FALSE(CtSvcGetSpeedDial4BT("3", nullptr));
}

TEST_F(CtSvcVCardPbapTest, ExportedFullListReadsTheSameInVobject) {
  if (access("/usr/bin/python3", X_OK) != 0) {
    GTEST_SKIP() << "/usr/bin/python3 is not installed";
  }
  CCtSvcContactInfoBuilder latin("Zo\xC3\xAB", -1, "M\xC3\xBCller");
  latin.Number("+49 30 1234", 1).Number("0301112222", 2);
  CCtSvcContactInfoBuilder cyrillic("\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD", -1, "\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE\xD0\xB2");
  cyrillic.Number("0495551234");
  CCtSvcContactInfoBuilder hangul("\xEC\xA7\x80\xEB\xAF\xBC", -1, "\xEA\xB9\x80");
  hangul.Number("01012345678");
  for (CCtSvcContactInfoBuilder* pContact : {&latin, &cyrillic, &hangul}) {
    CtSvcContactInfo info = pContact->Info();
    ASSERT_NE(INVALID_HOBJ, CtSvcPhonebookInsertContactToPhone(&info));
  }
  ASSERT_EQ(4u, Export(CTSVC_USE_TYPE_PHONE, 0, 2000).size());
  const std::pair<int, std::string> result = ReadWithVobject(HostPath(kFullList));
  if (result.first == 77) {
    GTEST_SKIP() << "python3-vobject is not installed (scripts/deps installs it)";
  }
  ASSERT_EQ(0, result.first) << result.second;
  // FN, family, given, numbers, e-mails, photo bytes; in first-last name order after the owner's.
  EXPECT_EQ("\tNo my namecard\t\t\t\t0\n"
            "Zo\xC3\xAB M\xC3\xBCller\tM\xC3\xBCller\tZo\xC3\xAB\t+49 30 1234,0301112222\t\t0\n"
            "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD \xD0\x9F\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE\xD0\xB2\t"
            "\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE\xD0\xB2\t\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\t0495551234\t\t0\n"
            "\xEC\xA7\x80\xEB\xAF\xBC \xEA\xB9\x80\t\xEA\xB9\x80\t\xEC\xA7\x80\xEB\xAF\xBC\t01012345678\t\t0\n",
            result.second);
}

}  // namespace
