// The common part of the record updaters: the request checks, the state, the FIFO of record
// writes sent one at a time, the single call of the listener, and the writing of dialling numbers
// with their extension records.
#ifndef CTSVC_SIM_UPDATER_H
#define CTSVC_SIM_UPDATER_H

#include <deque>
#include <string>

#include "CtSvcSim/SimFile/CtSvcDialNumberFile.h"
#include "CtSvcSim/SimMgr/ICtSvcSimFileContainer.h"
#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"
#include "CtSvcSim/SimUpdater/ICtSvcSimUpdater.h"

#define CTSVC_SIM_WORK_WRITE 0
#define CTSVC_SIM_WORK_ERASE 1
// Digits a dialling-number record (and an extension record) holds.
#define CTSVC_SIM_RECORD_DIGITS_MAX 20

// A number split for the card: the digits without the international '+', whether it had one,
// and whether every character is one a card can store.
struct CtSvcSimNumberDigits {
  std::string strDigits;
  UINT32 bInternational = 0;
  bool bValid = true;
};
CtSvcSimNumberDigits CtSvcSimSplitNumber(const std::string& strNumber);

class CCtSvcSimUpdater : public ICtSvcSimUpdater, public ICtSvcSimFileListener {
 public:
  ~CCtSvcSimUpdater() override = default;
  CCtSvcSimUpdater(const CCtSvcSimUpdater&) = delete;
  CCtSvcSimUpdater& operator=(const CCtSvcSimUpdater&) = delete;

  BOOL InsertRecord(int nRecordIndex, const CCtSvcSimRecord* pRecord, ICtSvcSimUpdateListener* pListener) override;
  BOOL UpdateRecord(int nRecordIndex, const CCtSvcSimRecord* pRecord, ICtSvcSimUpdateListener* pListener) override;
  BOOL DeleteRecord(int nRecordIndex, ICtSvcSimUpdateListener* pListener) override;
  int GetState() const override { return m_State; }

  void OnLoaded(int, BOOL) override {}
  // The answer to the front write: the next write goes out, or the series ends.
  void OnUpdated(int nSimFileID, BOOL bSuccess) override;

 protected:
  // nSimFileID: the group this updater writes; pszClassName names it in log lines.
  CCtSvcSimUpdater(int nSimFileID, ICtSvcSimFileContainer* pContainer, const char* pszClassName);

  // Queues the writes of an insert (bInsert) or update of the record at nRecordIndex (resolved
  // from CTSVC_SIM_SLOT_AUTOINCREASE); FALSE when the series cannot be built.
  virtual BOOL _BuildWrite(int nRecordIndex, const CCtSvcSimRecord& record, bool bInsert) = 0;
  virtual BOOL _BuildDelete(int nRecordIndex) = 0;
  // The group's first free record, -1 when the group is full or missing.
  virtual int _GetUnusedRecordIndex() const = 0;

  ICtSvcSimFileContainer* GetSimFileContainer() const { return m_pContainer; }
  int GetGroupID() const { return m_nSimFileID; }
  const char* _GetClassName() const { return m_pszClassName; }
  // The container's file of the id as its file class (the container keeps one class per id).
  template <class TFile>
  TFile* _GetFile(int nSimFileID, int nPbrIndex = 0, int nSubIndex = 0) const {
    return static_cast<TFile*>(m_pContainer->GetSimFile(nSimFileID, nPbrIndex, nSubIndex));
  }

  void _AddWork(int nRecordIndex, int nCmd, CCtSvcSimFile* pFile);
  // Releases the slot in memory and queues its erase.
  void _EraseRecord(CCtSvcSimFile* pFile, int nRecordIndex);
  // Releases and queues the erase of each record of the extension chain starting at nExtIndex.
  void _EraseExtChain(CCtSvcExtFile* pExtFile, int nExtIndex);
  // The record can go into the slot: the index inside the file, a number a card can store, and a
  // name or a number for an empty slot.
  BOOL _CheckDialNumber(const CCtSvcDialNumberFile* pFile, int nRecordIndex, const CCtSvcSimXdnRecord& record) const;
  // Fills the slot of the dialling-number file from the record: the old extension chain erased,
  // the entry created if the slot is empty, the name set when non-empty, the number set with the
  // digits beyond 20 in a new extension record (queued). The record itself is not queued.
  BOOL _SetDialNumberEntry(CCtSvcDialNumberFile* pFile, int nRecordIndex, const CCtSvcSimXdnRecord& record,
                           CCtSvcExtFile* pExtFile);
  // The erase of a used dialling-number slot: the record first, then its extension chain.
  BOOL _EraseDialNumberEntry(CCtSvcDialNumberFile* pFile, int nRecordIndex, CCtSvcExtFile* pExtFile);

 private:
  struct Work {
    int nRecordIndex;
    int nCmd;
    CCtSvcSimFile* pSimFile;
  };
  template <class TBuild>
  BOOL _Start(int nState, int nRecordIndex, ICtSvcSimUpdateListener* pListener, TBuild build);
  BOOL _SaveExtNumberData(CCtSvcExtFile* pExtFile, const std::string& strDigits, UINT8* pnExtIndex);
  BOOL _DoNextWork();
  void _SetState(int nState);
  void _Finish(BOOL bSuccess);

  int m_State = CTSVC_SIM_UPDATER_IDLE;
  int m_nFileKind = -1;
  int m_nRecordIndex = -1;
  ICtSvcSimUpdateListener* m_pListener = nullptr;
  ICtSvcSimFileContainer* m_pContainer;
  std::deque<Work> m_qWork;
  int m_nSimFileID;
  const char* m_pszClassName;
};

#endif
