/* Record structures of the contact service's C interface, and the contact-info structure that
 * bundles one person with its detail arrays. */
#ifndef CTSVC_RECORD_H
#define CTSVC_RECORD_H

#include "CtSvcDetail.h"
#include "CtSvcPerson.h"
#include "CtSvcTypes.h"

/* A whole contact: one person and its details.
 *
 * Each detail list is a pointer to an array of info structures and its count. When a contact is
 * built from the structure, a null array or a count of 0 or less means "none" (the update
 * functions of the phonebook read a count of -1 as "leave the stored list as it is").
 * pRcsInfo and pSnsDataInfo point at one entry each, or are null.
 *
 * Ownership: functions that take a contact info only read it; the caller builds it as it likes.
 * Functions that fill a contact info for the caller (vCard reading, reading a contact from the
 * store) allocate pPersonInfo and every array with the platform allocator (MemAlloc); the caller
 * releases them with CtSvcFreeContactInfo. A caller that wants to release its own structure the
 * same way must allocate its arrays with MemAlloc too. */
typedef struct CtSvcContactInfo {
  CtSvcPersonInfo* pPersonInfo;
  CtSvcPhoneNumberInfo* pPhoneNumberInfo;
  INT32 nPhoneNumberCount;
  CtSvcEmailAddressInfo* pEmailAddressInfo;
  INT32 nEmailAddressCount;
  CtSvcPostalAddressInfo* pPostalAddressInfo;
  INT32 nPostalAddressCount;
  CtSvcGroupMemberInfo* pGroupMemberInfo;
  INT32 nGroupMemberCount;
  CtSvcEtcDataInfo* pEtcDataInfo;
  INT32 nEtcDataCount;
  CtSvcIMInfo* pIMInfo;
  INT32 nIMCount;
  CtSvcRcsInfo* pRcsInfo;
  CtSvcSnsDataInfo* pSnsDataInfo;
} CtSvcContactInfo;

ZEL_EXTERN_C_BEGIN

/* Frees, with the platform allocator, the person info and every array the structure points at,
 * then sets the pointers to null and the counts to 0. The structure itself is not freed: it
 * belongs to the caller (often it lives on the caller's stack). FALSE for a null pointer. */
BOOL CtSvcFreeContactInfo(CtSvcContactInfo* pContactInfo);

ZEL_EXTERN_C_END

#endif
