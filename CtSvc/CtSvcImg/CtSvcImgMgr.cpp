// The image manager's singleton, its per-account thumbnail stores, account folders and paths.
#include "CtSvcImgMgr.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

#include "ContentFramework.h"
#include "CtSvcImg.h"
#include "ZelAc.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelOs.h"

namespace {

std::mutex g_instanceMutex;
std::unique_ptr<CCtSvcImgMgr> g_pInstance;

const char kAccountPrefix[] = "/User/Mass/Ct/";
const char kQuotaPath[] = "/User/Mass";

std::string AccountPath(const char* pszFormat, int nAccountId) {
  char szPath[128];
  std::snprintf(szPath, sizeof(szPath), pszFormat, nAccountId);
  return szPath;
}

}  // namespace

CCtSvcImgMgr* CCtSvcImgMgr::Instance() {
  std::lock_guard<std::mutex> lock(g_instanceMutex);
  if (!g_pInstance) {
    g_pInstance.reset(new (std::nothrow) CCtSvcImgMgr());  // the constructor is private to the singleton
    if (!g_pInstance) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::Instance : instance create failed \n");
      return nullptr;
    }
  }
  return g_pInstance.get();
}

CCtSvcImgMgr::CCtSvcImgMgr() : m_hAccessMutex(OsCreateMutex("CtSvcDataImgMgrAccessMutex")) {
  ZEL_REQUIRE(m_hAccessMutex != INVALID_HOBJ);
}

CCtSvcImgMgr::~CCtSvcImgMgr() {
  m_mapThumbDB.clear();
  if (m_hAccessMutex != INVALID_HOBJ) {
    OsDeleteMutex(m_hAccessMutex);
  }
}

CImgSvcThumbDB* CCtSvcImgMgr::_GetThumbDB(int nAccountId) {
  const std::string strDbPath = AccountPath("/User/Mass/Ct/%d/thumbdb.tdb", nAccountId);
  char szHost[1024] = "";
  FmGetHostPath(strDbPath.c_str(), szHost, sizeof(szHost));
  auto it = m_mapThumbDB.find(nAccountId);
  if (it != m_mapThumbDB.end() && it->second.strHostPath == szHost && it->second.pDb->IsOpen()) {
    return it->second.pDb.get();
  }
  auto pDb = std::make_unique<CImgSvcThumbDB>();
  if (!pDb->Create(strDbPath.c_str(), AccountPath("/User/Mass/Ct/%d/Images", nAccountId).c_str())) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::GetThumbDB - Create(%d) pThumbDB->Create failed!\n", nAccountId);
    return nullptr;
  }
  ThumbStore& store = m_mapThumbDB[nAccountId];
  store.strHostPath = szHost;
  store.pDb = std::move(pDb);
  return store.pDb.get();
}

int CCtSvcImgMgr::GetAccountIdFromCallerIdPath(const char* pszImgPath) {
  if (!ZEL_REQUIRE(pszImgPath != NULL && AcStrlen(pszImgPath) > 0)) {
    return -1;
  }
  const size_t nPrefix = sizeof(kAccountPrefix) - 1;
  if (std::strncmp(pszImgPath, kAccountPrefix, nPrefix) != 0) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcImgMgr::GetAccountIdFromCallerIdPath don't support account path(%s)\n",
             pszImgPath);
    return 0;
  }
  const char* pszNumber = pszImgPath + nPrefix;
  char* pszEnd = nullptr;
  const long nAccount = std::strtol(pszNumber, &pszEnd, 10);
  if (pszEnd == pszNumber || *pszEnd != '/' || nAccount < 0 || nAccount > 0x7FFFFFFF) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcImgMgr::GetAccountIdFromCallerIdPath don't support account path(%s)\n",
             pszImgPath);
    return 0;
  }
  return static_cast<int>(nAccount);
}

BOOL CCtSvcImgMgr::IsEnoughAvailableSize() {
  const INT64 nAvailable = FmGetAvailableSize(kQuotaPath);
  if (nAvailable <= CTSVC_IMG_MIN_AVAILABLE_SIZE) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::IsEnoughAvailableSize : Quota Full Available size (%ld)\n",
             static_cast<long>(nAvailable));
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcImgMgr::DeleteAccount(int nAccountId) {
  {
    CAppSvcMutexLock lock(m_hAccessMutex);
    m_mapThumbDB.erase(nAccountId);  // closes the store before its file goes
  }
  const std::string strImages = AccountPath("/User/Mass/Ct/%d/Images", nAccountId);
  const std::string strAccount = AccountPath("/User/Mass/Ct/%d", nAccountId);
  if (!FmIsDirExist(strAccount.c_str())) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcImgMgr::DeleteAccount Directory doesn't exist %s\n", strAccount.c_str());
    return TRUE;
  }
  if ((FmIsDirExist(strImages.c_str()) && !FmDeleteDir(strImages.c_str())) || !FmDeleteDir(strAccount.c_str())) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::DeleteAccount (%d) return FALSE\n", nAccountId);
    return FALSE;
  }
  return TRUE;
}

BOOL CCtSvcImgMgr::MakeCallerIdPath(int nAccountId, const char* pszFileName, char* pszOutputCallerIdPath,
                                    int nBufferLength) {
  if (!ZEL_REQUIRE(pszFileName != NULL && AcStrlen(pszFileName) > 0) ||
      !ZEL_REQUIRE(pszOutputCallerIdPath != NULL && nBufferLength > 0)) {
    return FALSE;
  }
  const int nWritten = std::snprintf(pszOutputCallerIdPath, static_cast<size_t>(nBufferLength),
                                     "/User/Mass/Ct/%d/Images/%s", nAccountId, pszFileName);
  if (nWritten < 0 || nWritten >= nBufferLength) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcImgMgr::MakeCallerIdPath - buffer of %d bytes is too small\n", nBufferLength);
    pszOutputCallerIdPath[0] = '\0';
    return FALSE;
  }
  return TRUE;
}
