// The vCard conversion's tables: TEL and EMAIL types both ways, etc-data properties, IM services.
#include <strings.h>

#include <iterator>

#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelDebug.h"
#include "ZelMsgSvc.h"

namespace {

// TYPE masks of a phone type by use: home (2), work (3), other (1), any other use.
struct TelRow {
  int nPhoneType;
  UINT32 nHome, nWork, nOther, nRest;
};

const TelRow kTelRows[] = {
    {0, 0x1000108, 0x1000028, 0x1002008, 0x1000008}, {1, 0x1000108, 0x1000028, 0x1002008, 0x1000008},
    {2, 0x1000100, 0x1000020, 0x1000000, 0x1000000}, {3, 0x800100, 0x800020, 0x800000, 0x800000},
    {4, 0x140, 0x60, 0x40, 0x40},                    {5, 4, 4, 4, 4},
    {6, 0x8000000, 0x8000000, 0x8000000, 0x8000000}, {7, 0x10000, 0x10000, 0x10000, 0x10000},
    {8, 0x20000000, 0x20000000, 0x20000000, 0x20000000},
};
constexpr UINT32 kTelDefault = 0x1000108;

// Reading TEL: the first rule that matches gives the types. A rule needs one of nAny (when set),
// all of nAll, none of nNone; with bExact the mask must equal nAll. A use of -1 is use-by-TYPE.
struct TelRule {
  UINT32 nAny, nAll, nNone;
  bool bExact;
  int nPhoneType, nUseType;
};

constexpr UINT32 kCell = VCARD_TYPE_CELL | VCARD_TYPE_MOBILE;
const TelRule kTelRules[] = {
    {VCARD_TYPE_PAGER, 0, 0, false, 3, -1},
    {VCARD_TYPE_CAR, 0, 0, false, 7, 1},
    {VCARD_TYPE_MSG, 0, 0, false, 5, 1},
    {kCell, VCARD_TYPE_HOME, 0, false, 1, 2},
    {kCell, VCARD_TYPE_OTHER, 0, false, 1, 1},
    {kCell, VCARD_TYPE_WORK, 0, false, 1, 3},
    {kCell, 0, 0, false, 1, 1},
    {0, VCARD_TYPE_HOME, VCARD_TYPE_FAX, false, 2, 2},
    {0, VCARD_TYPE_WORK, VCARD_TYPE_FAX, false, 2, 3},
    {0, VCARD_TYPE_VOICE, 0, true, 2, 1},
    {0, VCARD_TYPE_ISDN, VCARD_TYPE_WORK | VCARD_TYPE_FAX, false, 8, 1},
    {0, 0, VCARD_TYPE_WORK | VCARD_TYPE_FAX, false, 6, -1},
    {0, 0, 0, false, 4, -1},
};

bool Matches(const TelRule& rule, UINT32 nMask) {
  if (rule.bExact) {
    return nMask == rule.nAll;
  }
  return (rule.nAny == 0 || (nMask & rule.nAny) != 0) && (nMask & rule.nAll) == rule.nAll && (nMask & rule.nNone) == 0;
}

// Etc data written as properties; a URL's TYPE tells which kind it is.
struct EtcRow {
  int nEtcType;
  int nKind;
  UINT32 nTypeMask;
  bool bHasType;
};

const EtcRow kEtcRows[] = {
    {CTSVC_ETC_DATA_TYPE_URL, VCARD_PROP_URL, 0, true},
    {CTSVC_ETC_DATA_TYPE_URL_HOME, VCARD_PROP_URL, VCARD_TYPE_HOME, true},
    {CTSVC_ETC_DATA_TYPE_URL_WORK, VCARD_PROP_URL, VCARD_TYPE_WORK, true},
    {CTSVC_ETC_DATA_TYPE_NOTE, VCARD_PROP_NOTE, 0, false},
    {CTSVC_ETC_DATA_TYPE_TITLE, VCARD_PROP_TITLE, 0, false},
    {CTSVC_ETC_DATA_TYPE_ORGANIZATION, VCARD_PROP_ORG, 0, false},
    {CTSVC_ETC_DATA_TYPE_SECOND_NAME, VCARD_PROP_NICKNAME, 0, false},
};

// IM services by their profile names (compared without case).
struct ImRow {
  const char* szName;
  int nKind;
};

const ImRow kImRows[] = {
    {"aim", VCARD_PROP_X_AIM},       {"aol", VCARD_PROP_X_AIM},     {"gmail", VCARD_PROP_X_GOOGLE_TALK},
    {"google", VCARD_PROP_X_GOOGLE_TALK}, {"icq", VCARD_PROP_X_ICQ}, {"jabber", VCARD_PROP_X_JABBER},
    {"msn", VCARD_PROP_X_MSN},       {"skype", VCARD_PROP_X_SKYPE}, {"yahoo", VCARD_PROP_X_YAHOO},
    {"qq", VCARD_PROP_X_QQ},
};

int ImKindOfName(const char* pszName) {
  for (const ImRow& row : kImRows) {
    if (strcasecmp(row.szName, pszName) == 0) {
      return row.nKind;
    }
  }
  return -1;
}

}  // namespace

UINT32 CtSvcVCardTelMask(int nPhoneType, int nUseType) {
  for (const TelRow& row : kTelRows) {
    if (row.nPhoneType == nPhoneType) {
      return nUseType == 2 ? row.nHome : nUseType == 3 ? row.nWork : nUseType == 1 ? row.nOther : row.nRest;
    }
  }
  return kTelDefault;
}

int CtSvcVCardUseByType(UINT32 nMask) {
  return (nMask & VCARD_TYPE_WORK) != 0 ? 3 : (nMask & VCARD_TYPE_HOME) != 0 ? 2 : 1;
}

void CtSvcVCardTelTypes(UINT32 nMask, int* pnPhoneType, int* pnUseType) {
  for (const TelRule& rule : kTelRules) {
    if (Matches(rule, nMask)) {
      *pnPhoneType = rule.nPhoneType;
      *pnUseType = rule.nUseType >= 0 ? rule.nUseType : CtSvcVCardUseByType(nMask);
      return;
    }
  }
}

UINT32 CtSvcVCardEmailMask(int nUseType) {
  return nUseType == 2 ? VCARD_TYPE_INTERNET | VCARD_TYPE_HOME
                       : nUseType == 3 ? VCARD_TYPE_INTERNET | VCARD_TYPE_WORK : VCARD_TYPE_INTERNET;
}

UINT32 CtSvcVCardAddressMask(int nUseType) {
  return nUseType == 2 ? VCARD_TYPE_HOME : nUseType == 3 ? VCARD_TYPE_WORK : 0;
}

int CtSvcVCardEtcKind(int nEtcType, UINT32* pnTypeMask, bool* pbHasType) {
  for (const EtcRow& row : kEtcRows) {
    if (row.nEtcType == nEtcType) {
      *pnTypeMask = row.nTypeMask;
      *pbHasType = row.bHasType;
      return row.nKind;
    }
  }
  return -1;
}

int CtSvcVCardEtcTypeOf(int nKind, UINT32 nMask) {
  if (nKind == VCARD_PROP_URL) {
    return (nMask & VCARD_TYPE_WORK) != 0   ? CTSVC_ETC_DATA_TYPE_URL_WORK
           : (nMask & VCARD_TYPE_HOME) != 0 ? CTSVC_ETC_DATA_TYPE_URL_HOME
                                            : CTSVC_ETC_DATA_TYPE_URL;
  }
  for (const EtcRow& row : kEtcRows) {
    if (row.nKind == nKind) {
      return row.nEtcType;
    }
  }
  return -1;
}

int CtSvcVCardImKindOfIsp(int nIspId) {
  MsgSvcImSpProfile profile{};
  if (!MsgSvcSpGetImSpProfile(nIspId, &profile)) {
    profile.szName[0] = '\0';
  }
  const int nKind = ImKindOfName(profile.szName);
  if (nKind < 0) {
    DbgPrint(DBG_CLASS_FAIL, "__ConvertSpId2VCardType:No matching VCARD Type sp stringid=%s\n", profile.szName);
  }
  return nKind;
}

int CtSvcVCardIspOfImKind(int nKind, std::string& strIsp) {
  for (INT32 nIsp = 1; nIsp <= MsgSvcSpGetImSpCount(); ++nIsp) {
    MsgSvcImSpProfile profile{};
    if (MsgSvcSpGetImSpProfile(nIsp, &profile) && ImKindOfName(profile.szName) == nKind) {
      strIsp = profile.szName;
      return nIsp;
    }
  }
  return 0;
}

bool CtSvcVCardIsImKind(int nKind) {
  for (const ImRow& row : kImRows) {
    if (row.nKind == nKind) {
      return true;
    }
  }
  return false;
}
