// Without statistics SQLite takes an equality on the leading column of an index to select about
// ten rows. PRIMARY_IDX3 is led by DEVICE_TYPE, which has two values: a primary list of the phone's
// contacts ("DEVICE_TYPE = 1 ... ORDER BY FL_FULLNAME, DEVICE_TYPE, ID") would then read every
// primary through PRIMARY_IDX3 and sort them all, instead of walking PRIMARY_IDX1 in its order.
// The row below tells the planner what the index really is like: DEVICE_TYPE splits the table in
// two, the account and the link count narrow it further. The table size stays SQLite's own
// default guess, so no other estimate moves. (sqlite_stat1 is SQLite's statistics table; ANALYZE
// of the schema table creates it and loads what it holds.) PRIMARY_IDX6/7, led by DEVICE_TYPE and
// then the name, get the same first figure.
#include "CtSvcDbPlanStats.h"

#include <cstring>

#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

struct PlanStat {
  const char* szTable;
  const char* szIndex;
  const char* szStat;  // rows of the table, then rows per value of 1, 2, ... leading columns
};

const PlanStat kPlanStats[] = {
    {"CtSvcPrimary", "PRIMARY_IDX3", "1048576 524288 52429 10486"},
    // The device-type lists' own indexes: also split in two by DEVICE_TYPE, so that a favourites
    // list keeps PRIMARY_IDX5.
    {"CtSvcPrimary", "PRIMARY_IDX6", "1048576 524288 2 1"},
    {"CtSvcPrimary", "PRIMARY_IDX7", "1048576 524288 2 1"},
};

bool HasStat(const PlanStat& stat) {
  if (Db2QueryEx("SELECT stat FROM sqlite_stat1 WHERE tbl = '%s' AND idx = '%s'", stat.szTable, stat.szIndex) < 0) {
    return false;
  }
  return Db2GetNextRow() > 0 && std::strcmp(Db2GetColumn(0), stat.szStat) == 0;
}

}  // namespace

bool CtSvcWritePlanStats() {
  if (Db2CheckTable("sqlite_stat1") == 0 && Db2QueryEx("ANALYZE sqlite_master") < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcWritePlanStats - the statistics table cannot be made\n");
    return false;
  }
  bool bWritten = false;
  for (const PlanStat& stat : kPlanStats) {
    if (HasStat(stat)) {
      continue;
    }
    if (Db2QueryEx("DELETE FROM sqlite_stat1 WHERE tbl = '%s' AND idx = '%s'", stat.szTable, stat.szIndex) < 0 ||
        Db2QueryEx("INSERT INTO sqlite_stat1 (tbl, idx, stat) VALUES ('%s', '%s', '%s')", stat.szTable, stat.szIndex,
                   stat.szStat) < 0) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcWritePlanStats - %s cannot be recorded\n", stat.szIndex);
      return false;
    }
    bWritten = true;
  }
  // Loads the statistics just written.
  return !bWritten || Db2QueryEx("ANALYZE sqlite_master") >= 0;
}
