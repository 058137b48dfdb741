// vCard files: one contact written as "/User/Ct/<name>.vcf", and checks of received files (read
// card by card, never whole).
#include <cstdio>
#include <string>

#include "CtSvcUtil.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelAppFrmwk/ZelRes.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelMem.h"

namespace {

// Counts the cards of a file, stopping after nStopAt; -1 when it cannot be read.
int CountCards(const char* pszPath, int nStopAt, bool& bAllRead) {
  char szHost[1024];
  bAllRead = true;
  if (pszPath == nullptr || !FmGetHostPath(pszPath, szHost, sizeof(szHost))) {
    return -1;
  }
  VCardStream* pStream = VCardStreamOpen(szHost);
  if (pStream == nullptr) {
    return -1;
  }
  int nCards = 0;
  VCardStreamCard card{};
  INT32 nResult = 0;
  while (nCards < nStopAt && (nResult = VCardStreamNext(pStream, &card)) == 1) {
    bAllRead = bAllRead && card.pObject != nullptr;
    VCardFreeObject(card.pObject);
    ++nCards;
  }
  VCardStreamClose(pStream);
  return nResult < 0 ? -1 : nCards;
}

// The file name of a contact: its display name with unsupported characters replaced, or the
// "unnamed" text.
std::string FileName(const CtSvcPersonInfo& person) {
  std::string strName = CtSvcVCardDisplayName(person);
  std::string strBuffer = strName;
  strBuffer.resize(strName.size() + 1);
  CtRemoveUnSupportedChar(&strBuffer[0]);
  strName = strBuffer.c_str();
  if (!CtAppIsUTF8(strName.c_str())) {
    strName.clear();
  }
  if (strName.empty()) {
    strName = ResGetString(RES_STR_UNNAMED);
  }
  return strName + ".vcf";
}

}  // namespace

BOOL CtSvcMakeVcardFile(const CtSvcContactInfo* pContact, char* pszPath) {
  if (pContact == nullptr || pszPath == nullptr || pContact->pPersonInfo == nullptr) {
    return FALSE;
  }
  char* pszText = nullptr;
  if (!CtSvcConvertRecord2VCard(pContact, &pszText)) {
    return FALSE;
  }
  std::snprintf(pszPath, CTSVC_VCARD_PATH_SIZE, "/User/Ct/%s", FileName(*pContact->pPersonInfo).c_str());
  BOOL bDone = FALSE;
  if (!FmCreateDir("/User/Ct")) {
    DbgPrint(DBG_CLASS_FAIL, "CtMakeVcardFile: IDM_VIA_BLUETOOTH FmCreateDir( void ) failed\n");
  } else {
    if (FmIsFileExist(pszPath)) {
      FmDeleteFile(pszPath);
    }
    const HOBJ hFile = FmCreateFile(pszPath);
    if (hFile == INVALID_HOBJ) {
      DbgPrint(DBG_CLASS_FAIL, "CtMakeVcardFile: FmCreateFile Fail \n");
    } else {
      const auto nLength = static_cast<INT32>(std::char_traits<char>::length(pszText));
      bDone = FmWriteFile(hFile, pszText, static_cast<UINT32>(nLength)) == nLength ? TRUE : FALSE;
      if (!bDone) {
        DbgPrint(DBG_CLASS_FAIL, "CtMakeVcardFile: DrmWriteFile Fail \n");
      }
      FmCloseFile(hFile);
    }
  }
  VCardFreeText(pszText);
  return bDone;
}

BOOL CtSvcCheckVcfValidity(const char* pszPath, INT32 /*nReserved*/) {
  bool bAllRead = true;
  const int nCards = CountCards(pszPath, 2, bAllRead);
  if (nCards > 1) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcCheckVcfValidity: noOfBegins(%d)>1\n", nCards);
  }
  if (nCards != 1 || !bAllRead) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcCheckVcfValidity: return FALSE\n");
    return FALSE;
  }
  return TRUE;
}

BOOL CtIsVcfToDetailValid(const char* pszPath) {
  if (!ZEL_REQUIRE_TEXT(pszPath != nullptr, "szFileName")) {
    return FALSE;
  }
  bool bAllRead = true;
  if (CountCards(pszPath, 1, bAllRead) < 1 || !bAllRead) {
    DbgPrint(DBG_CLASS_FAIL, "CtConvertBackupVcardToAllRecord: VCardDecode fail\n");
    return FALSE;
  }
  return TRUE;
}
