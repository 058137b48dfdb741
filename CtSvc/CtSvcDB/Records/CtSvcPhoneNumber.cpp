// Phone numbers: the TYPE check of the shared table and the search columns.
#include "CtSvcPhoneNumber.h"

#include "CtSvcDB/Records/CtSvcContactData.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"

void CCtSvcPhoneNumber::SetPerson(const CCtSvcPerson& person) { _ApplyIdentity(person.GetIdentity()); }

bool CCtSvcPhoneNumber::_AcceptRow(const CContent& content) const {
  return CtSvcAcceptContactDataRow(content, CTSVC_CONTACT_TYPE_PHONENUMBER, CtSvcPhoneNumberTraits::kLoadLogName,
                                   "CTSVC_CONTACT_TYPE_PHONENUMBER");
}

void CCtSvcPhoneNumber::_SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const {
  std::string strSearch;
  _GetPhoneNumberToSearch(m_Fields.strPhoneNumber, strSearch);
  CtSvcSetContactDataColumns(input, table, CTSVC_CONTACT_TYPE_PHONENUMBER, m_Fields.strFirstName, m_Fields.strLastName,
                             strSearch);
}
