// AT command lines -> the AT command line's answers, over a phonebook in tables holding Latin,
// Cyrillic and Hangul names. The first byte picks how the phonebook fails (if at all) and whether
// the bytes come in one piece; the rest is what a client sends. On every input:
//  - the line being received never grows beyond the limit;
//  - the answer is the same whether the bytes come in one piece or one by one;
//  - every LF of the answer follows a CR (no name breaks the lines), and it ends with a line end;
//  - afterwards the line still serves: "AT" is answered OK.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "ZelAtCommand.h"
#include "ZelAtTest.h"

namespace {

constexpr int kFailures[] = {TAPI_AT_PB_SUCCESS,
                             TAPI_AT_PB_ERROR_SIM_READ,
                             TAPI_AT_PB_ERROR_MEM_FULL,
                             TAPI_AT_PB_ERROR_INVALID_PHONE_INDEX,
                             TAPI_AT_PB_ERROR_EMPTY_SIM_ENTRY,
                             TAPI_AT_PB_ERROR_DEVICE,
                             zel::at::kAtNoAnswer,
                             TAPI_AT_PB_SUCCESS};

void Fill(zel::test::CAtTablePhonebook& phonebook, int nFailure) {
  phonebook.Add(TAPI_AT_PB_DEVICE_PHONE, "+4930123456", "Anna \"A\" Berg\\\r\n");
  phonebook.Add(TAPI_AT_PB_DEVICE_PHONE, "0101234567", "\xD0\x96\xD0\xB5\xD0\xBD\xD1\x8F");
  phonebook.Add(TAPI_AT_PB_DEVICE_SIM, "+821012345678", "\xEB\xAF\xBC\xEC\xA4\x80 \xF0\x9F\x98\x80");
  phonebook.AddOwnNumber("+821055501234", "Mine");
  phonebook.FailWith(nFailure);
}

bool EndsWith(const std::string& strText, const std::string& strEnd) {
  return strText.size() >= strEnd.size() && strText.compare(strText.size() - strEnd.size(), strEnd.size(), strEnd) == 0;
}

// Every LF of the answer ends a CR LF pair: no text can break the lines.
void CheckLineEnds(const std::string& strOut) {
  for (size_t i = strOut.find('\n'); i != std::string::npos; i = strOut.find('\n', i + 1)) {
    FUZZ_CHECK(i > 0 && strOut[i - 1] == '\r', "LF only after CR");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  if (nSize == 0) {
    return 0;
  }
  const int nFailure = kFailures[pData[0] & 7];
  const std::string strInput(reinterpret_cast<const char*>(pData + 1), nSize - 1);

  zel::test::CAtTablePhonebook whole;
  Fill(whole, nFailure);
  zel::at::AtSession wholeSession;
  const std::string strWhole = zel::at::AtFeed(wholeSession, whole, strInput.data(), strInput.size());
  FUZZ_CHECK(wholeSession.strLine.size() <= zel::at::kMaxLineBytes, "the line is bounded");

  if ((pData[0] & 8) != 0) {
    zel::test::CAtTablePhonebook bytewise;
    Fill(bytewise, nFailure);
    zel::at::AtSession byteSession;
    std::string strBytewise;
    for (char c : strInput) {
      strBytewise += zel::at::AtFeed(byteSession, bytewise, &c, 1);
    }
    FUZZ_CHECK(strBytewise == strWhole, "framing does not depend on how the bytes come");
  }
  CheckLineEnds(strWhole);
  FUZZ_CHECK(strWhole.empty() || EndsWith(strWhole, "\r\n") || EndsWith(strWhole, "\r"), "answers end their lines");

  whole.FailWith(TAPI_AT_PB_SUCCESS);
  const std::string strAfter = zel::at::AtFeed(wholeSession, whole, "\rAT\r", 4);
  FUZZ_CHECK(EndsWith(strAfter, "\r\nOK\r\n"), "the line keeps serving");
  return 0;
}
