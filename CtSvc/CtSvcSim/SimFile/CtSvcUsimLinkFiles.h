// IAP (the record numbers of a contact's type-2 files) and GRP (a contact's groups).
#ifndef CTSVC_USIM_LINK_FILES_H
#define CTSVC_USIM_LINK_FILES_H

#include "CtSvcSim/SimFile/CtSvcUsimFile.h"

class CCtSvcIapFile : public CCtSvcSimLinkFile<CTSVC_SIM_IAP_COUNT_MAX> {
 public:
  explicit CCtSvcIapFile(int nPbrIndex);
  // The 0-based record index for the n-th type-2 entry of the PBR record, 0xFF for none; -1 on a
  // bad or unused record.
  int GetIndex(int nRecordIndex, int nEntryTypeA9Index) const;
  BOOL SetIndex(int nRecordIndex, int nEntryTypeA9Index, UINT8 nValue);

 protected:
  BOOL _SaveRecordOnRead(int nRecordIndex, const void* pRecordData) override;
  BOOL _PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) override;
};

class CCtSvcGrpFile : public CCtSvcSimLinkFile<CTSVC_SIM_GROUP_COUNT_MAX> {
 public:
  explicit CCtSvcGrpFile(int nPbrIndex);
  // The 0-based GAS record index at the position, 0xFF for none; -1 on a bad slot.
  int GetGASIndex(int nRecordIndex, int nArrayIndex) const;
  BOOL SetGASIndex(int nRecordIndex, int nArrayIndex, UINT8 nGasIndex);

 protected:
  BOOL _SaveRecordOnRead(int nRecordIndex, const void* pRecordData) override;
  BOOL _PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) override;
};

#endif
