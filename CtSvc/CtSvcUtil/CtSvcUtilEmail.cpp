// E-mail address validity.
#include <algorithm>
#include <cstring>

#include "CtSvcUtil.h"
#include "ZelDebug.h"

extern "C" BOOL CtSvcCheckValidAddress(const char* pszAddress) {
  if (pszAddress == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcCheckValidAddress: - pszAddress is NULL\n");
    return FALSE;
  }
  const size_t nLen = std::strlen(pszAddress);
  if (nLen == 0 || pszAddress[0] == '@' || pszAddress[0] == '.' || pszAddress[nLen - 1] == '@') {
    return FALSE;
  }
  if (std::strpbrk(pszAddress, "\";,") != nullptr || std::strstr(pszAddress, "..") != nullptr ||
      std::strstr(pszAddress, ".@") != nullptr) {
    return FALSE;
  }
  return std::count(pszAddress, pszAddress + nLen, '@') == 1 ? TRUE : FALSE;
}
