// Profile photos: the photos the service holds, the background photo manager and the handler task.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ZelCore/ZelDebug.h"
#include "ZelCore/ZelImmortal.h"
#include "ZelCore/ZelWm.h"
#include "ZelSnsSvc/ZelSnsSvcPhoto.h"
#include "ZelSnsSvc/ZelSnsSvcTest.h"

namespace {

struct PhotoStore {
  std::mutex mutex;
  std::map<std::string, std::vector<UINT8>> mapPhotos;
};

PhotoStore& ThePhotos() {
  static zel::Immortal<PhotoStore> s_photos;
  return s_photos.Get();
}

bool FindPhoto(const std::string& strPeopleId, std::vector<UINT8>& vcData) {
  PhotoStore& store = ThePhotos();
  std::lock_guard<std::mutex> lock(store.mutex);
  auto it = store.mapPhotos.find(strPeopleId);
  if (it == store.mapPhotos.end()) {
    return false;
  }
  vcData = it->second;
  return true;
}

const WmEventMapEntry kTaskMap[] = {{SNS_SVC_EM_NOTIFY_GET_PHOTO, SNS_SVC_EM_NOTIFY_GET_PHOTO, nullptr}};

}  // namespace

CSnsSvcHandlerTask::CSnsSvcHandlerTask() : m_hGroup(INVALID_HOBJ), m_hHandler(INVALID_HOBJ) {}

CSnsSvcHandlerTask::~CSnsSvcHandlerTask() { DestroyTask(); }

BOOL CSnsSvcHandlerTask::CreateTask(const char* pszName) {
  if (m_hHandler != INVALID_HOBJ || pszName == nullptr) {
    return FALSE;
  }
  WmEventMapEntry map = kTaskMap[0];
  map.pfnHandler = &CSnsSvcHandlerTask::_Dispatch;
  // The task is the only handler of a group of its own name.
  m_hGroup = WmCreateEHGroup(pszName);
  m_hHandler = m_hGroup != INVALID_HOBJ ? WmCreateEventHandler(m_hGroup, pszName, &map, 1, this) : INVALID_HOBJ;
  if (m_hHandler == INVALID_HOBJ) {
    DestroyTask();
    return FALSE;
  }
  return TRUE;
}

void CSnsSvcHandlerTask::DestroyTask() {
  if (m_hHandler != INVALID_HOBJ) {
    WmDeleteEventHandler(m_hHandler);
    m_hHandler = INVALID_HOBJ;
  }
  if (m_hGroup != INVALID_HOBJ) {
    WmDeleteEHGroup(m_hGroup);
    m_hGroup = INVALID_HOBJ;
  }
}

BOOL CSnsSvcHandlerTask::PostEvent(UINT32 nEvent, INT32 nParam1, INT32 nParam2) {
  WmEvent event{};
  event.nEventId = nEvent;
  event.nParam1 = nParam1;
  event.nParam2 = nParam2;
  event.hSender = INVALID_HOBJ;
  event.hReceiver = m_hHandler;
  return m_hHandler != INVALID_HOBJ && WmSendEvent(m_hHandler, &event);
}

int CSnsSvcHandlerTask::_Dispatch(WmEHState* pState, WmEvent* pEvent) {
  auto* pTask = static_cast<CSnsSvcHandlerTask*>(pState->pUserData);
  pTask->OnSnsEvent(pEvent->nEventId, pEvent->nParam1, pEvent->nParam2);
  return 1;
}

std::unique_ptr<CSnsSvcPhotoMgrBg> CSnsSvcPhotoMgrBg::Create(INT32 nWidth, INT32 nHeight, CSnsSvcHandlerTask* pTask,
                                                            BOOL /*bForeground*/) {
  if (nWidth < 1 || nHeight < 1 || pTask == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CSnsSvcPhotoMgrBg::Create - bad arguments\n");
    return nullptr;
  }
  return std::unique_ptr<CSnsSvcPhotoMgrBg>(new CSnsSvcPhotoMgrBg(nWidth, nHeight, pTask));
}

CSnsSvcPhotoMgrBg::CSnsSvcPhotoMgrBg(INT32 nWidth, INT32 nHeight, CSnsSvcHandlerTask* pTask)
    : m_nWidth(nWidth), m_nHeight(nHeight), m_pTask(pTask) {}

CSnsSvcPhotoMgrBg::~CSnsSvcPhotoMgrBg() {
  for (auto& entry : m_mapResults) {
    ImgFreeBitmap(entry.second.pPhoto);
  }
}

INT32 CSnsSvcPhotoMgrBg::RequestPhoto(const char* pszPeopleId) {
  if (pszPeopleId == nullptr || pszPeopleId[0] == '\0') {
    return -1;
  }
  std::vector<UINT8> vcData;
  ImgBitmap* pPhoto = nullptr;
  if (FindPhoto(pszPeopleId, vcData)) {
    pPhoto = ImgDecodeScaledBitmap(vcData.data(), static_cast<UINT32>(vcData.size()), m_nWidth, m_nHeight,
                                   IMG_RESIZE_FILL);
  }
  INT32 nId = 0;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    nId = m_nNextId++;
    m_mapResults[nId] = Result{pszPeopleId, pPhoto};
  }
  if (!m_pTask->PostEvent(SNS_SVC_EM_NOTIFY_GET_PHOTO, nId, 0)) {
    std::string strPeopleId;
    TakePhoto(nId, &strPeopleId, &pPhoto);
    ImgFreeBitmap(pPhoto);
    return -1;
  }
  return nId;
}

BOOL CSnsSvcPhotoMgrBg::TakePhoto(INT32 nRequestId, std::string* pPeopleId, ImgBitmap** ppPhoto) {
  std::lock_guard<std::mutex> lock(m_mutex);
  auto it = m_mapResults.find(nRequestId);
  if (it == m_mapResults.end() || pPeopleId == nullptr || ppPhoto == nullptr) {
    return FALSE;
  }
  *pPeopleId = it->second.strPeopleId;
  *ppPhoto = it->second.pPhoto;
  m_mapResults.erase(it);
  return TRUE;
}

ImgBitmap* SnsSvcGetServiceProviderIcon(INT32 nServiceProvider) {
  ImgBitmap* pIcon = ImgCreateBitmap(16, 16, 24);
  const UINT8 aColour[3] = {static_cast<UINT8>(40 + (nServiceProvider * 70) % 200), 90,
                            static_cast<UINT8>(200 - (nServiceProvider * 50) % 150)};
  for (int i = 0; pIcon != nullptr && i < 16 * 16; ++i) {
    pIcon->pBits[i * 3] = aColour[0];
    pIcon->pBits[i * 3 + 1] = aColour[1];
    pIcon->pBits[i * 3 + 2] = aColour[2];
  }
  return pIcon;
}

namespace zel::test {

void SnsSetPhoto(const char* pszPeopleId, const void* pData, size_t nSize) {
  PhotoStore& store = ThePhotos();
  std::lock_guard<std::mutex> lock(store.mutex);
  const auto* p = static_cast<const UINT8*>(pData);
  store.mapPhotos[pszPeopleId] = std::vector<UINT8>(p, p + nSize);
}

void SnsClearPhotos() {
  PhotoStore& store = ThePhotos();
  std::lock_guard<std::mutex> lock(store.mutex);
  store.mapPhotos.clear();
}

}  // namespace zel::test
