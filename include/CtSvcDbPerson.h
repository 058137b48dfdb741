/* Persons and primaries: the stored contacts and the merged contacts the user sees. */
#ifndef CTSVC_DB_PERSON_H
#define CTSVC_DB_PERSON_H

#include "CtSvcDetail.h"
#include "CtSvcFilter.h"
#include "CtSvcPerson.h"
#include "CtSvcRecord.h"
#include "CtSvcTask.h"
#include "CtSvcTypes.h"

/* Favourite order given to a primary whose favourite type is set. */
#define CTSVC_FAVORITE_ORDER_DEFAULT 100000


ZEL_EXTERN_C_BEGIN

/* ---- Persons (handles: device type << 30 | row id) ---- */

/* Inserts a person of the device type into the primary; its handle, or -1. pszCaller and nLine
 * name the caller in the log. */
HOBJ CtSvcDbPersonInsertRecord(int nDeviceType, int nPrimaryId, const CtSvcPersonInfo* pInfo, const char* pszCaller,
                               int nLine);
BOOL CtSvcDbPersonUpdateRecord(HOBJ hPerson, int nPrimaryId, const CtSvcPersonInfo* pInfo);
/* Deletes the person with its details, memberships and speed dials. */
BOOL CtSvcDbPersonDeleteRecord(HOBJ hPerson);
/* Deletes the persons a filter selects, with their details. */
BOOL CtSvcDbPersonDeleteRecordsWithFilter(const CtSvcPersonFilter* pFilter);
/* Deletes every person of a device type with its rows, 100 rows at a time. */
BOOL CtSvcDbPersonDeleteRecordsWithDeviceType(int nDeviceType);
/* Deletes the contacts of the accounts (nCount > 0) or, with nCount 0, the local contacts of a
 * device type, now. */
BOOL CtSvcDbPersonDeleteRecords(int nDeviceType, const int* pAccountIds, int nCount);
/* Queues the removal of the accounts' contacts on the background task; the callback runs when it is
 * done, on the event handler current now. */
BOOL CtSvcDbPersonDeletebyAccount(int nDeviceType, const int* pAccountIds, int nCount,
                                  CtSvcDeleteAccountCallback pfnCallback, void* pUserData);

BOOL CtSvcDbPersonGetRecord(HOBJ hPerson, CtSvcPersonRecord* pRecord);
BOOL CtSvcDbPersonGetRecordById(int nId, CtSvcPersonRecord* pRecord);
/* Fills up to nCapacity records of the persons a filter selects; the number filled, -1 on bad input. */
int CtSvcDbPersonGetRecords(const CtSvcPersonFilter* pFilter, CtSvcPersonRecord* pRecords, int nCapacity);
int CtSvcDbPersonGetTotalCount(void);
int CtSvcDbPersonGetCount(const CtSvcPersonFilter* pFilter);
/* A person's details: up to nCapacity records; the number filled, -1 for a bad handle. */
int CtSvcDbPersonGetPhoneNumberList(HOBJ hPerson, CtSvcPhoneNumberRecord* pRecords, int nCapacity);
int CtSvcDbPersonGetEmailAddressList(HOBJ hPerson, CtSvcEmailAddressRecord* pRecords, int nCapacity);
int CtSvcDbPersonGetPostalAddressList(HOBJ hPerson, CtSvcPostalAddressRecord* pRecords, int nCapacity);
int CtSvcDbPersonGetEtcData(HOBJ hPerson, CtSvcEtcDataRecord* pRecords, int nCapacity);
int CtSvcDbPersonGetIM(HOBJ hPerson, CtSvcIMRecord* pRecords, int nCapacity);
int CtSvcDbPersonGetRcsInformation(HOBJ hPerson, CtSvcRcsRecord* pRecords, int nCapacity);
int CtSvcDbPersonGetSnsData(HOBJ hPerson, CtSvcSnsDataRecord* pRecords, int nCapacity);
/* The person's default number; 0 when it has none. */
BOOL CtSvcDbPersonGetDefaultPhoneNumber(HOBJ hPerson, CtSvcPhoneNumberRecord* pRecord);
/* The groups the person is a member of, up to nCapacity; the number filled, -1 for a bad handle. */
int CtSvcDbPersonGetJoinedGroupList(HOBJ hPerson, CtSvcGroupRecord* pRecords, int nCapacity);
/* Handles of the persons a filter selects (null: all), up to nCapacity; the number written. */
int CtSvcDbPersonHandles(const CtSvcPersonFilter* pFilter, HOBJ* pHandles, int nCapacity);
/* Number of persons whose letter sorts before the letter, in the filter's index order; -1. */
int CtSvcDbPersonGetFastScrollIndex(const CtSvcPersonFilter* pFilter, const MCHAR* pmszLetter);
/* The distinct group letters of persons in sort order with the number of persons under each, up
 * to nCapacity; the number of letters, -1 on failure. */
int CtSvcDbPersonGetGroupLetters(const CtSvcPersonFilter* pFilter, MCHAR* pLetters, INT32* pCounts, int nCapacity);

/* ---- Primaries (plain row ids) ---- */

BOOL CtSvcDbPrimaryGetRecord(int nId, CtSvcPrimaryRecord* pRecord);
int CtSvcDbPrimaryGetCount(const CtSvcPrimaryFilter* pFilter);
/* Ids of the primaries a filter selects (null: all), up to nCapacity when positive; the number. */
int CtSvcDbPrimaryGetIds(const CtSvcPrimaryFilter* pFilter, INT32* pIds, int nCapacity);
/* The persons of a primary in the order the primary takes its name from: local phone persons,
 * SIM persons, then the persons of each account in the order of the account list. Up to nCapacity
 * records; the number filled (0 for a primary without persons), -1 on bad input. */
int CtSvcDbPrimaryGetPersons(int nPrimaryId, CtSvcPersonRecord* pRecords, int nCapacity);
BOOL CtSvcDbPrimarySetDefaultPhoneNumberId(int nId, int nPhoneNumberId);
/* Sets the favourite type and resets the favourite order to CTSVC_FAVORITE_ORDER_DEFAULT. */
BOOL CtSvcDbPrimarySetFavoriteType(int nId, int nFavoriteType);
/* Only for a favourite (type 2); 0 otherwise. */
BOOL CtSvcDbPrimarySetFavoriteOrder(int nId, int nOrder);
/* Moves every person of the source primary into the destination and deletes the source. */
BOOL CtSvcDbPrimaryLinkPerson(int nDestPrimaryId, int nSrcPrimaryId);
/* Rearranges the primary after a person left it; with bSplit every other person of it gets a
 * primary of its own. */
BOOL CtSvcDbPrimaryUnlinkPerson(int nPrimaryId, int nPersonId, int bSplit);
/* The primary a phone contact would join (other than nExceptPrimaryId), or -1. A SIM contact
 * never joins one: it always gets a primary of its own. */
int CtSvcDbPrimaryFindPrimary(const CtSvcContactInfo* pContact, int nExceptPrimaryId);
/* A new primary made from a stored person; its id, or -1. */
int CtSvcDbPrimaryCreatePrimary(HOBJ hPerson, int bCommit);
BOOL CtSvcDbPrimaryRearrange(int nId);
/* Deletes a primary with its persons and their rows. */
BOOL CtSvcDbPrimaryDeleteRecord(int nId);
int CtSvcDbPrimaryGetFastScrollIndex(const CtSvcPrimaryFilter* pFilter, const MCHAR* pmszLetter);
int CtSvcDbPrimaryGetGroupLetters(const CtSvcPrimaryFilter* pFilter, MCHAR* pLetters, INT32* pCounts, int nCapacity);

ZEL_EXTERN_C_END

#endif
