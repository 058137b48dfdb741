// FDN entries: the search form of the number.
#include "CtSvcFdn.h"

void CCtSvcFdn::_SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const {
  std::string strSearch;
  _GetPhoneNumberToSearch(m_Fields.strPhoneNumber, strSearch);
  input.SetNString(table.GetColumnName(CTSVC_DB_FDN_COLUMN_SPHONENUMBER), CtSvcToInputText(strSearch));
}
