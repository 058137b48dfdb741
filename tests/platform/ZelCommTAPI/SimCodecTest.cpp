#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ZelSimCodec.h"

namespace {

using zel::sim::Bytes;
using zel::sim::RecordKind;

Bytes Hex(const std::string& hex) {
  bool bOk = false;
  Bytes bytes = zel::sim::HexToBytes(hex, &bOk);
  EXPECT_TRUE(bOk) << hex;
  return bytes;
}

template <typename T>
T Decode(RecordKind kind, const Bytes& raw, uint16_t nFileId = 0) {
  T info;
  zel::sim::DecodeRecord(kind, raw.data(), raw.size(), nFileId, &info);
  return info;
}

template <typename T>
Bytes Encode(RecordKind kind, const T& info, size_t nLen, bool bExpectOk = true) {
  Bytes raw(nLen, 0xEE);
  EXPECT_EQ(zel::sim::EncodeRecord(kind, &info, raw.data(), raw.size()), bExpectOk);
  return raw;
}

std::string Presented(const SimDialNumberInfo& info) { return (info.ton == 1 ? "+" : "") + std::string(info.szNumber); }

// Rows of a tab-separated file of the shared test data (beside the source tree, or beside the
// repository of a work tree kept one level deeper); empty when it is absent.
std::vector<std::vector<std::string>> TestDataRows(const char* pszFile) {
  const std::string source = __FILE__;
  const std::string root = source.substr(0, source.rfind("/tests/"));
  const char* pszDir = std::getenv("CTSVC_TESTDATA");
  std::ifstream in;
  for (const std::string& dir : {std::string(pszDir != nullptr ? pszDir : ""), root + "/../shared/testdata",
                                 root + "/../../shared/testdata"}) {
    if (!dir.empty() && !in.is_open()) {
      in.open(dir + "/" + pszFile);
    }
  }
  std::vector<std::vector<std::string>> rows;
  std::string line;
  for (bool bHeader = true; std::getline(in, line); bHeader = false) {
    if (bHeader || line.empty()) {
      continue;
    }
    std::vector<std::string> cells;
    std::stringstream ss(line);
    for (std::string cell; std::getline(ss, cell, '\t');) {
      cells.push_back(cell);
    }
    cells.resize(4);
    rows.push_back(cells);
  }
  return rows;
}

TEST(SimCodec, SharedAdnRecordsDecodeToTheirNameAndNumberAndEncodeBackToTheSameBytes) {
  const auto rows = TestDataRows("adn-records.tsv");
  if (rows.empty()) {
    GTEST_SKIP() << "adn-records.tsv not found (CTSVC_TESTDATA or ../shared/testdata)";
  }
  for (const auto& row : rows) {
    const Bytes raw = Hex(row[0]);
    const auto info = Decode<SimDialNumberInfo>(RecordKind::DialNumber, raw);
    if (row[1].empty() && row[2].empty()) {
      EXPECT_EQ(info.used, 0u) << row[3];
      continue;
    }
    EXPECT_EQ(info.alphaFieldLen, raw.size() - 14) << row[3];
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(info.szAlphaID), info.alphaLen), row[1]) << row[3];
    EXPECT_EQ(Presented(info), row[2]) << row[3];
    EXPECT_EQ(info.numberLen, std::string(info.szNumber).size());
    EXPECT_EQ(Encode(RecordKind::DialNumber, info, raw.size()), raw) << row[3];
  }
}

TEST(SimCodec, SharedAlphaIdentifiersEndAtTheirPaddingOrStatedLength) {
  const auto rows = TestDataRows("sim-alpha.tsv");
  if (rows.empty()) {
    GTEST_SKIP() << "sim-alpha.tsv not found (CTSVC_TESTDATA or ../shared/testdata)";
  }
  for (const auto& row : rows) {
    std::string meaningful = row[0];
    while (meaningful.size() >= 2 && (meaningful.substr(meaningful.size() - 2) == "FF")) {
      meaningful.resize(meaningful.size() - 2);
    }
    const Bytes raw = Hex(row[0]);
    EXPECT_EQ(zel::sim::AlphaLength(raw.data(), raw.size()), meaningful.size() / 2) << row[2];
  }
}

TEST(SimCodec, DiallingNumberFooterCases) {
  const struct {
    const char* pszHex;
    const char* pszNumber;  // as presented
    UINT32 nAlphaLen;
    UINT8 nExt;
    const char* pszNote;
  } kCases[] = {
      {"414243FFFFFF" "0481" "1A2B3CFFFFFFFFFFFFFF" "FF05", "*1#2,3", 3, 5, "star, hash, pause; ext id 5"},
      {"4142FFFF" "0F91" "21436587092143658709" "FFFF", "+12345678901234567890", 2, 0xFF, "length byte beyond the field"},
      {"4142FFFF" "0691" "2143F5FFFFFFFFFFFFFF" "FFFF", "+12345", 2, 0xFF, "filler ends the number"},
      {"41424344" "FFFF" "FFFFFFFFFFFFFFFFFFFF" "FFFF", "", 4, 0xFF, "name only"},
      {"FFFFFFFF" "0181" "FFFFFFFFFFFFFFFFFFFF" "FFFF", "", 0, 0xFF, "used, neither name nor digits"},
      {"8004" "0481" "1A2B3C", nullptr, 0, 0xFF, "cut record: read as a footer, nothing beyond it"},
      {"0581", "", 0, 0xFF, "record shorter than the footer"},
  };
  for (const auto& c : kCases) {
    const Bytes raw = Hex(c.pszHex);
    const auto info = Decode<SimDialNumberInfo>(RecordKind::DialNumber, raw);
    EXPECT_EQ(info.used, 1u) << c.pszNote;
    if (c.pszNumber != nullptr) {
      EXPECT_EQ(Presented(info), c.pszNumber) << c.pszNote;
    }
    EXPECT_EQ(info.alphaLen, c.nAlphaLen) << c.pszNote;
    if (raw.size() >= 14) {
      EXPECT_EQ(info.extensionId, c.nExt) << c.pszNote;
    }
  }
}

TEST(SimCodec, DiallingNumberEncodingRefusesWhatTheRecordCannotHold) {
  SimDialNumberInfo info{};
  info.used = 1;
  info.alphaLen = 3;
  std::memcpy(info.szAlphaID, "Bob", 3);
  info.ton = 1;
  info.npi = 1;
  std::strcpy(info.szNumber, "4930123");
  info.capabilityId = 0xFF;
  info.extensionId = 2;
  EXPECT_EQ(Encode(RecordKind::DialNumber, info, 18), Hex("426F62FF" "0591" "940321F3FFFFFFFFFFFF" "FF02"));
  std::string why;
  Bytes raw(18, 0xEE);
  std::strcpy(info.szNumber, "12a4");
  EXPECT_FALSE(zel::sim::EncodeRecord(RecordKind::DialNumber, &info, raw.data(), raw.size(), &why));
  EXPECT_EQ(raw, Bytes(18, 0xEE));  // untouched
  EXPECT_NE(why.find("not a BCD digit"), std::string::npos);
  std::strcpy(info.szNumber, "123456789012345678901");
  EXPECT_FALSE(zel::sim::EncodeRecord(RecordKind::DialNumber, &info, raw.data(), raw.size(), &why));
  std::strcpy(info.szNumber, "1");
  info.alphaLen = 5;  // the field holds 4
  EXPECT_FALSE(zel::sim::EncodeRecord(RecordKind::DialNumber, &info, raw.data(), raw.size(), &why));
  info.used = 0;  // an erase needs nothing else
  EXPECT_EQ(Encode(RecordKind::DialNumber, info, 18), Bytes(18, 0xFF));
}

TEST(SimCodec, ExtensionRecords) {
  const auto ext = Decode<SimExtInfo>(RecordKind::Ext, Hex("02051032547698FFFFFFFFFF03"));
  EXPECT_EQ(ext.used, 1u);
  EXPECT_EQ(ext.recordType, 2u);
  EXPECT_STREQ(ext.extData, "0123456789");
  EXPECT_EQ(ext.dataLen, 10);
  EXPECT_EQ(ext.nextRecord, 3);
  EXPECT_EQ(Encode(RecordKind::Ext, ext, 13), Hex("02051032547698FFFFFFFFFF03"));
  // A length beyond the 10 data bytes reads the 10 there are; a record pointing at itself is
  // passed on as stored (following a chain is the reader's business).
  const auto longExt = Decode<SimExtInfo>(RecordKind::Ext, Hex("02FF" "11111111111111111111" "01"));
  EXPECT_STREQ(longExt.extData, "");
  const auto cut = Decode<SimExtInfo>(RecordKind::Ext, Hex("020E" "21436587092143658709" "01"));
  EXPECT_STREQ(cut.extData, "12345678901234567890");
  EXPECT_EQ(cut.nextRecord, 0x01);
  EXPECT_EQ(Decode<SimExtInfo>(RecordKind::Ext, Bytes(13, 0xFF)).used, 0u);
}

TEST(SimCodec, PbrRecordsListTheirFilesInOrderWhateverTheirShape) {
  const char* const kRecord =
      "A815" "C0034F3A02" "C4024F11" "C4024F12" "C9024F21" "D0021234"  // ANR twice, an unknown file tag
      "AB04" "C0024F99"                                                // an unknown constructed tag
      "A904" "CA024F50"
      "AA8104" "C2024F4A"                                              // a long-form length
      "FFFFFFFF";
  const auto pbr = Decode<SimPbrInfo>(RecordKind::Pbr, Hex(kRecord));
  ASSERT_EQ(pbr.used, 1u);
  const struct {
    UINT32 nTag, nConstructed, nId;
    UINT8 nSfi;
  } kExpected[] = {{0xC0, 0xA8, 0x4F3A, 2}, {0xC4, 0xA8, 0x4F11, 0}, {0xC4, 0xA8, 0x4F12, 0}, {0xC9, 0xA8, 0x4F21, 0},
                   {0xD0, 0xA8, 0x1234, 0}, {0xCA, 0xA9, 0x4F50, 0}, {0xC2, 0xAA, 0x4F4A, 0}};
  ASSERT_EQ(pbr.entryCount, std::size(kExpected));
  for (size_t i = 0; i < std::size(kExpected); ++i) {
    EXPECT_EQ(pbr.entries[i].fileTag, kExpected[i].nTag) << i;
    EXPECT_EQ(pbr.entries[i].constructedTag, kExpected[i].nConstructed) << i;
    EXPECT_EQ(pbr.entries[i].fileID, kExpected[i].nId) << i;
    EXPECT_EQ(pbr.entries[i].sfi, kExpected[i].nSfi) << i;
  }
  const Bytes again = Encode(RecordKind::Pbr, pbr, 48);
  const auto reread = Decode<SimPbrInfo>(RecordKind::Pbr, again);
  EXPECT_EQ(std::memcmp(&reread, &pbr, sizeof(pbr)), 0);
  // A record cut inside a constructed tag keeps the entries that are whole.
  const auto cut = Decode<SimPbrInfo>(RecordKind::Pbr, Hex("A810C0034F3A02C4024F"));
  ASSERT_EQ(cut.entryCount, 1);
  EXPECT_EQ(cut.entries[0].fileID, 0x4F3Au);
  EXPECT_EQ(Decode<SimPbrInfo>(RecordKind::Pbr, Bytes(20, 0xFF)).used, 0u);
}

TEST(SimCodec, LinkedAndSmallUsimRecords) {
  const auto email = Decode<SimTextInfo>(RecordKind::EmailLinked, Hex("61406232632EFFFF0205"), 0x4F50);
  EXPECT_EQ(email.used, 1u);
  EXPECT_EQ(email.fileID, 0x4F50);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(email.text), email.textLen), "a@b2c.");
  EXPECT_EQ(email.adnSfi, 2);
  EXPECT_EQ(email.adnRecordNum, 5);
  EXPECT_EQ(Encode(RecordKind::EmailLinked, email, 10), Hex("61406232632EFFFF0205"));

  const auto anr = Decode<SimAnrInfo>(RecordKind::AnrLinked, Hex("02" "0391" "2143FFFFFFFFFFFFFFFF" "FFFF" "0307"));
  EXPECT_EQ(anr.aasRecordNum, 2);
  EXPECT_EQ(anr.ton, 1u);
  EXPECT_STREQ(anr.szNumber, "1234");
  EXPECT_EQ(anr.adnSfi, 3);
  EXPECT_EQ(anr.adnRecordNum, 7);
  EXPECT_EQ(Encode(RecordKind::AnrLinked, anr, 17), Hex("02" "0391" "2143FFFFFFFFFFFFFFFF" "FFFF" "0307"));
  EXPECT_EQ(Decode<SimAnrInfo>(RecordKind::Anr, Hex("FF" "0381" "2143FFFFFFFFFFFFFFFF" "FFFF")).aasRecordNum, 0);

  const auto grp = Decode<SimGrpInfo>(RecordKind::Grp, Hex("030007FF00"));
  EXPECT_EQ(grp.used, 1u);
  EXPECT_EQ(grp.count, 5);
  EXPECT_EQ(std::vector<int>(grp.groupRecordNum, grp.groupRecordNum + 5), (std::vector<int>{3, 0, 7, 0, 0}));
  EXPECT_EQ(Encode(RecordKind::Grp, grp, 5), Hex("0300070000"));
  EXPECT_EQ(Decode<SimGrpInfo>(RecordKind::Grp, Hex("0000FF")).used, 0u);

  const auto iap = Decode<SimIapInfo>(RecordKind::Iap, Hex("02FF00"));
  EXPECT_EQ(iap.used, 1u);
  EXPECT_EQ(std::vector<int>(iap.recordNum, iap.recordNum + 4), (std::vector<int>{2, 0xFF, 0xFF, 0xFF}));

  EXPECT_EQ(Decode<SimUidInfo>(RecordKind::Uid, Hex("0105")).uid, 0x0105);
  EXPECT_EQ(Decode<SimUidInfo>(RecordKind::Uid, Hex("FFFF")).used, 0u);
  const auto pbc = Decode<SimPbcInfo>(RecordKind::Pbc, Hex("0105"));
  EXPECT_EQ(pbc.entryControl, 1u);
  EXPECT_EQ(pbc.hiddenKeyPresent, 1u);
  EXPECT_EQ(pbc.hiddenKey, 5u);
  EXPECT_EQ(Decode<SimPbcInfo>(RecordKind::Pbc, Hex("0000")).hiddenKeyPresent, 0u);
}

}  // namespace
