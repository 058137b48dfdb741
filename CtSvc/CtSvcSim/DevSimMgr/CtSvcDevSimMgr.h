// The SIM phonebook's connection to the telephony library: one SIM connection, one file request
// outstanding at a time, and the library's SIM events turned into calls on the requesting file.
#ifndef CTSVC_DEV_SIM_MGR_H
#define CTSVC_DEV_SIM_MGR_H

#include <atomic>
#include <mutex>

#include "CtSvcSim/DevSimMgr/ICtSvcDevSimMgr.h"

class CCtSvcDevSimMgr : public ICtSvcDevSimMgr {
 public:
  enum {
    SIMMGR_STATE_IDLE = 0,
    SIMMGR_STATE_CLOSING = 2,
    SIMMGR_STATE_WAIT_FILEINFO = 3,
    SIMMGR_STATE_WAIT_READ = 4,
    SIMMGR_STATE_WAIT_SEARCH = 5,
    SIMMGR_STATE_WAIT_UPDATE = 6
  };

  // The process-wide manager (never destroyed).
  static CCtSvcDevSimMgr* Instance();

  CCtSvcDevSimMgr() = default;
  ~CCtSvcDevSimMgr() override;
  CCtSvcDevSimMgr(const CCtSvcDevSimMgr&) = delete;
  CCtSvcDevSimMgr& operator=(const CCtSvcDevSimMgr&) = delete;

  const UINT8* GetSstInfo() override;
  const UINT8* GetUstInfo() override;
  BOOL Open(ICtSvcDevSimInitListener* pInitListener) override;
  BOOL Close(ICtSvcDevSimInitListener* pInitListener) override;
  BOOL IsOpened() override;
  BOOL IsLocalPhonebook() override { return m_bLocalPhonebook; }
  int GetCardType() override;
  BOOL IsCPHSSupported() override;
  BOOL SearchRecord(const SimSearchRecordReq* pReqData, ICtSvcDevSimListener* pListener) override;
  BOOL GetFileInfo(int nFileID, ICtSvcDevSimListener* pListener) override;
  BOOL ReadFile(const SimReadFileReq* pReqData, ICtSvcDevSimListener* pListener) override;
  BOOL UpdateFile(const SimUpdateFileReq* pReqData, ICtSvcDevSimListener* pListener) override;
  BOOL IsErrorReadPBR() override;

  int GetState();
  // One event of the library, as its callback receives it (the callback itself also frees pData).
  void HandleEvent(int eventStatus, int eventType, void* pData, UINT32 nParam);

 private:
  template <class TSend>
  BOOL _Send(const char* pszOperation, const char* pszCall, int nState, int nFileID, ICtSvcDevSimListener* pListener,
             TSend send);
  void __SetState(int nState);
  // Under the lock: the pending listener, the manager made idle; null (logged) when the manager
  // is idle or waits for another answer.
  ICtSvcDevSimListener* _TakeListener(int eventType, int nExpectedState, const char* pszWrongState);
  void _OnFileInfo(const SimFileInfoEventData* pData);
  void _OnRead(int eventStatus, void* pData, UINT32 nParam);
  void _OnInitEvent(int eventType, int eventStatus);

  std::recursive_mutex m_mutex;
  int m_nState = SIMMGR_STATE_IDLE;
  HOBJ m_hSim = INVALID_HOBJ;
  ICtSvcDevSimListener* m_pListener = nullptr;
  ICtSvcDevSimInitListener* m_pInitListener = nullptr;
  int m_nPendingFileID = SIM_EFILE_INVALID;
  BOOL m_bLocalPhonebook = 1;
  std::atomic<BOOL> m_bErrorReadPBR{0};  // set on the handler thread, read by any caller
};

#endif
