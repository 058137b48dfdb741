// Lists over a real table of a few thousand rows: positions, ids, the cursor, refresh on change,
// and lists over a join.
#include <cstdio>
#include <memory>
#include <random>
#include <thread>
#include <utility>

#include "Db2TestSupport.h"

using fwtest::ItemHandler;

namespace {

constexpr int kRows = 5000;

class ContentList : public fwtest::Db2Test {
 protected:
  void SetUp() override {
    fwtest::Db2Test::SetUp();
    AddItems(1, kRows);
  }
  // Rows whose RANK is not 3, by NAME descending.
  static CContentFilter NotRank3() {
    CContentFilter filter;
    filter.SetWhere("RANK <> ?");
    filter.AddWhereArg(u"3");
    filter.SetOrderBy("NAME DESC");
    filter.SetHint("ITEM_NAME_IDX");
    return filter;
  }
  static std::unique_ptr<IContentList> Open(const std::string& strUri, const CContentFilter& filter) {
    return std::unique_ptr<IContentList>(CContentMgr::Instance()->OpenList(strUri, &filter));
  }
  static std::u16string Name(const CContent& row) {
    std::u16string str;
    row.GetString(1, str);
    return str;
  }
  // The ids of the list, read position by position.
  static std::vector<int> ListIds(IContentList& list) {
    std::vector<int> vcIds;
    CContent row;
    for (int i = 0; i < list.GetCount(); ++i) {
      vcIds.push_back(list.GetAt(i, row) ? RowId(row) : -1);
    }
    return vcIds;
  }
};

TEST_F(ContentList, ReadsAnyPositionInBlocksAndFindsAnyIdAsADirectQueryDoes) {
  const std::vector<int> vcExpected = Ids("SELECT ID FROM FwItem WHERE RANK <> 3 ORDER BY NAME DESC");
  fwtest::ItemHandler::s_nGetContentsCalls = 0;
  auto pList = Open("FwDb/Item", NotRank3());
  ASSERT_NE(pList, nullptr);
  EXPECT_EQ(ItemHandler::s_nGetContentsCalls, 0);  // opening reads no rows
  EXPECT_EQ(pList->GetURI(), "FwDb/Item");
  EXPECT_EQ(pList->GetFilter().GetOrderBy(), "NAME DESC");
  ASSERT_EQ(pList->GetCount(), static_cast<int>(vcExpected.size()));

  std::mt19937 random(42);
  std::uniform_int_distribution<int> position(0, pList->GetCount() - 1);
  CContent row;
  for (int i = 0; i < 300; ++i) {
    const int nPos = position(random);
    ASSERT_TRUE(pList->GetAt(nPos, row)) << nPos;
    ASSERT_EQ(RowId(row), vcExpected[static_cast<size_t>(nPos)]) << nPos;
    ASSERT_EQ(pList->GetIndexWithID(RowId(row)), nPos);
    ASSERT_EQ(row.GetFieldCount(), 3);
    int32_t nRank = 0;
    ASSERT_TRUE(row.GetInt(2, nRank));
    EXPECT_NE(nRank, 3);
  }
  EXPECT_FALSE(pList->GetAt(-1, row));
  EXPECT_FALSE(pList->GetAt(pList->GetCount(), row));
  EXPECT_EQ(pList->GetIndexWithID(vcExpected.back()), pList->GetCount() - 1);
  EXPECT_EQ(pList->GetIndexWithID(3), -1);  // rank 3
  EXPECT_EQ(pList->GetIndexWithID(kRows + 1), -1);

  // Reading every row in order fetches blocks, not single rows.
  ItemHandler::s_nGetContentsCalls = 0;
  EXPECT_EQ(ListIds(*pList), vcExpected);
  EXPECT_LT(ItemHandler::s_nGetContentsCalls, static_cast<int>(vcExpected.size()) / 32);

  // A jump reads one row, found by its id even through an index led by the filter's column.
  ASSERT_GE(Db2QueryEx("CREATE INDEX FwItem_RANK ON FwItem (RANK)"), 0);
  pList = Open("FwDb/Item", NotRank3());
  for (int nPos : {4000, 17, 2500, 999, 3}) {
    ItemHandler::s_nGetContentsCalls = 0;
    ASSERT_TRUE(pList->GetAt(nPos, row));
    EXPECT_EQ(RowId(row), vcExpected[static_cast<size_t>(nPos)]);
    EXPECT_EQ(ItemHandler::s_nGetContentsCalls, 1);
  }
  // A row changed behind the framework's back so that it leaves the filter is not read, whether
  // alone or within a block.
  const int nLeaving = vcExpected[1000];
  ASSERT_GE(Db2QueryEx("UPDATE FwItem SET RANK = 3 WHERE ID = %d", nLeaving), 0);
  Db2Commit();
  EXPECT_FALSE(pList->GetAt(1000, row));
  ASSERT_TRUE(pList->GetAt(998, row));
  ASSERT_TRUE(pList->GetAt(999, row));
  EXPECT_FALSE(pList->GetAt(1000, row));
  ASSERT_TRUE(pList->GetAt(1001, row));
  EXPECT_EQ(RowId(row), vcExpected[1001]);
}

// The walk itself is the service list tests'; here the cursor's failed moves keep its place, and
// lists without rows, or whose rows cannot be read, have no ends.
TEST_F(ContentList, CursorStaysOnFailedMovesAndEmptyListsHaveNoEnds) {
  auto pList = Open("FwDb/Item", NotRank3());
  IContentListIterator* pCursor = pList->GetIterator();
  CContent row;
  const int nLast = pList->GetCount() - 1;
  EXPECT_FALSE(pCursor->GetPrev(row));
  EXPECT_FALSE(pCursor->MoveTo(nLast + 1));
  EXPECT_FALSE(pCursor->MoveTo(-1));
  EXPECT_EQ(pCursor->GetPosition(), 0);
  ASSERT_TRUE(pCursor->MoveTo(nLast));
  EXPECT_FALSE(pCursor->GetNext(row));
  EXPECT_EQ(pCursor->GetPosition(), nLast);

  using Case = std::pair<std::string, int>;  // a where, and the count of its list
  for (const auto& [strWhere, nCount] : {Case{"RANK = 99", 0}, Case{"NO_SUCH_COLUMN = 1", -1}}) {
    SCOPED_TRACE(strWhere);
    CContentFilter filter;
    filter.SetWhere(strWhere);
    auto pEmpty = Open("FwDb/Item", filter);
    ASSERT_NE(pEmpty, nullptr);
    IContentListIterator* pNone = pEmpty->GetIterator();
    EXPECT_EQ(pEmpty->GetCount(), nCount);
    EXPECT_FALSE(pEmpty->GetAt(0, row));
    EXPECT_EQ(pEmpty->GetIndexWithID(1), -1);
    EXPECT_FALSE(pNone->IsFirst());
    EXPECT_FALSE(pNone->IsLast());
    EXPECT_FALSE(pNone->GetCurrent(row));
    EXPECT_FALSE(pNone->GetNext(row));
    EXPECT_FALSE(pNone->MoveTo(0));
    EXPECT_EQ(pNone->GetPosition(), 0);
  }
}

TEST_F(ContentList, AChangeNoticeMakesTheNextReadLoadTheRowsAnew) {
  CContentFilter filter;
  filter.SetOrderBy("ID");
  auto pList = Open("FwDb/Item", filter);
  ASSERT_EQ(pList->GetCount(), kRows);
  CContent row;
  ASSERT_TRUE(pList->GetIterator()->MoveTo(kRows - 1));

  // A change behind the framework's back is not seen: the ids were loaded once.
  ASSERT_GE(Db2QueryEx("DELETE FROM FwItem WHERE ID > %d", kRows - 10), 0);
  Db2Commit();
  EXPECT_EQ(pList->GetCount(), kRows);

  // Deletes through the manager are: the rows after them move up.
  ASSERT_TRUE(CContentMgr::Instance()->Delete("FwDb/Item", 2));
  ASSERT_TRUE(CContentMgr::Instance()->Delete("FwDb/Item", std::vector<int>{4, 6}));
  ASSERT_EQ(pList->GetCount(), kRows - 13);
  ASSERT_TRUE(pList->GetAt(1, row));
  EXPECT_EQ(RowId(row), 3);
  ASSERT_TRUE(pList->GetAt(2, row));
  EXPECT_EQ(RowId(row), 5);
  ASSERT_TRUE(pList->GetAt(3, row));
  EXPECT_EQ(RowId(row), 7);
  EXPECT_EQ(pList->GetIndexWithID(7), 3);
  EXPECT_EQ(pList->GetIndexWithID(4), -1);
  // The cursor kept its place, moved back onto the new last row.
  EXPECT_EQ(pList->GetIterator()->GetPosition(), kRows - 14);
  EXPECT_TRUE(pList->GetIterator()->IsLast());

  // So does a notice for a URI continuing the list's (an insert's is the service list tests').
  ASSERT_GE(Db2QueryEx("DELETE FROM FwItem WHERE ID = 1"), 0);
  Db2Commit();
  CContentMgr::Instance()->NotifyChange(CONTENT_CHANGE_DELETE, "FwDb/Item/NoSync", 1, 0, 0);
  EXPECT_EQ(pList->GetCount(), kRows - 14);
  ASSERT_TRUE(pList->GetAt(0, row));
  EXPECT_EQ(RowId(row), 3);
}

// Following a further URI is the service's primary lists' (they refresh on the primary's notices);
// here a destroyed list leaves every registration, including ones made for it by others.
TEST_F(ContentList, LeavesEveryUriWhenDestroyed) {
  auto pList = Open("FwDb/Item", CContentFilter());
  IContentObserver* pObserver = pList->GetObserver();
  ASSERT_NE(pObserver, nullptr);
  ASSERT_TRUE(CContentMgr::Instance()->RegisterObserver("FwDb/Other", pObserver));
  pList.reset();
  EXPECT_EQ(CContentMgr::Instance()->UnregisterObserverAll(pObserver), 0);
  // A notice now would reach a destroyed list (the sanitizer build sees it).
  CContentMgr::Instance()->NotifyChange(CONTENT_CHANGE_UPDATE, "FwDb/Other", 3, 0, 0);
  CContentMgr::Instance()->NotifyChange(CONTENT_CHANGE_UPDATE, "FwDb/Item", 3, 0, 0);
}

TEST_F(ContentList, ListsOverAJoinedPairOfTables) {
  // Every item of rank 2 has tag "even" or "odd"; the first three also have tag "first".
  ASSERT_GE(Db2QueryEx("INSERT INTO FwTag (ITEM_ID, TAG) "
                       "SELECT ID, CASE WHEN ID %% 2 = 0 THEN 'even' ELSE 'odd' END FROM FwItem WHERE RANK = 2"),
            0);
  ASSERT_GE(Db2QueryEx("INSERT INTO FwTag (ITEM_ID, TAG) SELECT ID, 'first' FROM FwItem WHERE RANK = 2 AND ID < 20"), 0);
  Db2Commit();
  CContentFilter even;
  even.SetWhere("FwItem.ID = FwTag.ITEM_ID AND FwTag.TAG = ?");
  even.AddWhereArg(u"even");
  even.SetOrderBy("NAME DESC, ID");  // both tables have an ID: terms are taken as the item's
  const std::vector<int> vcEven =
      Ids("SELECT FwItem.ID FROM FwItem, FwTag WHERE FwItem.ID = FwTag.ITEM_ID AND FwTag.TAG = 'even' "
          "ORDER BY FwItem.NAME DESC, FwItem.ID");
  auto pList = Open("FwDb/TaggedItem", even);
  ASSERT_EQ(pList->GetCount(), static_cast<int>(vcEven.size()));
  EXPECT_EQ(ListIds(*pList), vcEven);

  // Without the tag condition an item with two tags stands twice; both places read its row.
  CContentFilter anyTag;
  anyTag.SetWhere("FwItem.ID = FwTag.ITEM_ID");
  anyTag.SetOrderBy("ID");
  auto pAll = Open("FwDb/TaggedItem", anyTag);
  const std::vector<int> vcAll = ListIds(*pAll);
  EXPECT_EQ(vcAll, Ids("SELECT FwItem.ID FROM FwItem, FwTag WHERE FwItem.ID = FwTag.ITEM_ID ORDER BY FwItem.ID"));
  EXPECT_EQ(vcAll[0], 2);
  EXPECT_EQ(vcAll[1], 2);
  EXPECT_EQ(pAll->GetIndexWithID(2), 0);
}

TEST_F(ContentList, RowsWithoutTheirIdAndLimitedFilters) {
  // The filter names columns without the ID: rows are still placed right.
  CContentFilter namesOnly;
  namesOnly.SetWhere("RANK = ?");
  namesOnly.AddWhereArg(u"6");
  namesOnly.SetOrderBy("ID DESC");
  namesOnly.SetColumnNames({"NAME", "RANK"});
  auto pNames = Open("FwDb/Item", namesOnly);
  const std::vector<int> vcIds = Ids("SELECT ID FROM FwItem WHERE RANK = 6 ORDER BY ID DESC");
  ASSERT_EQ(pNames->GetCount(), static_cast<int>(vcIds.size()));
  CContent row;
  for (int nPos : {0, 1, 63, 64, 200, static_cast<int>(vcIds.size()) - 1}) {
    ASSERT_TRUE(pNames->GetAt(nPos, row));
    std::u16string strName;
    ASSERT_TRUE(row.GetString(0, strName));
    const int nId = vcIds[static_cast<size_t>(nPos)];
    char szName[16];
    std::snprintf(szName, sizeof(szName), "n%05d", (nId * 7919) % 10007);
    EXPECT_EQ(strName, std::u16string(szName, szName + 6));
  }

  // A where that ends in a limit bounds the list to the first rows of its order.
  CContentFilter limited;
  limited.SetWhere("RANK = ? LIMIT 10");
  limited.AddWhereArg(u"1");
  limited.SetOrderBy("NAME");
  auto pLimited = Open("FwDb/Item", limited);
  const std::vector<int> vcFirst = Ids("SELECT ID FROM FwItem WHERE RANK = 1 ORDER BY NAME LIMIT 10");
  ASSERT_EQ(vcFirst.size(), 10u);
  EXPECT_EQ(ListIds(*pLimited), vcFirst);
}

class ThreadsContentList : public ContentList {};

TEST_F(ThreadsContentList, WritersNotifyWhileAListIsRead) {
  CContentFilter filter;
  filter.SetOrderBy("ID");
  auto pList = Open("FwDb/Item", filter);
  std::thread writer([] {
    for (int i = 1; i <= 200; ++i) {
      CContentMgr::Instance()->Delete("FwDb/Item", i);
    }
  });
  CContent row;
  for (int i = 0; i < 400; ++i) {
    pList->GetAt(i * 7 % 4000, row);
    pList->GetIterator()->GetNext(row);
  }
  writer.join();
  EXPECT_EQ(pList->GetCount(), kRows - 200);
  ASSERT_TRUE(pList->GetAt(0, row));
  EXPECT_EQ(RowId(row), 201);
}

}  // namespace
