// SIM records as they leave the file layer: refusals of empty values and bad indexes, and the C
// structure both ways (numbers and addresses beyond four, groups of index 30 and more, texts cut
// to their arrays). Also the release of extension records no entry uses.
#include "CtSvcSim/SimFile/CtSvcExtFile.h"
#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"
#include "SimFakeDevice.h"
#include "ZelCoreTest.h"

namespace ctsvc_sim_test {
namespace {

TEST(CtSvcSimAdnRecordTest, EmptyValuesAndBadIndexesAreRefused) {
  CCtSvcSimAdnRecord record;
  zel::test::LogCapture log;
  EXPECT_FALSE(record.AddAdditionalPhoneNumber(1, ""));
  EXPECT_FALSE(record.AddAdditionalPhoneNumber(1, nullptr));
  EXPECT_TRUE(log.HasAssertion("pszPhoneNumber && AcStrcmp(pszPhoneNumber, NULLSTR)"));
  EXPECT_FALSE(record.AddEmailAddress(""));
  EXPECT_TRUE(log.HasAssertion("pszEmailAddress && AcStrcmp(pszEmailAddress, NULLSTR)"));
  EXPECT_EQ(nullptr, record.GetAdditionalPhoneNumber(0, nullptr));
  EXPECT_TRUE(log.HasAssertion("nIndex >= 0 && nIndex < (int)m_vcstrAdditionalPhoneNumber.size()"));
  EXPECT_FALSE(record.RemoveEmailAddress(0));
  EXPECT_TRUE(log.HasAssertion("nIndex >= 0 && nIndex < (int)m_vcstrEmailAddress.size()"));
  EXPECT_EQ(-1, record.GetGroupIndex(0));
  EXPECT_TRUE(log.HasAssertion("nIndex >= 0 && nIndex < (int)m_vcuGroupIndex.size()"));

  ASSERT_TRUE(record.AddAdditionalPhoneNumber(2, "111"));
  ASSERT_TRUE(record.AddAdditionalPhoneNumber(3, "222"));
  EXPECT_FALSE(record.SetAdditionalPhoneNumber(1, 4, ""));
  ASSERT_TRUE(record.SetAdditionalPhoneNumber(1, 4, "333"));
  ASSERT_TRUE(record.RemoveAdditionalPhoneNumber(0));
  UINT8 nAas = 0;
  ASSERT_EQ(1, record.GetAdditionalPhoneNumberCount());
  EXPECT_STREQ("333", record.GetAdditionalPhoneNumber(0, &nAas));
  EXPECT_EQ(4, nAas);
  record.Clear();
  EXPECT_EQ(-1, record.GetRecordIndex());
  EXPECT_EQ(0, record.GetAdditionalPhoneNumberCount());
}

TEST(CtSvcSimAdnRecordTest, TheCStructureCarriesWhatItsArraysHold) {
  CCtSvcSimAdnRecord record;
  record.SetName(std::string(200, 'N'));
  record.SetPhoneNumber("+4930123");
  record.SetSecondName("Second");
  for (int i = 0; i < 5; ++i) {
    record.AddAdditionalPhoneNumber(static_cast<UINT8>(i), ("10" + std::to_string(i)).c_str());
    record.AddEmailAddress(("m" + std::to_string(i) + "@x").c_str());
  }
  for (UINT8 nGroup : {0, 7, 29, 30, 200}) {
    record.AddGroupIndex(nGroup);
  }
  CtSvcSimAdnRecord c{};
  record.ToStruct(&c);
  EXPECT_EQ(120u, std::strlen(c.szName));
  EXPECT_STREQ("+4930123", c.szPhoneNumber);
  EXPECT_STREQ("103", c.stAdditionalNumber[3].szPhoneNumber);
  EXPECT_EQ(3u, c.stAdditionalNumber[3].nAasIndex);
  EXPECT_STREQ("m3@x", c.szEmail[3]);
  EXPECT_STREQ("Second", c.szSecondName);
  std::vector<int> vcGroup;
  for (int i = 0; i < CTSVC_SIM_GROUP_FLAG_MAX; ++i) {
    if (c.bGroup[i]) {
      vcGroup.push_back(i);
    }
  }
  EXPECT_EQ(std::vector<int>({0, 7, 29}), vcGroup);

  CCtSvcSimAdnRecord back;
  back.FromStruct(c);
  EXPECT_EQ(std::string(120, 'N'), back.GetName());
  EXPECT_EQ(4, back.GetAdditionalPhoneNumberCount());
  EXPECT_EQ(4, back.GetEmailAddressCount());
  EXPECT_EQ(3, back.GetGroupIndexCount());
  EXPECT_EQ("Second", back.GetSecondName());

  CCtSvcSimXdnRecord xdn;
  xdn.SetName("FDN");
  xdn.SetPhoneNumber(std::string(60, '1'));
  CtSvcSimXdnRecord cx{};
  xdn.ToStruct(&cx);
  EXPECT_EQ(41u, std::strlen(cx.szPhoneNumber));
}

TEST(CtSvcExtFileTest, ExtensionRecordsNoEntryUsesAreReleased) {
  FakeDevSim card;
  card.m_nCardType = CTSVC_SIM_CARD_TYPE_GSM;
  card.AddFile(0x6F4A, 13, 4, sizeof(SimExtInfo));
  SimExtInfo ext{};
  ext.used = 1;
  ext.recordType = 2;
  std::strcpy(ext.extData, "12");
  for (int i = 0; i < 4; ++i) {
    card.SetRecord(0x6F4A, i, AsBytes(ext));
  }
  CCtSvcExt1File file;
  ASSERT_EQ(1, Load(card, file));
  zel::test::LogCapture log;
  file.RemoveUnusedRecord({});
  EXPECT_TRUE(log.Contains("RemoveUnusedRecord nListSize is (0)"));
  file.RemoveUnusedRecord({1, 3, 9, -2});
  EXPECT_TRUE(log.Contains("RemoveUnusedRecord (int)(*iter)  is (9)"));
  EXPECT_TRUE(log.Contains("RemoveUnusedRecord FreeRecordList(0)"));
  EXPECT_FALSE(file.IsUsed(0));
  EXPECT_TRUE(file.IsUsed(1));
  EXPECT_FALSE(file.IsUsed(2));
  EXPECT_TRUE(file.IsUsed(3));
  EXPECT_EQ(0xFF, file.GetRecordType(2));
  EXPECT_EQ(-1, file.GetNextRecord(2));
}

}  // namespace
}  // namespace ctsvc_sim_test
