// Bulk group membership changes: a group id and person ids. The phone side (types 10 and 12)
// changes the membership rows of every phone person linked with the given person, five persons a
// unit under paused commits and one commit a unit; the SIM side (11 and 13) rewrites each SIM
// contact's card record with its new group list, one record per card answer, and changes the row
// once the card took it. Adding and removing differ only in their data.
#ifndef CTSVC_BULK_OP_MEMBER_H
#define CTSVC_BULK_OP_MEMBER_H

#include "CtSvcBulkOperation/CtSvcBulkContact.h"
#include "CtSvcBulkOperation/CtSvcBulkOpBase.h"
#include "CtSvcBulkOperation/CtSvcBulkOpSimBase.h"

#define CTSVC_BULK_MEMBER_UNIT 5

// What one membership operation does: join (bAdd) or leave the group, and its name in logs.
struct CtSvcBulkMemberKind {
  bool bAdd;
  const char* pszWho;
};

// Joins or leaves the group for a stored person: the not-assigned group is left when another is
// joined and joined again when the last one is left. False when a row cannot be written.
bool CtSvcBulkChangeMembership(const CtSvcPersonRecord& person, int nGroupId, bool bAdd);

class CCtSvcBulkOpMemberDb : public CCtSvcBulkOpBase<int>, public ICtSvcBulkPersonIds, public CCtSvcBulkGroupTarget {
 public:
  BOOL AddPersonId(int nPersonId) override;

 protected:
  explicit CCtSvcBulkOpMemberDb(CtSvcBulkMemberKind kind) : CCtSvcBulkOpBase(CTSVC_BULK_MEMBER_UNIT), m_kind(kind) {}
  void _BeginUnit() override;
  BOOL _ProcessItem(int& nPersonId) override;
  BOOL _EndUnit(BOOL bResult) override;

 private:
  CtSvcBulkMemberKind m_kind;
};

class CCtSvcBulkOpAddMemberDb : public CCtSvcBulkOpMemberDb {
 public:
  CCtSvcBulkOpAddMemberDb() : CCtSvcBulkOpMemberDb({true, "CCtSvcBulkOpAddMemberDb"}) {}
};

class CCtSvcBulkOpRemoveMemberDb : public CCtSvcBulkOpMemberDb {
 public:
  CCtSvcBulkOpRemoveMemberDb() : CCtSvcBulkOpMemberDb({false, "CCtSvcBulkOpRemoveMemberDb"}) {}
};

class CCtSvcBulkOpMemberAdn : public CCtSvcBulkOpSimBase<int>,
                              public ICtSvcBulkPersonIds,
                              public CCtSvcBulkGroupTarget {
 public:
  BOOL AddPersonId(int nPersonId) override;

 protected:
  // The card takes one record write at a time, so the unit is one person.
  CCtSvcBulkOpMemberAdn(CtSvcBulkMemberKind kind, const char* pszFixedUnitReport)
      : CCtSvcBulkOpSimBase(kind.pszWho, CTSVC_BULK_SIM_UPDATE, 1, pszFixedUnitReport), m_kind(kind) {}
  BOOL _SendItem(int& nPersonId, ICtSvcSimUpdater* pUpdater) override;
  BOOL _OnWritten(int& nPersonId, int nRecordIndex) override;

 private:
  CtSvcBulkMemberKind m_kind;
};

class CCtSvcBulkOpAddMemberAdn : public CCtSvcBulkOpMemberAdn {
 public:
  CCtSvcBulkOpAddMemberAdn()
      : CCtSvcBulkOpMemberAdn({true, "CCtSvcBulkOpAddMemberAdn"},
                              "CCtSvcBulkOpAddMemberAdn::SetOperationUnitCountAtOnce - SIM Operation can not set Bulk count\n") {}
};

class CCtSvcBulkOpRemoveMemberAdn : public CCtSvcBulkOpMemberAdn {
 public:
  CCtSvcBulkOpRemoveMemberAdn()
      : CCtSvcBulkOpMemberAdn({false, "CCtSvcBulkOpRemoveMemberAdn"},
                              "CCtSvcBulkOpRemoveMemberAdn::SetOperationUnitCountAtOnce - SIM Operation can not set Bulk count\n") {}
};

#endif
