// The bulk handler: runs one registered bulk operation a few items at a time from a one-shot
// 50 ms timer, so that copying or deleting hundreds of contacts never blocks its caller. Each
// tick holds the module mutex; state changes and progress go to the registered listener.
#ifndef CTSVC_BULK_HANDLER_H
#define CTSVC_BULK_HANDLER_H

#include "CtSvcBulkOperation/ICtSvcBulkListener.h"
#include "CtSvcBulkOperation/ICtSvcBulkOperation.h"

// Timer period of one unit, in platform timer units (milliseconds).
#define CTSVC_BULK_TIMER_PERIOD 50

class CCtSvcBulkHandler {
 public:
  // The process-wide handler; the module unload destroys it.
  static CCtSvcBulkHandler* Instance();
  static void DestroyInstance();
  ~CCtSvcBulkHandler();
  CCtSvcBulkHandler(const CCtSvcBulkHandler&) = delete;
  CCtSvcBulkHandler& operator=(const CCtSvcBulkHandler&) = delete;

  // The operation and listener are not owned and must outlive their registration.
  BOOL RegisterBulkOperation(ICtSvcBulkOperation* pBulkOperation, ICtSvcBulkListener* pListener);
  BOOL UnregisterBulkOperation();
  BOOL Start();
  BOOL Stop();
  BOOL Pause();
  BOOL Resume();
  int GetState() const;
  BOOL GetProgress(int* pnDone, int* pnTotal) const;
  BOOL SetUnitCountAtOnce(int nCount);
  int GetUnitCountAtOnce() const;
  ICtSvcBulkOperation* GetCurrentOperation() const { return m_pCurrentOperation; }

 private:
  CCtSvcBulkHandler() = default;
  static void TimerMgrCallback(HOBJ hTimer, void* pParam);
  void _Tick();
  // Start and Resume: bResetTotal takes the remaining count as the run's total.
  BOOL _Run(BOOL bResetTotal);
  BOOL _ArmTimer();
  void _CancelTimer();
  int _IdleState() const;
  void _ChangeState(BOOL bResult, int nNewState);

  HOBJ m_hTimer = INVALID_HOBJ;
  int m_nTotalCount = 0;
  int m_BulkState = CTSVC_BULK_INVALID;
  ICtSvcBulkOperation* m_pCurrentOperation = nullptr;
  ICtSvcBulkListener* m_pListener = nullptr;
};

#endif
