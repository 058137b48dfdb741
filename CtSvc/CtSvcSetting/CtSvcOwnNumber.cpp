// The own phone number kept in phone memory ("CtOwnNumber.ini", one slot), for SIMs without an
// MSISDN file. The '+' of an international number is stored apart ("ownnumbernumberInternational")
// and put back where it was on reading: in front of a plain number, at the number start of a
// supplementary-service string.
#include <cstring>
#include <string>

#include "CtSvcSetting.h"
#include "CtSvcSetting/CtSvcRegFile.h"
#include "CtSvcUtil.h"
#include "ZelDebug.h"

namespace {

const char kOwnNumberFile[] = "CtOwnNumber.ini";
const char kSection[] = "sectionFour";
const char kKeyName[] = "ownnumbername";
const char kKeyNumber[] = "ownnumbernumber";
const char kKeyInternational[] = "ownnumbernumberInternational";

bool CopyOut(const std::string& text, char* pszOut, int nSize) {
  if (text.size() + 1 > static_cast<size_t>(nSize)) {
    return false;
  }
  std::memcpy(pszOut, text.c_str(), text.size() + 1);
  return true;
}

// The number as dialled: the stored digits with the '+' put back when it was international.
std::string DialledNumber(const std::string& stored, bool bInternational) {
  if (!bInternational) {
    return stored;
  }
  char szNumber[CTSVC_OWN_NUMBER_NUMBER_SIZE] = {};
  std::strncpy(szNumber, stored.c_str(), sizeof(szNumber) - 1);
  if (CtSimConv2InternationalSString(szNumber)) {
    return szNumber;
  }
  return "+" + stored;
}

}  // namespace

extern "C" BOOL CtSvcOwnNumberSet(const char* pszName, const char* pszNumber) {
  if (!ZEL_REQUIRE(pszName != nullptr) || !ZEL_REQUIRE(pszNumber != nullptr)) {
    return FALSE;
  }
  char szNumber[CTSVC_OWN_NUMBER_NUMBER_SIZE] = {};
  if (std::strlen(pszNumber) >= sizeof(szNumber) || std::strlen(pszName) >= CTSVC_OWN_NUMBER_NAME_SIZE) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcSetOwnNumberInIniFile: name or number too long\n");
    return FALSE;
  }
  std::memcpy(szNumber, pszNumber, std::strlen(pszNumber) + 1);
  int bInternational = 0;
  if (!CtConvert2ValidPhoneNumber(szNumber, sizeof(szNumber), &bInternational)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcSetOwnNumberInIniFile: invalid number %s\n", pszNumber);
    return FALSE;
  }
  CCtSvcRegFile file(kOwnNumberFile, true);
  if (!file.IsLoaded()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcSetOwnNumberInIniFile: RegLoad( void ) failed errCode=%d\n",
             static_cast<int>(file.LoadError()));
    return FALSE;
  }
  file.SetString(kSection, kKeyName, pszName);
  file.SetString(kSection, kKeyNumber, szNumber);
  file.SetString(kSection, kKeyInternational, bInternational != 0 ? "+" : "");
  if (file.Flush() != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcSetOwnNumberInIniFile: RegFlush( void ) failed for creating\n");
    return FALSE;
  }
  return file.Unload() == REG_OK ? TRUE : FALSE;
}

extern "C" BOOL CtSvcOwnNumberGet(char* pszName, int nNameSize, char* pszNumber, int nNumberSize) {
  if (!ZEL_REQUIRE(pszName != nullptr && nNameSize > 0) || !ZEL_REQUIRE(pszNumber != nullptr && nNumberSize > 0)) {
    return FALSE;
  }
  CCtSvcRegFile file(kOwnNumberFile, false);
  if (!file.IsLoaded()) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcGetOwnNumberInIniFile: RegLoad( void ) failed errCode=%d\n",
             static_cast<int>(file.LoadError()));
    return FALSE;
  }
  const std::string name = file.GetString(kSection, kKeyName, CTSVC_OWN_NUMBER_NAME_SIZE);
  const bool bInternational = file.GetString(kSection, kKeyInternational, 2) == "+";
  const std::string number =
      DialledNumber(file.GetString(kSection, kKeyNumber, CTSVC_OWN_NUMBER_NUMBER_SIZE), bInternational);
  if (!CopyOut(name, pszName, nNameSize) || !CopyOut(number, pszNumber, nNumberSize)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcGetOwnNumberInIniFile: buffer too small\n");
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL CtSvcOwnNumberDelete(void) {
  const UINT32 nErr = RegClean(kOwnNumberFile);
  return nErr == REG_OK || nErr == REG_ERR_FILE_NOT_EXIST ? TRUE : FALSE;
}

extern "C" int CtSvcOwnNumberGetUsedCount(void) {
  CCtSvcRegFile file(kOwnNumberFile, false);
  if (!file.IsLoaded()) {
    return 0;
  }
  const bool bInternational = file.GetString(kSection, kKeyInternational, 2) == "+";
  return bInternational || !file.GetString(kSection, kKeyName, CTSVC_OWN_NUMBER_NAME_SIZE).empty() ? 1 : 0;
}
