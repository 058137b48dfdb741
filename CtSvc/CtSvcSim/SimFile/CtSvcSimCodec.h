// Text and number conventions of SIM phonebook records: alpha identifiers (GSM default alphabet,
// UCS2 forms 0x80/0x81/0x82, KSC 5601 on Korean cards) to and from the local code, and the '+' of
// international numbers and supplementary-service strings.
#ifndef CTSVC_SIM_CODEC_H
#define CTSVC_SIM_CODEC_H

#include <cstddef>
#include <cstdint>

#include "ZelTypes.h"

enum class CtSvcSimAlphaRule {
  Full,     // GSM, UCS2, and KSC 5601 when the IMSI's country code is 450
  NoKsc     // GSM, and every first byte of 0x80 or more through the UCS2 decoder (SDN)
};

// Decodes nLen raw alpha bytes into the local code (pszOut of nOutSize bytes, terminated).
// nFieldLen is the record's alpha field length: a KSC text that fills it ends at its first 0x01.
// nUnits bounds the 16-bit intermediate text. Returns the bytes written (0 for an empty name).
int CtSvcSimDecodeAlpha(const UINT8* pAlpha, int nLen, int nFieldLen, CtSvcSimAlphaRule rule, int nUnits,
                        char* pszOut, int nOutSize);

// Encodes the local-code name into at most nCapacity bytes: the GSM default alphabet when every
// character has a GSM code (the longest prefix that fits), else a UCS2 form. Returns the length.
int CtSvcSimEncodeAlpha(const char* pszName, UINT8* pOut, int nCapacity);

// The mobile country code of the card's IMSI, or -1 when none is known.
int CtSvcSimGetImsiCountryCode();

// Copies at most nLen digits (fewer at a zero byte) into pszOut (nOutSize bytes); with TON 1 a
// supplementary-service string gets its '+' after the separator and the result is 0, any other
// number answers 1 (international, '+' not stored). Other TON: 0.
UINT32 CtSvcSimDecodeNumber(const char* pszDigits, int nLen, UINT32 nTon, char* pszOut, int nOutSize);

// The digits a record carries for the entry's number and international flag: a leading '+' (or
// one after a service-string separator) is removed and makes the number international; a number
// whose entry is marked international stays so. pszOut has 42 bytes. Returns the TON (1 or 0).
UINT32 CtSvcSimEncodeNumber(const char* pszNumber, UINT32 bInternational, char* pszOut, int nOutSize);

// Fills the TON, digit count and 21-byte digit field of a record from an entry's number: with
// bPlusFromNumber through CtSvcSimEncodeNumber, else the digits as they are with the entry's flag.
// At most 20 digits go into the record.
void CtSvcSimFillNumber(const char* pszNumber, UINT32 bInternational, bool bPlusFromNumber, UINT32* pnTon,
                        UINT32* pnNumberLen, char* pszField);

// The number as shown: '+' in front when international, then the extension digits appended.
void CtSvcSimPresentNumber(const char* pszNumber, UINT32 bInternational, const char* pszExtension, char* pszOut,
                           int nOutSize);

// Copies at most nSourceMax bytes of the text (fewer at a zero byte), cut to the destination and
// terminated.
void CtSvcSimCopyText(char* pszDest, size_t nDestSize, const char* pszSource, size_t nSourceMax = SIZE_MAX);

#endif
