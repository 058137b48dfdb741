// The content manager: routes URIs to the handler of their provider, runs the operations and
// tells the observers of a URI about every successful change.
#include <algorithm>
#include <map>
#include <shared_mutex>

#include "ContentChangeWatcher.h"
#include "ContentFramework.h"
#include "ContentList.h"
#include "ObserverRegistry.h"
#include "ZelDebug.h"

struct CContentMgr::Impl {
  std::shared_mutex factoryMutex;  // shared while a factory creates a handler
  std::map<std::string, IContentHandlerFactory*> mapFactories;
  std::mutex syncMutex;
  std::map<std::string, int> mapSyncDepth;
  zel::content::CObserverRegistry observers;
};

namespace {

std::string ProviderOf(const std::string& strUri) { return CContentURI(strUri).GetSubURI(0); }

int BulkFlag(const std::string& strUri) { return CContentURI(strUri).IsBulkOperation() ? 1 : 0; }

}  // namespace

CContentMgr::CContentMgr() : m_pImpl(std::make_shared<Impl>()) {}

CContentMgr* CContentMgr::Instance() {
  // Never destroyed: lists and observers may unregister from static destructors at exit.
  static zel::Immortal<CContentMgr> s_instance;
  return &s_instance.Get();
}

// ---------------------------------------------------------------------------------------------
// Providers

bool CContentMgr::RegisterHandler(const std::string& strProvider, IContentHandlerFactory* pFactory) {
  if (pFactory == nullptr || strProvider.empty() || strProvider.find('/') != std::string::npos) {
    DbgPrint(DBG_CLASS_FAIL, "CContentMgr::RegisterHandler - bad provider(%s) or factory\n", strProvider.c_str());
    return false;
  }
  std::unique_lock<std::shared_mutex> lock(m_pImpl->factoryMutex);
  auto [it, bInserted] = m_pImpl->mapFactories.emplace(strProvider, pFactory);
  if (!bInserted && it->second != pFactory) {
    DbgPrint(DBG_CLASS_FAIL, "CContentMgr::RegisterHandler - provider(%s) has a factory already\n",
             strProvider.c_str());
    return false;
  }
  return true;
}

bool CContentMgr::UnregisterHandler(const std::string& strProvider) {
  std::unique_lock<std::shared_mutex> lock(m_pImpl->factoryMutex);
  if (m_pImpl->mapFactories.erase(strProvider) == 0) {
    DbgPrint(DBG_CLASS_FAIL, "CContentMgr::UnregisterHandler - unknown provider(%s)\n", strProvider.c_str());
    return false;
  }
  return true;
}

std::unique_ptr<IContentHandler> CContentMgr::CreateHandler(const std::string& strUri) {
  std::unique_ptr<IContentHandler> pHandler;
  {
    std::shared_lock<std::shared_mutex> lock(m_pImpl->factoryMutex);
    const auto it = m_pImpl->mapFactories.find(ProviderOf(strUri));
    if (it != m_pImpl->mapFactories.end()) {
      pHandler = it->second->Create(strUri);
    }
  }
  if (!pHandler) {
    DbgPrint(DBG_CLASS_FAIL, "CContentMgr::CreateHandler - no handler for URI(%s)\n", strUri.c_str());
  }
  return pHandler;
}

// ---------------------------------------------------------------------------------------------
// Reads

namespace {

// A fresh handler of the URI with the filter set, or null.
std::unique_ptr<IContentHandler> HandlerFor(CContentMgr& mgr, const std::string& strUri,
                                            const CContentFilter* pFilter) {
  std::unique_ptr<IContentHandler> pHandler = mgr.CreateHandler(strUri);
  if (pHandler) {
    pHandler->SetFilter(pFilter);
  }
  return pHandler;
}

// Filtered writes need a filter object; an empty filter means every row.
bool CheckFilter(const char* pszOperation, const std::string& strUri, const CContentFilter* pFilter) {
  if (pFilter == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CContentMgr::%s - no filter for URI(%s)\n", pszOperation, strUri.c_str());
    return false;
  }
  return true;
}

// An id names one row; -1 would address the handler's filter rows instead.
bool CheckId(const char* pszOperation, const std::string& strUri, int nId) {
  if (nId < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CContentMgr::%s - bad id %d for URI(%s)\n", pszOperation, nId, strUri.c_str());
    return false;
  }
  return true;
}

}  // namespace

IContentList* CContentMgr::OpenList(const std::string& strUri, const CContentFilter* pFilter) {
  std::unique_ptr<IContentHandler> pHandler = CreateHandler(strUri);
  if (!pHandler) {
    return nullptr;
  }
  return zel::content::MakeContentList(strUri, pFilter, std::move(pHandler)).release();
}

bool CContentMgr::GetContents(const std::string& strUri, const CContentFilter* pFilter,
                              std::vector<CContent>& vcContents) {
  vcContents.clear();
  std::unique_ptr<IContentHandler> pHandler = HandlerFor(*this, strUri, pFilter);
  if (!pHandler) {
    return false;
  }
  // Ask for every counted row at once, then go on by batches in case rows were added meanwhile.
  const int nBatch = std::max(1, pHandler->GetBatchSize());
  int nRequest = std::max(nBatch, pHandler->GetCount());
  for (;;) {
    std::vector<CContent> vcBlock;
    if (!pHandler->GetContents(static_cast<int>(vcContents.size()), nRequest, vcBlock) || vcBlock.empty()) {
      break;
    }
    const bool bShort = static_cast<int>(vcBlock.size()) < nRequest;
    for (CContent& content : vcBlock) {
      vcContents.push_back(std::move(content));
    }
    if (bShort) {
      break;
    }
    nRequest = nBatch;
  }
  return !vcContents.empty();
}

bool CContentMgr::GetContent(const std::string& strUri, int nId, CContent& content) {
  std::unique_ptr<IContentHandler> pHandler = CreateHandler(strUri);
  if (!pHandler) {
    return false;
  }
  CContentFilter filter;
  filter.SetWhere(pHandler->GetIDColumnName() + " = " + std::to_string(nId));
  pHandler->SetFilter(&filter);
  std::vector<CContent> vcRows;
  if (!pHandler->GetContents(0, 1, vcRows) || vcRows.empty()) {
    return false;
  }
  content = std::move(vcRows.front());
  return true;
}

int CContentMgr::GetCount(const std::string& strUri, const CContentFilter* pFilter) {
  std::unique_ptr<IContentHandler> pHandler = HandlerFor(*this, strUri, pFilter);
  return pHandler ? pHandler->GetCount() : -1;
}

// ---------------------------------------------------------------------------------------------
// Writes

int CContentMgr::Insert(const std::string& strUri, CContentInput& input) {
  std::unique_ptr<IContentHandler> pHandler = HandlerFor(*this, strUri, nullptr);
  if (!pHandler) {
    return -1;
  }
  const int nId = pHandler->Insert(input);
  if (nId > 0) {
    NotifyChange(CONTENT_CHANGE_INSERT, strUri, nId, 0, 0);
  }
  return nId;
}

bool CContentMgr::Update(const std::string& strUri, int nId, CContentInput& input) {
  if (!CheckId("Update", strUri, nId)) {
    return false;
  }
  std::unique_ptr<IContentHandler> pHandler = HandlerFor(*this, strUri, nullptr);
  if (!pHandler || !pHandler->Update(input, nId)) {
    return false;
  }
  NotifyChange(CONTENT_CHANGE_UPDATE, strUri, nId, reinterpret_cast<intptr_t>(&input), 0);
  return true;
}

bool CContentMgr::Update(const std::string& strUri, const CContentFilter* pFilter, CContentInput& input) {
  if (!CheckFilter("Update", strUri, pFilter)) {
    return false;
  }
  std::unique_ptr<IContentHandler> pHandler = HandlerFor(*this, strUri, pFilter);
  if (!pHandler || !pHandler->Update(input, -1)) {
    return false;
  }
  NotifyChange(CONTENT_CHANGE_UPDATE, strUri, -1, reinterpret_cast<intptr_t>(&input), 0);
  return true;
}

bool CContentMgr::Delete(const std::string& strUri, int nId) {
  if (!CheckId("Delete", strUri, nId)) {
    return false;
  }
  std::unique_ptr<IContentHandler> pHandler = HandlerFor(*this, strUri, nullptr);
  if (!pHandler || !pHandler->Delete(nId)) {
    return false;
  }
  NotifyChange(CONTENT_CHANGE_DELETE, strUri, nId, 0, BulkFlag(strUri));
  return true;
}

bool CContentMgr::Delete(const std::string& strUri, const std::vector<int>& vcIds) {
  std::unique_ptr<IContentHandler> pHandler = HandlerFor(*this, strUri, nullptr);
  if (!pHandler || !pHandler->Delete(vcIds)) {
    return false;
  }
  // A bulk handler deletes each row through the manager, which has told the observers already.
  if (!CContentURI(strUri).IsBulkOperation()) {
    for (int nId : vcIds) {
      NotifyChange(CONTENT_CHANGE_DELETE, strUri, nId, 0, 0);
    }
  }
  return true;
}

bool CContentMgr::Delete(const std::string& strUri, const CContentFilter* pFilter) {
  if (!CheckFilter("Delete", strUri, pFilter)) {
    return false;
  }
  std::unique_ptr<IContentHandler> pHandler = HandlerFor(*this, strUri, pFilter);
  if (!pHandler) {
    return false;
  }
  if (pHandler->Delete(-1)) {
    NotifyChange(CONTENT_CHANGE_DELETE, strUri, -1, 0, BulkFlag(strUri));
    return true;
  }
  // The handler answers false when it removed nothing: that is fine when nothing matched.
  if (pHandler->GetCount() == 0) {
    DbgPrint(DBG_CLASS_TRACE, "CContentMgr::Delete - there is no record to delete(%s)\n", strUri.c_str());
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Provider synchronisation

bool CContentMgr::BeginProviderSync(const std::string& strProvider) {
  {
    std::shared_lock<std::shared_mutex> lock(m_pImpl->factoryMutex);
    if (m_pImpl->mapFactories.count(strProvider) == 0) {
      DbgPrint(DBG_CLASS_FAIL, "CContentMgr::BeginProviderSync - unknown provider(%s)\n", strProvider.c_str());
      return false;
    }
  }
  std::lock_guard<std::mutex> lock(m_pImpl->syncMutex);
  ++m_pImpl->mapSyncDepth[strProvider];
  return true;
}

bool CContentMgr::EndProviderSync(const std::string& strProvider) {
  std::lock_guard<std::mutex> lock(m_pImpl->syncMutex);
  const auto it = m_pImpl->mapSyncDepth.find(strProvider);
  if (it == m_pImpl->mapSyncDepth.end()) {
    DbgPrint(DBG_CLASS_FAIL, "CContentMgr::EndProviderSync - provider(%s) is not syncing\n", strProvider.c_str());
    return false;
  }
  if (--it->second == 0) {
    m_pImpl->mapSyncDepth.erase(it);
  }
  return true;
}

bool CContentMgr::IsProviderSyncing(const std::string& strProvider) {
  std::lock_guard<std::mutex> lock(m_pImpl->syncMutex);
  return m_pImpl->mapSyncDepth.count(strProvider) > 0;
}

// ---------------------------------------------------------------------------------------------
// Observers

bool CContentMgr::RegisterObserver(const std::string& strUri, IContentObserver* pObserver) {
  if (pObserver == nullptr || strUri.empty()) {
    DbgPrint(DBG_CLASS_FAIL, "CContentMgr::RegisterObserver - bad URI(%s) or observer\n", strUri.c_str());
    return false;
  }
  if (!m_pImpl->observers.Add(strUri, pObserver)) {
    DbgPrint(DBG_CLASS_FAIL, "CContentMgr::RegisterObserver - observer of %s registered already\n", strUri.c_str());
    return false;
  }
  return true;
}

bool CContentMgr::UnregisterObserver(const std::string& strUri, IContentObserver* pObserver) {
  if (pObserver == nullptr || !m_pImpl->observers.Remove(strUri, pObserver)) {
    DbgPrint(DBG_CLASS_FAIL, "CContentMgr::UnregisterObserver - no such observer of %s\n", strUri.c_str());
    return false;
  }
  return true;
}

int CContentMgr::UnregisterObserverAll(IContentObserver* pObserver) {
  return pObserver == nullptr ? 0 : m_pImpl->observers.RemoveAll(pObserver);
}

void CContentMgr::NotifyChange(int nChangeType, const std::string& strUri, int nId, intptr_t nParam1, int nParam2) {
  m_pImpl->observers.Notify(nChangeType, strUri, nId, nParam1, nParam2);
  BroadcastContentChange(nChangeType, strUri, nId);
}
