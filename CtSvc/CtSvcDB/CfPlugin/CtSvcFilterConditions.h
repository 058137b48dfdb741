// The condition builder shared by every content filter: it names columns of one contact table by
// their index, joins conditions with " and ", keeps the "?" arguments (16-bit texts) in the order
// their placeholders appear, and carries the order and index hint chosen while building.
// Values never enter the WHERE text: texts always travel as arguments.
#ifndef CTSVC_FILTER_CONDITIONS_H
#define CTSVC_FILTER_CONDITIONS_H

#include <string>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcDB/Tables/CtSvcDbTable.h"
#include "ZelTypes.h"

// Sizes of the buffers that receive a value escaped for a LIKE pattern (every character may
// double).
#define CTSVC_FILTER_ESCAPE_SIZE_EMAIL 601
#define CTSVC_FILTER_ESCAPE_SIZE_PHONENUMBER 101
#define CTSVC_FILTER_ESCAPE_SIZE_ETCDATA 1921
#define CTSVC_FILTER_ESCAPE_SIZE_NAME 607
#define CTSVC_FILTER_ESCAPE_SIZE_FDN_NAME 301

// The table object of a table type (null outside the table types).
CCtSvcDbTable* CtSvcGetFilterTable(int nTableType);
// printf into a string (no length limit).
std::string CtSvcFormat(const char* szFormat, ...) ZEL_PRINTF(1, 2);
// UTF-8 text as 16-bit text; null gives "".
std::u16string CtSvcToPCode(const char* pszText);
// The LIKE pattern of a value for a truncation: the value escaped (into at most nEscapeSize bytes)
// with "%" before (suffix), after (prefix and any unknown truncation) or on both sides (contains).
// Exact matching gives the escaped value alone.
std::string CtSvcMakeLikePattern(const char* pszValue, int nTruncation, int nEscapeSize);

class CCtSvcFilterConditions {
 public:
  explicit CCtSvcFilterConditions(int nTableType);

  CCtSvcDbTable* GetTable() const { return m_pTable; }
  const char* TableName() const;
  const char* ColumnName(int nColumn) const;
  // "Table.COLUMN" of this table or of another one.
  std::string Column(int nColumn) const;
  static std::string Column(int nTableType, int nColumn);

  // nForm takes the table, the column and one integer: "%s.%s = %d", "(%s.%s > %d)", ...
  void AddIntForm(const char* szForm, int nColumn, int nValue);
  void AddIntEqual(int nColumn, int nValue) { AddIntForm("%s.%s = %d", nColumn, nValue); }
  // szForm takes the table and the column only: "%s.%s < 1", "(%s.%s > 0)", "(%s.%s > n'')".
  void AddColumnForm(const char* szForm, int nColumn);
  // szForm takes the table and the column and holds one "?": "%s.%s = ?", "(%s.%s <> ?)".
  void AddArgForm(const char* szForm, int nColumn, const std::u16string& strArg);
  void AddTextEqual(int nColumn, const char* pszValue);
  // By truncation: exact "%s.%s = ?" with the value, otherwise "%s.%s like ?" with the pattern.
  void AddTextMatch(int nColumn, const char* pszValue, int nTruncation, int nEscapeSize);
  // Always "%s.%s like ?"; an exact truncation matches the escaped value without wildcards.
  void AddLike(int nColumn, const char* pszValue, int nTruncation, int nEscapeSize);
  // One value: "%s.%s = ?"; several: "%s.%s IN (?, ?, ...)"; none: nothing.
  void AddTextIn(int nColumn, const std::vector<std::u16string>& vcValues);
  // "%s.%s IN ( select %s.%s from %s where %s.%s = %d )", or without the where part when
  // nSubWhereColumn is negative.
  void AddSubSelect(int nColumn, int nSubTable, int nSubColumn, int nSubWhereColumn, int nValue);
  // A condition already formatted, with the arguments of its placeholders in order.
  void AddCondition(const std::string& strCondition, const std::vector<std::u16string>& vcArgs = {});

  void SetOrderBy(const std::string& strOrderBy) { m_strOrderBy = strOrderBy; }
  void SetOrderByColumn(int nColumn) { m_strOrderBy = ColumnName(nColumn); }
  // The hint names the table's index whose column list starts with the column.
  void SetHintForColumn(int nColumn);
  // Hint and order of that index (its column list); bQualify writes every order term as
  // "Table.COLUMN" (for statements over two tables).
  void SetIndexOrderForColumn(int nColumn, bool bQualify = false);
  bool HasOrderOrHint() const { return !m_strOrderBy.empty() || !m_strHint.empty(); }

  const std::string& GetWhere() const { return m_strWhere; }
  const std::vector<std::u16string>& GetArgs() const { return m_vcArgs; }
  const std::string& GetOrderBy() const { return m_strOrderBy; }
  const std::string& GetHint() const { return m_strHint; }
  // Where text and arguments, and the order and hint when chosen.
  void ApplyTo(CContentFilter& filter) const;

 private:
  void _Append(const std::string& strCondition);
  int _FindIndexLedBy(int nColumn) const;

  CCtSvcDbTable* m_pTable;
  std::string m_strWhere;
  std::vector<std::u16string> m_vcArgs;
  std::string m_strOrderBy;
  std::string m_strHint;
};

#endif
