// The owner's card: stored under the settings keys, read back with the kinds it had, written as
// "/User/Ct/myaddress.vcf" and removed again when it becomes empty.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcMyProfile.h"
#include "CtSvcTestEnv.h"
#include "CtSvcVCard.h"
#include "ImgTestFiles.h"
#include "ZelAppFrmwk/ZelVCard.h"
#include "ZelReg.h"

namespace {

const char kCard[] =
    "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Owner;Olive\r\nTEL;CELL:0101\r\nTEL;HOME;FAX:0202\r\nTEL;WORK:0303\r\n"
    "EMAIL;INTERNET;HOME:o@home.org\r\nEMAIL;INTERNET:o@x.org\r\nURL;WORK:http://work\r\nURL:http://page\r\n"
    "ADR;HOME:;Flat 2;1 Road;Town;State;12345;Land\r\nNOTE:the note\r\nTITLE:Boss\r\nORG:Org\r\n"
    "NICKNAME:Olly\r\nBDAY:19800229\r\nEND:VCARD\r\n";

class CtSvcMyProfileTest : public ctsvc_test::ServiceTest {
 protected:
  static std::string Key(const char* pszKey) {
    if (RegLoad("CtSet.ini", 0) != REG_OK) {
      return "<no file>";
    }
    char sz[300] = {};
    const UINT32 nErr = RegGetString("CtSet.ini", "sectionOne", pszKey, sz, sizeof(sz));
    RegUnload("CtSet.ini");
    return nErr == REG_OK ? sz : "<none>";
  }
  std::string VcardFile() const {
    std::ifstream in(m_dir.File("User/Ct/myaddress.vcf"), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : "<no file>";
  }
};

TEST_F(CtSvcMyProfileTest, AVcardBecomesTheCardKeysAndReadsBackWithItsKinds) {
  ASSERT_TRUE(CtSvcMyProfileSetVcard(kCard));
  // The keys the other modules read.
  const std::vector<std::pair<const char*, std::string>> kKeys = {
      {"firstname", "Olive"}, {"lastname", "Owner"}, {"displayname", "Olive Owner"}, {"phone_0", "0101"},
      {"phone_1", "0202"}, {"phone_1_type", "320"}, {"phone_2", "0303"}, {"phone_3", ""}, {"email", "o@home.org"},
      {"email1", "o@x.org"}, {"email2", ""}, {"homepage", "http://work"}, {"homepage_0_type", "14"},
      {"homepage1", "http://page"}, {"postal_0_ainfo", "Flat 2"}, {"postal_0_street", "1 Road"},
      {"postal_0_pcode", "12345"}, {"postal_0_type", "2"}, {"postal_1_street", ""}, {"birthInfo", "19800229"},
      {"memo", "the note"}, {"jobtitle", "Boss"}, {"company", "Org"}, {"nickname", "Olly"}, {"image", ""}};
  for (const auto& key : kKeys) {
    EXPECT_EQ(key.second, Key(key.first)) << key.first;
  }
  EXPECT_NE("", Key("savetime"));
  CtSvcContactInfo card{};
  ASSERT_TRUE(CtSvcMyProfileGet(&card));
  ASSERT_EQ(3, card.nPhoneNumberCount);
  EXPECT_EQ(4, card.pPhoneNumberInfo[1].PhoneType) << "home fax";
  EXPECT_EQ(2, card.pPhoneNumberInfo[1].UseType);
  EXPECT_EQ(2, card.pPhoneNumberInfo[2].PhoneType) << "work voice";
  EXPECT_EQ(3, card.pPhoneNumberInfo[2].UseType);
  ASSERT_EQ(2, card.nEmailAddressCount);
  EXPECT_EQ(2, card.pEmailAddressInfo[0].UseType);
  ASSERT_EQ(1, card.nPostalAddressCount);
  EXPECT_STREQ("Land", card.pPostalAddressInfo[0].szCountry);
  EXPECT_EQ(6, card.nEtcDataCount);
  EXPECT_EQ(29, card.pPersonInfo->Birthday.day);
  CtSvcFreeContactInfo(&card);
  const std::string strFile = VcardFile();
  for (const char* pszLine : {"N:Owner;Olive\r\n", "TEL;FAX;HOME:0202\r\n", "EMAIL;HOME;INTERNET:o@home.org\r\n",
                              "BDAY:19800229\r\n", "NOTE:the note\r\n"}) {
    EXPECT_NE(std::string::npos, strFile.find(pszLine)) << pszLine << " in\n" << strFile;
  }
}

TEST_F(CtSvcMyProfileTest, ASmallerCardReplacesEveryFieldAndExtrasAreLeftOut) {
  ASSERT_TRUE(CtSvcMyProfileSetVcard(kCard));
  CCtSvcContactInfoBuilder builder("Second", -1);
  for (int i = 0; i < 7; ++i) {
    builder.Number("0" + std::to_string(i));
  }
  const CtSvcContactInfo info = builder.Info();
  ASSERT_TRUE(CtSvcMyProfileSet(&info));
  CtSvcContactInfo card{};
  ASSERT_TRUE(CtSvcMyProfileGet(&card));
  EXPECT_STREQ("Second", card.pPersonInfo->szFirstName);
  EXPECT_STREQ("", card.pPersonInfo->szLastName);
  EXPECT_EQ(CTSVC_MYPROFILE_PHONE_MAX, card.nPhoneNumberCount);
  EXPECT_EQ(0, card.nEmailAddressCount);
  EXPECT_EQ(0, card.nPostalAddressCount);
  EXPECT_EQ(0, card.nEtcDataCount);
  EXPECT_EQ(CTSVC_UNSET_DATE_YEAR, card.pPersonInfo->Birthday.year);
  CtSvcFreeContactInfo(&card);
  EXPECT_EQ(std::string::npos, VcardFile().find("o@home.org"));
}

TEST_F(CtSvcMyProfileTest, ThePhotoTravelsWithTheCardAndClearingRemovesEverything) {
  const img_test::Bytes jpeg = img_test::MakeJpeg(20, 20);
  CCtSvcContactInfoBuilder source("Pic", -1);
  std::filesystem::create_directories(m_dir.File("pics"));
  std::ofstream(m_dir.File("pics/me.jpg"), std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
  CtSvcCopyText(source.person.szCallerImage, std::string("/pics/me.jpg"));
  const CtSvcContactInfo info = source.Info();
  char* pszText = nullptr;
  ASSERT_TRUE(CtSvcConvertRecord2VCard(&info, &pszText));
  const bool bSet = CtSvcMyProfileSetVcard(pszText);
  VCardFreeText(pszText);
  ASSERT_TRUE(bSet);
  EXPECT_EQ(CTSVC_VCARD_MYPROFILE_PHOTO_PATH, Key("image"));
  EXPECT_EQ(jpeg.size(), std::filesystem::file_size(m_dir.File("User/Ct/Tmb/myaddress.jpeg")));
  EXPECT_NE(std::string::npos, VcardFile().find("PHOTO;")) << VcardFile();

  ASSERT_TRUE(CtSvcMyProfileClear());
  EXPECT_EQ("<no file>", VcardFile());
  EXPECT_FALSE(std::filesystem::exists(m_dir.File("User/Ct/Tmb/myaddress.jpeg")));
  for (const char* pszKey : {"firstname", "image", "phone_0", "savetime", "displayname", "dtmf"}) {
    EXPECT_EQ("", Key(pszKey)) << pszKey;
  }
  CtSvcContactInfo card{};
  ASSERT_TRUE(CtSvcMyProfileGet(&card));
  EXPECT_EQ(0, card.nPhoneNumberCount + card.nEtcDataCount);
  CtSvcFreeContactInfo(&card);
}

TEST_F(CtSvcMyProfileTest, AnEmptyCardRemovesTheFileAndBadTextChangesNothing) {
  ASSERT_TRUE(CtSvcMyProfileSetVcard(kCard));
  EXPECT_FALSE(CtSvcMyProfileSetVcard("not a vcard"));
  EXPECT_EQ("Olive", Key("firstname"));
  ASSERT_TRUE(CtSvcMyProfileSetVcard("BEGIN:VCARD\r\nVERSION:2.1\r\nX-NOTHING:1\r\nEND:VCARD\r\n"));
  EXPECT_EQ("<no file>", VcardFile());
  EXPECT_EQ("", Key("savetime"));
}

}  // namespace
