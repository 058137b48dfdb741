// The content manager over an in-memory provider: routing, change notices, filtered deletes,
// reads in batches and observers that call back into the manager.
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

TEST_F(ContentMgrTest, EachSuccessfulWriteNotifiesWithItsChangeCodeIdAndExtras) {
  ASSERT_EQ(Add(u"Ann"), 1);
  ASSERT_EQ(Add(u"Bob"), 2);
  CContentInput rename = NameInput(u"Cid");
  ASSERT_TRUE(Mgr()->Update("Fake/Items", 2, rename));
  const intptr_t nRename = reinterpret_cast<intptr_t>(&rename);
  ASSERT_TRUE(Mgr()->Delete("Fake/Items", 1));
  EXPECT_THAT(m_observer.Take(), ElementsAre(Notice{0, "Fake/Items", 1, 0, 0}, Notice{0, "Fake/Items", 2, 0, 0},
                                             Notice{1, "Fake/Items", 2, nRename, 0}, Notice{2, "Fake/Items", 1, 0, 0}));

  // Filtered writes are reported once, with id -1.
  ASSERT_EQ(Add(u"Dan"), 3);
  m_observer.Take();
  const CContentFilter dan = NameFilter(u"Dan");
  CContentInput rename2 = NameInput(u"Eve");
  ASSERT_TRUE(Mgr()->Update("Fake/Items", &dan, rename2));
  const CContentFilter eve = NameFilter(u"Eve");
  ASSERT_TRUE(Mgr()->Delete("Fake/Items", &eve));
  EXPECT_THAT(m_observer.Take(), ElementsAre(Notice{1, "Fake/Items", -1, reinterpret_cast<intptr_t>(&rename2), 0},
                                             Notice{2, "Fake/Items", -1, 0, 0}));
  EXPECT_EQ(m_store.rows.size(), 1u);
}

TEST_F(ContentMgrTest, BulkDeletesCarryTheBulkFlagAndReachObserversOfTheBaseUri) {
  for (const char16_t* psz : {u"a", u"b", u"c", u"d"}) {
    Add(psz);
  }
  m_observer.Take();
  ASSERT_TRUE(Mgr()->Delete("Fake/Items/BulkOperation", 1));
  // A bulk list delete goes row by row through the manager: one notice per row, none extra.
  ASSERT_TRUE(Mgr()->Delete("Fake/Items/BulkOperation", std::vector<int>{2, 3}));
  // A plain list delete is one handler call, reported row by row.
  ASSERT_TRUE(Mgr()->Delete("Fake/Items", std::vector<int>{4}));
  // "BulkOperation" counts only as the last of more than two components.
  ASSERT_EQ(Add(u"e"), 5);
  ASSERT_TRUE(Mgr()->Delete("Fake/Items/BulkOperation/NoSync", 5));
  EXPECT_THAT(m_observer.Take(),
              ElementsAre(Notice{2, "Fake/Items/BulkOperation", 1, 0, 1}, Notice{2, "Fake/Items/BulkOperation", 2, 0, 1},
                          Notice{2, "Fake/Items/BulkOperation", 3, 0, 1}, Notice{2, "Fake/Items", 4, 0, 0},
                          Notice{0, "Fake/Items", 5, 0, 0}, Notice{2, "Fake/Items/BulkOperation/NoSync", 5, 0, 0}));
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

TEST_F(ContentMgrTest, FailedWritesSendNoNotice) {
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
  EXPECT_THAT(m_observer.Take(), IsEmpty());
  EXPECT_EQ(m_store.rows.size(), 1u);
}

TEST_F(ContentMgrTest, FilteredDeleteOfNothingSucceedsWithoutNotice) {
  ASSERT_EQ(Add(u"Ann"), 1);
  m_observer.Take();
  zel::test::LogCapture log;
  const CContentFilter nobody = NameFilter(u"Nobody");
  EXPECT_TRUE(Mgr()->Delete("Fake/Items", &nobody));
  EXPECT_TRUE(log.Contains("there is no record to delete"));
  EXPECT_THAT(m_observer.Take(), IsEmpty());
  EXPECT_EQ(m_store.rows.size(), 1u);
}

TEST_F(ContentMgrTest, ReadsEveryRowAcrossBatchesAndSingleRowsById) {
  for (int i = 0; i < 10; ++i) {
    Add(std::u16string(1, static_cast<char16_t>(u'a' + i)));
  }
  std::vector<CContent> rows;
  ASSERT_TRUE(Mgr()->GetContents("Fake/Items", nullptr, rows));  // batch size 3
  ASSERT_EQ(rows.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    int32_t nId = 0;
    ASSERT_TRUE(rows[static_cast<size_t>(i)].GetInt(0, nId));
    EXPECT_EQ(nId, i + 1);
  }
  const CContentFilter none = NameFilter(u"zz");
  EXPECT_FALSE(Mgr()->GetContents("Fake/Items", &none, rows));
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(Mgr()->GetCount("Fake/Items", nullptr), 10);
  const CContentFilter c = NameFilter(u"c");
  EXPECT_EQ(Mgr()->GetCount("Fake/Items", &c), 1);

  CContent row;
  ASSERT_TRUE(Mgr()->GetContent("Fake/Items", 7, row));
  std::u16string strName;
  ASSERT_TRUE(row.GetString(1, strName));
  EXPECT_EQ(strName, u"g");
  EXPECT_FALSE(Mgr()->GetContent("Fake/Items", 70, row));
}

// An observer that deletes dependent rows through the manager, and drops itself, from OnChange.
TEST_F(ContentMgrTest, ObserverMayCallBackIntoTheManager) {
  struct Cascade : IContentObserver {
    int nCalls = 0;
    bool bFound = false;
    void OnChange(int nType, const std::string& strUri, int nId, intptr_t, int) override {
      ++nCalls;
      auto* pMgr = CContentMgr::Instance();
      if (nType == CONTENT_CHANGE_DELETE && nId == 1) {
        pMgr->UnregisterObserver("Fake/Items", this);  // on its own thread: no wait for itself
        pMgr->RegisterObserver("Fake/Other", this);
        pMgr->Delete(strUri, 2);
        CContent row;
        bFound = pMgr->GetContent(strUri, 3, row);
      }
    }
  } cascade;
  Add(u"a");
  Add(u"b");
  Add(u"c");
  ASSERT_TRUE(Mgr()->RegisterObserver("Fake/Items", &cascade));
  m_observer.Take();
  ASSERT_TRUE(Mgr()->Delete("Fake/Items", 1));
  EXPECT_EQ(cascade.nCalls, 1);  // it had gone before the cascaded delete was reported
  EXPECT_TRUE(cascade.bFound);
  EXPECT_THAT(m_observer.Take(), ElementsAre(Notice{2, "Fake/Items", 1, 0, 0}, Notice{2, "Fake/Items", 2, 0, 0}));
  EXPECT_EQ(m_store.rows.size(), 1u);
  EXPECT_EQ(Mgr()->UnregisterObserverAll(&cascade), 1);
}

TEST_F(ContentMgrTest, ProviderSyncPairsNest) {
  EXPECT_FALSE(Mgr()->IsProviderSyncing("Fake"));
  EXPECT_FALSE(Mgr()->EndProviderSync("Fake"));
  EXPECT_FALSE(Mgr()->BeginProviderSync("Nobody"));
  ASSERT_TRUE(Mgr()->BeginProviderSync("Fake"));
  ASSERT_TRUE(Mgr()->BeginProviderSync("Fake"));
  EXPECT_TRUE(Mgr()->EndProviderSync("Fake"));
  EXPECT_TRUE(Mgr()->IsProviderSyncing("Fake"));
  EXPECT_TRUE(Mgr()->EndProviderSync("Fake"));
  EXPECT_FALSE(Mgr()->IsProviderSyncing("Fake"));
}

}  // namespace
