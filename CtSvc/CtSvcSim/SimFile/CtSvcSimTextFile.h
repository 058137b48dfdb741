// Text files of the USIM phonebook: EMAIL and SNE (linked to an ADN record) and GAS and AAS (group
// names and additional-number kinds). One entry shape, decoded and encoded as alpha identifiers.
#ifndef CTSVC_SIM_TEXT_FILE_H
#define CTSVC_SIM_TEXT_FILE_H

#include "CtSvcSim/SimFile/CtSvcUsimFile.h"

#define CTSVC_SIM_TEXT_SIZE 769

struct __CtSvcSimTextRecord {
  char text[CTSVC_SIM_TEXT_SIZE] = {};
  UINT8 adnSfi = 0;
  UINT8 adnRecordIndex = CTSVC_SIM_LINK_NONE;

  static constexpr size_t kImageSize = 772;
  void Image(UINT8* pImage) const;
};
using __CtSvcSimAasRecord = __CtSvcSimTextRecord;

class CCtSvcSimTextFile : public CCtSvcSimEntryFile<__CtSvcSimTextRecord> {
 public:
  BOOL GetText(int nRecordIndex, char* pszText, int nSize) const;
  BOOL SetText(int nRecordIndex, const char* pszText);
  // The text of a used record, or null.
  const char* PeekText(int nRecordIndex) const;
  // The ADN record an EMAIL or SNE record belongs to (type-2 files); -1 on a bad slot.
  int GetAdnRecordIndex(int nRecordIndex) const;
  BOOL SetAdnLink(int nRecordIndex, UINT8 nAdnSfi, UINT8 nAdnRecordIndex);

 protected:
  // bLinked: EMAIL and SNE records (with file id and ADN link); pszEmptyLog: the line logged for an
  // empty record.
  CCtSvcSimTextFile(int nSimFileID, int nPbrIndex, int nNth, const char* pszClassName, const char* pszVectorName,
                    bool bLinked, const char* pszEmptyLog);
  BOOL _SaveRecordOnRead(int nRecordIndex, const void* pRecordData) override;
  BOOL _PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) override;

 private:
  bool m_bLinked;
  const char* m_pszEmptyLog;
};

class CCtSvcEmailFile : public CCtSvcSimTextFile {
 public:
  CCtSvcEmailFile(int nPbrIndex, int nNth);
  BOOL GetEmailAddress(int nRecordIndex, char* pszEmail, int nSize) const { return GetText(nRecordIndex, pszEmail, nSize); }
  int GetNth() const { return m_nNth; }

 private:
  int m_nNth;
};

class CCtSvcSneFile : public CCtSvcSimTextFile {
 public:
  explicit CCtSvcSneFile(int nPbrIndex);
  BOOL GetSecondName(int nRecordIndex, char* pszName, int nSize) const { return GetText(nRecordIndex, pszName, nSize); }
};

class CCtSvcGasFile : public CCtSvcSimTextFile {
 public:
  CCtSvcGasFile();
  BOOL GetName(int nRecordIndex, char* pszName, int nSize) const { return GetText(nRecordIndex, pszName, nSize); }
};

class CCtSvcAasFile : public CCtSvcSimTextFile {
 public:
  CCtSvcAasFile();
  BOOL GetNumberName(int nRecordIndex, char* pszName, int nSize) const { return GetText(nRecordIndex, pszName, nSize); }
};

#endif
