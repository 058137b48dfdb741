// Helpers shared by the exported database functions.
#ifndef CTSVC_DB_CI_COMMON_H
#define CTSVC_DB_CI_COMMON_H

#include <string>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcModule.h"
#include "CtSvcTypes.h"

// Holds the module mutex "CtSvc" for the life of a writing function.
class CCtSvcModuleLock {
 public:
  CCtSvcModuleLock() : m_lock(CtSvcGetModuleMutex()) {}

 private:
  CAppSvcMutexLock m_lock;
};

// True for a device type that names a store (phone or SIM).
inline bool CtSvcIsStoreDeviceType(int nDeviceType) {
  return nDeviceType == CTSVC_USE_TYPE_PHONE || nDeviceType == CTSVC_USE_TYPE_SIM;
}

// A person handle that names a store and a positive row id.
inline bool CtSvcIsValidPersonHandle(HOBJ hPerson) {
  return hPerson != INVALID_HOBJ && CtSvcIsStoreDeviceType(CTSVC_HANDLE_TO_DEVICE(hPerson)) &&
         CTSVC_HANDLE_TO_ID(hPerson) > 0;
}

// Runs a counting or id-reading statement with 16-bit arguments; the integer columns of every row.
bool CtSvcQueryIntRows(const std::string& strSql, const std::vector<std::u16string>& vcArgs, int nColumns,
                       std::vector<std::vector<int>>& vcRows, int nMaxRows = -1);
// The first column of the first row of such a statement, or -1.
int CtSvcQueryInt(const std::string& strSql, const std::vector<std::u16string>& vcArgs);

#endif
