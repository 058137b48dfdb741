// A contact to vCard text and back.
#include <string>

#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "ZelDebug.h"
#include "ZelFm.h"

namespace {

BOOL ConvertVcard(const char* pszVCard, CtSvcContactInfo* pContact, const char* pszPhotoPath) {
  if (pszVCard == nullptr || pContact == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcConvertVcard2Record: VCardDecode fail\n");
    return FALSE;
  }
  VObject* pObject = nullptr;
  if (!VCardDecode(pszVCard, &pObject)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcConvertVcard2Record: VCardDecode fail\n");
    return FALSE;
  }
  const BOOL bDone = CtSvcVCardReadObject(*pObject, pContact, pszPhotoPath);
  VCardFreeObject(pObject);
  return bDone;
}

// RAII for an open platform file.
class CFile {
 public:
  explicit CFile(HOBJ hFile) : m_hFile(hFile) {}
  ~CFile() {
    if (m_hFile != INVALID_HOBJ) {
      FmCloseFile(m_hFile);
    }
  }
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;
  HOBJ Get() const { return m_hFile; }

 private:
  HOBJ m_hFile;
};

}  // namespace

BOOL CtSvcConvertRecord2VCardVersion(const CtSvcContactInfo* pContact, INT32 nVersion, char** ppszVCard) {
  if (pContact == nullptr || ppszVCard == nullptr || pContact->pPersonInfo == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcConvertRecord2VCard:: VCardEncode get Failed\n");
    return FALSE;
  }
  VObject* pObject = CtSvcVCardBuildObject(*pContact, CtSvcVCardForm::kFull);
  if (pObject == nullptr) {
    return FALSE;
  }
  const BOOL bDone = VCardEncodeVersion(pObject, nVersion, ppszVCard);
  if (bDone) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcConvertRecord2VCard:: VCardEncode is successful pObject=%d\n", 1);
  } else {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcConvertRecord2VCard:: VCardEncode get Failed\n");
  }
  VCardFreeObject(pObject);
  return bDone;
}

BOOL CtSvcConvertRecord2VCard(const CtSvcContactInfo* pContact, char** ppszVCard) {
  return CtSvcConvertRecord2VCardVersion(pContact, VCARD_VERSION_21, ppszVCard);
}

BOOL CtSvcConvertVcard2Record(const char* pszVCard, CtSvcContactInfo* pContact) {
  return ConvertVcard(pszVCard, pContact, CTSVC_VCARD_PHOTO_PATH);
}

BOOL CtSvcConvertVcard2MyProfile(const char* pszVCard, CtSvcContactInfo* pContact) {
  return ConvertVcard(pszVCard, pContact, CTSVC_VCARD_MYPROFILE_PHOTO_PATH);
}

BOOL CtSvcFreeVcard(void* pObject) {
  if (pObject == nullptr) {
    return FALSE;
  }
  VCardFreeObject(static_cast<VObject*>(pObject));
  return TRUE;
}

BOOL CtSvcVCardWritePhoto(const char* pszPath, const char* pBytes, int nLength) {
  if (!FmCreateDir("/User/Ct") || !FmCreateDir("/User/Ct/Tmb")) {
    DbgPrint(DBG_CLASS_FAIL, "__CtSvcSetVcardImage: FmCreateDir( void ) failed\n");
    return FALSE;
  }
  if (FmIsFileExist(pszPath)) {
    FmDeleteFile(pszPath);
  }
  CFile file(FmCreateFile(pszPath));
  if (file.Get() == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "__CtSvcSetVcardImage:  FmCreateFile Fail \n");
    return FALSE;
  }
  return FmWriteFile(file.Get(), pBytes, static_cast<UINT32>(nLength)) == nLength ? TRUE : FALSE;
}

bool CtSvcVCardReadFile(const char* pszPath, std::string& strOut) {
  CFile file(FmOpenFile(pszPath, FM_READ));
  if (file.Get() == INVALID_HOBJ) {
    return false;
  }
  const INT32 nSize = FmGetFileSize(file.Get());
  if (nSize < 0) {
    return false;
  }
  strOut.assign(static_cast<size_t>(nSize), '\0');
  return nSize == 0 || FmReadFile(file.Get(), &strOut[0], static_cast<UINT32>(nSize)) == nSize;
}
