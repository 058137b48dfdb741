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
  return _GetText(nRecordIndex, &__CtSvcSimTextRecord::text, pszText, nSize);
}

BOOL CCtSvcSimTextFile::SetText(int nRecordIndex, const char* pszText) {
  return _SetText(nRecordIndex, &__CtSvcSimTextRecord::text, pszText);
}

const char* CCtSvcSimTextFile::PeekText(int nRecordIndex) const {
  const __CtSvcSimTextRecord* pEntry = _Peek(nRecordIndex);
  return pEntry != nullptr ? pEntry->text : nullptr;
}

int CCtSvcSimTextFile::GetAdnRecordIndex(int nRecordIndex) const {
  return _GetField(nRecordIndex, &__CtSvcSimTextRecord::adnRecordIndex);
}

BOOL CCtSvcSimTextFile::SetAdnLink(int nRecordIndex, UINT8 nAdnSfi, UINT8 nAdnRecordIndex) {
  return _SetField(nRecordIndex, &__CtSvcSimTextRecord::adnSfi, nAdnSfi) &&
         _SetField(nRecordIndex, &__CtSvcSimTextRecord::adnRecordIndex, nAdnRecordIndex);
}

BOOL CCtSvcSimTextFile::_SaveRecordOnRead(int nRecordIndex, const void* pRecordData) {
  // EMAIL and SNE records carry their ADN link after the text; GAS and AAS records the text only.
  const auto* pLinked = static_cast<const SimTextInfo*>(pRecordData);
  const auto* pPlain = static_cast<const SimAlphaInfo*>(pRecordData);
  const bool bUsed = (m_bLinked ? pLinked->used : pPlain->used) != 0;
  const int nLen = m_bLinked ? pLinked->textLen : pPlain->textLen;
  const UINT8* pText = m_bLinked ? pLinked->text : pPlain->text;
  return _SaveOnRead(nRecordIndex, !bUsed || nLen == 0, m_pszEmptyLog, [&](__CtSvcSimTextRecord& entry) {
    CtSvcSimDecodeAlpha(pText, nLen, TextCapacity(GetRecordLength()), CtSvcSimAlphaRule::Full, kTextUnits, entry.text,
                        sizeof(entry.text));
    if (m_bLinked) {
      entry.adnSfi = pLinked->adnSfi;
      entry.adnRecordIndex = static_cast<UINT8>(pLinked->adnRecordNum - 1);
    }
  });
}

BOOL CCtSvcSimTextFile::_PrepareUpdateFileReqData(int nRecordIndex, BOOL bDelete, SimUpdateFileReq* pReqData) {
  const int nCapacity = TextCapacity(GetRecordLength());
  if (!m_bLinked) {
    return _PrepareUpdate(nRecordIndex, bDelete, pReqData, SimAlphaInfo{},
                          [nCapacity](const __CtSvcSimTextRecord& entry, SimAlphaInfo& data) {
                            data.textLen = static_cast<UINT8>(CtSvcSimEncodeAlpha(entry.text, data.text, nCapacity));
                          });
  }
  SimTextInfo erased{};
  erased.fileID = static_cast<UINT16>(GetTelephonyFileID());
  return _PrepareUpdate(nRecordIndex, bDelete, pReqData, erased,
                        [nCapacity](const __CtSvcSimTextRecord& entry, SimTextInfo& data) {
                          data.textLen = static_cast<UINT8>(CtSvcSimEncodeAlpha(entry.text, data.text, nCapacity));
                          data.adnSfi = entry.adnSfi;
                          data.adnRecordNum = static_cast<UINT8>(entry.adnRecordIndex + 1);
                        });
}
