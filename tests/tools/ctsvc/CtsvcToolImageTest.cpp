// ctsvc image set, show and thumb: a camera photo becomes a contact's caller image with its
// thumbnail; a file that is no image changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CtSvcTestEnv.h"
#include "CtsvcToolRun.h"
#include "ImgTestFiles.h"

namespace {

using ctsvc_tool_test::RunTool;
using ctsvc_tool_test::ToolRun;

class CtsvcToolImage : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, Run("add --first Ann --last Lee").nExit); }
  ToolRun Run(const std::string& strArgs, bool bStderr = true) {
    return RunTool("--data " + m_dir.Path() + " " + strArgs, bStderr);
  }
  std::string Write(const std::string& strName, const img_test::Bytes& v) {
    const std::string strPath = m_dir.File(strName);
    std::ofstream(strPath, std::ios::binary).write(reinterpret_cast<const char*>(v.data()), static_cast<std::streamsize>(v.size()));
    return strPath;
  }
  size_t StoredImages() {
    const std::string strFolder = m_dir.File("User/Mass/Ct/0/Images");
    if (!std::filesystem::exists(strFolder)) return 0;
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(strFolder), {}));
  }
  ctsvc_test::TempDir m_dir;
};

TEST_F(CtsvcToolImage, ACameraPhotoBecomesTheCallerImageWithItsThumbnail) {
  const std::string strPhoto = Write("photo.jpg", img_test::MakeJpeg(4000, 3000, 6));
  const ToolRun set = Run("image set 1 " + strPhoto);
  ASSERT_EQ(0, set.nExit) << set.strOut;
  EXPECT_NE(set.strOut.find("path: /User/Mass/Ct/0/Images/phone"), std::string::npos) << set.strOut;
  EXPECT_NE(set.strOut.find("size: 172x172"), std::string::npos) << set.strOut;
  const ToolRun show = Run("image show 1");
  EXPECT_EQ(0, show.nExit);
  EXPECT_NE(show.strOut.find("thumbnail: 70x70"), std::string::npos) << show.strOut;
  const std::string strOut = m_dir.File("thumb.png");
  const ToolRun thumb = Run("image thumb 1 --out " + strOut);
  ASSERT_EQ(0, thumb.nExit) << thumb.strOut;
  std::ifstream in(strOut, std::ios::binary);
  const img_test::Bytes png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(img_test::EncodedSize(png), std::make_pair(70, 70));
  // A new image replaces the old one in the store; the imported copy does not stay either.
  ASSERT_EQ(0, Run("image set 1 " + Write("p.png", img_test::MakePng(300, 200))).nExit);
  EXPECT_EQ(StoredImages(), 1u);
  EXPECT_TRUE(std::filesystem::is_empty(m_dir.File("User/Ct/Import")));
}

TEST_F(CtsvcToolImage, BadFilesAndArgumentsChangeNothing) {
  ASSERT_EQ(0, Run("image set 1 " + Write("ok.jpg", img_test::MakeJpeg(64, 64))).nExit);
  const std::string strBefore = Run("image show 1", false).strOut;
  const img_test::Bytes jpeg = img_test::MakeJpeg(640, 480);
  const struct {
    const char* pszName;
    std::string strArgs;
    int nExit;
    const char* pszMessage;
  } kCases[] = {
      {"text", "image set 1 " + Write("a.txt", {'h', 'i', '\n'}), 1, "not a JPEG or PNG image"},
      {"truncated", "image set 1 " + Write("t.jpg", img_test::Bytes(jpeg.begin(), jpeg.begin() + 900)), 1,
       "damaged or truncated"},
      {"bomb", "image set 1 " + Write("b.png", img_test::PngDeclaring(100000, 100000)), 1, "more than 24000000 pixels"},
      {"missing file", "image set 1 " + m_dir.File("none.jpg"), 1, "cannot read"},
      {"no contact", "image set 9 " + m_dir.File("ok.jpg"), 1, "no contact 9"},
      {"no verb", "image", 2, ""},
      {"no file", "image set 1", 2, "needs an image file"},
      {"unknown verb", "image paint 1", 2, "image needs set, show or thumb"},
      {"bad id", "image show x", 2, "needs a contact id"},
      {"extra word", "image show 1 2", 2, "takes one contact id"},
  };
  for (const auto& c : kCases) {
    const ToolRun run = Run(c.strArgs);
    EXPECT_EQ(run.nExit, c.nExit) << c.pszName << ": " << run.strOut;
    EXPECT_NE(run.strOut.find(c.pszMessage), std::string::npos) << c.pszName << ": " << run.strOut;
  }
  EXPECT_EQ(Run("image show 1", false).strOut, strBefore);
  EXPECT_EQ(StoredImages(), 1u);
  ASSERT_EQ(0, Run("add --first Bo").nExit);
  const ToolRun none = Run("image thumb 2");
  EXPECT_EQ(none.nExit, 1);
  EXPECT_NE(none.strOut.find("has no thumbnail"), std::string::npos);
}

}  // namespace
