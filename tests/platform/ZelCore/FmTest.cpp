#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CoreTestSupport.h"
#include "ZelCoreTest.h"
#include "ZelFm.h"

namespace {

using zel::coretest::ReadHost;
using zel::coretest::TempDataDir;

std::string HostOf(const char* pszPath) {
  char sz[512];
  return FmGetHostPath(pszPath, sz, sizeof(sz)) ? std::string(sz) : std::string("<refused>");
}

TEST(Fm, PathsAreRootedInTheDataDirectoryAndEveryFunctionRefusesEscapes) {
  TempDataDir dir;
  zel::test::LogCapture log;
  const std::string root = dir.Path();
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"/User/Ct/a.vcf", root + "/User/Ct/a.vcf"},
      {"User/Ct/a.vcf", root + "/User/Ct/a.vcf"},
      {"CtSet.ini", root + "/CtSet.ini"},
      {"//Settings/KRV", root + "/Settings/KRV"},
      {root + "/User/Ct/b.vcf", root + "/User/Ct/b.vcf"},  // already a host path inside
      {"/User/Ct/a..b.vcf", root + "/User/Ct/a..b.vcf"},   // ".." only counts as a component
      {"/", root},
      {"/User/../../etc/passwd", "<refused>"},
      {"../outside", "<refused>"},
      {"/User/Ct/..", "<refused>"},
      {"", "<refused>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HostOf(c.in.c_str()), c.out) << c.in;
  }
  EXPECT_EQ(HostOf(nullptr), "<refused>");
  char small[8];
  EXPECT_FALSE(FmGetHostPath("/User/Ct/a.vcf", small, sizeof(small)));
  EXPECT_FALSE(FmGetHostPath("/User/Ct/a.vcf", nullptr, 100));
  // The escape names a file beside the data directory that nothing else would make.
  const std::string escapeName = std::filesystem::path(root).filename().string() + "-escaped";
  const std::string escape = "/User/../../" + escapeName;
  for (const char* psz : {static_cast<const char*>(nullptr), "", escape.c_str()}) {
    EXPECT_EQ(FmOpenFile(psz, FM_READ), INVALID_HOBJ);
    EXPECT_EQ(FmCreateFile(psz), INVALID_HOBJ);
    EXPECT_FALSE(FmIsFileExist(psz));
    EXPECT_FALSE(FmIsDirExist(psz));
    EXPECT_FALSE(FmCreateDir(psz));
    EXPECT_FALSE(FmDeleteFile(psz));
    EXPECT_FALSE(FmDeleteDir(psz));
    EXPECT_FALSE(FmCopyFile(psz, "/a"));
    EXPECT_FALSE(FmRenameFile("/a", psz));
    EXPECT_EQ(FmGetFileSizeByPath(psz), -1);
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(root).parent_path() / escapeName));
  EXPECT_TRUE(log.Contains("climbs out of the data directory"));
}

TEST(Fm, WriteSeekReadAppendAndSize) {
  TempDataDir dir;
  ASSERT_TRUE(FmCreateDir("/User/Ct/Tmb"));
  const HOBJ h = FmCreateFile("/User/Ct/Tmb/temp.jpeg");
  ASSERT_NE(h, INVALID_HOBJ);
  EXPECT_EQ(FmWriteFile(h, "0123456789", 10), 10);
  EXPECT_EQ(FmWriteFile(h, nullptr, 4), -1);
  EXPECT_EQ(FmGetFileSize(h), 10);
  EXPECT_TRUE(FmCloseFile(h));
  EXPECT_FALSE(FmCloseFile(h));

  const HOBJ r = FmOpenFile("User/Ct/Tmb/temp.jpeg", FM_READ);
  char buf[16] = {};
  EXPECT_EQ(FmSeekFile(r, 4, FM_SEEK_SET), 4);
  EXPECT_EQ(FmReadFile(r, buf, 3), 3);
  EXPECT_EQ(std::string(buf, 3), "456");
  EXPECT_EQ(FmSeekFile(r, -2, FM_SEEK_END), 8);
  EXPECT_EQ(FmReadFile(r, buf, sizeof(buf)), 2);  // short read at the end
  EXPECT_EQ(FmReadFile(r, buf, sizeof(buf)), 0);
  EXPECT_EQ(FmReadFile(r, nullptr, 4), -1);
  EXPECT_EQ(FmWriteFile(r, "x", 1), -1);  // opened for reading only
  EXPECT_EQ(FmSeekFile(r, 0, 7), -1);
  EXPECT_TRUE(FmCloseFile(r));

  const HOBJ a = FmOpenFile("/User/Ct/Tmb/temp.jpeg", FM_WRITE | FM_APPEND);
  EXPECT_EQ(FmWriteFile(a, "AB", 2), 2);
  EXPECT_TRUE(FmCloseFile(a));
  EXPECT_EQ(ReadHost(dir.Path() + "/User/Ct/Tmb/temp.jpeg"), "0123456789AB");
  EXPECT_EQ(FmGetFileSizeByPath("/User/Ct/Tmb/temp.jpeg"), 12);

  EXPECT_EQ(FmOpenFile("/User/Ct/missing.vcf", FM_READ), INVALID_HOBJ);
  const HOBJ c = FmOpenFile("/User/Ct/created.vcf", FM_READ | FM_WRITE | FM_CREATE);
  EXPECT_NE(c, INVALID_HOBJ);
  EXPECT_TRUE(FmCloseFile(c));
  EXPECT_TRUE(FmIsFileExist("/User/Ct/created.vcf"));
}

TEST(Fm, FilesAndDirectories) {
  TempDataDir dir;
  EXPECT_TRUE(FmCreateDir("/User/Bluetooth/_PBS"));
  EXPECT_TRUE(FmCreateDir("/User/Bluetooth/_PBS"));  // exists already
  EXPECT_TRUE(FmIsDirExist("/User/Bluetooth"));
  EXPECT_FALSE(FmIsFileExist("/User/Bluetooth"));
  const HOBJ h = FmCreateFile("/User/Bluetooth/_PBS/pb.vcf");
  FmWriteFile(h, "BEGIN:VCARD", 11);
  FmCloseFile(h);
  EXPECT_FALSE(FmCreateDir("/User/Bluetooth/_PBS/pb.vcf"));  // a file is in the way
  EXPECT_FALSE(FmIsDirExist("/User/Bluetooth/_PBS/pb.vcf"));

  EXPECT_TRUE(FmCopyFile("/User/Bluetooth/_PBS/pb.vcf", "/User/copy.vcf"));
  EXPECT_EQ(ReadHost(dir.Path() + "/User/copy.vcf"), "BEGIN:VCARD");
  EXPECT_FALSE(FmCopyFile("/User/copy.vcf", "User/copy.vcf"));  // onto itself
  EXPECT_EQ(ReadHost(dir.Path() + "/User/copy.vcf"), "BEGIN:VCARD");
  EXPECT_FALSE(FmCopyFile("/User/none.vcf", "/User/x.vcf"));
  EXPECT_FALSE(FmCopyFile("/User/Bluetooth", "/User/x.vcf"));

  EXPECT_TRUE(FmRenameFile("/User/copy.vcf", "/User/moved.vcf"));
  EXPECT_FALSE(FmIsFileExist("/User/copy.vcf"));
  EXPECT_TRUE(FmIsFileExist("/User/moved.vcf"));
  EXPECT_FALSE(FmDeleteFile("/User/Bluetooth"));  // not a file
  EXPECT_TRUE(FmDeleteFile("/User/moved.vcf"));
  EXPECT_FALSE(FmDeleteFile("/User/moved.vcf"));
  EXPECT_EQ(FmGetFileSizeByPath("/User/moved.vcf"), -1);

  EXPECT_TRUE(FmDeleteDir("/User/Bluetooth"));  // with its content
  EXPECT_FALSE(FmIsDirExist("/User/Bluetooth"));
  EXPECT_FALSE(FmDeleteDir("/User/Bluetooth"));
  EXPECT_FALSE(FmDeleteDir("/"));  // never the data directory itself
  EXPECT_TRUE(FmIsDirExist("/User"));
}

}  // namespace
