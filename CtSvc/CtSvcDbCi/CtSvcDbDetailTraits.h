// What differs between the members of the detail-table family: one traits structure per table.
//   Record       the record class (its Traits give the table type and the URI);
//   Info, CRecord, Filter   the C structures; CFFilter the content filter of Filter;
//   kPrefix      the exported name prefix, which also starts every log line ("CtSvcDbPhoneNumber");
//   kRecordVar   the record's name in log lines ("phoneNumber.SetContent failed");
//   kIdColumn    the name of the row-id column in the row-by-row delete's log line;
//   kOwnedByPerson   insert and update take a person handle and a primary id;
//   kReadsPerson     insert and update read the person to copy its account and names;
//   kFilterDelete    how DeleteRecordsWithFilter removes rows;
//   kHasGetRecord, kHasTotalCount   whether the member exports GetRecord / GetTotalCount.
#ifndef CTSVC_DB_DETAIL_TRAITS_H
#define CTSVC_DB_DETAIL_TRAITS_H

#include "CtSvcDB/CfPlugin/CtSvcContactDataFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcDetailFilters.h"
#include "CtSvcDB/CfPlugin/CtSvcFdnFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcGroupFilter.h"
#include "CtSvcDB/Records/CtSvcEmailAddress.h"
#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcFdn.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "CtSvcDB/Records/CtSvcIM.h"
#include "CtSvcDB/Records/CtSvcPhoneNumber.h"
#include "CtSvcDB/Records/CtSvcPostalAddress.h"
#include "CtSvcDB/Records/CtSvcRcs.h"
#include "CtSvcDB/Records/CtSvcSnsData.h"
#include "CtSvcDB/Records/CtSvcSpeedDial.h"

enum class CtSvcFilterDelete {
  RowByRow,      // read the matching rows, delete each by id: every delete reaches the observers
  OneStatement,  // one filtered delete: observers hear one change with id -1
};

#define CTSVC_DB_DETAIL_TRAITS(NAME, RECORD, FILTER, CFFILTER, VAR, IDCOL, OWNED, READS_PERSON, DELETE, GET, TOTAL) \
  struct CtSvcDb##NAME##Traits {                                                                                  \
    using Record = RECORD;                                                                                        \
    using Info = RECORD::Info;                                                                                    \
    using CRecord = RECORD::Record;                                                                               \
    using Filter = FILTER;                                                                                        \
    using CFFilter = CFFILTER;                                                                                    \
    static constexpr const char* kUri = RECORD::Traits::kUri;                                                     \
    static constexpr CtSvcDbTableType kTable = RECORD::Traits::kTable;                                            \
    static constexpr const char* kPrefix = "CtSvcDb" #NAME;                                                       \
    static constexpr const char* kRecordVar = VAR;                                                                \
    static constexpr const char* kIdColumn = IDCOL;                                                               \
    static constexpr bool kOwnedByPerson = OWNED;                                                                 \
    static constexpr bool kReadsPerson = READS_PERSON;                                                            \
    static constexpr CtSvcFilterDelete kFilterDelete = CtSvcFilterDelete::DELETE;                                 \
    static constexpr bool kHasGetRecord = GET;                                                                    \
    static constexpr bool kHasTotalCount = TOTAL;                                                                 \
  }

// clang-format off
//                     member         record class         C filter                  content filter            log name         id column in log            person read  delete        Get    Total
CTSVC_DB_DETAIL_TRAITS(PhoneNumber,   CCtSvcPhoneNumber,   CtSvcPhoneNumberFilter,   CCtSvcPhoneNumberFilter,   "phoneNumber",   "CTSVC_DB_PHNUM_COLUMN_ID",      true, true,  RowByRow,     true,  true);
CTSVC_DB_DETAIL_TRAITS(EmailAddress,  CCtSvcEmailAddress,  CtSvcEmailFilter,         CCtSvcEmailFilter,         "emailAddress",  "CTSVC_DB_EMAIL_COLUMN_ID",      true, true,  RowByRow,     true,  true);
CTSVC_DB_DETAIL_TRAITS(PostalAddress, CCtSvcPostalAddress, CtSvcPostalAddressFilter, CCtSvcPostalAddressFilter, "postalAddress", "CTSVC_DB_POSTALADDR_COLUMN_ID", true, false, RowByRow,     true,  true);
CTSVC_DB_DETAIL_TRAITS(EtcData,       CCtSvcEtcData,       CtSvcEtcDataFilter,       CCtSvcEtcDataFilter,       "etcData",       "CTSVC_DB_ETCDATA_COLUMN_ID",    true, false, RowByRow,     false, true);
CTSVC_DB_DETAIL_TRAITS(IM,            CCtSvcIM,            CtSvcIMFilter,            CCtSvcIMFilter,            "im",            "CTSVC_DB_IM_COLUMN_ID",         true, false, OneStatement, true,  false);
CTSVC_DB_DETAIL_TRAITS(SnsData,       CCtSvcSnsData,       CtSvcSnsDataFilter,       CCtSvcSnsDataFilter,       "snsData",       "CTSVC_DB_SNSDATA_COLUMN_ID",    true, false, OneStatement, true,  false);
CTSVC_DB_DETAIL_TRAITS(Rcs,           CCtSvcRcs,           CtSvcRcsFilter,           CCtSvcRcsFilter,           "rcs",           "CTSVC_DB_RCS_COLUMN_ID",        true, false, RowByRow,     false, false);
CTSVC_DB_DETAIL_TRAITS(GroupMember,   CCtSvcGroupMember,   CtSvcGroupMemberFilter,   CCtSvcGroupMemberFilter,   "groupMember",   "CTSVC_DB_GRPMEMBER_COLUMN_ID",  true, false, RowByRow,     true,  false);
CTSVC_DB_DETAIL_TRAITS(Group,         CCtSvcGroup,         CtSvcGroupFilter,         CCtSvcGroupFilter,         "group",         "CTSVC_DB_GROUP_COLUMN_ID",      false, false, OneStatement, true, true);
CTSVC_DB_DETAIL_TRAITS(Fdn,           CCtSvcFdn,           CtSvcFdnFilter,           CCtSvcFdnFilter,           "fdn",           "CTSVC_DB_FDN_COLUMN_ID",        false, false, OneStatement, true, true);
CTSVC_DB_DETAIL_TRAITS(Sd,            CCtSvcSpeedDial,     CtSvcSpeedDialFilter,     CCtSvcSpeedDialFilter,     "speedDialInfo", "CTSVC_DB_SPEEDDIAL_COLUMN_ID",  false, false, OneStatement, true, true);
// clang-format on

#undef CTSVC_DB_DETAIL_TRAITS

#endif
