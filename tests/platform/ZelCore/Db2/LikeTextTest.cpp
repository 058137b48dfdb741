// Db2ConvertStringLike: LIKE escapes, and cuts that never split an escape pair or a character.
#include <gtest/gtest.h>

#include <cstring>

#include "ZelDb2.h"

namespace {

struct LikeCase {
  const char* text;
  int nSize;
  const char* expected;
  BOOL bComplete;
};

TEST(Db2ConvertStringLike, EscapesAndCutsCleanly) {
  const LikeCase kCases[] = {
      {"plain", 601, "plain", TRUE},
      {"50%_a\\b", 601, "50\\%\\_a\\\\b", TRUE},
      {"", 1, "", TRUE},
      {"abc", 3, "ab", FALSE},
      {"a%", 3, "a", FALSE},              // the escape pair is not split
      {"a\xEA\xB0\x80", 3, "a", FALSE},  // nor a UTF-8 character
  };
  for (const LikeCase& c : kCases) {
    char szOut[601];
    std::memset(szOut, 'X', sizeof(szOut));
    EXPECT_EQ(Db2ConvertStringLike(c.text, szOut, c.nSize), c.bComplete) << c.text;
    EXPECT_STREQ(szOut, c.expected) << c.text;
  }
  char szOut[4];
  EXPECT_FALSE(Db2ConvertStringLike(nullptr, szOut, 4));
  EXPECT_FALSE(Db2ConvertStringLike("a", szOut, 0));
}

}  // namespace
