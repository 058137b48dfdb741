// A codec object as a contact: names by N/FN precedence, numbers and e-mails by their TYPE
// masks, etc data, dates, addresses, IM entries and the photo.
#include <algorithm>
#include <cstring>
#include <vector>

#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelDebug.h"
#include "ZelGWESCore.h"
#include "ZelMem.h"

namespace {

// Character limits of the fields.
constexpr int kNameChars = 50;
constexpr int kEmailChars = 100;
constexpr int kUrlNoteChars = 100;
constexpr int kPostalChars = 50;
constexpr int kPostalCodeChars = 20;
constexpr int kEtcChars = 50;
constexpr int kUuidChars = 256;
constexpr int kImUserChars = 320;

// A value as UTF-8 cut to nChars characters: UTF-8 values are taken as they are, others are
// Latin-1 (each byte one character) and converted.
std::string ValueText(const VProp& prop, int nIndex, int nChars) {
  if (nIndex >= prop.nValueCount || prop.ppszValue[nIndex] == nullptr) {
    return "";
  }
  std::string strText = prop.ppszValue[nIndex];
  if ((VCardGetParam(&prop, VCARD_PARAM_CHARSET) & VCARD_CHARSET_UTF8) == 0) {
    std::u16string strWide(strText.begin(), strText.end());
    std::transform(strText.begin(), strText.end(), strWide.begin(),
                   [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
    std::string strUtf8(strWide.size() * 3 + 1, '\0');
    WmConvert2LCode(&strUtf8[0], static_cast<int>(strUtf8.size()), strWide.c_str());
    strText = strUtf8.c_str();
  }
  CtSvcVCardCutChars(strText, nChars);
  return strText;
}

struct Collected {
  CtSvcPersonInfo person{};
  bool bNameFromFn = false;
  std::vector<CtSvcPhoneNumberInfo> vcNumbers;
  std::vector<CtSvcEmailAddressInfo> vcEmails;
  std::vector<CtSvcPostalAddressInfo> vcAddresses;
  std::vector<CtSvcEtcDataInfo> vcEtc;
  std::vector<CtSvcIMInfo> vcIMs;
};

// N gives the names wherever it stands; FN names a card only while no name is set (then it
// becomes the first name, and a later N replaces it).
void ReadName(Collected& c, const VProp& prop) {
  if (prop.nKind == VCARD_PROP_N) {
    const std::string strLast = ValueText(prop, 0, kNameChars);
    const std::string strFirst = ValueText(prop, 1, kNameChars);
    if (!strLast.empty() || !strFirst.empty() || !c.bNameFromFn) {
      CtSvcCopyText(c.person.szLastName, strLast);
      CtSvcCopyText(c.person.szFirstName, strFirst);
      c.bNameFromFn = false;
    }
  } else if (prop.nKind == VCARD_PROP_FN && c.person.szFirstName[0] == '\0' && c.person.szLastName[0] == '\0') {
    CtSvcCopyText(c.person.szFirstName, ValueText(prop, 0, kNameChars));
    c.bNameFromFn = c.person.szFirstName[0] != '\0';
  }
}

void ReadTel(Collected& c, const VProp& prop) {
  CtSvcPhoneNumberInfo number{};
  number.nAasId = -1;
  CtSvcVCardTelTypes(VCardGetParam(&prop, VCARD_PARAM_TYPE), &number.PhoneType, &number.UseType);
  CtSvcCopyText(number.szPhoneNumber, ValueText(prop, 0, CTSVC_PHONENUMBER_SIZE - 1));
  if (number.szPhoneNumber[0] != '\0') {
    c.vcNumbers.push_back(number);
  }
}

void ReadEmail(Collected& c, const VProp& prop) {
  CtSvcEmailAddressInfo email{};
  email.EmailType = CTSVC_EMAIL_TYPE_INTERNET;
  email.UseType = CtSvcVCardUseByType(VCardGetParam(&prop, VCARD_PARAM_TYPE));
  CtSvcCopyText(email.szEmailAddress, ValueText(prop, 0, kEmailChars));
  if (email.szEmailAddress[0] != '\0') {
    c.vcEmails.push_back(email);
  }
}

void ReadAddress(Collected& c, const VProp& prop) {
  CtSvcPostalAddressInfo a{};
  a.UseType = CtSvcVCardUseByType(VCardGetParam(&prop, VCARD_PARAM_TYPE));
  CtSvcCopyText(a.szPostOfficeBoxNumber, ValueText(prop, 0, kPostalChars));
  CtSvcCopyText(a.szDetail, ValueText(prop, 1, kPostalChars));
  CtSvcCopyText(a.szStreet, ValueText(prop, 2, kPostalChars));
  CtSvcCopyText(a.szCity, ValueText(prop, 3, kPostalChars));
  CtSvcCopyText(a.szState, ValueText(prop, 4, kPostalChars));
  CtSvcCopyText(a.szPCODE, ValueText(prop, 5, kPostalCodeChars));
  CtSvcCopyText(a.szCountry, ValueText(prop, 6, kPostalChars));
  c.vcAddresses.push_back(a);
}

void ReadEtc(Collected& c, const VProp& prop, int nEtcType) {
  CtSvcEtcDataInfo etc{};
  etc.EtcDataType = nEtcType;
  const bool bLong = prop.nKind == VCARD_PROP_URL || prop.nKind == VCARD_PROP_NOTE;
  CtSvcCopyText(etc.szEtcData, ValueText(prop, 0, bLong ? kUrlNoteChars : kEtcChars));
  if (etc.szEtcData[0] != '\0') {
    c.vcEtc.push_back(etc);
  }
}

void ReadIM(Collected& c, const VProp& prop) {
  CtSvcIMInfo im{};
  std::string strIsp;
  im.nIspId = CtSvcVCardIspOfImKind(prop.nKind, strIsp);
  CtSvcCopyText(im.szIsp, strIsp);
  CtSvcCopyText(im.szUserId, ValueText(prop, 0, kImUserChars));
  if (im.nIspId > 0 && im.szUserId[0] != '\0') {
    c.vcIMs.push_back(im);
  }
}

void ReadDate(const VProp& prop, TmDateTime& date) {
  TmDateTime parsed{};
  if (prop.nValueCount > 0 && CtSvcVCardParseDateTime(prop.ppszValue[0], &parsed)) {
    date = parsed;
  }
}

void ReadPhoto(Collected& c, const VProp& prop, const char* pszPhotoPath, std::string* pstrNote) {
  if ((VCardGetParam(&prop, VCARD_PARAM_ENCODING) & VCARD_ENCODING_BASE64) == 0 || prop.nLength <= 0 ||
      pszPhotoPath == nullptr) {
    return;
  }
  if (CtSvcVCardWritePhoto(pszPhotoPath, prop.ppszValue[0], prop.nLength)) {
    CtSvcCopyText(c.person.szCallerImage, pszPhotoPath);
  } else if (pstrNote != nullptr) {
    *pstrNote += (pstrNote->empty() ? "" : "; ") + std::string("the photo could not be written");
  }
}

void ReadProperty(Collected& c, const VProp& prop, const char* pszPhotoPath, std::string* pstrNote) {
  const int nEtcType = CtSvcVCardEtcTypeOf(prop.nKind, VCardGetParam(&prop, VCARD_PARAM_TYPE));
  if (nEtcType >= 0) {
    ReadEtc(c, prop, nEtcType);
  } else if (CtSvcVCardIsImKind(prop.nKind)) {
    ReadIM(c, prop);
  }
  switch (prop.nKind) {
    case VCARD_PROP_N:
    case VCARD_PROP_FN: ReadName(c, prop); break;
    case VCARD_PROP_TEL: ReadTel(c, prop); break;
    case VCARD_PROP_EMAIL: ReadEmail(c, prop); break;
    case VCARD_PROP_ADR: ReadAddress(c, prop); break;
    case VCARD_PROP_BDAY: ReadDate(prop, c.person.Birthday); break;
    case VCARD_PROP_REV: ReadDate(prop, c.person.SaveTime); break;
    case VCARD_PROP_UID: CtSvcCopyText(c.person.szUuid, ValueText(prop, 0, kUuidChars)); break;
    case VCARD_PROP_PHOTO: ReadPhoto(c, prop, pszPhotoPath, pstrNote); break;
    default: break;
  }
}

}  // namespace

BOOL CtSvcVCardReadObject(const VObject& object, CtSvcContactInfo* pContact, const char* pszPhotoPath,
                          std::string* pstrNote) {
  *pContact = CtSvcContactInfo{};
  Collected c;
  c.person.nAccountId = -1;
  c.person.nSlotIndex = -1;
  c.person.nDefaultPhoneNumberId = -1;
  for (const VProp* pProp = object.pFirst; pProp != nullptr; pProp = pProp->pNext) {
    ReadProperty(c, *pProp, pszPhotoPath, pstrNote);
  }
  pContact->pPersonInfo = static_cast<CtSvcPersonInfo*>(MemAlloc(sizeof(CtSvcPersonInfo)));
  bool bDone = pContact->pPersonInfo != nullptr;
  if (bDone) {
    *pContact->pPersonInfo = c.person;
  }
  bDone = bDone && CtSvcVCardAllocArray(c.vcNumbers, pContact->pPhoneNumberInfo, pContact->nPhoneNumberCount, "PNumberInfo");
  bDone = bDone && CtSvcVCardAllocArray(c.vcEmails, pContact->pEmailAddressInfo, pContact->nEmailAddressCount, "EmailInfo");
  bDone = bDone && CtSvcVCardAllocArray(c.vcAddresses, pContact->pPostalAddressInfo, pContact->nPostalAddressCount, "AddrInfo");
  bDone = bDone && CtSvcVCardAllocArray(c.vcEtc, pContact->pEtcDataInfo, pContact->nEtcDataCount, "EtcInfo");
  bDone = bDone && CtSvcVCardAllocArray(c.vcIMs, pContact->pIMInfo, pContact->nIMCount, "IMInfo");
  if (!bDone) {
    CtSvcFreeContactInfo(pContact);
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CtSvcConvertVcard2Record : End!!!\n");
  return TRUE;
}
