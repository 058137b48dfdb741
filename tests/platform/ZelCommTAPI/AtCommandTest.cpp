// The AT command line over a phonebook in tables: the TS 27.007 answers, the character sets, the
// phonebook requests each command makes, and bad lines answered ERROR or +CME ERROR.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZelAtCommand.h"
#include "ZelAtTest.h"

namespace {

using zel::at::AtFeed;
using zel::at::AtSession;

const std::string kZhe = "\xD0\x96";           // Cyrillic capital ZHE, U+0416
const std::string kHan = "\xED\x95\x9C";       // Hangul HAN, U+D55C
const std::string kAnswerOk = "\r\nOK\r\n";

class AtCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_session.bEcho = false;
    m_phonebook.Add(TAPI_AT_PB_DEVICE_PHONE, "+4930123", "Anna Berg");
    m_phonebook.Add(TAPI_AT_PB_DEVICE_PHONE, "0101234", kZhe + "enya");
    m_phonebook.Add(TAPI_AT_PB_DEVICE_PHONE, "0209", kHan + " Kim");
    m_phonebook.Add(TAPI_AT_PB_DEVICE_SIM, "112", "SOS");
    m_phonebook.AddOwnNumber("+821055501234", "Mine");
  }
  std::string Answer(const std::string& strLine) { return AtFeed(m_session, m_phonebook, (strLine + "\r").data(), strLine.size() + 1); }

  AtSession m_session;
  zel::test::CAtTablePhonebook m_phonebook;
};

// Information lines followed by OK.
std::string Lines(const std::vector<std::string>& vcLines) {
  std::string strOut = "\r\n";
  for (const std::string& strLine : vcLines) {
    strOut += strLine + "\r\n";
  }
  return strOut + kAnswerOk;
}

TEST_F(AtCommandTest, CommandsAnswerAsAPhoneDoes) {
  struct Case {
    const char* pszLine;
    std::string strAnswer;
  };
  const Case kCases[] = {
      {"AT", kAnswerOk},
      {"at", kAnswerOk},
      {"AT+CGMI", Lines({"Zel"})},
      {"AT+CGMM", Lines({"ZelCtSvc"})},
      {"AT+CGMR", Lines({"1.0"})},
      {"AT+CGSN", Lines({"000000000000000"})},
      {"AT+CGMI=?", kAnswerOk},
      {"AT+CMEE?", Lines({"+CMEE: 0"})},
      {"AT+CMEE=?", Lines({"+CMEE: (0-2)"})},
      {"AT+CSCS=?", Lines({"+CSCS: (\"GSM\",\"UCS2\",\"UTF-8\",\"IRA\")"})},
      {"AT+CSCS?", Lines({"+CSCS: \"IRA\""})},
      {"AT+CFUN?", Lines({"+CFUN: 1"})},
      {"AT+CFUN=?", Lines({"+CFUN: (0,1,4),(0,1)"})},
      {"AT+CFUN=1,0", kAnswerOk},
      {"AT+CPBS=?", Lines({"+CPBS: (\"ME\",\"SM\",\"FD\",\"ON\")"})},
      {"AT+CPBS?", Lines({"+CPBS: \"ME\",3,3"})},
      {"AT+CPBR=?", Lines({"+CPBR: (1-3),40,100"})},
      {"AT+CPBR=1,2", Lines({"+CPBR: 1,\"+4930123\",145,\"Anna Berg\"", "+CPBR: 2,\"0101234\",129,\"?enya\""})},
      {"AT+CPBR=3", Lines({"+CPBR: 3,\"0209\",129,\"? Kim\""})},
      {"AT+CPBR=4", kAnswerOk},  // an empty location
      {"AT+CPBF=?", Lines({"+CPBF: 40,100"})},
      {"AT+CPBF=\"Ann\"", kAnswerOk},
      {"AT+CNUM", Lines({"+CNUM: \"Mine\",\"+821055501234\",145"})},
      {"AT+CMEE=1;+CPBS=\"SM\";+CPBS?", Lines({"+CPBS: \"SM\",1,1"})},
      {"AT+CPBR=1", Lines({"+CPBR: 1,\"112\",129,\"SOS\""})},
      {"AT+CPBS=\"on\";+CPBR=1,10", Lines({"+CPBR: 1,\"+821055501234\",145,\"Mine\""})},
      {"AT+CPBS?", Lines({"+CPBS: \"ON\",1,1"})},
      {"ATE1", kAnswerOk},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(Answer(c.pszLine), c.strAnswer) << c.pszLine;
  }
}

TEST_F(AtCommandTest, TextsFollowTheCharacterSet) {
  struct Case {
    const char* pszSet;
    std::string strName2;
    std::string strName3;
  };
  const Case kCases[] = {
      {"UTF-8", kZhe + "enya", kHan + " Kim"},
      {"UCS2", "04160065006E00790061", "D55C0020004B0069006D"},
      {"IRA", "?enya", "? Kim"},
      {"GSM", "?enya", "? Kim"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(Answer(std::string("AT+CSCS=\"") + c.pszSet + "\""), kAnswerOk) << c.pszSet;
    EXPECT_EQ(Answer("AT+CSCS?"), Lines({std::string("+CSCS: \"") + c.pszSet + "\""}));
    EXPECT_EQ(Answer("AT+CPBR=2,3"), Lines({"+CPBR: 2,\"0101234\",129,\"" + c.strName2 + "\"",
                                            "+CPBR: 3,\"0209\",129,\"" + c.strName3 + "\""}))
        << c.pszSet;
  }
  // GSM: '@' is 0x00 and '_' 0x11; quotes are escaped in every set but UCS2.
  m_phonebook.Add(TAPI_AT_PB_DEVICE_PHONE, "1", "a@b_\"c\"");
  static const char kGsmLine[] = "+CPBR: 4,\"1\",129,\"a\0b\x11\\22c\\22\"";
  EXPECT_EQ(Answer("AT+CPBR=4"), Lines({std::string(kGsmLine, sizeof(kGsmLine) - 1)}));
  // CR and LF never break the lines.
  m_phonebook.Add(TAPI_AT_PB_DEVICE_PHONE, "2\r", "x\r\ny");
  EXPECT_EQ(Answer("AT+CPBR=5"), Lines({"+CPBR: 5,\"2\\0D\",129,\"x\\0D\\0Ay\""}));
  // The search text is read in the set: UCS2 hex, then UTF-8.
  EXPECT_EQ(Answer("AT+CSCS=\"UCS2\";+CPBF=\"0416\""), kAnswerOk);
  // A set name may itself be written in UCS2.
  EXPECT_EQ(Answer("AT+CSCS=\"005500540046002D0038\";+CPBF=\"" + kHan + "\""), kAnswerOk);
  const std::vector<std::string>& vcRequests = m_phonebook.Requests();
  ASSERT_GE(vcRequests.size(), 2u);
  EXPECT_EQ(vcRequests[vcRequests.size() - 2], "find 1 " + kZhe);
  EXPECT_EQ(vcRequests.back(), "find 1 " + kHan);
}

TEST_F(AtCommandTest, BadLinesAreAnsweredWithAnErrorAndTheNextLineIsServed) {
  ASSERT_EQ(Answer("AT+CMEE=1"), kAnswerOk);
  const std::string kError = "\r\nERROR\r\n";
  auto Cme = [](int n) { return "\r\n+CME ERROR: " + std::to_string(n) + "\r\n"; };
  struct Case {
    std::string strLine;
    std::string strAnswer;
  };
  const Case kCases[] = {
      {"AT+CPBR=5,1", Cme(21)},
      {"AT+CPBR=0", Cme(21)},
      {"AT+CPBR=2001", Cme(21)},
      {"AT+CPBR=1,99999999", kError},
      {"AT+CPBR=a", kError},
      {"AT+CPBR=1,2,3", kError},
      {"AT+CPBR", kError},
      {"AT+CPBF=\"Ann", kError},
      {"AT+CPBS=\"SM", kError},
      {"AT+CPBS=\"XX\"", Cme(4)},
      {"AT+CPBF=\"A\"x", kError},
      {"AT+CSCS=\"KOI8\"", Cme(4)},
      {"AT+CSCS=\"UCS2\";+CPBF=\"041\"", kError},  // not whole UCS2 units
      {"AT+CSCS=\"IRA\";+CPBF=\"" + kZhe + "\"", kError},
      {"AT+CMEE=7", Cme(50)},
      {"AT+CPBW=1,\"0123\",129,\"New\"", Cme(4)},
      {"AT+CPBW=x", Cme(50)},
      {"AT+CPBS=\"FD\";+CPBR=?", Cme(4)},
      {"AT+CPBS=\"ME\"", kAnswerOk},
      {"ATD0123", kError},
      {"AT+COPS?", kError},
      {"AT+", kError},
      {"AT+CPBR=\\1", kError},
      {"HELLO", kError},
      {std::string("AT\x01\xFF", 4), kError},
      {std::string("AT+CPBF=\"\0\"", 11), kError},
      {"AT", kAnswerOk},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(Answer(c.strLine), c.strAnswer) << c.strLine;
  }
  ASSERT_EQ(Answer("AT+CMEE=2"), kAnswerOk);
  EXPECT_EQ(Answer("AT+CPBR=0"), "\r\n+CME ERROR: invalid index\r\n");
  ASSERT_EQ(Answer("AT+CMEE=0"), kAnswerOk);
  EXPECT_EQ(Answer("AT+CPBR=0"), kError);
  // A phonebook that does not answer.
  m_phonebook.FailWith(zel::at::kAtNoAnswer);
  ASSERT_EQ(Answer("AT+CMEE=1"), kAnswerOk);
  EXPECT_EQ(Answer("AT+CPBR=1"), Cme(100));
}

TEST_F(AtCommandTest, LinesAreFramedByCarriageReturnEchoedAndBoundedInLength) {
  m_session.bEcho = true;
  // Bytes may come in pieces; LF and empty lines are ignored.
  std::string strOut = AtFeed(m_session, m_phonebook, "A", 1);
  EXPECT_EQ(strOut, "");
  strOut = AtFeed(m_session, m_phonebook, "T\r\n\r", 4);
  EXPECT_EQ(strOut, "AT\r" + kAnswerOk + "\r");
  EXPECT_EQ(Answer("ATE0"), "ATE0\r" + kAnswerOk);
  EXPECT_EQ(Answer("AT"), kAnswerOk);
  // A line beyond the limit is refused whole; the next one is served.
  const std::string strLong = "AT+CPBF=\"" + std::string(zel::at::kMaxLineBytes, 'a') + "\"";
  EXPECT_EQ(Answer(strLong), "\r\nERROR\r\n");
  EXPECT_EQ(Answer("AT+CPBR=1"), Lines({"+CPBR: 1,\"+4930123\",145,\"Anna Berg\""}));
  EXPECT_EQ(m_session.strLine, "");
}

TEST_F(AtCommandTest, ReadsAskTheDeviceOfTheSelectedMemory) {
  Answer("AT+CPBR=1,3");
  Answer("AT+CPBS=\"SM\"");
  Answer("AT+CPBR=2,9");  // the SIM has one entry: nothing to request
  Answer("AT+CPBS=\"FD\"");
  Answer("AT+CPBF=\"x\"");
  Answer("AT+CPBW=,\"1\"");
  EXPECT_EQ(m_phonebook.Requests(),
            std::vector<std::string>({"read 1 1-3", "records 1 3", "read 0 2-9", "find 5 x", "write 5 0"}));
}

}  // namespace
