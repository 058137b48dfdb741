// The database manager: owns the contact tables, creates the schema, publishes the "CtSvc/..."
// URIs to the content framework, keeps dependent rows consistent after updates and deletes, and
// builds the full-text indexes.
#ifndef CTSVC_DB_MGR_H
#define CTSVC_DB_MGR_H

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcDB/Tables/CtSvcDbTable.h"
#include "CtSvcFilter.h"
#include "CtSvcTypes.h"

#define CTSVC_DB_SCHEMA_VERSION "1.1.76.0.0"
#define CTSVC_PROVIDER_NAME "CtSvc"

class CCtSvcContentHandlerFactory;
class CCtSvcContact;
class CCtSvcPerson;
class CCtSvcPrimary;
class CCtSvcSnsSyncObserver;

class CCtSvcDbMgr : public IContentObserver {
 public:
  static CCtSvcDbMgr* Instance();
  // Destroys the singleton (library unload in tests); the next Instance() makes a new one.
  static void DestroyInstance();

  ~CCtSvcDbMgr() override;

  BOOL Initialize();
  BOOL IsInitialized() const { return m_pContentHandlerFactory != nullptr; }
  BOOL _InitializeDBTables();
  BOOL DropDBTables();
  const char* GetDBCodeVersion();
  CCtSvcDbTable* GetDBTable(int nTableType);

  // Mass-insert mode: while set, an insert keeps its prepared statement per SQL text for reuse.
  void SetInsertMassFlag(int bMassFlag);
  int GetInsertMassFlag() const { return m_bInsertMassFlag; }
  // The kept statement for the text, created on first use; -1 when the mode is off or it cannot be made.
  int GetMassInsertStatement(const std::string& strSql);

  // Full-text indexes over numbers, e-mails and names.
  BOOL CreateSearchIndexes();
  BOOL DeleteSearchIndexes();

  // Person and primary services (persons are linked into primaries; a primary holds at most five).
  // Reads a primary row; FALSE when it does not exist.
  BOOL GetPrimary(int nPrimaryId, CCtSvcPrimary& primary);
  // The primary a new contact should join (by shared e-mail, then number), or -1.
  int FindPrimary(const CCtSvcContact& contact, int nExceptPrimaryId);
  // Inserts a new primary made from one person; its id, or -1.
  int CreatePrimary(const CCtSvcPerson& person, int bCommit = 1);
  // Moves a person and all its detail rows to another primary.
  BOOL MovePerson(int nPersonId, int nTargetPrimaryId);
  // Recomputes the derived columns of a primary from its persons (nSrcPrimaryId: a primary being
  // merged into it, whose favourite is kept when the destination has none).
  BOOL RearrangePrimary(int nPrimaryId, int bCommit, int nSrcPrimaryId = -1);
  // The persons of a primary, local phone persons first, then account by account in the order of
  // the platform's account list.
  BOOL GetPersonSortByPriority(int nPrimaryId, std::vector<CCtSvcPerson>& vcPersons);
  // Deletes a primary with its persons and their rows.
  BOOL DeletePrimary(int nPrimaryId);

  // Lists, rows and counts of the URI a C filter structure belongs to (null: every row). The
  // instantiated structures are the filter structures of CtSvcFilter.h. A primary filter that
  // names a group reads the primaries joined with the group's memberships.
  template <typename S>
  IContentList* CreateList(const S* pFilter);
  template <typename S>
  BOOL GetRows(const S* pFilter, std::vector<CContent>& vcRows);
  template <typename S>
  int GetCount(const S* pFilter);
  // Position of the first row of a list whose display name sorts at or after the given name; -1.
  int GetPersonListIndexFromName(IContentList* pList, const CtSvcPersonFilterName* pNameFilter);
  int GetPrimaryListIndexFromName(IContentList* pList, const CtSvcPersonFilterName* pNameFilter);

  // IContentObserver
  void OnChange(int nChangeType, const std::string& strUri, int nId, intptr_t nParam1, int nParam2) override;

 protected:
  virtual void _OnInsert(const std::string& strUri, int nId);
  virtual void _OnUpdate(const std::string& strUri, int nId, CContentInput* pInput);
  virtual void _OnDelete(const std::string& strUri, int nId);

 private:
  CCtSvcDbMgr();
  void _DeleteTables();
  BOOL _RegisterWithFramework();
  BOOL _InsertDefaultGroup();
  BOOL _ResumeDeleteAccounts();
  void _DeletePersonDetails(const std::string& strSuffix, int nPersonId);
  void _DeletePhoneNumberDetails(const std::string& strSuffix, int nPhoneNumberId);
  void _DeleteGroupMembers(const std::string& strSuffix, int nGroupId);
  BOOL _MoveToDefaultGroupIfLast(const std::string& strSuffix, const CContent& member);
  void _ClearMassStatements();

  std::unique_ptr<CCtSvcContentHandlerFactory> m_pContentHandlerFactory;
  std::unique_ptr<CCtSvcSnsSyncObserver> m_pSnsSyncObserver;
  std::unique_ptr<CCtSvcDbTable> m_pCtSvcDbTable[CTSVC_DB_TABLE_MAX];
  int m_bInsertMassFlag = 0;
  std::recursive_mutex m_massMutex;
  std::vector<std::pair<std::string, int>> m_vcMassInsertStmts;
};

// True when strUri is strTableUri or continues it with "/".
bool CtSvcUriMatches(const std::string& strUri, const std::string& strTableUri);
// The third component of a URI ("BulkOperation", "NoSync"), or "".
std::string CtSvcUriSuffix(const std::string& strUri);
// True for a URI with more than two components whose last is "BulkOperation".
bool CtSvcIsBulkUri(const std::string& strUri);

#endif
