// Table classes of the contact store. Each table is described by static column and index
// descriptors; the base class turns them into DDL, checks, drops, truncates and counts, and keeps
// the table's next-id counter.
#ifndef CTSVC_DB_TABLE_H
#define CTSVC_DB_TABLE_H

#include <atomic>
#include <memory>
#include <string>

#include "CtSvcDbColumns.h"
#include "CtSvcTypes.h"

// Size A of a column: -1 marks the primary key; NVARCHAR keeps its two sizes in A and B;
// INTEGER and TINYINT keep their default value in A.
#define CTSVC_COLUMN_PRIMARY_KEY (-1)
// Kind of an index: -1 unique, anything else plain.
#define CTSVC_INDEX_UNIQUE (-1)
#define CTSVC_INDEX_PLAIN 0

// Name order of texts compared as names: full names, their letters, FDN names.
#define CTSVC_NAME_COLLATION "user1"

struct CtSvcColumnDesc {
  const char* szName;
  const char* szType;
  int nSizeA;
  int nSizeB;
  const char* szCollation;  // declared collation of a text column, or null
};

struct CtSvcIndexDesc {
  const char* szName;
  const char* szColumns;
  int nKind;
};

// Which detail tables may still refer to a table's ids (person and primary ids are never reused
// while a detail row names them).
struct CtSvcReferenceDesc {
  const char* szOwnQuery;        // "SELECT MAX(id) FROM ctsvcperson"
  const char* szReferenceColumn; // "person_id"
  const char* szLogName;         // class name used in log lines
};

struct CtSvcTableDesc {
  CtSvcDbTableType nType;
  const char* szName;
  const CtSvcColumnDesc* pColumns;
  int nColumnCount;
  const CtSvcIndexDesc* pIndexes;
  int nIndexCount;
  const CtSvcReferenceDesc* pReference;  // null: plain "SELECT MAX(ID)" form
};

// The descriptor of a table type; null outside 0..12.
const CtSvcTableDesc* CtSvcGetTableDesc(int nTableType);

// Column type code given to the content framework for a type name (0 when unknown).
int CtSvcGetColumnTypeCode(const char* szTypeName);

class CCtSvcDbTable {
 public:
  explicit CCtSvcDbTable(const CtSvcTableDesc& desc);
  virtual ~CCtSvcDbTable() = default;
  CCtSvcDbTable(const CCtSvcDbTable&) = delete;
  CCtSvcDbTable& operator=(const CCtSvcDbTable&) = delete;

  virtual BOOL CreateTable();
  virtual int GetTotalRecordCount();
  virtual const char* GetIDColumnName();
  virtual const char* GetSequenceName();
  virtual const char* GetColumnName(int nColumnIndex);
  virtual const char* GetColumnTypeName(int nColumnIndex);
  virtual int GetColumnSizeA(int nColumnIndex);
  virtual int GetColumnSizeB(int nColumnIndex);
  virtual int GetColumnCount();
  virtual const char* GetIndexName(int nIndex);
  virtual const char* GetIndexColumns(int nIndex);
  virtual int GetIndexKind(int nIndex);
  virtual int GetIndexCount();
  // Both take the write lock first (ids are handed out under it) and move the counter above the
  // ids another process stored meanwhile.
  virtual int PeekNextRecordId();
  virtual int TakeNextRecordId();
  virtual int GetMaxRecordId();

  BOOL VerifyTable();
  BOOL DestroyTable();
  BOOL TruncateTable();
  const char* GetTableName() const { return m_pDesc->szName; }
  // The descriptor of a column; null outside the columns.
  const CtSvcColumnDesc* GetColumnDesc(int nColumnIndex) const {
    return nColumnIndex >= 0 && nColumnIndex < m_pDesc->nColumnCount ? &m_pDesc->pColumns[nColumnIndex] : nullptr;
  }
  CtSvcDbTableType GetTableType() const { return m_pDesc->nType; }
  // Type codes of every column, in order.
  int GetColumnTypeCode(int nColumnIndex);
  // Sets the counter above every stored or referenced id (as table creation does).
  void ResetNextRecordId();

  // The CREATE TABLE text, before dialect translation; empty if it does not fit 5120 bytes.
  std::string BuildCreateStatement() const;

 private:
  int _GetPlainMaxRecordId();
  int _GetReferencedMaxRecordId();
  bool _IsColumnIndexValid(int nColumnIndex);
  bool _IsIndexValid(int nIndex);
  void _SyncWithOtherWriters();
  bool _CreateIndex(const CtSvcIndexDesc& idx);
  bool _AddMissingIndexes();

  const CtSvcTableDesc* m_pDesc;
  std::atomic<int> m_nNextId{1};
  std::atomic<long long> m_nSeenVersion{-1};  // data version of the store when the counter was set
};

// One class name per table; each is the base class over its own descriptor.
template <CtSvcDbTableType TYPE>
class CCtSvcTable final : public CCtSvcDbTable {
 public:
  CCtSvcTable() : CCtSvcDbTable(*CtSvcGetTableDesc(TYPE)) {}
};

using CCtSvcPersonTable = CCtSvcTable<CTSVC_DB_TABLE_PERSON>;
using CCtSvcContactDataTable = CCtSvcTable<CTSVC_DB_TABLE_CONTACTDATA>;
using CCtSvcPostalAddressTable = CCtSvcTable<CTSVC_DB_TABLE_POSTALADDRESS>;
using CCtSvcEtcDataTable = CCtSvcTable<CTSVC_DB_TABLE_ETCDATA>;
using CCtSvcRcsTable = CCtSvcTable<CTSVC_DB_TABLE_RCS>;
using CCtSvcFdnTable = CCtSvcTable<CTSVC_DB_TABLE_FDN>;
using CCtSvcGroupTable = CCtSvcTable<CTSVC_DB_TABLE_GROUP>;
using CCtSvcGroupMemberTable = CCtSvcTable<CTSVC_DB_TABLE_GROUPMEMBER>;
using CCtSvcSpeedDialTable = CCtSvcTable<CTSVC_DB_TABLE_SPEEDDIAL>;
using CCtSvcPrimaryTable = CCtSvcTable<CTSVC_DB_TABLE_PRIMARY>;
using CCtSvcIMTable = CCtSvcTable<CTSVC_DB_TABLE_IM>;
using CCtSvcSnsDataTable = CCtSvcTable<CTSVC_DB_TABLE_SNSDATA>;
using CCtSvcDeleteAccountTable = CCtSvcTable<CTSVC_DB_TABLE_DELETEACCOUNT>;

// Makes the table object of a table type; null outside 0..12.
std::unique_ptr<CCtSvcDbTable> CtSvcCreateDbTable(int nTableType);

#endif
