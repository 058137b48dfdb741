// Test API of the AT command line: a phonebook kept in tables, answering as the phone's does
// (entries numbered 1... per device, counts capped at TAPI_AT_PB_INDEX_MAX, writes refused with
// TAPI_AT_PB_ERROR_DEVICE, finds answering nothing). Production code never includes this header.
#ifndef ZEL_AT_TEST_H
#define ZEL_AT_TEST_H

#include <map>
#include <string>
#include <vector>

#include "ZelAtCommand.h"

namespace zel::test {

class CAtTablePhonebook : public zel::at::IAtPhonebook {
 public:
  // Appends an entry (number, UTF-8 name) to the device's table.
  void Add(int nDevice, const std::string& strNumber, const std::string& strText);
  void AddOwnNumber(const std::string& strNumber, const std::string& strText);
  // Every request after this answers nError (kAtNoAnswer: as if no client answered).
  void FailWith(int nError) { m_nFailure = nError; }
  // Requests seen, as "status 1", "read 1 1-5", "records 1 3", "find 1 text", "write 1 2", "own".
  const std::vector<std::string>& Requests() const { return m_vcRequests; }

  int QueryStatus(int nDevice, TapiAtPbStatus* pStatus) override;
  int Read(int nDevice, int nFrom, int nTo, std::vector<int>* pIndexes) override;
  int Records(int nDevice, const std::vector<int>& vcIndexes, std::vector<zel::at::AtEntry>* pEntries) override;
  int Find(int nDevice, const std::string& strText, std::vector<zel::at::AtEntry>* pEntries) override;
  int Write(const TapiAtPbWriteReq& request) override;
  int OwnNumbers(std::vector<zel::at::AtEntry>* pEntries) override;

 private:
  bool _Served(int nDevice) const { return nDevice == TAPI_AT_PB_DEVICE_PHONE || nDevice == TAPI_AT_PB_DEVICE_SIM; }
  std::map<int, std::vector<zel::at::AtEntry>> m_tables;
  std::vector<zel::at::AtEntry> m_vcOwn;
  std::vector<std::string> m_vcRequests;
  int m_nFailure = TAPI_AT_PB_SUCCESS;
};

}  // namespace zel::test

#endif
