// Mass-sync reading and the vCard lines it produces: argument checks, batches of the given
// maximum on "CTSVC" with their exact vCards, and the encoder's escaping and version forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDetail.h"
#include "CtSvcTestEnv.h"
#include "CtSvcDbListener.h"
#include "CtSvcTestData.h"
#include "CtSvcTestThreads.h"

namespace {

using ctsvc_test::Row;
using ctsvc_test::ServiceTest;

struct Batch {
  std::string strText;
  int nCount;
  bool bLast;
  std::string strTask;
};

ctsvc_test::SyncLog<Batch> g_batches;

void OnBatch(const char* pszVCards, INT32 nRecordCount, BOOL bLast) {
  g_batches.Add({pszVCards != nullptr ? pszVCards : "<null>", nRecordCount, bLast != FALSE, ctsvc_test::TaskName()});
}

// Lines joined as vCard text: each ended by CRLF.
std::string VCardText(const std::vector<std::string>& vcLines) {
  std::string strText;
  for (const std::string& strLine : vcLines) {
    strText += strLine + "\r\n";
  }
  return strText;
}

// How many lines of the text start with the property strName.
size_t CountProperty(const std::string& strText, const std::string& strName) {
  size_t nCount = 0;
  for (size_t nPos = strText.find("\r\n" + strName); nPos != std::string::npos; nPos = strText.find("\r\n" + strName, nPos + 1)) {
    const char c = strText[nPos + 2 + strName.size()];
    nCount += c == ':' || c == ';' ? 1 : 0;
  }
  return nCount;
}

class CtSvcDbMassSyncTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    g_batches.Take();
  }

  // A whole contact "First<i>" "Last;<i>" with a birthday, a number, an e-mail, an address and a note.
  static int AddPerson(int i) {
    const std::string s = std::to_string(i);
    ctsvc_test::ContactParts parts(("First" + s).c_str(), -1, ("Last;" + s).c_str());
    parts.person.Birthday = TmDateTime{1980 + i, 2, 3, 0, 0, 0};
    parts.Number(("+4930123" + s).c_str()).Email("p" + s + "@example.org").Etc(CTSVC_ETC_DATA_TYPE_NOTE, ("note " + s).c_str());
    parts.vcNumbers[0].UseType = CTSVC_USE_TYPE_HOME;
    parts.vcEmails[0].UseType = CTSVC_USE_TYPE_WORK;
    parts.Address("Main St " + s, "Springfield", "", "Utopia", "12345");
    CCtSvcModuleLock lock;
    return CCtSvcContact(parts.Info(), CTSVC_USE_TYPE_PHONE).Insert(1);
  }
  static void AddNote(int nPerson, const std::u16string& strNote) {
    Row(CTSVC_DB_TABLE_ETCDATA)
        .Int(CTSVC_DB_ETCDATA_COLUMN_PERSON_ID, nPerson)
        .Int(CTSVC_DB_ETCDATA_COLUMN_ETC_TYPE, CTSVC_ETC_DATA_TYPE_NOTE)
        .Text(CTSVC_DB_ETCDATA_COLUMN_ETC_DATA, strNote)
        .Insert("CtSvc/EtcData");
  }
};

TEST_F(CtSvcDbMassSyncTest, BadArgumentsAndAnEmptyStoreAreRefused) {
  struct Case {
    INT32 nSyncType, nFormat, nMax;
    CtSvcDbMassSyncCallback pfn;
  };
  // Sync types 2 and -1, format 1, maximum -1, no callback, and good arguments on an empty store.
  const Case kCases[] = {{2, 0, 1, &OnBatch}, {-1, 0, 1, &OnBatch}, {0, 1, 1, &OnBatch},
                         {1, 0, -1, &OnBatch}, {0, 0, 1, nullptr},  {0, 0, 1, &OnBatch}};
  for (const Case& c : kCases) {
    EXPECT_FALSE(CtSvcDbMassSyncReadRecords(c.nSyncType, c.nFormat, c.nMax, c.pfn)) << c.nSyncType << c.nFormat << c.nMax;
  }
  DrainEventHandler();
  EXPECT_TRUE(g_batches.Take().empty());
}

TEST_F(CtSvcDbMassSyncTest, PersonsArriveOnCtsvcInBatchesOfTheMaximumAsVCards) {
  for (int i = 1; i <= 5; ++i) {
    AddPerson(i);
  }
  ASSERT_TRUE(CtSvcDbMassSyncReadRecords(CTSVC_MASSSYNC_TYPE_ALL, CTSVC_MASSSYNC_FORMAT_VCARD, 2, &OnBatch));
  DrainEventHandler();
  const std::vector<Batch> vcBatches = g_batches.Take();
  ASSERT_EQ(3u, vcBatches.size());
  for (size_t i = 0; i < vcBatches.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(i < 2 ? 2 : 1, vcBatches[i].nCount);
    EXPECT_EQ(i == 2, vcBatches[i].bLast);
    EXPECT_EQ("CTSVC", vcBatches[i].strTask);
    std::string strExpected;
    for (int n = static_cast<int>(2 * i) + 1; n <= std::min(5, static_cast<int>(2 * i) + 2); ++n) {
      const std::string s = std::to_string(n);
      // The cards as export writes them (the vCard codec's 2.1).
      strExpected += VCardText({"BEGIN:VCARD", "VERSION:2.1", "N:Last\\;" + s + ";First" + s,
                                "FN:First" + s + " Last\\;" + s, "TEL;CELL;HOME;VOICE:+4930123" + s,
                                "EMAIL;WORK;INTERNET:p" + s + "@example.org", "NOTE:note " + s,
                                "BDAY:" + std::to_string(1980 + n) + "0203",
                                "ADR:;;Main St " + s + ";Springfield;;12345;Utopia", "END:VCARD"});
    }
    EXPECT_EQ(strExpected, vcBatches[i].strText);
  }
}

TEST_F(CtSvcDbMassSyncTest, ContactTypeLeavesOtherDataOutAndLongTextGrowsTheBuffer) {
  const int nPerson = AddPerson(1);
  for (int i = 0; i < 10; ++i) {
    AddNote(nPerson, std::u16string(300, u'x'));
  }
  ASSERT_TRUE(CtSvcDbMassSyncReadRecords(CTSVC_MASSSYNC_TYPE_CONTACT, CTSVC_MASSSYNC_FORMAT_VCARD, 1, &OnBatch));
  ASSERT_TRUE(CtSvcDbMassSyncReadRecords(CTSVC_MASSSYNC_TYPE_ALL, CTSVC_MASSSYNC_FORMAT_VCARD, 1, &OnBatch));
  DrainEventHandler();
  const std::vector<Batch> vcBatches = g_batches.Take();
  ASSERT_EQ(2u, vcBatches.size());
  EXPECT_EQ(0u, CountProperty(vcBatches[0].strText, "NOTE"));
  EXPECT_EQ(1u, CountProperty(vcBatches[0].strText, "TEL"));
  EXPECT_EQ(11u, CountProperty(vcBatches[1].strText, "NOTE"));
  EXPECT_EQ(1u, CountProperty(vcBatches[1].strText, "END"));
  EXPECT_GT(vcBatches[1].strText.size(), static_cast<size_t>(CTSVC_MASSSYNC_VCARD_SIZE));
}

}  // namespace
