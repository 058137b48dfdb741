// Files in the phone memory's media folders: whether a folder is full, and a free name for a copy.
#include <cstdio>
#include <cstring>
#include <string>

#include "CtSvcUtil.h"
#include "ZelDebug.h"
#include "ZelMxSvc/ZelMxSvc.h"

namespace {

constexpr size_t kMaxPath = 772;   // bytes of a platform path, terminator included
constexpr int kMaxFilesPerFolder = 998;
constexpr size_t kCounterLen = 4;  // "_%03d"

bool SaveFolder(const char* pszFile, std::string& strFolder) {
  char szFolder[kMaxPath];
  if (!MxCfgSvcGetSavePathByFile(pszFile, szFolder, static_cast<int>(sizeof(szFolder)))) {
    return false;
  }
  strFolder = szFolder;
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "name_001" -> "name": a counter added by an earlier copy is replaced, not stacked.
void DropCounter(std::string& strBase) {
  const size_t n = strBase.size();
  if (n >= kCounterLen && strBase[n - 4] == '_' && IsDigit(strBase[n - 3]) && IsDigit(strBase[n - 2]) &&
      IsDigit(strBase[n - 1])) {
    strBase.resize(n - kCounterLen);
  }
}

// Cuts a UTF-8 text to at most nMax bytes without splitting a character.
void CutUtf8(std::string& str, size_t nMax) {
  if (str.size() <= nMax) {
    return;
  }
  size_t n = nMax;
  while (n > 0 && (static_cast<unsigned char>(str[n]) & 0xC0) == 0x80) {
    --n;
  }
  str.resize(n);
}

bool Emit(const std::string& strPath, char* pszOut, int nOutSize) {
  if (strPath.size() + 1 > static_cast<size_t>(nOutSize)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcGetFilePathName4PhoneMemory: - %zu bytes do not fit the output of %d\n",
             strPath.size() + 1, nOutSize);
    return false;
  }
  std::memcpy(pszOut, strPath.c_str(), strPath.size() + 1);
  return true;
}

}  // namespace

extern "C" BOOL CtIsFileFull(const char* pszFile, int /*nReserved*/) {
  if (pszFile == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtIsFileFull: - pszFile is NULL\n");
    return FALSE;
  }
  std::string strFolder;
  if (!SaveFolder(pszFile, strFolder)) {
    return FALSE;
  }
  return MxSvcFsGetContentsCntByPathForFullCheck(strFolder.c_str()) > kMaxFilesPerFolder ? TRUE : FALSE;
}

extern "C" BOOL CtSvcGetFilePathName4PhoneMemory(const char* pszSrcPath, char* pszOutPath, int nOutSize) {
  if (pszSrcPath == nullptr || pszOutPath == nullptr || nOutSize < 1) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcGetFilePathName4PhoneMemory: - invalid arguments\n");
    return FALSE;
  }
  const char* pszSlash = std::strrchr(pszSrcPath, '/');
  const std::string strName = pszSlash != nullptr ? pszSlash + 1 : pszSrcPath;
  std::string strFolder;
  if (strName.empty() || !SaveFolder(pszSrcPath, strFolder)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcGetFilePathName4PhoneMemory: - no file name or folder for %s\n", pszSrcPath);
    return FALSE;
  }
  const std::string strTarget = strFolder + "/" + strName;
  if (strTarget.size() < kMaxPath && !MxSvcFsIsDuplicatedFile(strTarget.c_str())) {
    return Emit(strTarget, pszOutPath, nOutSize) ? TRUE : FALSE;
  }
  const size_t nDot = strName.rfind('.');
  const std::string strExt = nDot != std::string::npos ? strName.substr(nDot) : std::string();
  std::string strBase = strName.substr(0, nDot);
  const size_t nFixed = strFolder.size() + 1 + kCounterLen + strExt.size() + 1;
  if (nFixed >= kMaxPath) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcGetFilePathName4PhoneMemory: - %s leaves no room for a name\n", pszSrcPath);
    return FALSE;
  }
  CutUtf8(strBase, kMaxPath - nFixed);
  DropCounter(strBase);
  for (int n = 1; n <= kMaxFilesPerFolder; ++n) {
    char szCounter[8];
    std::snprintf(szCounter, sizeof(szCounter), "_%03d", n);
    const std::string strCandidate = strFolder + "/" + strBase + szCounter + strExt;
    if (!MxSvcFsIsDuplicatedFile(strCandidate.c_str())) {
      return Emit(strCandidate, pszOutPath, nOutSize) ? TRUE : FALSE;
    }
  }
  DbgPrint(DBG_CLASS_FAIL, "CtSvcGetFilePathName4PhoneMemory: - no free name for %s\n", pszSrcPath);
  return FALSE;
}
