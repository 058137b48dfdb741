// The SIM phonebook's access to the card: one file request outstanding at a time, answered on the
// requester's ICtSvcDevSimListener; plus what the card says about itself. CCtSvcDevSimMgr talks
// to the telephony library; a test installs its own implementation with
// _TestCtSvcSimSetDevSimMockup.
#ifndef ICTSVC_DEV_SIM_MGR_H
#define ICTSVC_DEV_SIM_MGR_H

#include "CtSvcSim/SimFile/CtSvcSimFileTypes.h"
#include "ZelCommTAPI/ZelSim.h"

class ICtSvcDevSimListener {
 public:
  virtual ~ICtSvcDevSimListener() = default;
  virtual void OnSearch(const SimSearchEventData* pData, BOOL bSuccess) = 0;
  virtual void OnGetFileInfo(const CtSvcSimFileInfo* pInfo, BOOL bSuccess) = 0;
  virtual void OnRead(const void* pRecordData, BOOL bSuccess) = 0;
  virtual void OnUpdated(BOOL bSuccess) = 0;
};

class ICtSvcDevSimInitListener {
 public:
  virtual ~ICtSvcDevSimInitListener() = default;
  virtual void OnOpen(BOOL bSuccess) = 0;
  virtual void OnClose(BOOL bSuccess) = 0;
};

class ICtSvcDevSimMgr {
 public:
  virtual ~ICtSvcDevSimMgr() = default;
  // Service tables: flags, null when the card has none.
  virtual const UINT8* GetSstInfo() = 0;
  virtual const UINT8* GetUstInfo() = 0;
  virtual BOOL Open(ICtSvcDevSimInitListener* pInitListener) = 0;
  virtual BOOL Close(ICtSvcDevSimInitListener* pInitListener) = 0;
  virtual BOOL IsOpened() = 0;
  // 1: the USIM phonebook under the USIM application (0xFFxx ids); 0: under the telecom
  // directory (0xEFxx ids).
  virtual BOOL IsLocalPhonebook() = 0;
  virtual int GetCardType() = 0;
  virtual BOOL IsCPHSSupported() = 0;
  // Each answers TRUE when the request was sent; the answer comes on the listener.
  virtual BOOL SearchRecord(const SimSearchRecordReq* pReqData, ICtSvcDevSimListener* pListener) = 0;
  virtual BOOL GetFileInfo(int nFileID, ICtSvcDevSimListener* pListener) = 0;
  virtual BOOL ReadFile(const SimReadFileReq* pReqData, ICtSvcDevSimListener* pListener) = 0;
  virtual BOOL UpdateFile(const SimUpdateFileReq* pReqData, ICtSvcDevSimListener* pListener) = 0;
  virtual BOOL IsErrorReadPBR() = 0;
};

// The device SIM manager in force: the installed mock-up, else the one talking to the library
// (created on first use).
ICtSvcDevSimMgr* CtSvcGetDevSimMgr();

// Replaces the device SIM manager by the caller's implementation (null: back to the library's).
// The caller keeps ownership.
extern "C" void _TestCtSvcSimSetDevSimMockup(ICtSvcDevSimMgr* pDevSimMgr);

#endif
