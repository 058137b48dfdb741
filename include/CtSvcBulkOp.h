/* Bulk operations: one operation at a time, made by type, filled with items, then run a few items
 * every 50 ms on the service's timer with its state changes and progress reported to callbacks.
 * Every function runs under the service's module lock. */
#ifndef CTSVC_BULK_OP_H
#define CTSVC_BULK_OP_H

#include "CtSvcRecord.h"
#include "CtSvcTypes.h"

/* Operation types of CtSvcBulkOpCreate. */
typedef enum CtSvcBulkOpType {
  CTSVC_BULK_OP_INSERT_DB = 1,       /* contact records (CtSvcBulkOpAddContactRecord) or ADN record indexes */
  CTSVC_BULK_OP_INSERT_ADN = 2,      /* SIM contact records, one card record per card answer */
  CTSVC_BULK_OP_DELETE_DB = 3,       /* phone person ids */
  CTSVC_BULK_OP_DELETE_ADN = 4,      /* SIM person ids */
  CTSVC_BULK_OP_COPY_ADN_TO_DB = 5,  /* SIM person ids, copied to the phone */
  CTSVC_BULK_OP_COPY_DB_TO_ADN = 6,  /* phone person ids, copied to free card records */
  CTSVC_BULK_OP_MOVE_ADN_TO_DB = 7,  /* SIM person ids */
  CTSVC_BULK_OP_MOVE_DB_TO_ADN = 8,  /* phone person ids */
  CTSVC_BULK_OP_CHANGE_ORDER = 9,    /* every merged contact, collected at creation */
  CTSVC_BULK_OP_ADD_MEMBER_DB = 10,  /* group id + person ids: their phone persons join */
  CTSVC_BULK_OP_ADD_MEMBER_ADN = 11, /* SIM group id + SIM person ids */
  CTSVC_BULK_OP_REMOVE_MEMBER_DB = 12,
  CTSVC_BULK_OP_REMOVE_MEMBER_ADN = 13
} CtSvcBulkOpType;

/* States answered by CtSvcBulkOpGetState and reported to the state callback. */
#define CTSVC_BULK_STATE_INVALID 0
#define CTSVC_BULK_STATE_FINISHED 1
#define CTSVC_BULK_STATE_READY 2
#define CTSVC_BULK_STATE_RUNNING 3
#define CTSVC_BULK_STATE_PAUSED 4

/* A state change: bResult FALSE when a unit failed. */
typedef void (*CtSvcBulkOpStateCallback)(BOOL bResult, int nOldState, int nNewState, void* pUserData);
/* Progress after each unit: items done of the run's total. */
typedef void (*CtSvcBulkOpProgressCallback)(int nDone, int nTotal, void* pUserData);

ZEL_EXTERN_C_BEGIN

/* Makes the operation of the type; FALSE while another exists or for an unknown type. A
 * change-order operation made without callback destroys itself when it finishes.
 * The SIM types (2, 4, 6, 7, 8, 11, 13) write one card record a time and their unit count cannot be
 * set. A card write that fails stops the run (state callback with bResult FALSE, state READY while
 * items are left): that contact is left unchanged on both sides, and CtSvcBulkOpResume goes on with
 * the next one. */
BOOL CtSvcBulkOpCreate(int nType, CtSvcBulkOpStateCallback pfnCallback, void* pUserData);
BOOL CtSvcBulkOpDestroy(void);
BOOL CtSvcBulkOpAddContactRecord(int nDeviceType, const CtSvcContactInfo* pContactInfo);
BOOL CtSvcBulkOpAddSimRecordIndex(int nRecordIndex);
BOOL CtSvcBulkOpAddPersonId(int nPersonId);
/* The group of a membership operation (types 10 to 13); FALSE for a group that does not exist. */
BOOL CtSvcBulkOpSetGroupId(int nGroupId);
BOOL CtSvcBulkOpStart(void);
BOOL CtSvcBulkOpStop(void);
BOOL CtSvcBulkOpPause(void);
BOOL CtSvcBulkOpResume(void);
int CtSvcBulkOpGetState(void);
BOOL CtSvcBulkOpGetProgress(int* pnDone, int* pnTotal);
BOOL CtSvcBulkOpSetUnitCountAtOnce(int nCount);
int CtSvcBulkOpGetUnitCountAtOnce(void);
BOOL CtSvcBulkOpRegisterProgressCallback(CtSvcBulkOpProgressCallback pfnCallback);

ZEL_EXTERN_C_END

#endif
