// Full-text search over the names of primaries (type 0) and persons (type 1): the index, one basic
// result and up to 20 extended results.
#ifndef CTSVC_SEARCH_MGR_H
#define CTSVC_SEARCH_MGR_H

#include <mutex>
#include <string_view>

#include "CtSvcSearch.h"
#include "CtSvcTypes.h"

typedef enum CtSvcSearchType {
  CTSVC_SEARCH_TYPE_PRIMARY = 0,
  CTSVC_SEARCH_TYPE_PERSON = 1,
  CTSVC_SEARCH_TYPE_MAX = 2
} CtSvcSearchType;

// One row of the index definitions.
struct CtSvcSearchIndexDef {
  char szGroup[50];
  char szTable[50];
  char szIndex[50];
  char szTextColumn[50];
  char szIdColumn[50];
  char szDeviceTypeColumn[50];
  char szFilterFlagColumn[50];
};

// The engine handles of one search (-1: none).
struct CtSvcSearchResult {
  int hFts = -1;
  int hSortColumn = -1;
  int hRangeColumn = -1;
  int nSearchType = CTSVC_SEARCH_TYPE_PRIMARY;
};

struct CtSvcExtendedSearchSlot {
  int nResultId = -1;  // -1: free
  CtSvcSearchResult result;
};

// Searches run on callers' threads and on the background task; one lock guards every result.
class CCtSvcSearchMgr {
 public:
  static CCtSvcSearchMgr* Instance();

  // Creates the full-text index of a search type when it does not exist: 1 when it exists afterwards.
  // Only type 0 has an index.
  BOOL CreateIndex(int nType);
  BOOL DeleteIndex(int nType);
  // The index of a type is being created / dropped: results of that type are released, since their
  // handles would outlive the index.
  void Prepare(int nType);
  void Release(int nType);

  // Basic search: replaces the basic result. 1/0.
  BOOL RequestSearch(int nType, const char* pszSearchText, int nDeviceType);
  int GetResultCount();
  int GetResultItem(int nOffset);
  void DestroyResult();
  int GetLatestSearchType();

  // Extended search: the result id, or -1.
  int RequestSearch(int nType, const CtSvcExtendedSearchRequest* pRequest);
  int GetResultCount(int nResultId);
  int GetResultItem(int nResultId, int nOffset);
  BOOL DestroyResult(int nResultId);
  void DestroyAllResult();

  static const CtSvcSearchIndexDef* GetIndexDef(int nType);
  // Tests: called while an index of an earlier shape is being replaced, after the old one is
  // dropped and before the new one is built (a test stops the process there).
  static void SetMigrationHook(void (*pfnHook)());

 private:
  CCtSvcSearchMgr() = default;
  bool _IsIndexExisting(const CtSvcSearchIndexDef& def);
  // The index exists in the shape this code builds.
  bool _IsIndexCurrent(const CtSvcSearchIndexDef& def);
  // Creates the search of the text with its fetch and sort columns; false (nothing kept) on failure.
  static bool _OpenSearch(int nType, std::string_view text, CtSvcSearchResult& result);
  // Narrows an open search to one device type.
  static bool _SetDeviceRange(int nType, int nDeviceType, CtSvcSearchResult& result);
  static void _ReleaseResult(CtSvcSearchResult& result);
  static int _GetCount(const CtSvcSearchResult& result);
  static int _GetItem(const CtSvcSearchResult& result, int nOffset);
  CtSvcExtendedSearchSlot* _FindSlot(int nResultId);

  static void (*s_pfnMigrationHook)();
  std::mutex m_mutex;
  CtSvcSearchResult m_BasicResult;
  int m_nLatestSearchType = CTSVC_SEARCH_TYPE_PRIMARY;
  CtSvcExtendedSearchSlot m_ExtendedResults[CTSVC_EXTENDED_SEARCH_MAX_RESULT];
};

#endif
