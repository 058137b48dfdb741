#include "CtSvcTestEnv.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcModule.h"
#include "StoreReader.h"
#include "ZelCollate.h"
#include "ZelWm.h"

namespace ctsvc_test {

TempDir::TempDir() {
  const char* pszTmp = std::getenv("TMPDIR");
  std::string strTemplate = std::string(pszTmp != nullptr ? pszTmp : "/tmp") + "/ctsvc-test-XXXXXX";
  char* psz = mkdtemp(strTemplate.data());
  m_strPath = psz != nullptr ? psz : "";
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!m_strPath.empty()) {
    std::filesystem::remove_all(m_strPath, ec);
  }
}

void UseNameOrder(sqlite3* pDb) {
  sqlite3_create_collation_v2(
      pDb, "user1", SQLITE_UTF16BE, nullptr,
      [](void*, int nA, const void* pA, int nB, const void* pB) { return ZelCollateCompareBE(pA, nA, pB, nB); }, nullptr);
}

void StoreTest::SetUp() {
  ASSERT_FALSE(m_dir.Path().empty());
  zel::test::ResetPlatformState();
  ASSERT_TRUE(ZelSetDataDir(m_dir.Path().c_str()));
  ASSERT_EQ(DB2_OK, Db2Open(nullptr));
}

void StoreTest::TearDown() {
  CCtSvcDbMgr::DestroyInstance();
  Db2Close();
}

int StoreTest::CountFromSecondConnection(const std::string& strTable) const {
  return StoreReader(DbPath(), true).Int("SELECT count(*) FROM " + strTable);
}

void SchemaTest::SetUp() {
  StoreTest::SetUp();
  ASSERT_TRUE(CCtSvcDbMgr::Instance()->Initialize());
}

void ServiceTest::SetUp() {
  StoreTest::SetUp();
  CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0);
  ASSERT_NE(ZEL_INVALID_HANDLE_VALUE, CtSvcGetModuleMutex());
}

void ServiceTest::TearDown() {
  DrainEventHandler();
  CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0);
  StoreTest::TearDown();
}

void ServiceTest::DrainEventHandler() {
  const HOBJ hEH = WmGetEventHandlerByName("CTSVC");
  if (hEH != INVALID_HOBJ) {
    ASSERT_EQ(1, WmWaitEventHandlerIdle(hEH, 10000));
  }
}

std::string TestDataDir() {
  const char* psz = std::getenv("CTSVC_TESTDATA");
  std::string strDir = psz != nullptr ? psz : "../shared/testdata";
  struct stat st {};
  return stat(strDir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? strDir : std::string();
}

}  // namespace ctsvc_test
