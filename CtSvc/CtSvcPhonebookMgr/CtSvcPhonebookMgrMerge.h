// The detail part of a contact update: the stored lists of a person brought in line with a given
// contact info. A list whose count is -1 is left as stored; a null array or a count of 0 removes
// the list. The presence flags and the default phone number of the given person info are set to
// what the person has afterwards. Every step that fails is logged as
// "<who> - <table function>() failed\n"; the merge stops there.
#ifndef CTSVC_PHONEBOOK_MGR_MERGE_H
#define CTSVC_PHONEBOOK_MGR_MERGE_H

#include "CtSvcPerson.h"
#include "CtSvcRecord.h"

struct CtSvcMergeContext {
  const char* pszWho;  // the operation, for log lines
  HOBJ hPerson;
  int nPrimaryId;
  const CtSvcPersonRecord& stored;  // the person as stored before the update
  CtSvcContactInfo* pContactInfo;
};

// A phone contact: numbers, e-mail and postal addresses, other data and IMs position by
// position, then group memberships, RCS and social-network data by their own rules.
bool CtSvcMergeContactLists(const CtSvcMergeContext& ctx);
// A SIM contact: numbers and e-mail addresses position by position; group memberships and other
// data replaced as given; RCS as for a phone contact.
bool CtSvcMergeSimContactLists(const CtSvcMergeContext& ctx);

// Memberships are rewritten only when the given set of groups differs from the stored one (always
// with bReplace). A local contact left without groups joins the not-assigned group, when it
// exists (not with bReplace).
bool CtSvcMergeGroupMembers(const CtSvcMergeContext& ctx, bool bReplace);
// Every stored RCS row goes; a given entry becomes the person's only RCS row.
bool CtSvcMergeRcs(const CtSvcMergeContext& ctx);
// No given entry removes the person's social-network rows; a given one is inserted when the
// person has none, else it replaces the first stored row when any of its fields differs.
bool CtSvcMergeSnsData(const CtSvcMergeContext& ctx);

#endif
