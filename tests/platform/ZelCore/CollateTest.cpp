// The name order: first level of the language's collation, code units on ties, "no name" last.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "ZelCollate.h"

namespace {

int Sign(int n) { return n < 0 ? -1 : (n > 0 ? 1 : 0); }

int Compare(const std::u16string& a, const std::u16string& b) {
  return Sign(ZelCollateCompare(reinterpret_cast<const MCHAR*>(a.data()), static_cast<int>(a.size()),
                                reinterpret_cast<const MCHAR*>(b.data()), static_cast<int>(b.size())));
}

std::string BigEndian(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    out += static_cast<char>(c >> 8);
    out += static_cast<char>(c & 0xFF);
  }
  return out;
}

std::string Key(const std::u16string& s) {
  std::vector<unsigned char> key(8 * s.size() + 16);
  const int n = ZelCollatePrimaryKey(reinterpret_cast<const MCHAR*>(s.data()), static_cast<int>(s.size()), key.data(),
                                     static_cast<int>(key.size()));
  EXPECT_GT(n, 0);
  EXPECT_LE(n, static_cast<int>(key.size()));
  return std::string(reinterpret_cast<const char*>(key.data()), static_cast<size_t>(n));
}

TEST(ZelCollate, NamesSortAsAReaderExpects) {
  // Each name sorts before the next one.
  const std::u16string kOrdered[] = {
      u"",          u" x",         u"!x",         u"#x",     u"\U0001F600x",  // blanks and symbols first
      u"1abc",      u"9",          u"\u00C6sir",  u"Azure",  u"Bob",  u"bob",  // ties: code units
      u"Emile",     u"emile",      u"\u00C9mile", u"\u0141ukas", u"Lz", u"\u00D8ystein", u"Oz",
      u"Zack",      u"\u03B1\u03B2", u"\u0435\u0436", u"\uAC00", u"\uAE4C", u"\uB098", u"\u9673",
      u"\uFFFF"};  // "no name" after everything, emoji and ideographs included
  const size_t n = std::size(kOrdered);
  for (size_t i = 0; i < n; ++i) {
    for (size_t j = 0; j < n; ++j) {
      EXPECT_EQ(Compare(kOrdered[i], kOrdered[j]), i < j ? -1 : (i > j ? 1 : 0)) << i << " " << j;
      const std::string a = BigEndian(kOrdered[i]);
      const std::string b = BigEndian(kOrdered[j]);
      EXPECT_EQ(Sign(ZelCollateCompareBE(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()))),
                i < j ? -1 : (i > j ? 1 : 0))
          << i << " " << j;
    }
  }
}

// The ASCII table and the collator must give one order: every pair of generated texts (ASCII
// only, with accents, with Hangul) compares as its first-level sort keys, then its code units.
TEST(ZelCollate, EveryComparisonAgreesWithTheSortKeys) {
  const std::u16string kAlphabet = u"aAbBzZ09 -_.,'#!~\t\u00E9\u00C9\u00F8\u00DF\uAC00\uD55C\u3131";
  std::mt19937 rng(20261206);
  auto make = [&](bool bAscii) {
    std::u16string s;
    const size_t nLen = rng() % 6;
    const size_t nChoices = bAscii ? 18 : kAlphabet.size();
    for (size_t i = 0; i < nLen; ++i) {
      s += kAlphabet[rng() % nChoices];
    }
    return s;
  };
  for (int i = 0; i < 20000; ++i) {
    const std::u16string a = make(i % 2 == 0);
    const std::u16string b = make(i % 3 == 0);
    const std::string ka = Key(a);
    const std::string kb = Key(b);
    // Keys end in a zero byte, so a key that begins another sorts first (char compares unsigned).
    const int nExpected = ka != kb ? Sign(ka.compare(kb)) : Sign(a.compare(b));
    ASSERT_EQ(Compare(a, b), nExpected) << i;
  }
}

TEST(ZelCollate, KeysIgnoreCaseAndAccentsAndBadArgumentsAreRefused) {
  EXPECT_EQ(Key(u"\u00C9MILE"), Key(u"emile"));
  EXPECT_EQ(Key(u"\u00DF"), Key(u"ss"));
  EXPECT_NE(Key(u"\u0439"), Key(u"\u0438"));  // Cyrillic short i is a letter of its own
  unsigned char key[4];
  EXPECT_EQ(ZelCollatePrimaryKey(nullptr, 3, key, 4), -1);
  EXPECT_EQ(ZelCollatePrimaryKey(u"a", -1, key, 4), -1);
  EXPECT_GT(ZelCollatePrimaryKey(u"abcdefgh", 8, key, 4), 4);  // too small: the size needed
  EXPECT_EQ(ZelCollateCompare(nullptr, 0, u"a", 1), -1);
  EXPECT_NE(std::string(ZelCollateIdentity()).find("user1/"), std::string::npos);
}

}  // namespace
