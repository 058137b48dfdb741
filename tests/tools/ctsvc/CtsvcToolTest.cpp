// Runs the ctsvc program as a user would and checks its output and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

std::string ReadFile(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CtsvcTool, InitCreatesTheStoreOnceAndKeepsIt) {
  ctsvc_test::TempDir dir;
  const ToolRun first = RunTool("--data " + dir.Path() + "/store init");
  ASSERT_EQ(0, first.nExit) << first.strOut;
  EXPECT_NE(std::string::npos, first.strOut.find("schema version: 1.1.76.0.0"));
  EXPECT_NE(std::string::npos, first.strOut.find("CtSvcGroup               1"));
  EXPECT_NE(std::string::npos, first.strOut.find("CtSvcDeleteAccount       0"));

  const ToolRun second = RunTool("--data " + dir.Path() + "/store --json init");
  ASSERT_EQ(0, second.nExit) << second.strOut;
  EXPECT_NE(std::string::npos, second.strOut.find("\"schemaVersion\":\"1.1.76.0.0\""));
  EXPECT_NE(std::string::npos, second.strOut.find("{\"name\":\"CtSvcGroup\",\"rows\":1}"));
}

TEST(CtsvcTool, DamagedStoreIsReportedAndLeftUntouched) {
  ctsvc_test::TempDir dir;
  const std::string strDb = dir.File("ctsvc.db");
  std::ofstream(strDb, std::ios::binary) << "this is not a database, but it is somebody's file\n";
  const std::string strBefore = ReadFile(strDb);
  const ToolRun run = RunTool("--data " + dir.Path() + " init");
  EXPECT_EQ(1, run.nExit);
  EXPECT_NE(std::string::npos, run.strOut.find("is not a contact store or is damaged; it was left untouched"))
      << run.strOut;
  EXPECT_EQ(strBefore, ReadFile(strDb));
}

TEST(CtsvcTool, BadDirectoryAndBadArgumentsGiveClearErrors) {
  ctsvc_test::TempDir dir;
  std::ofstream(dir.File("plainfile")) << "x";
  const ToolRun notDir = RunTool("--data " + dir.File("plainfile") + "/sub init");
  EXPECT_EQ(1, notDir.nExit);
  EXPECT_NE(std::string::npos, notDir.strOut.find("cannot create or use the data directory"));

  const ToolRun unknown = RunTool("--data " + dir.Path() + " frobnicate");
  EXPECT_EQ(2, unknown.nExit);
  EXPECT_NE(std::string::npos, unknown.strOut.find("unknown command 'frobnicate'"));
  EXPECT_EQ(2, RunTool("--bogus").nExit);
  const ToolRun help = RunTool("--help");
  EXPECT_EQ(0, help.nExit);
  EXPECT_NE(std::string::npos, help.strOut.find("demo"));
}

TEST(CtsvcTool, ContactsCanBeAddedListedLinkedAndUnlinked) {
  ctsvc_test::TempDir dir;
  const std::string strData = "--data " + dir.Path() + " --json ";
  const ToolRun ann = RunTool(strData + "add --first Ann --last Kidd --number 01012345678 --email ann@example.com");
  ASSERT_EQ(0, ann.nExit) << ann.strOut;
  EXPECT_NE(std::string::npos, ann.strOut.find("\"person\":1,\"handle\":1073741825,\"primary\":1"));
  ASSERT_EQ(0, RunTool(strData + "add --first Bob --last Lee --address 'Main St|Town||US|123'").nExit);
  ASSERT_EQ(0, RunTool(strData + "add --first 김 --last 민지").nExit);

  const ToolRun list = RunTool(strData + "list");
  ASSERT_EQ(0, list.nExit);
  // First-last order: Latin names first, the Hangul name after them.
  EXPECT_LT(list.strOut.find("Ann Kidd"), list.strOut.find("Bob Lee"));
  EXPECT_LT(list.strOut.find("Bob Lee"), list.strOut.find("김 민지"));
  EXPECT_NE(std::string::npos, list.strOut.find("\"total\":3"));

  const ToolRun link = RunTool(strData + "link 1 2");
  ASSERT_EQ(0, link.nExit) << link.strOut;
  EXPECT_NE(std::string::npos, link.strOut.find("\"links\":2"));
  EXPECT_NE(std::string::npos, link.strOut.find("Main St"));
  const ToolRun unlink = RunTool(strData + "unlink 1 1");
  ASSERT_EQ(0, unlink.nExit) << unlink.strOut;
  EXPECT_NE(std::string::npos, unlink.strOut.find("\"links\":1"));

  const ToolRun letters = RunTool(strData + "letters");
  ASSERT_EQ(0, letters.nExit);
  EXPECT_NE(std::string::npos, letters.strOut.find("{\"letter\":\"A\",\"count\":1}"));
  EXPECT_NE(std::string::npos, letters.strOut.find("{\"letter\":\"ㄱ\",\"count\":1}"));

  EXPECT_EQ(1, RunTool(strData + "favorite 1 --order 4").nExit);  // not a favourite yet
  ASSERT_EQ(0, RunTool(strData + "favorite 1").nExit);
  EXPECT_NE(std::string::npos, RunTool(strData + "favorite 1 --order 4").strOut.find("\"favorite\":true"));
  ASSERT_EQ(0, RunTool(strData + "delete 1").nExit);
  EXPECT_EQ(1, RunTool(strData + "show 1").nExit);
}

TEST(CtsvcTool, BadContactArgumentsExitWithTwo) {
  ctsvc_test::TempDir dir;
  const std::string strData = "--data " + dir.Path() + " ";
  const char* const kBad[] = {"show -4", "show x", "link 1", "unlink 0 1", "add", "add --first A --group zero",
                              "list --order up", "favorite 3 --order many", "add --first", "delete 2 --bogus 1"};
  for (const char* szArgs : kBad) {
    const ToolRun run = RunTool(strData + szArgs);
    EXPECT_EQ(2, run.nExit) << szArgs << ": " << run.strOut;
    EXPECT_EQ(0u, run.strOut.find("ctsvc: ")) << szArgs << ": " << run.strOut;
  }
}

TEST(CtsvcTool, SearchLettersAndAccountRemovalThroughTheBackgroundTask) {
  ctsvc_test::TempDir dir;
  const std::string strData = "--data " + dir.Path() + " --json ";
  ASSERT_EQ(0, RunTool(strData + "add --first Kim --last Min-ji").nExit);
  ASSERT_EQ(0, RunTool(strData + "add --first Ann --last Kidd --account 5 --number 0101234").nExit);
  ASSERT_EQ(0, RunTool(strData + "add --first Bob --last Lee").nExit);
  const ToolRun search = RunTool(strData + "search ki");
  ASSERT_EQ(0, search.nExit) << search.strOut;
  EXPECT_NE(std::string::npos, search.strOut.find("\"found\":2"));
  EXPECT_NE(std::string::npos, search.strOut.find("Kim Min-ji"));
  EXPECT_NE(std::string::npos, search.strOut.find("Ann Kidd"));
  EXPECT_NE(std::string::npos, RunTool(strData + "search ki --has-number").strOut.find("\"found\":1"));
  EXPECT_EQ(2, RunTool(strData + "search ki --group none").nExit);

  const ToolRun letters = RunTool(strData + "letters --async");
  ASSERT_EQ(0, letters.nExit) << letters.strOut;
  EXPECT_NE(std::string::npos, letters.strOut.find("[\"A\",\"B\",\"K\"]")) << letters.strOut;

  const ToolRun removal = RunTool(strData + "delete-account 5");
  ASSERT_EQ(0, removal.nExit) << removal.strOut;
  EXPECT_NE(std::string::npos, RunTool(strData + "search ki").strOut.find("\"found\":1"));
  EXPECT_EQ(2, RunTool(strData + "delete-account -5").nExit);
}

TEST(CtsvcTool, WatchPrintsWhatAnotherProcessWrites) {
  ctsvc_test::TempDir dir;
  ASSERT_EQ(0, RunTool("--data " + dir.Path() + " init").nExit);
  const std::string strCmd =
      std::string(CTSVC_TOOL_PATH) + " --data " + dir.Path() + " --json watch --count 2 --seconds 60 2>&1";
  FILE* pWatch = popen(strCmd.c_str(), "r");
  ASSERT_NE(nullptr, pWatch);
  std::array<char, 512> line{};
  ASSERT_NE(nullptr, fgets(line.data(), line.size(), pWatch));  // "watching ...": the socket is bound
  EXPECT_NE(nullptr, std::strstr(line.data(), "watching"));
  ASSERT_EQ(0, RunTool("--data " + dir.Path() + " add --first Wat --last Cher").nExit);
  std::string strOut;
  while (fgets(line.data(), line.size(), pWatch) != nullptr) {
    strOut += line.data();
  }
  EXPECT_EQ(0, WEXITSTATUS(pclose(pWatch)));
  EXPECT_NE(std::string::npos, strOut.find("{\"change\":\"insert\",\"id\":1,\"uri\":\"CtSvc/Primary\"}")) << strOut;
  EXPECT_NE(std::string::npos, strOut.find("\"uri\":\"CtSvc/Person")) << strOut;
}

TEST(CtsvcTool, DemoFillsAnEmptyStoreOnceAndShowsEveryStep) {
  ctsvc_test::TempDir dir;
  const ToolRun first = RunTool("--data " + dir.Path() + " --json demo");
  ASSERT_EQ(0, first.nExit) << first.strOut;
  EXPECT_NE(std::string::npos, first.strOut.find("\"reused\":false,\"generated\":2000"));
  for (const char* szStep : {"first screen", "index letters", "search", "linked from two accounts", "favourites",
                             "speed dial", "start the phonebook", "copy the SIM contacts", "import a vCard file", "link the imported",
                             "Bluetooth phonebook export", "AT+CPBR=1,10", "change callbacks", "CtSvcDispatch(1)"}) {
    EXPECT_NE(std::string::npos, first.strOut.find(szStep)) << szStep;
  }
  EXPECT_NE(std::string::npos, first.strOut.find("\"links\":2")) << "a merged contact is shown";
  // The whole service on the fresh store: the sample USIM copied and its seven contacts copied to
  // the phone by the bulk copy, three cards imported and two of them linked to the contacts they
  // repeat, the export written, the AT read answered, and the ten inserts (seven copies, three
  // cards) reported to the change callbacks.
  EXPECT_NE(std::string::npos, first.strOut.find("\"card\":\"usim\",\"simContacts\":7")) << first.strOut;
  EXPECT_NE(std::string::npos, first.strOut.find("\"toCopy\":7,\"copied\":7")) << first.strOut;
  EXPECT_NE(std::string::npos, first.strOut.find("\"cards\":3,\"imported\":3")) << first.strOut;
  EXPECT_NE(std::string::npos, first.strOut.find("\"written\":true")) << first.strOut;
  EXPECT_NE(std::string::npos, first.strOut.find("\"+CPBR: 10,")) << first.strOut;
  EXPECT_NE(std::string::npos, first.strOut.find("\"contacts\":{\"insert\":10,")) << first.strOut;
  const ToolRun second = RunTool("--data " + dir.Path() + " --json demo");
  ASSERT_EQ(0, second.nExit) << second.strOut;
  // The unchanged card's contacts are on the phone already: nothing is copied twice.
  EXPECT_NE(std::string::npos, second.strOut.find("\"toCopy\":0,\"copied\":0")) << second.strOut;
  EXPECT_NE(std::string::npos, second.strOut.find("\"reused\":true,\"persons\":2097"));
  // Favourites and speed-dial keys are set once, not again on every run.
  auto count = [](const std::string& strText, const std::string& strWhat) {
    int n = 0;
    for (size_t nPos = strText.find(strWhat); nPos != std::string::npos; nPos = strText.find(strWhat, nPos + 1)) {
      ++n;
    }
    return n;
  };
  EXPECT_EQ(3, count(first.strOut, "\"key\":"));
  EXPECT_EQ(3, count(second.strOut, "\"key\":"));
  EXPECT_EQ(count(first.strOut, "\"favorite\":true"), count(second.strOut, "\"favorite\":true"));
}

}  // namespace
