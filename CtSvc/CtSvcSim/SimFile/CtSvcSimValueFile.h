// Transparent files of the USIM phonebook holding one counter: PSC (4 bytes), CC and PUID (2
// bytes each), big-endian as on the card; and the files kept only as file objects (CCP1, hidden
// key).
#ifndef CTSVC_SIM_VALUE_FILE_H
#define CTSVC_SIM_VALUE_FILE_H

#include "CtSvcSim/SimFile/CtSvcSimFile.h"

class CCtSvcSimValueFile : public CCtSvcSimFile {
 public:
  UINT32 GetValue() const { return m_nValue; }
  void SetValue(UINT32 nValue) { m_nValue = nValue; }
  int GetValueSize() const { return m_nSize; }

  void OnRead(const void* pRecordData, BOOL bSuccess) override;
  int GetMaxRecordCount() const override { return 0; }
  BOOL IsUsed(int) const override { return FALSE; }
  BOOL PrepareInsertRecord(int) override { return FALSE; }
  BOOL FreeRecord(int) override { return FALSE; }

 protected:
  CCtSvcSimValueFile(int nSimFileID, const char* pszClassName, int nSize);
  BOOL _SaveRecordOnRead(int, const void*) override { return FALSE; }
  BOOL _PrepareLoad() override { return TRUE; }
  // Writes the value from the file's start (mode 1, record 0); a delete writes 0.
  BOOL _PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) override;
  void _ClearRecords() override { m_nValue = 0; }

 private:
  int m_nSize;
  UINT32 m_nValue = 0;
};

class CCtSvcPscFile : public CCtSvcSimValueFile {
 public:
  CCtSvcPscFile();
};
class CCtSvcCcFile : public CCtSvcSimValueFile {
 public:
  CCtSvcCcFile();
};
class CCtSvcPuidFile : public CCtSvcSimValueFile {
 public:
  CCtSvcPuidFile();
};

// A file the phonebook only knows as an object: nothing is decoded or written.
class CCtSvcSimPlainFile : public CCtSvcSimFile {
 public:
  int GetMaxRecordCount() const override { return 0; }
  BOOL IsUsed(int) const override { return FALSE; }
  BOOL PrepareInsertRecord(int) override { return FALSE; }
  BOOL FreeRecord(int) override { return FALSE; }

 protected:
  using CCtSvcSimFile::CCtSvcSimFile;
  BOOL _SaveRecordOnRead(int, const void*) override { return FALSE; }
  BOOL _PrepareLoad() override { return FALSE; }
  BOOL _PrepareUpdateFileReqData(int, BOOL, SimUpdateFileReq*) override { return FALSE; }
  void _ClearRecords() override {}
};

class CCtSvcCcp1File : public CCtSvcSimPlainFile {
 public:
  CCtSvcCcp1File();
};
class CCtSvcHiddenKeyFile : public CCtSvcSimPlainFile {
 public:
  CCtSvcHiddenKeyFile();
};

#endif
