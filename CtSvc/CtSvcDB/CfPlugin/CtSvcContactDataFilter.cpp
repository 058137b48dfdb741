#include "CtSvcDB/CfPlugin/CtSvcContactDataFilter.h"

#include <cstring>

#include "CtSvcDB/CfPlugin/CtSvcFilterRules.h"
#include "CtSvcDetail.h"
#include "CtSvcUtil.h"
#include "ZelGWESCore.h"

namespace {

const CtSvcFilterRule<CtSvcEmailFilter> kEmailRules[] = {
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID, &CtSvcEmailFilter::nPersonId),
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_CONTACTDATA_COLUMN_PRIMARY_ID, &CtSvcEmailFilter::nPrimaryId),
    CtSvcIntRule(CTSVC_FILTER_RULE_TYPE, CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE, &CtSvcEmailFilter::DevType),
    CtSvcIntRule(CTSVC_FILTER_RULE_LOCAL_ONLY, CTSVC_DB_CONTACTDATA_COLUMN_ACCOUNT_ID,
                 &CtSvcEmailFilter::bLocalPhoneDataOnly),
    CtSvcIntRule(CTSVC_FILTER_RULE_TYPE, CTSVC_DB_CONTACTDATA_COLUMN_USE_TYPE, &CtSvcEmailFilter::UseType),
};

using PhoneFilter = CtSvcPhoneNumberFilter;
const CtSvcFilterRule<PhoneFilter> kPhoneNumberRules[] = {
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID, &PhoneFilter::nPersonId),
    CtSvcIntRule(CTSVC_FILTER_RULE_ID, CTSVC_DB_CONTACTDATA_COLUMN_PRIMARY_ID, &PhoneFilter::nPrimaryId),
    CtSvcIntRule(CTSVC_FILTER_RULE_TYPE, CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE, &PhoneFilter::DevType),
    CtSvcIntRule(CTSVC_FILTER_RULE_LOCAL_ONLY, CTSVC_DB_CONTACTDATA_COLUMN_ACCOUNT_ID,
                 &PhoneFilter::bLocalPhoneDataOnly),
    CtSvcIntRule(CTSVC_FILTER_RULE_TYPE, CTSVC_DB_CONTACTDATA_COLUMN_PHONE_TYPE, &PhoneFilter::PhoneType),
};

std::u16string SearchForm(const char* pszNumber) {
  MCHAR szSearch[CTSVC_FILTER_PHONENUMBER_SIZE] = {};
  CCtSvcPhoneNumberFilter::_ConvertPhoneNumberForSearch(pszNumber, szSearch, sizeof(szSearch));
  return std::u16string(szSearch);
}

}  // namespace

void CCtSvcEmailFilter::_AddConditions(CCtSvcFilterConditions& conditions) const {
  if (m_Filter.szEmailAddress[0] != '\0') {
    conditions.AddTextMatch(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_DATA, m_Filter.szEmailAddress,
                            m_Filter.EmailTruncation, CTSVC_FILTER_ESCAPE_SIZE_EMAIL);
    conditions.SetOrderByColumn(CTSVC_DB_CONTACTDATA_COLUMN_ID);
  }
  if (!m_vcEmailAddresses.empty()) {
    std::vector<std::u16string> vcValues;
    for (const std::string& strAddress : m_vcEmailAddresses) {
      vcValues.push_back(CtSvcToPCode(strAddress.c_str()));
    }
    conditions.AddTextIn(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_DATA, vcValues);
    conditions.SetOrderByColumn(CTSVC_DB_CONTACTDATA_COLUMN_ID);
  }
  conditions.AddIntEqual(CTSVC_DB_CONTACTDATA_COLUMN_TYPE, CTSVC_CONTACT_TYPE_EMAILADDRESS);
  CtSvcApplyFilterRules(m_Filter, kEmailRules, conditions);
}

void CCtSvcPhoneNumberFilter::_AddConditions(CCtSvcFilterConditions& conditions) const {
  if (m_Filter.szPhoneNumber[0] != '\0') {
    if (m_Filter.NumberTruncation == CTSVC_FILTER_TRUNCATION_EXACT) {
      conditions.AddArgForm("%s.%s = ?", CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_SDATA, SearchForm(m_Filter.szPhoneNumber));
    } else {
      conditions.AddLike(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_DATA, m_Filter.szPhoneNumber, m_Filter.NumberTruncation,
                         CTSVC_FILTER_ESCAPE_SIZE_PHONENUMBER);
    }
    conditions.SetOrderByColumn(CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE);
  }
  if (!m_vcPhoneNumbers.empty()) {
    std::vector<std::u16string> vcValues;
    for (const std::string& strNumber : m_vcPhoneNumbers) {
      vcValues.push_back(SearchForm(strNumber.c_str()));
    }
    conditions.AddTextIn(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_SDATA, vcValues);
    conditions.SetOrderByColumn(CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE);
  }
  conditions.AddIntEqual(CTSVC_DB_CONTACTDATA_COLUMN_TYPE, CTSVC_CONTACT_TYPE_PHONENUMBER);
  CtSvcApplyFilterRules(m_Filter, kPhoneNumberRules, conditions);
}

BOOL CCtSvcPhoneNumberFilter::_ConvertPhoneNumberForSearch(const char* pszNumber, MCHAR* pOut, int nSize) {
  const int nUnits = nSize / static_cast<int>(sizeof(MCHAR));
  if (pszNumber == nullptr || pOut == nullptr || nUnits <= 0) {
    return FALSE;
  }
  const size_t nLength = std::strlen(pszNumber);
  const int nCompare = CtSvcGetDigitsCount2Compare(pszNumber);
  size_t nKeep = nCompare > 0 && nLength > static_cast<size_t>(nCompare) ? static_cast<size_t>(nCompare) : nLength;
  // Bytes never convert to more units than there are bytes: at most nUnits - 1 bytes fit.
  if (nKeep > static_cast<size_t>(nUnits - 1)) {
    nKeep = static_cast<size_t>(nUnits - 1);
  }
  const char* pszTail = pszNumber + (nLength - nKeep);
  while (*pszTail != '\0' && (static_cast<unsigned char>(*pszTail) & 0xC0) == 0x80) {
    ++pszTail;  // never start inside a character
  }
  const int nWritten = WmConvert2PCode(pOut, nUnits, pszTail);
  pOut[nWritten > 0 ? nWritten : 0] = u'\0';
  return nWritten >= 0;
}
