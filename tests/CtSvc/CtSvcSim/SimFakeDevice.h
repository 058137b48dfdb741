// A device SIM manager for tests of the SIM file layer: files held as record structures by
// telephony id, answers queued and delivered by Pump() on the test's thread, one request at a
// time, with counts per file and switches for failures.
#ifndef CTSVC_SIM_FAKE_DEVICE_H
#define CTSVC_SIM_FAKE_DEVICE_H

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CtSvcSim/DevSimMgr/ICtSvcDevSimMgr.h"
#include "CtSvcSim/SimFile/CtSvcSimFile.h"

namespace ctsvc_sim_test {

using Bytes = std::vector<UINT8>;

template <class T>
Bytes AsBytes(const T& value) {
  const auto* p = reinterpret_cast<const UINT8*>(&value);
  return Bytes(p, p + sizeof(T));
}

template <class T>
T FromBytes(const Bytes& bytes) {
  T value{};
  if (!bytes.empty()) {  // an empty vector's data() may be null
    std::memcpy(&value, bytes.data(), std::min(bytes.size(), sizeof(T)));
  }
  return value;
}

// A dialling-number record: raw alpha bytes, digits, TON and extension id.
inline Bytes DialRecord(const Bytes& alpha, const std::string& strDigits, UINT32 nTon = 0, UINT8 nExt = 0xFF,
                        UINT32 nFieldLen = 14) {
  SimDialNumberInfo info{};
  info.used = 1;
  info.alphaFieldLen = nFieldLen;
  info.alphaLen = static_cast<UINT32>(alpha.size());
  if (!alpha.empty()) {  // an empty vector's data() may be null
    std::memcpy(info.szAlphaID, alpha.data(), std::min(alpha.size(), sizeof(info.szAlphaID)));
  }
  info.numberLen = static_cast<UINT32>(strDigits.size());
  info.ton = nTon;
  info.npi = 1;
  std::strncpy(info.szNumber, strDigits.c_str(), sizeof(info.szNumber) - 1);
  info.extensionId = nExt;
  return AsBytes(info);
}

inline Bytes Text(const std::string& str) { return Bytes(str.begin(), str.end()); }

class FakeDevSim : public ICtSvcDevSimMgr {
 public:
  struct File {
    int nRecordLen = 0;
    bool bTransparent = false;
    std::vector<Bytes> vcRecord;  // record structures; a transparent file's bytes in [0]
  };

  FakeDevSim() { _TestCtSvcSimSetDevSimMockup(this); }
  ~FakeDevSim() override { _TestCtSvcSimSetDevSimMockup(nullptr); }

  // A record file of nCount empty records (used 0) of the structure size.
  File& AddFile(int nFileID, int nRecordLen, int nCount, size_t nStructSize) {
    File& file = m_files[nFileID];
    file.nRecordLen = nRecordLen;
    file.vcRecord.assign(static_cast<size_t>(nCount), Bytes(nStructSize, 0));
    return file;
  }
  void SetRecord(int nFileID, int nRecordIndex, const Bytes& record) { m_files[nFileID].vcRecord.at(nRecordIndex) = record; }
  const Bytes& Record(int nFileID, int nRecordIndex) { return m_files[nFileID].vcRecord.at(nRecordIndex); }

  // Delivers queued answers (and those the listeners' next requests queue) until none is left.
  void Pump() {
    while (!m_pending.empty()) {
      std::function<void()> answer = std::move(m_pending.front());
      m_pending.pop_front();
      answer();
    }
  }
  // Delivers one queued answer; false when none.
  bool PumpOne() {
    if (m_pending.empty()) {
      return false;
    }
    std::function<void()> answer = std::move(m_pending.front());
    m_pending.pop_front();
    answer();
    return true;
  }

  int Reads(int nFileID) const { return Count(m_reads, nFileID); }
  const std::vector<int>& ReadOrder() const { return m_vcReadOrder; }

  int m_nCardType = CTSVC_SIM_CARD_TYPE_USIM;
  BOOL m_bLocal = 1;
  BOOL m_bCphs = 0;
  bool m_bSearchFails = false;
  bool m_bRefuseSends = false;
  bool m_bRefuseSearch = false;

  const UINT8* GetSstInfo() override { return nullptr; }
  const UINT8* GetUstInfo() override { return nullptr; }
  BOOL Open(ICtSvcDevSimInitListener*) override { return TRUE; }
  BOOL Close(ICtSvcDevSimInitListener*) override { return TRUE; }
  BOOL IsOpened() override { return TRUE; }
  BOOL IsLocalPhonebook() override { return m_bLocal; }
  int GetCardType() override { return m_nCardType; }
  BOOL IsCPHSSupported() override { return m_bCphs; }
  BOOL IsErrorReadPBR() override { return FALSE; }

  BOOL GetFileInfo(int nFileID, ICtSvcDevSimListener* pListener) override {
    return Queue([this, nFileID, pListener] {
      auto it = m_files.find(nFileID);
      if (it == m_files.end()) {
        pListener->OnGetFileInfo(nullptr, FALSE);
        return;
      }
      const File& file = it->second;
      CtSvcSimFileInfo info{};
      info.recordLen = file.nRecordLen;
      info.recordCnt = static_cast<int>(file.vcRecord.size());
      info.valid = info.recordLen > 0 && info.recordCnt > 0;
      info.availability = 1;
      info.recordStructured = file.bTransparent ? 0 : 1;
      pListener->OnGetFileInfo(&info, TRUE);
    });
  }
  BOOL SearchRecord(const SimSearchRecordReq* pReqData, ICtSvcDevSimListener* pListener) override {
    if (m_bRefuseSearch) {
      return FALSE;
    }
    const int nFileID = static_cast<int>(pReqData->fileID);
    return Queue([this, nFileID, pListener] {
      if (m_bSearchFails) {
        pListener->OnSearch(nullptr, FALSE);
        return;
      }
      SimSearchEventData data{};
      data.fileID = static_cast<UINT32>(nFileID);
      const std::vector<Bytes>& vcRecord = m_files[nFileID].vcRecord;
      for (size_t i = 0; i < vcRecord.size(); ++i) {
        if (FromBytes<UINT32>(vcRecord[i]) == 0) {
          data.pData[data.dataLen++] = static_cast<UINT8>(i + 1);
        }
      }
      pListener->OnSearch(&data, TRUE);
    });
  }
  BOOL ReadFile(const SimReadFileReq* pReqData, ICtSvcDevSimListener* pListener) override {
    const int nFileID = static_cast<int>(pReqData->fileID);
    const int nRecord = static_cast<int>(pReqData->recordNum);
    return Queue([this, nFileID, nRecord, pListener] {
      ++m_reads[nFileID];
      m_vcReadOrder.push_back(nRecord);
      const File& file = m_files[nFileID];
      const size_t nIndex = file.bTransparent ? 0 : static_cast<size_t>(nRecord - 1);
      if (nIndex >= file.vcRecord.size()) {
        pListener->OnRead(nullptr, FALSE);
        return;
      }
      const Bytes data = file.vcRecord[nIndex];
      pListener->OnRead(data.data(), TRUE);
    });
  }
  BOOL UpdateFile(const SimUpdateFileReq* pReqData, ICtSvcDevSimListener* pListener) override {
    const int nFileID = static_cast<int>(pReqData->fileID);
    File& file = m_files[nFileID];
    const size_t nIndex = file.bTransparent ? 0 : static_cast<size_t>(pReqData->recordNum - 1);
    if (nIndex >= file.vcRecord.size()) {
      return FALSE;
    }
    const size_t nSize = file.bTransparent ? pReqData->recordLen : file.vcRecord[nIndex].size();
    file.vcRecord[nIndex].assign(pReqData->data, pReqData->data + nSize);
    return Queue([pListener] { pListener->OnUpdated(TRUE); });
  }

 private:
  static int Count(const std::map<int, int>& counts, int nFileID) {
    auto it = counts.find(nFileID);
    return it != counts.end() ? it->second : 0;
  }
  BOOL Queue(std::function<void()> answer) {
    if (m_bRefuseSends || !m_pending.empty()) {
      return FALSE;
    }
    m_pending.push_back(std::move(answer));
    return TRUE;
  }

  std::map<int, File> m_files;
  std::deque<std::function<void()>> m_pending;
  std::map<int, int> m_reads;
  std::vector<int> m_vcReadOrder;
};

// Records what a file reports to its owner.
struct ResultListener : ICtSvcSimFileListener {
  void OnLoaded(int, BOOL bSuccess) override {
    ++nLoadedCalls;
    nLoaded = bSuccess;
  }
  void OnUpdated(int, BOOL bSuccess) override { nUpdated = bSuccess; }
  int nLoadedCalls = 0;
  int nLoaded = -1;
  int nUpdated = -1;
};

// Loads the file through the fake card; the result reported.
inline int Load(FakeDevSim& card, CCtSvcSimFile& file) {
  ResultListener listener;
  file.LoadFile(&listener);
  card.Pump();
  EXPECT_EQ(1, listener.nLoadedCalls);
  return listener.nLoaded;
}

}  // namespace ctsvc_sim_test

#endif
