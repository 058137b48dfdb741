// An in-memory provider for tests of the content manager: rows (ID, NAME) kept in a map, served
// under "<provider>/Items[/...]". Filters understood: "" (every row), "ID = <n>", "NAME = ?".
#ifndef ZEL_FW_TEST_FAKE_PROVIDER_H
#define ZEL_FW_TEST_FAKE_PROVIDER_H

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "ContentFramework.h"

namespace fwtest {

struct FakeStore {
  std::mutex mutex;
  std::map<int, std::u16string> rows;
  int nNextId = 1;
  int nBatchSize = 3;
  std::atomic<bool> bFailWrites{false};
  std::atomic<int> nHandlersMade{0};
};

class FakeHandler : public IContentHandler {
 public:
  FakeHandler(FakeStore& store, std::string strUri) : m_store(store), m_strUri(std::move(strUri)) {}

  void SetFilter(const CContentFilter* pFilter) override {
    m_bHasFilter = pFilter != nullptr;
    m_Filter = pFilter != nullptr ? *pFilter : CContentFilter();
  }
  const CContentFilter* GetFilter() override { return m_bHasFilter ? &m_Filter : nullptr; }
  bool IsContained(int) override { return false; }
  bool GetContents(int nFirstRow, int nRowCount, std::vector<CContent>& vcContents) override {
    std::lock_guard<std::mutex> lock(m_store.mutex);
    int nIndex = 0;
    for (const auto& [nId, strName] : m_store.rows) {
      if (!Matches(nId, strName)) {
        continue;
      }
      if (nIndex >= nFirstRow && nIndex < nFirstRow + nRowCount) {
        CContent row;
        row.AddFieldData(CContentValue::Int(nId));
        row.AddFieldData(CContentValue::String(strName));
        vcContents.push_back(row);
      }
      ++nIndex;
    }
    return !vcContents.empty();
  }
  int GetCount() override {
    std::lock_guard<std::mutex> lock(m_store.mutex);
    int n = 0;
    for (const auto& [nId, strName] : m_store.rows) {
      n += Matches(nId, strName) ? 1 : 0;
    }
    return n;
  }
  int GetBatchSize() override { return m_store.nBatchSize; }
  int GetBlockCount() override { return -1; }
  std::string GetIDColumnName() override { return "ID"; }
  int GetIndexWithID(int) override { return -1; }
  int Insert(CContentInput& input) override {
    if (m_store.bFailWrites) {
      return -1;
    }
    std::lock_guard<std::mutex> lock(m_store.mutex);
    int nId = GetContentID(input);
    if (nId <= 0) {
      nId = m_store.nNextId;
    }
    m_store.nNextId = std::max(m_store.nNextId, nId + 1);
    const CContentValue* pName = input.GetColumnData("NAME");
    m_store.rows[nId] = pName != nullptr ? pName->strValue : std::u16string();
    return nId;
  }
  bool Insert(std::vector<CContentInput>&) override { return false; }
  bool Insert(std::vector<std::pair<std::string, CContentInput>>&) override { return false; }
  bool Update(CContentInput& input, int nId) override {
    const CContentValue* pName = input.GetColumnData("NAME");
    if (m_store.bFailWrites || pName == nullptr) {
      return false;
    }
    std::lock_guard<std::mutex> lock(m_store.mutex);
    for (auto& [nRowId, strName] : m_store.rows) {
      if (nId == -1 ? Matches(nRowId, strName) : nRowId == nId) {
        strName = pName->strValue;
      }
    }
    return true;
  }
  // False when no row was removed.
  bool Delete(int nId) override {
    if (m_store.bFailWrites) {
      return false;
    }
    std::lock_guard<std::mutex> lock(m_store.mutex);
    size_t nRemoved = 0;
    for (auto it = m_store.rows.begin(); it != m_store.rows.end();) {
      if (nId == -1 ? Matches(it->first, it->second) : it->first == nId) {
        it = m_store.rows.erase(it);
        ++nRemoved;
      } else {
        ++it;
      }
    }
    return nRemoved > 0;
  }
  // A bulk URI deletes row by row through the manager, as a real handler does.
  bool Delete(const std::vector<int>& vcIds) override {
    if (vcIds.empty() || m_store.bFailWrites) {
      return false;
    }
    if (CContentURI(m_strUri).IsBulkOperation()) {
      for (int nId : vcIds) {
        CContentMgr::Instance()->Delete(m_strUri, nId);
      }
      return true;
    }
    std::lock_guard<std::mutex> lock(m_store.mutex);
    for (int nId : vcIds) {
      m_store.rows.erase(nId);
    }
    return true;
  }
  std::vector<std::string> GetColumnNames() override { return {"ID", "NAME"}; }
  std::string GetHint() override { return m_Filter.GetHint(); }
  std::string GetSequenceKeyName() override { return ""; }
  std::string GetTableName() override { return ""; }
  std::vector<int> GetColumnTypes() override { return {}; }
  std::string GetWhere() override { return m_Filter.GetWhere(); }
  std::vector<std::u16string> GetWhereArg() override { return m_Filter.GetWhereArg(); }
  int GetContentID(CContentInput& input) override {
    const CContentValue* pId = input.GetColumnData("ID");
    return pId != nullptr && pId->type == ContentValueType::Int ? pId->nInt : -1;
  }
  int InsertNoCommit(CContentInput&) override { return -1; }
  bool UpdateNoCommit(CContentInput&, int) override { return false; }
  bool DeleteNoCommit(int) override { return false; }

 private:
  bool Matches(int nId, const std::u16string& strName) const {
    const std::string& strWhere = m_Filter.GetWhere();
    if (strWhere.empty()) {
      return true;
    }
    if (strWhere.rfind("ID = ", 0) == 0) {
      return nId == std::stoi(strWhere.substr(5));
    }
    return strWhere == "NAME = ?" && !m_Filter.GetWhereArg().empty() && strName == m_Filter.GetWhereArg()[0];
  }

  FakeStore& m_store;
  std::string m_strUri;
  CContentFilter m_Filter;
  bool m_bHasFilter = false;
};

// Serves "<provider>/Items" and the URIs continuing it; nothing else.
class FakeFactory : public IContentHandlerFactory {
 public:
  FakeFactory(FakeStore& store, std::string strProvider) : m_store(store), m_strItems(strProvider + "/Items") {}
  std::unique_ptr<IContentHandler> Create(const std::string& strUri) override {
    if (strUri != m_strItems && strUri.rfind(m_strItems + "/", 0) != 0) {
      return nullptr;
    }
    ++m_store.nHandlersMade;
    return std::make_unique<FakeHandler>(m_store, strUri);
  }

 private:
  FakeStore& m_store;
  std::string m_strItems;
};

struct Notice {
  int nType;
  std::string strUri;
  int nId;
  intptr_t nParam1;
  int nParam2;
  bool operator==(const Notice& o) const {
    return nType == o.nType && strUri == o.strUri && nId == o.nId && nParam1 == o.nParam1 && nParam2 == o.nParam2;
  }
};

inline void PrintTo(const Notice& n, std::ostream* pOut) {
  *pOut << "{" << n.nType << ", " << n.strUri << ", " << n.nId << ", " << n.nParam1 << ", " << n.nParam2 << "}";
}

class RecordingObserver : public IContentObserver {
 public:
  void OnChange(int nType, const std::string& strUri, int nId, intptr_t nParam1, int nParam2) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vcNotices.push_back({nType, strUri, nId, nParam1, nParam2});
  }
  std::vector<Notice> Take() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<Notice> vcNotices;
    vcNotices.swap(m_vcNotices);
    return vcNotices;
  }

 private:
  std::mutex m_mutex;
  std::vector<Notice> m_vcNotices;
};

inline CContentInput NameInput(const std::u16string& strName, int nId = -1) {
  CContentInput input;
  if (nId > 0) {
    input.SetInt("ID", nId);
  }
  input.SetNString("NAME", strName);
  return input;
}

}  // namespace fwtest

#endif
