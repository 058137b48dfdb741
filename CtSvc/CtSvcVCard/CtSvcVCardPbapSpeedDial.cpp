// The number on a speed-dial key, asked for by the Bluetooth service with the key as text.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "CtSvcDbDetail.h"
#include "CtSvcPbap.h"
#include "ZelDebug.h"

BOOL CtSvcGetSpeedDial4BT(const char* pszEntryNum, char* pszNumber) {
  if (pszEntryNum == nullptr || pszEntryNum[0] == '\0' || pszNumber == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "__CtSvcGetSpeedDial4BT pszEntryNum is invalid \n");
    return FALSE;
  }
  char* pszEnd = nullptr;
  errno = 0;
  const long nEntry = std::strtol(pszEntryNum, &pszEnd, 10);
  if (*pszEnd != '\0' || errno != 0 || nEntry > 0x7FFFFFFF) {
    DbgPrint(DBG_CLASS_FAIL, "__CtSvcGetSpeedDial4BT pszEntryNum is invalid \n");
    return FALSE;
  }
  if (nEntry < 0) {
    DbgPrint(DBG_CLASS_FAIL, "__CtSvcGetSpeedDial4BT pszEntryNum < 0 !! \n");
    return FALSE;
  }
  // The key's own number: a person with several numbers has one of them on the key.
  CtSvcSpeedDialRecord key{};
  CtSvcPhoneNumberRecord number{};
  if (!CtSvcDbSdGetRecord(static_cast<int>(nEntry), &key) ||
      !CtSvcDbPhoneNumberGetRecord(key.Info.nPhoneNumberId, &number)) {
    DbgPrint(DBG_CLASS_FAIL, "__CtSvcGetSpeedDial4BT ListCount is 0 < 0 !! \n");
    return FALSE;
  }
  std::strncpy(pszNumber, number.Info.szPhoneNumber, CTSVC_PBAP_NUMBER_SIZE - 1);
  pszNumber[CTSVC_PBAP_NUMBER_SIZE - 1] = '\0';
  return TRUE;
}
