#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../ZelCore/CoreTestSupport.h"
#include "ZelSim.h"
#include "ZelSimSampleCard.h"
#include "ZelSimTest.h"
#include "ZelTapi.h"

namespace {

std::string Card(const std::string& files, const std::string& extra = "") {
  return "{\"type\": \"sim\", \"iccid\": \"8982001234567890123\", \"imsi\": \"450051234567890\"" + extra +
         ", \"files\": [" + files + "]}";
}

const char* const kAdn =
    "{\"name\": \"ADN\", \"id\": \"6F3A\", \"path\": \"7F10\", \"structure\": \"linear\", \"record_length\": 16, "
    "\"records\": [\"41FFFF0391214365FFFFFFFFFFFFFFFF\"]}";

class SimCardTest : public ::testing::Test {
 protected:
  void SetUp() override { zel::test::ResetSim(); }
  void TearDown() override { zel::test::ResetSim(); }
};

TEST_F(SimCardTest, BadCardTextsAreRefusedWithWhereAndWhy) {
  const struct {
    std::string text;
    const char* pszWhy;
  } kCases[] = {
      {"not json", "not JSON: line 1, column 1: expected a value"},
      {"{\"type\": \"sim\",\n \"files\": [],}", "not JSON: line 2, column 14: expected a key in quotes"},
      {"{\"type\": \"sim\", \"type\": \"usim\", \"files\": []}", "duplicate key \"type\""},
      {"{\"type\": \"sim\", \"files\": [", "not JSON: line 1, column 27: unexpected end of text"},
      {"[]", "the card must be a JSON object"},
      {"{\"files\": []}", "\"type\" is missing"},
      {"{\"type\": \"ruim\", \"files\": []}", "\"type\" must be usim, sim or unknown"},
      {"{\"type\": \"sim\"}", "\"files\" must be an array"},
      {Card("", ", \"pin2\": \"12\""), "\"pin2\" must be 4 to 8 digits"},
      {Card("", ", \"sst\": \"ABC\""), "\"sst\" is not hex"},
      {Card("{\"name\": \"XYZ\", \"id\": \"6F3A\", \"structure\": \"linear\"}"), "files[0]: unknown file name \"XYZ\""},
      {Card("{\"name\": \"ADN\", \"id\": \"6F3\", \"structure\": \"linear\"}"), "files[0]: \"id\" must be 4 hex digits"},
      {Card("{\"name\": \"ADN\", \"id\": \"6F3A\", \"structure\": \"transparent\", \"data\": \"\"}"),
       "files[0] (ADN 6F3A): must be linear"},
      {Card("{\"name\": \"ADN\", \"id\": \"6F3A\", \"structure\": \"linear\", \"record_length\": 0, \"records\": []}"),
       "\"record_length\" must be a whole number from 1 to 255"},
      {Card("{\"name\": \"ADN\", \"id\": \"6F3A\", \"structure\": \"linear\", \"record_length\": 16, "
            "\"records\": [\"41FFFF0391214365FFFFFFFFFFFF\"]}"),
       "files[0] (ADN 6F3A): records[0] is 14 bytes, record_length is 16"},
      {Card("{\"name\": \"ADN\", \"id\": \"6F3A\", \"structure\": \"linear\", \"record_length\": 2, "
            "\"records\": [\"FFF\"]}"),
       "records[0] is not a hex string"},
      {Card("{\"name\": \"ADN\", \"id\": \"6F3A\", \"structure\": \"linear\", \"record_length\": 2, "
            "\"records\": [\"FFFF\"], \"read\": \"sometimes\"}"),
       "\"read\" must be always, pin1, pin2 or never"},
      {Card(std::string(kAdn) + ", " + kAdn), "files[1] (ADN 6F3A): a second file with this id in path \"7F10\""},
  };
  ASSERT_TRUE(zel::test::InsertSimCardText(Card(kAdn)));
  for (const auto& c : kCases) {
    std::string why;
    EXPECT_FALSE(zel::test::InsertSimCardText(c.text, &why)) << c.text;
    EXPECT_NE(why.find(c.pszWhy), std::string::npos) << "got: " << why;
  }
  EXPECT_EQ(SimGetCardType(), SIM_CARD_TYPE_GSM);  // the card inserted before stays
}

TEST_F(SimCardTest, DataDirectoryCardIsReadWhenPresentAndARefusedOneLeavesNoCard) {
  zel::coretest::TempDataDir dir;
  EXPECT_EQ(SimGetCardType(), SIM_CARD_TYPE_UNKNOWN);  // no file: no card
  EXPECT_EQ(SimGetCardError(), nullptr);
  std::filesystem::create_directories(dir.Path() + "/sim");
  zel::coretest::WriteHost(dir.Path() + "/sim/card.json", "{\"type\": \"usim\", \"files\": [}");
  {
    zel::test::LogCapture capture;
    EXPECT_EQ(SimGetCardType(), SIM_CARD_TYPE_UNKNOWN);
    EXPECT_EQ(SimGetCardType(), SIM_CARD_TYPE_UNKNOWN);
    EXPECT_EQ(capture.Count("SimCard: - card refused: sim/card.json: not JSON: line 1, column 28"), 1);  // once
  }
  ASSERT_NE(SimGetCardError(), nullptr);
  EXPECT_NE(std::string(SimGetCardError()).find("expected a value"), std::string::npos);
  zel::coretest::WriteHost(dir.Path() + "/sim/card.json",
                           zel::sim::BuildSampleCard(zel::sim::SampleCardType::Usim, false));
  zel::test::ResetSim();
  EXPECT_EQ(SimGetCardType(), SIM_CARD_TYPE_USIM);
  EXPECT_EQ(SimGetCardError(), nullptr);
}

TEST_F(SimCardTest, CardInformationComesFromTheInsertedCard) {
  ASSERT_TRUE(zel::test::InsertSimCardText(zel::sim::BuildSampleCard(zel::sim::SampleCardType::Gsm, false)));
  const SimServiceTableInfo* pSst = SimGetSstInfo();
  ASSERT_NE(pSst, nullptr);
  EXPECT_EQ(std::vector<int>({pSst->adn, pSst->fdn, pSst->sdn, pSst->msisdn, pSst->ext1, pSst->ext2, pSst->ext3,
                              pSst->ext5}),
            std::vector<int>({1, 1, 1, 1, 1, 1, 1, 0}));
  EXPECT_EQ(SimGetUstInfo(), nullptr);
  SimIccidInfo iccid{};
  ASSERT_TRUE(SimGetIccidInfo(&iccid));
  EXPECT_STREQ(iccid.szIccid, "89820012345678901234");
  EXPECT_EQ(iccid.iccid[0], 0x98);  // nibbles swapped as on the card
  EXPECT_EQ(iccid.iccid[9], 0x43);
  TapiImsiInfo imsi{};
  ASSERT_TRUE(SimGetImsiInfo(&imsi));
  EXPECT_STREQ(imsi.szMcc, "450");
  EXPECT_STREQ(imsi.szMsin, "1234567890");
  EXPECT_FALSE(SimGetFdnEnable());
  EXPECT_FALSE(SimSupportCphs());
  EXPECT_EQ(SimGetCphsInfo(), nullptr);

  // A USIM table with only FDN (2) and EXT5 (44); CPHS with information numbers allocated and
  // activated; FDN enabled.
  ASSERT_TRUE(zel::test::InsertSimCardText(
      "{\"type\": \"usim\", \"ust\": \"0200000000080000\", \"cphs\": \"020003\", \"fdn_enabled\": true, "
      "\"files\": []}"));
  const SimServiceTableInfo* pUst = SimGetUstInfo();
  ASSERT_NE(pUst, nullptr);
  EXPECT_EQ(std::vector<int>({pUst->adn, pUst->fdn, pUst->sdn, pUst->msisdn, pUst->ext2, pUst->ext5}),
            std::vector<int>({0, 1, 0, 0, 0, 1}));
  EXPECT_TRUE(SimGetFdnEnable());
  ASSERT_TRUE(SimSupportCphs());
  ASSERT_NE(SimGetCphsInfo(), nullptr);
  EXPECT_EQ(SimGetCphsInfo()->infoNumbers, 1u);
  EXPECT_EQ(SimGetCphsInfo()->infoNumbersActive, 1u);
  EXPECT_FALSE(SimGetIccidInfo(&iccid));
  EXPECT_FALSE(SimGetImsiInfo(&imsi));  // a card without an IMSI

  zel::test::RemoveSimCard();
  EXPECT_EQ(SimGetCardType(), SIM_CARD_TYPE_UNKNOWN);
  EXPECT_EQ(SimGetUstInfo(), nullptr);
}

TEST_F(SimCardTest, PhonebookIdsFollowTheFixedTablePerPbrRecord) {
  const struct {
    int bLocal;
    const char* pszName;
    int nPbr;
    int nOccurrence;
    UINT32 nId;
  } kCases[] = {
      {1, "PBR", 0, 0, 0xFF01},   {0, "PBR", 0, 0, 0xEF01},   {1, "ADN", 0, 0, 0xFF07},   {1, "ADN", 7, 0, 0xFF84},
      {0, "ADN", 1, 0, 0xEF1A},   {0, "ADN", 2, 0, 0xFFFF},   {1, "ANR", 2, 3, 0xFF50},   {1, "EMAIL", 1, 1, 0xFF45},
      {0, "EMAIL", 0, 1, 0xFFFF}, {1, "UID", 0, 0, 0xFF03},   {1, "EXT1", 0, 0, 0xFF0A},  {1, "EXT1", 1, 0, 0xFFFF},
      {1, "ANR", 0, 4, 0xFFFF},   {1, "XYZ", 0, 0, 0xFFFF},   {1, "GRP", 8, 0, 0xFFFF},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(SimPhonebookFileId(c.bLocal, c.pszName, c.nPbr, c.nOccurrence), c.nId)
        << c.pszName << " " << c.nPbr << "/" << c.nOccurrence;
  }
}

TEST_F(SimCardTest, SampleCardsAreValidCardsAndKeepTheirShape) {
  for (const auto type : {zel::sim::SampleCardType::Gsm, zel::sim::SampleCardType::Usim}) {
    for (const bool bEmpty : {false, true}) {
      std::string why;
      const std::string text = zel::sim::BuildSampleCard(type, bEmpty);
      ASSERT_TRUE(zel::test::InsertSimCardText(text, &why)) << why;
      EXPECT_EQ(SimGetCardType(), type == zel::sim::SampleCardType::Gsm ? SIM_CARD_TYPE_GSM : SIM_CARD_TYPE_USIM);
      EXPECT_EQ(zel::test::SimCardText(), text);  // written back unchanged
    }
  }
}

}  // namespace
