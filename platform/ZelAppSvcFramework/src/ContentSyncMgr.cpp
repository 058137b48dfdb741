// Subscribers of synchronisation keys: one per key, called outside the manager's lock.
#include <algorithm>

#include "ContentFramework.h"
#include "ZelDebug.h"

CContentSyncMgr* CContentSyncMgr::Instance() {
  // Never destroyed: subscribers may unregister from static destructors at exit.
  static zel::Immortal<CContentSyncMgr> s_instance;
  return &s_instance.Get();
}

bool CContentSyncMgr::RegisterSyncSubscriber(const std::string& strKey, IContentSyncSubscriber* pSubscriber,
                                             int nFlags) {
  if (strKey.empty() || pSubscriber == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CContentSyncMgr::RegisterSyncSubscriber - bad key(%s) or subscriber\n", strKey.c_str());
    return false;
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  auto [it, bInserted] = m_mapSubscribers.emplace(strKey, std::make_pair(pSubscriber, nFlags));
  if (!bInserted) {
    if (it->second.first != pSubscriber) {
      DbgPrint(DBG_CLASS_FAIL, "CContentSyncMgr::RegisterSyncSubscriber - key(%s) has a subscriber already\n",
               strKey.c_str());
      return false;
    }
    it->second.second = nFlags;
  }
  return true;
}

bool CContentSyncMgr::UnregisterSyncSubscriber(const std::string& strKey, IContentSyncSubscriber* pSubscriber) {
  std::unique_lock<std::mutex> lock(m_mutex);
  const auto it = m_mapSubscribers.find(strKey);
  if (it == m_mapSubscribers.end() || it->second.first != pSubscriber) {
    DbgPrint(DBG_CLASS_FAIL, "CContentSyncMgr::UnregisterSyncSubscriber - no such subscriber of key(%s)\n",
             strKey.c_str());
    return false;
  }
  m_mapSubscribers.erase(it);
  const std::thread::id self = std::this_thread::get_id();
  m_cvCallDone.wait(lock, [&] {
    return std::none_of(m_vcCalls.begin(), m_vcCalls.end(),
                        [&](const auto& call) { return call.first == pSubscriber && call.second != self; });
  });
  return true;
}

IContentSyncSubscriber* CContentSyncMgr::GetSubscriber(const std::string& strKey) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto it = m_mapSubscribers.find(strKey);
  return it == m_mapSubscribers.end() ? nullptr : it->second.first;
}

int CContentSyncMgr::Dispatch(const std::string& strKey, const std::string& strAction, const std::string& strArg) {
  const std::pair<IContentSyncSubscriber*, std::thread::id> call{nullptr, std::this_thread::get_id()};
  IContentSyncSubscriber* pSubscriber = nullptr;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_mapSubscribers.find(strKey);
    if (it == m_mapSubscribers.end()) {
      DbgPrint(DBG_CLASS_FAIL, "CContentSyncMgr::Dispatch - no subscriber of key(%s)\n", strKey.c_str());
      return -1;
    }
    pSubscriber = it->second.first;
    m_vcCalls.emplace_back(pSubscriber, call.second);
  }
  // Leaves the list of calls under way even when OnSync throws.
  struct Leave {
    CContentSyncMgr& mgr;
    std::pair<IContentSyncSubscriber*, std::thread::id> call;
    ~Leave() {
      std::lock_guard<std::mutex> lock(mgr.m_mutex);
      const auto it = std::find(mgr.m_vcCalls.begin(), mgr.m_vcCalls.end(), call);
      if (it != mgr.m_vcCalls.end()) {
        mgr.m_vcCalls.erase(it);
      }
      mgr.m_cvCallDone.notify_all();
    }
  } leave{*this, {pSubscriber, call.second}};
  return pSubscriber->OnSync(strKey, strAction, strArg);
}
