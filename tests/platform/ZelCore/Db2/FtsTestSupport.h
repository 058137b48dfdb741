// Helpers of the full-text tests: a contact-data table as the service creates it, and a search
// that returns the matching IDs in order.
#ifndef ZEL_DB2_FTS_TEST_SUPPORT_H
#define ZEL_DB2_FTS_TEST_SUPPORT_H

#include <string>
#include <vector>

#include "Db2TestSupport.h"

namespace db2test {

inline constexpr char kPhoneIndex[] =
    "create fulltext index msgplcontact.phonenumber (like ngram, exactspace, utf8) on ctsvccontactdatatable "
    "(contact_data condition type = 1)";
inline constexpr char kEmailIndex[] =
    "create fulltext index msgplcontact.email (simplex, exactspace, utf8) on ctsvccontactdatatable "
    "(contact_data condition type = 2)";
inline constexpr char kNameIndex[] =
    "create fulltext index msgplcontact.name (simplex, exactspace, utf8) on ctsvccontactdatatable (fl_fullname)";

inline constexpr char kCreateContactData[] =
    "CREATE TABLE CtSvcContactDataTable (  ID  INTEGER PRIMARY KEY,  PERSON_ID  INTEGER default 0,  "
    "DEVICE_TYPE  TINYINT default 0,  FL_FULLNAME  NVARCHAR(25,101),  TYPE  TINYINT default 0,  "
    "CONTACT_DATA  NVARCHAR(25,100)) volume vol2";

struct SearchOptions {
  const char* pszTable = "CtSvcContactDataTable";
  const char* pszSort = "FL_FULLNAME";
  int nAscending = 1;
  int nDeviceType = 0;              // > 0: only this device type
  const char* pszRidSub = nullptr;  // row-id sub-query
};

// The IDs found by a query, in result order; {-1} when any step fails.
inline std::vector<int> SearchIds(const std::string& query, const SearchOptions& o = SearchOptions()) {
  const int h = Db2FTSCreate(query.c_str(), 1, 1);
  if (h < 0) {
    return {-1};
  }
  std::vector<int> ids;
  const int hSort = Db2FTSMakeDBTableColumn((std::string(o.pszTable) + ":" + o.pszSort).c_str());
  const int hRange = Db2FTSMakeDBTableColumn((std::string(o.pszTable) + ":DEVICE_TYPE").c_str());
  const std::string device = std::to_string(o.nDeviceType);
  bool bOk = Db2FTSAddFetchColumnList(h, 0, o.pszTable, "ID") >= 0 && Db2FTSSetSortOption(h, hSort, o.nAscending, 1) >= 0 &&
             (o.nDeviceType <= 0 || Db2FTSSetRangeQuery(h, hRange, device.c_str(), device.c_str()) >= 0) &&
             (o.pszRidSub != nullptr ? Db2FTSExecuteWithRID(h, 1, 1, o.pszRidSub) : Db2FTSExecute(h, 1)) >= 0;
  const int nCount = bOk ? Db2FTSGetResultCnt(h, 0) : -1;
  for (int i = 0; i < nCount; ++i) {
    INT32 nId = -1;
    bOk = bOk && Db2FTSFetchResultRecord(h, i, &nId, sizeof(nId)) > 0;
    ids.push_back(nId);
  }
  Db2FTSFreeDBTableColumn(hSort);
  Db2FTSFreeDBTableColumn(hRange);
  Db2FTSQuitResultRecord(h);
  Db2FTSDestroy(h);
  return bOk ? ids : std::vector<int>{-1};
}

// "[msgplcontact, {<index>, 'w*' }]" for one word.
inline std::string Prefix(const char* pszIndex, const std::string& word) {
  return std::string("[msgplcontact, {") + pszIndex + ", '" + word + "*' }]";
}

}  // namespace db2test

#endif
