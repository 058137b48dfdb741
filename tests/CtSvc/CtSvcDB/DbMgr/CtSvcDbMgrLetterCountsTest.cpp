// The primary list's letters with their counts, read from the counts the store keeps, equal what
// grouping the primaries gives after any mix of writes, and a store without the counts (an
// earlier version, or one whose counting was cut short) gets them at its next start.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>
#include <string>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtSvcTestEnv.h"
#include "StoreReader.h"
#include "ZelCoreTest.h"
#include "ZelDb2.h"

namespace {

// (letter's code point, count) pairs in list order.
using Letters = std::vector<std::pair<int, int>>;

// Letters of generated names: Latin, an accented capital, Hangul initial consonants, a digit
// group, and the empty and missing letters no list shows.
const char* const kLetters[] = {"'A'", "'B'", "'K'", "'Z'", "'É'", "'ㄱ'", "'ㅎ'", "'#'", "''", "NULL"};
const char* const kDeviceTypes[] = {"0", "1", "2", "NULL"};

class CtSvcDbMgrLetterCounts : public ctsvc_test::SchemaTest {
 protected:
  std::string Pick(const char* const* ppValues, size_t nCount) { return ppValues[m_random() % nCount]; }
  std::string Letter() { return Pick(kLetters, std::size(kLetters)); }
  std::string DeviceType() { return Pick(kDeviceTypes, std::size(kDeviceTypes)); }
  std::string RandomId() { return std::to_string(1 + m_random() % static_cast<unsigned>(m_nNextId)); }

  // An insert, a change of either letter or of the device type (or of nothing that counts), or a delete.
  std::string RandomWriteSql() {
    switch (m_random() % 6) {
      case 0:
      case 1:
        return "INSERT INTO CtSvcPrimary (ID, DEVICE_TYPE, FL_GROUP_LETTER, LF_GROUP_LETTER) VALUES (" +
               std::to_string(m_nNextId++) + ", " + DeviceType() + ", " + Letter() + ", " + Letter() + ")";
      case 2:
        return "UPDATE CtSvcPrimary SET FL_GROUP_LETTER = " + Letter() + " WHERE ID = " + RandomId();
      case 3:
        return "UPDATE CtSvcPrimary SET LF_GROUP_LETTER = " + Letter() + ", DEVICE_TYPE = " + DeviceType() +
               " WHERE ID = " + RandomId();
      case 4:
        return "UPDATE CtSvcPrimary SET FAVORITE = 1 - FAVORITE WHERE ID = " + RandomId();
      default:
        return "DELETE FROM CtSvcPrimary WHERE ID = " + RandomId();
    }
  }
  void RandomWrites(int nWrites) {
    for (int i = 0; i < nWrites; ++i) {
      const std::string strSql = RandomWriteSql();
      ASSERT_GE(Db2QueryEx("%s", strSql.c_str()), 0) << strSql;
    }
  }

  static Letters Served(int nIndexType, int nDeviceType) {
    CtSvcPrimaryFilter filter;
    CtSvcPrimaryFilterInit(&filter);
    filter.FilterIndexType = nIndexType;
    filter.DevType = nDeviceType;
    MCHAR aLetters[64] = {};
    INT32 aCounts[64] = {};
    const int nLetters = CtSvcDbPrimaryGetGroupLetters(&filter, aLetters, aCounts, 64);
    Letters letters;
    for (int i = 0; i < nLetters; ++i) {
      letters.emplace_back(aLetters[i], aCounts[i]);
    }
    return nLetters < 0 ? Letters{{-1, -1}} : letters;
  }

  // What grouping the primaries gives, through this connection (its open work included).
  static Letters Grouped(int nIndexType, int nDeviceType) {
    const char* pszColumn = nIndexType == CTSVC_FILTER_INDEX_LAST_FIRST ? "LF_GROUP_LETTER" : "FL_GROUP_LETTER";
    const std::string strWhere = nDeviceType == 1 || nDeviceType == 2
                                     ? " WHERE DEVICE_TYPE = " + std::to_string(nDeviceType)
                                     : std::string();
    const std::string strSql = std::string("SELECT unicode(") + pszColumn + "), count(*) FROM CtSvcPrimary" +
                               strWhere + " GROUP BY " + pszColumn + " COLLATE user1 ORDER BY " + pszColumn;
    Letters letters;
    EXPECT_GE(Db2QueryEx("%s", strSql.c_str()), 0);
    while (Db2GetNextRow() > 0) {
      const std::string strLetter = Db2GetColumn(0);  // "" for a missing or empty letter
      if (!strLetter.empty()) {
        letters.emplace_back(std::stoi(strLetter), std::stoi(Db2GetColumn(1)));
      }
    }
    return letters;
  }
  void ExpectServedEqualsGrouped(const std::string& strWhen) {
    for (int nIndexType : {CTSVC_FILTER_INDEX_FIRST_LAST, CTSVC_FILTER_INDEX_LAST_FIRST}) {
      for (int nDeviceType : {0, 1, 2}) {
        ASSERT_EQ(Served(nIndexType, nDeviceType), Grouped(nIndexType, nDeviceType))
            << strWhen << ", order " << nIndexType << ", device type " << nDeviceType;
      }
    }
  }

  // Runs sql on a connection of its own, as another process writes the store. It knows the name
  // order only, so it changes letters (which no full-text index follows).
  void ExecOnAnotherConnection(const std::string& strSql) const {
    sqlite3* pDb = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(DbPath().c_str(), &pDb));
    ctsvc_test::UseNameOrder(pDb);
    sqlite3_busy_timeout(pDb, 5000);
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(pDb, strSql.c_str(), nullptr, nullptr, nullptr)) << sqlite3_errmsg(pDb);
    sqlite3_close(pDb);
  }

  void Restart() {
    CCtSvcDbMgr::DestroyInstance();
    Db2Close();
    ASSERT_EQ(DB2_OK, Db2Open(DbPath().c_str()));
    ASSERT_TRUE(CCtSvcDbMgr::Instance()->Initialize());
  }

  std::mt19937 m_random{7};
  int m_nNextId = 1;
};

// Rounds of this connection's writes (committed, rolled back, or still open when the letters are
// read) and of another connection's, each followed by every order and device filter.
TEST_F(CtSvcDbMgrLetterCounts, CountedLettersEqualTheGroupedPrimariesAfterAnyWrites) {
  zel::test::LogCapture log;
  for (int nRound = 0; nRound < 12; ++nRound) {
    ASSERT_NO_FATAL_FAILURE(RandomWrites(60));
    switch (nRound % 4) {
      case 0:
        ASSERT_NO_FATAL_FAILURE(ExpectServedEqualsGrouped("open writes"));
        ASSERT_TRUE(Db2Commit());
        break;
      case 1:
        ASSERT_TRUE(Db2Rollback());
        break;
      case 2: {
        ASSERT_TRUE(Db2Commit());
        std::string strSql = "BEGIN;";
        for (int i = 0; i < 40; ++i) {
          strSql += "UPDATE CtSvcPrimary SET FL_GROUP_LETTER = " + Letter() + ", LF_GROUP_LETTER = " + Letter() +
                    " WHERE ID = " + RandomId() + ";";
        }
        ASSERT_NO_FATAL_FAILURE(ExecOnAnotherConnection(strSql + "COMMIT"));
        break;
      }
      default:
        ASSERT_TRUE(Db2Commit());
    }
    ASSERT_NO_FATAL_FAILURE(ExpectServedEqualsGrouped("round " + std::to_string(nRound)));
  }
  EXPECT_FALSE(log.Contains("CtSvcDbPrimaryGetGroupLetters - Db2StmtGetNextRow < 1"));
  // The rounds left letters in every order and device type.
  EXPECT_GT(Served(CTSVC_FILTER_INDEX_LAST_FIRST, 2).size(), 5u);
}

// A store without the counts, or with a trigger missing and the counts wrong, is counted again at
// its next start; a store with them is left as it is.
TEST_F(CtSvcDbMgrLetterCounts, AStoreWithoutWholeCountsIsCountedAtItsNextStart) {
  ASSERT_NO_FATAL_FAILURE(RandomWrites(200));
  ASSERT_TRUE(Db2Commit());
  // An earlier version's store has neither table nor triggers; a primary table made again has
  // lost its triggers.
  for (const char* pszDamage : {"DROP TRIGGER CtSvcPrimaryLetterCount_ai; DROP TRIGGER CtSvcPrimaryLetterCount_ad; "
                                "DROP TRIGGER CtSvcPrimaryLetterCount_au; DROP TABLE CtSvcPrimaryLetterCount",
                                "DROP TRIGGER CtSvcPrimaryLetterCount_au", "DROP TRIGGER CtSvcPrimaryLetterCount_ai"}) {
    ASSERT_NO_FATAL_FAILURE(ExecOnAnotherConnection(pszDamage));
    Db2QueryEx("UPDATE CtSvcPrimaryLetterCount SET CNT = CNT + 3");  // fails when the table is gone
    ASSERT_NO_FATAL_FAILURE(RandomWrites(30));  // made while the counts are not kept
    ASSERT_TRUE(Db2Commit());
    zel::test::LogCapture log;
    ASSERT_NO_FATAL_FAILURE(Restart());
    EXPECT_TRUE(log.Contains("CtSvcEnsureLetterCounts - letter counts made")) << pszDamage;
    ASSERT_NO_FATAL_FAILURE(ExpectServedEqualsGrouped(std::string("after ") + pszDamage));
  }
  zel::test::LogCapture log;
  ASSERT_NO_FATAL_FAILURE(Restart());
  EXPECT_FALSE(log.Contains("letter counts made"));
  const ctsvc_test::StoreReader store(DbPath());
  EXPECT_EQ(3, store.Int("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND name LIKE "
                         "'CtSvcPrimaryLetterCount%'"));
  // The letters of the list are those counts: made wrong, they read wrong.
  ASSERT_GE(Db2QueryEx("UPDATE CtSvcPrimaryLetterCount SET CNT = CNT + 1"), 1);
  EXPECT_NE(Served(CTSVC_FILTER_INDEX_FIRST_LAST, 0), Grouped(CTSVC_FILTER_INDEX_FIRST_LAST, 0));
  ASSERT_TRUE(Db2Rollback());
  // Other filters group the primaries as before.
  CtSvcPrimaryFilter favourites;
  CtSvcPrimaryFilterInit(&favourites);
  favourites.FavoriteType = 1;
  MCHAR aLetters[64] = {};
  INT32 aCounts[64] = {};
  EXPECT_GT(CtSvcDbPrimaryGetGroupLetters(&favourites, aLetters, aCounts, 64), 0);
  int nFavourites = 0;
  for (int i = 0; i < 64; ++i) {
    nFavourites += aCounts[i];
  }
  EXPECT_EQ(store.Int("SELECT count(*) FROM CtSvcPrimary WHERE FAVORITE = 1 AND FL_GROUP_LETTER <> ''"), nFavourites);
}

}  // namespace
