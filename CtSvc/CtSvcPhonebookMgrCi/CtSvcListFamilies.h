// What differs between the ten list families: one traits structure per family.
//   Filter, Record   the C filter and record structures;
//   RecordClass      the record object that converts a row into Record;
//   kSlots           the size of the family's table;
//   kNames           the names used in its assertions and log lines (CtSvcListTexts.h);
//   kTracesGetAt     GetAt is framed by "...GetAt Func START/FINISH" lines.
// Families with a cursor add IndexFromName, the database manager's name lookup.
#ifndef CTSVC_LIST_FAMILIES_H
#define CTSVC_LIST_FAMILIES_H

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcEmailAddress.h"
#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcFdn.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "CtSvcDB/Records/CtSvcIM.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPhoneNumber.h"
#include "CtSvcDB/Records/CtSvcPostalAddress.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcList.h"
#include "CtSvcPhonebookMgrCi/CtSvcListTexts.h"

#define CTSVC_LIST_FAMILY(NAME, FILTER, RECORD, MAX, HANDLE, TABLE, OPENER, GETAT, RECVAR, TRACES) \
  struct CtSvc##NAME##Family {                                                                              \
    using Filter = FILTER;                                                                                  \
    using RecordClass = RECORD;                                                                             \
    using Record = RECORD::Record;                                                                          \
    static constexpr int kSlots = MAX;                                                                      \
    static constexpr CtSvcListNames kNames = {"CtSvc" #NAME, HANDLE, TABLE, #MAX, OPENER, GETAT, RECVAR};   \
    static constexpr bool kTracesGetAt = TRACES;                                                            \
  }

// clang-format off
// (family, filter structure, record class, size constant, handle,
//  table, list opener, prefix of row-read failures, record name, GetAt traces)
CTSVC_LIST_FAMILY(ContactList, CtSvcPersonFilter, CCtSvcPerson, CTSVC_PHONEBOOK_LIST_MAX, "hPhonebook",
                  "g_PBList", "CreatePersonList", "CtSvcContactGetAt", "Person", true);
CTSVC_LIST_FAMILY(PrimaryList, CtSvcPrimaryFilter, CCtSvcPrimary, CTSVC_PRIMARY_LIST_MAX, "hPrimary",
                  "g_PrimaryList", "CreatePersonList", "CtSvcPrimaryListGetAt", "Primary", false);
CTSVC_LIST_FAMILY(FdnList, CtSvcFdnFilter, CCtSvcFdn, CTSVC_FDN_LIST_MAX, "hFdn",
                  "g_FdnList", "CreateFdnList", "CtSvcFdnListGetAt", "Fdn", false);
CTSVC_LIST_FAMILY(GroupList, CtSvcGroupFilter, CCtSvcGroup, CTSVC_GROUP_LIST_MAX, "hGroup",
                  "g_GroupList", "CreateGroupList", "CtSvcGroupListGetAt", "Group", false);
CTSVC_LIST_FAMILY(GroupMemberList, CtSvcGroupMemberFilter, CCtSvcGroupMember, CTSVC_GROUPMEMBER_LIST_MAX, "hGroupMember",
                  "g_GroupMemberList", "CreateGroupMemberList", "CtSvcGroupMemberListGetAt", "GroupMember", true);
CTSVC_LIST_FAMILY(PhoneNumberList, CtSvcPhoneNumberFilter, CCtSvcPhoneNumber, CTSVC_PHONENUMBER_LIST_MAX, "hPhoneNumber",
                  "g_PhoneNumberList", "CreatePhoneNumberList", "CtSvcPhoneNumberListGetAt", "PhoneNumber", false);
CTSVC_LIST_FAMILY(EmailAddressList, CtSvcEmailFilter, CCtSvcEmailAddress, CTSVC_EMAILADDRESS_LIST_MAX, "hEmailAddress",
                  "g_EmailAddressList", "CreateEmailAddressList", "CtSvcEmailAddressListGetAt", "EmailAddress", false);
CTSVC_LIST_FAMILY(PostalAddressList, CtSvcPostalAddressFilter, CCtSvcPostalAddress, CTSVC_POSTALADDRESS_LIST_MAX, "hPostalAddress",
                  "g_PostalAddressList", "CreatePostalAddressList", "CtSvcPostalAddressListGetAt", "PostalAddress", false);
CTSVC_LIST_FAMILY(EtcDataList, CtSvcEtcDataFilter, CCtSvcEtcData, CTSVC_ETCDATA_LIST_MAX, "hEtcData",
                  "g_EtcDataList", "CreateEtcDataList", "CtSvcEtcDataListGetAt", "EtcData", false);
CTSVC_LIST_FAMILY(IMList, CtSvcIMFilter, CCtSvcIM, CTSVC_IM_LIST_MAX, "hIM",
                  "g_IMList", "CreateIMList", "CtSvcIMListGetAt", "IM", false);
// clang-format on

#undef CTSVC_LIST_FAMILY

// The name lookups of the families with a cursor.
inline int CtSvcListIndexFromName(CtSvcContactListFamily, IContentList* pList, const CtSvcPersonFilterName* pName) {
  return CCtSvcDbMgr::Instance()->GetPersonListIndexFromName(pList, pName);
}
inline int CtSvcListIndexFromName(CtSvcPrimaryListFamily, IContentList* pList, const CtSvcPersonFilterName* pName) {
  return CCtSvcDbMgr::Instance()->GetPrimaryListIndexFromName(pList, pName);
}

#endif
