/* Person and primary structures of the contact service's C interface.
 *
 * Strings are NUL-terminated UTF-8 (L-code) character arrays. The library fills them with a
 * bounded copy of at most (array size - 1) bytes that never splits a UTF-8 sequence, and always
 * terminates them. When it reads them it never looks beyond the array: an unterminated array is
 * taken up to its last byte and reported as bad input.
 *
 * The field order, types and array sizes are the library's binary interface: never reorder,
 * resize or insert fields. */
#ifndef CTSVC_PERSON_H
#define CTSVC_PERSON_H

#include "CtSvcTypes.h"

/* Array sizes (maximum content + the terminator). */
#define CTSVC_PERSON_NAME_SIZE 151
#define CTSVC_PERSON_CALLER_IMAGE_SIZE 772
#define CTSVC_PERSON_UUID_SIZE 257
#define CTSVC_PRIMARY_NAME_SIZE 151
#define CTSVC_PRIMARY_CALLER_IMAGE_SIZE 773

/* FAVORITE column of a primary. A new primary is not a favourite. */
typedef enum CtSvcFavoriteType {
  CTSVC_FAVORITE_TYPE_NOT_FAVORITE = 1,
  CTSVC_FAVORITE_TYPE_FAVORITE = 2
} CtSvcFavoriteType;

/* The unset date of every date field: 1899-12-31 00:00:00. */
#define CTSVC_UNSET_DATE_YEAR 1899
#define CTSVC_UNSET_DATE_MONTH 12
#define CTSVC_UNSET_DATE_DAY 31

typedef struct CtSvcPersonInfo {
  UINT32 hPerson;       /* person handle; written by the library, ignored when a person is built */
  INT32 nSlotIndex;     /* SIM record index, -1 for none */
  char szFirstName[CTSVC_PERSON_NAME_SIZE];
  char szLastName[CTSVC_PERSON_NAME_SIZE];
  TmDateTime Birthday;  /* dates outside 1900..2100 / month 1..12 / day 1..31 are stored unset */
  TmDateTime BirthdayReserve;
  TmDateTime Anniversary;
  TmDateTime AnniversaryReserve;
  TmDateTime SaveTime;  /* time of last save; set by the library when unset or all zero */
  INT32 nDefaultPhoneNumberId;
  INT32 bHasPhoneNumber;
  INT32 bHasEmailAddress;
  INT32 bHasAddr;
  INT32 bHasIM;
  INT32 bHasEtcData;
  INT32 bHasRcs;
  INT32 bHasSnsData;
  INT32 nPrimaryId;
  INT32 nAccountId;     /* owning account, -1 (or any value below 1) for a local contact */
  char szCallerImage[CTSVC_PERSON_CALLER_IMAGE_SIZE];
  char szUuid[CTSVC_PERSON_UUID_SIZE];
} CtSvcPersonInfo;

typedef struct CtSvcPersonRecord {
  INT32 nId;
  INT32 DevType;        /* CtSvcDeviceType */
  CtSvcPersonInfo Info;
} CtSvcPersonRecord;

typedef struct CtSvcPrimaryInfo {
  INT32 DevType;        /* CtSvcDeviceType; left untouched when the library fills the structure */
  INT32 nDefaultPhoneNumberId;
  INT32 bHasPhoneNumber;
  INT32 bHasEmailAddress;
  INT32 bHasAddr;
  INT32 bHasIM;
  char szCallerImage[CTSVC_PRIMARY_CALLER_IMAGE_SIZE];
  INT32 nFavorite;      /* CtSvcFavoriteType */
  INT32 nFavoriteOrder;
  char szFirstName[CTSVC_PRIMARY_NAME_SIZE];
  char szLastName[CTSVC_PRIMARY_NAME_SIZE];
  INT32 nFirstAccountId;
  INT32 nSecondAccountId;
  INT32 nThirdAccountId;
  INT32 nLinkCount;
  INT32 nReserved;      /* carried through the record unchanged, never stored; 0 by default */
} CtSvcPrimaryInfo;

typedef struct CtSvcPrimaryRecord {
  INT32 nId;
  CtSvcPrimaryInfo Info;
} CtSvcPrimaryRecord;

#endif
