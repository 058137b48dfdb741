// The USIM phonebook files on a fake card: PBR entries, the files a PBR record lists, the global
// contact index, linking a contact's type-1 and type-2 data, groups, counters, and the
// telephony-id table against the library's own mapping.
#include "CtSvcSim/SimFile/CtSvcSimFileIds.h"
#include "CtSvcSim/SimFile/CtSvcUsimPhonebook.h"
#include "SimFakeDevice.h"
#include "ZelCoreTest.h"

namespace ctsvc_sim_test {
namespace {

struct PbrItem {
  UINT32 nTag;
  UINT32 nConstructed;
  UINT8 nSfi;
};

Bytes PbrRecord(const std::vector<PbrItem>& vcItem) {
  SimPbrInfo info{};
  info.used = 1;
  info.entryCount = static_cast<UINT8>(vcItem.size());
  for (size_t i = 0; i < vcItem.size(); ++i) {
    info.entries[i].fileTag = vcItem[i].nTag;
    info.entries[i].constructedTag = vcItem[i].nConstructed;
    info.entries[i].fileID = 0x4F00 + static_cast<UINT32>(i);
    info.entries[i].sfi = vcItem[i].nSfi;
  }
  return AsBytes(info);
}

Bytes Anr(const std::string& strDigits, UINT8 nAas = 0, UINT32 nTon = 0) {
  SimAnrInfo info{};
  info.used = 1;
  info.aasRecordNum = nAas;
  info.numberLen = static_cast<UINT32>(strDigits.size());
  info.ton = nTon;
  std::strncpy(info.szNumber, strDigits.c_str(), sizeof(info.szNumber) - 1);
  info.extensionId = 0xFF;
  info.adnRecordNum = 1;
  return AsBytes(info);
}

Bytes Email(const std::string& strText) {
  SimTextInfo info{};
  info.used = 1;
  info.textLen = static_cast<UINT8>(strText.size());
  std::memcpy(info.text, strText.data(), strText.size());
  info.adnRecordNum = 1;
  return AsBytes(info);
}

Bytes Iap(std::vector<UINT8> vcNumber) {
  SimIapInfo info{};
  info.used = 1;
  std::memset(info.recordNum, 0xFF, sizeof(info.recordNum));
  if (vcNumber.size() > 0) {  // an empty vector's data() may be null
    std::memcpy(info.recordNum, vcNumber.data(), vcNumber.size());
  }
  return AsBytes(info);
}

// A phonebook of a loaded PBR with every file it lists loaded.
struct Phonebook {
  CCtSvcPbrFile pbr;
  CCtSvcUsimPhonebookFiles files;
  bool Load(FakeDevSim& card) {
    if (ctsvc_sim_test::Load(card, pbr) != 1) {
      return false;
    }
    files.Build(pbr);
    for (CCtSvcSimFile* pFile : files.GetFiles()) {
      ctsvc_sim_test::Load(card, *pFile);
    }
    return true;
  }
  bool Contact(int nPbrIndex, int nRecordIndex, CCtSvcSimAdnRecord* pRecord) {
    return CtSvcSimLinkContact(pbr, nPbrIndex, files.GetSets()[nPbrIndex], nRecordIndex, nRecordIndex, pRecord) != FALSE;
  }
};

std::vector<std::string> Numbers(const CCtSvcSimAdnRecord& record) {
  std::vector<std::string> vcNumber;
  for (int i = 0; i < record.GetAdditionalPhoneNumberCount(); ++i) {
    vcNumber.emplace_back(record.GetAdditionalPhoneNumber(i, nullptr));
  }
  return vcNumber;
}

TEST(CtSvcUsimPbr, EntriesAreReadInOrderAndUnknownTagsYieldNoFile) {
  FakeDevSim card;
  card.AddFile(0xFF01, 40, 2, sizeof(SimPbrInfo));
  card.SetRecord(0xFF01, 0, PbrRecord({{0xC0, 0xA8, 1}, {0xC4, 0xA8, 2}, {0xC4, 0xA9, 3}, {0xCA, 0xA9, 4}, {0xC1, 0xA8, 5}, {0xD7, 0xA8, 6}}));
  CCtSvcPbrFile pbr;
  zel::test::LogCapture log;
  ASSERT_EQ(1, Load(card, pbr));
  EXPECT_EQ(2, card.Reads(0xFF01));  // record by record: the PBR is not searched
  EXPECT_EQ(6, pbr.GetTotalEntryCount(0));
  EXPECT_EQ(-1, pbr.GetTotalEntryCount(1));
  EXPECT_EQ(2, pbr.GetEntryCount(0, CTSVC_SIM_ENTRY_ANR));
  EXPECT_EQ(1, pbr.GetEntryCount(0, CTSVC_SIM_ENTRY_UNKNOWN));
  EXPECT_TRUE(log.Contains("CtSimEventCallback: eCtEntryType=-1"));
  EXPECT_FALSE(pbr.IsEntryLinkByIndex(0, CTSVC_SIM_ENTRY_ANR, 0));
  EXPECT_TRUE(pbr.IsEntryLinkByIndex(0, CTSVC_SIM_ENTRY_ANR, 1));
  EXPECT_TRUE(pbr.IsSupportedEntry(0, CTSVC_SIM_ENTRY_IAP));
  EXPECT_FALSE(pbr.IsSupportedEntry(0, CTSVC_SIM_ENTRY_GRP));
  EXPECT_EQ(-1, pbr.GetEntryCount(0, CTSVC_SIM_ENTRY_MAX));
  EXPECT_EQ(5, pbr.GetEntryInfo(0, 4)->sfi);
  EXPECT_EQ(nullptr, pbr.GetEntryInfo(0, 6));

  CCtSvcUsimPhonebookFiles files;
  files.Build(pbr);
  ASSERT_EQ(2u, files.GetSets().size());
  EXPECT_EQ(2u, files.GetSets()[0].vcpAnrFile.size());
  EXPECT_EQ(0xFF10, files.GetSets()[0].vcpAnrFile[0]->GetTelephonyFileID());
  EXPECT_EQ(0xFF13, files.GetSets()[0].vcpAnrFile[1]->GetTelephonyFileID());
  EXPECT_EQ(0xFF12, files.GetSets()[0].vcpEmailFile[0]->GetTelephonyFileID());
  EXPECT_EQ(nullptr, files.GetSets()[1].pAdnFile);
}

TEST(CtSvcUsimLink, AnrTwiceUnderA8GivesTheRecordOfEachFileInPbrOrder) {
  FakeDevSim card;
  card.AddFile(0xFF01, 40, 1, sizeof(SimPbrInfo));
  card.SetRecord(0xFF01, 0, PbrRecord({{0xC0, 0xA8, 1}, {0xC4, 0xA8, 2}, {0xC4, 0xA8, 3}, {0xC7, 0xAA, 4}}));
  card.AddFile(0xFF07, 28, 2, sizeof(SimDialNumberInfo));
  card.SetRecord(0xFF07, 0, DialRecord(Text("First"), "1"));
  card.SetRecord(0xFF07, 1, DialRecord(Text("Second"), "2"));
  card.AddFile(0xFF10, 17, 2, sizeof(SimAnrInfo));
  card.SetRecord(0xFF10, 0, Anr("100", 1, 1));
  card.SetRecord(0xFF10, 1, Anr("200"));
  card.AddFile(0xFF13, 17, 2, sizeof(SimAnrInfo));
  card.SetRecord(0xFF13, 1, Anr("201", 2));
  card.AddFile(0xFF0C, 10, 2, sizeof(SimAlphaInfo));
  Phonebook book;
  ASSERT_TRUE(book.Load(card));
  CCtSvcSimAdnRecord record;
  ASSERT_TRUE(book.Contact(0, 0, &record));
  EXPECT_EQ("First", record.GetName());
  EXPECT_EQ(std::vector<std::string>({"+100"}), Numbers(record));
  UINT8 nAas = 0;
  record.GetAdditionalPhoneNumber(0, &nAas);
  EXPECT_EQ(0, nAas);
  ASSERT_TRUE(book.Contact(0, 1, &record));
  EXPECT_EQ(std::vector<std::string>({"200", "201"}), Numbers(record));
  record.GetAdditionalPhoneNumber(0, &nAas);
  EXPECT_EQ(0xFF, nAas);
  record.GetAdditionalPhoneNumber(1, &nAas);
  EXPECT_EQ(1, nAas);
}

TEST(CtSvcUsimLink, TypeTwoFilesAreFoundThroughTheIapPositionOfTheirEntry) {
  FakeDevSim card;
  card.AddFile(0xFF01, 40, 1, sizeof(SimPbrInfo));
  card.SetRecord(0xFF01, 0, PbrRecord({{0xC0, 0xA8, 1}, {0xC1, 0xA8, 2}, {0xCA, 0xA9, 3}, {0xC4, 0xA8, 4}, {0xC4, 0xA9, 5}}));
  card.AddFile(0xFF07, 28, 3, sizeof(SimDialNumberInfo));
  for (int i = 0; i < 3; ++i) {
    card.SetRecord(0xFF07, i, DialRecord(Text("C" + std::to_string(i)), "1"));
  }
  card.AddFile(0xFF08, 2, 3, sizeof(SimIapInfo));
  card.SetRecord(0xFF08, 0, Iap({3, 0xFF}));  // e-mail record 3, no second ANR
  card.SetRecord(0xFF08, 1, Iap({0xFF, 1}));  // no e-mail, second ANR record 1
  // record 2: IAP record empty
  card.AddFile(0xFF12, 20, 3, sizeof(SimTextInfo));
  card.SetRecord(0xFF12, 2, Email("mail.x.org"));
  card.AddFile(0xFF10, 17, 3, sizeof(SimAnrInfo));
  card.SetRecord(0xFF10, 0, Anr("10"));
  card.AddFile(0xFF13, 17, 3, sizeof(SimAnrInfo));
  card.SetRecord(0xFF13, 0, Anr("21"));
  Phonebook book;
  ASSERT_TRUE(book.Load(card));
  CCtSvcSimAdnRecord record;
  ASSERT_TRUE(book.Contact(0, 0, &record));
  EXPECT_EQ(std::vector<std::string>({"10"}), Numbers(record));
  ASSERT_EQ(1, record.GetEmailAddressCount());
  EXPECT_STREQ("mail.x.org", record.GetEmailAddress(0));
  ASSERT_TRUE(book.Contact(0, 1, &record));
  EXPECT_EQ(std::vector<std::string>({"21"}), Numbers(record));
  EXPECT_EQ(0, record.GetEmailAddressCount());
  ASSERT_TRUE(book.Contact(0, 2, &record));
  EXPECT_EQ(0, record.GetAdditionalPhoneNumberCount());

  // Without the IAP file loaded the contact cannot be linked.
  CCtSvcUsimPhonebookFiles unloaded;
  unloaded.Build(book.pbr);
  zel::test::LogCapture log;
  EXPECT_FALSE(CtSvcSimLinkContact(book.pbr, 0, unloaded.GetSets()[0], 0, 0, &record));
  EXPECT_TRUE(log.Contains("IAP File was not loaded"));
}

TEST(CtSvcUsimLink, GroupsSecondNameUidAndControlByteJoinTheContact) {
  FakeDevSim card;
  card.AddFile(0xFF01, 40, 1, sizeof(SimPbrInfo));
  card.SetRecord(0xFF01, 0, PbrRecord({{0xC0, 0xA8, 1}, {0xC6, 0xA8, 2}, {0xC3, 0xA8, 3}, {0xC9, 0xA8, 4}, {0xC5, 0xA8, 5}}));
  card.AddFile(0xFF07, 28, 1, sizeof(SimDialNumberInfo));
  card.SetRecord(0xFF07, 0, DialRecord(Text("G"), "1"));
  card.AddFile(0xFF0B, 3, 1, sizeof(SimGrpInfo));
  SimGrpInfo grp{};
  grp.used = 1;
  grp.count = 3;
  grp.groupRecordNum[0] = 3;
  grp.groupRecordNum[2] = 7;
  card.SetRecord(0xFF0B, 0, AsBytes(grp));
  card.AddFile(0xFF11, 17, 1, sizeof(SimTextInfo));
  card.SetRecord(0xFF11, 0, Email("Gee"));
  card.AddFile(0xFF03, 2, 1, sizeof(SimUidInfo));
  card.SetRecord(0xFF03, 0, AsBytes(SimUidInfo{1, 77, {}}));
  card.AddFile(0xFF09, 2, 1, sizeof(SimPbcInfo));
  card.SetRecord(0xFF09, 0, AsBytes(SimPbcInfo{1, 1, 0, 0}));
  Phonebook book;
  ASSERT_TRUE(book.Load(card));
  CCtSvcSimAdnRecord record;
  ASSERT_TRUE(book.Contact(0, 0, &record));
  ASSERT_EQ(2, record.GetGroupIndexCount());
  EXPECT_EQ(2, record.GetGroupIndex(0));
  EXPECT_EQ(6, record.GetGroupIndex(1));
  EXPECT_EQ("Gee", record.GetSecondName());
  EXPECT_EQ(77, record.GetUid());
  EXPECT_EQ(1u, record.GetPbc());

  // A GRP write: group index + 1, 0 for none.
  CCtSvcGrpFile& grpFile = *book.files.GetSets()[0].pGrpFile;
  ASSERT_TRUE(grpFile.SetGASIndex(0, 1, 4));
  zel::test::LogCapture log;
  EXPECT_FALSE(grpFile.SetGASIndex(0, CTSVC_SIM_GROUP_COUNT_MAX, 1));
  EXPECT_TRUE(log.HasAssertion("nArrayIndex < CTSVC_SIM_GROUP_COUNT_MAX"));
  ResultListener listener;
  ASSERT_TRUE(grpFile.UpdateRecord(0, &listener));
  card.Pump();
  const SimGrpInfo written = FromBytes<SimGrpInfo>(card.Record(0xFF0B, 0));
  EXPECT_EQ(3, written.count);
  EXPECT_EQ(Bytes({3, 5, 7}), Bytes(written.groupRecordNum, written.groupRecordNum + 3));
}

TEST(CtSvcUsimIndex, GlobalIndexesRunThroughThePbrRecordsInOrder) {
  FakeDevSim card;
  CCtSvcAdnFile adn0(0);
  CCtSvcAdnFile adn1(1);
  card.AddFile(0xFF07, 28, 5, sizeof(SimDialNumberInfo));
  card.AddFile(0xFF1A, 28, 3, sizeof(SimDialNumberInfo));
  ASSERT_EQ(1, Load(card, adn0));
  ASSERT_EQ(1, Load(card, adn1));
  std::vector<CtSvcSimPbrFileSet> vcSet(2);
  vcSet[0].pAdnFile = &adn0;
  vcSet[1].pAdnFile = &adn1;
  struct Case {
    int nGlobal;
    bool bFound;
    int nPbr;
    int nRecord;
  };
  const Case kCases[] = {{0, true, 0, 0}, {4, true, 0, 4}, {5, true, 1, 0}, {7, true, 1, 2}, {8, false, 0, 0}, {-1, false, 0, 0}};
  for (const Case& c : kCases) {
    int nPbr = -1;
    int nRecord = -1;
    EXPECT_EQ(c.bFound, CtSvcSimGlobalToPbrIndex(vcSet, c.nGlobal, &nPbr, &nRecord) != FALSE) << c.nGlobal;
    if (c.bFound) {
      EXPECT_EQ(c.nPbr, nPbr) << c.nGlobal;
      EXPECT_EQ(c.nRecord, nRecord) << c.nGlobal;
    }
  }
  EXPECT_EQ(8, CtSvcSimGetGlobalMax(vcSet));
  vcSet[0].pAdnFile = nullptr;
  int nPbr = -1;
  int nRecord = -1;
  EXPECT_FALSE(CtSvcSimGlobalToPbrIndex(vcSet, 6, &nPbr, &nRecord));
}

TEST(CtSvcUsimFiles, TelephonyIdsAreTheLibrarysForEveryFileAndPbrIndex) {
  struct Kind {
    int nSimFileID;
    const char* pszName;
    int nOccurrences;
  };
  const Kind kKinds[] = {{CTSVC_SIM_PBR, "PBR", 1},   {CTSVC_SIM_CCP1, "CCP1", 1}, {CTSVC_SIM_PSC, "PSC", 1},
                         {CTSVC_SIM_CC, "CC", 1},     {CTSVC_SIM_PUID, "PUID", 1}, {CTSVC_SIM_EXT1, "EXT1", 1},
                         {CTSVC_SIM_GAS, "GAS", 1},   {CTSVC_SIM_AAS, "AAS", 1},   {CTSVC_SIM_ADN, "ADN", 1},
                         {CTSVC_SIM_IAP, "IAP", 1},   {CTSVC_SIM_PBC, "PBC", 1},   {CTSVC_SIM_GRP, "GRP", 1},
                         {CTSVC_SIM_SNE, "SNE", 1},   {CTSVC_SIM_UID, "UID", 1},   {CTSVC_SIM_ANR, "ANR", 4},
                         {CTSVC_SIM_EMAIL, "EMAIL", 2}};
  FakeDevSim card;
  for (int bLocal = 0; bLocal <= 1; ++bLocal) {
    card.m_bLocal = bLocal;
    const int nPbrMax = bLocal ? CTSVC_SIM_PBR_LOCAL_MAX : CTSVC_SIM_PBR_TELECOM_MAX;
    for (const Kind& kind : kKinds) {
      for (int p = 0; p < nPbrMax; ++p) {
        for (int n = 0; n < kind.nOccurrences; ++n) {
          const UINT32 nLibrary = SimPhonebookFileId(bLocal, kind.pszName, p, n);
          if (nLibrary == SIM_EFILE_INVALID) {
            continue;  // e.g. the second EMAIL of the telecom phonebook
          }
          const int nShared = kind.nSimFileID == CTSVC_SIM_ADN || kind.nSimFileID == CTSVC_SIM_IAP ||
                                      kind.nSimFileID == CTSVC_SIM_PBC || kind.nSimFileID == CTSVC_SIM_GRP ||
                                      kind.nSimFileID == CTSVC_SIM_SNE || kind.nSimFileID == CTSVC_SIM_UID ||
                                      kind.nSimFileID == CTSVC_SIM_ANR || kind.nSimFileID == CTSVC_SIM_EMAIL
                                  ? p
                                  : 0;
          EXPECT_EQ(static_cast<int>(nLibrary),
                    CtSvcSimGetTelephonyFileID(kind.nSimFileID, CTSVC_SIM_CARD_TYPE_USIM, nShared, n))
              << kind.pszName << " local " << bLocal << " pbr " << p << " #" << n;
        }
      }
    }
  }
  zel::test::LogCapture log;
  card.m_bLocal = 0;
  EXPECT_EQ(SIM_EFILE_INVALID, CtSvcSimGetTelephonyFileID(CTSVC_SIM_ADN, CTSVC_SIM_CARD_TYPE_USIM, 2));
  EXPECT_EQ(1u, log.Assertions().size());
  EXPECT_EQ(0x6F3B, CtSvcSimGetTelephonyFileID(CTSVC_SIM_FDN, CTSVC_SIM_CARD_TYPE_GSM));
  EXPECT_EQ(0x6A3B, CtSvcSimGetTelephonyFileID(CTSVC_SIM_FDN, CTSVC_SIM_CARD_TYPE_USIM));
  EXPECT_EQ(0x6A40, CtSvcSimGetTelephonyFileID(CTSVC_SIM_MSISDN, CTSVC_SIM_CARD_TYPE_USIM));
  card.m_bCphs = 1;
  EXPECT_EQ(0x6F19, CCtSvcSdnFile().GetTelephonyFileID());
}

TEST(CtSvcUsimFiles, CountersAreBigEndianAndWrittenWholeFromTheStart) {
  FakeDevSim card;
  FakeDevSim::File& file = card.AddFile(0xFF04, 4, 1, 4);
  file.bTransparent = true;
  file.vcRecord[0] = {0x00, 0x01, 0x02, 0x03};
  FakeDevSim::File& cc = card.AddFile(0xFF05, 2, 1, 2);
  cc.bTransparent = true;
  cc.vcRecord[0] = {0x12, 0x34};
  CCtSvcPscFile psc;
  CCtSvcCcFile ccFile;
  ASSERT_EQ(1, Load(card, psc));
  ASSERT_EQ(1, Load(card, ccFile));
  EXPECT_EQ(0x00010203u, psc.GetValue());
  EXPECT_EQ(0x1234u, ccFile.GetValue());
  EXPECT_EQ(1, card.Reads(0xFF04));
  psc.SetValue(0x0A0B0C0D);
  ResultListener listener;
  ASSERT_TRUE(psc.UpdateRecord(0, &listener));
  card.Pump();
  EXPECT_EQ(Bytes({0x0A, 0x0B, 0x0C, 0x0D}), card.Record(0xFF04, 0));
}

}  // namespace
}  // namespace ctsvc_sim_test
