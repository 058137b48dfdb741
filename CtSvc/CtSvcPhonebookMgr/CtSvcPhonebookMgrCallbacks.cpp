// The change-callback registry of the phonebook manager: four lists kept in registration order,
// the notify switch, and the calls made for a change.
#include <algorithm>

#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "ZelDebug.h"

std::vector<CtSvcPhonebookCallbackEntry>& CCtSvcPhonebookMgr::_CallbackList(CallbackList list) {
  switch (list) {
    case kGroupCallbacks:
      return m_vGroupCallbacks;
    case kContactCallbacksForQrn:
      return m_vContactCallbacksForQrn;
    case kGroupCallbacksForQrn:
      return m_vGroupCallbacksForQrn;
    case kContactCallbacks:
    default:
      return m_vContactCallbacks;
  }
}

void CCtSvcPhonebookMgr::RegisterCallback(CallbackList list, CtSvcPhonebookChangeCallback pfnCallback,
                                          void* pUserData) {
  const int bQrn = list == kContactCallbacksForQrn || list == kGroupCallbacksForQrn ? 1 : 0;
  _CallbackList(list).push_back({pfnCallback, bQrn, pUserData});
}

void CCtSvcPhonebookMgr::UnregisterCallback(CallbackList list, CtSvcPhonebookChangeCallback pfnCallback,
                                            void* pUserData) {
  std::vector<CtSvcPhonebookCallbackEntry>& vEntries = _CallbackList(list);
  const auto it = std::find_if(vEntries.begin(), vEntries.end(), [&](const CtSvcPhonebookCallbackEntry& entry) {
    return entry.pfnCallback == pfnCallback && entry.pUserData == pUserData;
  });
  if (it != vEntries.end()) {
    vEntries.erase(it);
  }
}

namespace {

// Calls the entries of a copy of the list, so that a callback may register or unregister.
template <class TFilter, class TBefore>
void CallEach(std::vector<CtSvcPhonebookCallbackEntry> vEntries, CtSvcChangeType type, int nRecordId,
              const void* pInfo, TFilter accept, TBefore before) {
  for (const CtSvcPhonebookCallbackEntry& entry : vEntries) {
    if (entry.pfnCallback != nullptr && accept(entry)) {
      before();
      entry.pfnCallback(type, nRecordId, const_cast<void*>(pInfo), entry.pUserData);
    }
  }
}

bool Any(const CtSvcPhonebookCallbackEntry&) { return true; }
void Nothing() {}

}  // namespace

void CCtSvcPhonebookMgr::__NotifyContactChanged(CtSvcChangeType type, int nRecordId, const void* pInfo) {
  if (!ZEL_REQUIRE_TEXT(nRecordId > 0, "nRecordId > 0") || !m_bNotifyEnabled) {
    return;
  }
  CallEach(m_vContactCallbacks, type, nRecordId, pInfo, Any, Nothing);
}

void CCtSvcPhonebookMgr::__NotifyContactBulkChanged(CtSvcChangeType type, int nRecordId,
                                                    const CtSvcContactInfo* pContactInfo) {
  if (!ZEL_REQUIRE_TEXT(nRecordId > 0, "nRecordId > 0") || !m_bNotifyEnabled) {
    return;
  }
  CallEach(m_vContactCallbacks, type, nRecordId, pContactInfo,
           [](const CtSvcPhonebookCallbackEntry& entry) { return entry.bQrn == 0; }, Nothing);
}

void CCtSvcPhonebookMgr::__NotifyGroupChanged(CtSvcChangeType type, int nRecordId, const void* pInfo) {
  if (!ZEL_REQUIRE_TEXT(nRecordId > 0, "nRecordId > 0") || !m_bNotifyEnabled) {
    return;
  }
  CallEach(m_vGroupCallbacks, type, nRecordId, pInfo, Any, Nothing);
}

void CCtSvcPhonebookMgr::NotifyContactChangedQRN(CtSvcChangeType type, int nRecordId, const void* pInfo) {
  if (!m_bNotifyEnabled) {
    return;
  }
  CallEach(m_vContactCallbacksForQrn, type, nRecordId, pInfo, Any, [type] {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::NotifyContactChangedQRN - CtSvcChangeType(%d) Callback Func entered!!!!!!\n",
             type);
  });
}

void CCtSvcPhonebookMgr::NotifyGroupChangedQRN(CtSvcChangeType type, int nRecordId, const void* pInfo) {
  if (!m_bNotifyEnabled) {
    return;
  }
  CallEach(m_vGroupCallbacksForQrn, type, nRecordId, pInfo, Any, [] {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::NotifyGroupChangedQRN - Callback Func entered!!!!!!\n");
  });
}
