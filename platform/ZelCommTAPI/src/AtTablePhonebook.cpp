// A phonebook in tables for the AT command line's tests and fuzzing.
#include <algorithm>

#include "ZelAtTest.h"

namespace zel::test {

using zel::at::AtEntry;

void CAtTablePhonebook::Add(int nDevice, const std::string& strNumber, const std::string& strText) {
  std::vector<AtEntry>& table = m_tables[nDevice];
  table.push_back(AtEntry{static_cast<int>(table.size()) + 1, strNumber, strText});
}

void CAtTablePhonebook::AddOwnNumber(const std::string& strNumber, const std::string& strText) {
  m_vcOwn.push_back(AtEntry{static_cast<int>(m_vcOwn.size()) + 1, strNumber, strText});
}

int CAtTablePhonebook::QueryStatus(int nDevice, TapiAtPbStatus* pStatus) {
  m_vcRequests.push_back("status " + std::to_string(nDevice));
  const int nRows = std::min(static_cast<int>(m_tables[nDevice].size()), TAPI_AT_PB_INDEX_MAX);
  *pStatus = TapiAtPbStatus{nDevice, nRows, nRows, 50};
  if (m_nFailure != TAPI_AT_PB_SUCCESS) {
    return m_nFailure;
  }
  return _Served(nDevice) ? TAPI_AT_PB_SUCCESS : TAPI_AT_PB_ERROR_DEVICE;
}

int CAtTablePhonebook::Read(int nDevice, int nFrom, int nTo, std::vector<int>* pIndexes) {
  m_vcRequests.push_back("read " + std::to_string(nDevice) + " " + std::to_string(nFrom) + "-" + std::to_string(nTo));
  pIndexes->clear();
  if (m_nFailure != TAPI_AT_PB_SUCCESS || !_Served(nDevice)) {
    return m_nFailure != TAPI_AT_PB_SUCCESS ? m_nFailure : TAPI_AT_PB_ERROR_DEVICE;
  }
  const int nRows = static_cast<int>(m_tables[nDevice].size());
  for (int i = std::max(nFrom, 1); i <= std::min({nTo, nRows, TAPI_AT_PB_INDEX_MAX}); ++i) {
    pIndexes->push_back(i);
  }
  return TAPI_AT_PB_SUCCESS;
}

int CAtTablePhonebook::Records(int nDevice, const std::vector<int>& vcIndexes, std::vector<AtEntry>* pEntries) {
  m_vcRequests.push_back("records " + std::to_string(nDevice) + " " + std::to_string(vcIndexes.size()));
  pEntries->clear();
  if (m_nFailure != TAPI_AT_PB_SUCCESS) {
    return m_nFailure;
  }
  const std::vector<AtEntry>& table = m_tables[nDevice];
  for (int nIndex : vcIndexes) {
    if (nIndex < 1 || nIndex > static_cast<int>(table.size())) {
      return nDevice == TAPI_AT_PB_DEVICE_SIM ? TAPI_AT_PB_ERROR_DEVICE : TAPI_AT_PB_ERROR_INVALID_PHONE_INDEX;
    }
    pEntries->push_back(table[static_cast<size_t>(nIndex - 1)]);
  }
  return TAPI_AT_PB_SUCCESS;
}

int CAtTablePhonebook::Find(int nDevice, const std::string& strText, std::vector<AtEntry>* pEntries) {
  m_vcRequests.push_back("find " + std::to_string(nDevice) + " " + strText);
  pEntries->clear();
  return m_nFailure;
}

int CAtTablePhonebook::Write(const TapiAtPbWriteReq& request) {
  m_vcRequests.push_back("write " + std::to_string(request.nDevice) + " " + std::to_string(request.nIndex));
  return m_nFailure != TAPI_AT_PB_SUCCESS ? m_nFailure : TAPI_AT_PB_ERROR_DEVICE;
}

int CAtTablePhonebook::OwnNumbers(std::vector<AtEntry>* pEntries) {
  m_vcRequests.push_back("own");
  *pEntries = m_vcOwn;
  if (m_nFailure != TAPI_AT_PB_SUCCESS) {
    return m_nFailure;
  }
  return m_vcOwn.empty() ? TAPI_AT_PB_ERROR_NOT_FOUND : TAPI_AT_PB_SUCCESS;
}

}  // namespace zel::test
