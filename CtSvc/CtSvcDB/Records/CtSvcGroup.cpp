// Groups: the sort form of the name.
#include "CtSvcGroup.h"

void CCtSvcGroup::_SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const {
  std::u16string strSortName = CtSvcToPCode(m_Fields.strName);
  _ConvertToInvalidMCHAR(strSortName);
  input.SetNString(table.GetColumnName(CTSVC_DB_GROUP_COLUMN_SNAME), CtSvcToInputText(strSortName));
}
