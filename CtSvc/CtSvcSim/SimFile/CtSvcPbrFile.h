// The phonebook reference file of a USIM: per record, the files of one part of the phonebook
// with their kind (entry type) and how they are linked to ADN records (constructed tag).
#ifndef CTSVC_PBR_FILE_H
#define CTSVC_PBR_FILE_H

#include <vector>

#include "CtSvcSim/SimFile/CtSvcUsimFile.h"

struct CtSvcSimPbrEntry {
  UINT32 fileID;
  UINT8 sfi;
  int entryType;       // CTSVC_SIM_ENTRY_...
  int constructedTag;  // 0xA8, 0xA9, 0xAA
  int used;
};

struct __CtSvcSimPbrRecord {
  std::vector<CtSvcSimPbrEntry> vcEntry;
  static constexpr size_t kImageSize = 0;
  void Image(UINT8*) const {}
};

// Entry type of a PBR file tag; CTSVC_SIM_ENTRY_UNKNOWN (reported) for any other tag.
int CtSvcSimEntryTypeOfTag(UINT32 nTag);
// Internal file id of an entry type, or CTSVC_SIM_FILE_ID_INVALID.
int CtSvcSimFileIDOfEntryType(int nEntryType);

class CCtSvcPbrFile : public CCtSvcSimEntryFile<__CtSvcSimPbrRecord> {
 public:
  CCtSvcPbrFile();
  // Entries of the record; -1 on a bad or unused record.
  int GetTotalEntryCount(int nRecordIndex) const;
  // Entries of the type in the record; -1 on a bad argument.
  int GetEntryCount(int nRecordIndex, int entryType) const;
  BOOL IsSupportedEntry(int nRecordIndex, int entryType) const;
  const CtSvcSimPbrEntry* GetEntryInfo(int nRecordIndex, int entryIndex) const;
  // The n-th entry of the type in the record is a type-2 file (reached through IAP).
  BOOL IsEntryLinkByIndex(int nRecordIndex, int entryType, int n) const;
  // The first entry of the type in the record, or null.
  const CtSvcSimPbrEntry* FindEntry(int nRecordIndex, int entryType) const;

 protected:
  BOOL _SaveRecordOnRead(int nRecordIndex, const void* pRecordData) override;
  BOOL _PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) override;

 private:
  const std::vector<CtSvcSimPbrEntry>* _Entries(int nRecordIndex) const;
};

#endif
