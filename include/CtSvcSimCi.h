/* The SIM phonebook through the contact service: loading its groups, reading records as C
 * structures, writing them with a completion callback, and what the card can hold. Every function
 * runs under the service's module lock; callbacks arrive later on the "CTSVC" event handler.
 * Also the registration of an external synchronisation client. */
#ifndef CTSVC_SIM_CI_H
#define CTSVC_SIM_CI_H

#include "CtSvcSim.h"
#include "CtSvcTypes.h"

/* The SIM phonebook files, as the file ids the functions below take. */
enum CTSVC_SIM_FILE_ID {
  CTSVC_SIM_FILE_ID_INVALID = -1,
  CTSVC_SIM_ADN = 0,
  CTSVC_SIM_FDN = 1,
  CTSVC_SIM_SDN = 2,
  CTSVC_SIM_MSISDN = 3,
  CTSVC_SIM_GAS = 4,
  CTSVC_SIM_AAS = 5,
  CTSVC_SIM_PBR = 6,
  CTSVC_SIM_CCP1 = 7,
  CTSVC_SIM_EXT1 = 8,
  CTSVC_SIM_EXT2 = 9,
  CTSVC_SIM_EXT3 = 10,
  CTSVC_SIM_HIDDENKEY = 11,
  CTSVC_SIM_GRP = 12,
  CTSVC_SIM_PBC = 13,
  CTSVC_SIM_IAP = 14,
  CTSVC_SIM_EXT5 = 15,
  CTSVC_SIM_SNE = 16,
  CTSVC_SIM_ANR = 17,
  CTSVC_SIM_EMAIL = 18,
  CTSVC_SIM_UID = 19,
  CTSVC_SIM_PSC = 20,
  CTSVC_SIM_CC = 21,
  CTSVC_SIM_PUID = 22,
  CTSVC_SIM_FILE_ID_MAX = 23
};

/* Card types (CtSvcSimGetCardType). */
enum CTSVC_SIM_CARD_TYPE {
  CTSVC_SIM_CARD_TYPE_GSM = 0,
  CTSVC_SIM_CARD_TYPE_USIM = 1,
  CTSVC_SIM_CARD_TYPE_UNKNOWN = 2
};

/* Groups, as init types of the load callback and as bits of CtSvcSimPrepareReloadRecord. */
#define CTSVC_SIM_INIT_ADN 1
#define CTSVC_SIM_INIT_FDN 2
#define CTSVC_SIM_INIT_MSISDN 4
#define CTSVC_SIM_INIT_SDN 8

typedef enum CtSvcSimSetType {
  CTSVC_SIM_SET_INSERT = 0,
  CTSVC_SIM_SET_UPDATE = 1,
  CTSVC_SIM_SET_DELETE = 2
} CtSvcSimSetType;

/* End of a group load: nResult non-zero when the group is loaded. */
typedef void (*CtSvcSimInitCallback)(int nInitType, int nResult, void* pUserData);
/* End of a write: the record index written (an insert at -1 reports the record it took). */
typedef void (*CtSvcSimSetCallback)(int nSetType, int nRecordIndex, int nResult, void* pUserData);
/* The synchronisation client: nType 0 start, 1 end; non-zero allows it. */
typedef int (*CtSyncCallback)(int nType, int nValue, void* pUserData);
/* Told when a contact's data changes (contact id, 0 insert / 1 update / 2 delete). */
typedef void (*CtInfoManipulateCallback)(int nContactID, int nAction);

struct CtSvcSimFileInfo;

ZEL_EXTERN_C_BEGIN

/* Group loads: 1 when started (the callback follows), 0 for a null callback or a start that fails
 * (no callback). */
BOOL CtSvcSimInitAdn(CtSvcSimInitCallback pfnCallback, void* pUserData);
BOOL CtSvcSimInitFdn(CtSvcSimInitCallback pfnCallback, void* pUserData);
BOOL CtSvcSimInitMsisdn(CtSvcSimInitCallback pfnCallback, void* pUserData);
BOOL CtSvcSimInitSdn(CtSvcSimInitCallback pfnCallback, void* pUserData);
/* Frees the groups of the mask (CTSVC_SIM_INIT_...) before they are loaded again. */
BOOL CtSvcSimPrepareReloadRecord(int nMask);

/* Records of a loaded group; 0 (structure zeroed) for an empty slot or a bad index. */
BOOL CtSvcSimGetAdnRecord(int nRecordIndex, CtSvcSimAdnRecord* pRecord);
BOOL CtSvcSimGetFdnRecord(int nRecordIndex, CtSvcSimXdnRecord* pRecord);
BOOL CtSvcSimGetSdnRecord(int nRecordIndex, CtSvcSimXdnRecord* pRecord);
BOOL CtSvcSimGetMsisdnRecord(int nRecordIndex, CtSvcSimXdnRecord* pRecord);
BOOL CtSvcSimGetAasRecord(int nRecordIndex, char* pszName, int nMaxSize);
/* Group names are cut to what 20 characters take. */
BOOL CtSvcSimGetGasRecord(int nRecordIndex, char* pszName, int nMaxSize);

/* Writes: 1 when the write started (the callback follows exactly once), 0 when refused (no
 * callback): bad arguments, the group not loaded, another write of the group running. */
BOOL CtSvcSimSetAdnRecord(CtSvcSimSetType setType, int nRecordIndex, const CtSvcSimAdnRecord* pRecord,
                          CtSvcSimSetCallback pfnCallback, void* pUserData);
BOOL CtSvcSimSetFdnRecord(CtSvcSimSetType setType, int nRecordIndex, const CtSvcSimXdnRecord* pRecord,
                          CtSvcSimSetCallback pfnCallback, void* pUserData);
BOOL CtSvcSimSetSdnRecord(CtSvcSimSetType setType, int nRecordIndex, const CtSvcSimXdnRecord* pRecord,
                          CtSvcSimSetCallback pfnCallback, void* pUserData);
BOOL CtSvcSimSetMsisdnRecord(CtSvcSimSetType setType, int nRecordIndex, const CtSvcSimXdnRecord* pRecord,
                             CtSvcSimSetCallback pfnCallback, void* pUserData);
BOOL CtSvcSimSetAasRecord(CtSvcSimSetType setType, int nRecordIndex, const char* pszName,
                          CtSvcSimSetCallback pfnCallback, void* pUserData);
BOOL CtSvcSimSetGasRecord(CtSvcSimSetType setType, int nRecordIndex, const char* pszName,
                          CtSvcSimSetCallback pfnCallback, void* pUserData);

/* 0 GSM, 1 USIM, 2 unknown. */
int CtSvcSimGetCardType(void);
BOOL CtSvcSimGetFileInfo(int nSimFileID, int nPbrIndex, int nSubIndex, struct CtSvcSimFileInfo* pFileInfo);
BOOL CtSvcSimIsAvailableFile(int nSimFileID);
int CtSvcSimIsUsedFile(int nSimFileID);
int CtSvcSimGetRecordLength(int nSimFileID);
int CtSvcSimGetRecordStringLength(int nSimFileID);
int CtSvcSimGetRecordPhoneNumberLength(int nSimFileID);
int CtSvcSimGetMaxRecordCount(int nSimFileID, int nPbrIndex, int nSubIndex);
int CtSvcSimGetUsedRecordCount(int nSimFileID, int nPbrIndex, int nSubIndex);
int CtSvcSimGetTotalMaxRecordCount(int nSimFileID);
int CtSvcSimGetTotalUsedRecordCount(int nSimFileID);
int CtSvcSimIsUsedRecord(int nSimFileID, int nRecordIndex);
/* -1 when full. */
int CtSvcSimGetUnusedRecordIndex(int nSimFileID);
int CtSvcSimGetPbrEntryCount(int nPbrIndex, int entryType);
/* nSlot -1: the first free contact slot. */
int CtSvcSimGetAvailCountRecordField(int nSimFileID, int nSlot);
int CtSvcGetMaxCountRecordField(int nSimFileID, int nSlot);
BOOL CtSvcSimIsCPHSSupported(void);
BOOL CtSvcSimReloadSimFileInfo(int nSimFileID);
BOOL CtSvcSimReloadSimFileForFdn(void);
BOOL CtSvcSimValidCheckExtFile(int nSimFileID);
/* Runs Clear on the SIM manager (tests). */
void _TestCtSvcSimClear(void);

/* The synchronisation client: the first registration stays (1; 0 when one already was). */
BOOL CtRegisterSyncCallback(CtSyncCallback pfnCallback, void* pUserData);
BOOL CtStartSync(void);
BOOL CtEndSync(void);
/* Up to 10 callbacks; 0 for a null one or a full table. */
BOOL CtRegisterCtInfoManipulateCallback(CtInfoManipulateCallback pfnCallback);

ZEL_EXTERN_C_END

#endif
