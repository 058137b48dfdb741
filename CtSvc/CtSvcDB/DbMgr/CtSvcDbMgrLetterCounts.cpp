// Counts of primaries per index letter, kept by triggers on the primary table.
#include "CtSvcDB/DbMgr/CtSvcDbMgrLetterCounts.h"

#include <atomic>
#include <string>
#include <vector>

#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

const char kTable[] = "CtSvcPrimaryLetterCount";
std::atomic<bool> g_bReady{false};

// One name order: its kind in the table and the letter column of the primary table.
struct Order {
  int nKind;
  const char* szColumn;
};
const Order kOrders[] = {{0, "FL_GROUP_LETTER"}, {1, "LF_GROUP_LETTER"}};

// Key columns are NOT NULL in a table without rowids: a missing letter counts as '' (never
// listed, as an empty letter is not) and a missing device type as -1 (no device filter picks it).
std::string Key(const Order& order, const char* szRow) {
  return std::to_string(order.nKind) + ", IFNULL(" + szRow + "." + order.szColumn + ", ''), IFNULL(" + szRow +
         ".DEVICE_TYPE, -1)";
}

std::string Add(const Order& order, const char* szRow) {
  return std::string("INSERT INTO ") + kTable + " (ORDER_KIND, LETTER, DEVICE_TYPE, CNT) VALUES (" +
         Key(order, szRow) + ", 1) ON CONFLICT DO UPDATE SET CNT = CNT + 1; ";
}

std::string Remove(const Order& order, const char* szRow) {
  return std::string("UPDATE ") + kTable + " SET CNT = CNT - 1 WHERE (ORDER_KIND, LETTER, DEVICE_TYPE) = (" +
         Key(order, szRow) + "); ";
}

std::string Each(std::string (*pfnPart)(const Order&, const char*), const char* szRow) {
  std::string strSql;
  for (const Order& order : kOrders) {
    strSql += pfnPart(order, szRow);
  }
  return strSql;
}

std::string TriggerName(const char* szSuffix) { return std::string(kTable) + szSuffix; }

// The statements that make the table, its triggers and its counts.
std::vector<std::string> CreateStatements() {
  const std::string strMoved = "old.FL_GROUP_LETTER IS NOT new.FL_GROUP_LETTER OR old.LF_GROUP_LETTER IS NOT "
                               "new.LF_GROUP_LETTER OR old.DEVICE_TYPE IS NOT new.DEVICE_TYPE";
  std::vector<std::string> vcSql = {
      std::string("DROP TABLE IF EXISTS ") + kTable,
      std::string("CREATE TABLE ") + kTable +
          " (ORDER_KIND INTEGER NOT NULL, LETTER TEXT NOT NULL COLLATE user1, DEVICE_TYPE INTEGER NOT NULL, "
          "CNT INTEGER NOT NULL, PRIMARY KEY (ORDER_KIND, LETTER, DEVICE_TYPE)) WITHOUT ROWID",
      "DROP TRIGGER IF EXISTS " + TriggerName("_ai"),
      "DROP TRIGGER IF EXISTS " + TriggerName("_ad"),
      "DROP TRIGGER IF EXISTS " + TriggerName("_au"),
      "CREATE TRIGGER " + TriggerName("_ai") + " AFTER INSERT ON CtSvcPrimary BEGIN " + Each(Add, "new") + "END",
      "CREATE TRIGGER " + TriggerName("_ad") + " AFTER DELETE ON CtSvcPrimary BEGIN " + Each(Remove, "old") + "END",
      "CREATE TRIGGER " + TriggerName("_au") + " AFTER UPDATE OF FL_GROUP_LETTER, LF_GROUP_LETTER, DEVICE_TYPE ON " +
          "CtSvcPrimary WHEN " + strMoved + " BEGIN " + Each(Remove, "old") + Each(Add, "new") + "END"};
  for (const Order& order : kOrders) {
    vcSql.push_back(std::string("INSERT INTO ") + kTable + " (ORDER_KIND, LETTER, DEVICE_TYPE, CNT) SELECT " +
                    Key(order, "p") + ", count(*) FROM CtSvcPrimary AS p GROUP BY 1, 2, 3");
  }
  return vcSql;
}

bool IsComplete() {
  const std::string strSql = std::string("SELECT count(*) FROM sqlite_master WHERE name IN ('") + kTable + "', '" +
                             TriggerName("_ai") + "', '" + TriggerName("_ad") + "', '" + TriggerName("_au") + "')";
  return Db2QueryEx("%s", strSql.c_str()) > 0 && Db2GetNextRow() > 0 && std::string(Db2GetColumn(0)) == "4";
}

}  // namespace

bool CtSvcLetterCountsReady() { return g_bReady.load(); }

bool CtSvcDropLetterCounts() {
  g_bReady = false;
  const std::string strSql = std::string("DROP TABLE IF EXISTS ") + kTable;
  if (Db2QueryEx("%s", strSql.c_str()) < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDropLetterCounts - %s failed : %s\n", strSql.c_str(), Db2GetLastError());
    return false;
  }
  return true;
}

bool CtSvcEnsureLetterCounts() {
  g_bReady = false;
  if (IsComplete()) {
    g_bReady = true;
    return true;
  }
  for (const std::string& strSql : CreateStatements()) {
    if (Db2QueryEx("%s", strSql.c_str()) < 0) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcEnsureLetterCounts - %s failed : %s\n", strSql.c_str(), Db2GetLastError());
      Db2Rollback();
      return false;
    }
  }
  const bool bCommitted = Db2Commit() != FALSE;
  g_bReady = bCommitted;
  DbgPrint(bCommitted ? DBG_CLASS_TRACE : DBG_CLASS_FAIL, "CtSvcEnsureLetterCounts - letter counts %s\n",
           bCommitted ? "made" : "not committed");
  return bCommitted;
}

std::string CtSvcLetterCountsSql(bool bLastFirst, int nDeviceType) {
  std::string strSql = std::string("SELECT LETTER, sum(CNT) FROM ") + kTable + " WHERE ORDER_KIND = " +
                       (bLastFirst ? "1" : "0");
  if (nDeviceType >= 0) {
    strSql += " AND DEVICE_TYPE = " + std::to_string(nDeviceType);
  }
  return strSql + " GROUP BY LETTER HAVING sum(CNT) > 0 ORDER BY LETTER";
}
