/* User preferences of the contact service, the carrier's pre-configuration, and the own phone
 * number kept in phone memory when the SIM has no MSISDN file. */
#ifndef CTSVC_SETTING_H
#define CTSVC_SETTING_H

#include "CtSvcTypes.h"

/* Setting ids of CtSvcGetCtSetting / CtSvcSetCtSetting. */
#define CTSVC_SETTING_ITEM_STORAGE 0 /* where new contacts are saved: 0 phone, 1 SIM, 2 ask */
#define CTSVC_SETTING_VIEW_STORAGE 1 /* which contacts are listed: 0 both, 1 phone, 2 SIM */
#define CTSVC_SETTING_VIEW_SORT 2    /* list order: 1 last name first, 0 first name first */

/* Modes of CtSvcSettingPreConfigForKRV. */
#define CTSVC_PRECONFIG_READ 0   /* carrier file -> settings */
#define CTSVC_PRECONFIG_VERIFY 1 /* compare both, log the differences */
#define CTSVC_PRECONFIG_ENCODE 2 /* settings -> carrier phone file */

/* Sizes of the own-number texts, terminator included. */
#define CTSVC_OWN_NUMBER_NAME_SIZE 151
#define CTSVC_OWN_NUMBER_NUMBER_SIZE 41

ZEL_EXTERN_C_BEGIN

BOOL CtSvcGetCtSetting(int nSettingId, int* pnValue);
BOOL CtSvcSetCtSetting(int nSettingId, int nValue);
BOOL CtSvcSettingPreConfigForKRV(int nMode);

/* The own number in phone memory ("CtOwnNumber.ini", one slot). Set needs both texts; a '+' of
 * an international number (leading, or at the number start of a supplementary-service string) is
 * kept apart and given back by Get. */
BOOL CtSvcOwnNumberSet(const char* pszName, const char* pszNumber);
BOOL CtSvcOwnNumberGet(char* pszName, int nNameSize, char* pszNumber, int nNumberSize);
BOOL CtSvcOwnNumberDelete(void);
int CtSvcOwnNumberGetUsedCount(void);

ZEL_EXTERN_C_END

#endif
