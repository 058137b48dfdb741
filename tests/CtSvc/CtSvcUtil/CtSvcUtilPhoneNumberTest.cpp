#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CtSvcUtil.h"

namespace {

constexpr int kFlagUntouched = 7;  // the caller's value, left alone when nothing is decided

struct ConvertCase {
  const char* pszIn;
  bool bValid;
  const char* pszOut;  // after a valid conversion
  int nFlag;           // international flag afterwards
};

TEST(CtSvcUtilPhoneNumber, ConvertJudgesAndRemovesTheInternationalPlus) {
  const ConvertCase kCases[] = {
      // Plain numbers: '+' only as the first character.
      {"+4930123456", true, "4930123456", 1},
      {"030123456", true, "030123456", 0},
      {"0301+23456", false, nullptr, 0},
      {"++49", false, nullptr, 0},
      {"+", true, "", 1},
      {"", true, "", 0},
      // Service strings: '+' only at the number start (after the first '*'/'#' that follows a digit).
      {"*21*+4930123#", true, "*21*4930123#", 1},
      {"*21*4930123#", true, "*21*4930123#", 0},
      {"*+21*123#", false, nullptr, 0},
      {"#+21#", false, nullptr, 0},
      {"*21*+49+30#", false, nullptr, 0},
      {"**21*+123#", true, "**21*123#", 1},
      {"*21**+123#", true, "*21**123#", 1},  // the search for the start skips the second '*'
      {"*21*ab+12#", true, "*21*ab12#", 1},
      {"*#06#", true, "*#06#", kFlagUntouched},  // no number start: the flag is not decided
      {"*21", true, "*21", kFlagUntouched},
  };
  for (const ConvertCase& c : kCases) {
    char szNumber[64];
    std::strcpy(szNumber, c.pszIn);
    int nFlag = c.bValid ? kFlagUntouched : 0;
    EXPECT_EQ(CtConvert2ValidPhoneNumber(szNumber, sizeof(szNumber), &nFlag), c.bValid ? TRUE : FALSE) << c.pszIn;
    EXPECT_EQ(CtSvcCheckValidPhoneNumber(c.pszIn), c.bValid ? TRUE : FALSE) << c.pszIn;
    if (c.bValid) {
      EXPECT_STREQ(szNumber, c.pszOut) << c.pszIn;
      EXPECT_EQ(nFlag, c.nFlag) << c.pszIn;
    }
  }
}

TEST(CtSvcUtilPhoneNumber, ConvertRefusesBadArgumentsAndStaysInsideTheBuffer) {
  int nFlag = 0;
  char szNumber[8] = "+123456";  // exactly fills the buffer
  EXPECT_TRUE(CtConvert2ValidPhoneNumber(szNumber, sizeof(szNumber), &nFlag));
  EXPECT_STREQ(szNumber, "123456");
  char szUnterminated[4] = {'1', '2', '3', '4'};
  EXPECT_FALSE(CtConvert2ValidPhoneNumber(szUnterminated, sizeof(szUnterminated), &nFlag));
  EXPECT_FALSE(CtConvert2ValidPhoneNumber(nullptr, 8, &nFlag));
  EXPECT_FALSE(CtConvert2ValidPhoneNumber(szNumber, 0, &nFlag));
  EXPECT_FALSE(CtConvert2ValidPhoneNumber(szNumber, sizeof(szNumber), nullptr));
  EXPECT_FALSE(CtSvcCheckValidPhoneNumber(nullptr));
}

TEST(CtSvcUtilPhoneNumber, ServiceStringGetsThePlusBackAtItsNumberStart) {
  struct Case {
    const char* pszIn;
    bool bChanged;
    const char* pszOut;
  };
  const Case kCases[] = {
      {"*21*4930123#", true, "*21*+4930123#"},
      {"**21*123#", true, "**21*+123#"},
      {"*21*+4930123#", false, "*21*+4930123#"},  // already international
      {"4930123", false, "4930123"},               // not a service string
      {"*#06#", false, "*#06#"},                   // no number start
      {"*+21*123#", false, "*+21*123#"},           // '+' in a forbidden place
  };
  for (const Case& c : kCases) {
    char szString[41];
    std::strcpy(szString, c.pszIn);
    EXPECT_EQ(CtSimConv2InternationalSString(szString), c.bChanged ? TRUE : FALSE) << c.pszIn;
    EXPECT_STREQ(szString, c.pszOut) << c.pszIn;
  }
}

TEST(CtSvcUtilPhoneNumber, FortyByteServiceStringIsCutToFortyAndLongerOnesAreRefused) {
  const std::string strForty = "*21*" + std::string(35, '5') + "#";
  ASSERT_EQ(strForty.size(), 40u);
  char szString[41];
  std::strcpy(szString, strForty.c_str());
  ASSERT_TRUE(CtSimConv2InternationalSString(szString));
  EXPECT_EQ(std::string(szString), "*21*+" + std::string(35, '5'));  // the final '#' fell off

  char szLong[48];
  std::strcpy(szLong, (strForty + "1").c_str());
  EXPECT_FALSE(CtSimConv2InternationalSString(szLong));
  EXPECT_EQ(std::string(szLong), strForty + "1");
  EXPECT_FALSE(CtSimConv2InternationalSString(nullptr));
}

}  // namespace
