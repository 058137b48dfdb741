// The social-network photo fetcher's singleton, its requests and the handling of arriving photos.
#include "CtSvcSnsImgMgr.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>

#include "ContentFramework.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcImg.h"
#include "CtSvcImg/CtSvcImgBitmapPtr.h"
#include "CtSvcModule/CtSvcModuleSingletons.h"
#include "ZelDebug.h"
#include "ZelOs.h"
#include "ZelSnsSvc.h"

namespace {

std::mutex g_instanceMutex;
std::unique_ptr<CCtSvcSnsImgMgr> g_pInstance;

constexpr INT32 kHistorySize = 100;

// Logs "TIME_CHECK <step> took <n> ms!" when it goes out of scope.
class CTimeCheck {
 public:
  explicit CTimeCheck(const char* pszStep) : m_pszStep(pszStep), m_start(std::chrono::steady_clock::now()) {}
  ~CTimeCheck() {
    const auto nMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start).count();
    DbgPrint(DBG_CLASS_TRACE, "TIME_CHECK %s took %d ms!\n", m_pszStep, static_cast<int>(nMs));
  }
  CTimeCheck(const CTimeCheck&) = delete;
  CTimeCheck& operator=(const CTimeCheck&) = delete;

 private:
  const char* m_pszStep;
  std::chrono::steady_clock::time_point m_start;
};

// A people id becomes part of a file name: it must not name a folder.
bool IsFileNameSafe(const std::string& str) {
  return !str.empty() && str.find('/') == std::string::npos && str.find("..") == std::string::npos;
}

}  // namespace

CCtSvcSnsImgMgr* CCtSvcSnsImgMgr::Instance() {
  std::lock_guard<std::mutex> lock(g_instanceMutex);
  if (!g_pInstance) {
    g_pInstance.reset(new (std::nothrow) CCtSvcSnsImgMgr());  // the constructor is private to the singleton
    if (!g_pInstance || !g_pInstance->CreateTask(CTSVC_SNS_IMG_TASK_NAME)) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsImgMgr::Instance : instance create failed \n");
      g_pInstance.reset();
      return nullptr;
    }
    CtSvcModuleSetSingleton(CTSVC_SINGLETON_SNS_IMAGE, &CCtSvcSnsImgMgr::DestroyInstance);
  }
  return g_pInstance.get();
}

void CCtSvcSnsImgMgr::DestroyInstance() {
  std::unique_ptr<CCtSvcSnsImgMgr> pOld;
  {
    std::lock_guard<std::mutex> lock(g_instanceMutex);
    pOld = std::move(g_pInstance);
  }
}

CCtSvcSnsImgMgr::CCtSvcSnsImgMgr()
    : m_hAccessMutex(OsCreateMutex("CtSvcSnsImgMgrAccessMutex")),
      m_hHistoryDb(SnsSvcHistoryDbOpen("CtSvcSnsImgMgrHistoryDb", kHistorySize)) {
  ZEL_REQUIRE(m_hAccessMutex != INVALID_HOBJ);
}

CCtSvcSnsImgMgr::~CCtSvcSnsImgMgr() {
  DestroyTask();  // no photo is handled once the members below go
  m_pPhotoMgr.reset();
  if (m_hHistoryDb != INVALID_HOBJ) {
    SnsSvcHistoryDbClose(m_hHistoryDb);
  }
  OsDeleteMutex(m_hAccessMutex);
}

BOOL CCtSvcSnsImgMgr::RequestImage(const char* pszPeopleId) {
  if (pszPeopleId == nullptr || pszPeopleId[0] == '\0') {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsImgMgr::RequestImage - people id is NULL or empty\n");
    return FALSE;
  }
  CAppSvcMutexLock lock(m_hAccessMutex);
  if (!m_pPhotoMgr) {
    m_pPhotoMgr = CSnsSvcPhotoMgrBg::Create(CTSVC_IMG_THUMBNAIL_SIZE, CTSVC_IMG_THUMBNAIL_SIZE, this, FALSE);
  }
  if (!m_pPhotoMgr || m_pPhotoMgr->RequestPhoto(pszPeopleId) < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsImgMgr::RequestImage - request of (%s) failed\n", pszPeopleId);
    return FALSE;
  }
  return TRUE;
}

void CCtSvcSnsImgMgr::OnSnsEvent(UINT32 nEvent, INT32 nParam1, INT32 /*nParam2*/) {
  if (!ZEL_REQUIRE(nEvent == SNS_SVC_EM_NOTIFY_GET_PHOTO)) {
    return;
  }
  std::string strPeopleId;
  ImgBitmap* pPhoto = nullptr;
  {
    CAppSvcMutexLock lock(m_hAccessMutex);
    if (!m_pPhotoMgr || !m_pPhotoMgr->TakePhoto(nParam1, &strPeopleId, &pPhoto)) {
      return;
    }
  }
  const CtSvcBitmapPtr pOwned(pPhoto);
  CTimeCheck timeCheck("CCtSvcSnsImgMgr::UpdateCallerImgToPerson");
  _UpdateCallerImgToPerson(strPeopleId, pOwned.get());
}

BOOL CCtSvcSnsImgMgr::_UpdateCallerImgToPerson(const std::string& strPeopleId, const ImgBitmap* pPhoto) {
  CtSvcSnsDataFilter filter;
  CtSvcSnsDataFilterInit(&filter);
  std::snprintf(filter.szPeopleId, sizeof(filter.szPeopleId), "%s", strPeopleId.c_str());
  CtSvcSnsDataRecord sns{};
  if (CtSvcDbSnsDataGetRecords(&filter, &sns, 1) != 1) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsImgMgr::UpdateCallerImgToPerson(%d) no person has people id (%s)\n", -1,
             strPeopleId.c_str());
    return FALSE;
  }
  const int nPersonId = sns.nPersonId;
  if (pPhoto == nullptr || !IsFileNameSafe(strPeopleId)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsImgMgr::UpdateCallerImgToPerson(%d) no usable photo for (%s)\n", nPersonId,
             strPeopleId.c_str());
    return FALSE;
  }
  char szName[CTSVC_SNS_PEOPLE_ID_SIZE + 24];
  std::snprintf(szName, sizeof(szName), "%d%s.jpg", sns.Info.nSp, strPeopleId.c_str());
  CtSvcPersonRecord person{};
  char szPath[CTSVC_PERSON_CALLER_IMAGE_SIZE];
  if (!CtSvcDbPersonGetRecordById(nPersonId, &person) ||
      !CtSvcImgMakeCallerIdPath(person.Info.nAccountId > 0 ? person.Info.nAccountId : 0, szName, szPath,
                                static_cast<INT32>(sizeof(szPath)))) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsImgMgr::UpdateCallerImgToPerson(%d) person or path missing\n", nPersonId);
    return FALSE;
  }
  // The provider's badge goes into the bottom right corner.
  const CtSvcBitmapPtr pIcon(SnsSvcGetServiceProviderIcon(sns.Info.nSp));
  const CtSvcBitmapPtr pMerged(WmGetMergedBitmapEx(pPhoto, pIcon.get(), pPhoto->nWidth - (pIcon ? pIcon->nWidth : 0),
                                                   pPhoto->nHeight - (pIcon ? pIcon->nHeight : 0)));
  if (!pMerged || !CtSvcImgSaveThumbnailFromBitmap(szPath, pMerged.get())) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsImgMgr::UpdateCallerImgToPerson(%d) CtSvcImgSaveThumbnailFromBitmap failed\n",
             nPersonId);
    return FALSE;
  }
  std::memcpy(person.Info.szCallerImage, szPath, std::strlen(szPath) + 1);
  if (!CtSvcDbPersonUpdateRecord(CTSVC_MAKE_HANDLE(person.DevType, nPersonId), person.Info.nPrimaryId,
                                 &person.Info)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSnsImgMgr::UpdateCallerImgToPerson(%d) CtSvcDbPersonUpdateRecord failed\n",
             nPersonId);
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSnsImgMgr::Update Sns Caller ID\n");
  return TRUE;
}

BOOL CtSvcSnsImageRequest(const char* pszPeopleId) {
  CCtSvcSnsImgMgr* pMgr = CCtSvcSnsImgMgr::Instance();
  return pMgr != nullptr ? pMgr->RequestImage(pszPeopleId) : FALSE;
}
