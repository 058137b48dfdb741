// Answers to the phonebook AT commands an external device sends through the telephony library:
// query status, read, record request, find, write and own number, served from the contact
// database's phone-number lists and the SIM state, on the "CTSVC" handler's thread.
#ifndef CTSVC_EH_AT_PB_H
#define CTSVC_EH_AT_PB_H

#include <vector>

#include "CtSvcTypes.h"
#include "ZelCommTAPI/ZelTapi.h"
#include "ZelCommTAPI/ZelTapiAt.h"

// Sets the handlers of the AT indications and of CT_NOTIFY_INITIALIZED on "CTSVC".
void CtSvcEHAtPbStart(void);

// The handlers (exposed for the tests; they run on "CTSVC").
void CtSvcEHAtPbQueryStatus(const TapiEvent* pEvent);
void CtSvcEHAtPbRead(const TapiEvent* pEvent);
void CtSvcEHAtPbFind(const TapiEvent* pEvent);
void CtSvcEHAtPbWrite(const TapiEvent* pEvent);
void CtSvcEHAtPbReqRecord(const TapiEvent* pEvent);
void CtSvcEHAtOwnNumber(const TapiEvent* pEvent);
void CtSvcEHAtPbSendInitInfo(void* pData, INT32 nParam1, INT32 nParam2);

// SIM state as the answers read it.
// The SIM phonebook can be read (CtIsRecordAccessable of the ADN): the phonebook is initialised,
// the SIM is not used remotely over Bluetooth nor in no-SIM mode, and its ADN file may be read.
bool CtSvcEHAtSimAccessible(void);
// Records the SIM phonebook holds: ADN total plus the first three ANR files; 0 when inaccessible.
int CtSvcEHAtSimCapacity(void);
// ADN total plus the first three ANR files, whatever the card's state.
int CtSvcEHAtSimAdnAnrTotal(void);

// The phone's own numbers (name, number), at most TAPI_AT_MSISDN_MAX.
struct CtSvcEHOwnNumber {
  char szName[TAPI_AT_MSISDN_NAME_SIZE];
  char szNumber[TAPI_AT_PB_NUMBER_SIZE];
};
std::vector<CtSvcEHOwnNumber> CtSvcEHReadOwnNumbers(void);

#endif
