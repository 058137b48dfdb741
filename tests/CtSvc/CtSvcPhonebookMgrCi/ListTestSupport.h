// Helpers of the list tests: stored persons and primaries, and a fixture that closes the contact
// and primary lists a test left open (the tables are process-wide).
#ifndef CTSVC_LIST_TEST_SUPPORT_H
#define CTSVC_LIST_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcList.h"
#include "CtSvcTestEnv.h"

namespace ctsvc_list_test {

template <class R = CCtSvcPerson>
R AddNamed(const char* pszFirst, const char* pszLast) {
  R record;
  record.SetDeviceType(CTSVC_USE_TYPE_PHONE);
  record.SetFirstName(pszFirst);
  record.SetLastName(pszLast);
  EXPECT_GT(record.Insert(1), 0);
  return record;
}

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
