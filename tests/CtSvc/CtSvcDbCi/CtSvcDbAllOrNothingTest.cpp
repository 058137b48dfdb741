// Operations of several writes land whole or not at all. Each operation runs on a fresh store
// again and again with a failure injected at its first write, then its second, and so on, until
// it runs through: every failed run answers failure and leaves every stored row as it was (read by
// a connection of the test's own after a commit, so work left open would show too). The failure
// is a refusing content handler, or a volume that fills up after some writes.
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcContentHandlerFactory.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcTask/CtSvcTaskJobDeleteAccount.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "StoreReader.h"

namespace {

// Lets a number of writes through, then refuses every write (-1: refuses none).
class WriteBudget {
 public:
  void Set(int nWrites) {
    m_nLeft.store(nWrites);
    m_bRefused.store(false);
  }
  bool HasRefused() const { return m_bRefused.load(); }
  bool Take() {
    int n = m_nLeft.load();
    while (n > 0 && !m_nLeft.compare_exchange_weak(n, n - 1)) {
    }
    if (n == 0) {
      m_bRefused.store(true);
    }
    return n != 0;
  }

 private:
  std::atomic<int> m_nLeft{-1};
  std::atomic<bool> m_bRefused{false};
};

// The service's handler, refusing the writes its budget does not allow.
class RefusingHandler : public IContentHandler {
 public:
  RefusingHandler(std::unique_ptr<IContentHandler> pReal, WriteBudget& budget) : m_pReal(std::move(pReal)), m_budget(budget) {}
  void SetFilter(const CContentFilter* pFilter) override { m_pReal->SetFilter(pFilter); }
  bool IsContained(int nId) override { return m_pReal->IsContained(nId); }
  bool GetContents(int nFirst, int nCount, std::vector<CContent>& vc) override { return m_pReal->GetContents(nFirst, nCount, vc); }
  int GetCount() override { return m_pReal->GetCount(); }
  int GetBatchSize() override { return m_pReal->GetBatchSize(); }
  int GetBlockCount() override { return m_pReal->GetBlockCount(); }
  std::string GetIDColumnName() override { return m_pReal->GetIDColumnName(); }
  int GetIndexWithID(int nId) override { return m_pReal->GetIndexWithID(nId); }
  int Insert(CContentInput& input) override { return m_budget.Take() ? m_pReal->Insert(input) : -1; }
  bool Insert(std::vector<CContentInput>& vc) override { return m_budget.Take() && m_pReal->Insert(vc); }
  bool Insert(std::vector<std::pair<std::string, CContentInput>>& vc) override { return m_budget.Take() && m_pReal->Insert(vc); }
  bool Update(CContentInput& input, int nId) override { return m_budget.Take() && m_pReal->Update(input, nId); }
  bool Delete(int nId) override { return m_budget.Take() && m_pReal->Delete(nId); }
  bool Delete(const std::vector<int>& vcIds) override { return m_budget.Take() && m_pReal->Delete(vcIds); }
  std::vector<std::string> GetColumnNames() override { return m_pReal->GetColumnNames(); }
  const CContentFilter* GetFilter() override { return m_pReal->GetFilter(); }
  std::string GetHint() override { return m_pReal->GetHint(); }
  std::string GetSequenceKeyName() override { return m_pReal->GetSequenceKeyName(); }
  std::string GetTableName() override { return m_pReal->GetTableName(); }
  std::vector<int> GetColumnTypes() override { return m_pReal->GetColumnTypes(); }
  std::string GetWhere() override { return m_pReal->GetWhere(); }
  std::vector<std::u16string> GetWhereArg() override { return m_pReal->GetWhereArg(); }
  int GetContentID(CContentInput& input) override { return m_pReal->GetContentID(input); }
  int InsertNoCommit(CContentInput& input) override { return m_budget.Take() ? m_pReal->InsertNoCommit(input) : -1; }
  bool UpdateNoCommit(CContentInput& input, int nId) override { return m_budget.Take() && m_pReal->UpdateNoCommit(input, nId); }
  bool DeleteNoCommit(int nId) override { return m_budget.Take() && m_pReal->DeleteNoCommit(nId); }

 private:
  std::unique_ptr<IContentHandler> m_pReal;
  WriteBudget& m_budget;
};

class RefusingFactory : public IContentHandlerFactory {
 public:
  std::unique_ptr<IContentHandler> Create(const std::string& strUri) override {
    std::unique_ptr<IContentHandler> pReal = m_real.Create(strUri);
    return pReal ? std::make_unique<RefusingHandler>(std::move(pReal), m_budget) : nullptr;
  }
  WriteBudget& Budget() { return m_budget; }

 private:
  CCtSvcContentHandlerFactory m_real;
  WriteBudget m_budget;
};

enum class Failure { RefusingHandler, FullVolume };

// The store every operation starts from: Anna (two numbers, an e-mail, an address, group 2)
// merged with Cleo of account 1, Ben (a favourite) and Dan of account 1.
struct Store {
  HOBJ hAnna = INVALID_HOBJ, hBen = INVALID_HOBJ, hCleo = INVALID_HOBJ, hDan = INVALID_HOBJ;
  int nAnna = 0, nBen = 0, nDan = 0;  // their primaries
};

HOBJ StoreContact(ctsvc_test::ContactParts& parts) {
  CCtSvcModuleLock lock;
  CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
  return contact.Insert(1) > 0 ? contact.GetPerson().GetHandle() : INVALID_HOBJ;
}

int PrimaryOf(HOBJ hPerson) {
  CtSvcPersonRecord record{};
  return CtSvcDbPersonGetRecord(hPerson, &record) ? record.Info.nPrimaryId : -1;
}

Store BuildStore() {
  Store store;
  CtSvcGroupInfo group{};
  group.nAccountId = -1;
  group.nSlotIndex = -1;
  group.DevType = CTSVC_USE_TYPE_PHONE;
  ctsvc_test::Copy(group.szName, "Climbing");
  const int nGroup = CtSvcDbGroupInsertRecord(&group);
  ctsvc_test::ContactParts anna("Anna", -1, "Smith");
  anna.Number("01011112222").Number("0212345678", 2).Email("anna@example.com").Address("Main St 1", "Seoul", "", "KR", "04524");
  anna.Group(nGroup);
  ctsvc_test::ContactParts ben("Ben", -1, "Jones");
  ben.Number("01033334444").Email("ben@example.com");
  ctsvc_test::ContactParts cleo("Cleo", 1, "Park");
  cleo.Number("01055556666").Email("cleo@example.com");
  ctsvc_test::ContactParts dan("Dan", 1, "Lee");
  dan.Number("01077778888");
  store.hAnna = StoreContact(anna);
  store.hBen = StoreContact(ben);
  store.hCleo = StoreContact(cleo);
  store.hDan = StoreContact(dan);
  store.nAnna = PrimaryOf(store.hAnna);
  store.nBen = PrimaryOf(store.hBen);
  store.nDan = PrimaryOf(store.hDan);
  EXPECT_TRUE(CtSvcDbPrimaryLinkPerson(store.nAnna, PrimaryOf(store.hCleo)));
  EXPECT_TRUE(CtSvcDbPrimarySetFavoriteType(store.nBen, CTSVC_FAVORITE_TYPE_FAVORITE));
  return store;
}

struct Operation {
  const char* name;
  std::function<bool(const Store&)> run;  // true when it succeeded
  bool bIgnorePending = false;            // the pending-removal record is committed on its own
};

bool InsertJoiningAnna(int bCommit) {
  ctsvc_test::ContactParts parts("Anna", 1, "Work");
  parts.Number("01099990000").Email("anna@example.com").Address("Side St 2", "Busan", "", "KR", "48058").Etc(1, "note");
  CCtSvcModuleLock lock;
  CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
  return contact.Insert(bCommit) > 0 && Db2Commit();
}

const std::vector<Operation>& Operations() {
  static const std::vector<Operation> kOperations = {
      {"link", [](const Store& s) { return CtSvcDbPrimaryLinkPerson(s.nAnna, s.nBen) != FALSE; }},
      {"unlink with split", [](const Store& s) { return CtSvcDbPrimaryUnlinkPerson(s.nAnna, s.hAnna, 1) != FALSE; }},
      {"insert a whole contact", [](const Store&) { return InsertJoiningAnna(1); }},
      {"insert a whole contact in bulk", [](const Store&) { return InsertJoiningAnna(0); }},
      {"delete a person", [](const Store& s) { return CtSvcDbPersonDeleteRecord(s.hAnna) != FALSE; }},
      {"delete a contact", [](const Store& s) { return CtSvcDbPrimaryDeleteRecord(s.nAnna) != FALSE; }},
      {"delete the phone's persons", [](const Store&) { return CtSvcDbPersonDeleteRecordsWithDeviceType(CTSVC_USE_TYPE_PHONE) != FALSE; }},
      {"delete an account's persons",
       [](const Store&) {
         const int aAccounts[] = {1};
         return CtSvcDbPersonDeleteRecords(CTSVC_USE_TYPE_PHONE, aAccounts, 1) != FALSE;
       }},
      {"remove an account in the background",
       [](const Store&) {
         CCtSvcTaskJobDeleteAccount job(CTSVC_USE_TYPE_PHONE, {1}, nullptr, nullptr);
         job.DoWork();
         return job.GetResult() == 1;
       },
       true},
      {"rename a person",
       [](const Store& s) {
         CtSvcPersonRecord record{};
         CtSvcDbPersonGetRecord(s.hAnna, &record);
         ctsvc_test::Copy(record.Info.szFirstName, "Hanna");
         return CtSvcDbPersonUpdateRecord(s.hAnna, s.nAnna, &record.Info) != FALSE;
       }},
      {"favourite order", [](const Store& s) { return CtSvcDbPrimarySetFavoriteOrder(s.nBen, 7) != FALSE; }},
      {"make a favourite", [](const Store& s) { return CtSvcDbPrimarySetFavoriteType(s.nDan, CTSVC_FAVORITE_TYPE_FAVORITE) != FALSE; }},
  };
  return kOperations;
}

class CtSvcDbAllOrNothingTest : public ctsvc_test::ServiceTest,
                                public ::testing::WithParamInterface<std::tuple<size_t, Failure>> {
 protected:
  void TearDown() override {
    zel::test::SetVolumeFull(false);
    ServiceTest::TearDown();
  }
  void UseRefusingHandler() {
    CContentMgr::Instance()->UnregisterHandler(CTSVC_PROVIDER_NAME);
    ASSERT_TRUE(CContentMgr::Instance()->RegisterHandler(CTSVC_PROVIDER_NAME, &m_factory));
  }
  void AllowWrites(int nWrites) {
    if (std::get<1>(GetParam()) == Failure::RefusingHandler) {
      m_factory.Budget().Set(nWrites);
    } else {
      zel::test::SetVolumeFullAfterWrites(nWrites);
    }
  }
  // True when the failure was injected: a write was refused.
  bool WasRefused(const zel::test::LogCapture& log) {
    return std::get<1>(GetParam()) == Failure::RefusingHandler ? m_factory.Budget().HasRefused()
                                                               : log.Contains("volume full, write refused");
  }
  std::vector<std::string> Dump(bool bIgnorePending) {
    Db2Commit();  // work an operation left open would be committed here, and seen
    const std::vector<std::string> rows = ctsvc_test::DumpStore(DbPath());
    return bIgnorePending ? ctsvc_test::WithoutPendingRemovals(rows) : rows;
  }

  RefusingFactory m_factory;
};

TEST_P(CtSvcDbAllOrNothingTest, EachInjectedFailureLeavesTheStoreAsItWas) {
  const Operation& op = Operations()[std::get<0>(GetParam())];
  const Store store = BuildStore();
  ASSERT_GT(store.nDan, 0);
  UseRefusingHandler();
  const std::vector<std::string> before = Dump(op.bIgnorePending);
  constexpr int kMaxWrites = 200;
  int nAllowed = 0;
  for (; nAllowed < kMaxWrites; ++nAllowed) {
    AllowWrites(nAllowed);
    const zel::test::LogCapture log;
    const bool bDone = op.run(store);
    const bool bRefused = WasRefused(log);
    AllowWrites(-1);
    if (bDone) {
      EXPECT_FALSE(bRefused) << op.name << ": succeeded although write " << nAllowed + 1 << " was refused";
      break;
    }
    ASSERT_EQ(before, Dump(op.bIgnorePending)) << op.name << ": failed after " << nAllowed << " writes";
  }
  EXPECT_GT(nAllowed, 0) << op.name << " succeeded with every write refused";
  EXPECT_LT(nAllowed, kMaxWrites) << op.name << " never succeeded";
  EXPECT_NE(before, Dump(op.bIgnorePending)) << op.name << " changed nothing";
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<size_t, Failure>>& info) {
  std::string name = Operations()[std::get<0>(info.param)].name;
  for (char& c : name) {
    c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  }
  return name + (std::get<1>(info.param) == Failure::RefusingHandler ? "_RefusingHandler" : "_FullVolume");
}

INSTANTIATE_TEST_SUITE_P(Operations, CtSvcDbAllOrNothingTest,
                         ::testing::Combine(::testing::Range<size_t>(0, Operations().size()),
                                            ::testing::Values(Failure::RefusingHandler, Failure::FullVolume)),
                         CaseName);

// Arguments are checked before the first write: a split must keep a person of the contact.
class CtSvcDbRefusedArgumentsTest : public ctsvc_test::ServiceTest {};

TEST_F(CtSvcDbRefusedArgumentsTest, UnlinkOfAPersonNotInTheContactChangesNothing) {
  const Store store = BuildStore();
  const std::vector<std::string> before = ctsvc_test::DumpStore(DbPath());
  zel::test::LogCapture log;
  EXPECT_FALSE(CtSvcDbPrimaryUnlinkPerson(store.nAnna, store.hDan, 1));
  EXPECT_FALSE(CtSvcDbPrimaryUnlinkPerson(store.nAnna, CTSVC_MAKE_HANDLE(CTSVC_USE_TYPE_PHONE, 999), 1));
  EXPECT_TRUE(log.Contains("CtSvcDbPrimaryUnlinkPerson - person 999 is not in primary"));
  Db2Commit();
  EXPECT_EQ(before, ctsvc_test::DumpStore(DbPath()));
  EXPECT_TRUE(CtSvcDbPrimaryUnlinkPerson(store.nAnna, store.hAnna, 1));
  EXPECT_NE(before, ctsvc_test::DumpStore(DbPath()));
}

}  // namespace
