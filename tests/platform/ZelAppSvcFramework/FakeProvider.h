// An in-memory provider for tests of the content manager: rows (ID, NAME) kept in a map, served
// under "<provider>/Items[/...]". Filters understood: "" (every row), "ID = <n>", "NAME = ?".
#ifndef ZEL_FW_TEST_FAKE_PROVIDER_H
#define ZEL_FW_TEST_FAKE_PROVIDER_H

#include <atomic>
#include <iterator>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ContentFramework.h"

namespace fwtest {

struct FakeStore {
  std::mutex mutex;
  std::map<int, std::u16string> rows;
  int nNextId = 1;
  std::atomic<bool> bFailWrites{false};
  std::atomic<int> nHandlersMade{0};
};

class FakeHandler : public IContentHandler {
 public:
  explicit FakeHandler(FakeStore& store) : m_store(store) {}

  void SetFilter(const CContentFilter* pFilter) override {
    m_Filter = pFilter != nullptr ? *pFilter : CContentFilter();
  }
  const CContentFilter* GetFilter() override { return &m_Filter; }
  bool IsContained(int) override { return false; }
  bool GetContents(int nFirstRow, int nRowCount, std::vector<CContent>& vcContents) override {
    std::lock_guard<std::mutex> lock(m_store.mutex);
    int nIndex = 0;
    for (const auto& [nId, strName] : m_store.rows) {
      if (Matches(nId, strName) && nIndex++ >= nFirstRow && nIndex <= nFirstRow + nRowCount) {
        CContent row;
        row.AddFieldData(CContentValue::Int(nId));
        row.AddFieldData(CContentValue::String(strName));
        vcContents.push_back(row);
      }
    }
    return !vcContents.empty();
  }
  int GetCount() override {
    std::vector<CContent> vcRows;
    GetContents(0, 1 << 30, vcRows);
    return static_cast<int>(vcRows.size());
  }
  int GetBatchSize() override { return 3; }
  int GetBlockCount() override { return -1; }
  std::string GetIDColumnName() override { return "ID"; }
  int GetIndexWithID(int) override { return -1; }
  int Insert(CContentInput& input) override {
    const CContentValue* pName = input.GetColumnData("NAME");
    if (m_store.bFailWrites || pName == nullptr) {
      return -1;
    }
    std::lock_guard<std::mutex> lock(m_store.mutex);
    m_store.rows[m_store.nNextId] = pName->strValue;
    return m_store.nNextId++;
  }
  bool Insert(std::vector<CContentInput>&) override { return false; }
  bool Insert(std::vector<std::pair<std::string, CContentInput>>&) override { return false; }
  // nId -1: every row of the filter.
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
    const size_t nBefore = m_store.rows.size();
    for (auto it = m_store.rows.begin(); it != m_store.rows.end();) {
      it = (nId == -1 ? Matches(it->first, it->second) : it->first == nId) ? m_store.rows.erase(it) : std::next(it);
    }
    return m_store.rows.size() < nBefore;
  }
  bool Delete(const std::vector<int>& vcIds) override {
    if (m_store.bFailWrites) {
      return false;
    }
    std::lock_guard<std::mutex> lock(m_store.mutex);
    for (int nId : vcIds) {
      m_store.rows.erase(nId);
    }
    return true;
  }
  std::vector<std::string> GetColumnNames() override { return {"ID", "NAME"}; }
  std::string GetHint() override { return ""; }
  std::string GetSequenceKeyName() override { return ""; }
  std::string GetTableName() override { return ""; }
  std::vector<int> GetColumnTypes() override { return {}; }
  std::string GetWhere() override { return m_Filter.GetWhere(); }
  std::vector<std::u16string> GetWhereArg() override { return m_Filter.GetWhereArg(); }
  int GetContentID(CContentInput&) override { return -1; }
  int InsertNoCommit(CContentInput&) override { return -1; }
  bool UpdateNoCommit(CContentInput&, int) override { return false; }
  bool DeleteNoCommit(int) override { return false; }

 private:
  bool Matches(int nId, const std::u16string& strName) const {
    const std::string& strWhere = m_Filter.GetWhere();
    if (strWhere.rfind("ID = ", 0) == 0) {
      return nId == std::stoi(strWhere.substr(5));
    }
    return strWhere.empty() ||
           (strWhere == "NAME = ?" && m_Filter.GetWhereArg() == std::vector<std::u16string>{strName});
  }

  FakeStore& m_store;
  CContentFilter m_Filter;
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
    return std::make_unique<FakeHandler>(m_store);
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
    return std::exchange(m_vcNotices, {});
  }

 private:
  std::mutex m_mutex;
  std::vector<Notice> m_vcNotices;
};

inline CContentInput NameInput(const std::u16string& strName) {
  CContentInput input;
  input.SetNString("NAME", strName);
  return input;
}

}  // namespace fwtest

#endif
