// Per C filter structure: its table, the column that names the owning person (detail tables),
// its unset state and its text fields. The filter class templates read everything from here.
#ifndef CTSVC_FILTER_TRAITS_H
#define CTSVC_FILTER_TRAITS_H

#include <cstddef>
#include <cstring>

#include "CtSvcDB/Tables/CtSvcDbColumns.h"
#include "CtSvcFilter.h"
#include "ZelAc.h"

// Copies at most N - 1 bytes of pszSrc, never cutting a character, and terminates; null or ""
// leaves the field empty.
template <size_t N>
void CtSvcCopyFilterText(char (&szDst)[N], const char* pszSrc) {
  AcStrlcpy(szDst, pszSrc != nullptr ? pszSrc : "", N);
}

// Terminates a text field that fills its whole array (a structure from a caller may carry full,
// unterminated arrays) at its maximum length, or before the character that would be cut there.
inline void CtSvcTerminateText(char* pszField, size_t nSize) {
  if (std::memchr(pszField, '\0', nSize) != nullptr) {
    return;
  }
  size_t nLength = nSize - 1;
  while (nLength > 0 && (static_cast<unsigned char>(pszField[nLength]) & 0xC0) == 0x80) {
    --nLength;
  }
  pszField[nLength] = '\0';
}

template <size_t... N>
void CtSvcTerminateTexts(char (&... szFields)[N]) {
  (CtSvcTerminateText(szFields, N), ...);
}

template <typename S>
struct CtSvcFilterTraits;

#define CTSVC_FILTER_TRAITS(S, table, personColumn)          \
  template <>                                                \
  struct CtSvcFilterTraits<S> {                              \
    static constexpr int kTable = table;                     \
    static constexpr int kPersonColumn = personColumn;       \
    static void Init(S* pFilter) { S##Init(pFilter); }       \
    static void TerminateTexts(S& filter);                   \
  }

CTSVC_FILTER_TRAITS(CtSvcPersonFilter, CTSVC_DB_TABLE_PERSON, -1);
CTSVC_FILTER_TRAITS(CtSvcPrimaryFilter, CTSVC_DB_TABLE_PRIMARY, -1);
CTSVC_FILTER_TRAITS(CtSvcFdnFilter, CTSVC_DB_TABLE_FDN, -1);
CTSVC_FILTER_TRAITS(CtSvcGroupFilter, CTSVC_DB_TABLE_GROUP, -1);
CTSVC_FILTER_TRAITS(CtSvcPhoneNumberFilter, CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID);
CTSVC_FILTER_TRAITS(CtSvcEmailFilter, CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID);
CTSVC_FILTER_TRAITS(CtSvcPostalAddressFilter, CTSVC_DB_TABLE_POSTALADDRESS, CTSVC_DB_POSTALADDR_COLUMN_PERSON_ID);
CTSVC_FILTER_TRAITS(CtSvcEtcDataFilter, CTSVC_DB_TABLE_ETCDATA, CTSVC_DB_ETCDATA_COLUMN_PERSON_ID);
CTSVC_FILTER_TRAITS(CtSvcGroupMemberFilter, CTSVC_DB_TABLE_GROUPMEMBER, CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID);
CTSVC_FILTER_TRAITS(CtSvcRcsFilter, CTSVC_DB_TABLE_RCS, CTSVC_DB_RCS_COLUMN_PERSON_ID);
CTSVC_FILTER_TRAITS(CtSvcIMFilter, CTSVC_DB_TABLE_IM, CTSVC_DB_IM_COLUMN_PERSON_ID);
CTSVC_FILTER_TRAITS(CtSvcSnsDataFilter, CTSVC_DB_TABLE_SNSDATA, CTSVC_DB_SNSDATA_COLUMN_PERSON_ID);
CTSVC_FILTER_TRAITS(CtSvcSpeedDialFilter, CTSVC_DB_TABLE_SPEEDDIAL, CTSVC_DB_SPEEDDIAL_COLUMN_PERSON_ID);

#undef CTSVC_FILTER_TRAITS

inline void CtSvcFilterTraits<CtSvcPersonFilter>::TerminateTexts(CtSvcPersonFilter& f) {
  CtSvcTerminateTexts(f.NameFilter.szDisplayName);
}
inline void CtSvcFilterTraits<CtSvcPrimaryFilter>::TerminateTexts(CtSvcPrimaryFilter& f) {
  CtSvcTerminateTexts(f.szCallerImage, f.NameFilter.szDisplayName);
}
inline void CtSvcFilterTraits<CtSvcFdnFilter>::TerminateTexts(CtSvcFdnFilter& f) {
  CtSvcTerminateTexts(f.szName, f.szPhoneNumber);
}
inline void CtSvcFilterTraits<CtSvcGroupFilter>::TerminateTexts(CtSvcGroupFilter& f) {
  CtSvcTerminateTexts(f.szName, f.szRingtone);
}
inline void CtSvcFilterTraits<CtSvcPhoneNumberFilter>::TerminateTexts(CtSvcPhoneNumberFilter& f) {
  CtSvcTerminateTexts(f.szPhoneNumber);
}
inline void CtSvcFilterTraits<CtSvcEmailFilter>::TerminateTexts(CtSvcEmailFilter& f) {
  CtSvcTerminateTexts(f.szEmailAddress);
}
inline void CtSvcFilterTraits<CtSvcPostalAddressFilter>::TerminateTexts(CtSvcPostalAddressFilter& f) {
  CtSvcTerminateTexts(f.szPCODE, f.szPostOfficeBoxNumber, f.szDetail, f.szStreet, f.szCity, f.szState, f.szCountry);
}
inline void CtSvcFilterTraits<CtSvcEtcDataFilter>::TerminateTexts(CtSvcEtcDataFilter& f) {
  CtSvcTerminateTexts(f.szEtcData);
}
inline void CtSvcFilterTraits<CtSvcGroupMemberFilter>::TerminateTexts(CtSvcGroupMemberFilter&) {}
inline void CtSvcFilterTraits<CtSvcRcsFilter>::TerminateTexts(CtSvcRcsFilter& f) { CtSvcTerminateTexts(f.szSip); }
inline void CtSvcFilterTraits<CtSvcIMFilter>::TerminateTexts(CtSvcIMFilter& f) { CtSvcTerminateTexts(f.szUserId); }
inline void CtSvcFilterTraits<CtSvcSnsDataFilter>::TerminateTexts(CtSvcSnsDataFilter& f) {
  CtSvcTerminateTexts(f.szPeopleId);
}
inline void CtSvcFilterTraits<CtSvcSpeedDialFilter>::TerminateTexts(CtSvcSpeedDialFilter&) {}

#endif
