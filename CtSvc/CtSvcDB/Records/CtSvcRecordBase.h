// Base of every record object: the table it belongs to, its row id, and the insert and update
// paths through the content framework with the bulk-commit rule.
#ifndef CTSVC_RECORD_CLASS_H
#define CTSVC_RECORD_CLASS_H

#include <string>

#include "CtSvcDB/Records/ICtSvcRecord.h"
#include "CtSvcDetail.h"
#include "CtSvcTypes.h"

class CCtSvcDbTable;

// Column positions of the name forms a record writes: the full name in first-last and last-first
// order, and for each order the fast-scroll group letter and the two-letter sort key (-1: the
// table has no such column).
struct CtSvcNameColumns {
  int nFLFullName;
  int nFLGroupLetter;
  int nFLLetter;
  int nLFFullName;
  int nLFGroupLetter;
  int nLFLetter;
};

class CCtSvcRecord : public ICtSvcRecord {
 public:
  CCtSvcRecord() = default;
  CCtSvcRecord(CtSvcDbTableType nTableType, int nIdColumnIndex) : m_TableType(nTableType), m_nIdColumnIndex(nIdColumnIndex) {}
  CCtSvcRecord(const CCtSvcRecord& other) = default;
  CCtSvcRecord& operator=(const CCtSvcRecord& other) = default;
  ~CCtSvcRecord() override = default;

  int Insert(int bCommit) override;
  int Update(int nId, int bCommit) override;
  int SetData(const CContent& content) override = 0;
  int GetData(CContentInput& input) const override = 0;
  virtual int GetRecordId() const { return m_nRecordId; }
  // Takes the table's next free id for this record; the id, or -1 when the table is unknown.
  virtual int ReserveRecordId();
  // The record id when set, else the id the next reservation would give (nothing is reserved).
  virtual int PredictNextRecordId() const;
  // Called before the input of an insert is built: reserves an id when the record has none.
  virtual void _PrepareInsertRecord();
  virtual void _PrepareUpdateRecord() {}
  virtual void _PrepareDeleteRecord() {}
  // Copies the base fields: table type, ID column index and record id.
  virtual void _CopyFrom(const CCtSvcRecord& other);
  // The content URI of the record's table ("CtSvc/Person").
  virtual const char* _GetURI() const = 0;

  void SetRecordId(int nId) { m_nRecordId = nId; }
  CtSvcDbTableType GetTableType() const { return m_TableType; }
  // Commits the store and restarts the count of uncommitted bulk writes; 1, or 0 when the commit
  // was refused (the disk is full) and rolled back.
  int DbCommit();
  // Name of the row-id column in the record's table ("" when the table is unknown).
  std::string _GetIDColumnName() const;

  // out = a, then b after a blank when both are present.
  static void _GetFullNameToSearch(const std::string& a, const std::string& b, std::string& out);
  // The trailing digits of a number that identify a caller (the value of the search columns).
  static void _GetPhoneNumberToSearch(const std::string& strNumber, std::string& out);
  // An empty text becomes the one-unit text U+FFFF, so that empty names sort after all others.
  static void _ConvertToInvalidMCHAR(std::u16string& str);
  // The letters column text of a stored full name: the representative characters of its first two
  // characters after any the name order ignores (a leading zero-width space files "bob" under B);
  // a character outside the BMP stands as '#' would.
  static std::u16string _GetNameLetters(const std::u16string& strFullName);
  // Copies the characters of pszSrc admitted by the mask (CtSvcExtractLetterType bits).
  static void _GetExtactString(const char* pszSrc, int nMask, std::string& out);
  // Writes the full names of first/last in both orders, and, where the table has them, their
  // letters; empty names become U+FFFF.
  static void _SetNameColumns(CContentInput& input, CCtSvcDbTable& table, const std::string& strFirst,
                              const std::string& strLast, const CtSvcNameColumns& columns);

 protected:
  // The table object of the record's table type, or null (with the "pListTable" assertion).
  CCtSvcDbTable* _GetTable() const;

 private:
  std::string _BulkUri(int bCommit) const;
  void _CountWrite(int bCommit);

  CtSvcDbTableType m_TableType = CTSVC_DB_TABLE_INVALID;
  int m_nIdColumnIndex = -1;
  int m_nRecordId = -1;
};

#endif
