#include "CtSvcSim/SimFile/CtSvcSimTextFile.h"

#include "CtSvcSim/SimFile/CtSvcSimCodec.h"

namespace {

constexpr int kTextUnits = 257;

// Capacity of the text field: the whole record length, within what the structure carries.
int TextCapacity(int nRecordLen) { return nRecordLen < SIM_TEXT_MAX ? nRecordLen : SIM_TEXT_MAX; }

}  // namespace

void __CtSvcSimTextRecord::Image(UINT8* pImage) const {
  std::memcpy(pImage, text, sizeof(text));
  pImage[769] = adnSfi;
  pImage[770] = adnRecordIndex;
  pImage[771] = 0;
}

CCtSvcSimTextFile::CCtSvcSimTextFile(int nSimFileID, int nPbrIndex, int nNth, const char* pszClassName,
                                     const char* pszVectorName, bool bLinked, const char* pszEmptyLog)
    : CCtSvcSimEntryFile(nSimFileID, nPbrIndex, pszClassName, pszVectorName), m_bLinked(bLinked), m_pszEmptyLog(pszEmptyLog) {
  _SetTelephonyFileID(CtSvcSimUsimFileID(nSimFileID, nPbrIndex, nNth));
}

CCtSvcEmailFile::CCtSvcEmailFile(int nPbrIndex, int nNth)
    : CCtSvcSimTextFile(CTSVC_SIM_EMAIL, nPbrIndex, nNth, "CCtSvcEmailFile", "m_vcpEmailRecord", true,
                        "CCtSvcEmailFile::_SaveRecordOnRead - there is no email address - Not Used(%d)\n"),
      m_nNth(nNth) {}
CCtSvcSneFile::CCtSvcSneFile(int nPbrIndex)
    : CCtSvcSimTextFile(CTSVC_SIM_SNE, nPbrIndex, 0, "CCtSvcSneFile", "m_vcpSneRecord", true,
                        "CCtSvcSneFile::_SaveRecordOnRead - there is no name - Not Used(%d)\n") {}
CCtSvcGasFile::CCtSvcGasFile()
    : CCtSvcSimTextFile(CTSVC_SIM_GAS, 0, 0, "CCtSvcGasFile", "m_vcpGasRecord", false,
                        "CCtSvcGasFile::_SaveRecordOnRead - there is no name- Not Used(%d)\n") {}
CCtSvcAasFile::CCtSvcAasFile()
    : CCtSvcSimTextFile(CTSVC_SIM_AAS, 0, 0, "CCtSvcAasFile", "m_vcpAasRecord", false,
                        "CCtSvcAasFile::_SaveRecordOnRead - there is no alpha string - Not Used(%d)\n") {}

BOOL CCtSvcSimTextFile::GetText(int nRecordIndex, char* pszText, int nSize) const {
  const __CtSvcSimTextRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszText) || nSize < 1) {
    return FALSE;
  }
  CtSvcSimCopyText(pszText, static_cast<size_t>(nSize), pEntry->text);
  return TRUE;
}

BOOL CCtSvcSimTextFile::SetText(int nRecordIndex, const char* pszText) {
  __CtSvcSimTextRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr || !ZEL_REQUIRE(pszText)) {
    return FALSE;
  }
  CtSvcSimCopyText(pEntry->text, sizeof(pEntry->text), pszText);
  return TRUE;
}

const char* CCtSvcSimTextFile::PeekText(int nRecordIndex) const {
  const __CtSvcSimTextRecord* pEntry = _Peek(nRecordIndex);
  return pEntry != nullptr ? pEntry->text : nullptr;
}

int CCtSvcSimTextFile::GetAdnRecordIndex(int nRecordIndex) const {
  const __CtSvcSimTextRecord* pEntry = _Entry(nRecordIndex);
  return pEntry != nullptr ? pEntry->adnRecordIndex : -1;
}

BOOL CCtSvcSimTextFile::SetAdnLink(int nRecordIndex, UINT8 nAdnSfi, UINT8 nAdnRecordIndex) {
  __CtSvcSimTextRecord* pEntry = _Entry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  pEntry->adnSfi = nAdnSfi;
  pEntry->adnRecordIndex = nAdnRecordIndex;
  return TRUE;
}

BOOL CCtSvcSimTextFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  UINT32 nUsed;
  int nLen;
  const UINT8* pText;
  if (m_bLinked) {
    const auto* pData = static_cast<const SimTextInfo*>(pRecordData);
    nUsed = pData->used;
    nLen = pData->textLen;
    pText = pData->text;
  } else {
    const auto* pData = static_cast<const SimAlphaInfo*>(pRecordData);
    nUsed = pData->used;
    nLen = pData->textLen;
    pText = pData->text;
  }
  if (nUsed == 0 || nLen == 0) {
    DbgPrint(DBG_CLASS_TRACE, m_pszEmptyLog, nRecordIndex);
    return FALSE;
  }
  __CtSvcSimTextRecord* pEntry = _NewEntry(nRecordIndex);
  if (pEntry == nullptr) {
    return FALSE;
  }
  CtSvcSimDecodeAlpha(pText, nLen, TextCapacity(GetRecordLength()), CtSvcSimAlphaRule::Full, kTextUnits, pEntry->text,
                      sizeof(pEntry->text));
  if (m_bLinked) {
    const auto* pData = static_cast<const SimTextInfo*>(pRecordData);
    pEntry->adnSfi = pData->adnSfi;
    pEntry->adnRecordIndex = static_cast<UINT8>(pData->adnRecordNum - 1);
  }
  return TRUE;
}

BOOL CCtSvcSimTextFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  if (!ZEL_REQUIRE(pReqData)) {
    return FALSE;
  }
  _PrepareUpdateHeader(nRecordIndex, pReqData);
  const __CtSvcSimTextRecord* pEntry = bDelete ? nullptr : _Entry(nRecordIndex);
  if (!bDelete && pEntry == nullptr) {
    return FALSE;
  }
  const int nCapacity = TextCapacity(GetRecordLength());
  if (m_bLinked) {
    SimTextInfo data{};
    data.fileID = static_cast<UINT16>(GetTelephonyFileID());
    if (pEntry != nullptr) {
      data.used = 1;
      data.textLen = static_cast<UINT8>(CtSvcSimEncodeAlpha(pEntry->text, data.text, nCapacity));
      data.adnSfi = pEntry->adnSfi;
      data.adnRecordNum = static_cast<UINT8>(pEntry->adnRecordIndex + 1);
    }
    std::memcpy(pReqData->data, &data, sizeof(data));
  } else {
    SimAlphaInfo data{};
    if (pEntry != nullptr) {
      data.used = 1;
      data.textLen = static_cast<UINT8>(CtSvcSimEncodeAlpha(pEntry->text, data.text, nCapacity));
    }
    std::memcpy(pReqData->data, &data, sizeof(data));
  }
  return TRUE;
}
