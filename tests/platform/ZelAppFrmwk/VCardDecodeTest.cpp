// Decoding vCards as phones and programs write them: line ends, folding, quoted-printable,
// base64, character sets, escapes, groups, TYPE lists, comments and the reader's bounds.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ZelAppFrmwk/ZelVCard.h"

namespace {

// Decodes a text and frees the chain at the end.
class Decoded {
 public:
  explicit Decoded(const std::string& strText) { m_bOk = VCardDecodeN(strText.data(), strText.size(), &m_pObject) != FALSE; }
  ~Decoded() { VCardFreeObject(m_pObject); }
  Decoded(const Decoded&) = delete;
  Decoded& operator=(const Decoded&) = delete;
  bool Ok() const { return m_bOk; }
  const VObject* Object() const { return m_pObject; }
  int Cards() const {
    int n = 0;
    for (const VObject* p = m_pObject; p != nullptr; p = p->pNext) {
      ++n;
    }
    return n;
  }
  // The first property of a kind in the first card.
  const VProp* Prop(int nKind, int nSkip = 0) const {
    for (const VProp* p = m_pObject != nullptr ? m_pObject->pFirst : nullptr; p != nullptr; p = p->pNext) {
      if (p->nKind == nKind && nSkip-- == 0) {
        return p;
      }
    }
    return nullptr;
  }
  std::string Value(int nKind, int nIndex = 0) const {
    const VProp* p = Prop(nKind);
    return p != nullptr && nIndex < p->nValueCount ? std::string(p->ppszValue[nIndex]) : "<none>";
  }

 private:
  VObject* m_pObject = nullptr;
  bool m_bOk = false;
};

std::string Card(const std::string& strBody, const std::string& strEnd = "\r\n") {
  return "BEGIN:VCARD" + strEnd + strBody + "END:VCARD" + strEnd;
}

struct ValueCase {
  const char* szName;
  std::string strText;
  int nKind;
  int nIndex;
  std::string strExpected;
};

TEST(VCardDecode, ValuesComeOutAsTheWriterMeantThem) {
  const std::vector<ValueCase> vcCases = {
      {"CRLF", Card("VERSION:2.1\r\nN:Doe;John\r\n"), VCARD_PROP_N, 1, "John"},
      {"CR CR LF", "BEGIN:VCARD\r\r\nVERSION:3.0\r\r\nFN:Bob\r\r\nEND:VCARD\r\r\n", VCARD_PROP_FN, 0, "Bob"},
      {"bare LF", "BEGIN:VCARD\nFN:Ann\nEND:VCARD\n", VCARD_PROP_FN, 0, "Ann"},
      {"bare CR", "BEGIN:VCARD\rFN:Cy\rEND:VCARD\r", VCARD_PROP_FN, 0, "Cy"},
      {"folded", Card("VERSION:3.0\r\nNOTE:one \r\n two\r\n\tthree\r\n"), VCARD_PROP_NOTE, 0, "one twothree"},
      {"qp soft break", Card("NOTE;ENCODING=QUOTED-PRINTABLE:a=3Db=\r\nc\r\n"), VCARD_PROP_NOTE, 0, "a=bc"},
      {"qp line that starts with #", Card("NOTE;ENCODING=QUOTED-PRINTABLE:x ->=\r\n#<- y\r\n# gone\r\n"),
       VCARD_PROP_NOTE, 0, "x ->#<- y"},
      {"qp hard line break", Card("NOTE;QUOTED-PRINTABLE:a=0D=0Ab\r\n"), VCARD_PROP_NOTE, 0, "a\nb"},
      {"qp utf-8", Card("FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Zo=C3=AB\r\n"), VCARD_PROP_FN, 0, "Zo\xC3\xAB"},
      {"shift_jis", Card("N;CHARSET=SHIFT_JIS:\x88\xc0\x93\xa1;\r\n"), VCARD_PROP_N, 0, "\xE5\xAE\x89\xE8\x97\xA4"},
      {"shift_jis with 0x5C", Card("FN;CHARSET=SHIFT_JIS:\x83\x5C\r\n"), VCARD_PROP_FN, 0, "\xE3\x82\xBD"},
      {"iso-8859-1", Card("FN;CHARSET=ISO-8859-1:Jos\xE9\r\n"), VCARD_PROP_FN, 0, "Jos\xC3\xA9"},
      {"iso-8859-2", Card("FN;CHARSET=ISO-8859-2:\xA3\xF3\xE6\r\n"), VCARD_PROP_FN, 0, "\xC5\x81\xC3\xB3\xC4\x87"},
      {"undeclared latin-1", Card("FN:Jos\xE9\r\n"), VCARD_PROP_FN, 0, "Jos\xC3\xA9"},
      {"2.1 escapes", Card("VERSION:2.1\r\nN:;A\\;B\\\\;C\\\\\\;;D\r\n"), VCARD_PROP_N, 1, "A;B\\"},
      {"2.1 escape of ; then split", Card("VERSION:2.1\r\nN:;A\\;B\\\\;C\\\\\\;;D\r\n"), VCARD_PROP_N, 2, "C\\;"},
      {"2.1 keeps \\n", Card("VERSION:2.1\r\nNOTE:a\\nb\r\n"), VCARD_PROP_NOTE, 0, "a\\nb"},
      {"3.0 escapes", Card("VERSION:3.0\r\nNOTE:a\\nb\\, c\\;d\\\\e\r\n"), VCARD_PROP_NOTE, 0, "a\nb, c;d\\e"},
      {"2.1 backslash line continuation", Card("VERSION:2.1\r\nADR;HOME:;;Street\\\r\n99\\\r\nBox 9;City\r\n"),
       VCARD_PROP_ADR, 2, "Street\n99\nBox 9"},
      {"group", Card("VERSION:3.0\r\nitem1.EMAIL;type=INTERNET:a@b.c\r\nitem1.X-ABLabel:x\r\n"), VCARD_PROP_EMAIL, 0,
       "a@b.c"},
      {"lower-case names", "begin:vCard\r\nversion:2.1\r\nfn:low\r\nend:vcard\r\n", VCARD_PROP_FN, 0, "low"},
      {"no VERSION", Card("N:Ando;Roid;\r\n"), VCARD_PROP_N, 0, "Ando"},
      {"version after a property", Card("FN:a\\,b\r\nVERSION:3.0\r\n"), VCARD_PROP_FN, 0, "a,b"},
      {"comment lines", Card("# a comment\r\nFN:kept\r\n#FN:not\r\n"), VCARD_PROP_FN, 0, "kept"},
      {"quoted ':' in a parameter", Card("TEL;TYPE=\"A,B:C.D\",PREF:1\r\n"), VCARD_PROP_TEL, 0, "1"},
  };
  for (const ValueCase& c : vcCases) {
    SCOPED_TRACE(c.szName);
    const Decoded decoded(c.strText);
    ASSERT_TRUE(decoded.Ok());
    EXPECT_EQ(c.strExpected, decoded.Value(c.nKind, c.nIndex));
  }
}

TEST(VCardDecode, TextIsHandedOnAsUtf8AndSaysSo) {
  const Decoded decoded(Card("FN;CHARSET=ISO-8859-1:Jos\xE9\r\nTEL:1\r\n"));
  ASSERT_TRUE(decoded.Ok());
  for (int nKind : {VCARD_PROP_FN, VCARD_PROP_TEL}) {
    EXPECT_EQ(VCARD_CHARSET_UTF8, VCardGetParam(decoded.Prop(nKind), VCARD_PARAM_CHARSET)) << nKind;
  }
}

struct TypeCase {
  const char* szLine;
  UINT32 nMask;
};

TEST(VCardDecode, TypeListsInEveryFormGiveTheirBits) {
  const std::vector<TypeCase> vcCases = {
      {"TEL;HOME;FAX:1", VCARD_TYPE_HOME | VCARD_TYPE_FAX},
      {"TEL;TYPE=PAGER,WORK,MSG:1", VCARD_TYPE_PAGER | VCARD_TYPE_WORK | VCARD_TYPE_MSG},
      {"TEL;type=CELL;type=VOICE;type=pref:1", VCARD_TYPE_CELL | VCARD_TYPE_VOICE},
      {"TEL;TYPE=\"HOME,FAX\":1", VCARD_TYPE_HOME | VCARD_TYPE_FAX},
      {"TEL;X-NEC-SECRET:1", 0},
      {"TEL;PREF;VOICE:1", VCARD_TYPE_VOICE},
      {"TEL;ISDN:1", VCARD_TYPE_ISDN},
      {"TEL;CAR;VIDEO;MODEM:1", VCARD_TYPE_CAR | VCARD_TYPE_VIDEO | VCARD_TYPE_MODEM},
  };
  for (const TypeCase& c : vcCases) {
    const Decoded decoded(Card(std::string(c.szLine) + "\r\n"));
    ASSERT_TRUE(decoded.Ok()) << c.szLine;
    EXPECT_EQ(c.nMask, VCardGetParam(decoded.Prop(VCARD_PROP_TEL), VCARD_PARAM_TYPE)) << c.szLine;
  }
}

TEST(VCardDecode, Base64ValuesWithAndWithoutTheBlankLine) {
  const std::string strPhoto = "PHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n AAEC\r\n AwQ=\r\n";
  for (const std::string& strText :
       {Card("VERSION:2.1\r\n" + strPhoto + "\r\nTEL:1\r\n"), Card("VERSION:2.1\r\n" + strPhoto + "TEL:1\r\n"),
        Card("VERSION:2.1\r\nPHOTO;ENCODING=BASE64:AAEC\r\nAwQ=\r\nTEL:1\r\n"),
        Card("VERSION:3.0\r\nPHOTO;ENCODING=b;TYPE=JPEG:AAECAwQ=\r\nTEL:1\r\n")}) {
    const Decoded decoded(strText);
    ASSERT_TRUE(decoded.Ok()) << strText;
    const VProp* pPhoto = decoded.Prop(VCARD_PROP_PHOTO);
    ASSERT_NE(nullptr, pPhoto) << strText;
    EXPECT_EQ(std::string("\x00\x01\x02\x03\x04", 5), std::string(pPhoto->ppszValue[0], pPhoto->nLength)) << strText;
    EXPECT_EQ(VCARD_ENCODING_BASE64, VCardGetParam(pPhoto, VCARD_PARAM_ENCODING));
    EXPECT_EQ("1", decoded.Value(VCARD_PROP_TEL)) << "the property after the photo is read";
  }
}

TEST(VCardDecode, ABrokenPhotoLeavesTheRestOfTheCard) {
  const Decoded decoded(Card("N:name\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:qgEP:ASDF==\r\n\r\nTEL:5\r\n"));
  ASSERT_TRUE(decoded.Ok());
  EXPECT_EQ(nullptr, decoded.Prop(VCARD_PROP_PHOTO));
  EXPECT_EQ("name", decoded.Value(VCARD_PROP_N));
  EXPECT_EQ("5", decoded.Value(VCARD_PROP_TEL));
}

TEST(VCardDecode, CardsAreSplitAtTheirBoundaries) {
  EXPECT_EQ(3, Decoded(Card("FN:a\r\n") + "\r\n\r\n" + Card("FN:b\r\n") + Card("FN:c\r\n")).Cards());
  // A BEGIN before the END starts the next card; a card cut off by the end of the text is kept.
  EXPECT_EQ(2, Decoded("BEGIN:VCARD\r\nFN:a\r\nBEGIN:VCARD\r\nFN:b\r\n").Cards());
  EXPECT_FALSE(Decoded("FN:no card here\r\n").Ok());
  EXPECT_FALSE(Decoded("").Ok());
  VObject* pObject = nullptr;
  EXPECT_FALSE(VCardDecode(nullptr, &pObject));
  EXPECT_FALSE(VCardDecode("BEGIN:VCARD\r\nEND:VCARD\r\n", nullptr));
}

// A file of cards on disk, removed at the end.
class TempFile {
 public:
  TempFile() {
    char szName[] = "/tmp/vcardXXXXXX";
    const int nFd = mkstemp(szName);
    if (nFd >= 0) {
      close(nFd);
    }
    m_strPath = szName;
  }
  ~TempFile() { std::remove(m_strPath.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& Path() const { return m_strPath; }

 private:
  std::string m_strPath;
};

TEST(VCardStream, ReadsCardByCardWithTheirLinesAndNotes) {
  TempFile file;
  {
    std::ofstream out(file.Path(), std::ios::binary);
    out << Card("FN:first\r\n") << "junk\r\n" << Card("FN:second\r\nPHOTO;ENCODING=BASE64:@@\r\n");
    // A property beyond the line bound is left out, the card and the next one are read.
    out << "BEGIN:VCARD\r\nFN:big\r\nNOTE:" << std::string(VCARD_MAX_LINE_BYTES + 10, 'x') << "\r\nTEL:7\r\nEND:VCARD\r\n";
    out << Card("FN:last\r\n");
  }
  VCardStream* pStream = VCardStreamOpen(file.Path().c_str());
  ASSERT_NE(nullptr, pStream);
  std::vector<std::string> vcNames, vcNotes;
  std::vector<int> vcLines;
  VCardStreamCard card{};
  while (VCardStreamNext(pStream, &card) == 1) {
    ASSERT_NE(nullptr, card.pObject);
    const VProp* pFn = card.pObject->pFirst;
    vcNames.push_back(pFn != nullptr ? pFn->ppszValue[0] : "");
    vcNotes.push_back(card.szNote);
    vcLines.push_back(card.nLine);
    if (vcNames.back() == "big") {
      EXPECT_EQ(VCARD_PROP_TEL, pFn->pNext != nullptr ? pFn->pNext->nKind : -1);
    }
    VCardFreeObject(card.pObject);
  }
  EXPECT_EQ(VCardStreamGetSize(pStream), VCardStreamGetPosition(pStream));
  VCardStreamClose(pStream);
  EXPECT_EQ((std::vector<std::string>{"first", "second", "big", "last"}), vcNames);
  EXPECT_EQ((std::vector<int>{1, 5, 9, 14}), vcLines);
  EXPECT_EQ("", vcNotes[0]);
  EXPECT_EQ("PHOTO at line 7 left out: bad base64 value", vcNotes[1]);
  EXPECT_NE(std::string::npos, vcNotes[2].find("NOTE at line 11 left out: larger than")) << vcNotes[2];
  EXPECT_EQ(nullptr, VCardStreamOpen("/nonexistent/file.vcf"));
}

}  // namespace
