// Base of every content filter: turns the settings of one contact table's filter into the
// content framework's filter (WHERE text with "?" arguments, order and index hint).
#ifndef CTSVC_CF_FILTER_H
#define CTSVC_CF_FILTER_H

#include <memory>

#include "ContentFramework.h"
#include "ZelTypes.h"

class CCtSvcCFFilter {
 public:
  CCtSvcCFFilter() = default;
  CCtSvcCFFilter(const CCtSvcCFFilter&) = default;
  CCtSvcCFFilter& operator=(const CCtSvcCFFilter&) = default;
  virtual ~CCtSvcCFFilter() = default;

  // Builds the content filter from the current settings and returns it (never null). The filter
  // is rebuilt every time, so later setter calls are always reflected.
  virtual CContentFilter* GetContentFilter();
  // A new filter of the same class with the same settings.
  virtual std::unique_ptr<CCtSvcCFFilter> Clone() const = 0;
  virtual const char* GetTableName() const = 0;
  virtual const char* GetIDColumnName() const = 0;
  virtual BOOL BuildContentFilter() = 0;

 protected:
  CContentFilter m_ContentFilter;
};

#endif
