/* SIM phonebook records as they cross the contact service's C interface: an ADN contact with its
 * USIM extras (additional numbers, e-mail addresses, second name, groups) and the plain dialling
 * numbers of FDN, SDN and MSISDN.
 *
 * Strings are NUL-terminated UTF-8 arrays (the platform local code); sizes include the terminator.
 * The field order, types and array sizes are the library's binary interface. */
#ifndef CTSVC_SIM_H
#define CTSVC_SIM_H

#include <stddef.h>

#include "CtSvcTypes.h"

#define CTSVC_SIM_NAME_SIZE 121
#define CTSVC_SIM_NUMBER_SIZE 42
#define CTSVC_SIM_EMAIL_SIZE 301
#define CTSVC_SIM_SECOND_NAME_SIZE 151
#define CTSVC_SIM_ADDITIONAL_NUMBER_MAX 4
#define CTSVC_SIM_EMAIL_MAX 4
#define CTSVC_SIM_GROUP_FLAG_MAX 30

/* One additional number (ANR) and the AAS record index naming its kind. */
typedef struct CtSvcSimAdditionalNumber {
  char szPhoneNumber[CTSVC_SIM_NUMBER_SIZE];
  UINT32 nAasIndex;
} CtSvcSimAdditionalNumber;

/* An ADN contact. szPhoneNumber carries the '+' of an international number. bGroup[i] is 1 when
 * the contact belongs to the group of GAS record index i (indexes of 30 and more are not carried). */
typedef struct CtSvcSimAdnRecord {
  char szName[CTSVC_SIM_NAME_SIZE];
  char szPhoneNumber[CTSVC_SIM_NUMBER_SIZE];
  CtSvcSimAdditionalNumber stAdditionalNumber[CTSVC_SIM_ADDITIONAL_NUMBER_MAX];
  char szEmail[CTSVC_SIM_EMAIL_MAX][CTSVC_SIM_EMAIL_SIZE];
  char szSecondName[CTSVC_SIM_SECOND_NAME_SIZE];
  UINT32 bGroup[CTSVC_SIM_GROUP_FLAG_MAX];
} CtSvcSimAdnRecord;

/* An FDN, SDN or MSISDN entry. */
typedef struct CtSvcSimXdnRecord {
  char szName[CTSVC_SIM_NAME_SIZE];
  char szPhoneNumber[CTSVC_SIM_NUMBER_SIZE];
} CtSvcSimXdnRecord;

#ifdef __cplusplus
static_assert(sizeof(CtSvcSimAdditionalNumber) == 48, "additional number layout");
static_assert(offsetof(CtSvcSimAdnRecord, stAdditionalNumber) == 164, "ADN record layout");
static_assert(offsetof(CtSvcSimAdnRecord, szEmail) == 356, "ADN record layout");
static_assert(offsetof(CtSvcSimAdnRecord, szSecondName) == 1560, "ADN record layout");
static_assert(offsetof(CtSvcSimAdnRecord, bGroup) == 1712, "ADN record layout");
static_assert(sizeof(CtSvcSimAdnRecord) == 1832, "ADN record layout");
static_assert(sizeof(CtSvcSimXdnRecord) == 163, "XDN record layout");
#endif

#endif
