// Helpers of the list tests: stored persons and primaries, and a fixture that closes whatever
// list a test left open.
#ifndef CTSVC_LIST_TEST_SUPPORT_H
#define CTSVC_LIST_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcList.h"
#include "CtSvcTestEnv.h"

namespace ctsvc_list_test {

inline CCtSvcPerson AddPerson(const char* pszFirst, const char* pszLast) {
  CCtSvcPerson person;
  person.SetDeviceType(CTSVC_USE_TYPE_PHONE);
  person.SetFirstName(pszFirst);
  person.SetLastName(pszLast);
  EXPECT_GT(person.Insert(1), 0);
  return person;
}

inline int AddPrimary(const char* pszFirst, const char* pszLast) {
  CCtSvcPrimary primary;
  primary.SetDeviceType(CTSVC_USE_TYPE_PHONE);
  primary.SetFirstName(pszFirst);
  primary.SetLastName(pszLast);
  return primary.Insert(1);
}

// The lists are process-wide: every test starts and ends with all slots free.
class ListTest : public ctsvc_test::ServiceTest {
 protected:
  void TearDown() override {
    for (INT32 h = 0; h < CTSVC_PHONEBOOK_LIST_MAX; ++h) {
      CtSvcContactListDestroy(h);
      CtSvcPrimaryListDestroy(h);
    }
    ServiceTest::TearDown();
  }
};

}  // namespace ctsvc_list_test

#endif
