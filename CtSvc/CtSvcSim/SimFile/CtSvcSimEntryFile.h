// The entry vector every record-structured SIM file keeps: one heap entry per used record, null
// for an empty one. TEntry is a plain structure whose default value is the empty entry and which
// writes its fingerprint image with Image(UINT8*) (TEntry::kImageSize bytes).
#ifndef CTSVC_SIM_ENTRY_FILE_H
#define CTSVC_SIM_ENTRY_FILE_H

#include <openssl/sha.h>


#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "CtSvcSim/SimFile/CtSvcSimCodec.h"
#include "CtSvcSim/SimFile/CtSvcSimFile.h"
#include "ZelDebug.h"

// 1-based record number of a 0-based link, 0xFF staying "none"; and the reverse.
inline UINT8 CtSvcSimLinkToNumber(UINT8 nIndex) { return nIndex == CTSVC_SIM_LINK_NONE ? nIndex : static_cast<UINT8>(nIndex + 1); }
inline UINT8 CtSvcSimNumberToLink(UINT8 nNumber) {
  return nNumber == 0 || nNumber == CTSVC_SIM_LINK_NONE ? CTSVC_SIM_LINK_NONE : static_cast<UINT8>(nNumber - 1);
}

template <class TEntry>
class CCtSvcSimEntryFile : public CCtSvcSimFile {
 public:
  // pszVectorName names the entry vector in assertion texts ("m_vcpAdnRecord").
  CCtSvcSimEntryFile(int nSimFileID, int nPbrIndex, const char* pszClassName, const char* pszVectorName)
      : CCtSvcSimFile(nSimFileID, nPbrIndex, pszClassName),
        m_strRangeCheck(std::string("nRecordIndex >= 0 && nRecordIndex < (int)") + pszVectorName + ".size()"),
        m_strUsedCheck(std::string(pszVectorName) + "[nRecordIndex]") {}

  int GetMaxRecordCount() const override { return static_cast<int>(m_vcpRecord.size()); }
  BOOL IsUsed(int nRecordIndex) const override {
    return nRecordIndex >= 0 && nRecordIndex < GetMaxRecordCount() && m_vcpRecord[nRecordIndex] != nullptr;
  }
  BOOL PrepareInsertRecord(int nRecordIndex) override {
    if (!_IsInRange(nRecordIndex)) {
      return FALSE;
    }
    if (m_vcpRecord[nRecordIndex] == nullptr) {
      m_vcpRecord[nRecordIndex].reset(new (std::nothrow) TEntry());
      if (m_vcpRecord[nRecordIndex] == nullptr) {
        DbgPrint(DBG_CLASS_FAIL, "%s::PrepareInsertRecord is FAILED(%d)\n", GetClassName(), nRecordIndex);
        return FALSE;
      }
      return TRUE;
    }
    *m_vcpRecord[nRecordIndex] = TEntry();
    return TRUE;
  }
  BOOL FreeRecord(int nRecordIndex) override {
    if (!_IsInRange(nRecordIndex)) {
      return FALSE;
    }
    m_vcpRecord[nRecordIndex].reset();
    return TRUE;
  }
  // Releases every entry whose index is not in the list; out-of-range values are ignored.
  void RemoveUnusedRecord(const std::vector<int>& vcUsedIndex) {
    if (vcUsedIndex.empty() || m_vcpRecord.empty()) {
      DbgPrint(DBG_CLASS_TRACE, "%s::RemoveUnusedRecord nListSize is (%d)\n", GetClassName(),
               static_cast<int>(vcUsedIndex.size()));
      return;
    }
    std::vector<bool> vcKeep(m_vcpRecord.size(), false);
    for (int nIndex : vcUsedIndex) {
      if (nIndex < 0 || nIndex >= GetMaxRecordCount()) {
        DbgPrint(DBG_CLASS_TRACE, "%s::RemoveUnusedRecord (int)(*iter)  is (%d)\n", GetClassName(), nIndex);
        continue;
      }
      vcKeep[nIndex] = true;
    }
    for (size_t i = 0; i < m_vcpRecord.size(); ++i) {
      if (!vcKeep[i] && m_vcpRecord[i] != nullptr) {
        DbgPrint(DBG_CLASS_TRACE, "%s::RemoveUnusedRecord FreeRecordList(%d)\n", GetClassName(), static_cast<int>(i));
        m_vcpRecord[i].reset();
      }
    }
  }

 protected:
  BOOL _PrepareLoad() override {
    _ClearRecords();
    m_vcpRecord.resize(static_cast<size_t>(GetFileInfo().recordCnt));
    return TRUE;
  }
  void _ClearRecords() override { m_vcpRecord.clear(); }
  BOOL _GetRangeSHA1(int nStartIndex, int nCount, UINT8* pHashValue) override {
    if (!ZEL_REQUIRE(pHashValue) || nStartIndex < 0 || nCount < 0 || nStartIndex + nCount > GetMaxRecordCount()) {
      return FALSE;
    }
    std::vector<UINT8> vcImage(static_cast<size_t>(nCount) * TEntry::kImageSize, 0);
    for (int i = 0; i < nCount; ++i) {
      if (const TEntry* pEntry = m_vcpRecord[nStartIndex + i].get()) {
        pEntry->Image(&vcImage[static_cast<size_t>(i) * TEntry::kImageSize]);
      }
    }
    SHA1(vcImage.data(), vcImage.size(), pHashValue);
    return TRUE;
  }

  bool _IsInRange(int nRecordIndex) const {
    return ZEL_REQUIRE_TEXT(nRecordIndex >= 0 && nRecordIndex < GetMaxRecordCount(), m_strRangeCheck.c_str());
  }
  // The used entry of the slot, or null (with an assertion report) for a bad or empty slot.
  TEntry* _Entry(int nRecordIndex) const {
    if (!_IsInRange(nRecordIndex) || !ZEL_REQUIRE_TEXT(m_vcpRecord[nRecordIndex] != nullptr, m_strUsedCheck.c_str())) {
      return nullptr;
    }
    return m_vcpRecord[nRecordIndex].get();
  }
  // The entry of a slot about to be filled from a read (allocated and reset).
  TEntry* _NewEntry(int nRecordIndex) { return PrepareInsertRecord(nRecordIndex) ? m_vcpRecord[nRecordIndex].get() : nullptr; }
  // The slot's entry without checks (null when empty or out of range).
  const TEntry* _Peek(int nRecordIndex) const { return IsUsed(nRecordIndex) ? m_vcpRecord[nRecordIndex].get() : nullptr; }

  // One field of a used entry; a bad or empty slot is reported and answers nBad (or FALSE).
  template <class TField>
  int _GetField(int nRecordIndex, TField TEntry::*pField, int nBad = -1) const {
    const TEntry* pEntry = _Entry(nRecordIndex);
    return pEntry != nullptr ? static_cast<int>(pEntry->*pField) : nBad;
  }
  template <class TField, class TValue>
  BOOL _SetField(int nRecordIndex, TField TEntry::*pField, TValue value) {
    TEntry* pEntry = _Entry(nRecordIndex);
    if (pEntry == nullptr) {
      return FALSE;
    }
    pEntry->*pField = static_cast<TField>(value);
    return TRUE;
  }
  // A text field copied out (at most nSize - 1 bytes) or in (cut to the field), terminated.
  template <size_t N>
  BOOL _GetText(int nRecordIndex, char (TEntry::*pField)[N], char* pszText, int nSize) const {
    const TEntry* pEntry = _Entry(nRecordIndex);
    if (pEntry == nullptr || !ZEL_REQUIRE(pszText) || nSize < 1) {
      return FALSE;
    }
    CtSvcSimCopyText(pszText, static_cast<size_t>(nSize), pEntry->*pField, N);
    return TRUE;
  }
  template <size_t N>
  BOOL _SetText(int nRecordIndex, char (TEntry::*pField)[N], const char* pszText) {
    TEntry* pEntry = _Entry(nRecordIndex);
    if (pEntry == nullptr || !ZEL_REQUIRE(pszText)) {
      return FALSE;
    }
    CtSvcSimCopyText(pEntry->*pField, N, pszText);
    return TRUE;
  }

  // Decodes a read record into a fresh entry of the slot with fill(entry); an empty record
  // (bEmpty) logs the line (a format taking the index) and leaves the slot empty.
  template <class TFill>
  BOOL _SaveOnRead(int nRecordIndex, bool bEmpty, const char* pszEmptyLog, TFill fill) {
    if (bEmpty) {
      DbgPrint(DBG_CLASS_TRACE, pszEmptyLog, nRecordIndex);
      return FALSE;
    }
    TEntry* pEntry = _NewEntry(nRecordIndex);
    if (pEntry == nullptr) {
      return FALSE;
    }
    fill(*pEntry);
    return TRUE;
  }

  // An update request for the slot carrying the record structure: as given for an erase, else
  // marked used and filled from the entry with fill(entry, data).
  template <class TData, class TFill>
  BOOL _PrepareUpdate(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData, TData data, TFill fill) {
    if (!ZEL_REQUIRE(pReqData)) {
      return FALSE;
    }
    _PrepareUpdateHeader(nRecordIndex, pReqData);
    if (!bDelete) {
      const TEntry* pEntry = _Entry(nRecordIndex);
      if (pEntry == nullptr) {
        return FALSE;
      }
      data.used = 1;
      fill(*pEntry, data);
    }
    static_assert(sizeof(TData) <= sizeof(pReqData->data), "record structure fits the request");
    std::memcpy(pReqData->data, &data, sizeof(data));
    return TRUE;
  }

 private:
  std::vector<std::unique_ptr<TEntry>> m_vcpRecord;
  std::string m_strRangeCheck;
  std::string m_strUsedCheck;
};

#endif
