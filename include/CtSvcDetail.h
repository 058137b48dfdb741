/* Detail structures of the contact service's C interface: the rows that hang off a person (phone
 * numbers, e-mail addresses, postal addresses, other data, IM, social-network data, RCS, group
 * membership, speed dial) and the stand-alone group and FDN rows.
 *
 * Every table has an info structure (what a caller writes) and a record structure (the row id and
 * the owner ids, then the info). String rules are those of CtSvcPerson.h: NUL-terminated UTF-8
 * arrays, filled with at most (array size - 1) bytes, never read beyond the array.
 *
 * The field order, types and array sizes are the library's binary interface. */
#ifndef CTSVC_DETAIL_H
#define CTSVC_DETAIL_H

#include "CtSvcTypes.h"

/* The TYPE column of the contact-data table. */
typedef enum CtSvcContactType {
  CTSVC_CONTACT_TYPE_PHONENUMBER = 1,
  CTSVC_CONTACT_TYPE_EMAILADDRESS = 2
} CtSvcContactType;

/* Kind of a phone number (PHONE_TYPE). 0 is unset; the values 1..8 are those the vCard mapping
 * knows and are carried as numbers. */
typedef enum CtSvcPhoneType {
  CTSVC_PHONE_TYPE_NONE = 0,
  CTSVC_PHONE_TYPE_FAX = 4
} CtSvcPhoneType;

/* Where a number, address or e-mail is used (USE_TYPE). 0 is "none" (CTSVC_USE_TYPE_NONE of
 * CtSvcDeviceType names it); a new phone number uses 1, a new e-mail or postal address 0. */
typedef enum CtSvcUseType {
  CTSVC_USE_TYPE_OTHER = 1,
  CTSVC_USE_TYPE_HOME = 2,
  CTSVC_USE_TYPE_WORK = 3
} CtSvcUseType;

/* Kind of an e-mail address (stored in the PHONE_TYPE column). */
typedef enum CtSvcEmailType {
  CTSVC_EMAIL_TYPE_NONE = 0,
  CTSVC_EMAIL_TYPE_INTERNET = 1
} CtSvcEmailType;

/* Kind of an other-data value (ETC_TYPE). */
typedef enum CtSvcEtcDataType {
  CTSVC_ETC_DATA_TYPE_NONE = 0,
  CTSVC_ETC_DATA_TYPE_ORGANIZATION = 2,
  CTSVC_ETC_DATA_TYPE_TITLE = 3,
  CTSVC_ETC_DATA_TYPE_SECOND_NAME = 5, /* the second name a USIM can hold; also the nickname */
  CTSVC_ETC_DATA_TYPE_URL = 12,
  CTSVC_ETC_DATA_TYPE_URL_HOME = 13,
  CTSVC_ETC_DATA_TYPE_URL_WORK = 14,
  CTSVC_ETC_DATA_TYPE_NOTE = 20
} CtSvcEtcDataType;

/* Character classes kept by the letter extraction; a mask of these bits. */
typedef enum CtSvcExtractLetterType {
  CTSVC_EXTRACT_LETTER_TYPE_LOWER = 1,     /* 'a'..'z' */
  CTSVC_EXTRACT_LETTER_TYPE_UPPER = 2,     /* 'A'..'Z' */
  CTSVC_EXTRACT_LETTER_TYPE_DIGIT = 4,     /* '0'..'9' */
  CTSVC_EXTRACT_LETTER_TYPE_STAR = 8,      /* '*' */
  CTSVC_EXTRACT_LETTER_TYPE_SHARP = 16,    /* '#' */
  CTSVC_EXTRACT_LETTER_TYPE_COMMA = 32,    /* ',' */
  CTSVC_EXTRACT_LETTER_TYPE_PLUS = 64,     /* '+' */
  CTSVC_EXTRACT_LETTER_TYPE_QUESTION = 128 /* '?' */
} CtSvcExtractLetterType;

/* Array sizes (maximum content + the terminator). */
#define CTSVC_PHONENUMBER_SIZE 51
#define CTSVC_EMAIL_ADDRESS_SIZE 301
#define CTSVC_POSTAL_PCODE_SIZE 61
#define CTSVC_POSTAL_FIELD_SIZE 151
#define CTSVC_ETC_DATA_SIZE 961
#define CTSVC_FDN_NAME_SIZE 151
#define CTSVC_GROUP_NAME_SIZE 61
#define CTSVC_GROUP_RINGTONE_SIZE 773
#define CTSVC_IM_ISP_SIZE 51
#define CTSVC_IM_USER_ID_SIZE 321
#define CTSVC_SNS_STATUS_SIZE 1501
#define CTSVC_SNS_PEOPLE_ID_SIZE 102
#define CTSVC_SNS_PHOTO_URL_SIZE 1001
#define CTSVC_RCS_SIP_SIZE 301

typedef struct CtSvcPhoneNumberInfo {
  INT32 nAasId;     /* SIM additional-number alpha tag, -1 for none */
  INT32 PhoneType;  /* CtSvcPhoneType */
  INT32 UseType;    /* CtSvcUseType */
  char szPhoneNumber[CTSVC_PHONENUMBER_SIZE];
} CtSvcPhoneNumberInfo;

typedef struct CtSvcPhoneNumberRecord {
  INT32 nId;
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 DevType;
  INT32 nAccountId;
  CtSvcPhoneNumberInfo Info;
} CtSvcPhoneNumberRecord;

typedef struct CtSvcEmailAddressInfo {
  INT32 UseType;    /* CtSvcUseType */
  INT32 EmailType;  /* CtSvcEmailType */
  char szEmailAddress[CTSVC_EMAIL_ADDRESS_SIZE];
} CtSvcEmailAddressInfo;

typedef struct CtSvcEmailAddressRecord {
  INT32 nId;
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 DevType;
  INT32 nAccountId;
  CtSvcEmailAddressInfo Info;
} CtSvcEmailAddressRecord;

typedef struct CtSvcPostalAddressInfo {
  INT32 UseType;
  char szPCODE[CTSVC_POSTAL_PCODE_SIZE];
  char szPostOfficeBoxNumber[CTSVC_POSTAL_FIELD_SIZE];
  char szDetail[CTSVC_POSTAL_FIELD_SIZE];
  char szStreet[CTSVC_POSTAL_FIELD_SIZE];
  char szCity[CTSVC_POSTAL_FIELD_SIZE];
  char szState[CTSVC_POSTAL_FIELD_SIZE];
  char szCountry[CTSVC_POSTAL_FIELD_SIZE];
} CtSvcPostalAddressInfo;

typedef struct CtSvcPostalAddressRecord {
  INT32 nId;
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId;
  CtSvcPostalAddressInfo Info;
} CtSvcPostalAddressRecord;

typedef struct CtSvcEtcDataInfo {
  INT32 EtcDataType; /* CtSvcEtcDataType */
  char szEtcData[CTSVC_ETC_DATA_SIZE];
} CtSvcEtcDataInfo;

typedef struct CtSvcEtcDataRecord {
  INT32 nId;
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId;
  INT32 DevType;
  CtSvcEtcDataInfo Info;
} CtSvcEtcDataRecord;

typedef struct CtSvcFdnInfo {
  INT32 nSlotIndex;
  char szName[CTSVC_FDN_NAME_SIZE];
  char szPhoneNumber[CTSVC_PHONENUMBER_SIZE];
} CtSvcFdnInfo;

typedef struct CtSvcFdnRecord {
  INT32 nId;
  CtSvcFdnInfo Info;
} CtSvcFdnRecord;

typedef struct CtSvcGroupInfo {
  INT32 nAccountId;
  INT32 nSlotIndex;   /* SIM group record index, -1 for none */
  INT32 DevType;
  INT32 nType;
  char szName[CTSVC_GROUP_NAME_SIZE];
  char szReserved[CTSVC_GROUP_RINGTONE_SIZE]; /* not used */
  char szRingtone[CTSVC_GROUP_RINGTONE_SIZE];
} CtSvcGroupInfo;

typedef struct CtSvcGroupRecord {
  INT32 nId;
  CtSvcGroupInfo Info;
} CtSvcGroupRecord;

typedef struct CtSvcGroupMemberInfo {
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId;
  INT32 nGroupId;
} CtSvcGroupMemberInfo;

typedef struct CtSvcGroupMemberRecord {
  INT32 nId;
  INT32 DevType;
  CtSvcGroupMemberInfo Info;
} CtSvcGroupMemberRecord;

typedef struct CtSvcSpeedDialInfo {
  INT32 nSlotIndex;      /* the speed-dial key */
  INT32 nPhoneNumberId;  /* the phone-number row it dials */
} CtSvcSpeedDialInfo;

typedef struct CtSvcSpeedDialRecord {
  INT32 nId;
  INT32 DevType;
  INT32 nPersonId;
  INT32 nAccountId;
  CtSvcSpeedDialInfo Info;
} CtSvcSpeedDialRecord;

typedef struct CtSvcIMInfo {
  INT32 nIspId;
  char szIsp[CTSVC_IM_ISP_SIZE];
  char szUserId[CTSVC_IM_USER_ID_SIZE];
} CtSvcIMInfo;

typedef struct CtSvcIMRecord {
  INT32 nId;
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId;
  CtSvcIMInfo Info;
} CtSvcIMRecord;

typedef struct CtSvcSnsDataInfo {
  char szStatus[CTSVC_SNS_STATUS_SIZE];
  TmDateTime StatusUpdate;
  char szPeopleId[CTSVC_SNS_PEOPLE_ID_SIZE];
  INT32 nSp;             /* service provider, -1 for none */
  char szProfilePhotoUrl[CTSVC_SNS_PHOTO_URL_SIZE];
} CtSvcSnsDataInfo;

typedef struct CtSvcSnsDataRecord {
  INT32 nId;
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId;
  CtSvcSnsDataInfo Info;
} CtSvcSnsDataRecord;

typedef struct CtSvcRcsInfo {
  INT32 nStatus;
  char szSip[CTSVC_RCS_SIP_SIZE];
} CtSvcRcsInfo;

typedef struct CtSvcRcsRecord {
  INT32 nId;
  INT32 nPersonId;
  INT32 nPrimaryId;
  INT32 nAccountId;
  CtSvcRcsInfo Info;
} CtSvcRcsRecord;

#endif
