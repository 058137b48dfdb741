// Updater of the ADN group: on a GSM card (or a USIM whose PBR could not be read) one ADN file
// with EXT1; on a USIM a contact spread over the files its PBR record lists (IAP, ANR, EMAIL,
// SNE, GRP, PBC, UID) with the synchronisation counters PSC, CC and PUID.
#ifndef CTSVC_SIM_ADN_UPDATER_H
#define CTSVC_SIM_ADN_UPDATER_H

#include <vector>

#include "CtSvcSim/SimFile/CtSvcUsimPhonebook.h"
#include "CtSvcSim/SimUpdater/CtSvcSimUpdater.h"

class CCtSvcSimAdnUpdater : public CCtSvcSimUpdater {
 public:
  explicit CCtSvcSimAdnUpdater(ICtSvcSimFileContainer* pContainer);

 protected:
  BOOL _BuildWrite(int nRecordIndex, const CCtSvcSimRecord& record, bool bInsert) override;
  BOOL _BuildDelete(int nRecordIndex) override;
  int _GetUnusedRecordIndex() const override;

 private:
  // A contact's place on a USIM: the PBR record, the record in its files, and those files.
  struct UsimSlot {
    CCtSvcPbrFile* pPbrFile = nullptr;
    int nPbrIndex = -1;
    int nFileRecordIndex = -1;
    CtSvcSimPbrFileSet files;
  };
  // A PBR entry of the contact's record with its file: nNth counts the ANR or EMAIL files before
  // it, nIapPosition is its IAP position for a type-2 file and -1 for a type-1 file.
  struct EntryFile {
    int nEntryType;
    CCtSvcSimFile* pFile;
    int nNth;
    int nIapPosition;
  };
  // A value of the contact for one entry (null or empty: none) and the AAS index of a number.
  struct LinkedValue {
    const char* pszValue;
    UINT8 nAasIndex;
  };

  BOOL _UpdateRecordGSM(int nRecordIndex, const CCtSvcSimXdnRecord& record);
  BOOL _DeleteRecordGsm(int nRecordIndex);
  BOOL _UpdateRecordUsim(int nRecordIndex, const CCtSvcSimXdnRecord& record);
  BOOL _DeleteRecordUsim(int nRecordIndex);

  // The files of the PBR record as the container holds them.
  CtSvcSimPbrFileSet _GetPbrFileSet(const CCtSvcPbrFile& pbrFile, int nPbrIndex) const;
  BOOL _FindUsimSlot(int nRecordIndex, UsimSlot* pSlot) const;
  // Steps CC (0xFFFF -> 1), first renewing PSC and PUID when CC or PUID ran out; all queued.
  void _StepChangeCounter();
  // The ANR, EMAIL, SNE, GRP, PBC, UID and IAP entries of the slot's PBR record with their
  // files; FALSE (logged) when a listed file or the IAP file a type-2 entry needs is missing.
  BOOL _ResolveEntries(const UsimSlot& slot, std::vector<EntryFile>* pvcEntry) const;
  // The contact's value for an ANR, EMAIL or SNE entry.
  static LinkedValue _ValueOf(const EntryFile& entry, const CCtSvcSimAdnRecord& adn);
  // Writes or erases the value in a file reached through the entry's IAP position.
  void _UpdateLinkedValue(const UsimSlot& slot, const EntryFile& entry, const LinkedValue& value);
  // Writes or erases the value in a type-1 file at the contact's record.
  void _UpdateSameIndexValue(const UsimSlot& slot, const EntryFile& entry, const LinkedValue& value);
  void _FillValue(const UsimSlot& slot, CCtSvcSimFile* pFile, const LinkedValue& value, int nIndex, bool bLinked);
  void _UpdateGroups(const UsimSlot& slot, const CCtSvcSimAdnRecord& adn);
  void _UpdatePbc(const UsimSlot& slot, const CCtSvcSimAdnRecord& adn);
  void _UpdateUid(const UsimSlot& slot);
};

#endif
