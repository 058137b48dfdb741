// The dialect translator on texts where a rewrite removes or changes a token right next to
// another: the neighbours must never run together (two literals into one, a comment opening, a
// longer number), and a literal left open at the end takes nothing more. Found by fuzz_dialect.
#include <gtest/gtest.h>

#include "Db2/Dialect.h"

namespace {

struct Case {
  const char* name;
  const char* dialect;
  const char* sqlite;
};

const Case kCases[] = {
    {"unset date next to a literal", "DELETE FROM t WHERE d <> 18991231000'2024-1-5 0:0:0'",
     "DELETE FROM t WHERE d <> '1899-12-31 00:00:00' '2024-01-05 00:00:00'"},
    {"like escape next to a literal", "SELECT * FROM t WHERE a like ?'x'", "SELECT * FROM t WHERE a like ? ESCAPE '\\' 'x'"},
    {"hint between literals", "SELECT 'a'ISCAN'b'", "SELECT 'a' 'b'"},
    {"national prefix between literals", "SELECT a FROM t WHERE x = n'a'n'b'", "SELECT a FROM t WHERE x = 'a' 'b'"},
    {"hint between minus signs", "SELECT 1 -ISCAN- 2", "SELECT 1 - - 2"},
    {"hint between slash and star", "SELECT x/ISCAN*y FROM t", "SELECT x/ *y FROM t"},
    {"order of a hinted distinct stays out of an open literal", "SELECT DISTINCT a FROM t ISCAN i WHERE b = 'x",
     "SELECT DISTINCT a FROM t  WHERE b = 'x"},
    {"untouched neighbours get no blank", "SELECT ?1a, 8\xc3\xa9, t.x FROM t", "SELECT ?1a, 8\xc3\xa9, t.x FROM t"},
};

TEST(Db2DialectAdjacency, RewrittenNeighboursNeverRunTogether) {
  for (const Case& c : kCases) {
    EXPECT_EQ(c.sqlite, zel::db2::TranslateDialect(c.dialect)) << c.name;
  }
}

}  // namespace
