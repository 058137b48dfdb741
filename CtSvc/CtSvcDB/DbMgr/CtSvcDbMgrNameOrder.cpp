// Bringing an older store to the name order: column declarations and index letters.
//
// A declared collation lives only in the table's CREATE TABLE text, which SQLite cannot alter. The
// text is rewritten in SQLite's schema table (writable_schema, then a new schema version so every
// connection reads it again) and the table's indexes are rebuilt by REINDEX: the rows do not
// change, only the order of the index entries. Rebuilding the table instead would drop its
// full-text indexes with it.
#include "CtSvcDbMgrNameOrder.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcDb2Stmt.h"
#include "CtSvcDB/Records/CtSvcRecordBase.h"
#include "CtSvcDB/Tables/CtSvcDbTable.h"
#include "ZelCollate.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

constexpr char kLettersModule[] = "CtSvc.letters";

std::string FirstText(const std::string& strSql) {
  if (Db2QueryEx("%s", strSql.c_str()) < 0 || Db2GetNextRow() <= 0) {
    return std::string();
  }
  return Db2GetColumn(0);
}

// The column's declaration as an older store wrote it: " NAME  NVARCHAR(a,b)".
std::string OldDeclaration(const CtSvcColumnDesc& col) {
  return " " + std::string(col.szName) + "  " + col.szType + "(" + std::to_string(col.nSizeA) + "," +
         std::to_string(col.nSizeB) + ")";
}

bool Run(const std::string& strSql) {
  if (Db2QueryEx("%s", strSql.c_str()) < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDeclareNameOrder - %s failed : %s\n", strSql.c_str(), Db2GetLastError());
    return false;
  }
  return true;
}

bool RefreshTable(CCtSvcDbTable& table, int nFlName, int nFlGroup, int nFlLetter, int nLfName, int nLfGroup,
                  int nLfLetter) {
  struct Change {
    int nId;
    std::u16string fl;
    std::u16string lf;
  };
  std::vector<Change> changes;
  {
    CCtSvcDb2Stmt stmt(std::string("SELECT ID, ") + table.GetColumnName(nFlName) + ", " + table.GetColumnName(nFlLetter) +
                       ", " + table.GetColumnName(nLfName) + ", " + table.GetColumnName(nLfLetter) + " FROM " +
                       table.GetTableName());
    const int nRows = stmt.IsValid() ? Db2StmtExecute(stmt.Get()) : -1;
    if (nRows < 0) {
      return false;
    }
    for (int i = 0; i < nRows && Db2StmtGetNextRow(stmt.Get()) > 0; ++i) {
      CContent row;
      CtSvcReadRow(stmt.Get(), row);
      int32_t nId = 0;
      std::u16string strFl, strFlLetter, strLf, strLfLetter;
      row.GetInt(0, nId);
      row.GetString(1, strFl);
      row.GetString(2, strFlLetter);
      row.GetString(3, strLf);
      row.GetString(4, strLfLetter);
      const std::u16string fl = CCtSvcRecord::_GetNameLetters(strFl);
      const std::u16string lf = CCtSvcRecord::_GetNameLetters(strLf);
      if (fl != strFlLetter || lf != strLfLetter) {
        changes.push_back(Change{nId, fl, lf});
      }
    }
  }
  const std::string strUpdate = std::string("UPDATE ") + table.GetTableName() + " SET " +
                                table.GetColumnName(nFlGroup) + " = ?, " + table.GetColumnName(nFlLetter) + " = ?, " +
                                table.GetColumnName(nLfGroup) + " = ?, " + table.GetColumnName(nLfLetter) +
                                " = ? WHERE ID = ?";
  for (const Change& change : changes) {
    CCtSvcDb2Stmt stmt(strUpdate);
    CCtSvcStmtBinder binder(stmt.Get());
    binder.BindText(change.fl.substr(0, 1));
    binder.BindText(change.fl);
    binder.BindText(change.lf.substr(0, 1));
    binder.BindText(change.lf);
    binder.BindInt(change.nId);
    if (!stmt.IsValid() || Db2StmtExecute(stmt.Get()) < 0) {
      return false;
    }
  }
  DbgPrint(DBG_CLASS_TRACE, "CtSvcRefreshNameLetters - %zu letters of %s changed\n", changes.size(),
           table.GetTableName());
  return true;
}

}  // namespace

bool CtSvcDeclareNameOrder(CCtSvcDbTable& table) {
  const std::string strSql = FirstText(std::string("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = '") +
                                       table.GetTableName() + "' COLLATE NOCASE");
  std::string strNew = strSql;
  for (int i = 0; i < table.GetColumnCount(); ++i) {
    const CtSvcColumnDesc* pCol = table.GetColumnDesc(i);
    if (pCol == nullptr || pCol->szCollation == nullptr) {
      continue;
    }
    const std::string strOld = OldDeclaration(*pCol);
    const size_t nAt = strNew.find(strOld);
    if (nAt == std::string::npos) {
      continue;  // declared already (or not a column this library wrote)
    }
    const size_t nEnd = nAt + strOld.size();
    if (strNew.compare(nEnd, 9, " COLLATE ") != 0) {
      strNew.insert(nEnd, std::string(" COLLATE ") + pCol->szCollation);
    }
  }
  if (strNew == strSql) {
    return true;
  }
  const int nSchemaVersion = std::atoi(FirstText("PRAGMA schema_version").c_str());
  std::string strQuoted;
  for (char c : strNew) {
    strQuoted += c == '\'' ? std::string("''") : std::string(1, c);
  }
  // All or nothing: a declaration without its rebuilt indexes would be a damaged store.
  if (!Run("SAVEPOINT ctsvc_name_order")) {
    return false;
  }
  bool bOk = Run("PRAGMA writable_schema = ON") &&
             Run("UPDATE sqlite_master SET sql = '" + strQuoted + "' WHERE type = 'table' AND name = '" +
                 table.GetTableName() + "' COLLATE NOCASE") &&
             Run("PRAGMA schema_version = " + std::to_string(nSchemaVersion + 1));
  Run("PRAGMA writable_schema = OFF");
  bOk = bOk && Run(std::string("REINDEX ") + table.GetTableName());
  if (!bOk) {
    Run("ROLLBACK TO ctsvc_name_order");
  }
  Run("RELEASE ctsvc_name_order");
  if (!bOk) {
    return false;
  }
  DbgPrint(DBG_CLASS_TRACE, "CtSvcDeclareNameOrder - %s now declares the name order\n", table.GetTableName());
  return true;
}

bool CtSvcRefreshNameLetters(CCtSvcDbTable& person, CCtSvcDbTable& primary) {
  char szRecorded[128] = {};
  const std::string strIdentity = ZelCollateIdentity();
  if (Db2GetSchemaVer(kLettersModule, szRecorded, sizeof(szRecorded)) && strIdentity == szRecorded) {
    return true;
  }
  const bool bOk =
      RefreshTable(person, CTSVC_DB_PERSON_COLUMN_FL_FULLNAME, CTSVC_DB_PERSON_COLUMN_FL_GROUP_LETTER,
                   CTSVC_DB_PERSON_COLUMN_FL_LETTER, CTSVC_DB_PERSON_COLUMN_LF_FULLNAME,
                   CTSVC_DB_PERSON_COLUMN_LF_GROUP_LETTER, CTSVC_DB_PERSON_COLUMN_LF_LETTER) &&
      RefreshTable(primary, CTSVC_DB_PRIMARY_COLUMN_FL_FULLNAME, CTSVC_DB_PRIMARY_COLUMN_FL_GROUP_LETTER,
                   CTSVC_DB_PRIMARY_COLUMN_FL_LETTER, CTSVC_DB_PRIMARY_COLUMN_LF_FULLNAME,
                   CTSVC_DB_PRIMARY_COLUMN_LF_GROUP_LETTER, CTSVC_DB_PRIMARY_COLUMN_LF_LETTER) &&
      Db2SetSchemaVer(kLettersModule, strIdentity.c_str());
  if (!bOk) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcRefreshNameLetters - the letters could not be brought to %s\n", strIdentity.c_str());
  }
  return bOk;
}
