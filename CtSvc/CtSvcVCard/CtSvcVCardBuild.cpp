// A contact as a codec object: the properties of a card in their order, each with the
// parameters its kind carries.
#include <cstdio>
#include <string>
#include <vector>

#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelMem.h"

namespace {

constexpr int kDisplayNameChars = 50;

// Appends a property; bText adds the character-set and encoding parameters of text.
class CObjectBuilder {
 public:
  explicit CObjectBuilder(VObject* pObject) : m_pObject(pObject) {}
  bool Ok() const { return m_bOk; }

  void Add(int nKind, const std::vector<std::string>& vcValues, bool bHasType, UINT32 nTypeMask, bool bText) {
    if (!m_bOk) {
      return;
    }
    VProp* pProp = VCardAddProp(m_pObject, nKind);
    m_bOk = pProp != nullptr && (!bHasType || VCardAddParam(pProp, VCARD_PARAM_TYPE, nTypeMask)) &&
            (!bText || (VCardAddParam(pProp, VCARD_PARAM_CHARSET, VCARD_CHARSET_UTF8) &&
                        VCardAddParam(pProp, VCARD_PARAM_ENCODING, VCARD_ENCODING_8BIT)));
    for (size_t i = 0; m_bOk && i < vcValues.size(); ++i) {
      m_bOk = VCardSetValue(pProp, static_cast<INT32>(i), vcValues[i].data(), static_cast<INT32>(vcValues[i].size())) != FALSE;
    }
  }

  void AddPhoto(const std::string& strBytes) {
    VProp* pProp = m_bOk ? VCardAddProp(m_pObject, VCARD_PROP_PHOTO) : nullptr;
    m_bOk = pProp != nullptr && VCardAddParam(pProp, VCARD_PARAM_ENCODING, VCARD_ENCODING_BASE64) &&
            VCardAddParam(pProp, VCARD_PARAM_TYPE, VCARD_TYPE_JPEG) &&
            VCardSetValue(pProp, 0, strBytes.data(), static_cast<INT32>(strBytes.size()));
    if (m_bOk) {
      pProp->nLength = static_cast<INT32>(strBytes.size());
    }
  }

 private:
  VObject* m_pObject;
  bool m_bOk = true;
};

bool IsUnsetDate(const TmDateTime& date) { return !(date.year > 1899 || date.month > 12 || date.day > 31); }

std::string FormatDate(const char* szFormat, const TmDateTime& date, bool bTime) {
  char szText[48];
  if (bTime) {
    std::snprintf(szText, sizeof(szText), szFormat, date.year, date.month, date.day, date.hour, date.minute, date.second);
  } else {
    std::snprintf(szText, sizeof(szText), szFormat, date.year, date.month, date.day);
  }
  return szText;
}

void AddPhoto(CObjectBuilder& builder, const CtSvcPersonInfo& person) {
  if (person.szCallerImage[0] == '\0') {
    return;
  }
  std::string strBytes;
  if (!CtSvcVCardReadFile(person.szCallerImage, strBytes)) {
    if (FmIsFileExist(person.szCallerImage)) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcConvertRecord2VCard: file(%s) DRM read fail.\n", person.szCallerImage);
    }
    return;
  }
  if (strBytes.size() > static_cast<size_t>(VCARD_MAX_LINE_BYTES) / 4 * 3 - 1024) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcConvertRecord2VCard: file(%s) is too large for a card\n", person.szCallerImage);
    return;
  }
  builder.AddPhoto(strBytes);
}

void AddNumbersAndEmails(CObjectBuilder& builder, const CtSvcContactInfo& contact) {
  for (int i = 0; contact.pPhoneNumberInfo != nullptr && i < contact.nPhoneNumberCount; ++i) {
    const CtSvcPhoneNumberInfo& number = contact.pPhoneNumberInfo[i];
    if (number.szPhoneNumber[0] != '\0') {
      builder.Add(VCARD_PROP_TEL, {number.szPhoneNumber}, true, CtSvcVCardTelMask(number.PhoneType, number.UseType), false);
    }
  }
  for (int i = 0; contact.pEmailAddressInfo != nullptr && i < contact.nEmailAddressCount; ++i) {
    const CtSvcEmailAddressInfo& email = contact.pEmailAddressInfo[i];
    if (email.szEmailAddress[0] != '\0') {
      builder.Add(VCARD_PROP_EMAIL, {email.szEmailAddress}, true, CtSvcVCardEmailMask(email.UseType), true);
    }
  }
}

// The etc data whose property kind passes the filter (all of them without one).
void AddEtcData(CObjectBuilder& builder, const CtSvcContactInfo& contact, bool (*pfnTake)(int nKind) = nullptr) {
  for (int i = 0; contact.pEtcDataInfo != nullptr && i < contact.nEtcDataCount; ++i) {
    const CtSvcEtcDataInfo& etc = contact.pEtcDataInfo[i];
    UINT32 nMask = 0;
    bool bHasType = false;
    const int nKind = CtSvcVCardEtcKind(etc.EtcDataType, &nMask, &bHasType);
    if (nKind >= 0 && pfnTake != nullptr && !pfnTake(nKind)) {
      continue;
    }
    if (nKind < 0) {
      DbgPrint(DBG_CLASS_TRACE, "CtSvcConvertRecord2VCard:pEtcInfo[%d].EtcDataInfo.EtcDataType: %d\n", i, etc.EtcDataType);
    } else if (etc.szEtcData[0] != '\0') {
      builder.Add(nKind, {etc.szEtcData}, bHasType, nMask, true);
    }
  }
}

bool IsUrlOrNote(int nKind) { return nKind == VCARD_PROP_URL || nKind == VCARD_PROP_NOTE; }

void AddAddresses(CObjectBuilder& builder, const CtSvcContactInfo& contact) {
  for (int i = 0; contact.pPostalAddressInfo != nullptr && i < contact.nPostalAddressCount; ++i) {
    const CtSvcPostalAddressInfo& a = contact.pPostalAddressInfo[i];
    const UINT32 nMask = CtSvcVCardAddressMask(a.UseType);
    builder.Add(VCARD_PROP_ADR, {"", a.szDetail, a.szStreet, a.szCity, a.szState, a.szPCODE, a.szCountry}, nMask != 0,
                nMask, true);
  }
}

void AddIMs(CObjectBuilder& builder, const CtSvcContactInfo& contact) {
  for (int i = 0; contact.pIMInfo != nullptr && i < contact.nIMCount; ++i) {
    const CtSvcIMInfo& im = contact.pIMInfo[i];
    if (im.szUserId[0] == '\0') {
      continue;
    }
    const int nKind = CtSvcVCardImKindOfIsp(im.nIspId);
    if (nKind >= 0) {
      builder.Add(nKind, {im.szUserId}, true, VCARD_TYPE_HOME, true);
    }
  }
}

}  // namespace

std::string CtSvcVCardDisplayName(const CtSvcPersonInfo& person) {
  std::string strName = person.szFirstName;
  if (person.szFirstName[0] != '\0' && person.szLastName[0] != '\0') {
    strName += ' ';
  }
  strName += person.szLastName;
  CtSvcVCardCutChars(strName, kDisplayNameChars);
  return strName;
}

void CtSvcVCardCutChars(std::string& strText, int nChars) {
  int nCount = 0;
  for (size_t i = 0; i < strText.size(); ++i) {
    if ((static_cast<unsigned char>(strText[i]) & 0xC0) != 0x80 && ++nCount > nChars) {
      strText.resize(i);
      return;
    }
  }
}

VObject* CtSvcVCardBuildObject(const CtSvcContactInfo& contact, CtSvcVCardForm eForm) {
  if (contact.pPersonInfo == nullptr) {
    return nullptr;
  }
  const CtSvcPersonInfo& person = *contact.pPersonInfo;
  const bool bFull = eForm == CtSvcVCardForm::kFull;
  VObject* pObject = VCardNewObject();
  if (pObject == nullptr) {
    return nullptr;
  }
  CObjectBuilder builder(pObject);
  if (person.szFirstName[0] != '\0' || person.szLastName[0] != '\0') {
    builder.Add(VCARD_PROP_N, {person.szLastName, person.szFirstName}, false, 0, true);
    builder.Add(VCARD_PROP_FN, {CtSvcVCardDisplayName(person)}, false, 0, true);
  }
  if (bFull) {
    AddPhoto(builder, person);
  }
  AddNumbersAndEmails(builder, contact);
  // A backup card keeps URL and NOTE here and TITLE, ORG and NICKNAME after REV.
  if (bFull) {
    AddEtcData(builder, contact);
  } else {
    AddEtcData(builder, contact, &IsUrlOrNote);
  }
  if (!IsUnsetDate(person.Birthday)) {
    builder.Add(VCARD_PROP_BDAY, {FormatDate(bFull ? "%04d%02d%02d" : "%02d-%02d-%02dT00:00:00Z", person.Birthday, false)},
                false, 0, false);
  }
  AddAddresses(builder, contact);
  const TmDateTime& saved = person.SaveTime;
  if (saved.hour != 0 || saved.minute != 0 || saved.second != 0) {
    builder.Add(VCARD_PROP_REV,
                {FormatDate(bFull ? "%04d%02d%02dT%02d%02d%02d" : "%02d-%02d-%02dT%02d:%02d:%02dZ", saved, true)}, false,
                0, false);
  }
  if (!bFull) {
    AddEtcData(builder, contact, [](int nKind) { return !IsUrlOrNote(nKind); });
  }
  if (bFull && person.szUuid[0] != '\0') {
    builder.Add(VCARD_PROP_UID, {person.szUuid}, false, 0, true);
  }
  if (bFull) {
    AddIMs(builder, contact);
  }
  if (!builder.Ok()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcConvertRecord2VCard: - MemAlloc failed\n");
    VCardFreeObject(pObject);
    return nullptr;
  }
  return pObject;
}
