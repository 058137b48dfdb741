// Full-text search over the names of primaries (type 0) and persons (type 1).
#ifndef CTSVC_SEARCH_MGR_H
#define CTSVC_SEARCH_MGR_H

#include <memory>

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

class CCtSvcSearchMgr {
 public:
  static CCtSvcSearchMgr* Instance();

  // Creates the full-text index of a search type when it does not exist: 1 when it exists afterwards.
  // Only type 0 has an index.
  BOOL CreateIndex(int nType);
  BOOL DeleteIndex(int nType);
  // Makes a search type ready for searching / releases what it holds.
  void Prepare(int nType);
  void Release(int nType);

  static const CtSvcSearchIndexDef* GetIndexDef(int nType);

 private:
  CCtSvcSearchMgr() = default;
  bool _IsIndexExisting(const CtSvcSearchIndexDef& def);
};

ZEL_EXTERN_C_BEGIN
BOOL CtSvcSearchCreateIndex(int nType);
ZEL_EXTERN_C_END

#endif
