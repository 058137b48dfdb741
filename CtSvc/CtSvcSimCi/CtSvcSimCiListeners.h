// Adapters from the SIM manager's and the updaters' listeners to the C callbacks: one object per
// call, deleting itself once it has delivered its single report.
#ifndef CTSVC_SIM_CI_LISTENERS_H
#define CTSVC_SIM_CI_LISTENERS_H

#include "CtSvcSim/SimMgr/ICtSvcSimFileContainer.h"
#include "CtSvcSim/SimUpdater/ICtSvcSimUpdater.h"
#include "CtSvcSimCi.h"

class CCtSvcSimLoadListener : public ICtSvcSimMgrListener {
 public:
  CCtSvcSimLoadListener(CtSvcSimInitCallback pfnCallback, void* pUserData)
      : m_pfnCallback(pfnCallback), m_pUserData(pUserData) {}
  void OnInitializedAdn(BOOL bResult) override { _Report(CTSVC_SIM_INIT_ADN, bResult); }
  void OnInitializedFdn(BOOL bResult) override { _Report(CTSVC_SIM_INIT_FDN, bResult); }
  void OnInitializedMsisdn(BOOL bResult) override { _Report(CTSVC_SIM_INIT_MSISDN, bResult); }
  void OnInitializedSdn(BOOL bResult) override { _Report(CTSVC_SIM_INIT_SDN, bResult); }

 private:
  void _Report(int nInitType, BOOL bResult);
  CtSvcSimInitCallback m_pfnCallback;
  void* m_pUserData;
};

class CCtSvcSimUpdateListener : public ICtSvcSimUpdateListener {
 public:
  CCtSvcSimUpdateListener(CtSvcSimSetCallback pfnCallback, void* pUserData)
      : m_pfnCallback(pfnCallback), m_pUserData(pUserData) {}
  void OnInsertRecord(int, int nRecordIndex, BOOL bSuccess) override {
    _Report(CTSVC_SIM_SET_INSERT, nRecordIndex, bSuccess);
  }
  void OnUpdateRecord(int, int nRecordIndex, BOOL bSuccess) override {
    _Report(CTSVC_SIM_SET_UPDATE, nRecordIndex, bSuccess);
  }
  void OnDeleteRecord(int, int nRecordIndex, BOOL bSuccess) override {
    _Report(CTSVC_SIM_SET_DELETE, nRecordIndex, bSuccess);
  }

 private:
  void _Report(int nSetType, int nRecordIndex, BOOL bSuccess);
  CtSvcSimSetCallback m_pfnCallback;
  void* m_pUserData;
};

#endif
