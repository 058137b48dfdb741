// A fresh platform database per test, and a concrete handler over real tables for the base
// handler and list tests: FwItem(ID, NAME, RANK), optionally joined with FwTag(ID, ITEM_ID, TAG).
#ifndef ZEL_FW_TEST_DB2_SUPPORT_H
#define ZEL_FW_TEST_DB2_SUPPORT_H

#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "ContentFramework.h"
#include "Db2Statement.h"
#include "ZelDb2.h"
#include "ZelFm.h"

namespace fwtest {

class ItemHandler : public CContentDb2MgrBaseHandler {
 public:
  // Every GetContents call of every handler, so tests can see how a list reads.
  static std::atomic<int> s_nGetContentsCalls;

  ItemHandler(std::string strUri, std::string strTable, std::string strIdColumn, std::vector<std::string> vcColumns)
      : m_strUri(std::move(strUri)),
        m_strTable(std::move(strTable)),
        m_strIdColumn(std::move(strIdColumn)),
        m_vcAllColumns(std::move(vcColumns)) {}

  bool GetContents(int nFirstRow, int nRowCount, std::vector<CContent>& vcContents) override {
    ++s_nGetContentsCalls;
    std::string strSql = "SELECT " + JoinNames(GetColumnNames()) + " FROM " + m_strTable;
    if (!GetWhere().empty()) {
      strSql += " WHERE " + GetWhere();
    }
    if (!m_Filter.GetOrderBy().empty()) {
      strSql += " ORDER BY " + m_Filter.GetOrderBy();
    }
    strSql += " LIMIT " + std::to_string(nFirstRow) + ", " + std::to_string(nRowCount);
    const std::vector<std::u16string> vcArgs = GetWhereArg();
    CDb2Statement stmt(strSql);
    if (!stmt.BindText16(vcArgs) || stmt.Execute() < 0) {
      return false;
    }
    const size_t nBefore = vcContents.size();
    while (stmt.Fetch()) {
      vcContents.push_back(ReadRow(stmt.GetHandle()));
    }
    return vcContents.size() > nBefore;
  }
  int GetBatchSize() override { return 50; }
  std::string GetIDColumnName() override { return m_strIdColumn; }
  std::string GetTableName() override { return m_strTable; }
  std::string GetSequenceKeyName() override { return ""; }
  std::vector<int> GetColumnTypes() override { return {}; }

  int Insert(CContentInput& input) override {
    const std::vector<std::string> vcNames = input.GetColumnNames();
    std::string strMarks;
    for (size_t i = 0; i < vcNames.size(); ++i) {
      strMarks += i == 0 ? "?" : ", ?";
    }
    CDb2Statement stmt("INSERT INTO " + m_strTable + " (" + JoinNames(vcNames) + ") VALUES (" + strMarks + ")");
    std::vector<int32_t> vcInts(vcNames.size());
    if (!stmt.IsValid() || !BindInput(stmt.GetHandle(), input, vcInts) || stmt.Execute() < 0) {
      Db2Rollback();
      return -1;
    }
    Db2Commit();
    return GetContentID(input);
  }
  bool Insert(std::vector<CContentInput>&) override { return false; }
  bool Insert(std::vector<std::pair<std::string, CContentInput>>&) override { return false; }
  bool Update(CContentInput&, int) override { return false; }
  // False when no row was removed.
  bool Delete(int nId) override {
    std::string strSql = "DELETE FROM " + m_strTable;
    if (nId != -1) {
      strSql += " WHERE " + m_strIdColumn + " = " + std::to_string(nId);
    } else if (!GetWhere().empty()) {
      strSql += " WHERE " + GetWhere();
    }
    CDb2Statement stmt(strSql);
    const std::vector<std::u16string> vcArgs = nId == -1 ? GetWhereArg() : std::vector<std::u16string>();
    const int nRemoved = stmt.BindText16(vcArgs) ? stmt.Execute() : -1;
    Db2Commit();
    return nRemoved > 0;
  }
  bool Delete(const std::vector<int>& vcIds) override {
    CDb2Statement stmt("DELETE FROM " + m_strTable + " WHERE " + m_strIdColumn + " IN ( " + JoinIds(vcIds) + " )");
    const bool bOk = stmt.Execute() >= 0;
    Db2Commit();
    return bOk;
  }
  int InsertNoCommit(CContentInput&) override { return -1; }
  bool UpdateNoCommit(CContentInput&, int) override { return false; }
  bool DeleteNoCommit(int) override { return false; }

  using CContentDb2MgrBaseHandler::JoinIds;
  using CContentDb2MgrBaseHandler::JoinNames;
  using CContentDb2MgrBaseHandler::MakeSetValues;

 protected:
  std::vector<std::string> GetAllColumnNames() override { return m_vcAllColumns; }

 private:
  static CContent ReadRow(int hStmt) {
    CContent row;
    const Db2Field* pFields = Db2StmtGetBindResFields(hStmt);
    for (int i = 0; i < Db2StmtGetBindResCount(hStmt); ++i) {
      const Db2Field& field = pFields[i];
      int32_t n = 0;
      if (field.pBuffer == nullptr) {
        row.AddNullField();
      } else if (field.nType == DB2_FIELD_TEXT16) {
        row.AddFieldData(CContentValue::String(std::u16string(static_cast<const char16_t*>(field.pBuffer),
                                                              static_cast<size_t>(field.nLength) / 2)));
      } else if (Db2FieldGetInt(field, n)) {
        row.AddFieldData(CContentValue::Int(n));
      } else {
        row.AddNullField();
      }
    }
    return row;
  }
  // Binds Int and String values (vcInts holds the integer buffers until execution).
  static bool BindInput(int hStmt, const CContentInput& input, std::vector<int32_t>& vcInts) {
    Db2Field* pFields = Db2StmtGetBindParamFields(hStmt);
    const auto& vcData = input.GetColumnDataSet();
    for (size_t i = 0; i < vcData.size(); ++i) {
      const CContentValue& value = vcData[i].second;
      if (value.type == ContentValueType::String) {
        pFields[i] = {DB2_FIELD_TEXT16, const_cast<char16_t*>(value.strValue.data()),
                      static_cast<INT32>(value.strValue.size() * 2)};
      } else {
        vcInts[i] = value.nInt;
        pFields[i] = {DB2_FIELD_INT32, &vcInts[i], 4};
      }
    }
    return true;
  }

  std::string m_strUri;
  std::string m_strTable;
  std::string m_strIdColumn;
  std::vector<std::string> m_vcAllColumns;
};

inline std::atomic<int> ItemHandler::s_nGetContentsCalls{0};

// "FwDb/Item" over FwItem; "FwDb/TaggedItem" over FwItem joined with FwTag.
class ItemFactory : public IContentHandlerFactory {
 public:
  std::unique_ptr<IContentHandler> Create(const std::string& strUri) override {
    if (strUri == "FwDb/Item" || strUri.rfind("FwDb/Item/", 0) == 0) {
      return std::make_unique<ItemHandler>(strUri, "FwItem", "ID", std::vector<std::string>{"ID", "NAME", "RANK"});
    }
    if (strUri == "FwDb/TaggedItem") {
      return std::make_unique<ItemHandler>(strUri, "FwItem,FwTag", "FwItem.ID",
                                           std::vector<std::string>{"FwItem.ID", "FwItem.NAME", "FwItem.RANK"});
    }
    return nullptr;
  }
};

// A fresh database in a temporary data directory, with the item provider registered.
class Db2Test : public ::testing::Test {
 protected:
  void SetUp() override {
    char szTemplate[] = "/tmp/fwtest-XXXXXX";
    ASSERT_NE(mkdtemp(szTemplate), nullptr);
    m_strDir = szTemplate;
    ASSERT_TRUE(ZelSetDataDir(m_strDir.c_str()));
    ASSERT_EQ(Db2Open((m_strDir + "/ctsvc.db").c_str()), DB2_OK);
    ASSERT_GE(Db2QueryEx("CREATE TABLE FwItem (ID INTEGER PRIMARY KEY, NAME NVARCHAR(100), RANK INTEGER)"), 0);
    ASSERT_GE(Db2QueryEx("CREATE TABLE FwTag (ID INTEGER PRIMARY KEY, ITEM_ID INTEGER, TAG NVARCHAR(20))"), 0);
    Db2Commit();
    ASSERT_TRUE(CContentMgr::Instance()->RegisterHandler("FwDb", &m_factory));
  }
  void TearDown() override {
    CContentMgr::Instance()->UnregisterHandler("FwDb");
    Db2Close();
    std::error_code ec;
    std::filesystem::remove_all(m_strDir, ec);
  }
  // Rows 1..n with NAME "n<(id * 7919) % 10007>" (so name order differs from id order) and RANK id % 7.
  static void AddItems(int nFirst, int nCount) {
    for (int nId = nFirst; nId < nFirst + nCount; ++nId) {
      Db2QueryEx("INSERT INTO FwItem (ID, NAME, RANK) VALUES (%d, 'n%05d', %d)", nId, (nId * 7919) % 10007, nId % 7);
    }
    Db2Commit();
  }
  // The first column of every row of a query.
  static std::vector<int> Ids(const std::string& strSql) {
    std::vector<int> vcIds;
    if (Db2QueryEx("%s", strSql.c_str()) < 0) {
      ADD_FAILURE() << "query failed: " << strSql;
      return vcIds;
    }
    while (Db2GetNextRow() > 0) {
      vcIds.push_back(std::atoi(Db2GetColumn(0)));
    }
    return vcIds;
  }
  static int RowId(const CContent& row) {
    int32_t n = -1;
    row.GetInt(0, n);
    return n;
  }

  std::string m_strDir;
  ItemFactory m_factory;
};

}  // namespace fwtest

#endif
