// The phonebook manager: keeps the contact store in step with the SIM card. At start-up it loads
// the SIM groups one after another (MSISDN, SDN, FDN, ADN), detects a new card (ICCID) or changed
// content (SHA-1 fingerprints of the SIM files kept in "CtSet.ini") and only then copies SIM
// groups, FDN entries and ADN contacts into the store (the ADN copy as a bulk insert). It installs
// the carrier's pre-installed contacts once, answers SIM-toolkit refreshes, and carries out the
// phonebook's write operations with their change callbacks.
#ifndef CTSVC_PHONEBOOK_MGR_H
#define CTSVC_PHONEBOOK_MGR_H

#include <memory>
#include <queue>
#include <vector>

#include "CtSvcBulkOperation/ICtSvcBulkListener.h"
#include "CtSvcBulkOperation/ICtSvcBulkOperation.h"
#include "CtSvcPhonebook.h"
#include "CtSvcSim/SimMgr/ICtSvcSimFileContainer.h"
#include "CtSvcSim/SimUpdater/ICtSvcSimUpdater.h"

// Where asynchronous phonebook results go: the end of the start-up and the SIM write results.
class ICtSvcPhonebookListener {
 public:
  virtual ~ICtSvcPhonebookListener() = default;
  virtual BOOL OnInitPhonebook(BOOL bResult) = 0;
  virtual BOOL OnInsertRecord(int nRecordIndex, int nResult) = 0;
  virtual BOOL OnUpdateRecord(int nRecordIndex, int nResult) = 0;
  virtual BOOL OnDeleteRecord(int nRecordIndex, int nResult) = 0;
};

// One registered change callback.
struct CtSvcPhonebookCallbackEntry {
  CtSvcPhonebookChangeCallback pfnCallback;
  int bQrn;  // 1 in the QRN lists
  void* pUserData;
};

class CCtSvcContact;
class CCtSvcSimAdnRecord;

class CCtSvcPhonebookMgr : public ICtSvcSimMgrListener, public ICtSvcSimUpdateListener, public ICtSvcBulkListener {
 public:
  static CCtSvcPhonebookMgr* Instance();
  ~CCtSvcPhonebookMgr() override;
  CCtSvcPhonebookMgr(const CCtSvcPhonebookMgr&) = delete;
  CCtSvcPhonebookMgr& operator=(const CCtSvcPhonebookMgr&) = delete;

  // Start-up and reload.
  BOOL InitPhonebook(ICtSvcPhonebookListener* pListener, int* pbNoSim);
  BOOL ReloadSimRecord(int nMask, ICtSvcPhonebookListener* pListener);
  BOOL IsInitializedPhonebook() const;
  void SetPhonebookInitState(int nState);
  int GetPhonebookInitState() const;
  void SetTryEnterCount(int nCount) { m_nTryEnterCount = nCount; }
  int GetTryEnterCount() const { return m_nTryEnterCount; }
  void SetSimRefreshCondition(int nCondition) { m_nSimRefreshCondition = nCondition; }
  int GetSimRefreshCondition() const { return m_nSimRefreshCondition; }
  void SetListener(ICtSvcPhonebookListener* pListener) { m_pListener = pListener; }
  void CancelCallback() { m_pListener = nullptr; }

  // Card and content change detection.
  BOOL IsSimChanged();
  BOOL IsSHA1Changed();
  BOOL UpdateSHA1();
  BOOL SetSHA1();

  // ICtSvcSimMgrListener
  void OnInitializedAdn(BOOL bResult) override;
  void OnInitializedFdn(BOOL bResult) override;
  void OnInitializedMsisdn(BOOL bResult) override;
  void OnInitializedSdn(BOOL bResult) override;

  // ICtSvcBulkListener: the end of the ADN copy; progress is not used.
  void OnChangedState(BOOL bResult, int nOldState, int nNewState) override;
  void OnProgress(int, int) override {}

  // Test support: forgets the per-process answers (SIM changed, pre-installed contacts loaded)
  // and the state, as a new process would start.
  void ResetForTest();

  // ---- Write operations and change callbacks ----
  // Contacts. Handles are the person id with the storage bits; -1 (or FALSE) on failure, logged.
  // Inserts a phone contact (bCommit: commit and call the change callbacks); the person handle
  // (id | 0x40000000) or -1.
  HOBJ InsertContactToPhone(const CtSvcContactInfo* pContactInfo, BOOL bCommit);
  BOOL InsertContactsToPhoneForVamo(CtSvcContactInfo** ppContactInfo, HOBJ* phPersons, int nCount);
  // Stores a SIM contact and starts its card write; the SIM handle (id | 0x80000000) or -1.
  HOBJ InsertContactToSim(CtSvcContactInfo* pContactInfo);
  BOOL UpdateContactToPhone(HOBJ hPerson, CtSvcContactInfo* pContactInfo, BOOL bNotify);
  BOOL UpdateContactToSim(HOBJ hPerson, CtSvcContactInfo* pContactInfo);
  BOOL DeleteContactFromPhone(HOBJ hPerson, BOOL bCommit);
  BOOL DeleteContactsFromPhoneForVamo(const HOBJ* phPersons, int nCount);
  BOOL DeleteContactFromSim(HOBJ hPerson);

  // Groups and fixed-dialling numbers; ids or -1, BOOL for the rest.
  int InsertGroupToPhone(const CtSvcGroupInfo* pGroupInfo);
  int InsertGroupToSim(const CtSvcGroupInfo* pGroupInfo);
  BOOL UpdateGroupToPhone(int nId, const CtSvcGroupInfo* pGroupInfo);
  BOOL UpdateGroupToSim(int nId, const CtSvcGroupInfo* pGroupInfo);
  BOOL DeleteGroupFromPhone(int nId);
  BOOL DeleteGroupFromSim(int nId);
  int InsertFdnRecord(const CtSvcFdnInfo* pFdnInfo);
  BOOL UpdateFdnRecord(int nId, const CtSvcFdnInfo* pFdnInfo);
  BOOL DeleteFdnRecord(int nId);

  // Own numbers: the MSISDN file when the card has one, else the phone-memory slot.
  BOOL SetOwnNumber(int nSlotIndex, const char* pszName, const char* pszPhoneNumber);
  BOOL DeleteOwnNumber(int nSlotIndex);
  BOOL GetOwnNumber(int nSlotIndex, char* pszName, int nNameSize, char* pszNumber, int nNumberSize);
  BOOL GetDefaultOwnNumber(char* pszName, int nNameSize, char* pszNumber, int nNumberSize);
  int GetOwnNumberSlotCount();
  int GetOwnNumberUsedSlotCount();

  // Change callbacks: the four lists, in registration order.
  enum CallbackList { kContactCallbacks, kGroupCallbacks, kContactCallbacksForQrn, kGroupCallbacksForQrn };
  void RegisterCallback(CallbackList list, CtSvcPhonebookChangeCallback pfnCallback, void* pUserData);
  void UnregisterCallback(CallbackList list, CtSvcPhonebookChangeCallback pfnCallback, void* pUserData);
  void PauseNotify() { m_bNotifyEnabled = 0; }
  void ResumeNotify() { m_bNotifyEnabled = 1; }
  // A change of one contact (id above 0): every contact callback.
  void __NotifyContactChanged(CtSvcChangeType type, int nRecordId, const void* pInfo);
  // Calls the contact callbacks of a bulk step (insert or delete of one person): those that are
  // not QRN callbacks.
  void __NotifyContactBulkChanged(CtSvcChangeType type, int nRecordId, const CtSvcContactInfo* pContactInfo);
  void __NotifyGroupChanged(CtSvcChangeType type, int nRecordId, const void* pInfo);
  // The QRN lists; also used with id -1 for changes of many records.
  void NotifyContactChangedQRN(CtSvcChangeType type, int nRecordId, const void* pInfo);
  void NotifyGroupChangedQRN(CtSvcChangeType type, int nRecordId, const void* pInfo);

  // ICtSvcSimUpdateListener: SIM write results, forwarded to m_pListener.
  void OnInsertRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override;
  void OnUpdateRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override;
  void OnDeleteRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override;

  // The ADN record of a contact (also used by the bulk SIM writes).
  BOOL __ConvToSimAdnRecord(const CCtSvcContact& contact, CCtSvcSimAdnRecord* pAdnRecord) const;

 private:
  std::vector<CtSvcPhonebookCallbackEntry>& _CallbackList(CallbackList list);
  // Brings the stored detail lists of the person in line with the given contact (phone update).
  BOOL _MergeDetails(HOBJ hPerson, const CtSvcPersonRecord& stored, CtSvcContactInfo* pContactInfo);
  BOOL _ForwardSetResult(const char* pszWho, BOOL (ICtSvcPhonebookListener::*pfnSlot)(int, int), int nRecordIndex,
                         BOOL bSuccess);
  // The own number lives on the card (not no-SIM mode and the MSISDN file available).
  bool _UsesSimOwnNumber() const;

 public:
  // ---- end of write operations and change callbacks ----

 private:
  CCtSvcPhonebookMgr() = default;

  // Pushes the available init types of the mask in load order; FALSE when the card type is invalid.
  BOOL _QueueAvailable(int nMask);
  BOOL __Next();
  // Common frame of the OnInitialized… handlers: FALSE (state failed) when the queue's front is
  // not nType.
  BOOL _CheckFront(int nType, const char* pszWho, const char* pszFile);
  void _Finish(int nType, BOOL bResult);
  void _Fail();
  void _ValidCheckExt(int nSimFileID);
  BOOL _OnInitializedAdn(BOOL bResult);
  BOOL _OnInitializedFdn(BOOL bResult);
  BOOL __ReloadGasRecordsToDB();
  BOOL __ReloadFdnRecordsToDB();
  BOOL __ReloadAdnRecordsToDB();
  BOOL __IsSameSHA1();
  void __ResetICCID();
  void __ResetSHA1();
  void __NotifyInitComplete(BOOL bResult);
  BOOL __PreInstContact();
  void _DeleteBulkOperation();

  ICtSvcPhonebookListener* m_pListener = nullptr;
  std::unique_ptr<ICtSvcBulkOperation> m_pBulkOperation;
  int m_InitState = CTSVC_SIM_INIT_INVALID;
  std::queue<int> m_qWork;
  std::vector<CtSvcPhonebookCallbackEntry> m_vContactCallbacks;
  std::vector<CtSvcPhonebookCallbackEntry> m_vGroupCallbacks;
  std::vector<CtSvcPhonebookCallbackEntry> m_vContactCallbacksForQrn;
  std::vector<CtSvcPhonebookCallbackEntry> m_vGroupCallbacksForQrn;
  int m_bNotifyEnabled = 1;
  int m_nTryEnterCount = 0;
  int m_nSimRefreshCondition = 0;

  // Per-process answers.
  bool m_bSimChangedKnown = false;
  BOOL m_bSimChanged = FALSE;
  bool m_bPreInstLoaded = false;
  bool m_bNoSim = false;
};

// The C callbacks of the phonebook API behind ICtSvcPhonebookListener (one static instance).
class CCtSvcPhonebookListener : public ICtSvcPhonebookListener {
 public:
  static CCtSvcPhonebookListener* Instance();
  BOOL OnInitPhonebook(BOOL bResult) override;
  BOOL OnInsertRecord(int nRecordIndex, int nResult) override;
  BOOL OnUpdateRecord(int nRecordIndex, int nResult) override;
  BOOL OnDeleteRecord(int nRecordIndex, int nResult) override;
  void SetCallback(CtSvcPhonebookInitCallback pfnInit, void* pUserData);
  void SetSetCallback(CtSvcPhonebookSetCallback pfnSet, void* pUserData);
  void UnregisterInitCallback();
  void UnregisterSetCallback();

 private:
  BOOL _ReportSet(int nRecordIndex, int nResult);

  CtSvcPhonebookInitCallback m_pfnInit = nullptr;
  CtSvcPhonebookSetCallback m_pfnSet = nullptr;
  void* m_pUserData = nullptr;
};

#endif
