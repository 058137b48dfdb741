#include "BenchEnv.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcModule.h"
#include "Db2/FtsTokenizer.h"
#include "Db2/SqlFunctions.h"
#include "Generator.h"
#include "ZelDb2.h"
#include "ZelFm.h"

namespace ctsvc_bench {

void Die(const std::string& strWhat) {
  std::fprintf(stderr, "bench: %s\n", strWhat.c_str());
  std::exit(1);
}

TempDir::TempDir() {
  const char* pszTmp = std::getenv("TMPDIR");
  std::string strTemplate = std::string(pszTmp != nullptr ? pszTmp : "/tmp") + "/ctsvc-bench-XXXXXX";
  if (mkdtemp(strTemplate.data()) == nullptr) {
    Die("cannot make a temporary directory under " + strTemplate);
  }
  m_strPath = strTemplate;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_strPath, ec);
}

void TempDir::CopyFrom(const std::string& strSource) const {
  namespace fs = std::filesystem;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(m_strPath)) {
    fs::remove_all(entry.path(), ec);
  }
  fs::copy(strSource, m_strPath, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  if (ec) {
    Die("cannot copy " + strSource + ": " + ec.message());
  }
}

void LoadService() {
  if (Db2Open(nullptr) != DB2_OK) {
    Die(std::string("cannot open the store: ") + Db2GetLastError());
  }
  CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0);
}

void UnloadService() {
  CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0);
  CCtSvcDbMgr::DestroyInstance();
  Db2Close();
}

ServiceSession::ServiceSession(const std::string& strDataDir) {
  if (!ZelSetDataDir(strDataDir.c_str())) {
    Die("cannot use the data directory " + strDataDir);
  }
  LoadService();
}

ServiceSession::~ServiceSession() { UnloadService(); }

RawDb::RawDb(const std::string& strPath) {
  if (sqlite3_open_v2(strPath.c_str(), &m_pDb, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    Die("cannot open " + strPath);
  }
  if (!zel::db2::RegisterSqlFunctions(m_pDb) || !zel::db2::RegisterFtsTokenizers(m_pDb)) {
    Die("cannot register the functions of " + strPath);
  }
  Exec("PRAGMA journal_mode=WAL");
  Exec("PRAGMA synchronous=NORMAL");
  Exec("PRAGMA cache_size=-32768");
}

RawDb::~RawDb() { sqlite3_close_v2(m_pDb); }

void RawDb::Exec(const std::string& strSql) const {
  char* pszError = nullptr;
  if (sqlite3_exec(m_pDb, strSql.c_str(), nullptr, nullptr, &pszError) != SQLITE_OK) {
    const std::string strError = pszError != nullptr ? pszError : "?";
    sqlite3_free(pszError);
    Die(strSql + ": " + strError);
  }
}

RawStmt::RawStmt(const RawDb& db, const std::string& strSql) {
  if (sqlite3_prepare_v2(db.Get(), strSql.c_str(), -1, &m_pStmt, nullptr) != SQLITE_OK) {
    Die(strSql + ": " + sqlite3_errmsg(db.Get()));
  }
}

RawStmt::~RawStmt() { sqlite3_finalize(m_pStmt); }

int RawStmt::Drain() {
  int nRows = 0;
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(m_pStmt)) == SQLITE_ROW) {
    ++nRows;
  }
  if (rc != SQLITE_DONE) {
    Die(std::string(sqlite3_sql(m_pStmt)) + ": " + sqlite3_errmsg(sqlite3_db_handle(m_pStmt)));
  }
  sqlite3_reset(m_pStmt);
  return nRows;
}

int RawStmt::Int() {
  const int nValue = sqlite3_step(m_pStmt) == SQLITE_ROW ? sqlite3_column_int(m_pStmt, 0) : -1;
  sqlite3_reset(m_pStmt);
  return nValue;
}

const std::string& EmptyStoreDir() {
  static const std::unique_ptr<TempDir> s_pDir = [] {
    auto pDir = std::make_unique<TempDir>();
    ServiceSession session(pDir->Path());
    return pDir;
  }();
  return s_pDir->Path();
}

namespace {

// Generates the contacts into the data directory.
void BuildContactStore(const std::string& strDir, int nContacts) {
  std::fprintf(stderr, "bench: building a store of %d contacts (bulk insert) ...", nContacts);
  const auto start = std::chrono::steady_clock::now();
  ServiceSession session(strDir);
  const ctsvc_tool::GenerateResult result =
      ctsvc_tool::GenerateContacts(nContacts, kSeed, nullptr, ctsvc_tool::InsertMode::kBulk);
  if (result.nFailures != 0) {
    Die(std::to_string(result.nFailures) + " generated contacts could not be stored");
  }
  std::fprintf(stderr, " %.1f s\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

}  // namespace

// With CTSVC_BENCH_STORES=<dir> the stores are kept in <dir>/contacts-<n> and reused by later runs
// (for profiling one benchmark again and again); otherwise they live in this run's temporary
// directories.
const std::string& ContactStoreDir(int nContacts) {
  static std::map<int, std::unique_ptr<TempDir>> s_stores;
  static std::map<int, std::string> s_kept;
  if (const char* pszKeep = std::getenv("CTSVC_BENCH_STORES"); pszKeep != nullptr && *pszKeep != '\0') {
    std::string& strDir = s_kept[nContacts];
    if (strDir.empty()) {
      strDir = std::string(pszKeep) + "/contacts-" + std::to_string(nContacts);
      if (!std::filesystem::exists(strDir + "/ctsvc.db")) {
        std::filesystem::create_directories(strDir);
        std::filesystem::copy(EmptyStoreDir(), strDir, std::filesystem::copy_options::recursive);
        BuildContactStore(strDir, nContacts);
      }
    }
    return strDir;
  }
  std::unique_ptr<TempDir>& pDir = s_stores[nContacts];
  if (!pDir) {
    pDir = std::make_unique<TempDir>();
    pDir->CopyFrom(EmptyStoreDir());
    BuildContactStore(pDir->Path(), nContacts);
  }
  return pDir->Path();
}

}  // namespace ctsvc_bench
