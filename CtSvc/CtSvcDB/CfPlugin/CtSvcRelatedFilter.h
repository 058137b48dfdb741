// A filter on another table that restricts a detail filter's rows: the detail rows are those
// whose owner is among the rows the related filter selects (a nested sub-select).
#ifndef CTSVC_RELATED_FILTER_H
#define CTSVC_RELATED_FILTER_H

#include <memory>
#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcCFFilter.h"
#include "CtSvcFilter.h"

class CCtSvcRelatedFilter {
 public:
  CCtSvcRelatedFilter() = default;
  // Copies hold their own clone of the related filter.
  CCtSvcRelatedFilter(const CCtSvcRelatedFilter& other);
  CCtSvcRelatedFilter& operator=(const CCtSvcRelatedFilter& other);
  CCtSvcRelatedFilter(CCtSvcRelatedFilter&&) = default;
  CCtSvcRelatedFilter& operator=(CCtSvcRelatedFilter&&) = default;
  ~CCtSvcRelatedFilter() = default;

  // Drops the held filter and holds a clone of pFilter (null: holds none). 0 when no clone
  // could be made.
  BOOL SetRelatedFilter(const CCtSvcCFFilter* pFilter);
  // Holds a person filter made from the structure (null: holds none).
  BOOL SetPersonFilter(const CtSvcPersonFilter* pPersonFilter);
  bool HasRelatedFilter() const { return m_pFilter != nullptr; }

  // "( select Table.ID from Table where <its WHERE> )"; 0 when no filter is held or its WHERE
  // text is empty. The second form also gives the "?" arguments of the nested WHERE text.
  BOOL GetNestedQueryString(std::string& strOut);
  BOOL GetNestedQueryString(std::string& strOut, std::vector<std::u16string>& vcArgs);

 private:
  std::unique_ptr<CCtSvcCFFilter> m_pFilter;
};

#endif
