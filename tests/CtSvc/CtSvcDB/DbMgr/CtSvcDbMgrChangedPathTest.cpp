// Stored paths follow a renamed file or folder: other data (caller images, ringtones) and group
// ringtones; paths that only look alike stay.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDb.h"
#include "CtSvcTestEnv.h"
#include "StoreReader.h"
#include "ZelCoreTest.h"

namespace {

struct StoredPaths {
  std::vector<int> vcEtcIds;
  std::vector<int> vcGroupIds;
};

StoredPaths StorePaths(const std::vector<std::string>& vcPaths) {
  StoredPaths ids;
  for (const std::string& strPath : vcPaths) {
    CCtSvcEtcData data;
    data.SetEtcData(strPath.c_str());
    ids.vcEtcIds.push_back(data.Insert(1));
    CCtSvcGroup group;
    group.SetName("g");
    group.SetRingtone(strPath.c_str());
    ids.vcGroupIds.push_back(group.Insert(1));
  }
  return ids;
}

class CtSvcDbChangedPathTest : public ctsvc_test::SchemaTest {
 protected:
  // Each stored path is found again, as expected, in the other data and in the group ringtones
  // (read from the store file with SQL of the test's own).
  void ExpectPaths(const StoredPaths& ids, const std::vector<std::string>& vcExpected) const {
    const ctsvc_test::StoreReader store(DbPath(), true);
    for (size_t i = 0; i < vcExpected.size(); ++i) {
      EXPECT_EQ(vcExpected[i], store.Text("SELECT ETC_DATA FROM CtSvcEtcData WHERE ID = " + std::to_string(ids.vcEtcIds[i]))) << i;
      EXPECT_EQ(vcExpected[i], store.Text("SELECT RINGTONE FROM CtSvcGroup WHERE ID = " + std::to_string(ids.vcGroupIds[i]))) << i;
    }
  }
};

// A renamed file: the comparison ignores letter case, and the new path is stored in lower case.
// A renamed folder: every path in it or below it moves, a folder that only begins alike stays.
TEST_F(CtSvcDbChangedPathTest, StoredPathsFollowTheRenamedFileOrFolder) {
  struct Step {
    const char* pszOld;
    const char* pszNew;
    std::vector<std::string> vcExpected;
  };
  const struct {
    BOOL (*pfnChanged)(const char*, const char*);
    std::vector<std::string> vcStored;
    std::vector<Step> vcSteps;
  } kCases[] = {
      {&CtSvcDbChangedFile,
       {"/user/ct/a.jpg", "/User/CT/A.JPG", "/user/ct/a.jpg.bak", "/user/o'neil/a.jpg"},
       {{"/user/ct/a.jpg", "/user/ct/b.jpg", {"/user/ct/b.jpg", "/user/ct/b.jpg", "/user/ct/a.jpg.bak", "/user/o'neil/a.jpg"}},
        {"/user/o'neil/a.jpg", "/user/o'brien/a.jpg",
         {"/user/ct/b.jpg", "/user/ct/b.jpg", "/user/ct/a.jpg.bak", "/user/o'brien/a.jpg"}}}},
      {&CtSvcDbChangedFolder,
       {"/User/Ct/x/a.jpg", "/User/Ct", "/User/Ctx/b.jpg", "/Other/Ct/c.jpg"},
       {{"/User/Ct", "/User/Mass/Ct", {"/User/Mass/Ct/x/a.jpg", "/User/Mass/Ct", "/User/Ctx/b.jpg", "/Other/Ct/c.jpg"}},
        {"/User/Mass/", "/U/", {"/U/Ct/x/a.jpg", "/U/Ct", "/User/Ctx/b.jpg", "/Other/Ct/c.jpg"}}}},
  };
  for (const auto& c : kCases) {
    const StoredPaths ids = StorePaths(c.vcStored);
    for (const Step& step : c.vcSteps) {
      SCOPED_TRACE(std::string(step.pszOld) + " -> " + step.pszNew);
      ASSERT_TRUE(c.pfnChanged(step.pszOld, step.pszNew));
      ExpectPaths(ids, step.vcExpected);
    }
  }
}

TEST_F(CtSvcDbChangedPathTest, MissingPathsAreRefused) {
  const StoredPaths ids = StorePaths({"/user/a"});
  const struct {
    const char* pszOld;
    const char* pszNew;
    const char* szAssertion;
  } kCases[] = {{nullptr, "/b", "pszOldPath != NULL"}, {"/a", nullptr, "pszNewPath != NULL"}, {"", "/b", "AcStrlen(pszOldPath) > 0"}};
  for (const auto& c : kCases) {
    zel::test::LogCapture capture;
    EXPECT_FALSE(CtSvcDbChangedFile(c.pszOld, c.pszNew)) << c.szAssertion;
    EXPECT_FALSE(CtSvcDbChangedFolder(c.pszOld, c.pszNew)) << c.szAssertion;
    EXPECT_EQ(2, capture.Count(c.szAssertion));
  }
  ExpectPaths(ids, {"/user/a"});
}

}  // namespace
