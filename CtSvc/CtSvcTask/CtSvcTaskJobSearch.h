// Deferred search requests: a search-request job hands its request back to the caller on the
// "CTSVC" handler; a result-destroy job releases the basic search result on the task.
#ifndef CTSVC_TASK_JOB_SEARCH_H
#define CTSVC_TASK_JOB_SEARCH_H

#include <string>

#include "CtSvcSearch.h"
#include "CtSvcTaskJob.h"

class CCtSvcTaskJobSearchRequest final : public CCtSvcTaskJob {
 public:
  CCtSvcTaskJobSearchRequest(int nSearchType, int nDeviceType, const char* pszSearchText,
                             CtSvcSearchRequestCallback pfnCallback, void* pUserData);
  void DoWork() override {}
  void SendNotifyCallback() override;

 private:
  int m_nSearchType;
  int m_nDeviceType;
  std::string m_strSearchText;
  CtSvcSearchRequestCallback m_pfnCallback;
  void* m_pUserData;
};

class CCtSvcTaskJobSearchResultDestroy final : public CCtSvcTaskJob {
 public:
  CCtSvcTaskJobSearchResultDestroy(CtSvcSearchDestroyCallback pfnCallback, void* pUserData)
      : m_pfnCallback(pfnCallback), m_pUserData(pUserData) {}
  void DoWork() override;
  void SendNotifyCallback() override;

 private:
  CtSvcSearchDestroyCallback m_pfnCallback;
  void* m_pUserData;
};

#endif
