/* Full-text search over the names of primary contacts (type 0) and persons (type 1).
 *
 * A search text is cut to its first 126 bytes (never inside a UTF-8 character) and split at blanks;
 * every word must begin a word of the name. There is one basic result (the latest plain search,
 * replaced by the next one) and up to 20 extended results addressed by their result id. */
#ifndef CTSVC_SEARCH_H
#define CTSVC_SEARCH_H

#include "CtSvcTypes.h"

/* Bytes of the request's text buffer; at most CTSVC_SEARCH_TEXT_MAX of them are used. */
#define CTSVC_SEARCH_TEXT_SIZE 304
#define CTSVC_SEARCH_TEXT_MAX 126
/* Extended results that may exist at a time. */
#define CTSVC_EXTENDED_SEARCH_MAX_RESULT 20

/* nFilterFlag of an extended request. */
#define CTSVC_SEARCH_FILTER_HAS_PHONENUMBER 1
#define CTSVC_SEARCH_FILTER_HAS_EMAIL 2
#define CTSVC_SEARCH_FILTER_HAS_PHONENUMBER_OR_EMAIL 3

/* An extended search: the text and the values that narrow it (0 / -1: not used). */
typedef struct CtSvcExtendedSearchRequest {
  char szSearchText[CTSVC_SEARCH_TEXT_SIZE];
  INT32 DevType;             /* CtSvcDeviceType; 1 or 2 narrows */
  INT32 nFilterFlag;         /* CTSVC_SEARCH_FILTER_... */
  INT32 nGroupId;            /* >= 1: members of the group (primaries) */
  INT32 FavoriteType;        /* > 0: primaries of this favourite type on the phone */
  INT32 bLocalPhoneDataOnly; /* 1: contacts of no account */
  INT32 nAccountId;          /* >= 0: persons of this account */
} CtSvcExtendedSearchRequest;

/* Answer of CtSvcSearchRequestSearchEx on the "CTSVC" handler: the request's two values and a copy
 * of its text (valid during the call), then 0. */
typedef void (*CtSvcSearchRequestCallback)(INT32 nSearchType, INT32 nDeviceType, const char* pszSearchText,
                                           INT32 nReserved, void* pUserData);
/* Called on the "CTSVC" handler once the basic result was destroyed. */
typedef void (*CtSvcSearchDestroyCallback)(void* pUserData);

ZEL_EXTERN_C_BEGIN

/* Creates the full-text index of the type when missing (only type 0 has one). 1/0. */
BOOL CtSvcSearchCreateIndex(INT32 nType);

/* Runs a basic search, replacing the previous basic result; nDeviceType > 0 keeps only contacts of
 * that device type. Results are ordered by full name in the platform's name order. 1/0. */
BOOL CtSvcSearchRequestSearch(INT32 nType, const char* pszSearchText, INT32 nDeviceType);
/* Rows of the basic result, or -1 when there is none. */
INT32 CtSvcSearchGetResultCount(void);
/* Row id (a primary id for type 0, a person id for type 1) at the offset, or 0. */
INT32 CtSvcSearchGetResultItem(INT32 nOffset);
void CtSvcSearchDestroyResult(void);
/* Type of the latest basic search. */
INT32 CtSvcGetLatestSearchType(void);

/* Runs an extended search: its result id (0..19), or -1 on any failure (null request, bad type,
 * a search that cannot run, no free result). */
INT32 CtSvcExtendedSearchRequestSearch(INT32 nType, const CtSvcExtendedSearchRequest* pRequest);
/* Rows of the result, or -1 when the id names no result. */
INT32 CtSvcExtendedSearchGetResultCount(INT32 nResultId);
/* Row id at the offset, or 0. */
INT32 CtSvcExtendedSearchGetResultItem(INT32 nResultId, INT32 nOffset);
/* 1 when the id named a result, else 0. */
BOOL CtSvcExtendedSearchDestroyResult(INT32 nResultId);
void CtSvcExtendedSearchDestroyAllResult(void);

/* Queue a job on the background task: the callback is called on the "CTSVC" handler once the job
 * is done. 1 when queued, 0 for a missing callback (request) or text. */
BOOL CtSvcSearchRequestSearchEx(INT32 nSearchType, INT32 nDeviceType, const char* pszSearchText,
                                CtSvcSearchRequestCallback pfnCallback, void* pUserData);
/* Destroys the basic result on the background task; the callback may be null. */
BOOL CtSvcSearchDestroyResultEx(CtSvcSearchDestroyCallback pfnCallback, void* pUserData);

ZEL_EXTERN_C_END

#endif
