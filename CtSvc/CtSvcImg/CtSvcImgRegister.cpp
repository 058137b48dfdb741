// Copying a contact's caller image into the image store of the contact's account.
#include <cstdio>
#include <cstring>

#include "CtSvcImg.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelTm.h"

namespace {

// "phone<time>.jpg" in the account's image folder; a name already taken (two images within one
// second) moves on to the next number so that no stored image is overwritten.
bool MakeLibraryPath(int nAccountId, char* pszPath, int nLength) {
  for (UINT32 nNumber = TmGetTime(), nTries = 0; nTries < 1000; ++nNumber, ++nTries) {
    char szName[32];
    std::snprintf(szName, sizeof(szName), "phone%u.jpg", nNumber);
    if (!CtSvcImgMakeCallerIdPath(nAccountId, szName, pszPath, nLength)) {
      return false;
    }
    if (!FmIsFileExist(pszPath)) {
      return true;
    }
  }
  return false;
}

}  // namespace

BOOL CtSvcRegisterImgtoLibrary(CtSvcContactInfo* pContactInfo) {
  if (!ZEL_REQUIRE(pContactInfo != NULL) || !ZEL_REQUIRE(pContactInfo->pPersonInfo != NULL)) {
    return FALSE;
  }
  CtSvcPersonInfo* pPerson = pContactInfo->pPersonInfo;
  pPerson->szCallerImage[sizeof(pPerson->szCallerImage) - 1] = '\0';
  if (pPerson->szCallerImage[0] == '\0') {
    return TRUE;  // no image to register
  }
  char szPath[CTSVC_PERSON_CALLER_IMAGE_SIZE];
  const int nAccountId = pPerson->nAccountId > 0 ? pPerson->nAccountId : 0;
  if (!MakeLibraryPath(nAccountId, szPath, static_cast<int>(sizeof(szPath))) ||
      !CtSvcImgSaveEx(szPath, pPerson->szCallerImage)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcRegisterImgtoLibrary-CtSvcImgSaveEx return FALSE\n");
    return FALSE;
  }
  std::memcpy(pPerson->szCallerImage, szPath, std::strlen(szPath) + 1);
  return TRUE;
}
