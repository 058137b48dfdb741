#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "ZelAc.h"
#include "ZelCoreTest.h"
#include "ZelMem.h"

namespace {

TEST(Mem, CountsOutstandingBlocksZeroFillsAndOnlyFreesItsOwnBlocks) {
  zel::test::LogCapture log;
  const size_t nBefore = MemGetOutstandingCount();
  void* a = MemAlloc(16);
  auto* b = static_cast<unsigned char*>(MemCalloc(64));
  void* empty = MemAlloc(0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(MemGetOutstandingCount(), nBefore + 3);
  for (int i = 0; i < 64; ++i) {
    ASSERT_EQ(b[i], 0) << i;
  }
  MemFree(a);
  MemFree(b);
  MemFree(empty);
  MemFree(nullptr);
  EXPECT_EQ(MemGetOutstandingCount(), nBefore);
  int onStack = 0;
  MemFree(&onStack);  // reported, not executed
  EXPECT_EQ(log.Count("is not an allocated block"), 1);
  EXPECT_EQ(MemGetOutstandingCount(), nBefore);
}

TEST(ThreadsMem, CountIsExactUnderConcurrentUse) {
  const size_t nBefore = MemGetOutstandingCount();
  zel::coretest::RunOnThreads(4, [](int) {
    std::vector<void*> blocks;
    for (int i = 0; i < 1000; ++i) {
      blocks.push_back(MemAlloc(24));
    }
    for (void* p : blocks) {
      MemFree(p);
    }
  });
  EXPECT_EQ(MemGetOutstandingCount(), nBefore);
}

TEST(Ac, ComparesAsciiCaseInsensitivelyAndReadsNullAsEmpty) {
  EXPECT_EQ(AcStricmp("CtSvc", "ctsvc"), 0);
  EXPECT_LT(AcStricmp("abc", "ABD"), 0);
  EXPECT_GT(AcStricmp("abcd", "ABC"), 0);
  EXPECT_EQ(AcStrnicmp("KorinTask", "korin", 5), 0);
  EXPECT_NE(AcStrnicmp("Korin", "korin2", 6), 0);
  EXPECT_NE(AcStricmp("\xC3\x84", "\xC3\xA4"), 0);  // non-ASCII letters are not folded
  EXPECT_EQ(AcStrlen(nullptr), 0u);
  EXPECT_EQ(AcStrcmp(nullptr, ""), 0);
  EXPECT_LT(AcStrcmp(nullptr, "a"), 0);
  EXPECT_EQ(AcStricmp(nullptr, nullptr), 0);
  EXPECT_EQ(AcWcslen(nullptr), 0u);
  EXPECT_EQ(AcWcscmp(nullptr, u""), 0);
  char buf[4] = "xyz";
  EXPECT_EQ(AcStrlcpy(buf, nullptr, sizeof(buf)), 0u);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(AcStrlcpy(nullptr, "abc", 4), 0u);
  EXPECT_EQ(AcStrlcpy(buf, "abc", 0), 0u);
}

TEST(Ac, CopiesNeverSplitAUtf8SequenceOrASurrogatePair) {
  // "a" + U+00E9 (2 bytes) + U+4E2D (3 bytes) + U+1F600 (4 bytes)
  const char* text = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";
  const struct {
    size_t nSize;
    const char* expected;
  } cases[] = {
      {1, ""},
      {3, "a"},  // room for one byte of the two-byte sequence only
      {4, "a\xC3\xA9"},
      {6, "a\xC3\xA9"},
      {10, "a\xC3\xA9\xE4\xB8\xAD"},
      {11, text},
  };
  for (const auto& c : cases) {
    char buf[32];
    std::memset(buf, '#', sizeof(buf));
    EXPECT_EQ(AcStrlcpy(buf, text, c.nSize), std::strlen(c.expected)) << "size " << c.nSize;
    EXPECT_STREQ(buf, c.expected) << "size " << c.nSize;
  }
  const MCHAR units[] = {u'a', 0xD83D, 0xDE00, u'b', 0};
  MCHAR buf[8];
  EXPECT_EQ(AcWcslcpy(buf, units, 3), 1u);  // the pair does not fit whole
  EXPECT_EQ(AcWcscmp(buf, u"a"), 0);
  EXPECT_EQ(AcWcslcpy(buf, units, 4), 3u);
  EXPECT_EQ(AcWcscmp(buf, u"a\U0001F600"), 0);
  EXPECT_EQ(AcWcslcpy(buf, units, 8), 4u);
  EXPECT_EQ(AcWcscmp(buf, units), 0);
}

TEST(Ac, CaseMappingFollowsUnicodeForBmpCharacters) {
  struct {
    MCHAR c, lower, upper;
  } cases[] = {
      {u'A', u'a', u'A'},        {u'z', u'z', u'Z'},        {u'1', u'1', u'1'},
      {0x00C4, 0x00E4, 0x00C4},  // Ä
      {0x0416, 0x0436, 0x0416},  // Ж
      {0xD83D, 0xD83D, 0xD83D},  // a lone surrogate half stays
      {0x00DF, 0x00DF, 0x00DF},  // ß has no single-character upper case
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AcTowlower(c.c), c.lower) << std::hex << c.c;
    EXPECT_EQ(AcTowupper(c.c), c.upper) << std::hex << c.c;
  }
}

}  // namespace
