/* Lists over query results: an application opens a list from a filter structure and walks its
 * rows through a small integer handle.
 *
 * There are ten list families, each with its own fixed table of open lists; a handle is an index
 * into its family's table (0 .. size-1). Every family has
 *   <F>Create(filter, callback)       the handle, or -1 when the table is full or the list cannot
 *                                     be opened. A null filter selects every row. The callback,
 *                                     when given, is a list listener (CtSvcDbListener.h) called
 *                                     with a null user data whenever a table the list reads
 *                                     changes: its own rows (with their id) or a table its filter
 *                                     reads (id -1, such as a membership of a list filtered by
 *                                     group). The FDN family takes no callback.
 *   <F>Destroy(handle)                1; 0 for a handle out of range (assertion) or not open
 *                                     (silently).
 *   <F>GetCount(handle)               the number of rows, or -1.
 *   <F>GetAt(handle, index, record)   1 when *record was filled with the row at index, else 0.
 *   <F>GetListIndexFromID(handle, id) the position of the row with that id, or -1.
 * The contact and primary families also have a name lookup and a cursor shared by every user of
 * the handle:
 *   <F>GetListIndexFromName(handle, name)  the number of rows of the list's filter whose display
 *                                     name (first-last when name->NameOrder is
 *                                     CTSVC_FILTER_NAME_ORDER_FIRST_LAST, else last-first) sorts
 *                                     before name->szDisplayName, or -1.
 *   <F>SetPos(handle, pos)            1; 0 when the cursor cannot move; -1 for a bad handle or a
 *                                     position outside the list.
 *   <F>GetCurrent(handle, record)     fills *record with the cursor's row; its position, or -1.
 *   <F>GetNext / <F>GetPrev(handle, record)  moves the cursor one row and fills *record; 1 or 0
 *                                     (the cursor stays where it was at either end).
 *   <F>IsFirst / <F>IsLast(handle)    the cursor's answer; 0 for a bad handle or an empty list.
 *
 * Rows are read from the list as it stands: a change of any table the list reads (its rows, and
 * the tables its filter names, such as the memberships of a list filtered by group) is seen by
 * the next read. A primary is listed once in a list over primaries of a group, however many of its
 * persons are members. Memberships are listed in the order of their persons. Lists stay open until
 * they are destroyed.
 *
 * Every function holds the module mutex for its whole run, so a handle may be used from any
 * thread. Bad handles, unopened slots, negative indexes and null pointers are reported as
 * assertions and answered with the failure value; the tables do not change. */
#ifndef CTSVC_LIST_H
#define CTSVC_LIST_H

#include "CtSvcDbListener.h"
#include "CtSvcDetail.h"
#include "CtSvcFilter.h"
#include "CtSvcPerson.h"
#include "CtSvcTypes.h"

/* Open lists per family. */
#define CTSVC_PHONEBOOK_LIST_MAX 15
#define CTSVC_PRIMARY_LIST_MAX 15
#define CTSVC_FDN_LIST_MAX 5
#define CTSVC_GROUP_LIST_MAX 5
#define CTSVC_GROUPMEMBER_LIST_MAX 5
#define CTSVC_PHONENUMBER_LIST_MAX 5
#define CTSVC_EMAILADDRESS_LIST_MAX 5
#define CTSVC_POSTALADDRESS_LIST_MAX 5
#define CTSVC_ETCDATA_LIST_MAX 5
#define CTSVC_IM_LIST_MAX 5

/* Called when a table an open list reads changes: (change code, row id or -1, null, null). */
typedef CtSvcDbListenerCallback CtSvcListCallback;

ZEL_EXTERN_C_BEGIN

/* ---- Persons ---- */
INT32 CtSvcContactListCreate(const CtSvcPersonFilter* pFilter, CtSvcListCallback pfnCallback);
BOOL CtSvcContactListDestroy(INT32 hPhonebook);
INT32 CtSvcContactListGetCount(INT32 hPhonebook);
BOOL CtSvcContactListGetAt(INT32 hPhonebook, INT32 nIndex, CtSvcPersonRecord* pRecord);
INT32 CtSvcContactListGetListIndexFromID(INT32 hPhonebook, INT32 nId);
INT32 CtSvcContactListGetListIndexFromName(INT32 hPhonebook, const CtSvcPersonFilterName* pNameFilter);
INT32 CtSvcContactListSetPos(INT32 hPhonebook, INT32 nPos);
INT32 CtSvcContactListGetCurrent(INT32 hPhonebook, CtSvcPersonRecord* pRecord);
BOOL CtSvcContactListGetNext(INT32 hPhonebook, CtSvcPersonRecord* pRecord);
BOOL CtSvcContactListGetPrev(INT32 hPhonebook, CtSvcPersonRecord* pRecord);
BOOL CtSvcContactListIsFirst(INT32 hPhonebook);
BOOL CtSvcContactListIsLast(INT32 hPhonebook);

/* ---- Primaries (merged contacts) ---- */
INT32 CtSvcPrimaryListCreate(const CtSvcPrimaryFilter* pFilter, CtSvcListCallback pfnCallback);
BOOL CtSvcPrimaryListDestroy(INT32 hPrimary);
INT32 CtSvcPrimaryListGetCount(INT32 hPrimary);
BOOL CtSvcPrimaryListGetAt(INT32 hPrimary, INT32 nIndex, CtSvcPrimaryRecord* pRecord);
INT32 CtSvcPrimaryListGetListIndexFromID(INT32 hPrimary, INT32 nId);
INT32 CtSvcPrimaryListGetListIndexFromName(INT32 hPrimary, const CtSvcPersonFilterName* pNameFilter);
INT32 CtSvcPrimaryListSetPos(INT32 hPrimary, INT32 nPos);
INT32 CtSvcPrimaryListGetCurrent(INT32 hPrimary, CtSvcPrimaryRecord* pRecord);
BOOL CtSvcPrimaryListGetNext(INT32 hPrimary, CtSvcPrimaryRecord* pRecord);
BOOL CtSvcPrimaryListGetPrev(INT32 hPrimary, CtSvcPrimaryRecord* pRecord);
BOOL CtSvcPrimaryListIsFirst(INT32 hPrimary);
BOOL CtSvcPrimaryListIsLast(INT32 hPrimary);

/* ---- Fixed-dialling numbers ---- */
INT32 CtSvcFdnListCreate(const CtSvcFdnFilter* pFilter);
BOOL CtSvcFdnListDestroy(INT32 hFdn);
INT32 CtSvcFdnListGetCount(INT32 hFdn);
BOOL CtSvcFdnListGetAt(INT32 hFdn, INT32 nIndex, CtSvcFdnRecord* pRecord);
INT32 CtSvcFdnListGetListIndexFromID(INT32 hFdn, INT32 nId);

/* ---- Groups ---- */
INT32 CtSvcGroupListCreate(const CtSvcGroupFilter* pFilter, CtSvcListCallback pfnCallback);
BOOL CtSvcGroupListDestroy(INT32 hGroup);
INT32 CtSvcGroupListGetCount(INT32 hGroup);
BOOL CtSvcGroupListGetAt(INT32 hGroup, INT32 nIndex, CtSvcGroupRecord* pRecord);
INT32 CtSvcGroupListGetListIndexFromID(INT32 hGroup, INT32 nId);

/* ---- Group memberships ---- */
INT32 CtSvcGroupMemberListCreate(const CtSvcGroupMemberFilter* pFilter, CtSvcListCallback pfnCallback);
BOOL CtSvcGroupMemberListDestroy(INT32 hGroupMember);
INT32 CtSvcGroupMemberListGetCount(INT32 hGroupMember);
BOOL CtSvcGroupMemberListGetAt(INT32 hGroupMember, INT32 nIndex, CtSvcGroupMemberRecord* pRecord);
INT32 CtSvcGroupMemberListGetListIndexFromID(INT32 hGroupMember, INT32 nId);

/* ---- Phone numbers ---- */
INT32 CtSvcPhoneNumberListCreate(const CtSvcPhoneNumberFilter* pFilter, CtSvcListCallback pfnCallback);
BOOL CtSvcPhoneNumberListDestroy(INT32 hPhoneNumber);
INT32 CtSvcPhoneNumberListGetCount(INT32 hPhoneNumber);
BOOL CtSvcPhoneNumberListGetAt(INT32 hPhoneNumber, INT32 nIndex, CtSvcPhoneNumberRecord* pRecord);
INT32 CtSvcPhoneNumberListGetListIndexFromID(INT32 hPhoneNumber, INT32 nId);

/* ---- E-mail addresses ---- */
INT32 CtSvcEmailAddressListCreate(const CtSvcEmailFilter* pFilter, CtSvcListCallback pfnCallback);
BOOL CtSvcEmailAddressListDestroy(INT32 hEmailAddress);
INT32 CtSvcEmailAddressListGetCount(INT32 hEmailAddress);
BOOL CtSvcEmailAddressListGetAt(INT32 hEmailAddress, INT32 nIndex, CtSvcEmailAddressRecord* pRecord);
INT32 CtSvcEmailAddressListGetListIndexFromID(INT32 hEmailAddress, INT32 nId);

/* ---- Postal addresses ---- */
INT32 CtSvcPostalAddressListCreate(const CtSvcPostalAddressFilter* pFilter, CtSvcListCallback pfnCallback);
BOOL CtSvcPostalAddressListDestroy(INT32 hPostalAddress);
INT32 CtSvcPostalAddressListGetCount(INT32 hPostalAddress);
BOOL CtSvcPostalAddressListGetAt(INT32 hPostalAddress, INT32 nIndex, CtSvcPostalAddressRecord* pRecord);
INT32 CtSvcPostalAddressListGetListIndexFromID(INT32 hPostalAddress, INT32 nId);

/* ---- Other data ---- */
INT32 CtSvcEtcDataListCreate(const CtSvcEtcDataFilter* pFilter, CtSvcListCallback pfnCallback);
BOOL CtSvcEtcDataListDestroy(INT32 hEtcData);
INT32 CtSvcEtcDataListGetCount(INT32 hEtcData);
BOOL CtSvcEtcDataListGetAt(INT32 hEtcData, INT32 nIndex, CtSvcEtcDataRecord* pRecord);
INT32 CtSvcEtcDataListGetListIndexFromID(INT32 hEtcData, INT32 nId);

/* ---- Instant-messaging addresses ---- */
INT32 CtSvcIMListCreate(const CtSvcIMFilter* pFilter, CtSvcListCallback pfnCallback);
BOOL CtSvcIMListDestroy(INT32 hIM);
INT32 CtSvcIMListGetCount(INT32 hIM);
BOOL CtSvcIMListGetAt(INT32 hIM, INT32 nIndex, CtSvcIMRecord* pRecord);
INT32 CtSvcIMListGetListIndexFromID(INT32 hIM, INT32 nId);

ZEL_EXTERN_C_END

#endif
