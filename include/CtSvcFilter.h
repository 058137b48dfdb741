/* Filter structures of the contact service's C interface. An application fills one of these to
 * say which rows of a contact table it wants; the service turns it into a content filter (a WHERE
 * text with "?" arguments, an order and an index hint).
 *
 * Unset values: -1 for ids and slot indexes, 0 for types, flags and device types. A structure
 * that is only zero-filled is NOT unset (id 0 would be looked up), so initialise every structure
 * with its CtSvc...FilterInit function before filling the fields of interest.
 *
 * Strings are NUL-terminated UTF-8 arrays of which at most (array size - 1) bytes are used.
 * Enumerated fields are plain 32-bit integers that take the values of the enumerations below. */
#ifndef CTSVC_FILTER_H
#define CTSVC_FILTER_H

#include "CtSvcTypes.h"

/* How a text value is matched. */
typedef enum CtSvcFilterTruncation {
  CTSVC_FILTER_TRUNCATION_EXACT = 0,   /* the whole value */
  CTSVC_FILTER_TRUNCATION_PREFIX = 1,  /* the value starts with the text */
  CTSVC_FILTER_TRUNCATION_SUFFIX = 2,  /* the value ends with the text */
  CTSVC_FILTER_TRUNCATION_CONTAINS = 3 /* the text appears anywhere in the value */
} CtSvcFilterTruncation;

/* Bits of FilterDetail: each set bit adds one condition. */
typedef enum CtSvcPrimaryFilterDetail {
  CTSVC_PRIMARY_FILTER_DETAIL_HAS_NAME = 1,
  CTSVC_PRIMARY_FILTER_DETAIL_HAS_PHONENUMBER = 2,
  CTSVC_PRIMARY_FILTER_DETAIL_HAS_EMAIL = 4,
  CTSVC_PRIMARY_FILTER_DETAIL_HAS_ADDRESS = 8,
  CTSVC_PRIMARY_FILTER_DETAIL_HAS_PHONENUMBER_OR_EMAIL = 16,
  CTSVC_PRIMARY_FILTER_DETAIL_NO_SNSDATA = 64
} CtSvcPrimaryFilterDetail;

/* Sort order of person and primary lists (FilterIndexType). */
typedef enum CtSvcFilterIndex {
  CTSVC_FILTER_INDEX_FIRST_LAST = 1, /* by first-last full name */
  CTSVC_FILTER_INDEX_LAST_FIRST = 2  /* by last-first full name */
} CtSvcFilterIndex;

/* NameOrder of CtSvcPersonFilterName: 2 matches the display name against the first-last full
 * name; any other value against the last-first full name. */
#define CTSVC_FILTER_NAME_ORDER_FIRST_LAST 2

#define CTSVC_FILTER_DISPLAY_NAME_SIZE 304
#define CTSVC_FILTER_PHONENUMBER_SIZE 51
#define CTSVC_FILTER_EMAIL_SIZE 301
#define CTSVC_FILTER_PCODE_SIZE 61
#define CTSVC_FILTER_ADDRESS_PART_SIZE 151
#define CTSVC_FILTER_ETCDATA_SIZE 961
#define CTSVC_FILTER_FDN_NAME_SIZE 151
#define CTSVC_FILTER_CALLER_IMAGE_SIZE 776
#define CTSVC_FILTER_GROUP_NAME_SIZE 61
#define CTSVC_FILTER_RINGTONE_SIZE 773
#define CTSVC_FILTER_SIP_SIZE 301
#define CTSVC_FILTER_IM_USER_ID_SIZE 321
#define CTSVC_FILTER_PEOPLE_ID_SIZE 102

/* A display-name condition. */
typedef struct CtSvcPersonFilterName {
  INT32 NameOrder; /* CTSVC_FILTER_NAME_ORDER_FIRST_LAST or another value (last-first) */
  char szDisplayName[CTSVC_FILTER_DISPLAY_NAME_SIZE];
  INT32 NameTruncation; /* CtSvcFilterTruncation */
} CtSvcPersonFilterName;

/* Persons. A date bound is a full date (year 1900..2100) or, for the birthday windows, a yearly
 * month and day with year 0 in both bounds; any other value leaves the bound unset. */
typedef struct CtSvcPersonFilter {
  INT32 nSlotIndex;
  INT32 DevType; /* CtSvcDeviceType */
  CtSvcPersonFilterName NameFilter;
  INT32 FavoriteType;
  TmDateTime BirthDayFrom;
  TmDateTime BirthDayTo;
  TmDateTime BirthDayReserveFrom;
  TmDateTime BirthDayReserveTo;
  TmDateTime AnniversaryFrom;
  TmDateTime AnniversaryTo;
  TmDateTime AnniversaryReserveFrom;
  TmDateTime AnniversaryReserveTo;
  INT32 FilterDetail;    /* CtSvcPrimaryFilterDetail bits */
  INT32 FilterIndexType; /* CtSvcFilterIndex; negative or other values: no order */
  INT32 nGroupId;        /* persons that joined this group */
  INT32 nPrimaryId;
  INT32 nAccountId;
  INT32 bLocalPhoneDataOnly;   /* 1: rows of no account */
  INT32 bExceptLocalPhoneData; /* 1: rows of an account */
  INT32 EtcDataType;           /* 1..31: persons having other data of this type */
} CtSvcPersonFilter;

typedef struct CtSvcPhoneNumberFilter {
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 DevType;
  INT32 nAccountId; /* kept, not used as a condition */
  INT32 bLocalPhoneDataOnly;
  INT32 PhoneType;
  INT32 nReserved;
  INT32 NumberTruncation; /* CtSvcFilterTruncation */
  char szPhoneNumber[CTSVC_FILTER_PHONENUMBER_SIZE];
} CtSvcPhoneNumberFilter;

typedef struct CtSvcEmailFilter {
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 DevType;
  INT32 nAccountId; /* kept, not used as a condition */
  INT32 bLocalPhoneDataOnly;
  INT32 UseType;
  INT32 EmailTruncation; /* CtSvcFilterTruncation */
  char szEmailAddress[CTSVC_FILTER_EMAIL_SIZE];
} CtSvcEmailFilter;

typedef struct CtSvcPostalAddressFilter {
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId;
  INT32 bLocalPhoneDataOnly;
  INT32 UseType;
  char szPCODE[CTSVC_FILTER_PCODE_SIZE];
  char szPostOfficeBoxNumber[CTSVC_FILTER_ADDRESS_PART_SIZE];
  char szDetail[CTSVC_FILTER_ADDRESS_PART_SIZE];
  char szStreet[CTSVC_FILTER_ADDRESS_PART_SIZE];
  char szCity[CTSVC_FILTER_ADDRESS_PART_SIZE];
  char szState[CTSVC_FILTER_ADDRESS_PART_SIZE];
  char szCountry[CTSVC_FILTER_ADDRESS_PART_SIZE];
} CtSvcPostalAddressFilter;

typedef struct CtSvcEtcDataFilter {
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId;
  INT32 bLocalPhoneDataOnly;
  INT32 DevType;
  INT32 EtcDataType;
  INT32 EtcDataTruncation; /* CtSvcFilterTruncation */
  char szEtcData[CTSVC_FILTER_ETCDATA_SIZE];
} CtSvcEtcDataFilter;

/* Fixed-dialling numbers: the name is always matched anywhere in the stored name. */
typedef struct CtSvcFdnFilter {
  INT32 nSlotIndex;
  char szName[CTSVC_FILTER_FDN_NAME_SIZE];
  char szPhoneNumber[CTSVC_FILTER_PHONENUMBER_SIZE];
} CtSvcFdnFilter;

/* Primary (merged) contacts. */
typedef struct CtSvcPrimaryFilter {
  INT32 nPrimaryId;
  INT32 DevType;
  INT32 nReserved1;
  INT32 FilterDetail; /* CtSvcPrimaryFilterDetail bits (NO_SNSDATA does not apply) */
  char szCallerImage[CTSVC_FILTER_CALLER_IMAGE_SIZE];
  INT32 FavoriteType;
  CtSvcPersonFilterName NameFilter;
  INT32 nLinkCountEqual;
  INT32 nLinkCountMore;
  INT32 nLinkCountLess;
  INT32 FilterIndexType; /* CtSvcFilterIndex */
  INT32 nGroupId;
  INT32 nReserved2;
  INT32 nReserved3;
  INT32 bLocalPhoneDataOnly;
  INT32 bFavoriteOrder; /* 1: favourites only, in their favourite order */
  INT32 nExceptPrimaryId;
  INT32 nReserved4;
} CtSvcPrimaryFilter;

typedef struct CtSvcGroupFilter {
  INT32 nAccountId; /* kept, not used as a condition */
  INT32 nSlotIndex; /* used for SIM groups only */
  INT32 DevType;
  INT32 nType;
  char szName[CTSVC_FILTER_GROUP_NAME_SIZE];
  char szRingtone[CTSVC_FILTER_RINGTONE_SIZE];
  INT32 bHasMember;         /* groups with at least one member */
  INT32 bExceptNotAssigned; /* leave out the not-assigned group */
} CtSvcGroupFilter;

typedef struct CtSvcGroupMemberFilter {
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId; /* kept, not used as a condition */
  INT32 DevType;
  INT32 nGroupId;
  INT32 bExceptNotAssigned;
} CtSvcGroupMemberFilter;

typedef struct CtSvcRcsFilter {
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId; /* kept, not used as a condition */
  INT32 nStatus;
  char szSip[CTSVC_FILTER_SIP_SIZE];
} CtSvcRcsFilter;

typedef struct CtSvcIMFilter {
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId; /* kept, not used as a condition */
  INT32 nReserved;
  INT32 nIspId; /* > 0 when set */
  char szUserId[CTSVC_FILTER_IM_USER_ID_SIZE];
  INT32 bLocalPhoneDataOnly;
} CtSvcIMFilter;

typedef struct CtSvcSnsDataFilter {
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId; /* kept, not used as a condition */
  INT32 nReserved;
  char szPeopleId[CTSVC_FILTER_PEOPLE_ID_SIZE];
  INT32 nSp; /* service provider; -1 when unset */
  INT32 bHasProfilePhoto;
} CtSvcSnsDataFilter;

typedef struct CtSvcSpeedDialFilter {
  INT32 nPersonId;
  INT32 nSlotIndex; /* the speed-dial key */
  INT32 nPhoneNumberId;
} CtSvcSpeedDialFilter;

ZEL_EXTERN_C_BEGIN

/* Each sets every field of the structure to "unset": ids and slot indexes -1, everything else 0,
 * strings empty. A null pointer is ignored. */
void CtSvcPersonFilterInit(CtSvcPersonFilter* pFilter);
void CtSvcPhoneNumberFilterInit(CtSvcPhoneNumberFilter* pFilter);
void CtSvcEmailFilterInit(CtSvcEmailFilter* pFilter);
void CtSvcPostalAddressFilterInit(CtSvcPostalAddressFilter* pFilter);
void CtSvcEtcDataFilterInit(CtSvcEtcDataFilter* pFilter);
void CtSvcFdnFilterInit(CtSvcFdnFilter* pFilter);
void CtSvcPrimaryFilterInit(CtSvcPrimaryFilter* pFilter);
void CtSvcGroupFilterInit(CtSvcGroupFilter* pFilter);
void CtSvcGroupMemberFilterInit(CtSvcGroupMemberFilter* pFilter);
void CtSvcRcsFilterInit(CtSvcRcsFilter* pFilter);
void CtSvcIMFilterInit(CtSvcIMFilter* pFilter);
void CtSvcSnsDataFilterInit(CtSvcSnsDataFilter* pFilter);
void CtSvcSpeedDialFilterInit(CtSvcSpeedDialFilter* pFilter);

ZEL_EXTERN_C_END

#endif
