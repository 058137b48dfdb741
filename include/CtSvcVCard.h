/* Contacts as vCards: a contact info to vCard text and back, single-contact .vcf files, checks
 * of received files, and lists of contacts as chained vCards for backup.
 *
 * Texts handed out are allocated by the vCard codec (free them with VCardFreeText); contact
 * infos filled here are released with CtSvcFreeContactInfo. */
#ifndef CTSVC_VCARD_H
#define CTSVC_VCARD_H

#include "CtSvcRecord.h"
#include "CtSvcTypes.h"

/* Where a decoded photo is written; the owner's card uses its own file. */
#define CTSVC_VCARD_PHOTO_PATH "/User/Ct/Tmb/temp.jpeg"
#define CTSVC_VCARD_MYPROFILE_PHOTO_PATH "/User/Ct/Tmb/myaddress.jpeg"
/* Size of the path buffer of CtSvcMakeVcardFile. */
#define CTSVC_VCARD_PATH_SIZE 772

ZEL_EXTERN_C_BEGIN

/* The contact as vCard 2.1 text. */
BOOL CtSvcConvertRecord2VCard(const CtSvcContactInfo* pContact, char** ppszVCard);
/* The contact as vCard text of the given version (21 or 30). */
BOOL CtSvcConvertRecord2VCardVersion(const CtSvcContactInfo* pContact, INT32 nVersion, char** ppszVCard);
/* The first card of the text as a contact (allocated here); a photo goes to CTSVC_VCARD_PHOTO_PATH. */
BOOL CtSvcConvertVcard2Record(const char* pszVCard, CtSvcContactInfo* pContact);
/* The same for the owner's card; its photo goes to CTSVC_VCARD_MYPROFILE_PHOTO_PATH. */
BOOL CtSvcConvertVcard2MyProfile(const char* pszVCard, CtSvcContactInfo* pContact);
/* The stored persons as chained vCards (no photo, UID or IM). */
BOOL CtSvcConvertRecords2VCards(const HOBJ* pPersons, INT32 nCount, char** ppszVCards);
/* Every card of a chained text as contacts: an array of *pnCount contact infos, released with
 * CtSvcFreeContactInfoList. */
BOOL CtSvcConvertVcards2Records(const char* pszVCards, CtSvcContactInfo** ppContacts, INT32* pnCount);
BOOL CtSvcFreeContactInfoList(CtSvcContactInfo* pContacts, INT32 nCount);
/* Frees a codec object (a VObject) with every value, parameter and property. */
BOOL CtSvcFreeVcard(void* pObject);

/* Writes the contact as "/User/Ct/<display name>.vcf"; the platform path goes into pszPath
 * (CTSVC_VCARD_PATH_SIZE bytes). */
BOOL CtSvcMakeVcardFile(const CtSvcContactInfo* pContact, char* pszPath);
/* TRUE when the file holds exactly one card that decodes. nReserved is not used. */
BOOL CtSvcCheckVcfValidity(const char* pszPath, INT32 nReserved);
/* TRUE when the file decodes as vCard. */
BOOL CtIsVcfToDetailValid(const char* pszPath);

/* Counts of a file import. */
typedef struct CtSvcVCardImportCounts {
  INT32 nImported; /* stored as contacts of their own */
  INT32 nMerged;   /* stored and joined to a contact that was there */
  INT32 nSkipped;  /* not stored (nothing to store, or the store refused) */
} CtSvcVCardImportCounts;
/* Progress of an import: bytes of the file read and stored so far, of its size. */
typedef void (*CtSvcVCardImportProgressCallback)(UINT64 nDone, UINT64 nTotal, void* pUserData);
/* One note per skipped card or left-out property, "card at line <n>: ...". */
typedef void (*CtSvcVCardImportNoteCallback)(const char* pszNote, void* pUserData);

/* Imports a .vcf file (a host path) card by card as local phone contacts through the bulk insert,
 * photos filed as caller images; the callbacks (either may be null) hear the progress and then the
 * notes. FALSE when the file cannot be read or another bulk operation holds the bulk handler; the
 * counts are filled all the same, and pszError (nErrorSize bytes; may be null) says why. Waits
 * for the bulk handler's timer: not to be called with the service's module lock held. */
BOOL CtSvcVCardImportFile(const char* pszHostPath, CtSvcVCardImportCounts* pCounts,
                          CtSvcVCardImportProgressCallback pfnProgress, CtSvcVCardImportNoteCallback pfnNote,
                          void* pUserData, char* pszError, INT32 nErrorSize);

/* A stored person (by id) with every detail list; all persons of the primary the person id
 * names for the linked form (their details together, the first person's own fields). */
BOOL CtDbSvcGetContactInfoByID(INT32 nPersonId, CtSvcContactInfo* pContact);
BOOL CtDbSvcGetLinkContactInfoByID(INT32 nPrimaryId, CtSvcContactInfo* pContact);

ZEL_EXTERN_C_END

#endif
