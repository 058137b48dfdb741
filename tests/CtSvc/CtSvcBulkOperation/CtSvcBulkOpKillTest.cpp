// A copy of SIM contacts to the phone killed with SIGKILL in the middle of a unit leaves every
// contact copied whole or not at all: the copies of the committed units, and nothing of the unit
// that was running.
//
// Every process is a child forked before the test starts any thread. The copier kills itself from
// the change callback of its 125th copy, in the middle of its thirteenth unit of ten.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>

#include "CtSvcBulkOp.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtSvcPhonebook.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ForkedService.h"
#include "StoreReader.h"
#include "ZelCoreTest.h"

namespace {

using ctsvc_test::RunChild;

constexpr int kSimContacts = 250;
constexpr int kKillAt = 125;

[[noreturn]] void BuildStore(const std::string& strDir) {
  bool bStored = ctsvc_test::StartServiceIn(strDir);
  {
    CCtSvcModuleLock lock;
    for (int i = 0; bStored && i < kSimContacts; ++i) {
      ctsvc_test::ContactParts parts("Sim" + std::to_string(i), -1, "Kim");
      parts.Number("010" + std::to_string(30000000 + i)).Email("s" + std::to_string(i) + "@example.com");
      parts.person.nSlotIndex = i;
      CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_SIM);
      bStored = contact.Insert(0) > 0;
    }
    bStored = bStored && Db2Commit();
  }
  ctsvc_test::StopService();
  _exit(bStored ? 0 : 1);
}

int g_nCopied = 0;

void KillAtCopy(CtSvcChangeType type, int, void*, void*) {
  if (type == CTSVC_CHANGE_TYPE_INSERT && ++g_nCopied == kKillAt) {
    raise(SIGKILL);
  }
}

[[noreturn]] void Copy(const std::string& strDir) {
  if (!ctsvc_test::StartServiceIn(strDir)) {
    _exit(1);
  }
  zel::test::SetTimersManual(true);
  CtSvcPhonebookRegisterContactCallback(&KillAtCopy, nullptr);
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_SIM;
  CtSvcPersonRecord persons[kSimContacts];
  const int nCount = CtSvcDbPersonGetRecords(&filter, persons, kSimContacts);
  bool bOk = nCount == kSimContacts && CtSvcBulkOpCreate(CTSVC_BULK_OP_COPY_ADN_TO_DB, nullptr, nullptr);
  for (int i = 0; bOk && i < nCount; ++i) {
    bOk = CtSvcBulkOpAddPersonId(persons[i].nId) != FALSE;
  }
  if (bOk && CtSvcBulkOpStart()) {
    while (zel::test::FireDueTimers(1) > 0) {
    }
  }
  _exit(2);  // not reached: killed at its 125th copy
}

TEST(CtSvcBulkOpKill, AKilledCopyLeavesEveryContactCopiedWholeOrNotAtAll) {
  ctsvc_test::TempDir dir;
  const std::string strPath = dir.File("ctsvc.db");
  ASSERT_EQ(0, RunChild([&] { BuildStore(dir.Path()); }));
  EXPECT_EQ(-1, RunChild([&] { Copy(dir.Path()); }));

  const ctsvc_test::StoreReader store(strPath);
  const std::string strPhone = "DEVICE_TYPE = " + std::to_string(CTSVC_USE_TYPE_PHONE);
  // Twelve units of ten were committed; of the thirteenth at most the copies before the one being
  // reported when the copier died.
  const int nCopies = store.Int("SELECT count(*) FROM CtSvcPerson WHERE " + strPhone);
  EXPECT_GE(nCopies, 120);
  EXPECT_LT(nCopies, kKillAt);
  EXPECT_EQ(kSimContacts,
            store.Int("SELECT count(*) FROM CtSvcPerson WHERE DEVICE_TYPE = " + std::to_string(CTSVC_USE_TYPE_SIM)));
  // Each copy has its number and e-mail address, the same as its SIM contact's.
  EXPECT_EQ(0, store.Int("SELECT count(*) FROM CtSvcPerson p WHERE p." + strPhone +
                         " AND (SELECT count(*) FROM CtSvcContactDataTable d WHERE d.PERSON_ID = p.ID) <> 2"));
  EXPECT_EQ(0, store.Int("SELECT count(*) FROM CtSvcContactDataTable d JOIN CtSvcPerson p ON p.ID = d.PERSON_ID "
                         "WHERE p." + strPhone + " AND NOT EXISTS (SELECT 1 FROM CtSvcContactDataTable s JOIN "
                         "CtSvcPerson q ON q.ID = s.PERSON_ID WHERE q.DEVICE_TYPE = " +
                         std::to_string(CTSVC_USE_TYPE_SIM) + " AND q.FIRSTNAME = p.FIRSTNAME AND s.CONTACT_DATA = d.CONTACT_DATA)"));
  ctsvc_test::ExpectContactsWhole(store);
}

}  // namespace
