/* Types shared by the contact service's public C interface. */
#ifndef CTSVC_TYPES_H
#define CTSVC_TYPES_H

#include "ZelCore/ZelTm.h"
#include "ZelCore/ZelTypes.h"

/* Tables of the contact store; the index into the database manager's table array. */
typedef enum CtSvcDbTableType {
  CTSVC_DB_TABLE_INVALID = -1,
  CTSVC_DB_TABLE_PERSON = 0,
  CTSVC_DB_TABLE_CONTACTDATA = 1,
  CTSVC_DB_TABLE_POSTALADDRESS = 2,
  CTSVC_DB_TABLE_ETCDATA = 3,
  CTSVC_DB_TABLE_RCS = 4,
  CTSVC_DB_TABLE_FDN = 5,
  CTSVC_DB_TABLE_GROUP = 6,
  CTSVC_DB_TABLE_GROUPMEMBER = 7,
  CTSVC_DB_TABLE_SPEEDDIAL = 8,
  CTSVC_DB_TABLE_PRIMARY = 9,
  CTSVC_DB_TABLE_IM = 10,
  CTSVC_DB_TABLE_SNSDATA = 11,
  CTSVC_DB_TABLE_DELETEACCOUNT = 12,
  CTSVC_DB_TABLE_MAX = 13
} CtSvcDbTableType;

/* Where a contact is stored. */
typedef enum CtSvcDeviceType {
  CTSVC_USE_TYPE_NONE = 0,
  CTSVC_USE_TYPE_PHONE = 1,
  CTSVC_USE_TYPE_SIM = 2
} CtSvcDeviceType;

/* Person handle: device type << 30 | row id. */
#define CTSVC_HANDLE_DEVICE_SHIFT 30
#define CTSVC_HANDLE_ID_MASK 0x3FFFFFFF
#define CTSVC_MAKE_HANDLE(devType, id) ((HOBJ)(((UINT32)(devType) << CTSVC_HANDLE_DEVICE_SHIFT) | ((UINT32)(id) & CTSVC_HANDLE_ID_MASK)))
#define CTSVC_HANDLE_TO_ID(h) ((INT32)((UINT32)(h) & CTSVC_HANDLE_ID_MASK))
#define CTSVC_HANDLE_TO_DEVICE(h) ((INT32)((UINT32)(h) >> CTSVC_HANDLE_DEVICE_SHIFT))

/* The default phone group: holds phone contacts that belong to no other group. */
#define CTSVC_NOT_ASSIGNED_GROUP_ID 1

/* Change types of the phonebook change callbacks. */
typedef enum CtSvcChangeType {
  CTSVC_CHANGE_TYPE_INSERT = 0,
  CTSVC_CHANGE_TYPE_UPDATE = 1,
  CTSVC_CHANGE_TYPE_DELETE = 2,
  CTSVC_CHANGE_TYPE_BULK_DELETE = 3,
  CTSVC_CHANGE_TYPE_BULK_INSERT = 4,
  CTSVC_CHANGE_TYPE_FULL_SYNC = 5
} CtSvcChangeType;

#endif
