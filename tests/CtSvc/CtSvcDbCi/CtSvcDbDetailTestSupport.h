// Shared fixture of the detail-table tests: the loaded service, stored persons, row counts by a
// WHERE text, and an observer that records the change notices of a URI.
#ifndef CTSVC_DB_DETAIL_TEST_SUPPORT_H
#define CTSVC_DB_DETAIL_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDbDetail.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"

namespace ctsvc_detail_test {

template <size_t N>
void Copy(char (&szDest)[N], const std::string& strValue) {
  std::strncpy(szDest, strValue.c_str(), N - 1);
  szDest[N - 1] = '\0';
}

// (change type, id) of every notice of one URI while it lives. Notices come on the thread that
// made the change, which in these tests is the test's own.
class NoticeRecorder : public IContentObserver {
 public:
  explicit NoticeRecorder(const std::string& strUri) : m_strUri(strUri) { CContentMgr::Instance()->RegisterObserver(m_strUri, this); }
  ~NoticeRecorder() override { CContentMgr::Instance()->UnregisterObserver(m_strUri, this); }
  void OnChange(int nChangeType, const std::string&, int nId, intptr_t, int) override { m_vcNotices.emplace_back(nChangeType, nId); }
  std::vector<std::pair<int, int>> m_vcNotices;

 private:
  std::string m_strUri;
};

class DetailTest : public ctsvc_test::ServiceTest {
 protected:
  // Stores a person (with the given id, or the next one for -1); its handle.
  static HOBJ AddPerson(CtSvcDeviceType nDeviceType, const char* pszFirst, const char* pszLast, int nId = -1) {
    CCtSvcPerson person;
    person.SetRecordId(nId);
    person.SetDeviceType(nDeviceType);
    person.SetFirstName(pszFirst);
    person.SetLastName(pszLast);
    return person.Insert(1) > 0 ? person.GetHandle() : INVALID_HOBJ;
  }
  // Rows of the URI that meet the WHERE text ("" for every row).
  static int Count(const std::string& strUri, const std::string& strWhere) {
    CContentFilter filter;
    filter.SetWhere(strWhere);
    return CContentMgr::Instance()->GetCount(strUri, strWhere.empty() ? nullptr : &filter);
  }
  static int AddNumber(HOBJ hPerson, const std::string& strNumber, int nPrimaryId = 1) {
    CtSvcPhoneNumberInfo info{};
    Copy(info.szPhoneNumber, strNumber);
    return CtSvcDbPhoneNumberInsertRecord(hPerson, nPrimaryId, &info);
  }
  static int AddEmail(HOBJ hPerson, const std::string& strAddress) {
    CtSvcEmailAddressInfo info{};
    Copy(info.szEmailAddress, strAddress);
    return CtSvcDbEmailAddressInsertRecord(hPerson, 1, &info);
  }
};

}  // namespace ctsvc_detail_test

#endif
