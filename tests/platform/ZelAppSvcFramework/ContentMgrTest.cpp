// The content manager over an in-memory provider: routing, failures, notices of filtered and list
// writes, observer scopes and observers that call back into the manager.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeProvider.h"
#include "ZelCoreTest.h"

using fwtest::FakeFactory;
using fwtest::FakeStore;
using fwtest::NameInput;
using fwtest::Notice;
using fwtest::RecordingObserver;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class ContentMgrTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Mgr()->RegisterHandler("Fake", &m_factory));
    ASSERT_TRUE(Mgr()->RegisterObserver("Fake/Items", &m_observer));
  }
  void TearDown() override {
    Mgr()->UnregisterObserverAll(&m_observer);
    Mgr()->UnregisterHandler("Fake");
  }
  static CContentMgr* Mgr() { return CContentMgr::Instance(); }
  int Add(const std::u16string& strName) {
    CContentInput input = NameInput(strName);
    return Mgr()->Insert("Fake/Items", input);
  }
  static CContentFilter NameFilter(const std::u16string& strName) {
    CContentFilter filter;
    filter.SetWhere("NAME = ?");
    filter.AddWhereArg(strName);
    return filter;
  }

  FakeStore m_store;
  FakeFactory m_factory{m_store, "Fake"};
  RecordingObserver m_observer;
};

TEST_F(ContentMgrTest, RoutesByProviderAndFailsCleanlyForUnknownUris) {
  EXPECT_EQ(Add(u"Ann"), 1);
  EXPECT_EQ(m_store.nHandlersMade, 1);  // one fresh handler per call

  zel::test::LogCapture log;
  CContentInput input = NameInput(u"Bob");
  CContent row;
  std::vector<CContent> rows;
  CContentFilter all;
  // An unregistered provider and a URI the provider's factory refuses.
  for (const std::string strUri : {"Other/Items", "Fake/Unknown", "", "Fake"}) {
    SCOPED_TRACE(strUri);
    EXPECT_EQ(Mgr()->Insert(strUri, input), -1);
    EXPECT_FALSE(Mgr()->Update(strUri, 1, input));
    EXPECT_FALSE(Mgr()->Delete(strUri, 1));
    EXPECT_FALSE(Mgr()->Delete(strUri, &all));
    EXPECT_FALSE(Mgr()->GetContent(strUri, 1, row));
    EXPECT_FALSE(Mgr()->GetContents(strUri, &all, rows));
    EXPECT_EQ(Mgr()->GetCount(strUri, &all), -1);
    EXPECT_EQ(Mgr()->OpenList(strUri, &all), nullptr);
  }
  EXPECT_EQ(log.Count("no handler for URI(Other/Items)"), 8);
  EXPECT_EQ(log.Count("no handler for URI(Fake/Unknown)"), 8);
  EXPECT_THAT(m_observer.Take(), ElementsAre(Notice{0, "Fake/Items", 1, 0, 0}));
  EXPECT_EQ(m_store.rows.size(), 1u);
}

TEST_F(ContentMgrTest, OneFactoryPerProvider) {
  FakeStore other;
  FakeFactory otherFactory(other, "Fake");
  EXPECT_FALSE(Mgr()->RegisterHandler("Fake", &otherFactory));
  EXPECT_TRUE(Mgr()->RegisterHandler("Fake", &m_factory));  // the same factory again is harmless
  EXPECT_FALSE(Mgr()->RegisterHandler("Fa/ke", &otherFactory));
  EXPECT_FALSE(Mgr()->RegisterHandler("Fake2", nullptr));
  EXPECT_EQ(Add(u"Ann"), 1);
  EXPECT_EQ(other.nHandlersMade, 0);

  ASSERT_TRUE(Mgr()->UnregisterHandler("Fake"));
  EXPECT_FALSE(Mgr()->UnregisterHandler("Fake"));
  EXPECT_EQ(Add(u"Bob"), -1);
  ASSERT_TRUE(Mgr()->RegisterHandler("Fake", &otherFactory));
  EXPECT_EQ(Add(u"Bob"), 1);
  EXPECT_EQ(other.rows.size(), 1u);
}

// Writes of single ids are followed by the listener tests; filtered writes are reported once with
// id -1, a plain list delete row by row.
TEST_F(ContentMgrTest, FilteredWritesNotifyOnceAndListDeletesPerRow) {
  for (const char16_t* psz : {u"Ann", u"Bob", u"Cid"}) {
    Add(psz);
  }
  m_observer.Take();
  const CContentFilter ann = NameFilter(u"Ann");
  CContentInput rename = NameInput(u"Eve");
  ASSERT_TRUE(Mgr()->Update("Fake/Items", &ann, rename));
  const CContentFilter eve = NameFilter(u"Eve");
  ASSERT_TRUE(Mgr()->Delete("Fake/Items", &eve));
  ASSERT_TRUE(Mgr()->Delete("Fake/Items", std::vector<int>{2, 3}));
  EXPECT_THAT(m_observer.Take(), ElementsAre(Notice{1, "Fake/Items", -1, reinterpret_cast<intptr_t>(&rename), 0},
                                             Notice{2, "Fake/Items", -1, 0, 0}, Notice{2, "Fake/Items", 2, 0, 0},
                                             Notice{2, "Fake/Items", 3, 0, 0}));
  EXPECT_TRUE(m_store.rows.empty());
}

TEST_F(ContentMgrTest, ObserversSeeOnlyTheirUriAndUrisContinuingIt) {
  RecordingObserver prefixOnly;  // "Fake/Item" is a prefix of the text, not of the path
  RecordingObserver provider;
  ASSERT_TRUE(Mgr()->RegisterObserver("Fake/Item", &prefixOnly));
  ASSERT_TRUE(Mgr()->RegisterObserver("Fake", &provider));
  EXPECT_FALSE(Mgr()->RegisterObserver("Fake", &provider));  // already registered
  EXPECT_FALSE(Mgr()->RegisterObserver("Fake", nullptr));
  ASSERT_EQ(Add(u"Ann"), 1);
  EXPECT_THAT(prefixOnly.Take(), IsEmpty());
  EXPECT_THAT(provider.Take(), ElementsAre(Notice{0, "Fake/Items", 1, 0, 0}));
  EXPECT_TRUE(Mgr()->UnregisterObserver("Fake", &provider));
  EXPECT_FALSE(Mgr()->UnregisterObserver("Fake", &provider));
  Add(u"Bob");
  EXPECT_THAT(provider.Take(), IsEmpty());
  Mgr()->UnregisterObserver("Fake/Item", &prefixOnly);
}

TEST_F(ContentMgrTest, FailedWritesAndDeletesOfNothingSendNoNotice) {
  ASSERT_EQ(Add(u"Ann"), 1);
  m_observer.Take();
  m_store.bFailWrites = true;
  CContentInput input = NameInput(u"Bob");
  const CContentFilter ann = NameFilter(u"Ann");
  EXPECT_EQ(Mgr()->Insert("Fake/Items", input), -1);
  EXPECT_FALSE(Mgr()->Update("Fake/Items", 1, input));
  EXPECT_FALSE(Mgr()->Update("Fake/Items", &ann, input));
  EXPECT_FALSE(Mgr()->Delete("Fake/Items", 1));
  EXPECT_FALSE(Mgr()->Delete("Fake/Items", std::vector<int>{1}));
  // The filter still matches a row, so a refused delete stays a failure.
  EXPECT_FALSE(Mgr()->Delete("Fake/Items", &ann));
  m_store.bFailWrites = false;
  // A negative id would address the filter's rows; a filtered write needs a filter.
  EXPECT_FALSE(Mgr()->Delete("Fake/Items", -1));
  EXPECT_FALSE(Mgr()->Update("Fake/Items", -1, input));
  EXPECT_FALSE(Mgr()->Delete("Fake/Items", static_cast<const CContentFilter*>(nullptr)));
  EXPECT_FALSE(Mgr()->Update("Fake/Items", static_cast<const CContentFilter*>(nullptr), input));
  // A filtered delete that matches nothing succeeds, and has nothing to report.
  zel::test::LogCapture log;
  const CContentFilter nobody = NameFilter(u"Nobody");
  EXPECT_TRUE(Mgr()->Delete("Fake/Items", &nobody));
  EXPECT_TRUE(log.Contains("there is no record to delete"));
  EXPECT_THAT(m_observer.Take(), IsEmpty());
  EXPECT_EQ(m_store.rows.size(), 1u);
}

TEST_F(ContentMgrTest, ReadsThatFindNothingFail) {
  ASSERT_EQ(Add(u"Ann"), 1);
  std::vector<CContent> rows(2);
  const CContentFilter none = NameFilter(u"zz");
  EXPECT_FALSE(Mgr()->GetContents("Fake/Items", &none, rows));
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(Mgr()->GetCount("Fake/Items", &none), 0);
  CContent row;
  EXPECT_FALSE(Mgr()->GetContent("Fake/Items", 70, row));
}

// An observer that drops itself from OnChange (on its own thread: no wait for itself) and writes
// through the manager; the cascade through the service's own observer is the database tests'.
TEST_F(ContentMgrTest, ObserverMayUnregisterItselfFromOnChange) {
  struct Cascade : IContentObserver {
    int nCalls = 0;
    void OnChange(int, const std::string& strUri, int nId, intptr_t, int) override {
      ++nCalls;
      CContentMgr::Instance()->UnregisterObserver("Fake/Items", this);
      CContentMgr::Instance()->RegisterObserver("Fake/Other", this);
      CContentMgr::Instance()->Delete(strUri, nId + 1);
    }
  } cascade;
  Add(u"a");
  Add(u"b");
  ASSERT_TRUE(Mgr()->RegisterObserver("Fake/Items", &cascade));
  m_observer.Take();
  ASSERT_TRUE(Mgr()->Delete("Fake/Items", 1));
  EXPECT_EQ(cascade.nCalls, 1);  // it had gone before the cascaded delete was reported
  EXPECT_THAT(m_observer.Take(), ElementsAre(Notice{2, "Fake/Items", 1, 0, 0}, Notice{2, "Fake/Items", 2, 0, 0}));
  EXPECT_EQ(Mgr()->UnregisterObserverAll(&cascade), 1);
}

// The bracket itself is the sync observer test's; here the pairs nest.
TEST_F(ContentMgrTest, ProviderSyncPairsNest) {
  EXPECT_FALSE(Mgr()->BeginProviderSync("Nobody"));
  ASSERT_TRUE(Mgr()->BeginProviderSync("Fake"));
  ASSERT_TRUE(Mgr()->BeginProviderSync("Fake"));
  EXPECT_TRUE(Mgr()->EndProviderSync("Fake"));
  EXPECT_TRUE(Mgr()->IsProviderSyncing("Fake"));
  EXPECT_TRUE(Mgr()->EndProviderSync("Fake"));
  EXPECT_FALSE(Mgr()->IsProviderSyncing("Fake"));
}

}  // namespace
