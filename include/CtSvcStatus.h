/* Phonebook status helpers: the SIM's phonebook capacities and state, whether the own number and
 * e-mail addresses may be kept on the SIM, and the contacts whose birthday is near. */
#ifndef CTSVC_STATUS_H
#define CTSVC_STATUS_H

#include "CtSvcRecord.h"
#include "CtSvcTypes.h"
#include "ZelImgSvc/ZelImgSvc.h"

/* Status types of CtSimGetStatusType: 0..CTSVC_SIM_STATUS_TYPE_MAX - 1. */
#define CTSVC_SIM_STATUS_TYPE_MAX 44

/* Files of CtSimIsEnabled: 0 ADN, 1 FDN, 2 SDN, 3 MSISDN, 4..19 as the SIM file ids. */
#define CT_SIM_FILE_ID_MAX 20

/* Record types of CtIsRecordAccessable. */
#define CT_RECORD_TYPE_NONE 0
#define CT_RECORD_TYPE_ADN 1
#define CT_RECORD_TYPE_SDN 2
#define CT_RECORD_TYPE_FDN 3
#define CT_RECORD_TYPE_MSISDN 4

typedef struct CtSimFileCounts {
  INT32 nRecordCount;
  INT32 nUsedCount;
  INT32 nRecordLength;
} CtSimFileCounts;

typedef struct CtSimRecordCounts {
  INT32 nRecordCount;
  INT32 nUsedCount;
} CtSimRecordCounts;

/* The SIM's phonebook status. The USIM-only parts (ANR, EMAIL, SNE, GAS, GRP, AAS and the second
 * PBR record) stay 0 on a GSM card; the second-record part only when the card has one. */
typedef struct CtSimStatus {
  INT32 bFdnEnabled;
  INT32 nAdnNameLength;
  INT32 nFdnNameLength;
  INT32 nAdnRecordCount;
  INT32 nAdnUsedCount;
  INT32 nFdnRecordCount;
  INT32 nFdnUsedCount;
  INT32 nAnrFileCount; /* in the first PBR record */
  CtSimFileCounts Anr[4];
  CtSimFileCounts Email;
  CtSimFileCounts Sne;
  CtSimRecordCounts Ext1;
  CtSimRecordCounts Ext2;
  CtSimRecordCounts Ext5; /* EXT1 again on a GSM card */
  CtSimFileCounts Gas;
  INT32 nGrpRecordLength;
  CtSimFileCounts Aas;
  INT32 nAnrUsedCount2[4]; /* second PBR record */
  INT32 nSneUsedCount2;
  INT32 nEmailUsedCount2;
  INT32 bSecondPbrRecord;
} CtSimStatus;

/* One contact of the birthday list. */
typedef struct CtBirthdayInfo {
  INT32 nPersonId;
  char szDisplayName[303];
  INT32 nDay;
  INT32 nMonth;
  INT32 nYear;
} CtBirthdayInfo;

/* One motion-dial entry: a contact's name, one of its numbers and its caller image's thumbnail. */
#define CTSVC_MOTION_DIAL_NAME_SIZE 303
#define CTSVC_MOTION_DIAL_NUMBER_SIZE 51
typedef struct CtMotionDialInfo {
  INT32 nPersonId;
  INT32 nSelectedPhoneNumberIndex;
  char szDisplayName[CTSVC_MOTION_DIAL_NAME_SIZE];
  char szPhoneNumber[CTSVC_MOTION_DIAL_NUMBER_SIZE];
  ImgBitmap* pThumbnail; /* 137 x 137, null without image; free it with CtFreeThumbNailBitmap */
} CtMotionDialInfo;

#define CTSVC_BIRTHDAY_LIST_MAX 30
#define CTSVC_BIRTHDAY_WINDOW_DAYS 28

ZEL_EXTERN_C_BEGIN

int CtSimGetCardType(void);
BOOL CtSimIsEnabled(int nSimFileId);
BOOL CtSimIsFdnMode(void);
int CtSimGetStatusType(int nStatusType);
BOOL CtSimGetStatus(CtSimStatus* pCtSimStatus);
int CtSimGetSimLoadingStatus(void);
BOOL CtSvcIsEditableOwnNumber(void);
BOOL CtIsEnableStoreEmailinSIM(void);
/* Fills up to CTSVC_BIRTHDAY_LIST_MAX entries (array of at least that many) with the persons
 * whose birthday falls from today to 28 days later, nearest first; the count, or -1. */
int CtDbGetNTouchBirthdayContacts(CtBirthdayInfo* pBDayInfo);
BOOL CtIsRecordAccessable(int nRecordType);
/* Fills the entry from the contact and its number at the index (0-based): display name, number
 * (at most 50 bytes), thumbnail, person id and index. TRUE when that number is not empty; a
 * negative index is refused. */
BOOL CtSvcConvert2MotionDial(const CtSvcContactInfo* pContact, int iSelectedPhoneNumberIndex, CtMotionDialInfo* pEntry);

ZEL_EXTERN_C_END

#endif
