// Filters of the contact-data table: e-mail addresses (TYPE 2) and phone numbers (TYPE 1). Both
// match one value by truncation or a list of values, then the owner and kind conditions.
#ifndef CTSVC_CONTACT_DATA_FILTER_H
#define CTSVC_CONTACT_DATA_FILTER_H

#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcTableFilter.h"

class CCtSvcEmailFilter : public CCtSvcDetailFilter<CCtSvcEmailFilter, CtSvcEmailFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcEmailFilter::BuildContentFilter Where == %s\n";
  CTSVC_FILTER_INT_SETTER(PersonId, nPersonId)
  CTSVC_FILTER_INT_SETTER(PrimaryId, nPrimaryId)
  CTSVC_FILTER_INT_SETTER(DeviceType, DevType)
  CTSVC_FILTER_INT_SETTER(AccountId, nAccountId)
  CTSVC_FILTER_INT_SETTER(LocalPhoneDataOnly, bLocalPhoneDataOnly)
  CTSVC_FILTER_INT_SETTER(UseType, UseType)
  CTSVC_FILTER_INT_SETTER(EmailTruncation, EmailTruncation)
  CTSVC_FILTER_TEXT_SETTER(EmailAddress, szEmailAddress)
  // Rows whose address is one of these (exact match).
  void SetEmailAddress(std::vector<std::string> vcAddresses) { m_vcEmailAddresses = std::move(vcAddresses); }

 protected:
  void _AddConditions(CCtSvcFilterConditions& conditions) const override;

 private:
  std::vector<std::string> m_vcEmailAddresses;
};

class CCtSvcPhoneNumberFilter : public CCtSvcDetailFilter<CCtSvcPhoneNumberFilter, CtSvcPhoneNumberFilter> {
 public:
  static constexpr const char* kWhereLog = "CCtSvcPhoneNumberFilter::BuildContentFilter Where == %s\n";
  CTSVC_FILTER_INT_SETTER(PersonId, nPersonId)
  CTSVC_FILTER_INT_SETTER(PrimaryId, nPrimaryId)
  CTSVC_FILTER_INT_SETTER(DeviceType, DevType)
  CTSVC_FILTER_INT_SETTER(AccountId, nAccountId)
  CTSVC_FILTER_INT_SETTER(LocalPhoneDataOnly, bLocalPhoneDataOnly)
  CTSVC_FILTER_INT_SETTER(PhoneType, PhoneType)
  CTSVC_FILTER_INT_SETTER(NumberTruncation, NumberTruncation)
  CTSVC_FILTER_TEXT_SETTER(PhoneNumber, szPhoneNumber)
  // Rows whose number has the search form of one of these.
  void SetPhoneNumber(std::vector<std::string> vcNumbers) { m_vcPhoneNumbers = std::move(vcNumbers); }

  // The search form of a number as the contact-data table stores it: its last
  // CtSvcGetDigitsCount2Compare digits, as 16-bit text in pOut (nSize bytes, terminated). When
  // the buffer is too small the last digits that fit are kept. FALSE for a null argument.
  static BOOL _ConvertPhoneNumberForSearch(const char* pszNumber, MCHAR* pOut, int nSize);

 protected:
  void _AddConditions(CCtSvcFilterConditions& conditions) const override;

 private:
  std::vector<std::string> m_vcPhoneNumbers;
};

#endif
