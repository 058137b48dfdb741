/* The phonebook: start-up of the SIM phonebook (load, change detection, copy into the store),
 * SIM-toolkit refresh, and the phonebook's write operations and change callbacks. Every function
 * runs under the service's module lock unless its comment says otherwise. */
#ifndef CTSVC_PHONEBOOK_H
#define CTSVC_PHONEBOOK_H

#include "CtSvcRecord.h"
#include "CtSvcSimCi.h"
#include "CtSvcTypes.h"

/* Phonebook init states: the bits of the loaded groups (CTSVC_SIM_INIT_ADN, _FDN, _MSISDN, _SDN of
 * CtSvcSimCi.h), all of them when complete, or failed. */
#define CTSVC_SIM_INIT_INVALID 0
#define CTSVC_SIM_INIT_COMPLETE 15
#define CTSVC_SIM_INIT_FAILED 16

/* Bits of the reload mask of CtSvcPhonebookReloadSimRecord (the init-type bits). */
#define CTSVC_PHONEBOOK_RELOAD_ADN 1
#define CTSVC_PHONEBOOK_RELOAD_FDN 2
#define CTSVC_PHONEBOOK_RELOAD_MSISDN 4
#define CTSVC_PHONEBOOK_RELOAD_SDN 8

/* Person handles carry the storage in their two top bits. */
#define CTSVC_PHONE_HANDLE_MASK 0x40000000u
#define CTSVC_SIM_HANDLE_MASK 0x80000000u
#define CtSvcExtractDevType(hPerson) ((int)((UINT32)(hPerson) >> CTSVC_HANDLE_DEVICE_SHIFT))

/* End of the phonebook start-up (or reload). */
typedef void (*CtSvcPhonebookInitCallback)(BOOL bResult, void* pUserData);
/* Result of a SIM write: the record index written and 1 for success. */
typedef void (*CtSvcPhonebookSetCallback)(int nRecordIndex, int nResult, void* pUserData);

ZEL_EXTERN_C_BEGIN

/* Starts the phonebook: loads the SIM groups and copies what changed into the store. *pbNoSim is
 * set to 1 when no card is inserted (then the call completes at once and the callback is not
 * called). FALSE while powering off, when started twice or when the card offers no group. */
BOOL CtSvcPhonebookInitialize(CtSvcPhonebookInitCallback pfnCallback, void* pUserData, int* pbNoSim);
/* Loads again the groups of the mask (CTSVC_PHONEBOOK_RELOAD_...) after a start. */
BOOL CtSvcPhonebookReloadSimRecord(int nMask, CtSvcPhonebookInitCallback pfnCallback, void* pUserData);
/* Whether the card differs from the one seen last (answered once per process). */
BOOL CtSvcPhonebookIsSimChanged(void);
/* Whether the stored SIM fingerprints are marked dirty. */
BOOL CtSvcPhonebookIsSHA1Changed(void);
/* Stores the current fingerprints of the card's phonebook files. */
BOOL CtSvcPhonebookUpdateSHA1(void);
BOOL CtSvcPhonebookIsInitialized(void);
void CtSvcPhonebookSetInitState(int nState);
int CtSvcPhonebookGetInitState(void);
void CtSvcPhonebookSetTryEnterCount(int nCount);
int CtSvcPhonebookGetTryEnterCount(void);
/* 1 forces the next ADN load to copy the card into the store. */
void CtSvcPhonebookSetSimRefreshCondition(int nCondition);
/* Later SIM results are dropped. */
void CtSvcPhonebookCancelCallback(void);
/* No module lock. */
void CtSvcPhonebookUnregisterInitCallback(void);
void CtSvcPhonebookUnregisterSetCallback(void);
/* SIM-toolkit refresh (no module lock of its own): qualifier 0 reloads the whole phonebook, 1 and
 * 2 reload the group of the first listed file the phonebook knows; the answer (event 0x205,
 * result 0 done, 2 failed) goes to hDestination with nDispatch. pRefresh: the platform refresh
 * record (file count at byte 36, 32-bit file ids from byte 40) or null. */
BOOL CtSvcRefreshSim(UINT32 nDispatch, HOBJ hDestination, int nQualifier, int nUnused, const void* pRefresh);

/* ---- Write operations and change callbacks ---- */
/* A change callback: change type, record id (-1 for a whole-store change), the contact or group
 * info (or null), the user data given at registration. */
typedef void (*CtSvcPhonebookChangeCallback)(CtSvcChangeType type, int nRecordId, void* pInfo, void* pUserData);

/* Contacts. Handles carry the storage (CTSVC_PHONE_HANDLE_MASK / CTSVC_SIM_HANDLE_MASK); -1 on
 * failure. The contact info is read, and its person info is written back where the write chose a
 * value (SIM slot, default number, presence flags). In an update a detail count of -1 leaves that
 * list as stored; a null array or a count of 0 removes it. */
HOBJ CtSvcPhonebookInsertContactToPhone(CtSvcContactInfo* pContactInfo);
/* The same without commit and without change callbacks (the caller commits). */
HOBJ CtSvcPhonebookInsertContactToPhoneNoCommit(CtSvcContactInfo* pContactInfo);
/* Inserts nCount contacts in mass-insert mode; each handle (or -1) goes to phPersons. TRUE. */
BOOL CtSvcPhonebookInsertContactsToPhoneForVamo(CtSvcContactInfo** ppContactInfo, HOBJ* phPersons, int nCount);
/* Stores the contact as a SIM contact (slot -1: the first free ADN record) and starts the card
 * write; its result reaches pfnCallback later. The SIM handle, or -1. */
HOBJ CtSvcPhonebookInsertContactToSim(CtSvcContactInfo* pContactInfo, CtSvcPhonebookSetCallback pfnCallback,
                                      void* pUserData);
BOOL CtSvcPhonebookUpdateContactToPhone(HOBJ hPerson, CtSvcContactInfo* pContactInfo);
BOOL CtSvcPhonebookUpdateContactToPhoneNoNotify(HOBJ hPerson, CtSvcContactInfo* pContactInfo);
/* TRUE when the card write was accepted (its result follows through pfnCallback). */
BOOL CtSvcPhonebookUpdateContactToSim(HOBJ hPerson, CtSvcContactInfo* pContactInfo,
                                      CtSvcPhonebookSetCallback pfnCallback, void* pUserData);
BOOL CtSvcPhonebookDeleteContactFromPhone(HOBJ hPerson);
BOOL CtSvcPhonebookDeleteContactFromPhoneNoCommit(HOBJ hPerson);
BOOL CtSvcPhonebookDeleteContactsFromPhoneForVamo(const HOBJ* phPersons, int nCount);
BOOL CtSvcPhonebookDeleteContactFromSim(HOBJ hPerson, CtSvcPhonebookSetCallback pfnCallback, void* pUserData);

/* Groups: ids, -1 on failure. */
int CtSvcPhonebookInsertGroupToPhone(const CtSvcGroupInfo* pGroupInfo);
int CtSvcPhonebookInsertGroupToSim(const CtSvcGroupInfo* pGroupInfo, CtSvcPhonebookSetCallback pfnCallback,
                                   void* pUserData);
BOOL CtSvcPhonebookUpdateGroupToPhone(int nId, const CtSvcGroupInfo* pGroupInfo);
BOOL CtSvcPhonebookUpdateGroupToSim(int nId, const CtSvcGroupInfo* pGroupInfo, CtSvcPhonebookSetCallback pfnCallback,
                                    void* pUserData);
BOOL CtSvcPhonebookDeleteGroupFromPhone(int nId);
BOOL CtSvcPhonebookDeleteGroupFromSim(int nId, CtSvcPhonebookSetCallback pfnCallback, void* pUserData);

/* Fixed-dialling numbers (always on the SIM). */
int CtSvcPhonebookInsertFdnRecord(const CtSvcFdnInfo* pFdnInfo, CtSvcPhonebookSetCallback pfnCallback,
                                  void* pUserData);
BOOL CtSvcPhonebookUpdateFdnRecord(int nId, const CtSvcFdnInfo* pFdnInfo, CtSvcPhonebookSetCallback pfnCallback,
                                   void* pUserData);
BOOL CtSvcPhonebookDeleteFdnRecord(int nId, CtSvcPhonebookSetCallback pfnCallback, void* pUserData);

/* Own numbers: the card's MSISDN file when it has one, else one slot in phone memory. The getters
 * take no module lock. */
BOOL CtSvcPhonebookSetOwnNumber(int nSlotIndex, const char* pszName, const char* pszPhoneNumber,
                                CtSvcPhonebookSetCallback pfnCallback, void* pUserData);
BOOL CtSvcPhonebookDeleteOwnNumber(int nSlotIndex, CtSvcPhonebookSetCallback pfnCallback, void* pUserData);
BOOL CtSvcPhonebookGetOwnNumber(int nSlotIndex, char* pszName, int nNameSize, char* pszPhoneNumber, int nNumberSize);
BOOL CtSvcPhonebookGetDefaultOwnNumber(char* pszName, int nNameSize, char* pszPhoneNumber, int nNumberSize);
int CtSvcPhonebookGetOwnNumberSlotCount(void);
int CtSvcPhonebookGetOwnNumberUsedSlotCount(void);

/* Change callbacks, called in registration order while the module lock is held. The QRN lists
 * also hear the changes of many records (id -1). Unregistering removes the first entry with the
 * same callback and user data. */
void CtSvcPhonebookRegisterContactCallback(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData);
void CtSvcPhonebookRegisterGroupCallback(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData);
void CtSvcPhonebookRegisterContactCallbackForQRN(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData);
void CtSvcPhonebookRegisterGroupCallbackForQRN(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData);
void CtSvcPhonebookUnRegisterContactCallback(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData);
void CtSvcPhonebookUnRegisterGroupCallback(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData);
void CtSvcPhonebookUnRegisterContactCallbackForQRN(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData);
void CtSvcPhonebookUnRegisterGroupCallbackForQRN(CtSvcPhonebookChangeCallback pfnCallback, void* pUserData);
/* No module lock: while paused no change callback is called. */
void CtSvcPhonebookPauseNotify(void);
void CtSvcPhonebookResumeNotify(void);
/* ---- end of write operations and change callbacks ---- */

ZEL_EXTERN_C_END

#endif
