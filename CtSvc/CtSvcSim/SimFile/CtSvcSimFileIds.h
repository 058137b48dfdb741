// Telephony file identifiers of the SIM phonebook files: fixed per card type for the GSM files,
// and for the USIM phonebook per file kind, PBR record index and phonebook location.
#ifndef CTSVC_SIM_FILE_IDS_H
#define CTSVC_SIM_FILE_IDS_H

// The identifier of a file (internal id) for the card type; for the files of a USIM phonebook
// nPbrIndex selects the PBR record and nNth the n-th file of its kind in that record (ANR, EMAIL).
// SIM_EFILE_INVALID when the combination has none.
int CtSvcSimGetTelephonyFileID(int nSimFileID, int nCardType, int nPbrIndex = 0, int nNth = 0);

// As above with the card type, phonebook location and CPHS support the device SIM manager reports.
int CtSvcSimChooseTelephonyFileID(int nSimFileID, int nPbrIndex = 0, int nNth = 0);

#endif
