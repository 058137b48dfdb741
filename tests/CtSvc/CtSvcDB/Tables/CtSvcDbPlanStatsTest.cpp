// The planner statistics written at start-up: a list of the phone's primaries walks the name index
// instead of sorting every primary, a selective condition still uses its own index, and the
// statistics are written once.
#include <gtest/gtest.h>

#include <string>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcModule.h"
#include "CtSvcTestEnv.h"
#include "ZelDb2.h"

namespace {

class CtSvcDbPlanStats : public ctsvc_test::ServiceTest {
 protected:
  // The details of SQLite's plan of a statement, one line per step.
  static std::string Plan(const std::string& strSql) {
    std::string strPlan;
    EXPECT_GE(Db2QueryEx("EXPLAIN QUERY PLAN %s", strSql.c_str()), 0) << strSql;
    while (Db2GetNextRow() > 0) {
      strPlan += std::string(Db2GetColumn(3)) + "\n";
    }
    return strPlan;
  }
  static int StatRows() {
    return Db2QueryEx("SELECT count(*) FROM sqlite_stat1 WHERE idx = 'PRIMARY_IDX3'") >= 0 && Db2GetNextRow() > 0
               ? std::stoi(Db2GetColumn(0))
               : -1;
  }
};

TEST_F(CtSvcDbPlanStats, PhoneListWalksTheNameIndexAndFavouritesKeepTheirs) {
  // One device type: its own name index in its order, no sort; every type: the name index.
  const struct {
    const char* pszSql;
    const char* pszIndex;
  } kLists[] = {
      {"SELECT ID FROM CtSvcPrimary WHERE CtSvcPrimary.DEVICE_TYPE = 1 ORDER BY FL_FULLNAME, DEVICE_TYPE, ID",
       "PRIMARY_IDX6"},
      {"SELECT ID FROM CtSvcPrimary WHERE CtSvcPrimary.DEVICE_TYPE = 2 ORDER BY LF_FULLNAME, DEVICE_TYPE, ID",
       "PRIMARY_IDX7"},
      {"SELECT ID FROM CtSvcPrimary ORDER BY FL_FULLNAME, DEVICE_TYPE, ID", "PRIMARY_IDX1"},
  };
  for (const auto& list : kLists) {
    const std::string strPlan = Plan(list.pszSql);
    EXPECT_NE(std::string::npos, strPlan.find(std::string("COVERING INDEX ") + list.pszIndex)) << strPlan;
    EXPECT_EQ(std::string::npos, strPlan.find("TEMP B-TREE")) << strPlan;
  }
  const std::string strFavourites = Plan(
      "SELECT ID FROM CtSvcPrimary WHERE CtSvcPrimary.DEVICE_TYPE = 1 and CtSvcPrimary.FAVORITE = 2 "
      "ORDER BY FL_FULLNAME, DEVICE_TYPE, ID");
  EXPECT_NE(std::string::npos, strFavourites.find("PRIMARY_IDX5")) << strFavourites;
  EXPECT_NE(std::string::npos, Plan("SELECT ID FROM CtSvcPrimary WHERE DEVICE_TYPE = 2 AND FIRST_ACCOUNT_ID = 3")
                                   .find("PRIMARY_IDX3"));
}

// A fast-scroll position counts a range of the letter index, in either name order, with or without
// the device type; a store made before that index existed gets it at its next start.
TEST_F(CtSvcDbPlanStats, FastScrollCountsARangeOfTheLetterIndex) {
  for (const char* pszSql : {"SELECT count(*) FROM ctsvcprimary WHERE fl_letter < 'K' ORDER BY fl_letter",
                             "SELECT count(*) FROM ctsvcprimary WHERE lf_letter < 'K' AND device_type = 1 "
                             "ORDER BY lf_letter"}) {
    const std::string strPlan = Plan(pszSql);
    EXPECT_NE(std::string::npos, strPlan.find("COVERING INDEX PRIMARY_FF_IDX")) << strPlan;
    EXPECT_NE(std::string::npos, strPlan.find("_LETTER<?)")) << strPlan;
  }
  ASSERT_GE(Db2QueryEx("DROP INDEX PRIMARY_FF_IDX2"), 0);
  CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0);
  CCtSvcDbMgr::DestroyInstance();
  CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0);
  EXPECT_EQ(1, Db2QueryEx("SELECT 1 FROM sqlite_master WHERE name = 'PRIMARY_FF_IDX2'"));
}

TEST_F(CtSvcDbPlanStats, WrittenOnce) {
  EXPECT_EQ(1, StatRows());
  CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0);
  CCtSvcDbMgr::DestroyInstance();
  CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0);
  EXPECT_EQ(1, StatRows());
}

}  // namespace
