// Content handlers of the "CtSvc/..." URIs: turn the framework's filters and inputs into statements
// on one contact table (or, for the primary group-member URI, on the primary table joined with the
// group-member table), and decide when writes are committed.
#ifndef CTSVC_CF_HANDLER_H
#define CTSVC_CF_HANDLER_H

#include <string>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcDB/Tables/CtSvcDbTable.h"

// Statement kinds of __CreateQuery.
enum CtSvcQueryKind { CTSVC_QUERY_SELECT = 0, CTSVC_QUERY_INSERT = 1, CTSVC_QUERY_UPDATE = 2, CTSVC_QUERY_DELETE = 3 };

// How a handler names its table; one row per handled URI.
struct CtSvcHandlerDesc {
  const char* szUri;        // "CtSvc/Person"
  const char* szClassName;  // "CCtSvcPersonHandler", for log lines
  CtSvcDbTableType nTable;
  CtSvcDbTableType nJoinedTable;  // CTSVC_DB_TABLE_INVALID unless two tables are joined
};

class CCtSvcCFHandler : public CContentDb2MgrBaseHandler {
 public:
  CCtSvcCFHandler(const std::string& strUri, const CtSvcHandlerDesc& desc);
  ~CCtSvcCFHandler() override = default;

  bool GetContents(int nFirstRow, int nRowCount, std::vector<CContent>& vcContents) override;
  int GetBatchSize() override { return 50; }
  std::string GetIDColumnName() override;
  int Insert(CContentInput& input) override;
  bool Insert(std::vector<CContentInput>& vcInputs) override;
  bool Insert(std::vector<std::pair<std::string, CContentInput>>& vcUriInputs) override;
  bool Update(CContentInput& input, int nId) override;
  bool Delete(int nId) override;
  bool Delete(const std::vector<int>& vcIds) override;
  std::string GetSequenceKeyName() override { return std::string(); }
  std::string GetTableName() override;
  std::vector<int> GetColumnTypes() override;
  int InsertNoCommit(CContentInput& input) override;
  bool UpdateNoCommit(CContentInput& input, int nId) override;
  bool DeleteNoCommit(int nId) override;

  const std::string& GetURI() const { return m_strUri; }
  bool IsBulkURI() const { return m_bBulk; }
  // The statement text of a kind for an id (-1: the filter's rows) and an input.
  std::string __CreateQuery(int nKind, int nId, const CContentInput* pInput);

 protected:
  std::vector<std::string> GetAllColumnNames() override;

 private:
  bool _IsJoined() const { return m_desc.nJoinedTable != CTSVC_DB_TABLE_INVALID; }
  CCtSvcDbTable* _GetTable() const;
  std::string _JoinedMembers() const;
  std::string _QualifiedColumn(const std::string& strColumn) const;
  std::string _QualifiedOrder(const std::string& strOrder) const;
  // Binds the input's values (after the where-arguments) and runs the statement: changed rows, or -1.
  int _ExecuteWrite(int hStmt, const CContentInput* pInput, bool bBindWhereArgs);
  int _InsertStatement(CContentInput& input, bool bCommit, const char* szFailLog);
  bool _WriteStatement(int nKind, CContentInput* pInput, int nId, bool bCommit);

  std::string m_strUri;
  const CtSvcHandlerDesc& m_desc;
  bool m_bBulk;
};

#endif
