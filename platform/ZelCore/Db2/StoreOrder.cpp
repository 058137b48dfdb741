// Indexes whose order depends on code outside the file: B-tree indexes on user1 columns (the
// platform language's name order) and full-text indexes of the word tokenizer (its folding). Each
// store records the identity of both in sysschema_versions; a store opened with another identity
// gets those indexes rebuilt before anything reads them.
#include "StoreOrder.h"

#include <string>
#include <vector>

#include "FtsRanked.h"
#include "FtsTokenizer.h"
#include "ZelCollate.h"
#include "ZelDebug.h"

namespace zel::db2 {

namespace {

const char kWho[] = "Db2Open";
const char kCollationModule[] = "db2.collation.user1";
const char kTokenizerModule[] = "db2.tokenizer.simplex";

bool Exec(sqlite3* pDb, const std::string& sql) {
  if (sqlite3_exec(pDb, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    DbgPrint(DBG_CLASS_FAIL, "%s - %s : %s\n", kWho, sql.c_str(), sqlite3_errmsg(pDb));
    return false;
  }
  return true;
}

// Rows of a query, each as its column texts.
std::vector<std::vector<std::string>> Rows(sqlite3* pDb, const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  sqlite3_stmt* pStmt = nullptr;
  if (sqlite3_prepare_v2(pDb, sql.c_str(), -1, &pStmt, nullptr) == SQLITE_OK) {
    while (sqlite3_step(pStmt) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int i = 0; i < sqlite3_column_count(pStmt); ++i) {
        const unsigned char* psz = sqlite3_column_text(pStmt, i);
        row.emplace_back(psz != nullptr ? reinterpret_cast<const char*>(psz) : "");
      }
      rows.push_back(std::move(row));
    }
  }
  sqlite3_finalize(pStmt);
  return rows;
}

std::string Recorded(sqlite3* pDb, const char* pszModule) {
  const auto rows =
      Rows(pDb, "SELECT version FROM sysschema_versions WHERE module = " + QuotedSql(pszModule, '\''));
  return rows.empty() ? std::string() : rows[0][0];
}

bool Record(sqlite3* pDb, const char* pszModule, const std::string& identity) {
  return Exec(pDb, "INSERT OR REPLACE INTO sysschema_versions (module, version) VALUES (" +
                       QuotedSql(pszModule, '\'') + ", " + QuotedSql(identity, '\'') + ")");
}

// Empties each word-tokenized index and fills it again from the rows meeting its condition
// (a ranked index is renumbered, which refills it).
bool RebuildWordIndexes(sqlite3* pDb) {
  const auto indexes = Rows(pDb,
                            "SELECT ftsname, tablename, colname, rowcondition FROM sysirs_indexes AS i WHERE tokenizer = " +
                                QuotedSql(kWordTokenizer, '\'') +
                                " AND NOT EXISTS (SELECT 1 FROM sysirs_orders AS o WHERE o.groupname = i.groupname "
                                "AND o.idxname = i.idxname)");
  for (const auto& ix : indexes) {
    const std::string fts = QuotedSql(ix[0], '"');
    const std::string col = QuotedSql(ix[2], '"');
    if (!Exec(pDb, "INSERT INTO " + fts + " (" + fts + ") VALUES ('delete-all')") ||
        !Exec(pDb, "INSERT INTO " + fts + " (rowid, " + col + ") SELECT rowid, " + col + " FROM " +
                       QuotedSql(ix[1], '"') + (ix[3].empty() ? "" : " WHERE (" + ix[3] + ")"))) {
      return false;
    }
  }
  return RebuildRankedIndexes(pDb);
}

struct OrderedIndexes {
  const char* pszModule;
  std::string identity;
  bool (*rebuild)(sqlite3*);
  const char* pszWhat;
};

}  // namespace

void RefreshOrderedIndexes(sqlite3* pDb) {
  const OrderedIndexes kinds[] = {
      {kCollationModule, ZelCollateIdentity(), [](sqlite3* p) { return Exec(p, "REINDEX user1") && RebuildRankedIndexes(p); },
       "name-ordered indexes"},
      {kTokenizerModule, WordTokenizerIdentity(), RebuildWordIndexes, "full-text indexes"},
  };
  for (const OrderedIndexes& kind : kinds) {
    if (Recorded(pDb, kind.pszModule) == kind.identity) {
      continue;
    }
    // Another process may be doing the same: decide again under the write lock.
    if (!Exec(pDb, "BEGIN IMMEDIATE")) {
      continue;  // a read-only store keeps its indexes
    }
    const std::string recorded = Recorded(pDb, kind.pszModule);
    const bool bDone = recorded == kind.identity ||
                       (kind.rebuild(pDb) && Record(pDb, kind.pszModule, kind.identity));
    if (bDone && Exec(pDb, "COMMIT")) {
      if (recorded != kind.identity) {
        DbgPrint(DBG_CLASS_TRACE, "%s - %s rebuilt for %s (were %s)\n", kWho, kind.pszWhat, kind.identity.c_str(),
                 recorded.empty() ? "unrecorded" : recorded.c_str());
      }
    } else {
      Exec(pDb, "ROLLBACK");
    }
  }
}

}  // namespace zel::db2
