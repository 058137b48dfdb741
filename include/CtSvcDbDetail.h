/* Detail tables: phone numbers, e-mail addresses, postal addresses, other data, IM, social-network
 * data, RCS, group memberships, groups, fixed-dialling numbers and speed dials.
 *
 * Every table has the same family of functions, CtSvcDb<Table><Operation>:
 *
 *   InsertRecord   the new row id, or -1. The details of a person take the person handle
 *                  (device type << 30 | person id) and the primary id: the row gets PERSON_ID =
 *                  handle & 0x3FFFFFFF, DEVICE_TYPE = handle >> 30 (tables that have the column)
 *                  and PRIMARY_ID = the argument. Phone numbers and e-mail addresses also read the
 *                  stored person and copy its account id and names into the row; a person that
 *                  cannot be read is logged and the row is stored with the identity of the handle.
 *                  Groups and FDN entries take only their info.
 *   UpdateRecord   1/0. Rewrites row nID with the info (and, for details of a person, the identity
 *                  as for an insert); columns the info does not carry (account id) keep their
 *                  stored values. A row that does not exist, or is of the other kind of the shared
 *                  phone-number/e-mail table, is not touched (0).
 *   DeleteRecord   1/0 (0 when the row does not exist). Deleting a phone number also deletes the
 *                  speed dials that dial it; deleting a group moves local phone contacts that were
 *                  only in that group to group 1.
 *   DeleteRecordsWithFilter
 *                  1/0. Phone numbers, e-mail, postal addresses, other data, RCS and memberships
 *                  are deleted row by row, so that every listener hears of every row (and the
 *                  speed dials of deleted numbers go too); IM, social-network data, groups and FDN
 *                  entries are deleted in one statement and listeners hear one change with id -1
 *                  (a group deleted this way does not move its members). A filter that matches
 *                  nothing succeeds (1).
 *   GetRecord      1/0: fills *pRecord with row nID (unchanged on failure).
 *   GetRecords     the number of records written to pRecords (at most nCapacity, in the list
 *                  order of the table), or -1 on bad input or when the rows cannot be read.
 *                  A null filter selects every row.
 *   GetCount       the number of rows the filter selects (null: every row), or -1.
 *   GetTotalCount  the number of rows of the table, or -1. Phone numbers and e-mail addresses
 *                  share one table: their total counts both kinds.
 *
 * Writing functions hold the module mutex for their whole run; reading functions take no lock.
 * Bad input (null pointer, id <= 0, a handle that names no phone or SIM person, a negative
 * capacity) is reported as an assertion and answered with 0 or -1; nothing is changed. */
#ifndef CTSVC_DB_DETAIL_H
#define CTSVC_DB_DETAIL_H

#include "CtSvcDetail.h"
#include "CtSvcFilter.h"
#include "CtSvcTypes.h"

/* Speed-dial keys run from 1 to 29. */
#define CTSVC_SPEEDDIAL_SLOT_FIRST 1
#define CTSVC_SPEEDDIAL_SLOT_LAST 29

/* A row of the shared phone-number/e-mail table: Type tells which member is filled. */
typedef struct CtSvcContactDataRecord {
  INT32 Type; /* CTSVC_CONTACT_TYPE_PHONENUMBER or CTSVC_CONTACT_TYPE_EMAILADDRESS */
  union {
    CtSvcPhoneNumberRecord PhoneNumber;
    CtSvcEmailAddressRecord EmailAddress;
  } Data;
} CtSvcContactDataRecord;

ZEL_EXTERN_C_BEGIN

/* ---- Phone numbers ("CtSvc/PhoneNumber") ---- */
int CtSvcDbPhoneNumberInsertRecord(HOBJ hPerson, int nPrimaryId, const CtSvcPhoneNumberInfo* pInfo); /* id, -1 */
BOOL CtSvcDbPhoneNumberUpdateRecord(int nID, HOBJ hPerson, int nPrimaryId, const CtSvcPhoneNumberInfo* pInfo);
BOOL CtSvcDbPhoneNumberDeleteRecord(int nID);
BOOL CtSvcDbPhoneNumberDeleteRecordsWithFilter(const CtSvcPhoneNumberFilter* pFilter);
BOOL CtSvcDbPhoneNumberGetRecord(int nID, CtSvcPhoneNumberRecord* pRecord);
int CtSvcDbPhoneNumberGetRecords(const CtSvcPhoneNumberFilter* pFilter, CtSvcPhoneNumberRecord* pRecords,
                                 int nCapacity); /* count, -1 */
int CtSvcDbPhoneNumberGetCount(const CtSvcPhoneNumberFilter* pFilter); /* count, -1 */
int CtSvcDbPhoneNumberGetTotalCount(void);                              /* count, -1 */

/* ---- E-mail addresses ("CtSvc/Email") ---- */
int CtSvcDbEmailAddressInsertRecord(HOBJ hPerson, int nPrimaryId, const CtSvcEmailAddressInfo* pInfo); /* id, -1 */
BOOL CtSvcDbEmailAddressUpdateRecord(int nID, HOBJ hPerson, int nPrimaryId, const CtSvcEmailAddressInfo* pInfo);
BOOL CtSvcDbEmailAddressDeleteRecord(int nID);
BOOL CtSvcDbEmailAddressDeleteRecordsWithFilter(const CtSvcEmailFilter* pFilter);
BOOL CtSvcDbEmailAddressGetRecord(int nID, CtSvcEmailAddressRecord* pRecord);
int CtSvcDbEmailAddressGetRecords(const CtSvcEmailFilter* pFilter, CtSvcEmailAddressRecord* pRecords,
                                  int nCapacity); /* count, -1 */
int CtSvcDbEmailAddressGetCount(const CtSvcEmailFilter* pFilter); /* count, -1 */
int CtSvcDbEmailAddressGetTotalCount(void);                        /* count, -1 */

/* ---- Postal addresses ("CtSvc/PostalAddress"; no device type) ---- */
int CtSvcDbPostalAddressInsertRecord(HOBJ hPerson, int nPrimaryId, const CtSvcPostalAddressInfo* pInfo); /* id, -1 */
BOOL CtSvcDbPostalAddressUpdateRecord(int nID, HOBJ hPerson, int nPrimaryId, const CtSvcPostalAddressInfo* pInfo);
BOOL CtSvcDbPostalAddressDeleteRecord(int nID);
BOOL CtSvcDbPostalAddressDeleteRecordsWithFilter(const CtSvcPostalAddressFilter* pFilter);
BOOL CtSvcDbPostalAddressGetRecord(int nID, CtSvcPostalAddressRecord* pRecord);
int CtSvcDbPostalAddressGetRecords(const CtSvcPostalAddressFilter* pFilter, CtSvcPostalAddressRecord* pRecords,
                                   int nCapacity); /* count, -1 */
int CtSvcDbPostalAddressGetCount(const CtSvcPostalAddressFilter* pFilter); /* count, -1 */
int CtSvcDbPostalAddressGetTotalCount(void);                                /* count, -1 */

/* ---- Other data ("CtSvc/EtcData"; no GetRecord) ---- */
int CtSvcDbEtcDataInsertRecord(HOBJ hPerson, int nPrimaryId, const CtSvcEtcDataInfo* pInfo); /* id, -1 */
BOOL CtSvcDbEtcDataUpdateRecord(int nID, HOBJ hPerson, int nPrimaryId, const CtSvcEtcDataInfo* pInfo);
BOOL CtSvcDbEtcDataDeleteRecord(int nID);
BOOL CtSvcDbEtcDataDeleteRecordsWithFilter(const CtSvcEtcDataFilter* pFilter);
int CtSvcDbEtcDataGetRecords(const CtSvcEtcDataFilter* pFilter, CtSvcEtcDataRecord* pRecords,
                             int nCapacity);                      /* count, -1 */
int CtSvcDbEtcDataGetCount(const CtSvcEtcDataFilter* pFilter); /* count, -1 */
int CtSvcDbEtcDataGetTotalCount(void);                          /* count, -1 */

/* ---- IM ("CtSvc/IM"; filtered delete in one statement; no total count) ---- */
int CtSvcDbIMInsertRecord(HOBJ hPerson, int nPrimaryId, const CtSvcIMInfo* pInfo); /* id, -1 */
BOOL CtSvcDbIMUpdateRecord(int nID, HOBJ hPerson, int nPrimaryId, const CtSvcIMInfo* pInfo);
BOOL CtSvcDbIMDeleteRecord(int nID);
BOOL CtSvcDbIMDeleteRecordsWithFilter(const CtSvcIMFilter* pFilter);
BOOL CtSvcDbIMGetRecord(int nID, CtSvcIMRecord* pRecord);
int CtSvcDbIMGetRecords(const CtSvcIMFilter* pFilter, CtSvcIMRecord* pRecords, int nCapacity); /* count, -1 */
int CtSvcDbIMGetCount(const CtSvcIMFilter* pFilter);                                           /* count, -1 */

/* ---- Social-network data ("CtSvc/SnsData"; filtered delete in one statement; no total count) ---- */
int CtSvcDbSnsDataInsertRecord(HOBJ hPerson, int nPrimaryId, const CtSvcSnsDataInfo* pInfo); /* id, -1 */
BOOL CtSvcDbSnsDataUpdateRecord(int nID, HOBJ hPerson, int nPrimaryId, const CtSvcSnsDataInfo* pInfo);
BOOL CtSvcDbSnsDataDeleteRecord(int nID);
BOOL CtSvcDbSnsDataDeleteRecordsWithFilter(const CtSvcSnsDataFilter* pFilter);
BOOL CtSvcDbSnsDataGetRecord(int nID, CtSvcSnsDataRecord* pRecord);
int CtSvcDbSnsDataGetRecords(const CtSvcSnsDataFilter* pFilter, CtSvcSnsDataRecord* pRecords,
                             int nCapacity);                      /* count, -1 */
int CtSvcDbSnsDataGetCount(const CtSvcSnsDataFilter* pFilter); /* count, -1 */

/* ---- RCS ("CtSvc/Rcs"; writes only) ---- */
int CtSvcDbRcsInsertRecord(HOBJ hPerson, int nPrimaryId, const CtSvcRcsInfo* pInfo); /* id, -1 */
BOOL CtSvcDbRcsUpdateRecord(int nID, HOBJ hPerson, int nPrimaryId, const CtSvcRcsInfo* pInfo);
BOOL CtSvcDbRcsDeleteRecord(int nID);
BOOL CtSvcDbRcsDeleteRecordsWithFilter(const CtSvcRcsFilter* pFilter);

/* ---- Group memberships ("CtSvc/GroupMember"; the handle and primary id replace the info's
 * person and primary ids) ---- */
int CtSvcDbGroupMemberInsertRecord(HOBJ hPerson, int nPrimaryId, const CtSvcGroupMemberInfo* pInfo); /* id, -1 */
BOOL CtSvcDbGroupMemberUpdateRecord(int nID, HOBJ hPerson, int nPrimaryId, const CtSvcGroupMemberInfo* pInfo);
BOOL CtSvcDbGroupMemberDeleteRecord(int nID);
BOOL CtSvcDbGroupMemberDeleteRecordsWithFilter(const CtSvcGroupMemberFilter* pFilter);
BOOL CtSvcDbGroupMemberGetRecord(int nID, CtSvcGroupMemberRecord* pRecord);
int CtSvcDbGroupMemberGetRecords(const CtSvcGroupMemberFilter* pFilter, CtSvcGroupMemberRecord* pRecords,
                                 int nCapacity);                        /* count, -1 */
int CtSvcDbGroupMemberGetCount(const CtSvcGroupMemberFilter* pFilter); /* count, -1 */

/* ---- Groups ("CtSvc/Group"; filtered delete in one statement) ---- */
int CtSvcDbGroupInsertRecord(const CtSvcGroupInfo* pInfo); /* id, -1 */
BOOL CtSvcDbGroupUpdateRecord(int nID, const CtSvcGroupInfo* pInfo);
BOOL CtSvcDbGroupDeleteRecord(int nID);
BOOL CtSvcDbGroupDeleteRecordsWithFilter(const CtSvcGroupFilter* pFilter);
BOOL CtSvcDbGroupGetRecord(int nID, CtSvcGroupRecord* pRecord);
int CtSvcDbGroupGetRecords(const CtSvcGroupFilter* pFilter, CtSvcGroupRecord* pRecords, int nCapacity); /* count, -1 */
int CtSvcDbGroupGetCount(const CtSvcGroupFilter* pFilter); /* count, -1 */
int CtSvcDbGroupGetTotalCount(void);                        /* count, -1 */
/* The memberships of group nID, up to nCapacity; the number written, or -1. */
int CtSvcDbGroupGetGroupMemberList(int nID, CtSvcGroupMemberRecord* pRecords, int nCapacity);

/* ---- Fixed-dialling numbers ("CtSvc/Fdn"; filtered delete in one statement) ---- */
int CtSvcDbFdnInsertRecord(const CtSvcFdnInfo* pInfo); /* id, -1 */
BOOL CtSvcDbFdnUpdateRecord(int nID, const CtSvcFdnInfo* pInfo);
BOOL CtSvcDbFdnDeleteRecord(int nID);
BOOL CtSvcDbFdnDeleteRecordsWithFilter(const CtSvcFdnFilter* pFilter);
BOOL CtSvcDbFdnGetRecord(int nID, CtSvcFdnRecord* pRecord);
int CtSvcDbFdnGetRecords(const CtSvcFdnFilter* pFilter, CtSvcFdnRecord* pRecords, int nCapacity); /* count, -1 */
int CtSvcDbFdnGetCount(const CtSvcFdnFilter* pFilter); /* count, -1 */
int CtSvcDbFdnGetTotalCount(void);                      /* count, -1 */
/* 1/0: fills *pRecord with the first entry (by name) whose number ends in the same caller digits
 * as pszPhoneNumber, so "+821012345678" finds an entry stored as "01012345678". */
BOOL CtSvcDbFdnGetRecordByPhoneNumber(const char* pszPhoneNumber, CtSvcFdnRecord* pRecord);
/* 1 when an entry matches the number in the same way, else 0. */
BOOL CtSvcDbFdnCheckIsAvailFdnNumber(const char* pszPhoneNumber);

/* ---- Speed dial ("CtSvc/SpeedDial") ---- */
/* Number of speed-dial rows, or -1. */
int CtSvcDbSdGetCount(void);
/* 1/0: the record of a key; 0 for an empty key. */
BOOL CtSvcDbSdGetRecord(int nSlotIndex, CtSvcSpeedDialRecord* pRecord);
/* 1/0: the speed-dial row nID. */
BOOL CtSvcDbSdGetRecordByID(int nID, CtSvcSpeedDialRecord* pRecord);
/* The key that dials phone-number row nPhoneNumberId, or -1. */
int CtSvcDbSdGetSlotIndex(int nPhoneNumberId);
/* The lowest free key in 1..29, or -1 when every key is used. */
int CtSvcDbSdGetUnusedSlotIndex(void);
/* 1/0. nPhoneNumberId -1 empties the key; otherwise the key dials that phone-number row (which
 * must exist), replacing what it dialled before. nPerson is the owner's id or handle (-1: the
 * owner of the number); device type and account come from the number's row. */
BOOL CtSvcDbSdSetRecord(int nSlotIndex, int nPhoneNumberId, int nPerson);

/* ---- Either kind of the phone-number/e-mail table ---- */
/* 1/0: reads row nID and fills the member of *pRecord that its TYPE names. */
BOOL CtSvcDbContactDataGetRecord(int nID, CtSvcContactDataRecord* pRecord);

ZEL_EXTERN_C_END

#endif
