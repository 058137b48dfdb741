// The process-wide SIM phonebook manager: opens the card through the device SIM manager, runs the
// four group loads, repairs the USIM synchronisation data after the card was used in a GSM
// terminal, creates the record updaters once a group is loaded, and answers the counting and
// lookup questions of the SIM C API.
#ifndef CTSVC_SIM_MGR_H
#define CTSVC_SIM_MGR_H

#include <memory>
#include <string>

#include "CtSvcSim/DevSimMgr/ICtSvcDevSimMgr.h"
#include "CtSvcSim/SimMgr/CtSvcSimFileContainer.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgrFileUpdater.h"
#include "CtSvcSim/SimUpdater/ICtSvcSimUpdater.h"

// Record updater slots.
enum CTSVC_SIM_UPDATER_SLOT {
  CTSVC_SIM_UPDATER_ADN = 0,
  CTSVC_SIM_UPDATER_FDN = 1,
  CTSVC_SIM_UPDATER_SDN = 2,
  CTSVC_SIM_UPDATER_MSISDN = 3,
  CTSVC_SIM_UPDATER_AAS = 4,
  CTSVC_SIM_UPDATER_GAS = 5,
  CTSVC_SIM_UPDATER_MAX = 6
};

// Group bits of PrepareReloadRecord.
#define CTSVC_SIM_RELOAD_ADN 1
#define CTSVC_SIM_RELOAD_FDN 2
#define CTSVC_SIM_RELOAD_MSISDN 4
#define CTSVC_SIM_RELOAD_SDN 8

class CCtSvcSimMgr : public ICtSvcSimFileContainerListener, public ICtSvcDevSimInitListener {
 public:
  static CCtSvcSimMgr* Instance();
  ~CCtSvcSimMgr() override;

  BOOL InitAdn(ICtSvcSimMgrListener* pListener);
  BOOL InitFdn(ICtSvcSimMgrListener* pListener);
  BOOL InitMsisdn(ICtSvcSimMgrListener* pListener);
  BOOL InitSdn(ICtSvcSimMgrListener* pListener);
  void Clear();
  void PrepareReloadRecord(int nMask);
  // Forgets the listener (its owner is going); loads in flight finish without a report.
  void ForgetListener(ICtSvcSimMgrListener* pListener);

  ICtSvcSimUpdater* GetRecordUpdater(int nSlot) const;
  CCtSvcSimFileContainer* GetFileContainer() const { return m_pContainer.get(); }
  int GetCardType() const;

  BOOL GetAdnRecord(int nRecordIndex, CCtSvcSimAdnRecord* pRecord) const;
  // nType 1 FDN, 2 SDN, 3 MSISDN.
  BOOL GetXdnRecord(int nType, int nRecordIndex, CCtSvcSimXdnRecord* pRecord) const;
  // nType 4 GAS, 5 AAS.
  BOOL GetXasRecord(int nType, int nRecordIndex, CCtSvcSimXasRecord* pRecord) const;

  int GetMaxRecordCount(int nSimFileID, int nPbrIndex = 0, int nSubIndex = 0) const;
  int GetUsedRecordCount(int nSimFileID, int nPbrIndex = 0, int nSubIndex = 0) const;
  int GetTotalMaxRecordCount(int nSimFileID) const;
  int GetTotalUsedRecordCount(int nSimFileID) const;
  int IsUsedRecord(int nSimFileID, int nRecordIndex) const;
  int GetUnusedRecordIndex(int nSimFileID) const;
  int GetPbrEntryCount(int nPbrIndex, int entryType) const;
  BOOL IsPbrEntryLinkByIndex(int nPbrIndex, int entryType, int n) const;
  BOOL GetFileInfo(int nSimFileID, int nPbrIndex, int nSubIndex, CtSvcSimFileInfo* pFileInfo) const;
  int IsUsedFile(int nSimFileID, int nPbrIndex = 0, int nSubIndex = 0) const;
  int GetRecordLength(int nSimFileID) const;
  BOOL IsAvailableFile(int nSimFileID) const;
  int GetRecordStringLength(int nSimFileID) const;
  int GetRecordPhoneNumberLength(int nSimFileID) const;
  int GetAvailCountRecordField(int nSimFileID, int nSlot) const;
  int GetMaxCountRecordField(int nSimFileID, int nSlot) const;
  BOOL GetSHA1Value(int nSimFileID, int nPbrIndex, int nSubIndex, std::string* pstrValue) const;
  BOOL RelaodSimFileInfo(int nSimFileID);
  BOOL ValidCheckExtFile(int nSimFileID);
  BOOL OpenSim();
  BOOL CloseSim();

  void OnReadAdn(BOOL bResult) override;
  void OnReadFdn(BOOL bResult) override;
  void OnReadMsisdn(BOOL bResult) override;
  void OnReadSdn(BOOL bResult) override;
  void OnOpen(BOOL bSuccess) override;
  void OnClose(BOOL bSuccess) override;

 private:
  CCtSvcSimMgr() = default;
  BOOL __PrepareInit();
  BOOL _Init(ICtSvcSimMgrListener* pListener, int nLoadType, const char* pszWho);
  ICtSvcSimMgrListener* _TakeListener(int nLoadType);
  // The group's load or one of its writes waits for the card.
  bool _IsGroupBusy(int nLoadType) const;
  // Creates the updaters of the slots; FALSE (after logging) when one cannot be made.
  BOOL _CreateUpdaters(std::initializer_list<int> slots, const char* pszWho);
  void _FinishXdn(int nSlot, BOOL bResult, void (ICtSvcSimMgrListener::*pfnReport)(BOOL));
  void _FinishAdn();
  BOOL __SyncChangedRecordByGsmTerminal();
  void __RegeneratePscAndAllUids();
  int __GetPbrIndexByRecordIndex(int nRecordIndex) const;
  // PBR entries of the field's kind for the contact slot (-1: first free), -1 when not applicable.
  int _FieldEntryCount(int nSimFileID, int nSlot, int* pnPbrIndex) const;
  CCtSvcSimFile* _File(int nSimFileID, int nPbrIndex = 0, int nSubIndex = 0) const;
  int _ExtFileIDOf(int nSimFileID) const;

  int m_nPrepared = 0;
  // One listener a group: each load reports to the listener that started it.
  ICtSvcSimMgrListener* m_pListener[4] = {};
  int m_nLoading = -1;  // group whose load is in flight, -1 none
  std::unique_ptr<ICtSvcSimUpdater> m_pUpdater[CTSVC_SIM_UPDATER_MAX];
  std::unique_ptr<CCtSvcSimFileContainer> m_pContainer;
  std::unique_ptr<CCtSvcSimMgrFileUpdater> m_pFileUpdater;
};

#endif
