// Thumbnail stores: one SQLite file per store, a table of path -> (width, height, depth, pixels).
#include <sqlite3.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>

#include "ImgInternal.h"
#include "ZelCore/ZelFm.h"
#include "ZelImgSvc/ImgSvcThumbDB.h"
#include "ZelImgSvc/ZelImgSvcTest.h"

namespace {

std::atomic<int> g_nCapacity{IMG_THUMB_DB_DEFAULT_CAPACITY};

const char kSchema[] =
    "CREATE TABLE IF NOT EXISTS thumbnails(path TEXT PRIMARY KEY, width INTEGER NOT NULL, "
    "height INTEGER NOT NULL, bits INTEGER NOT NULL, pixels BLOB NOT NULL)";

class CStatement {
 public:
  CStatement(sqlite3* pDb, const char* pszSql) {
    if (pDb == nullptr || sqlite3_prepare_v2(pDb, pszSql, -1, &m_pStmt, nullptr) != SQLITE_OK) {
      sqlite3_finalize(m_pStmt);
      m_pStmt = nullptr;
    }
  }
  ~CStatement() { sqlite3_finalize(m_pStmt); }
  CStatement(const CStatement&) = delete;
  CStatement& operator=(const CStatement&) = delete;
  sqlite3_stmt* Get() const { return m_pStmt; }
  bool BindText(int n, const char* psz) const {
    return m_pStmt != nullptr && sqlite3_bind_text(m_pStmt, n, psz, -1, SQLITE_TRANSIENT) == SQLITE_OK;
  }
  int Step() const { return m_pStmt != nullptr ? sqlite3_step(m_pStmt) : SQLITE_ERROR; }

 private:
  sqlite3_stmt* m_pStmt = nullptr;
};

}  // namespace

CImgSvcThumbDB::CImgSvcThumbDB() = default;

CImgSvcThumbDB::~CImgSvcThumbDB() { Close(); }

BOOL CImgSvcThumbDB::Create(const char* pszDbPath, const char* pszImageFolder) {
  Close();
  char szHost[1024];
  if (pszDbPath == nullptr || pszImageFolder == nullptr || !FmCreateDir(pszImageFolder) ||
      !FmGetHostPath(pszDbPath, szHost, sizeof(szHost))) {
    return FALSE;
  }
  const char* pszSlash = std::strrchr(pszDbPath, '/');
  if (pszSlash != nullptr && pszSlash != pszDbPath) {
    const std::string strFolder(pszDbPath, static_cast<size_t>(pszSlash - pszDbPath));
    if (!FmCreateDir(strFolder.c_str())) {
      return FALSE;
    }
  }
  if (sqlite3_open_v2(szHost, &m_pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr) !=
          SQLITE_OK ||
      sqlite3_busy_timeout(m_pDb, 5000) != SQLITE_OK || sqlite3_exec(m_pDb, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK) {
    Close();
    return FALSE;
  }
  return TRUE;
}

void CImgSvcThumbDB::Close() {
  if (m_pDb != nullptr) {
    sqlite3_close_v2(m_pDb);
    m_pDb = nullptr;
  }
}

INT32 CImgSvcThumbDB::GetCount() {
  const CStatement stmt(m_pDb, "SELECT count(*) FROM thumbnails");
  return stmt.Step() == SQLITE_ROW ? sqlite3_column_int(stmt.Get(), 0) : -1;
}

BOOL CImgSvcThumbDB::IsFull() {
  const INT32 nCount = GetCount();
  return nCount < 0 || nCount >= g_nCapacity.load();
}

BOOL CImgSvcThumbDB::Put(const char* pszImgPath, INT32 nWidth, INT32 nHeight, INT32 nBitsPerPixel, const UINT8* pBits,
                         UINT32 nSize) {
  if (pszImgPath == nullptr || pBits == nullptr || nWidth < 1 || nHeight < 1 ||
      static_cast<UINT64>(nWidth) * nHeight * (nBitsPerPixel / 8) != nSize) {
    return FALSE;
  }
  const CStatement stmt(m_pDb, "INSERT OR REPLACE INTO thumbnails(path, width, height, bits, pixels) VALUES(?,?,?,?,?)");
  return stmt.BindText(1, pszImgPath) && sqlite3_bind_int(stmt.Get(), 2, nWidth) == SQLITE_OK &&
         sqlite3_bind_int(stmt.Get(), 3, nHeight) == SQLITE_OK &&
         sqlite3_bind_int(stmt.Get(), 4, nBitsPerPixel) == SQLITE_OK &&
         sqlite3_bind_blob(stmt.Get(), 5, pBits, static_cast<int>(nSize), SQLITE_TRANSIENT) == SQLITE_OK &&
         stmt.Step() == SQLITE_DONE;
}

ImgBitmap* CImgSvcThumbDB::Get(const char* pszImgPath) {
  const CStatement stmt(m_pDb, "SELECT width, height, bits, pixels FROM thumbnails WHERE path = ?");
  if (!stmt.BindText(1, pszImgPath) || stmt.Step() != SQLITE_ROW) {
    return nullptr;
  }
  ImgBitmap* pBitmap = ImgCreateBitmap(sqlite3_column_int(stmt.Get(), 0), sqlite3_column_int(stmt.Get(), 1),
                                       sqlite3_column_int(stmt.Get(), 2));
  const void* pBlob = sqlite3_column_blob(stmt.Get(), 3);
  const int nBytes = sqlite3_column_bytes(stmt.Get(), 3);
  if (pBitmap == nullptr || pBlob == nullptr || nBytes != pBitmap->nStride * pBitmap->nHeight) {
    ImgFreeBitmap(pBitmap);  // a damaged entry reads as none
    return nullptr;
  }
  std::memcpy(pBitmap->pBits, pBlob, static_cast<size_t>(nBytes));
  return pBitmap;
}

BOOL CImgSvcThumbDB::Has(const char* pszImgPath) {
  const CStatement stmt(m_pDb, "SELECT 1 FROM thumbnails WHERE path = ?");
  return stmt.BindText(1, pszImgPath) && stmt.Step() == SQLITE_ROW;
}

BOOL CImgSvcThumbDB::Delete(const char* pszImgPath) {
  const CStatement stmt(m_pDb, "DELETE FROM thumbnails WHERE path = ?");
  return stmt.BindText(1, pszImgPath) && stmt.Step() == SQLITE_DONE && sqlite3_changes(m_pDb) > 0;
}

namespace zel::test {

void ImgSetThumbDbCapacity(int nEntries) {
  g_nCapacity.store(nEntries > 0 ? nEntries : IMG_THUMB_DB_DEFAULT_CAPACITY);
}

}  // namespace zel::test
