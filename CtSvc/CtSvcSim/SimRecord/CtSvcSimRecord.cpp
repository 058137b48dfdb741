#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"

#include <cstring>

#include "ZelDebug.h"

namespace {

template <size_t N>
void CopyCut(char (&szDest)[N], const std::string& strValue) {
  const size_t nLen = strValue.size() < N - 1 ? strValue.size() : N - 1;
  std::memcpy(szDest, strValue.data(), nLen);
  szDest[nLen] = '\0';
}

template <size_t N>
std::string FromArray(const char (&szSource)[N]) {
  return std::string(szSource, strnlen(szSource, N));
}

bool IsNonEmpty(const char* psz) { return psz != nullptr && psz[0] != '\0'; }

}  // namespace

void CCtSvcSimRecord::Clear() {
  m_nRecordIndex = -1;
  m_strName.clear();
}

void CCtSvcSimXdnRecord::Clear() {
  CCtSvcSimRecord::Clear();
  m_strPhoneNumber.clear();
}

void CCtSvcSimXdnRecord::ToStruct(CtSvcSimXdnRecord* pRecord) const {
  ZEL_REQUIRE_RET(pRecord, );
  CopyCut(pRecord->szName, GetName());
  CopyCut(pRecord->szPhoneNumber, m_strPhoneNumber);
}

void CCtSvcSimXdnRecord::FromStruct(const CtSvcSimXdnRecord& record) {
  SetName(FromArray(record.szName));
  m_strPhoneNumber = FromArray(record.szPhoneNumber);
}

void CCtSvcSimAdnRecord::Clear() {
  CCtSvcSimXdnRecord::Clear();
  m_nPbc = 0;
  m_nUid = 0;
  m_strSecondName.clear();
  m_vcstrAdditionalPhoneNumber.clear();
  m_vcstrEmailAddress.clear();
  m_vcuGroupIndex.clear();
}

bool CCtSvcSimAdnRecord::_IsAnrIndex(int nIndex) const {
  return ZEL_REQUIRE(nIndex >= 0 && nIndex < (int)m_vcstrAdditionalPhoneNumber.size());
}

bool CCtSvcSimAdnRecord::_IsEmailIndex(int nIndex) const {
  return ZEL_REQUIRE(nIndex >= 0 && nIndex < (int)m_vcstrEmailAddress.size());
}

bool CCtSvcSimAdnRecord::_IsGroupIndex(int nIndex) const {
  return ZEL_REQUIRE(nIndex >= 0 && nIndex < (int)m_vcuGroupIndex.size());
}

bool CCtSvcSimAdnRecord::AddAdditionalPhoneNumber(UINT8 nAasIndex, const char* pszPhoneNumber) {
  if (!ZEL_REQUIRE_TEXT(IsNonEmpty(pszPhoneNumber), "pszPhoneNumber && AcStrcmp(pszPhoneNumber, NULLSTR)")) {
    return false;
  }
  m_vcstrAdditionalPhoneNumber.emplace_back(nAasIndex, pszPhoneNumber);
  return true;
}

bool CCtSvcSimAdnRecord::SetAdditionalPhoneNumber(int nIndex, UINT8 nAasIndex, const char* pszPhoneNumber) {
  if (!_IsAnrIndex(nIndex) ||
      !ZEL_REQUIRE_TEXT(IsNonEmpty(pszPhoneNumber), "pszPhoneNumber && AcStrcmp(pszPhoneNumber, NULLSTR)")) {
    return false;
  }
  m_vcstrAdditionalPhoneNumber[nIndex] = {nAasIndex, pszPhoneNumber};
  return true;
}

const char* CCtSvcSimAdnRecord::GetAdditionalPhoneNumber(int nIndex, UINT8* pnAasIndex) const {
  if (!_IsAnrIndex(nIndex)) {
    return nullptr;
  }
  if (pnAasIndex != nullptr) {
    *pnAasIndex = m_vcstrAdditionalPhoneNumber[nIndex].first;
  }
  return m_vcstrAdditionalPhoneNumber[nIndex].second.c_str();
}

bool CCtSvcSimAdnRecord::RemoveAdditionalPhoneNumber(int nIndex) {
  if (!_IsAnrIndex(nIndex)) {
    return false;
  }
  m_vcstrAdditionalPhoneNumber.erase(m_vcstrAdditionalPhoneNumber.begin() + nIndex);
  return true;
}

bool CCtSvcSimAdnRecord::AddEmailAddress(const char* pszEmailAddress) {
  if (!ZEL_REQUIRE_TEXT(IsNonEmpty(pszEmailAddress), "pszEmailAddress && AcStrcmp(pszEmailAddress, NULLSTR)")) {
    return false;
  }
  m_vcstrEmailAddress.emplace_back(pszEmailAddress);
  return true;
}

bool CCtSvcSimAdnRecord::SetEmailAddress(int nIndex, const char* pszEmailAddress) {
  if (!_IsEmailIndex(nIndex) ||
      !ZEL_REQUIRE_TEXT(IsNonEmpty(pszEmailAddress), "pszEmailAddress && AcStrcmp(pszEmailAddress, NULLSTR)")) {
    return false;
  }
  m_vcstrEmailAddress[nIndex] = pszEmailAddress;
  return true;
}

const char* CCtSvcSimAdnRecord::GetEmailAddress(int nIndex) const {
  return _IsEmailIndex(nIndex) ? m_vcstrEmailAddress[nIndex].c_str() : nullptr;
}

bool CCtSvcSimAdnRecord::RemoveEmailAddress(int nIndex) {
  if (!_IsEmailIndex(nIndex)) {
    return false;
  }
  m_vcstrEmailAddress.erase(m_vcstrEmailAddress.begin() + nIndex);
  return true;
}

bool CCtSvcSimAdnRecord::AddGroupIndex(UINT8 nGroupIndex) {
  m_vcuGroupIndex.push_back(nGroupIndex);
  return true;
}

bool CCtSvcSimAdnRecord::SetGroupIndex(int nIndex, UINT8 nGroupIndex) {
  if (!_IsGroupIndex(nIndex)) {
    return false;
  }
  m_vcuGroupIndex[nIndex] = nGroupIndex;
  return true;
}

int CCtSvcSimAdnRecord::GetGroupIndex(int nIndex) const { return _IsGroupIndex(nIndex) ? m_vcuGroupIndex[nIndex] : -1; }

bool CCtSvcSimAdnRecord::RemoveGroupIndex(int nIndex) {
  if (!_IsGroupIndex(nIndex)) {
    return false;
  }
  m_vcuGroupIndex.erase(m_vcuGroupIndex.begin() + nIndex);
  return true;
}

void CCtSvcSimAdnRecord::ToStruct(CtSvcSimAdnRecord* pRecord) const {
  ZEL_REQUIRE_RET(pRecord, );
  std::memset(pRecord, 0, sizeof(*pRecord));
  CopyCut(pRecord->szName, GetName());
  CopyCut(pRecord->szPhoneNumber, GetPhoneNumber());
  for (size_t i = 0; i < m_vcstrAdditionalPhoneNumber.size() && i < CTSVC_SIM_ADDITIONAL_NUMBER_MAX; ++i) {
    CopyCut(pRecord->stAdditionalNumber[i].szPhoneNumber, m_vcstrAdditionalPhoneNumber[i].second);
    pRecord->stAdditionalNumber[i].nAasIndex = m_vcstrAdditionalPhoneNumber[i].first;
  }
  for (size_t i = 0; i < m_vcstrEmailAddress.size() && i < CTSVC_SIM_EMAIL_MAX; ++i) {
    CopyCut(pRecord->szEmail[i], m_vcstrEmailAddress[i]);
  }
  CopyCut(pRecord->szSecondName, m_strSecondName);
  for (UINT8 nGroup : m_vcuGroupIndex) {
    if (nGroup < CTSVC_SIM_GROUP_FLAG_MAX) {
      pRecord->bGroup[nGroup] = 1;
    }
  }
}

void CCtSvcSimAdnRecord::FromStruct(const CtSvcSimAdnRecord& record) {
  Clear();
  SetName(FromArray(record.szName));
  SetPhoneNumber(FromArray(record.szPhoneNumber));
  for (const CtSvcSimAdditionalNumber& anr : record.stAdditionalNumber) {
    if (anr.szPhoneNumber[0] != '\0') {
      AddAdditionalPhoneNumber(static_cast<UINT8>(anr.nAasIndex), FromArray(anr.szPhoneNumber).c_str());
    }
  }
  for (const auto& szEmail : record.szEmail) {
    if (szEmail[0] != '\0') {
      AddEmailAddress(FromArray(szEmail).c_str());
    }
  }
  m_strSecondName = FromArray(record.szSecondName);
  for (UINT8 i = 0; i < CTSVC_SIM_GROUP_FLAG_MAX; ++i) {
    if (record.bGroup[i] != 0) {
      m_vcuGroupIndex.push_back(i);
    }
  }
}
