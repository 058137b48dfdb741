// Per-value steps of the column-map engine: column reads with their failure lines, C texts and
// the date rules.
#include "CtSvcFieldMap.h"

#include <cstdint>
#include <cstring>

#include "ContentFramework.h"
#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "ZelDebug.h"

namespace {

bool Report(bool bRead, const char* szLogName, const char* szGetter, int nColumn) {
  if (!bRead) {
    DbgPrint(DBG_CLASS_FAIL, "%s - Content.%s(Index = %d) failed\n", szLogName, szGetter, nColumn);
  }
  return bRead;
}

}  // namespace

TmDateTime CtSvcUnsetDate() { return kCtSvcUnsetDate; }

TmDateTime CtSvcCheckedDate(const TmDateTime& date) {
  const bool bValid = date.year >= 1900 && date.year <= 2100 && date.month >= 1 && date.month <= 12 &&
                      date.day >= 1 && date.day <= 31;
  return bValid ? date : CtSvcUnsetDate();
}

bool CtSvcIsSameDate(const TmDateTime& a, const TmDateTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second;
}

bool CtSvcReadIntColumn(const CContent& content, int nColumn, int& nValue, const char* szLogName) {
  int32_t nRead = 0;
  if (!Report(content.GetInt(nColumn, nRead), szLogName, "GetInt", nColumn)) {
    return false;
  }
  nValue = nRead;
  return true;
}

bool CtSvcReadInt8Column(const CContent& content, int nColumn, int& nValue, const char* szLogName) {
  int8_t nRead = 0;
  if (!Report(content.GetInt8(nColumn, nRead), szLogName, "GetInt8", nColumn)) {
    return false;
  }
  nValue = nRead;
  return true;
}

bool CtSvcReadStringColumn(const CContent& content, int nColumn, std::string& strValue, const char* szLogName) {
  std::u16string strRead;
  if (!Report(content.GetString(nColumn, strRead), szLogName, "GetString", nColumn)) {
    return false;
  }
  strValue = CtSvcToLCode(strRead);
  return true;
}

bool CtSvcReadDateTimeColumn(const CContent& content, int nColumn, TmDateTime& dtValue, const char* szLogName) {
  TmDateTime dtRead{};
  if (!Report(content.GetDateTime(nColumn, dtRead), szLogName, "GetDateTime", nColumn)) {
    return false;
  }
  dtValue = dtRead;
  return true;
}

bool CtSvcReadStructString(const unsigned char* pBase, const CtSvcStructSlot& slot, std::string& strValue,
                           const char* szClassName) {
  if (CtSvcReadCString(reinterpret_cast<const char*>(pBase + slot.nOffset), slot.nSize, strValue)) {
    return true;
  }
  DbgPrint(DBG_CLASS_FAIL, "%s::SetData - %s is not a terminated UTF-8 text\n", szClassName, slot.szName);
  return false;
}

INT32 CtSvcReadStructInt(const unsigned char* pMember) {
  INT32 nValue = 0;
  std::memcpy(&nValue, pMember, sizeof(nValue));
  return nValue;
}

void CtSvcWriteStructInt(unsigned char* pMember, INT32 nValue) { std::memcpy(pMember, &nValue, sizeof(nValue)); }

TmDateTime CtSvcReadStructDate(const unsigned char* pMember) {
  TmDateTime dtValue{};
  std::memcpy(&dtValue, pMember, sizeof(dtValue));
  return dtValue;
}

void CtSvcWriteStructDate(unsigned char* pMember, const TmDateTime& dtValue) {
  std::memcpy(pMember, &dtValue, sizeof(dtValue));
}
