// Names of the vCard codec: property kinds and TYPE bits, each kept in one table.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "VCardInternal.h"

namespace zel_vcard {

namespace {

struct PropName {
  int nKind;
  const char* szName;
};

// The first entry of a kind is the name written; later entries of the kind are read too.
const PropName kPropNames[] = {
    {VCARD_PROP_ADR, "ADR"},
    {VCARD_PROP_AGENT, "AGENT"},
    {VCARD_PROP_BDAY, "BDAY"},
    {VCARD_PROP_CATEGORIES, "CATEGORIES"},
    {VCARD_PROP_CLASS, "CLASS"},
    {VCARD_PROP_LABEL, "LABEL"},
    {VCARD_PROP_GEO, "GEO"},
    {VCARD_PROP_EMAIL, "EMAIL"},
    {VCARD_PROP_MAILER, "MAILER"},
    {VCARD_PROP_FN, "FN"},
    {VCARD_PROP_KEY, "KEY"},
    {VCARD_PROP_LOGO, "LOGO"},
    {VCARD_PROP_N, "N"},
    {VCARD_PROP_NICKNAME, "NICKNAME"},
    {VCARD_PROP_NICKNAME, "X-NICKNAME"},
    {VCARD_PROP_NOTE, "NOTE"},
    {VCARD_PROP_ORG, "ORG"},
    {VCARD_PROP_PHOTO, "PHOTO"},
    {VCARD_PROP_PRODID, "PRODID"},
    {VCARD_PROP_ROLE, "ROLE"},
    {VCARD_PROP_REV, "REV"},
    {VCARD_PROP_SORT_STRING, "SORT-STRING"},
    {VCARD_PROP_SOUND, "SOUND"},
    {VCARD_PROP_TEL, "TEL"},
    {VCARD_PROP_TITLE, "TITLE"},
    {VCARD_PROP_TZ, "TZ"},
    {VCARD_PROP_UID, "UID"},
    {VCARD_PROP_URL, "URL"},
    {VCARD_PROP_VERSION, "VERSION"},
    {VCARD_PROP_X_AIM, "X-AIM"},
    {VCARD_PROP_X_GOOGLE_TALK, "X-GOOGLE-TALK"},
    {VCARD_PROP_X_GOOGLE_TALK, "X-GTALK"},
    {VCARD_PROP_X_ICQ, "X-ICQ"},
    {VCARD_PROP_X_JABBER, "X-JABBER"},
    {VCARD_PROP_X_MSN, "X-MSN"},
    {VCARD_PROP_X_QQ, "X-QQ"},
    {VCARD_PROP_X_SKYPE, "X-SKYPE-USERNAME"},
    {VCARD_PROP_X_SKYPE, "X-SKYPE"},
    {VCARD_PROP_X_YAHOO, "X-YAHOO"},
};

struct TypeName {
  uint32_t nBit;
  const char* szName;
};

// One name per TYPE bit; the written name comes first where a bit has an alias.
const TypeName kTypeNames[] = {
    {VCARD_TYPE_DOM, "DOM"},         {VCARD_TYPE_INTL, "INTL"},         {VCARD_TYPE_MSG, "MSG"},
    {VCARD_TYPE_CELL, "CELL"},       {VCARD_TYPE_POSTAL, "POSTAL"},     {VCARD_TYPE_WORK, "WORK"},
    {VCARD_TYPE_FAX, "FAX"},         {VCARD_TYPE_PARCEL, "PARCEL"},     {VCARD_TYPE_HOME, "HOME"},
    {VCARD_TYPE_INTERNET, "INTERNET"}, {VCARD_TYPE_X400, "X400"},
    {VCARD_TYPE_JPEG, "JPEG"},       {VCARD_TYPE_OTHER, "OTHER"},       {VCARD_TYPE_GIF, "GIF"},
    {VCARD_TYPE_BBS, "BBS"},         {VCARD_TYPE_CAR, "CAR"},           {VCARD_TYPE_MODEM, "MODEM"},
    {VCARD_TYPE_PNG, "PNG"},         {VCARD_TYPE_MOBILE, "MOBILE"},     {VCARD_TYPE_PAGER, "PAGER"},
    {VCARD_TYPE_VOICE, "VOICE"},     {VCARD_TYPE_VIDEO, "VIDEO"},       {VCARD_TYPE_ISDN, "ISDN"},
    {VCARD_TYPE_CELL, "X-MOBILE"},   {VCARD_TYPE_OTHER, "X-OTHER"},
};

}  // namespace

std::string Upper(const std::string& strText) {
  std::string strOut(strText);
  std::transform(strOut.begin(), strOut.end(), strOut.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return strOut;
}

int PropKindOf(const std::string& strUpperName) {
  for (const PropName& entry : kPropNames) {
    if (strUpperName == entry.szName) {
      return entry.nKind;
    }
  }
  return VCARD_PROP_UNKNOWN;
}

uint32_t TypeBitOf(const std::string& strUpperName) {
  for (const TypeName& entry : kTypeNames) {
    if (strUpperName == entry.szName) {
      return entry.nBit;
    }
  }
  return 0;
}

const char* TypeNameOf(uint32_t nBit) {
  for (const TypeName& entry : kTypeNames) {
    if (entry.nBit == nBit) {
      return entry.szName;
    }
  }
  return nullptr;
}

bool IsStructured(int nKind) { return nKind == VCARD_PROP_N || nKind == VCARD_PROP_ADR; }

}  // namespace zel_vcard

const char* VCardGetPropName(INT32 nKind) {
  for (const zel_vcard::PropName& entry : zel_vcard::kPropNames) {
    if (entry.nKind == nKind) {
      return entry.szName;
    }
  }
  return nullptr;
}
