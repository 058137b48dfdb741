// Additional numbers (ANR) of USIM contacts.
#ifndef CTSVC_ANR_FILE_H
#define CTSVC_ANR_FILE_H

#include "CtSvcSim/SimFile/CtSvcExtFile.h"
#include "CtSvcSim/SimFile/CtSvcUsimFile.h"

struct __CtSvcSimAnrRecord {
  char number[42] = {};
  UINT8 aasIndex = CTSVC_SIM_LINK_NONE;
  UINT8 extRecordIndex = CTSVC_SIM_LINK_NONE;
  UINT8 adnSfi = 0;
  UINT8 adnRecordIndex = CTSVC_SIM_LINK_NONE;
  UINT32 international = 0;

  static constexpr size_t kImageSize = 50;
  void Image(UINT8* pImage) const;
};

class CCtSvcAnrFile : public CCtSvcSimEntryFile<__CtSvcSimAnrRecord> {
 public:
  // nNth: which ANR file of the PBR record (0 to 3).
  CCtSvcAnrFile(int nPbrIndex, int nNth);
  BOOL GetAdditionalNumber(int nRecordIndex, char* pszNumber, int nSize) const;
  BOOL SetAdditionalNumber(int nRecordIndex, const char* pszNumber);
  int GetAasIndex(int nRecordIndex) const;  // 0xFF none; -1 on a bad slot
  BOOL SetAasIndex(int nRecordIndex, UINT8 nAasIndex);
  int GetInternational(int nRecordIndex) const;
  BOOL SetInternational(int nRecordIndex, UINT32 bInternational);
  // The ADN record a type-2 record belongs to.
  int GetAdnRecordIndex(int nRecordIndex) const;
  BOOL SetAdnLink(int nRecordIndex, UINT8 nAdnSfi, UINT8 nAdnRecordIndex);
  // '+' when international, then the digits and those of the first EXT1 record.
  BOOL GetPresentedNumber(int nRecordIndex, const CCtSvcExtFile* pExtFile, char* pszNumber, int nSize) const;
  int GetNth() const { return m_nNth; }

 protected:
  BOOL _SaveRecordOnRead(int nRecordIndex, const void* pRecordData) override;
  BOOL _PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) override;

 private:
  int m_nNth;
};

#endif
