#include <gtest/gtest.h>

#include <string>

#include "CtSvcSearch/CtSvcSearchQuery.h"

namespace {

struct TermCase {
  const char* szName;
  std::string strText;
  std::string strTerms;
};

TEST(CtSvcSearchQuery, EveryWordBecomesARequiredPrefixTermWithItsSpecialCharactersEscaped) {
  const TermCase kCases[] = {
      {"two words", "kim min", " 'kim*' and 'min*'"},
      {"runs of blanks", "  kim \t  min ", " 'kim*' and 'min*'"},
      {"no text", "", "'*'"},
      {"only blanks", "   ", "'*'"},
      {"apostrophe", "o'neil", " 'o\\'neil*'"},
      {"asterisk", "a*b", " 'a\\*b*'"},
      {"backslash escaped before the others", "\\*'", " '\\\\\\*\\'*'"},
      {"cut to 126 bytes", std::string(200, 'a'), " '" + std::string(126, 'a') + "*'"},
      // 124 bytes, then a 3-byte character that would end at byte 127: it is left out whole.
      {"cut before a character", std::string(124, 'a') + "\xED\x95\x9C", " '" + std::string(124, 'a') + "*'"},
      {"escapes do not count", std::string(126, '\''), " '" + [] {
         std::string s;
         for (int i = 0; i < 126; ++i) s += "\\'";
         return s;
       }() + "*'"},
  };
  for (const TermCase& c : kCases) {
    EXPECT_EQ(c.strTerms, CtSvcSearchMakeTermList(c.strText)) << c.szName;
  }
}

TEST(CtSvcSearchQuery, QueryNamesGroupIndexAndTerms) {
  EXPECT_EQ("[CtPrimaryGroup, {CtPrimaryIndex,  'kim*' and 'min*' }]",
            CtSvcSearchMakeQuery("CtPrimaryGroup", "CtPrimaryIndex", "kim min"));
  EXPECT_EQ("[CtPrimaryGroup, {CtPrimaryIndex, '*' }]", CtSvcSearchMakeQuery("CtPrimaryGroup", "CtPrimaryIndex", ""));
}

}  // namespace
