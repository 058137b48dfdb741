// The primary's derived name columns.
#include "CtSvcPrimary.h"

namespace {

constexpr CtSvcNameColumns kPrimaryNameColumns = {
    CTSVC_DB_PRIMARY_COLUMN_FL_FULLNAME, CTSVC_DB_PRIMARY_COLUMN_FL_GROUP_LETTER, CTSVC_DB_PRIMARY_COLUMN_FL_LETTER,
    CTSVC_DB_PRIMARY_COLUMN_LF_FULLNAME, CTSVC_DB_PRIMARY_COLUMN_LF_GROUP_LETTER, CTSVC_DB_PRIMARY_COLUMN_LF_LETTER,
};

}  // namespace

void CCtSvcPrimary::_SetDerivedColumns(CContentInput& input, CCtSvcDbTable& table) const {
  _SetNameColumns(input, table, m_Fields.strFirstName, m_Fields.strLastName, kPrimaryNameColumns);
}
