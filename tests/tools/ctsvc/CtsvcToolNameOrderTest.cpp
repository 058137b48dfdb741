// The name order as a user meets it through ctsvc: names listed as a reader expects, and a store
// opened under another platform language re-sorted (its indexes and letters rebuilt) on open.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

// Each text appears in the output, after the one before it.
void ExpectInOrder(const std::string& strOut, const std::vector<std::string>& vcTexts) {
  size_t nLast = 0;
  for (const std::string& text : vcTexts) {
    const size_t n = strOut.find(text);
    ASSERT_NE(n, std::string::npos) << text << " missing from:\n" << strOut;
    EXPECT_LE(nLast, n) << text << " too early in:\n" << strOut;
    nLast = n;
  }
}

TEST(CtsvcToolNameOrder, ListsFollowThePlatformLanguageAndAStoreFollowsAChangeOfIt) {
  ctsvc_test::TempDir dir;
  const std::string strData = "--data " + dir.Path() + " ";
  for (const char* pszName : {"--first Zack --last Lee", "--first bob --last Hall", "--first \xC3\x89mile --last Zola",
                              "--first \xED\x95\x98\xEC\x9D\x80 --last \xEC\x98\xA4"}) {  // 하은 오
    ASSERT_EQ(0, RunTool(strData + "add " + pszName).nExit) << pszName;
  }
  const std::vector<std::string> latinFirst{"bob Hall", "\xC3\x89mile Zola", "Zack Lee", "\xED\x95\x98\xEC\x9D\x80"};
  ExpectInOrder(RunTool(strData + "list").strOut, latinFirst);
  ExpectInOrder(RunTool(strData + "letters").strOut, {"B", "E", "Z", "\xE3\x85\x8E"});

  // Korean puts Hangul before Latin: the same store, opened under it, lists and files so.
  setenv("CTSVC_LANGUAGE", "ko", 1);
  const ToolRun list = RunTool(strData + "list");
  const ToolRun letters = RunTool(strData + "letters");
  unsetenv("CTSVC_LANGUAGE");
  ExpectInOrder(list.strOut, {"\xED\x95\x98\xEC\x9D\x80", "bob Hall", "\xC3\x89mile Zola", "Zack Lee"});
  ExpectInOrder(letters.strOut, {"\xE3\x85\x8E", "B", "E", "Z"});
  // And back.
  ExpectInOrder(RunTool(strData + "list").strOut, latinFirst);
}

}  // namespace
