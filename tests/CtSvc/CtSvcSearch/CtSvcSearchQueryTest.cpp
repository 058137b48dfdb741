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

TEST(CtSvcSearchQuery, RowIdQueryJoinsItsConditionsAndCountsThem) {
  struct RidCase {
    int nType;
    CtSvcExtendedSearchRequest request;
    const char* szQuery;
    int nConditions;
  };
  const RidCase kCases[] = {
      {0, {"", 0, 0, -1, 0, 0, -1}, "select rid from ctsvcprimary where", 0},
      // The favourite condition already names the phone: the device type is not added again.
      {0, {"", 2, 3, -1, 2, 1, -1},
       "select rid from ctsvcprimary where favorite = 2 and device_type = 1 and first_account_id < 0 and "
       "(HAS_PH = 1 OR HAS_EMAIL = 1)",
       3},
      {0, {"", 2, 0, 5, 2, 0, -1},
       "select ctsvcprimary.rid from ctsvcprimary, ctsvcgroupmember where ctsvcprimary.id = "
       "ctsvcgroupmember.primary_id and ctsvcgroupmember.group_id=5 and ctsvcprimary.favorite = 2 and "
       "ctsvcprimary.device_type = 1 and ctsvcprimary.device_type = 2",
       3},
      {1, {"", 1, 2, -1, 0, 0, 7}, "select rid from ctsvcperson where account_id = 7 and device_type = 1 and HAS_EMAIL = 1",
       3},
  };
  for (const RidCase& c : kCases) {
    int nConditions = -1;
    EXPECT_EQ(c.szQuery, CtSvcSearchMakeRidQuery(c.nType, c.request, &nConditions));
    EXPECT_EQ(c.nConditions, nConditions) << c.szQuery;
  }
}

}  // namespace
