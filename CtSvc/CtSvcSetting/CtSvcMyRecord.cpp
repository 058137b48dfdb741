// The owner's card store: its fields under the card keys of "CtSet.ini" ("sectionOne"), and the
// card as "/User/Ct/myaddress.vcf", written again after every change and removed when empty.
//
// Numbers keep their kind as the vCard TEL TYPE mask ("phone_<i>_type"), so that a card read
// from a vCard reads back with the same phone and use types; e-mail addresses and postal
// addresses keep their use type, homepages their other-data type (URL, home URL, work URL).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcMyProfile.h"
#include "CtSvcSetting/CtSvcRegFile.h"
#include "CtSvcSetting/CtSvcSettingKeys.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelMem.h"
#include "ZelTm.h"

namespace {

// Text sizes read back, terminator included.
constexpr size_t kTextSize = CTSVC_ETC_DATA_SIZE;
constexpr size_t kNameSize = CTSVC_PERSON_NAME_SIZE;

// Single-valued other data and their keys.
struct EtcKey {
  const char* pszKey;
  int nEtcType;
};
const EtcKey kEtcKeys[] = {{"memo", CTSVC_ETC_DATA_TYPE_NOTE},
                           {"jobtitle", CTSVC_ETC_DATA_TYPE_TITLE},
                           {"company", CTSVC_ETC_DATA_TYPE_ORGANIZATION},
                           {"nickname", CTSVC_ETC_DATA_TYPE_SECOND_NAME}};

// The parts of a postal address and their key suffixes.
struct PostalKey {
  const char* pszSuffix;
  char (CtSvcPostalAddressInfo::*pField)[CTSVC_POSTAL_FIELD_SIZE];
};
const PostalKey kPostalKeys[] = {{"ainfo", &CtSvcPostalAddressInfo::szDetail},
                                 {"street", &CtSvcPostalAddressInfo::szStreet},
                                 {"city", &CtSvcPostalAddressInfo::szCity},
                                 {"state", &CtSvcPostalAddressInfo::szState},
                                 {"country", &CtSvcPostalAddressInfo::szCountry}};

template <class... Args>
std::string Key(const char* pszFormat, Args... args) {
  char szKey[48];
  std::snprintf(szKey, sizeof(szKey), pszFormat, args...);
  return szKey;
}

// "email", "email1", ...: the first of a list has no number.
std::string ListKey(const char* pszBase, int nIndex) {
  return nIndex == 0 ? std::string(pszBase) : pszBase + std::to_string(nIndex);
}

bool IsHomepage(int nEtcType) {
  return nEtcType == CTSVC_ETC_DATA_TYPE_URL || nEtcType == CTSVC_ETC_DATA_TYPE_URL_HOME ||
         nEtcType == CTSVC_ETC_DATA_TYPE_URL_WORK;
}

bool IsDateSet(const TmDateTime& date) {
  return !(date.year == CTSVC_UNSET_DATE_YEAR && date.month == CTSVC_UNSET_DATE_MONTH &&
           date.day == CTSVC_UNSET_DATE_DAY) &&
         date.year != 0;
}

std::string DateText(const TmDateTime& date, bool bWithTime) {
  char szText[32];
  if (bWithTime) {
    std::snprintf(szText, sizeof(szText), "%04d%02d%02dT%02d%02d%02d", date.year, date.month, date.day, date.hour,
                  date.minute, date.second);
  } else {
    std::snprintf(szText, sizeof(szText), "%04d%02d%02d", date.year, date.month, date.day);
  }
  return szText;
}

TmDateTime ReadDate(const std::string& strText) {
  TmDateTime date{CTSVC_UNSET_DATE_YEAR, CTSVC_UNSET_DATE_MONTH, CTSVC_UNSET_DATE_DAY, 0, 0, 0};
  if (!strText.empty() && !CtSvcVCardParseDateTime(strText.c_str(), &date)) {
    date = TmDateTime{CTSVC_UNSET_DATE_YEAR, CTSVC_UNSET_DATE_MONTH, CTSVC_UNSET_DATE_DAY, 0, 0, 0};
  }
  return date;
}

// The contact's details, at most nMax of them, each turned into its text (and type) by pfnOne.
template <class T, class F>
void WriteList(const T* pArray, int nCount, int nMax, const char* pszWhat, F pfnOne) {
  int nWritten = 0;
  for (int i = 0; pArray != nullptr && i < nCount; ++i) {
    if (nWritten < nMax && pfnOne(nWritten, pArray[i])) {
      ++nWritten;
    } else if (nWritten >= nMax) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcMyProfileSet: %s %d left out (the card keeps %d)\n", pszWhat, i, nMax);
    }
  }
  for (int i = nWritten; i < nMax; ++i) {
    pfnOne(i, T{});
  }
}

void WriteNumbers(CCtSvcRegFile& file, const CtSvcContactInfo& contact) {
  WriteList(contact.pPhoneNumberInfo, contact.nPhoneNumberCount, CTSVC_MYPROFILE_PHONE_MAX, "number",
            [&file](int i, const CtSvcPhoneNumberInfo& number) {
              const bool bSet = number.szPhoneNumber[0] != '\0';
              file.SetString(kSectionOne, Key("phone_%d", i).c_str(), number.szPhoneNumber);
              file.SetInt(kSectionOne, Key("phone_%d_type", i).c_str(),
                          bSet ? static_cast<int>(CtSvcVCardTelMask(number.PhoneType, number.UseType)) : 0);
              file.SetInt(kSectionOne, Key("phone_%d_bVCall", i).c_str(), 0);
              return bSet;
            });
}

void WriteEmails(CCtSvcRegFile& file, const CtSvcContactInfo& contact) {
  WriteList(contact.pEmailAddressInfo, contact.nEmailAddressCount, CTSVC_MYPROFILE_EMAIL_MAX, "e-mail",
            [&file](int i, const CtSvcEmailAddressInfo& email) {
              file.SetString(kSectionOne, ListKey("email", i).c_str(), email.szEmailAddress);
              file.SetInt(kSectionOne, Key("email_%d_type", i).c_str(), email.UseType);
              return email.szEmailAddress[0] != '\0';
            });
}

void WritePostal(CCtSvcRegFile& file, const CtSvcContactInfo& contact) {
  WriteList(contact.pPostalAddressInfo, contact.nPostalAddressCount, CTSVC_MYPROFILE_POSTAL_MAX, "postal address",
            [&file](int i, const CtSvcPostalAddressInfo& postal) {
              bool bSet = postal.szPCODE[0] != '\0';
              for (const PostalKey& key : kPostalKeys) {
                file.SetString(kSectionOne, Key("postal_%d_%s", i, key.pszSuffix).c_str(), postal.*key.pField);
                bSet = bSet || (postal.*key.pField)[0] != '\0';
              }
              file.SetString(kSectionOne, Key("postal_%d_pcode", i).c_str(), postal.szPCODE);
              file.SetInt(kSectionOne, Key("postal_%d_type", i).c_str(), postal.UseType);
              return bSet;
            });
}

void WriteEtc(CCtSvcRegFile& file, const CtSvcContactInfo& contact) {
  std::vector<CtSvcEtcDataInfo> vcHomepages;
  for (const EtcKey& key : kEtcKeys) {
    file.SetString(kSectionOne, key.pszKey, "");
  }
  for (int i = 0; contact.pEtcDataInfo != nullptr && i < contact.nEtcDataCount; ++i) {
    const CtSvcEtcDataInfo& etc = contact.pEtcDataInfo[i];
    if (IsHomepage(etc.EtcDataType)) {
      vcHomepages.push_back(etc);
    }
    for (const EtcKey& key : kEtcKeys) {
      if (key.nEtcType == etc.EtcDataType) {
        file.SetString(kSectionOne, key.pszKey, etc.szEtcData);
      }
    }
  }
  WriteList(vcHomepages.data(), static_cast<int>(vcHomepages.size()), CTSVC_MYPROFILE_HOMEPAGE_MAX, "homepage",
            [&file](int i, const CtSvcEtcDataInfo& etc) {
              file.SetString(kSectionOne, ListKey("homepage", i).c_str(), etc.szEtcData);
              file.SetInt(kSectionOne, Key("homepage_%d_type", i).c_str(), etc.EtcDataType);
              return etc.szEtcData[0] != '\0';
            });
}

bool HasContent(const CtSvcContactInfo& contact) {
  const CtSvcPersonInfo& person = *contact.pPersonInfo;
  return person.szFirstName[0] != '\0' || person.szLastName[0] != '\0' || person.szCallerImage[0] != '\0' ||
         IsDateSet(person.Birthday) || contact.nPhoneNumberCount > 0 || contact.nEmailAddressCount > 0 ||
         contact.nPostalAddressCount > 0 || contact.nEtcDataCount > 0;
}

void WriteCard(CCtSvcRegFile& file, const CtSvcContactInfo& contact) {
  const CtSvcPersonInfo& person = *contact.pPersonInfo;
  file.SetString(kSectionOne, "firstname", person.szFirstName);
  file.SetString(kSectionOne, "lastname", person.szLastName);
  file.SetString(kSectionOne, "displayname", CtSvcVCardDisplayName(person).c_str());
  file.SetString(kSectionOne, "image", person.szCallerImage);
  file.SetString(kSectionOne, "birthInfo", IsDateSet(person.Birthday) ? DateText(person.Birthday, false).c_str() : "");
  TmDateTime now{};
  const bool bStamp = HasContent(contact) && TmSecondsToDateTime(TmGetLocalTime(), &now);
  file.SetString(kSectionOne, "savetime", bStamp ? DateText(now, true).c_str() : "");
  WriteNumbers(file, contact);
  WriteEmails(file, contact);
  WritePostal(file, contact);
  WriteEtc(file, contact);
}

std::string Text(const CCtSvcRegFile& file, const std::string& strKey, size_t nSize = kTextSize) {
  return file.GetString(kSectionOne, strKey.c_str(), nSize);
}

void ReadCard(const CCtSvcRegFile& file, CCtSvcContactInfoBuilder& card) {
  CtSvcCopyText(card.person.szFirstName, Text(file, "firstname", kNameSize));
  CtSvcCopyText(card.person.szLastName, Text(file, "lastname", kNameSize));
  CtSvcCopyText(card.person.szCallerImage, Text(file, "image", CTSVC_PERSON_CALLER_IMAGE_SIZE));
  card.person.Birthday = ReadDate(Text(file, "birthInfo"));
  card.person.SaveTime = ReadDate(Text(file, "savetime"));
  for (int i = 0; i < CTSVC_MYPROFILE_PHONE_MAX; ++i) {
    const std::string strNumber = Text(file, Key("phone_%d", i), CTSVC_PHONENUMBER_SIZE);
    if (!strNumber.empty()) {
      card.Number(strNumber);
      CtSvcVCardTelTypes(static_cast<UINT32>(file.GetInt(kSectionOne, Key("phone_%d_type", i).c_str(), 0)),
                         &card.vcNumbers.back().PhoneType, &card.vcNumbers.back().UseType);
    }
  }
  for (int i = 0; i < CTSVC_MYPROFILE_EMAIL_MAX; ++i) {
    const std::string strEmail = Text(file, ListKey("email", i), CTSVC_EMAIL_ADDRESS_SIZE);
    if (!strEmail.empty()) {
      card.Email(strEmail);
      card.vcEmails.back().UseType = file.GetInt(kSectionOne, Key("email_%d_type", i).c_str(), 0);
    }
  }
  for (int i = 0; i < CTSVC_MYPROFILE_POSTAL_MAX; ++i) {
    CtSvcPostalAddressInfo postal{};
    bool bSet = false;
    for (const PostalKey& key : kPostalKeys) {
      bSet = AcStrlcpy(postal.*key.pField, Text(file, Key("postal_%d_%s", i, key.pszSuffix)).c_str(),
                       CTSVC_POSTAL_FIELD_SIZE) > 0 || bSet;
    }
    bSet = AcStrlcpy(postal.szPCODE, Text(file, Key("postal_%d_pcode", i)).c_str(), sizeof(postal.szPCODE)) > 0 || bSet;
    postal.UseType = file.GetInt(kSectionOne, Key("postal_%d_type", i).c_str(), 0);
    if (bSet) {
      card.vcAddresses.push_back(postal);
    }
  }
  for (int i = 0; i < CTSVC_MYPROFILE_HOMEPAGE_MAX; ++i) {
    const std::string strPage = Text(file, ListKey("homepage", i));
    const int nType = file.GetInt(kSectionOne, Key("homepage_%d_type", i).c_str(), CTSVC_ETC_DATA_TYPE_URL);
    if (!strPage.empty()) {
      card.Etc(IsHomepage(nType) ? nType : CTSVC_ETC_DATA_TYPE_URL, strPage);
    }
  }
  for (const EtcKey& key : kEtcKeys) {
    const std::string strValue = Text(file, key.pszKey);
    if (!strValue.empty()) {
      card.Etc(key.nEtcType, strValue);
    }
  }
}

// The builder's card as a contact info the caller releases with CtSvcFreeContactInfo.
bool HandOut(const CCtSvcContactInfoBuilder& card, CtSvcContactInfo& contact) {
  contact = CtSvcContactInfo{};
  contact.pPersonInfo = static_cast<CtSvcPersonInfo*>(MemAlloc(sizeof(CtSvcPersonInfo)));
  if (contact.pPersonInfo == nullptr) {
    return false;
  }
  *contact.pPersonInfo = card.person;
  const bool bDone =
      CtSvcVCardAllocArray(card.vcNumbers, contact.pPhoneNumberInfo, contact.nPhoneNumberCount, "PNumberInfo") &&
      CtSvcVCardAllocArray(card.vcEmails, contact.pEmailAddressInfo, contact.nEmailAddressCount, "EmailInfo") &&
      CtSvcVCardAllocArray(card.vcAddresses, contact.pPostalAddressInfo, contact.nPostalAddressCount, "AddrInfo") &&
      CtSvcVCardAllocArray(card.vcEtc, contact.pEtcDataInfo, contact.nEtcDataCount, "EtcInfo");
  if (!bDone) {
    CtSvcFreeContactInfo(&contact);
  }
  return bDone;
}

// Writes the card's vCard file, or removes it when the card is empty.
bool WriteVcardFile(CCtSvcContactInfoBuilder& card, bool bEmpty) {
  if (bEmpty) {
    return !FmIsFileExist(CTSVC_MYPROFILE_VCARD_PATH) || FmDeleteFile(CTSVC_MYPROFILE_VCARD_PATH);
  }
  const CtSvcContactInfo contact = card.Info();
  char* pszText = nullptr;
  if (!CtSvcConvertRecord2VCard(&contact, &pszText)) {
    return false;
  }
  const bool bWritten =
      CtSvcVCardWritePhoto(CTSVC_MYPROFILE_VCARD_PATH, pszText, static_cast<int>(std::strlen(pszText))) != FALSE;
  VCardFreeText(pszText);
  return bWritten;
}

// Rewrites the file from what the settings hold now.
bool Regenerate(const CCtSvcRegFile& file) {
  CCtSvcContactInfoBuilder card("", -1);
  ReadCard(file, card);
  const CtSvcContactInfo contact = card.Info();
  const bool bEmpty = !HasContent(contact) && Text(file, "dtmf").empty();
  if (!WriteVcardFile(card, bEmpty)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcMyProfile: %s cannot be written\n", CTSVC_MYPROFILE_VCARD_PATH);
    return false;
  }
  return true;
}

bool Store(CCtSvcRegFile& file, const char* pszCaller) {
  if (file.Flush() != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "%s: RegFlush( void ) failed\n", pszCaller);
    return false;
  }
  return Regenerate(file);
}

}  // namespace

extern "C" BOOL CtSvcMyProfileSet(const CtSvcContactInfo* pContact) {
  if (!ZEL_REQUIRE(pContact != NULL && pContact->pPersonInfo != NULL)) {
    return FALSE;
  }
  CCtSvcRegFile file(kSettingsFile, true);
  if (!file.IsLoaded()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcMyProfileSet: RegLoad( void ) Failed errCode=%d\n", static_cast<int>(file.LoadError()));
    return FALSE;
  }
  WriteCard(file, *pContact);
  return Store(file, "CtSvcMyProfileSet") ? TRUE : FALSE;
}

extern "C" BOOL CtSvcMyProfileSetVcard(const char* pszVCard) {
  CtSvcContactInfo contact{};
  if (!CtSvcConvertVcard2MyProfile(pszVCard, &contact)) {
    return FALSE;
  }
  const BOOL bDone = CtSvcMyProfileSet(&contact);
  CtSvcFreeContactInfo(&contact);
  return bDone;
}

extern "C" BOOL CtSvcMyProfileGet(CtSvcContactInfo* pContact) {
  if (!ZEL_REQUIRE(pContact != NULL)) {
    return FALSE;
  }
  CCtSvcRegFile file(kSettingsFile, true);
  if (!file.IsLoaded()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcMyProfileGet: RegLoad( void ) Failed errCode=%d\n", static_cast<int>(file.LoadError()));
    return FALSE;
  }
  CCtSvcContactInfoBuilder card("", -1);
  ReadCard(file, card);
  return HandOut(card, *pContact) ? TRUE : FALSE;
}

extern "C" BOOL CtSvcMyProfileClear(void) {
  CCtSvcRegFile file(kSettingsFile, true);
  if (!file.IsLoaded()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcMyProfileClear: RegLoad( void ) Failed errCode=%d\n", static_cast<int>(file.LoadError()));
    return FALSE;
  }
  if (FmIsFileExist(CTSVC_VCARD_MYPROFILE_PHOTO_PATH)) {
    FmDeleteFile(CTSVC_VCARD_MYPROFILE_PHOTO_PATH);
  }
  CtSvcPersonInfo person{};
  CtSvcContactInfo empty{};
  empty.pPersonInfo = &person;
  WriteCard(file, empty);
  file.SetString(kSectionOne, "dtmf", "");
  return Store(file, "CtSvcMyProfileClear") ? TRUE : FALSE;
}
