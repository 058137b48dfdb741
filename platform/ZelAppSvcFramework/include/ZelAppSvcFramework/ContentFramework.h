// Content framework: routes content URIs ("Provider/Table[/Suffix]") to the handler a provider's
// factory makes for them, and tells observers of a URI about every change made through it.
#ifndef ZEL_CONTENT_FRAMEWORK_H
#define ZEL_CONTENT_FRAMEWORK_H

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ZelImmortal.h"
#include "ZelTm.h"
#include "ZelTypes.h"

// ---------------------------------------------------------------------------------------------
// Values

enum class ContentValueType { Null = 0, Int, Int8, String, DateTime };

// One typed value of a row or an input.
struct CContentValue {
  ContentValueType type = ContentValueType::Null;
  int32_t nInt = 0;          // Int and Int8
  std::u16string strValue;   // String (16-bit text)
  TmDateTime dtValue{};      // DateTime

  static CContentValue Int(int32_t n);
  static CContentValue Int8(int8_t n);
  static CContentValue String(std::u16string s);
  static CContentValue DateTime(const TmDateTime& dt);
};

// One row, columns by index in the order the handler reported them.
class CContent {
 public:
  void AddFieldData(CContentValue value);
  void AddNullField();
  int GetFieldCount() const { return static_cast<int>(m_vcValues.size()); }
  bool IsNull(int nIndex) const;
  // Each getter answers false for an index out of range, a NULL column or another type.
  bool GetInt(int nIndex, int32_t& nValue) const;   // Int or Int8
  bool GetInt8(int nIndex, int8_t& nValue) const;   // Int8, or Int within -128..127
  bool GetString(int nIndex, std::u16string& strValue) const;
  bool GetDateTime(int nIndex, TmDateTime& dtValue) const;
  const CContentValue* GetValue(int nIndex) const;
  void Clear() { m_vcValues.clear(); }

 private:
  std::vector<CContentValue> m_vcValues;
};

// Column name -> value, in the order the columns were first set. Setting a column again replaces it.
class CContentInput {
 public:
  void SetInt(const std::string& strColumn, int32_t nValue);
  void SetInt8(const std::string& strColumn, int8_t nValue);
  void SetNString(const std::string& strColumn, const std::u16string& strValue);
  void SetNString(const std::string& strColumn, const MCHAR* pszValue);  // null: empty
  void SetDateTime(const std::string& strColumn, const TmDateTime& dtValue);
  void SetNull(const std::string& strColumn);
  bool Remove(const std::string& strColumn);
  bool Has(const std::string& strColumn) const;

  std::vector<std::string> GetColumnNames() const;
  // The value of a column, or null.
  const CContentValue* GetColumnData(const std::string& strColumn) const;
  // Every (column, value) pair in order.
  const std::vector<std::pair<std::string, CContentValue>>& GetColumnDataSet() const { return m_vcData; }
  bool IsEmpty() const { return m_vcData.empty(); }
  void Clear() { m_vcData.clear(); }

 private:
  std::vector<std::pair<std::string, CContentValue>> m_vcData;
};

// A where clause with its "?" arguments (16-bit texts), an order, a column list and an index hint.
class CContentFilter {
 public:
  void SetWhere(const std::string& strWhere) { m_strWhere = strWhere; }
  void SetWhereArg(const std::vector<std::u16string>& vcArgs) { m_vcWhereArgs = vcArgs; }
  void AddWhereArg(const std::u16string& strArg) { m_vcWhereArgs.push_back(strArg); }
  void SetOrderBy(const std::string& strOrderBy) { m_strOrderBy = strOrderBy; }
  void SetColumnNames(const std::vector<std::string>& vcNames) { m_vcColumnNames = vcNames; }
  void SetHint(const std::string& strHint) { m_strHint = strHint; }

  const std::string& GetWhere() const { return m_strWhere; }
  const std::vector<std::u16string>& GetWhereArg() const { return m_vcWhereArgs; }
  const std::string& GetOrderBy() const { return m_strOrderBy; }
  const std::vector<std::string>& GetColumnNames() const { return m_vcColumnNames; }
  const std::string& GetHint() const { return m_strHint; }

 private:
  std::string m_strWhere;
  std::vector<std::u16string> m_vcWhereArgs;
  std::string m_strOrderBy;
  std::vector<std::string> m_vcColumnNames;
  std::string m_strHint;
};

// A URI split at '/': "CtSvc/Person/BulkOperation" has three components.
class CContentURI {
 public:
  explicit CContentURI(const std::string& strUri);
  int GetURICount() const { return static_cast<int>(m_vcParts.size()); }
  std::string GetSubURI(int nIndex) const;  // "" when out of range
  const std::string& GetURIString() const { return m_strUri; }
  // More than two components and the last is "BulkOperation": writes committed later by their caller.
  bool IsBulkOperation() const;

 private:
  std::string m_strUri;
  std::vector<std::string> m_vcParts;
};

// ---------------------------------------------------------------------------------------------
// Observers

enum ContentChangeType { CONTENT_CHANGE_INSERT = 0, CONTENT_CHANGE_UPDATE = 1, CONTENT_CHANGE_DELETE = 2 };

class IContentObserver {
 public:
  virtual ~IContentObserver() = default;
  // nParam1: for an update, the CContentInput of the change (as a pointer-sized integer), else 0.
  // nParam2: 1 for a delete made through a ".../BulkOperation" URI, else 0.
  // A filtered update or delete is reported once, with nId -1.
  virtual void OnChange(int nChangeType, const std::string& strUri, int nId, intptr_t nParam1, int nParam2) = 0;
};

// ---------------------------------------------------------------------------------------------
// Lists

// A cursor over a list, shared by every user of the list. It starts at position 0. IsFirst and
// IsLast answer false on an empty list; GetNext / GetPrev / MoveTo leave the position unchanged
// when they fail. When the list is reloaded the position is kept, clamped to the new rows.
class IContentListIterator {
 public:
  virtual ~IContentListIterator() = default;
  virtual bool IsFirst() = 0;
  virtual bool IsLast() = 0;
  virtual bool GetCurrent(CContent& content) = 0;
  virtual bool GetNext(CContent& content) = 0;  // moves one row forward, then reads it
  virtual bool GetPrev(CContent& content) = 0;  // moves one row back, then reads it
  virtual bool MoveTo(int nPosition) = 0;
  virtual int GetPosition() = 0;
};

// The rows matching a filter at the moment the list was opened or last refreshed. Rows are read
// in blocks, so a list over many rows opens fast and reads any position cheaply; a change of the
// list's URI makes the next read load the rows anew.
// A list observes its URI from its creation; its observer (GetObserver) may be registered for
// further URIs with CContentMgr::RegisterObserver, and the list unregisters it from every URI
// when it is destroyed.
class IContentList {
 public:
  virtual ~IContentList() = default;
  virtual int GetCount() = 0;  // -1 when the rows cannot be read
  virtual bool GetAt(int nIndex, CContent& content) = 0;
  virtual int GetIndexWithID(int nId) = 0;  // -1 when the id is not in the list
  virtual IContentListIterator* GetIterator() = 0;  // owned by the list
  virtual const std::string& GetURI() const = 0;
  virtual const CContentFilter& GetFilter() const = 0;
  // The list as an observer, for a provider that wants it to follow another URI too.
  virtual IContentObserver* GetObserver() = 0;
};

// ---------------------------------------------------------------------------------------------
// Handlers

class IContentHandler {
 public:
  virtual ~IContentHandler() = default;
  virtual void SetFilter(const CContentFilter* pFilter) = 0;  // null clears
  virtual bool IsContained(int nId) = 0;
  virtual bool GetContents(int nFirstRow, int nRowCount, std::vector<CContent>& vcContents) = 0;
  virtual int GetCount() = 0;
  virtual int GetBatchSize() = 0;
  virtual int GetBlockCount() = 0;
  virtual std::string GetIDColumnName() = 0;
  virtual int GetIndexWithID(int nId) = 0;
  virtual int Insert(CContentInput& input) = 0;
  virtual bool Insert(std::vector<CContentInput>& vcInputs) = 0;
  virtual bool Insert(std::vector<std::pair<std::string, CContentInput>>& vcUriInputs) = 0;
  virtual bool Update(CContentInput& input, int nId) = 0;  // nId -1: the filter's rows
  virtual bool Delete(int nId) = 0;                        // nId -1: the filter's rows
  virtual bool Delete(const std::vector<int>& vcIds) = 0;
  virtual std::vector<std::string> GetColumnNames() = 0;
  virtual const CContentFilter* GetFilter() = 0;
  virtual std::string GetHint() = 0;
  virtual std::string GetSequenceKeyName() = 0;
  virtual std::string GetTableName() = 0;
  virtual std::vector<int> GetColumnTypes() = 0;
  virtual std::string GetWhere() = 0;
  virtual std::vector<std::u16string> GetWhereArg() = 0;
  virtual int GetContentID(CContentInput& input) = 0;
  virtual int InsertNoCommit(CContentInput& input) = 0;
  virtual bool UpdateNoCommit(CContentInput& input, int nId) = 0;
  virtual bool DeleteNoCommit(int nId) = 0;
};

class IContentHandlerFactory {
 public:
  virtual ~IContentHandlerFactory() = default;
  // A new handler for the URI (owned by the caller), or null when the URI is not served.
  virtual std::unique_ptr<IContentHandler> Create(const std::string& strUri) = 0;
};

// Base of handlers over one table of the platform database: keeps the filter, and answers the
// questions that need only the table name, the ID column and the filter.
class CContentDb2MgrBaseHandler : public IContentHandler {
 public:
  void SetFilter(const CContentFilter* pFilter) override;
  const CContentFilter* GetFilter() override;
  std::string GetWhere() override;
  std::vector<std::u16string> GetWhereArg() override;
  std::string GetHint() override;
  std::vector<std::string> GetColumnNames() override;  // the filter's columns, else every column
  bool IsContained(int nId) override;                  // the id matches the filter
  int GetCount() override;                             // exactly "SELECT count(*) FROM t [WHERE w]"
  int GetBlockCount() override;                        // ceil(count / batch size)
  int GetIndexWithID(int nId) override;                // position in the filter's order, or -1
  int GetContentID(CContentInput& input) override;     // the input's ID column, or -1
  bool Delete(int nId) override = 0;

 protected:
  // Every column of the table, in order (used when the filter names none).
  virtual std::vector<std::string> GetAllColumnNames() = 0;
  // "a, b, c" for names; "1, 2, 3" for ids.
  static std::string JoinNames(const std::vector<std::string>& vcNames);
  static std::string JoinIds(const std::vector<int>& vcIds);
  // "a = ?, b = ?" for an update's SET list.
  static std::string MakeSetValues(const std::vector<std::string>& vcNames);
  // Binds the where-arguments as 16-bit text to the first parameters of a statement.
  static bool BindWhereArgs(int hStmt, const std::vector<std::u16string>& vcArgs, int nFirstParam = 0);

  CContentFilter m_Filter;
  bool m_bHasFilter = false;
};

// ---------------------------------------------------------------------------------------------
// Manager

class CContentMgr {
 public:
  static CContentMgr* Instance();

  IContentList* OpenList(const std::string& strUri, const CContentFilter* pFilter);  // caller owns
  bool RegisterHandler(const std::string& strProvider, IContentHandlerFactory* pFactory);
  bool UnregisterHandler(const std::string& strProvider);
  bool GetContents(const std::string& strUri, const CContentFilter* pFilter, std::vector<CContent>& vcContents);
  bool GetContent(const std::string& strUri, int nId, CContent& content);
  int GetCount(const std::string& strUri, const CContentFilter* pFilter);
  int Insert(const std::string& strUri, CContentInput& input);
  bool Update(const std::string& strUri, int nId, CContentInput& input);
  bool Update(const std::string& strUri, const CContentFilter* pFilter, CContentInput& input);
  bool Delete(const std::string& strUri, int nId);
  bool Delete(const std::string& strUri, const std::vector<int>& vcIds);
  bool Delete(const std::string& strUri, const CContentFilter* pFilter);
  // Provider-wide pair around a synchronisation of the provider's data.
  bool BeginProviderSync(const std::string& strProvider);
  bool EndProviderSync(const std::string& strProvider);
  bool IsProviderSyncing(const std::string& strProvider);
  // Observers are called on the thread that made the change, outside the manager's locks, so
  // OnChange may call back into the manager. Unregistering waits until calls of that observer
  // running on other threads have returned (a call on the unregistering thread itself is not
  // waited for), so the observer may be destroyed once it returns; an OnChange must therefore
  // never wait for a thread that is unregistering it.
  bool RegisterObserver(const std::string& strUri, IContentObserver* pObserver);
  bool UnregisterObserver(const std::string& strUri, IContentObserver* pObserver);
  // Removes the observer from every URI it is registered for; the number of registrations removed.
  int UnregisterObserverAll(IContentObserver* pObserver);

  // A handler for the URI from its provider's factory, or null. The factory's Create runs under
  // the manager's factory lock: it must not register or unregister factories.
  std::unique_ptr<IContentHandler> CreateHandler(const std::string& strUri);
  // Calls OnChange on every observer registered for exactly this URI or for a URI it continues
  // ("CtSvc/Person" observers see "CtSvc/Person/BulkOperation").
  void NotifyChange(int nChangeType, const std::string& strUri, int nId, intptr_t nParam1, int nParam2);

 private:
  CContentMgr();
  template <typename>
  friend class zel::Immortal;
  struct Impl;
  std::shared_ptr<Impl> m_pImpl;
};

// ---------------------------------------------------------------------------------------------
// Synchronisation subscribers

class IContentSyncSubscriber {
 public:
  virtual ~IContentSyncSubscriber() = default;
  // An action of the sync key ("update", "delete", "needcallerid", ...) with its argument text.
  virtual int OnSync(const std::string& strKey, const std::string& strAction, const std::string& strArg) = 0;
};

class CContentSyncMgr {
 public:
  static CContentSyncMgr* Instance();
  bool RegisterSyncSubscriber(const std::string& strKey, IContentSyncSubscriber* pSubscriber, int nFlags);
  bool UnregisterSyncSubscriber(const std::string& strKey, IContentSyncSubscriber* pSubscriber);
  IContentSyncSubscriber* GetSubscriber(const std::string& strKey);
  // Hands an action to the subscriber of the key, outside the manager's lock; -1 when there is
  // none. Unregistering waits for a dispatch to the subscriber running on another thread.
  int Dispatch(const std::string& strKey, const std::string& strAction, const std::string& strArg);

 private:
  CContentSyncMgr() = default;
  template <typename>
  friend class zel::Immortal;
  std::mutex m_mutex;
  std::map<std::string, std::pair<IContentSyncSubscriber*, int>> m_mapSubscribers;
  std::condition_variable m_cvCallDone;
  std::vector<std::pair<IContentSyncSubscriber*, std::thread::id>> m_vcCalls;  // dispatches under way
};

// Holds a platform mutex for its lifetime. An invalid handle (or a failed lock) is logged and
// nothing is locked.
class CAppSvcMutexLock {
 public:
  explicit CAppSvcMutexLock(HOBJ hMutex);
  ~CAppSvcMutexLock();
  CAppSvcMutexLock(const CAppSvcMutexLock&) = delete;
  CAppSvcMutexLock& operator=(const CAppSvcMutexLock&) = delete;

 private:
  HOBJ m_hMutex;
  bool m_bLocked;
};

#endif
