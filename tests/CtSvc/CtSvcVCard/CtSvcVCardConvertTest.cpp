// Contact <-> vCard: the TEL and EMAIL tables both ways, names, dates, etc data, IM services, the
// photo file, single-contact files and the validity checks.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcTestEnv.h"
#include "CtSvcVCard.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelCoreTest.h"
#include "ZelFm.h"

namespace {

// vCard text of a contact built by the test, freed at the end.
struct VCardText {
  explicit VCardText(CCtSvcContactInfoBuilder& contact, int nVersion = VCARD_VERSION_21) {
    const CtSvcContactInfo info = contact.Info();
    bOk = CtSvcConvertRecord2VCardVersion(&info, nVersion, &pszText) != FALSE;
  }
  ~VCardText() { VCardFreeText(pszText); }
  VCardText(const VCardText&) = delete;
  VCardText& operator=(const VCardText&) = delete;
  std::string Str() const { return pszText != nullptr ? pszText : ""; }
  bool Has(const std::string& strLine) const { return Str().find("\r\n" + strLine + "\r\n") != std::string::npos; }
  char* pszText = nullptr;
  bool bOk = false;
};

// A contact read from vCard text, freed at the end.
struct ReadBack {
  explicit ReadBack(const std::string& strText) { bOk = CtSvcConvertVcard2Record(strText.c_str(), &info) != FALSE; }
  ~ReadBack() { CtSvcFreeContactInfo(&info); }
  ReadBack(const ReadBack&) = delete;
  ReadBack& operator=(const ReadBack&) = delete;
  CtSvcContactInfo info{};
  bool bOk = false;
};

std::string Card(const std::string& strBody) { return "BEGIN:VCARD\r\nVERSION:2.1\r\n" + strBody + "END:VCARD\r\n"; }

class CtSvcVCardConvertTest : public ctsvc_test::StoreTest {};

TEST_F(CtSvcVCardConvertTest, OnlyALastNameGivesAnEmptyFirstNameAndFnOfTheLastName) {
  CCtSvcContactInfoBuilder contact("", -1, "Kim");
  const VCardText text(contact);
  ASSERT_TRUE(text.bOk);
  EXPECT_TRUE(text.Has("N:Kim;")) << text.Str();
  EXPECT_TRUE(text.Has("FN:Kim")) << text.Str();
}

TEST_F(CtSvcVCardConvertTest, EveryPhoneTypeAndUseHasItsMaskAndReadsBack) {
  struct Row {
    int nPhoneType, nUseType;
    UINT32 nMask;
    int nReadType, nReadUse;
  };
  const std::vector<Row> vcRows = {
      {1, 2, 0x1000108, 1, 2}, {1, 3, 0x1000028, 1, 3}, {1, 1, 0x1002008, 1, 1}, {0, 0, 0x1000008, 1, 1},
      {2, 2, 0x1000100, 2, 2}, {2, 3, 0x1000020, 2, 3}, {2, 1, 0x1000000, 2, 1}, {3, 2, 0x800100, 3, 2},
      {3, 1, 0x800000, 3, 1},  {4, 2, 0x140, 4, 2},     {4, 3, 0x60, 4, 3},      {4, 1, 0x40, 4, 1},
      {5, 2, 4, 5, 1},         {6, 3, 0x8000000, 6, 1}, {7, 2, 0x10000, 7, 1},   {8, 1, 0x20000000, 8, 1},
      {42, 1, 0x1000108, 1, 2},
  };
  for (const Row& row : vcRows) {
    SCOPED_TRACE("phone type " + std::to_string(row.nPhoneType) + " use " + std::to_string(row.nUseType));
    EXPECT_EQ(row.nMask, CtSvcVCardTelMask(row.nPhoneType, row.nUseType));
    CCtSvcContactInfoBuilder contact("A", -1);
    contact.Number("123", row.nPhoneType).vcNumbers.back().UseType = row.nUseType;
    const VCardText text(contact);
    const ReadBack back(text.Str());
    ASSERT_TRUE(back.bOk);
    ASSERT_EQ(1, back.info.nPhoneNumberCount) << text.Str();
    EXPECT_EQ(row.nReadType, back.info.pPhoneNumberInfo[0].PhoneType) << text.Str();
    EXPECT_EQ(row.nReadUse, back.info.pPhoneNumberInfo[0].UseType) << text.Str();
  }
}

TEST_F(CtSvcVCardConvertTest, TelTypesReadByTheFirstMatchingRule) {
  struct Row {
    UINT32 nMask;
    int nType, nUse;
  };
  const std::vector<Row> vcRows = {
      {0x1000000, 2, 1},  {0x140, 4, 2},      {0x800020, 3, 3},  {0x10100, 7, 1},    {0x104, 5, 1},
      {0x80000, 1, 1},    {0x80020, 1, 3},    {0x2008, 1, 1},    {0x100, 2, 2},      {0x20, 2, 3},
      {0x20000000, 8, 1}, {0x20000100, 2, 2}, {0, 6, 1},         {0x1000200, 6, 1},  {0x60, 4, 3},
  };
  for (const Row& row : vcRows) {
    int nType = -1, nUse = -1;
    CtSvcVCardTelTypes(row.nMask, &nType, &nUse);
    EXPECT_EQ(row.nType, nType) << std::hex << row.nMask;
    EXPECT_EQ(row.nUse, nUse) << std::hex << row.nMask;
  }
}

TEST_F(CtSvcVCardConvertTest, EmailsAddressesAndEtcDataKeepTheirKinds) {
  CCtSvcContactInfoBuilder contact("Ann", -1, "Lee");
  contact.Email("home@x.org").vcEmails.back().UseType = 2;
  contact.Email("work@x.org").vcEmails.back().UseType = 3;
  contact.Email("any@x.org");
  contact.Address("1 Main St", "Town", "ST", "Land", "12345").vcAddresses.back().UseType = 3;
  contact.Etc(CTSVC_ETC_DATA_TYPE_NOTE, "note; with, marks").Etc(CTSVC_ETC_DATA_TYPE_TITLE, "Boss");
  contact.Etc(CTSVC_ETC_DATA_TYPE_ORGANIZATION, "Org").Etc(CTSVC_ETC_DATA_TYPE_SECOND_NAME, "Nick");
  contact.Etc(CTSVC_ETC_DATA_TYPE_URL_WORK, "http://w").Etc(CTSVC_ETC_DATA_TYPE_URL_HOME, "http://h");
  contact.Etc(CTSVC_ETC_DATA_TYPE_URL, "http://u").Etc(99, "dropped");
  contact.person.Birthday = TmDateTime{1990, 2, 28, 0, 0, 0};
  const VCardText text(contact);
  for (const char* szLine : {"EMAIL;HOME;INTERNET:home@x.org", "EMAIL;WORK;INTERNET:work@x.org", "EMAIL;INTERNET:any@x.org",
                             "ADR;WORK:;;1 Main St;Town;ST;12345;Land", "NOTE:note\\; with, marks", "URL;WORK:http://w",
                             "URL;HOME:http://h", "URL:http://u", "BDAY:19900228", "NICKNAME:Nick"}) {
    EXPECT_TRUE(text.Has(szLine)) << szLine << "\n" << text.Str();
  }
  EXPECT_EQ(std::string::npos, text.Str().find("dropped"));
  const ReadBack back(text.Str());
  ASSERT_TRUE(back.bOk);
  EXPECT_STREQ("Ann", back.info.pPersonInfo->szFirstName);
  EXPECT_STREQ("Lee", back.info.pPersonInfo->szLastName);
  ASSERT_EQ(3, back.info.nEmailAddressCount);
  EXPECT_EQ(2, back.info.pEmailAddressInfo[0].UseType);
  EXPECT_EQ(3, back.info.pEmailAddressInfo[1].UseType);
  EXPECT_EQ(1, back.info.pEmailAddressInfo[2].UseType);
  ASSERT_EQ(1, back.info.nPostalAddressCount);
  EXPECT_EQ(3, back.info.pPostalAddressInfo[0].UseType);
  EXPECT_STREQ("12345", back.info.pPostalAddressInfo[0].szPCODE);
  EXPECT_STREQ("Land", back.info.pPostalAddressInfo[0].szCountry);
  std::vector<std::pair<int, std::string>> vcEtc;
  for (int i = 0; i < back.info.nEtcDataCount; ++i) {
    vcEtc.emplace_back(back.info.pEtcDataInfo[i].EtcDataType, back.info.pEtcDataInfo[i].szEtcData);
  }
  EXPECT_EQ((std::vector<std::pair<int, std::string>>{{20, "note; with, marks"}, {3, "Boss"}, {2, "Org"}, {5, "Nick"},
                                                      {14, "http://w"}, {13, "http://h"}, {12, "http://u"}}),
            vcEtc);
  EXPECT_EQ(1990, back.info.pPersonInfo->Birthday.year);
  EXPECT_EQ(28, back.info.pPersonInfo->Birthday.day);
}

TEST_F(CtSvcVCardConvertTest, AnUnsetBirthdayGivesNoBday) {
  CCtSvcContactInfoBuilder contact("A", -1);
  contact.person.Birthday = TmDateTime{1899, 12, 31, 0, 0, 0};
  const VCardText text(contact);
  EXPECT_EQ(std::string::npos, text.Str().find("BDAY")) << text.Str();
}

TEST_F(CtSvcVCardConvertTest, DatesAreReadInTheirFormsAndCheckedAgainstTheCalendar) {
  struct Row {
    const char* szText;
    bool bValid;
    TmDateTime date;
  };
  const std::vector<Row> vcRows = {
      {"20081203", true, {2008, 12, 3, 0, 0, 0}},           {"2008-12-03", true, {2008, 12, 3, 0, 0, 0}},
      {"20081031T065854Z", true, {2008, 10, 31, 6, 58, 54}}, {"20081031T065854", true, {2008, 10, 31, 6, 58, 54}},
      {"2008-10-31T06:58:54Z", true, {2008, 10, 31, 6, 58, 54}}, {"2000-02-29", true, {2000, 2, 29, 0, 0, 0}},
      {"1900-02-29", false, {}}, {"20080230", false, {}}, {"20081301", false, {}}, {"20081031X065854Z", false, {}},
      {"20081031T245854Z", false, {}}, {"2008123", false, {}}, {"2008-1x-03", false, {}},
  };
  for (const Row& row : vcRows) {
    TmDateTime date{};
    EXPECT_EQ(row.bValid, CtSvcVCardParseDateTime(row.szText, &date) != FALSE) << row.szText;
    if (row.bValid) {
      EXPECT_EQ(std::vector<int>({row.date.year, row.date.month, row.date.day, row.date.hour, row.date.minute,
                                  row.date.second}),
                std::vector<int>({date.year, date.month, date.day, date.hour, date.minute, date.second}))
          << row.szText;
    }
  }
  zel::test::LogCapture log;
  EXPECT_FALSE(CtSvcVCardParseDateTime(nullptr, nullptr));
  EXPECT_TRUE(log.Contains("_CtParseDateTime: pszText is NULL"));
}

TEST_F(CtSvcVCardConvertTest, NPrecedesFnWhereverItStands) {
  struct Row {
    const char* szBody;
    const char* szFirst;
    const char* szLast;
  };
  const std::vector<Row> vcRows = {
      {"N:Ando;Roid;\r\n", "Roid", "Ando"},
      {"FN:Ando Roid\r\n", "Ando Roid", ""},
      {"FN:And Roid\r\nN:And;Roid;;;\r\n", "Roid", "And"},
      {"N:A;B\r\nFN:Other\r\n", "B", "A"},
      {"FN:Only\r\nN:;;;;\r\n", "Only", ""},
  };
  for (const Row& row : vcRows) {
    const ReadBack back(Card(row.szBody));
    ASSERT_TRUE(back.bOk) << row.szBody;
    EXPECT_STREQ(row.szFirst, back.info.pPersonInfo->szFirstName) << row.szBody;
    EXPECT_STREQ(row.szLast, back.info.pPersonInfo->szLastName) << row.szBody;
  }
}

TEST_F(CtSvcVCardConvertTest, LongValuesAreCutToTheFieldLimitsInCharacters) {
  std::string strName;
  for (int i = 0; i < 70; ++i) {
    strName += "\xC3\xA9";
  }
  const ReadBack back(Card("N:" + strName + ";x\r\nEMAIL:" + std::string(150, 'e') + "\r\nNOTE:" + std::string(200, 'n') + "\r\n"));
  ASSERT_TRUE(back.bOk);
  EXPECT_EQ(100u, std::string(back.info.pPersonInfo->szLastName).size()) << "50 two-byte characters";
  EXPECT_EQ(100u, std::string(back.info.pEmailAddressInfo[0].szEmailAddress).size());
  EXPECT_EQ(100u, std::string(back.info.pEtcDataInfo[0].szEtcData).size());
}

TEST_F(CtSvcVCardConvertTest, ImEntriesUseTheirServicesAndUnknownServicesAreLeftOut) {
  CCtSvcContactInfoBuilder contact("A", -1);
  CtSvcIMInfo ims[3] = {};
  ims[0].nIspId = 6;  // Skype
  CtSvcCopyText(ims[0].szUserId, "sky.user");
  ims[1].nIspId = 9;  // Facebook: no vCard property
  CtSvcCopyText(ims[1].szUserId, "fb.user");
  ims[2].nIspId = 2;  // Google
  CtSvcCopyText(ims[2].szUserId, "g.user");
  CtSvcContactInfo info = contact.Info();
  info.pIMInfo = ims;
  info.nIMCount = 3;
  zel::test::LogCapture log;
  char* pszText = nullptr;
  ASSERT_TRUE(CtSvcConvertRecord2VCard(&info, &pszText));
  const std::string strText = pszText;
  VCardFreeText(pszText);
  EXPECT_NE(std::string::npos, strText.find("\r\nX-SKYPE-USERNAME;HOME:sky.user\r\n")) << strText;
  EXPECT_NE(std::string::npos, strText.find("\r\nX-GOOGLE-TALK;HOME:g.user\r\n")) << strText;
  EXPECT_EQ(std::string::npos, strText.find("fb.user")) << strText;
  EXPECT_TRUE(log.Contains("__ConvertSpId2VCardType:No matching VCARD Type sp stringid=Facebook"));
  const ReadBack back(strText);
  ASSERT_EQ(2, back.info.nIMCount);
  EXPECT_EQ(6, back.info.pIMInfo[0].nIspId);
  EXPECT_STREQ("sky.user", back.info.pIMInfo[0].szUserId);
  EXPECT_EQ(2, back.info.pIMInfo[1].nIspId);
}

TEST_F(CtSvcVCardConvertTest, APhotoGoesToTheTemporaryFileAndBackIntoACard) {
  const std::string strJpeg("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\xFF\xD9", 14);
  ASSERT_TRUE(FmCreateDir("/User/Ct/Img"));
  const HOBJ hFile = FmCreateFile("/User/Ct/Img/p.jpg");
  ASSERT_EQ(static_cast<INT32>(strJpeg.size()), FmWriteFile(hFile, strJpeg.data(), static_cast<UINT32>(strJpeg.size())));
  FmCloseFile(hFile);
  CCtSvcContactInfoBuilder contact("Pic", -1);
  CtSvcCopyText(contact.person.szCallerImage, "/User/Ct/Img/p.jpg");
  const VCardText text(contact);
  EXPECT_NE(std::string::npos, text.Str().find("PHOTO;ENCODING=BASE64;TYPE=JPEG:")) << text.Str();
  const ReadBack back(text.Str());
  ASSERT_TRUE(back.bOk);
  EXPECT_STREQ(CTSVC_VCARD_PHOTO_PATH, back.info.pPersonInfo->szCallerImage);
  std::ifstream in(m_dir.File("User/Ct/Tmb/temp.jpeg"), std::ios::binary);
  EXPECT_EQ(strJpeg, std::string(std::istreambuf_iterator<char>(in), {}));
  CtSvcContactInfo mine{};
  ASSERT_TRUE(CtSvcConvertVcard2MyProfile(text.pszText, &mine));
  EXPECT_STREQ(CTSVC_VCARD_MYPROFILE_PHOTO_PATH, mine.pPersonInfo->szCallerImage);
  EXPECT_TRUE(FmIsFileExist(CTSVC_VCARD_MYPROFILE_PHOTO_PATH));
  CtSvcFreeContactInfo(&mine);
}

TEST_F(CtSvcVCardConvertTest, BadTextFailsWithItsLogLine) {
  zel::test::LogCapture log;
  CtSvcContactInfo info{};
  EXPECT_FALSE(CtSvcConvertVcard2Record("not a card", &info));
  EXPECT_TRUE(log.Contains("CtSvcConvertVcard2Record: VCardDecode fail\n"));
  EXPECT_EQ(nullptr, info.pPersonInfo);
  char* pszText = nullptr;
  EXPECT_FALSE(CtSvcConvertRecord2VCard(&info, &pszText));
  EXPECT_FALSE(CtSvcFreeVcard(nullptr));
}

// Writes a platform file with the text.
void WriteFile(const char* pszPath, const std::string& strText) {
  const HOBJ hFile = FmCreateFile(pszPath);
  FmWriteFile(hFile, strText.data(), static_cast<UINT32>(strText.size()));
  FmCloseFile(hFile);
}

TEST_F(CtSvcVCardConvertTest, AFileWithTwoBeginLinesIsNotValid) {
  const std::string strOne = Card("N:A;B\r\n");
  WriteFile("one.vcf", strOne);
  WriteFile("two.vcf", strOne + strOne);
  WriteFile("none.vcf", "hello\r\n");
  zel::test::LogCapture log;
  EXPECT_TRUE(CtSvcCheckVcfValidity("one.vcf", 0));
  EXPECT_FALSE(CtSvcCheckVcfValidity("two.vcf", 0));
  EXPECT_TRUE(log.Contains("CtSvcCheckVcfValidity: noOfBegins(2)>1\n"));
  EXPECT_FALSE(CtSvcCheckVcfValidity("none.vcf", 0));
  EXPECT_FALSE(CtSvcCheckVcfValidity("missing.vcf", 0));
  EXPECT_TRUE(log.Contains("CtSvcCheckVcfValidity: return FALSE\n"));
  EXPECT_TRUE(CtIsVcfToDetailValid("two.vcf"));
  EXPECT_FALSE(CtIsVcfToDetailValid("none.vcf"));
  EXPECT_FALSE(CtIsVcfToDetailValid(nullptr));
  EXPECT_TRUE(log.HasAssertion("szFileName"));
}

TEST_F(CtSvcVCardConvertTest, AVcardFileIsNamedAfterTheContact) {
  CCtSvcContactInfoBuilder contact("Jo", -1, "Bloggs");
  CtSvcContactInfo info = contact.Info();
  char szPath[CTSVC_VCARD_PATH_SIZE] = {};
  ASSERT_TRUE(CtSvcMakeVcardFile(&info, szPath));
  EXPECT_STREQ("/User/Ct/Jo Bloggs.vcf", szPath);
  EXPECT_TRUE(CtSvcCheckVcfValidity(szPath, 0));
  CCtSvcContactInfoBuilder nameless("", -1);
  nameless.Number("1");
  info = nameless.Info();
  ASSERT_TRUE(CtSvcMakeVcardFile(&info, szPath));
  EXPECT_STREQ("/User/Ct/Unnamed.vcf", szPath);
}

}  // namespace
