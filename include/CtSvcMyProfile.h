/* The owner's own card ("my profile"): its fields are kept in "CtSet.ini" (section "sectionOne")
 * and the card as a vCard in "/User/Ct/myaddress.vcf", which is written again whenever the card
 * changes and removed when the card is empty. */
#ifndef CTSVC_MY_PROFILE_H
#define CTSVC_MY_PROFILE_H

#include "CtSvcRecord.h"
#include "CtSvcTypes.h"

#define CTSVC_MYPROFILE_VCARD_PATH "/User/Ct/myaddress.vcf"
/* How many of each the card keeps; more are left out (logged). */
#define CTSVC_MYPROFILE_PHONE_MAX 5
#define CTSVC_MYPROFILE_EMAIL_MAX 4
#define CTSVC_MYPROFILE_HOMEPAGE_MAX 2
#define CTSVC_MYPROFILE_POSTAL_MAX 2

ZEL_EXTERN_C_BEGIN

/* Stores the contact as the owner's card (names, numbers, e-mails, homepages, postal addresses,
 * birthday, save time, note, caller image, title, company, nickname) and writes the vCard file. */
BOOL CtSvcMyProfileSet(const CtSvcContactInfo* pContact);
/* Stores the card of a vCard text (read by CtSvcConvertVcard2MyProfile) as the owner's card. */
BOOL CtSvcMyProfileSetVcard(const char* pszVCard);
/* The owner's card (allocated here; release it with CtSvcFreeContactInfo). An empty card has
 * empty names and no details. FALSE when the settings cannot be read. */
BOOL CtSvcMyProfileGet(CtSvcContactInfo* pContact);
/* Empties the owner's card and removes its vCard file and photo. */
BOOL CtSvcMyProfileClear(void);

ZEL_EXTERN_C_END

#endif
