// The files of a USIM phonebook as its PBR lists them, the global contact index over the PBR
// records, and the linking of one contact's ADN record with its additional numbers, e-mail
// addresses, second name, groups, control byte and UID.
#ifndef CTSVC_USIM_PHONEBOOK_H
#define CTSVC_USIM_PHONEBOOK_H

#include <memory>
#include <vector>

#include "CtSvcSim/SimFile/CtSvcAnrFile.h"
#include "CtSvcSim/SimFile/CtSvcDialNumberFile.h"
#include "CtSvcSim/SimFile/CtSvcPbrFile.h"
#include "CtSvcSim/SimFile/CtSvcSimTextFile.h"
#include "CtSvcSim/SimFile/CtSvcSimValueFile.h"
#include "CtSvcSim/SimFile/CtSvcUsimLinkFiles.h"
#include "CtSvcSim/SimFile/CtSvcUsimRecordFiles.h"
#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"

// The files of one PBR record (null: the record does not list it). ANR and EMAIL files are in
// the order the record lists them; EXT1 is the phonebook's shared extension file.
struct CtSvcSimPbrFileSet {
  CCtSvcAdnFile* pAdnFile = nullptr;
  CCtSvcExtFile* pExt1File = nullptr;
  CCtSvcIapFile* pIapFile = nullptr;
  CCtSvcSneFile* pSneFile = nullptr;
  CCtSvcGrpFile* pGrpFile = nullptr;
  CCtSvcPbcFile* pPbcFile = nullptr;
  CCtSvcUidFile* pUidFile = nullptr;
  std::vector<CCtSvcAnrFile*> vcpAnrFile;
  std::vector<CCtSvcEmailFile*> vcpEmailFile;
};

// Global index g of a contact -> PBR record index and ADN record index; FALSE when g lies beyond
// the ADN files or a PBR record on the way has no ADN file.
BOOL CtSvcSimGlobalToPbrIndex(const std::vector<CtSvcSimPbrFileSet>& vcSet, int nGlobalIndex, int* pnPbrIndex,
                              int* pnRecordIndex);
// The number of global indexes: the ADN records of every PBR record.
int CtSvcSimGetGlobalMax(const std::vector<CtSvcSimPbrFileSet>& vcSet);

// Builds the contact of ADN record nRecordIndex of PBR record nPbrIndex into pRecord (record index
// nGlobalIndex). FALSE when the IAP file the record needs is not loaded or the ADN slot is empty;
// a linked file that fails is logged and left out.
BOOL CtSvcSimLinkContact(const CCtSvcPbrFile& pbrFile, int nPbrIndex, const CtSvcSimPbrFileSet& files, int nRecordIndex,
                         int nGlobalIndex, CCtSvcSimAdnRecord* pRecord);

// Owns the file objects of a loaded PBR: per PBR record the files it lists, and the shared ones
// (EXT1, GAS, AAS, PSC, CC, PUID).
class CCtSvcUsimPhonebookFiles {
 public:
  // Creates the files of every used record of the loaded PBR (replacing earlier ones).
  void Build(const CCtSvcPbrFile& pbrFile);
  const std::vector<CtSvcSimPbrFileSet>& GetSets() const { return m_vcSet; }
  // Every file, in PBR order (a shared file where it is first listed; PSC, CC and PUID last).
  std::vector<CCtSvcSimFile*> GetFiles() const;
  CCtSvcGasFile* GetGasFile() const { return m_pGasFile; }
  CCtSvcAasFile* GetAasFile() const { return m_pAasFile; }

 private:
  template <class TFile, class... Args>
  TFile* _Add(Args... args);

  std::vector<std::unique_ptr<CCtSvcSimFile>> m_vcpFile;
  std::vector<CtSvcSimPbrFileSet> m_vcSet;
  CCtSvcExt1File* m_pExt1File = nullptr;
  CCtSvcGasFile* m_pGasFile = nullptr;
  CCtSvcAasFile* m_pAasFile = nullptr;
};

#endif
