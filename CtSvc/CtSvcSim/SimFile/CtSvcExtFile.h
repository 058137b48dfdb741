// Extension files EXT1, EXT2, EXT3 and EXT5: the digits of a number beyond the 20 its dialling-
// number record holds.
#ifndef CTSVC_EXT_FILE_H
#define CTSVC_EXT_FILE_H

#include "CtSvcSim/SimFile/CtSvcSimEntryFile.h"

#define CTSVC_SIM_EXT_TYPE_ADDITIONAL_DATA 2
#define CTSVC_SIM_EXT_DATA_SIZE 22

struct __CtSvcSimExtRecord {
  UINT32 recordType = 0xFF;
  char szData[CTSVC_SIM_EXT_DATA_SIZE] = {};
  UINT8 nextRecord = CTSVC_SIM_LINK_NONE;

  static constexpr size_t kImageSize = 28;
  void Image(UINT8* pImage) const;
};

class CCtSvcExtFile : public CCtSvcSimEntryFile<__CtSvcSimExtRecord> {
 public:
  // Record type of the slot; 0xFF on a bad slot.
  int GetRecordType(int nRecordIndex) const;
  BOOL GetExtensionData(int nRecordIndex, char* pszData, int nSize) const;
  // Next record (0-based, 0xFF none); -1 on a bad slot.
  int GetNextRecord(int nRecordIndex) const;
  BOOL SetRecordType(int nRecordIndex, UINT32 nType);
  BOOL SetExtensionData(int nRecordIndex, const char* pszData);  // at most 21 digits
  BOOL SetNextRecord(int nRecordIndex, UINT8 nNext);
  // The digits of a used additional-data record, or null.
  const char* PeekAdditionalData(int nRecordIndex) const;

 protected:
  CCtSvcExtFile(int nSimFileID, int nPbrIndex, const char* pszClassName);
  BOOL _SaveRecordOnRead(int nRecordIndex, const void* pRecordData) override;
  BOOL _PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) override;
};

class CCtSvcExt1File : public CCtSvcExtFile {
 public:
  explicit CCtSvcExt1File(int nPbrIndex = 0);
};
class CCtSvcExt2File : public CCtSvcExtFile {
 public:
  CCtSvcExt2File();
};
class CCtSvcExt3File : public CCtSvcExtFile {
 public:
  CCtSvcExt3File();
};
class CCtSvcExt5File : public CCtSvcExtFile {
 public:
  CCtSvcExt5File();
};

// The digits of the first extension record of a number: the record of the index when the file
// holds it as additional data; null otherwise (no file, no link, out of range, other type).
const char* CtSvcSimExtensionDigits(const CCtSvcExtFile* pExtFile, UINT8 nExtRecordIndex);

#endif
