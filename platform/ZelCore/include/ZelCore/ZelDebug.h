/* Debug print with class words, and the assertion report. */
#ifndef ZEL_DEBUG_H
#define ZEL_DEBUG_H

#include "ZelTypes.h"

/* Class words of the debug print. */
#define DBG_CLASS_FAIL 0xBAu        /* failures */
#define DBG_CLASS_TRACE 0x61u       /* ordinary traces */
#define DBG_CLASS_CTOR 0xBCu        /* constructor start and end traces */
#define DBG_CLASS_BULK 0x10061u     /* bulk-operation progress */
#define DBG_CLASS_MIXED 0x20061u    /* a mixed set of traces */
#define DBG_CLASS_STMT 0x200061u    /* statement-building steps of content handlers */
#define DBG_CLASS_ORDER 0x400061u   /* order changes */

/* Kinds of assertion report. */
#define ASSERT_KIND_REQUIRE 1
#define ASSERT_KIND_NEVER_GET_HERE 2

ZEL_EXTERN_C_BEGIN

/* Formats the text and hands the line, with its class word, to the log sink.
 * By default lines are kept only in memory; the environment variable CTSVC_LOG
 * set to "stderr" or to a file path also writes them there. */
void DbgPrint(UINT32 nClass, const char* pszFormat, ...) ZEL_PRINTF(2, 3);

/* Records and logs an assertion report; never aborts. pszFile may be __FILE__:
 * it is reported relative to the source root and without its extension
 * ("CtSvc/CtSvcDB/DbMgr/CtSvcDbMgr"). */
void AssertReport(int nKind, const char* pszLabel, const char* pszExpr, const char* pszFile, int nLine);

ZEL_EXTERN_C_END

/* ZEL_REQUIRE(expr): evaluates to the truth of expr and reports "ASSERTION_REQUIRE" when false.
 * Use as:  if (!ZEL_REQUIRE(p != NULL)) return 0; */
#define ZEL_REQUIRE(expr) \
  ((expr) ? 1 : (AssertReport(ASSERT_KIND_REQUIRE, "ASSERTION_REQUIRE", #expr, __FILE__, __LINE__), 0))

/* ZEL_REQUIRE_RET(expr, ret): reports and returns ret from the calling function when expr is false. */
#define ZEL_REQUIRE_RET(expr, ret) \
  do {                             \
    if (!ZEL_REQUIRE(expr)) {      \
      return ret;                  \
    }                              \
  } while (0)

/* ZEL_REQUIRE_TEXT(expr, text): like ZEL_REQUIRE but reports the given text instead of #expr,
 * for reports whose wording differs from the code that checks it. */
#define ZEL_REQUIRE_TEXT(expr, text) \
  ((expr) ? 1 : (AssertReport(ASSERT_KIND_REQUIRE, "ASSERTION_REQUIRE", text, __FILE__, __LINE__), 0))

/* ZEL_NEVER_GET_HERE(text): reports "ASSERTION_NEVER_GET_HERE". */
#define ZEL_NEVER_GET_HERE(text) \
  AssertReport(ASSERT_KIND_NEVER_GET_HERE, "ASSERTION_NEVER_GET_HERE", text, __FILE__, __LINE__)

#endif
