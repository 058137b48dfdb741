// Exported functions that queue jobs on the background task.
#include <memory>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcModule.h"
#include "CtSvcSearch.h"
#include "CtSvcTask.h"
#include "CtSvcTaskJobDeleteAccount.h"
#include "CtSvcTaskJobFastScroll.h"
#include "CtSvcTaskJobSearch.h"
#include "CtSvcTaskMgr.h"
#include "ZelDebug.h"

namespace {

BOOL AddJob(std::unique_ptr<CCtSvcTaskJob> pJob) {
  CCtSvcTaskMgr* pMgr = CCtSvcTaskMgr::Instance();
  return pMgr != nullptr ? pMgr->AddJob(std::move(pJob)) : FALSE;
}

}  // namespace

extern "C" BOOL CtSvcFastScrollRequestLetters(const CtSvcPrimaryFilter* pFilter, CtSvcFastScrollCallback pfnCallback,
                                              void* pUserData) {
  if (!ZEL_REQUIRE(pFilter != NULL) || !ZEL_REQUIRE(pfnCallback != NULL)) {
    return FALSE;
  }
  CAppSvcMutexLock lock(CtSvcGetModuleMutex());
  return AddJob(std::make_unique<CCtSvcTaskJobFastScroll>(*pFilter, pfnCallback, pUserData));
}

extern "C" BOOL CtSvcFastScrollRequestPersonLetters(const CtSvcPersonFilter* pFilter,
                                                    CtSvcFastScrollCallback pfnCallback, void* pUserData) {
  if (!ZEL_REQUIRE(pFilter != NULL) || !ZEL_REQUIRE(pfnCallback != NULL)) {
    return FALSE;
  }
  CAppSvcMutexLock lock(CtSvcGetModuleMutex());
  return AddJob(std::make_unique<CCtSvcTaskJobPersonFastScroll>(*pFilter, pfnCallback, pUserData));
}

extern "C" BOOL CtSvcTaskIsWorking(void) { return CCtSvcTaskMgr::IsWorking(); }

extern "C" BOOL CtSvcTaskWaitForIdle(INT32 nTimeoutMs) {
  CCtSvcTaskMgr* pMgr = CCtSvcTaskMgr::Instance();
  return pMgr != nullptr && pMgr->WaitForIdle(nTimeoutMs > 0 ? nTimeoutMs : 0) ? TRUE : FALSE;
}

extern "C" BOOL CtSvcTaskRequestDeleteAccount(INT32 nDeviceType, const INT32* pAccountIds, INT32 nCount,
                                              CtSvcDeleteAccountCallback pfnCallback, void* pUserData) {
  if (!ZEL_REQUIRE(pAccountIds != NULL) || !ZEL_REQUIRE(nCount > 0)) {
    return FALSE;
  }
  std::vector<int> vcAccountIds(pAccountIds, pAccountIds + nCount);
  return AddJob(std::make_unique<CCtSvcTaskJobDeleteAccount>(nDeviceType, std::move(vcAccountIds), pfnCallback,
                                                             pUserData));
}

extern "C" BOOL CtSvcSearchRequestSearchEx(INT32 nSearchType, INT32 nDeviceType, const char* pszSearchText,
                                           CtSvcSearchRequestCallback pfnCallback, void* pUserData) {
  if (!ZEL_REQUIRE(pszSearchText != NULL) || !ZEL_REQUIRE(pfnCallback != NULL)) {
    return FALSE;
  }
  return AddJob(
      std::make_unique<CCtSvcTaskJobSearchRequest>(nSearchType, nDeviceType, pszSearchText, pfnCallback, pUserData));
}

extern "C" BOOL CtSvcSearchDestroyResultEx(CtSvcSearchDestroyCallback pfnCallback, void* pUserData) {
  return AddJob(std::make_unique<CCtSvcTaskJobSearchResultDestroy>(pfnCallback, pUserData));
}
