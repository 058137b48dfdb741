// Encoding: the 2.1 and 3.0 forms, quoted-printable only where 2.1 needs it, folding at 75 bytes,
// base64 photos, and a decode of every encoded text giving the values back.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ZelAppFrmwk/ZelVCard.h"

namespace {

struct Text {
  explicit Text(const VObject* pObject, int nVersion = VCARD_VERSION_21) {
    bOk = VCardEncodeVersion(pObject, nVersion, &pszText) != FALSE;
  }
  ~Text() { VCardFreeText(pszText); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  std::string Str() const { return pszText != nullptr ? pszText : ""; }
  char* pszText = nullptr;
  bool bOk = false;
};

struct Object {
  Object() : p(VCardNewObject()) {}
  ~Object() { VCardFreeObject(p); }
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  VProp* Add(int nKind, const std::vector<std::string>& vcValues, UINT32 nType = 0) {
    VProp* pProp = VCardAddProp(p, nKind);
    for (size_t i = 0; i < vcValues.size(); ++i) {
      VCardSetValue(pProp, static_cast<INT32>(i), vcValues[i].data(), static_cast<INT32>(vcValues[i].size()));
    }
    if (nType != 0) {
      VCardAddParam(pProp, VCARD_PARAM_TYPE, nType);
    }
    return pProp;
  }
  VObject* p;
};

std::vector<std::string> Lines(const std::string& strText) {
  std::vector<std::string> vcLines;
  size_t nStart = 0;
  for (size_t nEnd; (nEnd = strText.find("\r\n", nStart)) != std::string::npos; nStart = nEnd + 2) {
    vcLines.push_back(strText.substr(nStart, nEnd - nStart));
  }
  EXPECT_EQ(nStart, strText.size()) << "every line ends in CRLF";
  return vcLines;
}

TEST(VCardEncode, PlainTextIsWrittenAsItIs) {
  Object object;
  object.Add(VCARD_PROP_N, {"Doe", "John"});
  object.Add(VCARD_PROP_TEL, {"+1 555"}, VCARD_TYPE_HOME | VCARD_TYPE_FAX);
  object.Add(VCARD_PROP_EMAIL, {"j@d.org"}, VCARD_TYPE_INTERNET | VCARD_TYPE_WORK);
  const Text v21(object.p);
  ASSERT_TRUE(v21.bOk);
  EXPECT_EQ("BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe;John\r\nTEL;FAX;HOME:+1 555\r\nEMAIL;WORK;INTERNET:j@d.org\r\nEND:VCARD\r\n",
            v21.Str());
  const Text v30(object.p, VCARD_VERSION_30);
  EXPECT_EQ("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;John\r\nTEL;TYPE=FAX,HOME:+1 555\r\n"
            "EMAIL;TYPE=WORK,INTERNET:j@d.org\r\nEND:VCARD\r\n",
            v30.Str());
}

TEST(VCardEncode, QuotedPrintableOnlyWhere21NeedsIt) {
  Object object;
  object.Add(VCARD_PROP_FN, {"Zo\xC3\xAB"});
  object.Add(VCARD_PROP_NOTE, {"a\nb=c"});
  object.Add(VCARD_PROP_TITLE, {"a;b,c"});
  const Text v21(object.p);
  EXPECT_EQ((std::vector<std::string>{"BEGIN:VCARD", "VERSION:2.1", "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Zo=C3=AB",
                                      "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:a=0D=0Ab=3Dc", "TITLE:a\\;b,c",
                                      "END:VCARD"}),
            Lines(v21.Str()));
  const Text v30(object.p, VCARD_VERSION_30);
  EXPECT_EQ((std::vector<std::string>{"BEGIN:VCARD", "VERSION:3.0", "FN:Zo\xC3\xAB", "NOTE:a\\nb=c", "TITLE:a\\;b\\,c",
                                      "END:VCARD"}),
            Lines(v30.Str()));
}

TEST(VCardEncode, LongLinesAreFoldedAt75BytesAndReadBack) {
  const std::string strAscii(300, 'x');
  std::string strWide;
  for (int i = 0; i < 60; ++i) {
    strWide += "\xE5\xAE\x89";  // three bytes a character: folds must fall between characters
  }
  std::string strBytes;
  for (int i = 0; i < 1000; ++i) {
    strBytes += static_cast<char>(i * 7);
  }
  for (int nVersion : {VCARD_VERSION_21, VCARD_VERSION_30}) {
    Object object;
    object.Add(VCARD_PROP_NOTE, {strAscii});
    object.Add(VCARD_PROP_FN, {strWide});
    VProp* pPhoto = VCardAddProp(object.p, VCARD_PROP_PHOTO);
    VCardSetValue(pPhoto, 0, strBytes.data(), static_cast<INT32>(strBytes.size()));
    pPhoto->nLength = static_cast<INT32>(strBytes.size());
    VCardAddParam(pPhoto, VCARD_PARAM_ENCODING, VCARD_ENCODING_BASE64);
    VCardAddParam(pPhoto, VCARD_PARAM_TYPE, VCARD_TYPE_JPEG);
    const Text text(object.p, nVersion);
    ASSERT_TRUE(text.bOk);
    for (const std::string& strLine : Lines(text.Str())) {
      EXPECT_LE(strLine.size(), 75u) << nVersion << ": " << strLine;
    }
    VObject* pDecoded = nullptr;
    ASSERT_TRUE(VCardDecode(text.pszText, &pDecoded)) << text.Str();
    const VProp* pNote = pDecoded->pFirst;
    ASSERT_NE(nullptr, pNote);
    EXPECT_EQ(strAscii, pNote->ppszValue[0]) << nVersion;
    ASSERT_NE(nullptr, pNote->pNext);
    EXPECT_EQ(strWide, pNote->pNext->ppszValue[0]) << nVersion;
    const VProp* pRead = pNote->pNext->pNext;
    ASSERT_NE(nullptr, pRead);
    EXPECT_EQ(strBytes, std::string(pRead->ppszValue[0], pRead->nLength)) << nVersion;
    VCardFreeObject(pDecoded);
  }
}

TEST(VCardEncode, ChainedObjectsAndBadArguments) {
  Object first, second;
  first.Add(VCARD_PROP_FN, {"a"});
  second.Add(VCARD_PROP_FN, {"b"});
  first.p->pNext = second.p;
  const Text text(first.p);
  first.p->pNext = nullptr;
  EXPECT_EQ(2u, [&] {
    size_t n = 0;
    for (size_t nPos = 0; (nPos = text.Str().find("BEGIN:VCARD", nPos)) != std::string::npos; ++nPos) {
      ++n;
    }
    return n;
  }());
  char* pszText = nullptr;
  EXPECT_FALSE(VCardEncode(nullptr, &pszText));
  EXPECT_FALSE(VCardEncodeVersion(first.p, 40, &pszText));
  EXPECT_EQ(nullptr, pszText);
}

TEST(VCardNames, EveryTypeBitHasOneNameThatReadsBack) {
  for (UINT32 nBit = 1; nBit != 0; nBit <<= 1) {
    Object object;
    object.Add(VCARD_PROP_TEL, {"1"}, nBit);
    const Text text(object.p);
    VObject* pDecoded = nullptr;
    ASSERT_TRUE(VCardDecode(text.pszText, &pDecoded));
    const UINT32 nRead = VCardGetParam(pDecoded->pFirst, VCARD_PARAM_TYPE);
    // A bit without a name is not written; a bit with one reads back as itself.
    EXPECT_TRUE(nRead == nBit || (nRead == 0 && text.Str().find("TEL:1") != std::string::npos)) << std::hex << nBit;
    VCardFreeObject(pDecoded);
  }
  EXPECT_STREQ("TEL", VCardGetPropName(VCARD_PROP_TEL));
  EXPECT_STREQ("X-SKYPE-USERNAME", VCardGetPropName(VCARD_PROP_X_SKYPE));
  EXPECT_EQ(nullptr, VCardGetPropName(0x3E));
}

}  // namespace
