#include "CtSvcContactData.h"

#include <cstdint>

#include "ContentFramework.h"
#include "CtSvcDB/Records/CtSvcFieldMap.h"
#include "CtSvcDB/Records/CtSvcRecordBase.h"
#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "CtSvcDB/Tables/CtSvcDbTable.h"
#include "ZelDebug.h"

namespace {

constexpr CtSvcNameColumns kContactDataNameColumns = {
    CTSVC_DB_CONTACTDATA_COLUMN_FL_FULLNAME, -1, -1, CTSVC_DB_CONTACTDATA_COLUMN_LF_FULLNAME, -1, -1,
};

}  // namespace

bool CtSvcAcceptContactDataRow(const CContent& content, CtSvcContactType nExpected, const char* szLogName,
                               const char* szTypeName) {
  int nType = 0;
  if (!CtSvcReadInt8Column(content, CTSVC_DB_CONTACTDATA_COLUMN_TYPE, nType, szLogName)) {
    return false;
  }
  if (nType != nExpected) {
    DbgPrint(DBG_CLASS_FAIL, "%s - contactDataType(%d) is not %s", szLogName, nType, szTypeName);
    return false;
  }
  return true;
}

void CtSvcSetContactDataColumns(CContentInput& input, CCtSvcDbTable& table, CtSvcContactType nType,
                                const std::string& strFirst, const std::string& strLast, const std::string& strSearchData) {
  input.SetInt8(table.GetColumnName(CTSVC_DB_CONTACTDATA_COLUMN_TYPE), static_cast<int8_t>(nType));
  CCtSvcRecord::_SetNameColumns(input, table, strFirst, strLast, kContactDataNameColumns);
  input.SetNString(table.GetColumnName(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_SDATA), CtSvcToInputText(strSearchData));
}
