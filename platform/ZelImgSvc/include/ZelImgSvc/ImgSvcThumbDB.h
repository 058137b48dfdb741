// A thumbnail store: small bitmaps keyed by the path of the image they show, kept in one
// SQLite file. One object owns one open store.
#ifndef ZEL_IMG_SVC_THUMB_DB_H
#define ZEL_IMG_SVC_THUMB_DB_H

#include "ZelImgSvc/ZelImgSvc.h"

struct sqlite3;

// Entries a store holds before it reports full.
#define IMG_THUMB_DB_DEFAULT_CAPACITY 5000

class CImgSvcThumbDB {
 public:
  CImgSvcThumbDB();
  ~CImgSvcThumbDB();
  CImgSvcThumbDB(const CImgSvcThumbDB&) = delete;
  CImgSvcThumbDB& operator=(const CImgSvcThumbDB&) = delete;

  // Opens (creating when missing) the store file and the image folder (platform paths).
  BOOL Create(const char* pszDbPath, const char* pszImageFolder);
  void Close();
  BOOL IsOpen() const { return m_pDb != nullptr; }

  BOOL IsFull();
  INT32 GetCount();
  // Stores (or replaces) the thumbnail of the path: width, height, depth and pixels.
  BOOL Put(const char* pszImgPath, INT32 nWidth, INT32 nHeight, INT32 nBitsPerPixel, const UINT8* pBits,
           UINT32 nSize);
  // The thumbnail of the path (free with ImgFreeBitmap), or null.
  ImgBitmap* Get(const char* pszImgPath);
  BOOL Has(const char* pszImgPath);
  // FALSE when the path had no thumbnail.
  BOOL Delete(const char* pszImgPath);

 private:
  sqlite3* m_pDb = nullptr;
};

#endif
