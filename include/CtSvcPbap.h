/* Phonebook exports for the Bluetooth phonebook-access service: the contacts of a device type
 * written as vCard 2.1 files into the fixed folders the Bluetooth service reads, and the number of
 * a speed-dial key.
 *
 * Folders under the data directory's root ("phone" device type 1, "SIM" device type 2; device
 * type 0 exports every contact into the phone folder):
 *   full list            /User/Bluetooth/_PBS/telecom/pb.vcf       /User/Bluetooth/_PBS/SIM1/telecom/pb.vcf
 *   indexed full list    /User/Bluetooth/_PBS/telecom/pb<n>.vcf    /User/Bluetooth/_PBS/SIM1/telecom/pb<n>.vcf
 *   listing, one a file  /User/Bluetooth/_PBS/telecom/pb/<i>.vcf   /User/Bluetooth/_PBS/SIM1/telecom/pb/<i>.vcf
 * Entry 0 of every export is the owner's card ("/User/Ct/myaddress.vcf"), or a "No my namecard"
 * card when there is none. */
#ifndef CTSVC_PBAP_H
#define CTSVC_PBAP_H

#include "CtSvcTypes.h"

/* Highest entry number a full-list request may name. */
#define CTSVC_PBAP_MAX_ENTRY 2000
/* Persons the synchronous full list and the listing take at most. */
#define CTSVC_PBAP_SYNC_MAX_PERSONS 500
#define CTSVC_PBAP_LISTING_MAX_PERSONS 300
/* Size of a path buffer of CtSvcPbapGetPath. */
#define CTSVC_PBAP_PATH_SIZE 256
/* Size of the number buffer of CtSvcGetSpeedDial4BT. */
#define CTSVC_PBAP_NUMBER_SIZE 51

/* The Bluetooth service's request: entries pbStart..pbEnd (both included; entry 0 is the owner's
 * card, entry i the i-th person of the device type), into pb.vcf (nFileIndex < 0) or
 * pb<nFileIndex>.vcf. */
typedef struct CtSvcBtPbsCtInfo {
  UINT16 pbStart;
  UINT16 pbEnd;
  INT32 nFileIndex;
} CtSvcBtPbsCtInfo;

/* What CtSvcPbapGetPath names. */
typedef enum CtSvcPbapFile {
  CTSVC_PBAP_FILE_FULL_LIST = 0,   /* pb.vcf, or pb<nIndex>.vcf when nIndex >= 0 */
  CTSVC_PBAP_FILE_LISTING_DIR = 1, /* the listing's folder */
  CTSVC_PBAP_FILE_LISTING_ENTRY = 2 /* entry nIndex of the listing */
} CtSvcPbapFile;

ZEL_EXTERN_C_BEGIN

/* Starts the full-list export: the entries are converted now and written to the file on the
 * timer "CtSvcVcardTime" 150 ms later; BluetoothPbsCtMakeDone reports the end (TRUE) or a failure
 * (FALSE, once). FALSE, with the completion FALSE, when the phonebook is not initialised, the
 * device type is not 0..2, the request is null, above CTSVC_PBAP_MAX_ENTRY or ends before it
 * starts, or the file cannot be created. A request while one is pending is refused (FALSE) and
 * reports nothing: the pending export's completion is still to come. */
BOOL CtSvcFullCtListExForPBAP(INT32 nDeviceType, const CtSvcBtPbsCtInfo* pInfo);
/* Writes the full list of the device type (0..2) to pb.vcf at once: the owner's card and at most
 * CTSVC_PBAP_SYNC_MAX_PERSONS persons with their numbers and e-mail addresses. */
BOOL CtSvcFullCtListForPBAP(INT32 nDeviceType);
/* Writes one file per entry into the listing folder of the device type (1 or 2), replacing what
 * it held: the owner's card and at most CTSVC_PBAP_LISTING_MAX_PERSONS persons. The number of
 * files written; 0 when the device type is wrong, the phonebook is not initialised or nothing
 * could be written. */
INT32 CtSvcFullCtListForPBAPListing(INT32 nDeviceType);
/* The number on the speed-dial key given as text ("2") into pszNumber (CTSVC_PBAP_NUMBER_SIZE
 * bytes); FALSE when the text is empty, not a number or negative, or the key is not set. */
BOOL CtSvcGetSpeedDial4BT(const char* pszEntryNum, char* pszNumber);
/* The platform path of an export file of the device type; FALSE for a device type outside 0..2. */
BOOL CtSvcPbapGetPath(INT32 nDeviceType, INT32 eFile, INT32 nIndex, char* pszPath, INT32 nSize);

ZEL_EXTERN_C_END

#endif
