// ctsvc import / export / backup / restore: the counts and their JSON form, skipped cards named
// by line, export to standard output or a file in either version, and a backup restored.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

std::string ReadFile(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

size_t Count(const std::string& strText, const std::string& strPart) {
  size_t n = 0;
  for (size_t nPos = 0; (nPos = strText.find(strPart, nPos)) != std::string::npos; nPos += strPart.size()) {
    ++n;
  }
  return n;
}

TEST(CtsvcVCard, ImportCountsAndNamesTheSkippedCardByItsLine) {
  ctsvc_test::TempDir dir;
  std::ofstream(dir.File("in.vcf"), std::ios::binary)
      << "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe;Jane\r\nTEL;CELL:0101\r\nEND:VCARD\r\n"
      << "BEGIN:VCARD\r\nX-NOTHING:1\r\nEND:VCARD\r\n"
      << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kim\r\nEMAIL:k@x.org\r\nEND:VCARD\r\n";
  const std::string strData = "--data " + dir.File("data");
  const ToolRun json = RunTool(strData + " --json import " + dir.File("in.vcf"), false);
  ASSERT_EQ(0, json.nExit) << json.strOut;
  EXPECT_EQ("{\"imported\":2,\"merged\":0,\"skipped\":1,\"errors\":[\"card at line 6: skipped, no name, number or e-mail\"]}\n",
            json.strOut);
  const ToolRun text = RunTool(strData + " import " + dir.File("in.vcf"));
  EXPECT_NE(std::string::npos, text.strOut.find("imported: 2")) << text.strOut;
  EXPECT_NE(std::string::npos, text.strOut.find("card at line 6")) << text.strOut;
  const ToolRun missing = RunTool(strData + " import " + dir.File("missing.vcf"));
  EXPECT_EQ(1, missing.nExit);
  EXPECT_NE(std::string::npos, missing.strOut.find("ctsvc: cannot open")) << missing.strOut;
}

TEST(CtsvcVCard, ExportWritesEveryContactOrTheOnesNamedInEitherVersion) {
  ctsvc_test::TempDir dir;
  const std::string strData = "--data " + dir.File("data");
  ASSERT_EQ(0, RunTool(strData + " add --first Ann --last Lee --number 0101").nExit);
  ASSERT_EQ(0, RunTool(strData + " add --first Bob --email b@x.org").nExit);
  const ToolRun all = RunTool(strData + " export", false);
  ASSERT_EQ(0, all.nExit) << all.strOut;
  EXPECT_EQ(2u, Count(all.strOut, "BEGIN:VCARD\r\nVERSION:2.1\r\n"));
  EXPECT_NE(std::string::npos, all.strOut.find("\r\nN:Lee;Ann\r\n"));
  const ToolRun one = RunTool(strData + " export 1 --v30 -o " + dir.File("one.vcf"));
  ASSERT_EQ(0, one.nExit) << one.strOut;
  const std::string strOne = ReadFile(dir.File("one.vcf"));
  EXPECT_EQ(1u, Count(strOne, "BEGIN:VCARD\r\nVERSION:3.0\r\n")) << strOne;
  EXPECT_EQ(2, RunTool(strData + " export abc").nExit);
  EXPECT_EQ(1, RunTool(strData + " export 99").nExit);
}

TEST(CtsvcVCard, ABackupRestoresIntoAnotherStore) {
  ctsvc_test::TempDir dir;
  const std::string strData = "--data " + dir.File("data");
  ASSERT_EQ(0, RunTool(strData + " add --first Ann --last Lee --number 0101 --birthday 1990-05-17").nExit);
  ASSERT_EQ(0, RunTool(strData + " add --first Bob --email b@x.org").nExit);
  ASSERT_EQ(0, RunTool(strData + " backup " + dir.File("backup.vcf")).nExit);
  const std::string strBackup = ReadFile(dir.File("backup.vcf"));
  EXPECT_EQ(2u, Count(strBackup, "BEGIN:VCARD"));
  EXPECT_NE(std::string::npos, strBackup.find("BDAY:1990-05-17T00:00:00Z")) << strBackup;
  const ToolRun restored = RunTool("--data " + dir.File("other") + " --json restore " + dir.File("backup.vcf"), false);
  ASSERT_EQ(0, restored.nExit) << restored.strOut;
  EXPECT_EQ("{\"imported\":2,\"merged\":0,\"skipped\":0,\"errors\":[]}\n", restored.strOut);
  const ToolRun exported = RunTool("--data " + dir.File("other") + " export", false);
  EXPECT_NE(std::string::npos, exported.strOut.find("BDAY:19900517")) << exported.strOut;
}

}  // namespace
