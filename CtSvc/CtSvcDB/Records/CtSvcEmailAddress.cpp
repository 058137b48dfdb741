// E-mail addresses: the TYPE check of the shared table, the search columns and the AAS id that
// only numbers use.
#include "CtSvcEmailAddress.h"

#include "CtSvcDB/Records/CtSvcContactData.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"

void CCtSvcEmailAddress::SetPerson(const CCtSvcPerson& person) { _ApplyIdentity(person.GetIdentity()); }

bool CCtSvcEmailAddress::_AcceptRow(const CContent& content) const {
  return CtSvcAcceptContactDataRow(content, CTSVC_CONTACT_TYPE_EMAILADDRESS, CtSvcEmailAddressTraits::kLoadLogName,
                                   "CTSVC_CONTACT_TYPE_EMAILADDRESS");
}

void CCtSvcEmailAddress::_SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const {
  input.SetInt(table.GetColumnName(CTSVC_DB_CONTACTDATA_COLUMN_AAS_ID), -1);
  CtSvcSetContactDataColumns(input, table, CTSVC_CONTACT_TYPE_EMAILADDRESS, m_Fields.strFirstName, m_Fields.strLastName,
                             m_Fields.strEmailAddress);
}
