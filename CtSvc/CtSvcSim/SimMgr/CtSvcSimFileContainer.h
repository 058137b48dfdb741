// Owns the file objects of the SIM phonebook groups (ADN, FDN, MSISDN, SDN), decides which files
// the card in hand has, loads a group's files one after another through a work queue, and builds
// SIM record objects from the loaded entries.
#ifndef CTSVC_SIM_FILE_CONTAINER_H
#define CTSVC_SIM_FILE_CONTAINER_H

#include <deque>
#include <memory>
#include <vector>

#include "CtSvcSim/SimFile/CtSvcUsimPhonebook.h"
#include "CtSvcSim/SimMgr/ICtSvcSimFileContainer.h"
#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"

class CCtSvcSimFileContainer : public ICtSvcSimFileContainer, public ICtSvcSimFileListener {
 public:
  explicit CCtSvcSimFileContainer(ICtSvcSimFileContainerListener* pListener);
  ~CCtSvcSimFileContainer() override;
  CCtSvcSimFileContainer(const CCtSvcSimFileContainer&) = delete;
  CCtSvcSimFileContainer& operator=(const CCtSvcSimFileContainer&) = delete;

  int GetCardType() const override;
  CCtSvcSimFile* GetSimFile(int nSimFileID, int nPbrIndex = 0, int nSubIndex = 0) const override;
  BOOL IsSingleAdnFile() const override;

  void OnLoaded(int nSimFileID, BOOL bSuccess) override;
  void OnUpdated(int, BOOL) override {}

  // Start a group's load; the result comes through the listener. FALSE when it cannot start.
  BOOL InitAdn();
  BOOL InitFdn();
  BOOL InitMsisdn();
  BOOL InitSdn();
  void FreeAdn();
  void FreeFdn();
  void FreeMsisdn();
  void FreeSdn();

  // PBR records (one element on a GSM card or after a failed PBR read; null ADN: record unused).
  const std::vector<CtSvcSimPbrFileSet>& GetAdnContainer() const { return m_vcADNContainer; }
  const CCtSvcPbrFile* GetPbrFile() const { return m_pPbrFile.get(); }
  // Global ADN index -> PBR index and file record index; FALSE when it cannot be mapped.
  BOOL MapAdnIndex(int nRecordIndex, int* pnPbrIndex, int* pnFileRecordIndex) const;

  BOOL GetAdnRecord(int nRecordIndex, CCtSvcSimAdnRecord* pRecord) const;
  BOOL GetXdnRecord(int nSimFileID, int nRecordIndex, CCtSvcSimXdnRecord* pRecord) const;
  BOOL GetXasRecord(int nSimFileID, int nRecordIndex, CCtSvcSimXasRecord* pRecord) const;
  BOOL ValidCheckExtFile(int nSimFileID);

 private:
  template <class TFile, class... Args>
  TFile* _Own(Args... args);
  BOOL __LoadGsmSimAdn();
  BOOL __ReadPBRFile();
  BOOL __LoadUsimAdn();
  BOOL _InitXdn(int nLoadType, int nSimFileID, int nExtFileID);
  void __Next();
  void __CallListener(BOOL bResult);
  void _FreeGroup(int nLoadType);
  void _DropFile(CCtSvcSimFile* pFile);
  void _DropSyncFile(CCtSvcSimFile* pFile);
  CCtSvcExtFile* _ExtFileOf(int nDialFileID) const;

  int m_nLoadType = CTSVC_SIM_LOAD_ADN;
  ICtSvcSimFileContainerListener* m_pListener;
  std::vector<CtSvcSimPbrFileSet> m_vcADNContainer;
  std::unique_ptr<CCtSvcPbrFile> m_pPbrFile;
  CCtSvcExtFile* m_pExt1File = nullptr;
  CCtSvcGasFile* m_pGasFile = nullptr;
  CCtSvcAasFile* m_pAasFile = nullptr;
  CCtSvcDialNumberFile* m_pFdnFile = nullptr;
  CCtSvcExtFile* m_pExt2File = nullptr;
  CCtSvcDialNumberFile* m_pSdnFile = nullptr;
  CCtSvcExtFile* m_pExt3File = nullptr;
  CCtSvcDialNumberFile* m_pMsisdnFile = nullptr;
  CCtSvcExtFile* m_pExt5File = nullptr;
  CCtSvcSimValueFile* m_pPscFile = nullptr;
  CCtSvcSimValueFile* m_pCcFile = nullptr;
  CCtSvcSimValueFile* m_pPuidFile = nullptr;
  std::deque<CCtSvcSimFile*> m_qWork;
  // Ownership: the USIM phonebook's files, and every other file by the group that created it.
  std::unique_ptr<CCtSvcUsimPhonebookFiles> m_pUsimFiles;
  std::vector<std::pair<int, std::unique_ptr<CCtSvcSimFile>>> m_vcpOwned;  // {load type, file}
  int m_nOwnerGroup = CTSVC_SIM_LOAD_ADN;
  bool m_bMsisdnUsesExt1 = false;
};

// Whether the card offers the service that a file of the group needs (FDN, EXT2, MSISDN, EXT1,
// EXT5, SDN, EXT3), from the service table of its card type.
BOOL CtSvcSimIsServiceOffered(int nSimFileID);

#endif
