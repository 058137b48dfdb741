/* Basic types shared by every platform library and by the contact service. */
#ifndef ZEL_TYPES_H
#define ZEL_TYPES_H

#include <stddef.h>
#include <stdint.h>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef int8_t INT8;
typedef uint8_t UINT8;
typedef int16_t INT16;
typedef uint16_t UINT16;
typedef int32_t INT32;
typedef uint32_t UINT32;
typedef int64_t INT64;
typedef uint64_t UINT64;

/* P-code: the platform's 16-bit character form (UTF-16 code units). */
#ifdef __cplusplus
typedef char16_t MCHAR;
#else
typedef uint16_t MCHAR;
#endif

/* Handle of a platform object (task, mutex, timer, event handler, file, statement). */
typedef INT32 HOBJ;
#define INVALID_HOBJ ((HOBJ)-1)
/* Start value of handle globals that have not been created yet. */
#define ZEL_INVALID_HANDLE_VALUE ((HOBJ)0xFFFFFFFEu)

#ifdef __cplusplus
#define ZEL_EXTERN_C_BEGIN extern "C" {
#define ZEL_EXTERN_C_END }
#else
#define ZEL_EXTERN_C_BEGIN
#define ZEL_EXTERN_C_END
#endif

#if defined(__GNUC__)
#define ZEL_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define ZEL_PRINTF(fmt, args)
#endif

#endif
