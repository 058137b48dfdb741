#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "CoreTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelNv.h"
#include "ZelReg.h"

namespace {

using zel::coretest::ReadHost;
using zel::coretest::TempDataDir;
using zel::coretest::WriteHost;

std::string GetString(const char* pszName, const char* pszSection, const char* pszKey) {
  char sz[128];
  const UINT32 nErr = RegGetString(pszName, pszSection, pszKey, sz, sizeof(sz));
  return nErr == REG_OK ? std::string(sz) : "<error " + std::to_string(nErr) + ">";
}

TEST(Reg, MissingFileIsReportedUnlessCreatedAndLoadsAreCounted) {
  TempDataDir dir;
  EXPECT_EQ(RegLoad("CtSet.ini", 0), 0x20007u);
  EXPECT_EQ(RegLoad("CtSet.ini", 0), REG_ERR_FILE_NOT_EXIST);
  EXPECT_EQ(RegGetString("CtSet.ini", "sectionOne", "item_storage", nullptr, 0), REG_ERR_PARAM);
  EXPECT_EQ(GetString("CtSet.ini", "sectionOne", "item_storage"), "<error 131080>");  // not loaded
  ASSERT_EQ(RegLoad("CtSet.ini", 1), REG_OK);
  // A bare name lives in the registry folder, created on disk at once.
  EXPECT_TRUE(std::ifstream(dir.Path() + "/Settings/Default/Registry/CtSet.ini").good());
  EXPECT_FALSE(std::ifstream(dir.Path() + "/CtSet.ini").good());
  EXPECT_EQ(GetString("CtSet.ini", "sectionOne", "item_storage"), "<error 131081>");  // no key
  ASSERT_EQ(RegLoad("/Settings/Default/Registry/CtSet.ini", 0), REG_OK);  // the same file: counted
  RegSetString("CtSet.ini", "Section0", "ownnumbername", "Lee");
  EXPECT_EQ(RegUnload("CtSet.ini"), REG_OK);
  EXPECT_EQ(GetString("CtSet.ini", "Section0", "ownnumbername"), "Lee");  // still loaded
  EXPECT_EQ(RegUnload("CtSet.ini"), REG_OK);
  EXPECT_EQ(RegUnload("CtSet.ini"), REG_ERR_NOT_LOADED);
  ASSERT_EQ(RegLoad("CtSet.ini", 0), REG_OK);
  EXPECT_EQ(GetString("CtSet.ini", "Section0", "ownnumbername"), "<error 131081>");  // never flushed
  EXPECT_EQ(RegUnload("CtSet.ini"), REG_OK);
}

TEST(Reg, ValuesRoundTripThroughTheFileInOrder) {
  TempDataDir dir;
  ASSERT_EQ(RegLoad("/Settings/KRV/CtSet.ini", 1), REG_OK);  // parents are created too
  const char* n = "/Settings/KRV/CtSet.ini";
  EXPECT_EQ(RegSetInt(n, "sectionOne", "item_storage", 2), REG_OK);
  EXPECT_EQ(RegSetString(n, "sectionOne", "ICCID", "8982300000000000001"), REG_OK);
  EXPECT_EQ(RegSetInt(n, "Section0", "CLIDigits", -7), REG_OK);
  EXPECT_EQ(RegSetString(n, "Section3", "ownnumbername", "  Kim  "), REG_OK);
  EXPECT_EQ(RegSetString(n, "Section3", "quoted", "\"x\""), REG_OK);
  EXPECT_EQ(RegSetString(n, "Section3", "empty", ""), REG_OK);
  EXPECT_EQ(RegSetInt(n, "sectionOne", "item_storage", 1), REG_OK);  // replaced in place
  ASSERT_EQ(RegFlush(n), REG_OK);
  ASSERT_EQ(RegUnload(n), REG_OK);

  const std::string text = ReadHost(dir.Path() + "/Settings/KRV/CtSet.ini");
  EXPECT_EQ(text.rfind("[sectionOne]\nitem_storage=1\nICCID=8982300000000000001\n[Section0]\nCLIDigits=-7\n"
                       "[Section3]\n",
                       0),
            0u)
      << text;

  ASSERT_EQ(RegLoad("Settings/KRV/CtSet.ini", 0), REG_OK);
  INT32 nValue = 0;
  EXPECT_EQ(RegGetInt(n, "sectionOne", "item_storage", &nValue), REG_OK);
  EXPECT_EQ(nValue, 1);
  EXPECT_EQ(RegGetInt(n, "Section0", "CLIDigits", &nValue), REG_OK);
  EXPECT_EQ(nValue, -7);
  EXPECT_EQ(GetString(n, "sectionOne", "ICCID"), "8982300000000000001");
  EXPECT_EQ(GetString(n, "Section3", "ownnumbername"), "  Kim  ");
  EXPECT_EQ(GetString(n, "Section3", "quoted"), "\"x\"");
  EXPECT_EQ(GetString(n, "Section3", "empty"), "");
  EXPECT_EQ(RegGetInt(n, "sectionOne", "ICCID", &nValue), REG_ERR_NO_KEY);  // too big for 32 bits
  EXPECT_EQ(RegGetInt(n, "sectionone", "item_storage", &nValue), REG_ERR_NO_KEY);  // names are exact
  EXPECT_EQ(RegUnload(n), REG_OK);
}

TEST(Reg, MalformedLinesAreSkipped) {
  TempDataDir dir;
  zel::test::LogCapture log;
  std::filesystem::create_directories(dir.Path() + "/Settings/Default/Registry");
  WriteHost(dir.Path() + "/Settings/Default/Registry/CtSet.ini",
            "\xEF\xBB\xBF"
            "orphan=1\n"
            "; comment\n"
            "[sectionOne]\r\n"
            "item_storage = 2\r\n"
            "garbage line\n"
            "=novalue\n"
            "[broken\n"
            "view_sort=1\n"
            "[Section0]\n"
            "a=b=c\n"
            "[sectionOne]\n"
            "view_storage=\"  padded \"\n");
  ASSERT_EQ(RegLoad("CtSet.ini", 0), REG_OK);
  INT32 n = 0;
  EXPECT_EQ(RegGetInt("CtSet.ini", "sectionOne", "item_storage", &n), REG_OK);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(GetString("CtSet.ini", "sectionOne", "view_sort"), "1");
  EXPECT_EQ(GetString("CtSet.ini", "Section0", "a"), "b=c");
  EXPECT_EQ(GetString("CtSet.ini", "sectionOne", "view_storage"), "  padded ");
  EXPECT_EQ(GetString("CtSet.ini", "sectionOne", "orphan"), "<error 131081>");
  EXPECT_EQ(log.Count("skipped"), 4);  // orphan, garbage, =novalue, [broken
  EXPECT_EQ(RegUnload("CtSet.ini"), REG_OK);
}

TEST(Reg, BufferSectionsCleanAndBadArguments) {
  TempDataDir dir;
  ASSERT_EQ(RegLoad("CtSet.ini", 1), REG_OK);
  RegSetString("CtSet.ini", "Section0", "name", "abcdef");
  char sz[6];
  std::memcpy(sz, "xxxxx", 6);
  EXPECT_EQ(RegGetString("CtSet.ini", "Section0", "name", sz, sizeof(sz)), REG_ERR_BUFFER);
  EXPECT_STREQ(sz, "xxxxx");  // nothing copied
  char szFit[7];
  EXPECT_EQ(RegGetString("CtSet.ini", "Section0", "name", szFit, sizeof(szFit)), REG_OK);
  EXPECT_STREQ(szFit, "abcdef");
  RegSetString("CtSet.ini", "Section0", "word", "text");
  INT32 n = 0;
  EXPECT_EQ(RegGetInt("CtSet.ini", "Section0", "word", &n), REG_ERR_NO_KEY);
  // Nothing that would not read back the same is written.
  EXPECT_EQ(RegSetString("CtSet.ini", "Section0", "multi", "a\nb"), REG_ERR_PARAM);
  EXPECT_EQ(RegSetString("CtSet.ini", "Section0", "k=v", "x"), REG_ERR_PARAM);
  EXPECT_EQ(RegSetString("CtSet.ini", "Sec]tion", "k", "x"), REG_ERR_PARAM);
  EXPECT_EQ(RegSetString("CtSet.ini", "Section0", "k", nullptr), REG_ERR_PARAM);
  EXPECT_EQ(RegSetString("CtSet.ini", nullptr, "k", "x"), REG_ERR_PARAM);
  EXPECT_EQ(RegSetString("CtSet.ini", "Section0", nullptr, "x"), REG_ERR_PARAM);
  EXPECT_EQ(RegGetInt("CtSet.ini", "Section0", "name", nullptr), REG_ERR_PARAM);
  EXPECT_EQ(RegLoad(nullptr, 1), REG_ERR_PARAM);
  EXPECT_EQ(RegLoad("../escape.ini", 1), REG_ERR_PARAM);
  EXPECT_EQ(RegSetInt("Other.ini", "s", "k", 1), REG_ERR_NOT_LOADED);

  EXPECT_EQ(RegRemoveSection("CtSet.ini", "Section0"), REG_OK);
  EXPECT_EQ(RegRemoveSection("CtSet.ini", "Section0"), REG_ERR_NO_KEY);
  RegSetInt("CtSet.ini", "sectionOne", "view_sort", 1);
  ASSERT_EQ(RegFlush("CtSet.ini"), REG_OK);
  EXPECT_EQ(ReadHost(dir.Path() + "/Settings/Default/Registry/CtSet.ini"), "[sectionOne]\nview_sort=1\n");
  EXPECT_EQ(RegClean("CtSet.ini"), REG_OK);  // empties memory and file at once
  EXPECT_EQ(ReadHost(dir.Path() + "/Settings/Default/Registry/CtSet.ini"), "");
  EXPECT_EQ(GetString("CtSet.ini", "sectionOne", "view_sort"), "<error 131081>");
  EXPECT_EQ(RegUnload("CtSet.ini"), REG_OK);
  EXPECT_EQ(RegClean("Missing.ini"), REG_ERR_FILE_NOT_EXIST);
}

TEST(ThreadsReg, ConcurrentWritersOnOneLoadedFile) {
  TempDataDir dir;
  ASSERT_EQ(RegLoad("CtSet.ini", 1), REG_OK);
  zel::coretest::RunOnThreads(4, [](int t) {
    const std::string section = "Section" + std::to_string(t);
    for (int i = 0; i < 100; ++i) {
      RegSetInt("CtSet.ini", section.c_str(), ("k" + std::to_string(i)).c_str(), i);
      if (i % 25 == 0) {
        RegFlush("CtSet.ini");
      }
    }
  });
  ASSERT_EQ(RegFlush("CtSet.ini"), REG_OK);
  ASSERT_EQ(RegUnload("CtSet.ini"), REG_OK);
  ASSERT_EQ(RegLoad("CtSet.ini", 0), REG_OK);
  for (int t = 0; t < 4; ++t) {
    INT32 n = -1;
    EXPECT_EQ(RegGetInt("CtSet.ini", ("Section" + std::to_string(t)).c_str(), "k99", &n), REG_OK);
    EXPECT_EQ(n, 99);
  }
  RegUnload("CtSet.ini");
}

TEST(Nv, SettingsPersistPerDataDirectory) {
  TempDataDir first;
  EXPECT_EQ(NvGetInt(0x54D), 0);
  ASSERT_TRUE(NvSetInt(0x54D, 105));
  ASSERT_TRUE(NvSetInt(0x4BD, -3));
  ASSERT_TRUE(NvSetInt(0x54D, 106));
  EXPECT_EQ(NvGetInt(0x54D), 106);
  EXPECT_EQ(NvGetInt(0x589), 0);
  const std::string firstDir = first.Path();
  {
    TempDataDir second;  // another device: its own settings
    EXPECT_EQ(NvGetInt(0x54D), 0);
    ASSERT_TRUE(NvSetInt(0x180, 1));
  }
  // Back in the first directory the values are read again from its file.
  EXPECT_EQ(ZelGetDataDir(), firstDir);
  EXPECT_EQ(NvGetInt(0x54D), 106);
  EXPECT_EQ(NvGetInt(0x4BD), -3);
  EXPECT_EQ(NvGetInt(0x180), 0);
  EXPECT_EQ(ReadHost(firstDir + "/nv.ini"), "[Nv]\n0x4BD=-3\n0x54D=106\n");
}

TEST(Nv, DamagedEntriesAreSkipped) {
  TempDataDir dir;
  zel::test::LogCapture log;
  WriteHost(dir.Path() + "/nv.ini", "[Nv]\n0x54D=abc\n1000=12\n0x180=1\nzz=4\n");
  {
    TempDataDir other;  // forces a fresh read when the first directory comes back
    NvGetInt(0);
  }
  EXPECT_EQ(NvGetInt(0x54D), 0);
  EXPECT_EQ(NvGetInt(1000), 12);  // decimal ids are read too
  EXPECT_EQ(NvGetInt(0x180), 1);
  EXPECT_EQ(log.Count("skipped"), 2);
}

}  // namespace
