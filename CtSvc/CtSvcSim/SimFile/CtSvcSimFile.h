// Base of every SIM phonebook file: identity, the information the card reports, the load sequence
// (file information, search for empty records, reading the used records one by one), record
// writes and deletes, and the SHA-1 fingerprint of the entries.
#ifndef CTSVC_SIM_FILE_H
#define CTSVC_SIM_FILE_H

#include <memory>
#include <string>
#include <vector>

#include "CtSvcSim/DevSimMgr/ICtSvcDevSimMgr.h"

#define CTSVC_SIM_SHA1_CHUNK 70
#define CTSVC_SIM_SHA1_SIZE 20

class CCtSvcSimFile : public ICtSvcDevSimListener {
 public:
  // pszClassName names the file in log lines ("CCtSvcAdnFile").
  CCtSvcSimFile(int nSimFileID, int nPbrIndex, const char* pszClassName);
  ~CCtSvcSimFile() override;
  CCtSvcSimFile(const CCtSvcSimFile&) = delete;
  CCtSvcSimFile& operator=(const CCtSvcSimFile&) = delete;

  void OnSearch(const SimSearchEventData* pData, BOOL bSuccess) override;
  void OnGetFileInfo(const CtSvcSimFileInfo* pInfo, BOOL bSuccess) override;
  void OnRead(const void* pRecordData, BOOL bSuccess) override;
  void OnUpdated(BOOL bSuccess) override;
  virtual int GetMaxRecordCount() const = 0;
  virtual BOOL IsUsed(int nRecordIndex) const = 0;
  virtual BOOL PrepareInsertRecord(int nRecordIndex) = 0;
  virtual BOOL FreeRecord(int nRecordIndex) = 0;

  // Full load; the result comes through pListener->OnLoaded. A load whose first request cannot be
  // sent ends at once: OnLoaded(id, FALSE) and FALSE.
  BOOL LoadFile(ICtSvcSimFileListener* pListener);
  // File information only (m_FileInfo); only a failure is reported to the listener.
  BOOL LoadFileInfo(ICtSvcSimFileListener* pListener);
  BOOL UpdateRecord(int nRecordIndex, ICtSvcSimFileListener* pListener);
  BOOL DeleteRecord(int nRecordIndex, ICtSvcSimFileListener* pListener);

  int GetSimFileID() const { return m_nSimFileID; }
  int GetPbrIndex() const { return m_nPbrIndex; }
  int GetTelephonyFileID() const { return m_simFileID; }
  const CtSvcSimFileInfo& GetFileInfo() const { return m_FileInfo; }
  int GetRecordLength() const { return m_FileInfo.recordLen; }
  const char* GetClassName() const { return m_pszClassName; }
  // Lowest free index below the record count, or -1 when the file is full.
  int GetUnusedRecordIndex() const;
  // Hex SHA-1 digests of the entries, 70 entries a digest.
  BOOL GetSHA1Value(std::string* pstrValue);
  BOOL IsLoading() const { return m_pLoadInfo != nullptr; }

 protected:
  virtual BOOL _SaveRecordOnRead(int nRecordIndex, const void* pRecordData) = 0;
  virtual BOOL _PrepareLoad() = 0;
  virtual BOOL _PrepareSearchRecordReqData(SimSearchRecordReq* pReqData);
  virtual BOOL _PrepareReadFileReqData(SimReadFileReq* pReqData, int nRecordIndex);
  virtual BOOL _PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) = 0;
  virtual void _ClearRecords() = 0;
  virtual BOOL _GetRangeSHA1(int nStartIndex, int nCount, UINT8* pHashValue);

  void _SetTelephonyFileID(int simFileID) { m_simFileID = simFileID; }
  // Fills the header of an update request for the record.
  void _PrepareUpdateHeader(int nRecordIndex, SimUpdateFileReq* pReqData) const;
  // Card type and phonebook location as the device SIM manager reports them.
  static int _GetCardType();

 private:
  struct LoadInfo {
    int nPosition = 0;
    std::vector<int> vcReadList;
  };

  BOOL _SendUpdate(int nRecordIndex, BOOL bDelete, ICtSvcSimFileListener* pListener);
  void _StartReading(std::vector<int> vcReadList);
  BOOL _ReadFile(int nRecordIndex);
  void _ReadAll();
  void _LoadingFinished(BOOL bResult);

  std::unique_ptr<LoadInfo> m_pLoadInfo;
  int m_simLoadStyle = SIM_LOAD_STYLE_FULL;
  int m_nSimFileID;
  int m_nPbrIndex;
  int m_simFileID = SIM_EFILE_INVALID;
  CtSvcSimFileInfo m_FileInfo{};
  ICtSvcSimFileListener* m_pListener = nullptr;
  const char* m_pszClassName;
};

#endif
