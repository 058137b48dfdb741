// The base handler's own statements on a real table: counts, containment, positions, ids.
#include "Db2TestSupport.h"
#include "ZelCoreTest.h"

using fwtest::ItemHandler;

namespace {

class Db2BaseHandler : public fwtest::Db2Test {
 protected:
  void SetUp() override {
    fwtest::Db2Test::SetUp();
    AddItems(1, 120);
  }
  static CContentFilter Filter(const std::string& strWhere, std::vector<std::u16string> vcArgs = {},
                               const std::string& strOrder = "") {
    CContentFilter filter;
    filter.SetWhere(strWhere);
    filter.SetWhereArg(vcArgs);
    filter.SetOrderBy(strOrder);
    return filter;
  }
  ItemHandler m_handler{"FwDb/Item", "FwItem", "ID", {"ID", "NAME", "RANK"}};
};

TEST_F(Db2BaseHandler, CountsWithBoundArgumentsAndAWhereThatEndsInALimit) {
  EXPECT_EQ(m_handler.GetCount(), 120);
  EXPECT_EQ(m_handler.GetBlockCount(), 3);  // ceil(120 / 50)
  const CContentFilter rank = Filter("RANK = ?", {u"3"});
  m_handler.SetFilter(&rank);
  EXPECT_EQ(m_handler.GetCount(), 17);
  EXPECT_EQ(m_handler.GetBlockCount(), 1);
  // The clause is used as it stands: a count of a limited where is still the full count.
  const CContentFilter limited = Filter("RANK = ? LIMIT 5", {u"3"});
  m_handler.SetFilter(&limited);
  EXPECT_EQ(m_handler.GetCount(), 17);
  const CContentFilter none = Filter("NAME = ?", {u"nobody"});
  m_handler.SetFilter(&none);
  EXPECT_EQ(m_handler.GetCount(), 0);
  EXPECT_EQ(m_handler.GetBlockCount(), 0);

  zel::test::LogCapture log;
  const CContentFilter bad = Filter("NO_SUCH_COLUMN = 1");
  m_handler.SetFilter(&bad);
  EXPECT_EQ(m_handler.GetCount(), -1);
  EXPECT_EQ(m_handler.GetBlockCount(), -1);
  EXPECT_TRUE(log.Contains("count of FwItem failed"));
}

TEST_F(Db2BaseHandler, ContainmentAndPositionFollowTheFilterAndItsOrder) {
  const CContentFilter rank = Filter("RANK = ?", {u"3"}, "NAME DESC");
  m_handler.SetFilter(&rank);
  const std::vector<int> vcOrder = Ids("SELECT ID FROM FwItem WHERE RANK = 3 ORDER BY NAME DESC");
  ASSERT_EQ(vcOrder.size(), 17u);
  for (size_t i = 0; i < vcOrder.size(); ++i) {
    EXPECT_TRUE(m_handler.IsContained(vcOrder[i]));
    EXPECT_EQ(m_handler.GetIndexWithID(vcOrder[i]), static_cast<int>(i));
  }
  EXPECT_FALSE(m_handler.IsContained(4));  // rank 4
  EXPECT_EQ(m_handler.GetIndexWithID(4), -1);
  EXPECT_FALSE(m_handler.IsContained(500));

  // A limited where holds only the first rows of its order.
  const CContentFilter firstThree = Filter("RANK = ? LIMIT 3", {u"3"}, "NAME DESC");
  m_handler.SetFilter(&firstThree);
  EXPECT_TRUE(m_handler.IsContained(vcOrder[2]));
  EXPECT_EQ(m_handler.GetIndexWithID(vcOrder[2]), 2);
  EXPECT_FALSE(m_handler.IsContained(vcOrder[3]));
  EXPECT_EQ(m_handler.GetIndexWithID(vcOrder[3]), -1);

  m_handler.SetFilter(nullptr);
  EXPECT_EQ(m_handler.GetFilter(), nullptr);
  EXPECT_TRUE(m_handler.IsContained(4));
  EXPECT_EQ(m_handler.GetIndexWithID(4), 3);  // no order: the table's order
}

TEST_F(Db2BaseHandler, KeepsACopyOfTheFilter) {
  {
    CContentFilter filter = Filter("RANK = ?", {u"1"}, "ID");
    filter.SetColumnNames({"NAME"});
    filter.SetHint("ITEM_IDX");
    m_handler.SetFilter(&filter);
  }
  ASSERT_NE(m_handler.GetFilter(), nullptr);
  EXPECT_EQ(m_handler.GetWhere(), "RANK = ?");
  EXPECT_EQ(m_handler.GetWhereArg(), std::vector<std::u16string>{u"1"});
  EXPECT_EQ(m_handler.GetHint(), "ITEM_IDX");
  EXPECT_EQ(m_handler.GetColumnNames(), std::vector<std::string>{"NAME"});
  m_handler.SetFilter(m_handler.GetFilter());  // setting its own filter again keeps it
  EXPECT_EQ(m_handler.GetWhere(), "RANK = ?");
  m_handler.SetFilter(nullptr);
  EXPECT_EQ(m_handler.GetWhere(), "");
  EXPECT_EQ(m_handler.GetColumnNames(), (std::vector<std::string>{"ID", "NAME", "RANK"}));
}

// The statement fragments are in every statement of the service's handlers (an update, a plain
// list delete); here the id of an input.
TEST_F(Db2BaseHandler, ContentIdIsTheIntegerOfTheIdColumn) {
  CContentInput input;
  EXPECT_EQ(m_handler.GetContentID(input), -1);
  input.SetNString("ID", u"12");
  EXPECT_EQ(m_handler.GetContentID(input), -1);  // not a number column
  input.SetInt("ID", 12);
  EXPECT_EQ(m_handler.GetContentID(input), 12);
  ItemHandler joined("FwDb/TaggedItem", "FwItem,FwTag", "FwItem.ID", {"FwItem.ID"});
  EXPECT_EQ(joined.GetContentID(input), 12);  // "ID" names the qualified ID column
  CContentInput other;
  other.SetInt("FwTag.ID", 3);
  EXPECT_EQ(joined.GetContentID(other), -1);
}

TEST_F(Db2BaseHandler, StatementGuardBindsTextAndRefusesSurplusArguments) {
  zel::test::LogCapture log;
  const std::vector<std::u16string> vcArgs{u"n07919", u""};
  {
    CDb2Statement stmt("SELECT ID FROM FwItem WHERE NAME = ? OR NAME = ?");
    ASSERT_TRUE(stmt.BindText16(vcArgs));
    ASSERT_EQ(stmt.Execute(), 1);
    int32_t nId = 0;
    ASSERT_TRUE(stmt.Fetch());
    EXPECT_TRUE(stmt.GetInt(0, nId));
    EXPECT_EQ(nId, 1);
    EXPECT_FALSE(stmt.GetInt(1, nId));
    EXPECT_FALSE(stmt.Fetch());
  }
  {
    CDb2Statement stmt("SELECT ID FROM FwItem WHERE NAME = ?");
    EXPECT_FALSE(stmt.BindText16(vcArgs));
    EXPECT_FALSE(stmt.BindText16({u"x"}, 1));
  }
  CDb2Statement broken("SELECT FROM WHERE");
  EXPECT_FALSE(broken.IsValid());
  EXPECT_FALSE(broken.BindText16(vcArgs));
  EXPECT_LT(broken.Execute(), 0);
  EXPECT_FALSE(broken.Fetch());
  EXPECT_TRUE(log.Contains("Db2StmtCreate failed(SELECT FROM WHERE)"));
}

}  // namespace
