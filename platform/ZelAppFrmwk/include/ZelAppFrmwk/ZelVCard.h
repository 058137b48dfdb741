/* vCard codec: vCard 2.1 and 3.0 text <-> an object model of chained objects, properties,
 * parameters and values.
 *
 * Decoding reads what phones and programs write: CRLF, CR CR LF, bare LF or CR line ends, folded
 * lines, quoted-printable values with soft breaks, BASE64 / ENCODING=b values (with or without the
 * closing blank line), CHARSET parameters (converted to UTF-8), 2.1 and 3.0 escapes, groups
 * ("item1."), TYPE lists, names in any case, '#' comment lines and a missing VERSION (2.1).
 * Every text value handed out is UTF-8 and its property carries CHARSET=UTF-8 (kind
 * VCARD_PARAM_CHARSET, value VCARD_CHARSET_UTF8); binary values (a base64 photo) carry
 * ENCODING=BASE64 and their byte length.
 *
 * Encoding writes 2.1 (or 3.0), quoted-printable only for 2.1 text that needs it (non-ASCII
 * bytes, line breaks), and folds every line at 75 bytes.
 *
 * Everything is allocated with the platform allocator (MemAlloc) and released by
 * VCardFreeObject / VCardFreeText. */
#ifndef ZEL_VCARD_H
#define ZEL_VCARD_H

#include "ZelTypes.h"

#define VCARD_OBJECT_VCARD 1

/* Property kinds. */
#define VCARD_PROP_UNKNOWN (-1)
#define VCARD_PROP_ADR 0x00
#define VCARD_PROP_AGENT 0x01
#define VCARD_PROP_BDAY 0x02
#define VCARD_PROP_CATEGORIES 0x03
#define VCARD_PROP_CLASS 0x04
#define VCARD_PROP_LABEL 0x05
#define VCARD_PROP_GEO 0x06
#define VCARD_PROP_EMAIL 0x07
#define VCARD_PROP_MAILER 0x08
#define VCARD_PROP_FN 0x09
#define VCARD_PROP_KEY 0x0A
#define VCARD_PROP_LOGO 0x0B
#define VCARD_PROP_N 0x0F
#define VCARD_PROP_NICKNAME 0x11
#define VCARD_PROP_NOTE 0x12
#define VCARD_PROP_ORG 0x13
#define VCARD_PROP_PHOTO 0x14
#define VCARD_PROP_PRODID 0x15
#define VCARD_PROP_ROLE 0x16
#define VCARD_PROP_REV 0x17
#define VCARD_PROP_SORT_STRING 0x18
#define VCARD_PROP_SOUND 0x19
#define VCARD_PROP_TEL 0x1D
#define VCARD_PROP_TITLE 0x1F
#define VCARD_PROP_TZ 0x20
#define VCARD_PROP_UID 0x21
#define VCARD_PROP_URL 0x22
#define VCARD_PROP_VERSION 0x23
#define VCARD_PROP_X_AIM 0x24
#define VCARD_PROP_X_GOOGLE_TALK 0x29
#define VCARD_PROP_X_ICQ 0x2A
#define VCARD_PROP_X_JABBER 0x31
#define VCARD_PROP_X_MSN 0x36
#define VCARD_PROP_X_QQ 0x38
#define VCARD_PROP_X_SKYPE 0x3D
#define VCARD_PROP_X_YAHOO 0x3F

/* Parameter kinds and their values. */
#define VCARD_PARAM_CHARSET 0
#define VCARD_PARAM_LANGUAGE 1
#define VCARD_PARAM_ENCODING 2
#define VCARD_PARAM_VALUE 3
#define VCARD_PARAM_TYPE 4

#define VCARD_CHARSET_UTF8 1u
#define VCARD_CHARSET_LATIN1 2u

#define VCARD_ENCODING_QP 1u
#define VCARD_ENCODING_BASE64 2u
#define VCARD_ENCODING_8BIT 4u

/* TYPE bits (PREF is read and ignored: it is no kind of number or address). */
#define VCARD_TYPE_DOM 0x1u
#define VCARD_TYPE_INTL 0x2u
#define VCARD_TYPE_MSG 0x4u
#define VCARD_TYPE_CELL 0x8u
#define VCARD_TYPE_POSTAL 0x10u
#define VCARD_TYPE_WORK 0x20u
#define VCARD_TYPE_FAX 0x40u
#define VCARD_TYPE_PARCEL 0x80u
#define VCARD_TYPE_HOME 0x100u
#define VCARD_TYPE_INTERNET 0x400u
#define VCARD_TYPE_X400 0x800u
#define VCARD_TYPE_JPEG 0x1000u
#define VCARD_TYPE_OTHER 0x2000u
#define VCARD_TYPE_GIF 0x4000u
#define VCARD_TYPE_BBS 0x8000u
#define VCARD_TYPE_CAR 0x10000u
#define VCARD_TYPE_MODEM 0x20000u
#define VCARD_TYPE_PNG 0x40000u
#define VCARD_TYPE_MOBILE 0x80000u
#define VCARD_TYPE_PAGER 0x800000u
#define VCARD_TYPE_VOICE 0x1000000u
#define VCARD_TYPE_VIDEO 0x8000000u
#define VCARD_TYPE_ISDN 0x20000000u

/* Versions for VCardEncodeVersion. */
#define VCARD_VERSION_21 21
#define VCARD_VERSION_30 30

typedef struct VParam {
  INT32 nKind;
  UINT32 nValue;
  struct VParam* pNext;
} VParam;

typedef struct VProp {
  INT32 nKind;
  VParam* pParam;
  INT32 nValueCount;
  INT32 nLength;       /* byte length of a binary value (the photo), else 0 */
  char** ppszValue;    /* nValueCount values, each NUL-terminated (binary: nLength bytes + NUL) */
  struct VProp* pNext;
} VProp;

typedef struct VObject {
  INT32 nKind;         /* VCARD_OBJECT_VCARD */
  VProp* pFirst;
  VProp* pLast;
  struct VObject* pNext;
  INT32 nVersion;      /* decoded: VCARD_VERSION_21 or VCARD_VERSION_30 */
} VObject;

/* Bounds of the decoder (see docs/decisions.md): a logical line (one property) longer than
 * VCARD_MAX_LINE_BYTES is dropped with a note, a card keeps at most VCARD_MAX_CARD_BYTES of
 * property text and VCARD_MAX_CARD_PROPS properties. */
#define VCARD_MAX_LINE_BYTES (6 * 1024 * 1024)
#define VCARD_MAX_CARD_BYTES (8 * 1024 * 1024)
#define VCARD_MAX_CARD_PROPS 2000

ZEL_EXTERN_C_BEGIN

/* A new empty vCard object; null when out of memory. */
VObject* VCardNewObject(void);
/* Appends a property with nValueCount empty values; null when out of memory. */
VProp* VCardAddProp(VObject* pObject, INT32 nKind);
/* Appends a parameter; FALSE when out of memory. */
BOOL VCardAddParam(VProp* pProp, INT32 nKind, UINT32 nValue);
/* Sets value nIndex (growing the value list) to a copy of nLength bytes; FALSE when out of memory. */
BOOL VCardSetValue(VProp* pProp, INT32 nIndex, const char* pValue, INT32 nLength);
/* The OR of every parameter of the kind. */
UINT32 VCardGetParam(const VProp* pProp, INT32 nKind);
BOOL VCardHasParam(const VProp* pProp, INT32 nKind);
/* Frees the object and every object chained after it. */
void VCardFreeObject(VObject* pObject);
void VCardFreeText(char* pszText);

/* The property name of a kind ("TEL"), null when the kind has none. */
const char* VCardGetPropName(INT32 nKind);

/* Writes the chain of objects as vCard 2.1 text (allocated; free with VCardFreeText). */
BOOL VCardEncode(const VObject* pObject, char** ppszText);
BOOL VCardEncodeVersion(const VObject* pObject, INT32 nVersion, char** ppszText);
/* Reads every card of the text into a chain; FALSE when there is no card or the text is bad. */
BOOL VCardDecode(const char* pszText, VObject** ppObject);
BOOL VCardDecodeN(const char* pText, size_t nLength, VObject** ppObject);

/* Streaming reader of a .vcf file: one card at a time, in bounded memory. */
typedef struct VCardStream VCardStream;

typedef struct VCardStreamCard {
  VObject* pObject;    /* the card (owned by the caller), null for a card that could not be read */
  INT32 nLine;         /* line of its BEGIN */
  char szNote[256];    /* what was dropped or why the card failed, "" when nothing */
} VCardStreamCard;

/* Opens a host file path; null when it cannot be opened. */
VCardStream* VCardStreamOpen(const char* pszHostPath);
/* 1: a card (pCard filled), 0: end of file, -1: read error. */
INT32 VCardStreamNext(VCardStream* pStream, VCardStreamCard* pCard);
/* Bytes read so far, and the file size. */
UINT64 VCardStreamGetPosition(const VCardStream* pStream);
UINT64 VCardStreamGetSize(const VCardStream* pStream);
void VCardStreamClose(VCardStream* pStream);

ZEL_EXTERN_C_END

#endif
