// Mass-sync text buffer over the platform allocator.
#include "CtSvcDbCi/CtSvcDbMassSyncText.h"

#include <cstring>

#include "ZelAc.h"

CCtSvcMassSyncText::~CCtSvcMassSyncText() { AcMemFree(m_pText); }

bool CCtSvcMassSyncText::Allocate() {
  if (m_nStep == 0 || m_nStep == static_cast<size_t>(-1)) {
    return false;
  }
  m_pText = static_cast<char*>(AcMemAlloc(m_nStep + 1));
  m_nCapacity = m_pText != nullptr ? m_nStep : 0;
  return m_pText != nullptr;
}

bool CCtSvcMassSyncText::Append(const std::string& strText) {
  if (m_pText == nullptr) {
    return false;
  }
  size_t nCapacity = m_nCapacity;
  while (nCapacity - m_nLength < strText.size()) {
    if (nCapacity > static_cast<size_t>(-1) - 1 - m_nStep) {
      return false;
    }
    nCapacity += m_nStep;
  }
  if (nCapacity != m_nCapacity) {
    char* pBigger = static_cast<char*>(AcMemAlloc(nCapacity + 1));  // zero-filled
    if (pBigger == nullptr) {
      return false;
    }
    std::memcpy(pBigger, m_pText, m_nLength);
    AcMemFree(m_pText);
    m_pText = pBigger;
    m_nCapacity = nCapacity;
  }
  std::memcpy(m_pText + m_nLength, strText.data(), strText.size());
  m_nLength += strText.size();
  m_pText[m_nLength] = '\0';
  return true;
}

void CCtSvcMassSyncText::Clear() {
  m_nLength = 0;
  if (m_pText != nullptr) {
    m_pText[0] = '\0';
  }
}
