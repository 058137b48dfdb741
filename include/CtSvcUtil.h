/* Stateless helpers over phone numbers, e-mail addresses, dates, file names and SIM text limits. */
#ifndef CTSVC_UTIL_H
#define CTSVC_UTIL_H

#include "CtSvcTypes.h"

/* A calendar date. */
typedef struct CtDate {
  INT32 year;
  INT32 month; /* 1..12 */
  INT32 day;   /* 1..31 */
} CtDate;

/* The packed value of "no date". */
#define CTSVC_NO_DATE_PACKED 18991231

ZEL_EXTERN_C_BEGIN

/* Checks a number and removes the '+' of an international number (leading, or at the number start
 * of a supplementary-service string); *pbInternational is 1 when one was removed. */
BOOL CtConvert2ValidPhoneNumber(char* pszNumber, int nBufferSize, int* pbInternational);
BOOL CtSvcCheckValidPhoneNumber(const char* pszNumber);
/* Inserts '+' at the number start of a supplementary-service string (buffer of at least 41 bytes). */
BOOL CtSimConv2InternationalSString(char* pszString);
/* Number of trailing digits that identify a caller (pszNumber may be null). */
int CtSvcGetDigitsCount2Compare(const char* pszNumber);
/* The operator profile's default number of digits. */
int CtSvcGetDefaultCLI(void);
BOOL CtSvcCheckValidAddress(const char* pszAddress);
/* Makes a text usable as a file name: unsupported characters become blanks, leading blanks go. */
BOOL CtRemoveUnSupportedChar(char* pszText);
BOOL CtAppIsUTF8(const char* pszText);
/* Byte length of the longest prefix of the text whose SIM encoding fits nByteSize bytes. */
int CtGetLCodeMaxByteSize(const char* pszText, int nByteSize, int nReserved);

INT32 CtDateToDays(const CtDate* pDate);
BOOL CtDaysToDate(INT32 nDays, CtDate* pDate);
BOOL CtGetDateAfterNDays(const CtDate* pDate, CtDate* pResult, INT32 nDays);
/* TRUE when a is not later than b. */
BOOL CtCompareDate(const CtDate* pA, const CtDate* pB);

/* TRUE when the save folder of the file holds more than 998 files. */
BOOL CtIsFileFull(const char* pszFile, int nReserved);
/* A free path in the phone memory's save folder for a copy of the file ("name_001.ext", ...). */
BOOL CtSvcGetFilePathName4PhoneMemory(const char* pszSrcPath, char* pszOutPath, int nOutSize);

ZEL_EXTERN_C_END

#endif
