// The dialling-number files ADN, FDN, SDN and MSISDN: one entry per record with name, digits, the
// first extension record and whether the number is international.
#ifndef CTSVC_DIAL_NUMBER_FILE_H
#define CTSVC_DIAL_NUMBER_FILE_H

#include "CtSvcSim/SimFile/CtSvcExtFile.h"
#include "CtSvcSim/SimFile/CtSvcSimCodec.h"

#define CTSVC_SIM_DIAL_NAME_SIZE 121
#define CTSVC_SIM_DIAL_NUMBER_SIZE 42
#define CTSVC_SIM_DIAL_FOOTER 14

struct __CtSvcSimDialNumberRecord {
  char name[CTSVC_SIM_DIAL_NAME_SIZE] = {};
  char number[CTSVC_SIM_DIAL_NUMBER_SIZE] = {};
  UINT8 extRecordIndex = CTSVC_SIM_LINK_NONE;
  UINT32 international = 0;

  static constexpr size_t kImageSize = 168;
  void Image(UINT8* pImage) const;
};

class CCtSvcDialNumberFile : public CCtSvcSimEntryFile<__CtSvcSimDialNumberRecord> {
 public:
  BOOL GetName(int nRecordIndex, char* pszName, int nSize) const;
  BOOL GetPhoneNumber(int nRecordIndex, char* pszPhoneNumber, int nSize) const;
  BOOL SetName(int nRecordIndex, const char* pszName);                // at most 120 bytes
  BOOL SetPhoneNumber(int nRecordIndex, const char* pszPhoneNumber);  // at most 41 characters
  int GetExtIndex(int nRecordIndex) const;                            // -1 on a bad slot
  BOOL SetExtIndex(int nRecordIndex, UINT8 nExtIndex);
  int GetInternational(int nRecordIndex) const;  // -1 on a bad slot
  BOOL SetInternational(int nRecordIndex, UINT32 bInternational);

  // Internal id of the extension file that continues this file's numbers.
  int GetExtFileID() const;
  // The number as shown: '+' when international, then the digits of the first extension record
  // when pExtFile holds it as additional data.
  BOOL GetPresentedNumber(int nRecordIndex, const CCtSvcExtFile* pExtFile, char* pszNumber, int nSize) const;

 protected:
  CCtSvcDialNumberFile(int nSimFileID, int nPbrIndex, const char* pszClassName, const char* pszVectorName,
                       CtSvcSimAlphaRule alphaRule, bool bPlusFromNumber);
  BOOL _SaveRecordOnRead(int nRecordIndex, const void* pRecordData) override;
  BOOL _PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) override;

 private:
  CtSvcSimAlphaRule m_alphaRule;
  bool m_bPlusFromNumber;  // the '+' of a number to write decides TON (all but SDN)
};

class CCtSvcAdnFile : public CCtSvcDialNumberFile {
 public:
  explicit CCtSvcAdnFile(int nPbrIndex = 0);
};
class CCtSvcFdnFile : public CCtSvcDialNumberFile {
 public:
  CCtSvcFdnFile();
};
class CCtSvcSdnFile : public CCtSvcDialNumberFile {
 public:
  CCtSvcSdnFile();
};
class CCtSvcMsisdnFile : public CCtSvcDialNumberFile {
 public:
  CCtSvcMsisdnFile();
};

#endif
