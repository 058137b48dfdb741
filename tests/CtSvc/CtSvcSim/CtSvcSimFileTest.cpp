// The SIM file base and the dialling-number and extension files, on a fake card: the load
// sequence, the alpha and number codecs both ways, extension digits, the fingerprint and free
// records.
#include <openssl/sha.h>

#include <cstdio>

#include "CtSvcSim/SimFile/CtSvcDialNumberFile.h"
#include "SimFakeDevice.h"
#include "ZelCoreTest.h"
#include "ZelTapiTest.h"

namespace ctsvc_sim_test {
namespace {

constexpr int kGsmAdn = 0x6F3A;
constexpr int kGsmExt1 = 0x6F4A;
constexpr int kUsimAdn = 0xFF07;

std::string Hex(const UINT8* p, size_t n) {
  std::string str;
  for (size_t i = 0; i < n; ++i) {
    char sz[4];
    std::snprintf(sz, sizeof(sz), "%x", p[i]);
    str += sz;
  }
  return str;
}

std::string Name(const CCtSvcDialNumberFile& file, int i) {
  char sz[CTSVC_SIM_DIAL_NAME_SIZE] = {};
  return file.GetName(i, sz, sizeof(sz)) ? sz : "<none>";
}

std::string Presented(const CCtSvcDialNumberFile& file, int i, const CCtSvcExtFile* pExt = nullptr) {
  char sz[CTSVC_SIM_DIAL_NUMBER_SIZE] = {};
  return file.GetPresentedNumber(i, pExt, sz, sizeof(sz)) ? sz : "<none>";
}

struct LoadCase {
  const char* pszWhat;
  int nCardType;
  bool bSearchFails;
  bool bSearchNotSent;
  std::vector<int> vcUsed;        // 0-based used records of a 10-record file
  std::vector<int> vcReadOrder;   // record numbers read
};

TEST(CtSvcSimFileLoad, ReadsOnlyWhatTheSearchLeavesAndFallsBackToEveryRecord) {
  const std::vector<int> kAll = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const LoadCase kCases[] = {
      {"USIM, every record empty: no read at all", CTSVC_SIM_CARD_TYPE_USIM, false, false, {}, {}},
      {"USIM, two used records: only they are read", CTSVC_SIM_CARD_TYPE_USIM, false, false, {2, 6}, {3, 7}},
      {"USIM, every record used: all read", CTSVC_SIM_CARD_TYPE_USIM, false, false, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, kAll},
      {"USIM, search fails: every record in order", CTSVC_SIM_CARD_TYPE_USIM, true, false, {4}, kAll},
      {"USIM, search cannot be sent: every record", CTSVC_SIM_CARD_TYPE_USIM, false, true, {4}, kAll},
      {"GSM card: no search, every record", CTSVC_SIM_CARD_TYPE_GSM, false, false, {}, kAll},
  };
  for (const LoadCase& c : kCases) {
    SCOPED_TRACE(c.pszWhat);
    FakeDevSim card;
    card.m_nCardType = c.nCardType;
    card.m_bSearchFails = c.bSearchFails;
    card.m_bRefuseSearch = c.bSearchNotSent;
    const int nFileID = c.nCardType == CTSVC_SIM_CARD_TYPE_GSM ? kGsmAdn : kUsimAdn;
    card.AddFile(nFileID, 28, 10, sizeof(SimDialNumberInfo));
    for (int i : c.vcUsed) {
      card.SetRecord(nFileID, i, DialRecord(Text("N" + std::to_string(i)), "123"));
    }
    CCtSvcAdnFile adn(0);
    EXPECT_EQ(1, Load(card, adn));
    EXPECT_EQ(c.vcReadOrder, card.ReadOrder());
    EXPECT_FALSE(adn.IsLoading());
    ASSERT_EQ(10, adn.GetMaxRecordCount());
    for (int i = 0; i < 10; ++i) {
      const bool bUsed = std::find(c.vcUsed.begin(), c.vcUsed.end(), i) != c.vcUsed.end();
      EXPECT_EQ(bUsed, adn.IsUsed(i) != FALSE) << i;
    }
  }
}

TEST(CtSvcSimFileLoad, AFirstRequestThatCannotBeSentEndsTheLoadAsFailed) {
  FakeDevSim card;
  card.AddFile(kUsimAdn, 28, 3, sizeof(SimDialNumberInfo));
  card.m_bRefuseSends = true;
  CCtSvcAdnFile adn(0);
  ResultListener listener;
  EXPECT_FALSE(adn.LoadFile(&listener));
  EXPECT_EQ(1, listener.nLoadedCalls);
  EXPECT_EQ(0, listener.nLoaded);
  EXPECT_FALSE(adn.IsLoading());
  card.m_bRefuseSends = false;  // a new load can start
  EXPECT_EQ(1, Load(card, adn));
}

TEST(CtSvcSimFileLoad, ASecondLoadWhileLoadingAndFilesTheCardLacksAreRefused) {
  FakeDevSim card;
  card.AddFile(kUsimAdn, 28, 3, sizeof(SimDialNumberInfo));
  CCtSvcAdnFile adn(0);
  ResultListener listener;
  zel::test::LogCapture log;
  ASSERT_TRUE(adn.LoadFile(&listener));
  EXPECT_FALSE(adn.LoadFile(&listener));
  EXPECT_TRUE(log.HasAssertion("m_pLoadInfo == NULL"));
  card.Pump();
  EXPECT_EQ(1, listener.nLoaded);

  CCtSvcFdnFile fdn;  // not on the card
  EXPECT_EQ(0, Load(card, fdn));
  card.AddFile(0x6F3B, 0, 3, sizeof(SimDialNumberInfo));
  EXPECT_EQ(0, Load(card, fdn));
  EXPECT_TRUE(log.Contains("this SIM file is invalid (SimFileID = 1, record length(0))"));
}

TEST(CtSvcSimFileDecode, RecordsBecomeNamesAndPresentedNumbers) {
  zel::test::ClearTapiImsi();
  struct Case {
    const char* pszWhat;
    Bytes record;
    const char* pszName;  // null: the slot stays empty
    const char* pszNumber;
    int nInternational;
  };
  SimDialNumberInfo unused{};
  unused.alphaLen = 4;
  SimDialNumberInfo blank{};
  blank.used = 1;
  const Case kCases[] = {
      {"used 0", AsBytes(unused), nullptr, nullptr, 0},
      {"used 1, neither alpha nor digits", AsBytes(blank), nullptr, nullptr, 0},
      {"GSM alpha, national number", DialRecord(Text("Voice Mail"), "0301234"), "Voice Mail", "0301234", 0},
      {"international number", DialRecord(Text("Int"), "4930123", 1), "Int", "+4930123", 1},
      {"service string with TON 1", DialRecord(Text("Fwd"), "**21*4930#", 1), "Fwd", "**21*+4930#", 0},
      {"service string with TON 0", DialRecord(Text("Fwd"), "**21*4930#", 0), "Fwd", "**21*4930#", 0},
      {"no name, only a number", DialRecord({}, "112"), "", "112", 0},
      {"UCS2 0x80 Cyrillic", DialRecord({0x80, 0x04, 0x18, 0x04, 0x32, 0xFF, 0xFF}, "1"), "Ив", "1", 0},
      {"UCS2 0x81", DialRecord({0x81, 0x02, 0x08, 0x98, 0xB2}, "1"), "Ив", "1", 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.pszWhat);
    FakeDevSim card;
    card.m_nCardType = CTSVC_SIM_CARD_TYPE_GSM;
    card.AddFile(kGsmAdn, 28, 1, sizeof(SimDialNumberInfo));
    card.SetRecord(kGsmAdn, 0, c.record);
    CCtSvcAdnFile adn;
    ASSERT_EQ(1, Load(card, adn));
    if (c.pszName == nullptr) {
      EXPECT_FALSE(adn.IsUsed(0));
      continue;
    }
    EXPECT_EQ(c.pszName, Name(adn, 0));
    EXPECT_EQ(c.pszNumber, Presented(adn, 0));
    EXPECT_EQ(c.nInternational, adn.GetInternational(0));
  }
}

// Writes (name, number) into record 1 of a 28-byte ADN (alpha field 14) and answers the record
// structure the card was given.
SimDialNumberInfo Written(FakeDevSim& card, CCtSvcAdnFile& adn, const char* pszName, const char* pszNumber) {
  EXPECT_TRUE(adn.PrepareInsertRecord(0));
  adn.SetName(0, pszName);
  adn.SetPhoneNumber(0, pszNumber);
  ResultListener listener;
  EXPECT_TRUE(adn.UpdateRecord(0, &listener));
  card.Pump();
  EXPECT_EQ(1, listener.nUpdated);
  return FromBytes<SimDialNumberInfo>(card.Record(kGsmAdn, 0));
}

TEST(CtSvcSimFileEncode, NamesFitTheAlphaFieldAndNumbersKeepTheirPlusAsTon) {
  struct Case {
    const char* pszName;
    const char* pszNumber;
    Bytes alpha;  // empty: checked by the form only
    int nForm;    // 0 GSM, 1 UCS2
    const char* pszDigits;
    UINT32 nTon;
  };
  const Case kCases[] = {
      {"ABCDEFGHIJKLMNOPQRST", "0301234", Text("ABCDEFGHIJKLMN"), 0, "0301234", 0},
      {"\xE2\x82\xAC" "uro", "1", {0x1B, 0x65, 'u', 'r', 'o'}, 0, "1", 0},
      {"ABCDEFGHIJKLM\xE2\x82\xAC", "1", Text("ABCDEFGHIJKLM"), 0, "1", 0},
      {"ABCDEFGHIJKL\xE2\x82\xAC", "1", {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 0x1B, 0x65}, 0, "1", 0},
      {"\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD", "+4930123", {}, 1, "4930123", 1},
      {"Fwd", "**21*+4930123#", Text("Fwd"), 0, "**21*4930123#", 1},
      {"", "112", {}, 0, "112", 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.pszName);
    FakeDevSim card;
    card.m_nCardType = CTSVC_SIM_CARD_TYPE_GSM;
    card.AddFile(kGsmAdn, 28, 1, sizeof(SimDialNumberInfo));
    CCtSvcAdnFile adn;
    ASSERT_EQ(1, Load(card, adn));
    const SimDialNumberInfo info = Written(card, adn, c.pszName, c.pszNumber);
    EXPECT_EQ(1u, info.used);
    EXPECT_EQ(14u, info.alphaFieldLen);
    ASSERT_LE(info.alphaLen, 14u);
    if (c.nForm == 1) {
      EXPECT_GE(info.szAlphaID[0], 0x80);
      EXPECT_LE(info.szAlphaID[0], 0x82);
    } else {
      EXPECT_EQ(c.alpha, Bytes(info.szAlphaID, info.szAlphaID + info.alphaLen));
    }
    EXPECT_STREQ(c.pszDigits, info.szNumber);
    EXPECT_EQ(std::strlen(c.pszDigits), info.numberLen);
    EXPECT_EQ(c.nTon, info.ton);
    EXPECT_EQ(1u, info.npi);
    EXPECT_EQ(0xFF, info.capabilityId);
    EXPECT_EQ(0xFF, info.extensionId);

    // Read back: the same name (as far as it fitted) and number.
    CCtSvcAdnFile reread;
    ASSERT_EQ(1, Load(card, reread));
    EXPECT_EQ(c.pszNumber, Presented(reread, 0));
    if (c.nForm == 1) {
      EXPECT_EQ(c.pszName, Name(reread, 0));
    }
  }
}

TEST(CtSvcSimFileEncode, ADeleteErasesTheRecordAndTheWriteCarriesTheExtensionLink) {
  FakeDevSim card;
  card.m_nCardType = CTSVC_SIM_CARD_TYPE_GSM;
  card.AddFile(kGsmAdn, 28, 2, sizeof(SimDialNumberInfo));
  card.AddFile(kGsmExt1, 13, 2, sizeof(SimExtInfo));
  CCtSvcAdnFile adn;
  ASSERT_EQ(1, Load(card, adn));
  ASSERT_TRUE(adn.PrepareInsertRecord(1));
  adn.SetPhoneNumber(1, "01234567890123456789");
  adn.SetExtIndex(1, 0);
  ResultListener listener;
  ASSERT_TRUE(adn.UpdateRecord(1, &listener));
  card.Pump();
  EXPECT_EQ(1, FromBytes<SimDialNumberInfo>(card.Record(kGsmAdn, 1)).extensionId);
  ASSERT_TRUE(adn.DeleteRecord(1, &listener));
  card.Pump();
  const SimDialNumberInfo erased = FromBytes<SimDialNumberInfo>(card.Record(kGsmAdn, 1));
  EXPECT_EQ(0u, erased.used);
  EXPECT_EQ(0u, erased.alphaLen);
  EXPECT_EQ(0u, erased.numberLen);

  CCtSvcExt1File ext;
  ASSERT_EQ(1, Load(card, ext));
  ASSERT_TRUE(ext.PrepareInsertRecord(0));
  ext.SetRecordType(0, CTSVC_SIM_EXT_TYPE_ADDITIONAL_DATA);
  ext.SetExtensionData(0, "0123456789012345678901234");  // cut to 21
  ASSERT_TRUE(ext.UpdateRecord(0, &listener));
  card.Pump();
  const SimExtInfo written = FromBytes<SimExtInfo>(card.Record(kGsmExt1, 0));
  EXPECT_EQ(21, written.dataLen);
  EXPECT_EQ(2u, written.recordType);
  ASSERT_TRUE(ext.DeleteRecord(0, &listener));
  card.Pump();
  const SimExtInfo deleted = FromBytes<SimExtInfo>(card.Record(kGsmExt1, 0));
  EXPECT_EQ(0u, deleted.used);
  EXPECT_EQ(0xFFu, deleted.recordType);
  EXPECT_EQ(Bytes(22, 0xFF), Bytes(deleted.extData, deleted.extData + 22));
}

TEST(CtSvcSimFileExtension, ALongNumberReadsOnThroughItsFirstExtensionRecordOnly) {
  FakeDevSim card;
  card.m_nCardType = CTSVC_SIM_CARD_TYPE_GSM;
  card.AddFile(kGsmAdn, 28, 4, sizeof(SimDialNumberInfo));
  card.AddFile(kGsmExt1, 13, 3, sizeof(SimExtInfo));
  card.SetRecord(kGsmAdn, 0, DialRecord(Text("Long"), "01234567890123456789", 0, 1));
  card.SetRecord(kGsmAdn, 1, DialRecord(Text("Other type"), "11111", 0, 2));
  card.SetRecord(kGsmAdn, 2, DialRecord(Text("Beyond"), "22222", 0, 9));
  card.SetRecord(kGsmAdn, 3, DialRecord(Text("Intl"), "49", 1, 1));
  SimExtInfo ext{};
  ext.used = 1;
  ext.recordType = 2;
  ext.dataLen = 10;
  std::strcpy(ext.extData, "0123456789");
  ext.nextRecord = 2;  // chains are not followed
  card.SetRecord(kGsmExt1, 0, AsBytes(ext));
  ext.recordType = 1;
  card.SetRecord(kGsmExt1, 1, AsBytes(ext));
  ext.recordType = 2;
  std::strcpy(ext.extData, "99");
  card.SetRecord(kGsmExt1, 2, AsBytes(ext));
  CCtSvcAdnFile adn;
  CCtSvcExt1File ext1;
  ASSERT_EQ(1, Load(card, adn));
  ASSERT_EQ(1, Load(card, ext1));
  EXPECT_EQ(CTSVC_SIM_EXT1, adn.GetExtFileID());
  EXPECT_EQ("012345678901234567890123456789", Presented(adn, 0, &ext1));
  EXPECT_EQ("11111", Presented(adn, 1, &ext1));
  EXPECT_EQ("22222", Presented(adn, 2, &ext1));
  EXPECT_EQ("+490123456789", Presented(adn, 3, &ext1));
  EXPECT_EQ(2, ext1.GetNextRecord(0));
}

TEST(CtSvcSimFileDecode, A0x90AlphaIsKsc5601OnlyOnAKoreanCard) {
  struct Case {
    const char* pszMcc;
    Bytes alpha;
    UINT32 nFieldLen;
    const char* pszName;
  };
  const Bytes kKsc = {0x90, 0x41, 0xB0, 0xA1};  // two syllables in CP949
  const Bytes kFull = {0x90, 0x41, 0x01, 0xB0, 0xA1, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  const Case kCases[] = {
      {"450", kKsc, 14, "\xEB\xA5\x9A\xEA\xB0\x80"},
      {"450", kFull, 14, "\xEB\xA5\x9A"},  // fills the field: ends at 0x01
      {"262", kKsc, 14, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.pszMcc);
    ASSERT_TRUE(zel::test::SetTapiImsi(c.pszMcc, "05", "1234567890"));
    FakeDevSim card;
    card.m_nCardType = CTSVC_SIM_CARD_TYPE_GSM;
    card.AddFile(kGsmAdn, 28, 1, sizeof(SimDialNumberInfo));
    card.SetRecord(kGsmAdn, 0, DialRecord(c.alpha, "1", 0, 0xFF, c.nFieldLen));
    CCtSvcAdnFile adn;
    ASSERT_EQ(1, Load(card, adn));
    EXPECT_EQ(c.pszName, Name(adn, 0));

    CCtSvcSdnFile sdn;  // never KSC
    card.AddFile(0x6F49, 28, 1, sizeof(SimDialNumberInfo));
    card.SetRecord(0x6F49, 0, DialRecord(c.alpha, "1", 0, 0xFF, c.nFieldLen));
    ASSERT_EQ(1, Load(card, sdn));
    EXPECT_EQ("", Name(sdn, 0));
  }
  zel::test::ClearTapiImsi();
}

TEST(CtSvcSimFileFingerprint, TwoHundredFiftyRecordsGiveFourChunkDigests) {
  FakeDevSim card;
  card.m_nCardType = CTSVC_SIM_CARD_TYPE_GSM;
  card.AddFile(kGsmAdn, 28, 250, sizeof(SimDialNumberInfo));
  CCtSvcAdnFile adn;
  ASSERT_EQ(1, Load(card, adn));
  UINT8 aFull[SHA_DIGEST_LENGTH];
  UINT8 aLast[SHA_DIGEST_LENGTH];
  const std::vector<UINT8> vcZeros(70 * 168, 0);
  SHA1(vcZeros.data(), 70 * 168, aFull);
  SHA1(vcZeros.data(), 40 * 168, aLast);
  const std::string strFull = Hex(aFull, sizeof(aFull));
  std::string strValue;
  ASSERT_TRUE(adn.GetSHA1Value(&strValue));
  EXPECT_EQ(strFull + strFull + strFull + Hex(aLast, sizeof(aLast)), strValue);

  // A name in record 100 changes only the second digest.
  ASSERT_TRUE(adn.PrepareInsertRecord(100));
  adn.SetName(100, "A");
  std::string strChanged;
  ASSERT_TRUE(adn.GetSHA1Value(&strChanged));
  EXPECT_NE(strValue, strChanged);
  const std::string strTail = strFull + Hex(aLast, sizeof(aLast));
  EXPECT_EQ(0u, strChanged.find(strFull));
  ASSERT_GT(strChanged.size(), strTail.size());
  EXPECT_EQ(strTail, strChanged.substr(strChanged.size() - strTail.size()));
}

TEST(CtSvcSimFileSlots, FreeIndexesAndCheckedAccessors) {
  FakeDevSim card;
  card.m_nCardType = CTSVC_SIM_CARD_TYPE_GSM;
  card.AddFile(0x6F3B, 28, 3, sizeof(SimDialNumberInfo));
  for (int i = 0; i < 3; ++i) {
    card.SetRecord(0x6F3B, i, DialRecord(Text("F"), "1"));
  }
  CCtSvcFdnFile fdn;
  ASSERT_EQ(1, Load(card, fdn));
  zel::test::LogCapture log;
  EXPECT_EQ(-1, fdn.GetUnusedRecordIndex());
  EXPECT_TRUE(log.Contains("CCtSvcSimFile::GetUnusedRecordIndex -SIM file is full"));
  ASSERT_TRUE(fdn.FreeRecord(1));
  EXPECT_EQ(1, fdn.GetUnusedRecordIndex());

  char sz[8];
  EXPECT_FALSE(fdn.GetName(1, sz, sizeof(sz)));
  EXPECT_TRUE(log.HasAssertion("m_vcpFdnRecord[nRecordIndex]"));
  EXPECT_EQ(-1, fdn.GetExtIndex(3));
  EXPECT_TRUE(log.HasAssertion("nRecordIndex >= 0 && nRecordIndex < (int)m_vcpFdnRecord.size()"));
  EXPECT_FALSE(fdn.GetPhoneNumber(0, nullptr, 8));
  EXPECT_TRUE(fdn.SetName(0, std::string(200, 'x').c_str()));
  char szLong[200];
  ASSERT_TRUE(fdn.GetName(0, szLong, sizeof(szLong)));
  EXPECT_EQ(120u, std::strlen(szLong));
}

}  // namespace
}  // namespace ctsvc_sim_test
