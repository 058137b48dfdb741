// UID (a contact's unique identifier) and PBC (its phonebook control byte).
#ifndef CTSVC_USIM_RECORD_FILES_H
#define CTSVC_USIM_RECORD_FILES_H

#include "CtSvcSim/SimFile/CtSvcUsimFile.h"

struct __CtSvcSimUidRecord {
  UINT16 uid = 0;
  static constexpr size_t kImageSize = 2;
  void Image(UINT8* pImage) const { std::memcpy(pImage, &uid, 2); }
};

struct __CtSvcSimPbcRecord {
  UINT32 entryControl = 0;
  UINT32 hiddenKeyFlag = 0;
  UINT32 hiddenKey = 0;
  static constexpr size_t kImageSize = 12;
  void Image(UINT8* pImage) const {
    std::memcpy(pImage, &entryControl, 4);
    std::memcpy(pImage + 4, &hiddenKeyFlag, 4);
    std::memcpy(pImage + 8, &hiddenKey, 4);
  }
};

class CCtSvcUidFile : public CCtSvcSimEntryFile<__CtSvcSimUidRecord> {
 public:
  explicit CCtSvcUidFile(int nPbrIndex);
  int GetUID(int nRecordIndex) const;  // -1 on a bad slot
  BOOL SetUID(int nRecordIndex, UINT16 nUid);

 protected:
  BOOL _SaveRecordOnRead(int nRecordIndex, const void* pRecordData) override;
  BOOL _PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) override;
};

class CCtSvcPbcFile : public CCtSvcSimEntryFile<__CtSvcSimPbcRecord> {
 public:
  explicit CCtSvcPbcFile(int nPbrIndex);
  int GetEntryControl(int nRecordIndex) const;  // -1 on a bad slot
  BOOL SetEntryControl(int nRecordIndex, UINT32 nFlag);

 protected:
  BOOL _SaveRecordOnRead(int nRecordIndex, const void* pRecordData) override;
  BOOL _PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) override;
};

#endif
