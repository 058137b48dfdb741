// Runs the ctsvc program as a user would and checks its output and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "CtSvcTestEnv.h"

namespace {

struct ToolRun {
  int nExit;
  std::string strOut;  // stdout and stderr
};

ToolRun RunTool(const std::string& strArgs) {
  const std::string strCmd = std::string(CTSVC_TOOL_PATH) + " " + strArgs + " 2>&1";
  ToolRun run{-1, ""};
  FILE* pPipe = popen(strCmd.c_str(), "r");
  if (pPipe == nullptr) {
    return run;
  }
  std::array<char, 4096> buf{};
  size_t n = 0;
  while ((n = fread(buf.data(), 1, buf.size(), pPipe)) > 0) {
    run.strOut.append(buf.data(), n);
  }
  const int nStatus = pclose(pPipe);
  run.nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
  return run;
}

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
  {
    std::ofstream out(strDb, std::ios::binary);
    out << "this is not a database, but it is somebody's file\n";
  }
  const std::string strBefore = ReadFile(strDb);
  const ToolRun run = RunTool("--data " + dir.Path() + " init");
  EXPECT_EQ(1, run.nExit);
  EXPECT_NE(std::string::npos, run.strOut.find("is not a contact store or is damaged; it was left untouched"))
      << run.strOut;
  EXPECT_EQ(strBefore, ReadFile(strDb));
}

TEST(CtsvcTool, BadDirectoryAndBadArgumentsGiveClearErrors) {
  ctsvc_test::TempDir dir;
  {
    std::ofstream out(dir.File("plainfile"));
    out << "x";
  }
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

}  // namespace
