// Lists over the rows of a filter. Opening a list costs nothing; the first read loads the ordered
// row ids with one statement, and rows are then fetched by id, so any position of a large list is
// read cheaply: a read next to the previous one fetches the small block around it (and later reads
// find it cached), a read elsewhere fetches its single row. A change notice of the list's URI makes
// the next read load the ids anew.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <list>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "ContentList.h"
#include "RowQueries.h"
#include "SqlText.h"
#include "ZelDebug.h"

namespace zel::content {

namespace {

constexpr int kBlockRows = 64;      // rows fetched together
constexpr size_t kCachedBlocks = 4;  // blocks kept, most recently used first

class CContentListImpl;

class CListIterator final : public IContentListIterator {
 public:
  explicit CListIterator(CContentListImpl& list) : m_list(list) {}
  bool IsFirst() override;
  bool IsLast() override;
  bool GetCurrent(CContent& content) override;
  bool GetNext(CContent& content) override;
  bool GetPrev(CContent& content) override;
  bool MoveTo(int nPosition) override;
  int GetPosition() override;

 private:
  CContentListImpl& m_list;
};

class CContentListImpl final : public IContentList, public IContentObserver {
 public:
  CContentListImpl(const std::string& strUri, const CContentFilter* pFilter, std::unique_ptr<IContentHandler> pHandler)
      : m_strUri(strUri),
        m_Filter(pFilter != nullptr ? *pFilter : CContentFilter()),
        m_pHandler(std::move(pHandler)),
        m_strTable(m_pHandler->GetTableName()),
        m_strIdColumn(m_pHandler->GetIDColumnName()),
        m_iterator(*this) {}

  ~CContentListImpl() override { CContentMgr::Instance()->UnregisterObserverAll(this); }

  int GetCount() override {
    std::lock_guard<std::mutex> lock(m_mutex);
    return EnsureLoaded() ? static_cast<int>(m_vcIds.size()) : -1;
  }

  bool GetAt(int nIndex, CContent& content) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    return Read(nIndex, content);
  }

  int GetIndexWithID(int nId) override;
  IContentListIterator* GetIterator() override { return &m_iterator; }
  const std::string& GetURI() const override { return m_strUri; }
  const CContentFilter& GetFilter() const override { return m_Filter; }
  IContentObserver* GetObserver() override { return this; }

  // Only marks the rows stale: a notice may come from any thread, while the list is being read.
  void OnChange(int, const std::string&, int, intptr_t, int) override { ++m_nChanges; }

  // The shared cursor.
  bool CursorIsFirst() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return EnsureLoaded() && !m_vcIds.empty() && m_nPosition == 0;
  }
  bool CursorIsLast() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return EnsureLoaded() && !m_vcIds.empty() && m_nPosition == static_cast<int>(m_vcIds.size()) - 1;
  }
  // Moves the cursor by nStep (when the target exists) and reads the row there.
  bool CursorStep(int nStep, CContent& content);
  bool CursorMoveTo(int nPosition);
  int CursorPosition() {
    std::lock_guard<std::mutex> lock(m_mutex);
    EnsureLoaded();
    return m_nPosition;
  }

 private:
  struct Block {
    int nIndex = -1;
    std::vector<CContent> vcRows;
    std::vector<bool> vcFound;  // false where the row of the id could not be read
  };

  bool EnsureLoaded();
  bool Read(int nIndex, CContent& content);
  const Block* FindBlock(int nBlock);
  const Block* LoadBlock(int nBlock);
  bool ReadOne(int nId, CContent& content);
  void FetchBlock(Block& block, const std::vector<int>& vcIds);
  void FetchOneByOne(Block& block, const std::vector<int>& vcIds);
  // The filter of the rows of a block's ids, or (no ids) of one row whose id is bound first.
  CContentFilter MakeRowFilter(const std::vector<int>& vcIds, int nBoundId = 0) const;

  const std::string m_strUri;
  const CContentFilter m_Filter;
  std::mutex m_mutex;  // everything below
  std::unique_ptr<IContentHandler> m_pHandler;
  const std::string m_strTable;
  const std::string m_strIdColumn;
  std::atomic<unsigned> m_nChanges{0};
  unsigned m_nLoadedChanges = 0;
  bool m_bLoaded = false;
  std::vector<int> m_vcIds;                     // row ids in list order
  std::unordered_map<int, int> m_mapPositions;  // id -> first position, built on first use
  std::list<Block> m_lsBlocks;                  // most recently used first
  int m_nLastRead = -2;                         // position of the latest read
  int m_nPosition = 0;
  CListIterator m_iterator;
};

bool CContentListImpl::EnsureLoaded() {
  const unsigned nChanges = m_nChanges.load();
  if (m_bLoaded && nChanges == m_nLoadedChanges) {
    return true;
  }
  m_lsBlocks.clear();
  m_mapPositions.clear();
  m_bLoaded = LoadRowIds(m_strTable, m_strIdColumn, m_Filter, m_vcIds);
  if (!m_bLoaded) {
    DbgPrint(DBG_CLASS_FAIL, "CContentList::EnsureLoaded - row ids of %s cannot be read\n", m_strUri.c_str());
    m_vcIds.clear();
    return false;
  }
  m_nLoadedChanges = nChanges;
  m_nPosition = std::max(0, std::min(m_nPosition, static_cast<int>(m_vcIds.size()) - 1));
  return true;
}

int CContentListImpl::GetIndexWithID(int nId) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!EnsureLoaded()) {
    return -1;
  }
  if (m_mapPositions.empty() && !m_vcIds.empty()) {
    m_mapPositions.reserve(m_vcIds.size());
    for (size_t i = 0; i < m_vcIds.size(); ++i) {
      m_mapPositions.emplace(m_vcIds[i], static_cast<int>(i));  // keeps the first position
    }
  }
  const auto it = m_mapPositions.find(nId);
  return it == m_mapPositions.end() ? -1 : it->second;
}

bool CContentListImpl::Read(int nIndex, CContent& content) {
  if (!EnsureLoaded() || nIndex < 0 || nIndex >= static_cast<int>(m_vcIds.size())) {
    return false;
  }
  const bool bNextToLast = std::abs(nIndex - m_nLastRead) == 1;
  m_nLastRead = nIndex;
  const int nId = m_vcIds[static_cast<size_t>(nIndex)];
  const Block* pBlock = FindBlock(nIndex / kBlockRows);
  if (pBlock == nullptr && !bNextToLast) {
    if (!ReadOne(nId, content)) {
      DbgPrint(DBG_CLASS_FAIL, "CContentList::GetAt - row %d (id %d) of %s cannot be read\n", nIndex, nId,
               m_strUri.c_str());
      return false;
    }
    return true;
  }
  if (pBlock == nullptr) {
    pBlock = LoadBlock(nIndex / kBlockRows);
  }
  const size_t nOffset = static_cast<size_t>(nIndex % kBlockRows);
  if (!pBlock->vcFound[nOffset]) {
    DbgPrint(DBG_CLASS_FAIL, "CContentList::GetAt - row %d (id %d) of %s cannot be read\n", nIndex, nId,
             m_strUri.c_str());
    return false;
  }
  content = pBlock->vcRows[nOffset];
  return true;
}

const CContentListImpl::Block* CContentListImpl::FindBlock(int nBlock) {
  const auto it = std::find_if(m_lsBlocks.begin(), m_lsBlocks.end(), [&](const Block& b) { return b.nIndex == nBlock; });
  if (it == m_lsBlocks.end()) {
    return nullptr;
  }
  m_lsBlocks.splice(m_lsBlocks.begin(), m_lsBlocks, it);
  return &m_lsBlocks.front();
}

const CContentListImpl::Block* CContentListImpl::LoadBlock(int nBlock) {
  if (m_lsBlocks.size() >= kCachedBlocks) {
    m_lsBlocks.pop_back();
  }
  const size_t nFirst = static_cast<size_t>(nBlock) * kBlockRows;
  const size_t nEnd = std::min(nFirst + kBlockRows, m_vcIds.size());
  const std::vector<int> vcIds(m_vcIds.begin() + static_cast<std::ptrdiff_t>(nFirst),
                               m_vcIds.begin() + static_cast<std::ptrdiff_t>(nEnd));
  Block block;
  block.nIndex = nBlock;
  block.vcRows.resize(vcIds.size());
  block.vcFound.assign(vcIds.size(), false);
  FetchBlock(block, vcIds);
  m_lsBlocks.push_front(std::move(block));
  return &m_lsBlocks.front();
}

// One row by its id; the same statement text serves every id.
bool CContentListImpl::ReadOne(int nId, CContent& content) {
  const CContentFilter filter = MakeRowFilter({}, nId);
  m_pHandler->SetFilter(&filter);
  std::vector<CContent> vcRows;
  if (!m_pHandler->GetContents(0, 1, vcRows) || vcRows.empty()) {
    return false;
  }
  content = std::move(vcRows.front());
  return true;
}

CContentFilter CContentListImpl::MakeRowFilter(const std::vector<int>& vcIds, int nBoundId) const {
  CContentFilter filter;
  filter.SetWhere(MakeRowReadWhere(m_strIdColumn, vcIds, m_Filter.GetWhere(), m_strTable.find(',') != std::string::npos));
  std::vector<std::u16string> vcArgs = m_Filter.GetWhereArg();
  if (vcIds.empty()) {
    const std::string strId = std::to_string(nBoundId);
    vcArgs.insert(vcArgs.begin(), std::u16string(strId.begin(), strId.end()));
  }
  filter.SetWhereArg(vcArgs);
  filter.SetColumnNames(m_Filter.GetColumnNames());
  return filter;
}

// Reads the rows of the block's ids with "<id> IN (...)" and puts each where its id stands.
void CContentListImpl::FetchBlock(Block& block, const std::vector<int>& vcIds) {
  std::vector<int> vcDistinct;
  std::unordered_set<int> setSeen;
  for (int nId : vcIds) {
    if (setSeen.insert(nId).second) {
      vcDistinct.push_back(nId);
    }
  }
  const CContentFilter filter = MakeRowFilter(vcDistinct);
  m_pHandler->SetFilter(&filter);
  const std::vector<std::string> vcColumns = m_pHandler->GetColumnNames();
  const auto itId = std::find_if(vcColumns.begin(), vcColumns.end(),
                                 [&](const std::string& s) { return SameColumn(s, m_strIdColumn); });
  if (itId == vcColumns.end()) {
    // The rows do not carry their id: read them one by one.
    FetchOneByOne(block, vcIds);
    return;
  }
  const int nIdColumn = static_cast<int>(itId - vcColumns.begin());
  // A join may repeat an id, so page on until every id has its row or the rows run out.
  const int nPage = std::max(static_cast<int>(vcIds.size()), m_pHandler->GetBatchSize());
  size_t nMissing = vcIds.size();
  int nFirstRow = 0;
  while (nMissing > 0) {
    std::vector<CContent> vcRows;
    if (!m_pHandler->GetContents(nFirstRow, nPage, vcRows) || vcRows.empty()) {
      break;
    }
    for (const CContent& row : vcRows) {
      int32_t nId = 0;
      if (!row.GetInt(nIdColumn, nId)) {
        continue;
      }
      for (size_t i = 0; i < vcIds.size(); ++i) {
        if (vcIds[i] == nId && !block.vcFound[i]) {
          block.vcRows[i] = row;
          block.vcFound[i] = true;
          --nMissing;
        }
      }
    }
    if (static_cast<int>(vcRows.size()) < nPage) {
      break;
    }
    nFirstRow += static_cast<int>(vcRows.size());
  }
}

void CContentListImpl::FetchOneByOne(Block& block, const std::vector<int>& vcIds) {
  for (size_t i = 0; i < vcIds.size(); ++i) {
    const CContentFilter filter = MakeRowFilter({vcIds[i]});
    m_pHandler->SetFilter(&filter);
    std::vector<CContent> vcRows;
    if (m_pHandler->GetContents(0, 1, vcRows) && !vcRows.empty()) {
      block.vcRows[i] = std::move(vcRows.front());
      block.vcFound[i] = true;
    }
  }
}

bool CContentListImpl::CursorStep(int nStep, CContent& content) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!EnsureLoaded()) {
    return false;
  }
  const int nTarget = m_nPosition + nStep;
  if (nTarget < 0 || nTarget >= static_cast<int>(m_vcIds.size())) {
    return false;
  }
  m_nPosition = nTarget;
  return Read(m_nPosition, content);
}

bool CContentListImpl::CursorMoveTo(int nPosition) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!EnsureLoaded() || nPosition < 0 || nPosition >= static_cast<int>(m_vcIds.size())) {
    return false;
  }
  m_nPosition = nPosition;
  return true;
}

bool CListIterator::IsFirst() { return m_list.CursorIsFirst(); }
bool CListIterator::IsLast() { return m_list.CursorIsLast(); }
bool CListIterator::GetCurrent(CContent& content) { return m_list.CursorStep(0, content); }
bool CListIterator::GetNext(CContent& content) { return m_list.CursorStep(1, content); }
bool CListIterator::GetPrev(CContent& content) { return m_list.CursorStep(-1, content); }
bool CListIterator::MoveTo(int nPosition) { return m_list.CursorMoveTo(nPosition); }
int CListIterator::GetPosition() { return m_list.CursorPosition(); }

}  // namespace

std::unique_ptr<IContentList> MakeContentList(const std::string& strUri, const CContentFilter* pFilter,
                                              std::unique_ptr<IContentHandler> pHandler) {
  auto pList = std::make_unique<CContentListImpl>(strUri, pFilter, std::move(pHandler));
  CContentMgr::Instance()->RegisterObserver(strUri, pList->GetObserver());
  return pList;
}

}  // namespace zel::content
