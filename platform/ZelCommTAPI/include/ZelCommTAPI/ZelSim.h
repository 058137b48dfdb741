/* Telephony library: SIM card access.
 *
 * The card is a simulated one, kept in a card file ("sim/card.json" in the data directory; no file:
 * no card inserted). Its elementary files are addressed by telephony file identifiers:
 *   0x6Fxx  the file of that id on the card (GSM directory 7F10 and the card's own files);
 *   0x6Axx  the USIM application's copy of file 0x6Fxx (FDN 0x6A3B, MSISDN 0x6A40, EXT2/3/5
 *           0x6A4B/0x6A4C/0x6A4E);
 *   0xFFxx  the USIM phonebook under the USIM application, 0xEFxx the one under the telecom
 *           directory (both reach the card's one phonebook): shared files by their fixed id,
 *           per-PBR files by the id of their PBR record index (SimPhonebookFileId).
 *
 * Requests (SimGetFileInfo, SimSearchRecord, SimReadFile, SimUpdateFile) are answered
 * asynchronously: the callback given to SimOpen is called with (eventStatus, eventType, pData,
 * nParam) on the event handler that was current on the thread that called SimOpen, one event at a
 * time. pData is allocated with MemAllocTraceEx; the callback frees it with MemFreeTraceMultiHeap.
 * Only one request is outstanding on the card at a time: a request made before the answer to the
 * previous one has been delivered is refused (FALSE). The answer counts as delivered when the
 * callback starts, so a callback may send the next request.
 *
 * Record structures. Records travel as the fixed structures below (little-endian as laid out in
 * memory); the library translates between them and the card's raw record bytes. Alpha and text
 * bytes pass through unchanged. */
#ifndef ZEL_SIM_H
#define ZEL_SIM_H

#include <ZelCore/ZelTypes.h>

#include "ZelTapi.h"

/* Event types delivered to the SimOpen callback. */
#define SIM_EVENT_SIM_OPEN 1
#define SIM_EVENT_VERIFY_PIN1_IND 2
#define SIM_EVENT_SIM_CLOSE 4
#define SIM_EVENT_GET_FILE_INFO 5
#define SIM_EVENT_READ_FILE 7
#define SIM_EVENT_UPDATE_FILE 8
#define SIM_EVENT_SEARCH_RECORD 20

/* Event status: 0 success, else the card's status word. */
#define SIM_STATUS_OK 0
#define SIM_STATUS_FILE_NOT_FOUND 0x9404      /* no such file on the card */
#define SIM_STATUS_OUT_OF_RANGE 0x9402        /* record number outside the file, bad offset or length */
#define SIM_STATUS_ACCESS_DENIED 0x9804       /* access condition not fulfilled (PIN2 not verified, "never") */
#define SIM_STATUS_INCONSISTENT 0x9408        /* request does not fit the file (record structure, digits) */
#define SIM_STATUS_TECHNICAL_PROBLEM 0x6F00   /* the card could not carry it out (card file not written) */
#define SIM_STATUS_INVALIDATED 0x9810         /* the file is invalidated and may not be read or updated */

/* Card types answered by SimGetCardType. */
#define SIM_CARD_TYPE_GSM 0
#define SIM_CARD_TYPE_USIM 1
#define SIM_CARD_TYPE_UNKNOWN 2 /* also: no card inserted */

/* Access modes of read and update requests. */
#define SIM_ACCESS_MODE_TRANSPARENT 1
#define SIM_ACCESS_MODE_RECORD 2

/* File structure codes of the file information event. */
#define SIM_FILE_STRUCTURE_TRANSPARENT 1
#define SIM_FILE_STRUCTURE_LINEAR_FIXED 2
#define SIM_FILE_STRUCTURE_UNKNOWN 0xFF

/* Access conditions of the file information event. */
#define SIM_ACCESS_ALWAYS 0
#define SIM_ACCESS_PIN1 1
#define SIM_ACCESS_PIN2 2
#define SIM_ACCESS_NEVER 0xFF

#define SIM_EFILE_INVALID 0xFFFF
#define SIM_RECORD_COUNT_MAX 255
#define SIM_UPDATE_DATA_MAX 18004
#define SIM_ALPHA_MAX 48
#define SIM_NUMBER_DIGITS_MAX 20
#define SIM_EXT_DIGITS_MAX 20
#define SIM_TEXT_MAX 256
#define SIM_IAP_MAX 20
#define SIM_GRP_MAX 250
#define SIM_PBR_ENTRY_MAX 32

/* ---- Requests ---- */

/* Read request, 36 bytes. Record files: accessMode 2, recordNum 1-based. Transparent files:
 * accessMode 1, recordNum 0, the whole file. */
typedef struct SimReadFileReq {
  UINT32 fileID;
  UINT32 accessMode;
  UINT32 reserved0; /* 0 */
  UINT32 recordNum;
  UINT32 reserved1; /* 0 */
  UINT32 reserved2; /* 0 */
  UINT32 count;     /* 1 */
  UINT32 recordLen;
  UINT32 reserved3; /* 0 */
} SimReadFileReq;

/* Search request, 88 bytes: finds the records that consist of the pattern (its first
 * min(recordLen, 50) bytes equal the pattern's, every later byte equals the pattern's last byte).
 * The service searches for empty records: pattern 0xFF (GRP: 0x00). */
typedef struct SimSearchRecordReq {
  UINT32 fileID;
  UINT32 reserved0;   /* 0 */
  UINT32 searchMode;  /* 1: forward */
  UINT32 recordCount; /* records searched, from firstRecord */
  UINT32 firstRecord; /* 1 */
  UINT32 matchKind;   /* 4: whole record */
  UINT32 recordLen;
  UINT8 pattern[50];
  UINT8 pad[2];
  UINT32 reserved1[2];
} SimSearchRecordReq;

/* Update request, 18028 bytes. Record files: accessMode 2, recordNum 1-based, data holds the
 * file's record structure (SimDialNumberInfo, SimExtInfo, ...). Transparent files: accessMode 1,
 * recordNum 0, data holds recordLen raw bytes written from the file's start. */
typedef struct SimUpdateFileReq {
  UINT32 fileID;
  UINT32 accessMode;
  UINT32 reserved0; /* 0 */
  UINT32 recordNum;
  UINT32 count;     /* 1 */
  UINT32 recordLen;
  UINT8 data[SIM_UPDATE_DATA_MAX];
} SimUpdateFileReq;

/* ---- Event data ---- */

/* File status bits: a file that is not invalidated, and one that may still be read and updated
 * while invalidated. */
#define SIM_FILE_STATUS_NOT_INVALIDATED 0x01u
#define SIM_FILE_STATUS_RW_WHEN_INVALIDATED 0x04u

/* SIM_EVENT_GET_FILE_INFO, 48 bytes. A file the card lacks answers status 0x9404 with structure
 * 0xFF and every other field 0. Transparent files report their size as recordLen with one record. */
typedef struct SimFileInfoEventData {
  UINT32 reserved0;
  UINT32 fileID;       /* 4 */
  UINT32 structure;    /* 8: SIM_FILE_STRUCTURE_... */
  UINT32 acRead;       /* 12: SIM_ACCESS_... */
  UINT32 acUpdate;     /* 16 */
  UINT32 fileStatus;   /* 20: SIM_FILE_STATUS_... bits, as the card's file status byte */
  UINT32 reserved2;    /* 24 */
  UINT32 available;    /* 28: 1 when the file is present */
  UINT32 recordLen;    /* 32 */
  UINT32 recordCount;  /* 36 */
  UINT32 fileSize;     /* 40 */
  UINT32 available2;   /* 44: 1 when the file is present */
} SimFileInfoEventData;

/* SIM_EVENT_READ_FILE: a SimReadEventHeader followed by the record structure (record files) or the
 * raw bytes (transparent files); nParam's low 16 bits give the length of what follows the header.
 * A failed read carries no data. */
typedef struct SimReadEventHeader {
  UINT32 fileID;
  UINT32 recordNum;
} SimReadEventHeader;
#define SIM_READ_EVENT_DATA_OFFSET 8

/* SIM_EVENT_SEARCH_RECORD: the matching record numbers (1-based, ascending). */
typedef struct SimSearchEventData {
  UINT32 fileID;
  UINT32 dataLen; /* number of entries of pData */
  UINT8 pData[SIM_RECORD_COUNT_MAX];
} SimSearchEventData;

/* ---- Record structures ---- */

/* ADN, FDN, SDN, MSISDN record, 96 bytes. Digits: '0'-'9', '*', '#', ',' (DTMF pause), '?' (wild). */
typedef struct SimDialNumberInfo {
  UINT32 used;                 /* 0: empty record */
  UINT32 alphaFieldLen;        /* 4: X, the record's alpha field length */
  UINT32 alphaLen;             /* 8: meaningful bytes of szAlphaID */
  UINT8 szAlphaID[SIM_ALPHA_MAX]; /* 12: raw alpha bytes */
  UINT32 numberLen;            /* 60: digits */
  UINT32 ton;                  /* 64: 1 international */
  UINT32 npi;                  /* 68: 1 ISDN/telephony */
  char szNumber[SIM_NUMBER_DIGITS_MAX + 1]; /* 72 */
  UINT8 capabilityId;          /* 93: 0xFF none */
  UINT8 extensionId;           /* 94: 1-based EXT record, 0 or 0xFF none */
  UINT8 pad;                   /* 95 */
} SimDialNumberInfo;

/* EXT1/2/3/5 record, 32 bytes. */
typedef struct SimExtInfo {
  UINT32 used;
  UINT32 recordType; /* 4: 2 additional data, 1 called party subaddress */
  UINT8 dataLen;     /* 8: digits in extData */
  char extData[22];  /* 9: digits, zero-terminated */
  UINT8 nextRecord;  /* 31: 1-based, 0xFF none */
} SimExtInfo;

/* One file listed in a PBR record, 20 bytes. */
typedef struct SimPbrEntryInfo {
  UINT32 fileTag;        /* 0xC0..0xCB (others passed on as found) */
  UINT32 constructedTag; /* 0xA8 type 1, 0xA9 type 2, 0xAA type 3 */
  UINT32 reserved;
  UINT32 fileID;         /* 12 */
  UINT8 sfi;             /* 16: 0 when the entry gives none */
  UINT8 pad[3];
} SimPbrEntryInfo;

/* PBR record. Entries beyond SIM_PBR_ENTRY_MAX are not carried. */
typedef struct SimPbrInfo {
  UINT32 used;
  UINT8 entryCount; /* 4 */
  UINT8 pad[3];
  SimPbrEntryInfo entries[SIM_PBR_ENTRY_MAX]; /* 8 */
} SimPbrInfo;

/* IAP record: one record number per type-2 file of the PBR record, 1-based, 0xFF none. */
typedef struct SimIapInfo {
  UINT32 used;
  UINT8 recordNum[SIM_IAP_MAX]; /* 4 */
} SimIapInfo;

/* ANR record, 60 bytes. adnSfi/adnRecordNum only in type-2 files (reached through IAP). */
typedef struct SimAnrInfo {
  UINT32 used;
  UINT16 fileID;     /* 4 */
  UINT8 reserved0[6];
  UINT8 aasRecordNum; /* 12: 1-based, 0 none */
  UINT8 reserved1[7];
  UINT32 numberLen;  /* 20 */
  UINT32 ton;        /* 24 */
  UINT32 npi;        /* 28 */
  char szNumber[SIM_NUMBER_DIGITS_MAX + 1]; /* 32 */
  UINT8 capabilityId; /* 53 */
  UINT8 extensionId;  /* 54: 1-based, 0 or 0xFF none */
  UINT8 adnSfi;       /* 55 */
  UINT8 adnRecordNum; /* 56: 1-based */
  UINT8 pad[3];
} SimAnrInfo;

/* EMAIL and SNE record, 268 bytes. adnSfi/adnRecordNum only in type-2 files. */
typedef struct SimTextInfo {
  UINT32 used;
  UINT16 fileID;    /* 4 */
  UINT8 textLen;    /* 6 */
  UINT8 text[SIM_TEXT_MAX]; /* 7: raw bytes */
  UINT8 adnSfi;       /* 263 */
  UINT8 adnRecordNum; /* 264 */
  UINT8 pad[3];
} SimTextInfo;

/* GAS and AAS record, 264 bytes. */
typedef struct SimAlphaInfo {
  UINT32 used;
  UINT8 textLen; /* 4 */
  UINT8 text[SIM_TEXT_MAX]; /* 5: raw bytes */
  UINT8 pad[3];
} SimAlphaInfo;

/* GRP record: count group bytes, each a 1-based GAS record number, 0 none. */
typedef struct SimGrpInfo {
  UINT32 used;
  UINT8 count; /* 4 */
  UINT8 groupRecordNum[SIM_GRP_MAX]; /* 5 */
  UINT8 pad;
} SimGrpInfo;

typedef struct SimUidInfo {
  UINT32 used;
  UINT16 uid; /* 4 */
  UINT8 pad[2];
} SimUidInfo;

typedef struct SimPbcInfo {
  UINT32 used;
  UINT32 entryControl;   /* 4: 1 set */
  UINT32 hiddenKeyPresent; /* 8 */
  UINT32 hiddenKey;      /* 12 */
} SimPbcInfo;

/* ---- Card information ---- */

/* Service table: the table as on the card and the services the phonebook asks about (1 offered:
 * for a SIM table allocated and activated, for a USIM table available). */
typedef struct SimServiceTableInfo {
  UINT32 length;
  UINT8 table[32];
  UINT8 adn;
  UINT8 fdn;
  UINT8 sdn;
  UINT8 msisdn;
  UINT8 ext1;
  UINT8 ext2;
  UINT8 ext3;
  UINT8 ext5;
} SimServiceTableInfo;

/* CPHS information: information numbers are offered when infoNumbers (offset 4) and
 * infoNumbersActive (offset 20) are both non-zero. */
typedef struct SimCphsInfo {
  UINT32 phase;
  UINT32 infoNumbers;       /* 4 */
  UINT32 csp;               /* 8 */
  UINT32 mailboxNumbers;    /* 12 */
  UINT32 operatorShortName; /* 16 */
  UINT32 infoNumbersActive; /* 20 */
} SimCphsInfo;

/* ICCID: 10 bytes as on the card (BCD, nibbles swapped, 0xF filler) and as digits. */
typedef struct SimIccidInfo {
  UINT8 iccid[10];
  char szIccid[21];
  UINT8 pad;
} SimIccidInfo;

typedef void (*SimEventCallback)(int eventStatus, int eventType, void* pData, UINT32 nParam);

ZEL_EXTERN_C_BEGIN

/* Opens a connection whose events go to pfnCallback on the current event handler (required).
 * A handle, or -1 (no callback, no current handler). No open event is sent; the connection works
 * at once. Opening does not need a card: requests fail until one is inserted. */
HOBJ SimOpen(SimEventCallback pfnCallback);
/* Closes the connection; a SIM_EVENT_SIM_CLOSE (status 0) follows on its callback. 1 / 0 (unknown handle). */
BOOL SimClose(HOBJ hSim);

/* 1 when sent; the answer arrives as the event of the same name. 0 for an unknown handle, a null
 * or malformed request, no card, or while another request is outstanding. */
BOOL SimGetFileInfo(HOBJ hSim, UINT32 fileID);
BOOL SimSearchRecord(HOBJ hSim, const SimSearchRecordReq* pReqData);
BOOL SimReadFile(HOBJ hSim, const SimReadFileReq* pReqData);
BOOL SimUpdateFile(HOBJ hSim, const SimUpdateFileReq* pReqData);

int SimGetCardType(void);
/* The card's tables; null when the card has none (or no card). The pointer stays valid until the
 * calling thread's next call of the same function. */
const SimServiceTableInfo* SimGetSstInfo(void);
const SimServiceTableInfo* SimGetUstInfo(void);
BOOL SimSupportCphs(void);
const SimCphsInfo* SimGetCphsInfo(void); /* null when CPHS is not supported */
BOOL SimGetIccidInfo(SimIccidInfo* pInfo);  /* FALSE (zeroed) without a card or ICCID */
BOOL SimGetFdnEnable(void);
/* Why the data directory's card file was refused ("sim/card.json: files[2] (ADN 6F3A): ..."), or
 * null when it was not. Valid until the calling thread's next call. */
const char* SimGetCardError(void);

/* Telephony id of a USIM phonebook file: bLocal 1 for 0xFFxx (USIM application), 0 for 0xEFxx
 * (telecom). pszName is "PBR", "ADN", "ANR", ...; nPbrIndex the PBR record index for per-PBR
 * files (0 for shared ones); nOccurrence the n-th file of the name in the PBR record (ANR 0..3,
 * EMAIL 0..1, others 0). SIM_EFILE_INVALID when there is none. */
UINT32 SimPhonebookFileId(int bLocal, const char* pszName, int nPbrIndex, int nOccurrence);

ZEL_EXTERN_C_END

#ifdef __cplusplus
#include <cstddef>
/* The layouts above are binding for whoever exchanges them with the library. */
#define ZEL_SIM_LAYOUT(type, size) static_assert(sizeof(type) == (size), #type " is " #size " bytes")
#define ZEL_SIM_AT(type, field, off) static_assert(offsetof(type, field) == (off), #type "." #field " at " #off)
ZEL_SIM_LAYOUT(SimReadFileReq, 36);
ZEL_SIM_AT(SimReadFileReq, recordNum, 12);
ZEL_SIM_AT(SimReadFileReq, count, 24);
ZEL_SIM_AT(SimReadFileReq, recordLen, 28);
ZEL_SIM_LAYOUT(SimSearchRecordReq, 88);
ZEL_SIM_AT(SimSearchRecordReq, recordCount, 12);
ZEL_SIM_AT(SimSearchRecordReq, recordLen, 24);
ZEL_SIM_AT(SimSearchRecordReq, pattern, 28);
ZEL_SIM_AT(SimSearchRecordReq, reserved1, 80);
ZEL_SIM_LAYOUT(SimUpdateFileReq, 18028);
ZEL_SIM_AT(SimUpdateFileReq, recordNum, 12);
ZEL_SIM_AT(SimUpdateFileReq, recordLen, 20);
ZEL_SIM_AT(SimUpdateFileReq, data, 24);
ZEL_SIM_LAYOUT(SimFileInfoEventData, 48);
ZEL_SIM_AT(SimFileInfoEventData, fileID, 4);
ZEL_SIM_AT(SimFileInfoEventData, structure, 8);
ZEL_SIM_AT(SimFileInfoEventData, acRead, 12);
ZEL_SIM_AT(SimFileInfoEventData, acUpdate, 16);
ZEL_SIM_AT(SimFileInfoEventData, fileStatus, 20);
ZEL_SIM_AT(SimFileInfoEventData, available, 28);
ZEL_SIM_AT(SimFileInfoEventData, recordLen, 32);
ZEL_SIM_AT(SimFileInfoEventData, recordCount, 36);
ZEL_SIM_AT(SimFileInfoEventData, available2, 44);
ZEL_SIM_LAYOUT(SimReadEventHeader, SIM_READ_EVENT_DATA_OFFSET);
ZEL_SIM_AT(SimSearchEventData, pData, 8);
ZEL_SIM_LAYOUT(SimDialNumberInfo, 96);
ZEL_SIM_AT(SimDialNumberInfo, alphaFieldLen, 4);
ZEL_SIM_AT(SimDialNumberInfo, alphaLen, 8);
ZEL_SIM_AT(SimDialNumberInfo, szAlphaID, 12);
ZEL_SIM_AT(SimDialNumberInfo, numberLen, 60);
ZEL_SIM_AT(SimDialNumberInfo, ton, 64);
ZEL_SIM_AT(SimDialNumberInfo, npi, 68);
ZEL_SIM_AT(SimDialNumberInfo, szNumber, 72);
ZEL_SIM_AT(SimDialNumberInfo, capabilityId, 93);
ZEL_SIM_AT(SimDialNumberInfo, extensionId, 94);
ZEL_SIM_LAYOUT(SimExtInfo, 32);
ZEL_SIM_AT(SimExtInfo, recordType, 4);
ZEL_SIM_AT(SimExtInfo, dataLen, 8);
ZEL_SIM_AT(SimExtInfo, extData, 9);
ZEL_SIM_AT(SimExtInfo, nextRecord, 31);
ZEL_SIM_LAYOUT(SimPbrEntryInfo, 20);
ZEL_SIM_AT(SimPbrEntryInfo, constructedTag, 4);
ZEL_SIM_AT(SimPbrEntryInfo, fileID, 12);
ZEL_SIM_AT(SimPbrEntryInfo, sfi, 16);
ZEL_SIM_AT(SimPbrInfo, entryCount, 4);
ZEL_SIM_AT(SimPbrInfo, entries, 8);
ZEL_SIM_AT(SimIapInfo, recordNum, 4);
ZEL_SIM_LAYOUT(SimAnrInfo, 60);
ZEL_SIM_AT(SimAnrInfo, fileID, 4);
ZEL_SIM_AT(SimAnrInfo, aasRecordNum, 12);
ZEL_SIM_AT(SimAnrInfo, numberLen, 20);
ZEL_SIM_AT(SimAnrInfo, ton, 24);
ZEL_SIM_AT(SimAnrInfo, npi, 28);
ZEL_SIM_AT(SimAnrInfo, szNumber, 32);
ZEL_SIM_AT(SimAnrInfo, capabilityId, 53);
ZEL_SIM_AT(SimAnrInfo, extensionId, 54);
ZEL_SIM_AT(SimAnrInfo, adnSfi, 55);
ZEL_SIM_AT(SimAnrInfo, adnRecordNum, 56);
ZEL_SIM_LAYOUT(SimTextInfo, 268);
ZEL_SIM_AT(SimTextInfo, fileID, 4);
ZEL_SIM_AT(SimTextInfo, textLen, 6);
ZEL_SIM_AT(SimTextInfo, text, 7);
ZEL_SIM_AT(SimTextInfo, adnSfi, 263);
ZEL_SIM_AT(SimTextInfo, adnRecordNum, 264);
ZEL_SIM_LAYOUT(SimAlphaInfo, 264);
ZEL_SIM_AT(SimAlphaInfo, textLen, 4);
ZEL_SIM_AT(SimAlphaInfo, text, 5);
ZEL_SIM_AT(SimGrpInfo, count, 4);
ZEL_SIM_AT(SimGrpInfo, groupRecordNum, 5);
ZEL_SIM_AT(SimUidInfo, uid, 4);
ZEL_SIM_LAYOUT(SimPbcInfo, 16);
ZEL_SIM_AT(SimPbcInfo, entryControl, 4);
ZEL_SIM_AT(SimPbcInfo, hiddenKeyPresent, 8);
ZEL_SIM_AT(SimPbcInfo, hiddenKey, 12);
ZEL_SIM_AT(SimCphsInfo, infoNumbers, 4);
ZEL_SIM_AT(SimCphsInfo, infoNumbersActive, 20);
#undef ZEL_SIM_LAYOUT
#undef ZEL_SIM_AT
#endif

#endif
