// Contacts as the bulk operations move them: a caller's contact info copied into a builder, a
// stored person read back with every detail for another store, and person ids as items.
#ifndef CTSVC_BULK_CONTACT_H
#define CTSVC_BULK_CONTACT_H

#include <memory>

#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcPerson.h"
#include "CtSvcTypes.h"

// A copy of the caller's contact info; null (logged) for an info without person.
std::unique_ptr<CCtSvcContactInfoBuilder> CtSvcBulkCopyContactInfo(const char* pszWho,
                                                                   const CtSvcContactInfo& contactInfo);

// Reads the person of the id; false (logged) when there is none or it is not of nDevType.
bool CtSvcBulkReadPerson(const char* pszWho, int nPersonId, CtSvcDeviceType nDevType, CtSvcPersonRecord* pStored);

// The stored person with its numbers, e-mail addresses, postal addresses, other data and groups,
// as a new contact of the target store: no slot, primary, caller image or account. Groups of the
// other store become the target's groups of the same name (made on the phone when missing; a SIM
// group the card does not have is left out). Null when a list cannot be read.
std::unique_ptr<CCtSvcContactInfoBuilder> CtSvcBulkLoadContact(const CtSvcPersonRecord& stored,
                                                               CtSvcDeviceType nTarget);

// The row id of a person id or handle; -1 (logged "<pszWho> - invalid person id(%d)") below 1.
int CtSvcBulkPersonIdOf(const char* pszWho, int nPersonId);

// What takes person ids as items (types 3 to 8 and 10 to 13).
class ICtSvcBulkPersonIds {
 public:
  virtual ~ICtSvcBulkPersonIds() = default;
  virtual BOOL AddPersonId(int nPersonId) = 0;
};

// What works on one group (types 10 to 13).
class CCtSvcBulkGroupTarget {
 public:
  virtual ~CCtSvcBulkGroupTarget() = default;
  BOOL SetGroupId(int nGroupId);
  int GetGroupId() const { return m_nGroupId; }

 private:
  int m_nGroupId = -1;
};

#endif
