// The image manager: caller images as JPEG files and their thumbnails in one thumbnail store per
// account, opened on first use and kept in a map guarded by "CtSvcDataImgMgrAccessMutex".
#ifndef CTSVC_IMG_MGR_H
#define CTSVC_IMG_MGR_H

#include <map>
#include <memory>
#include <string>

#include "ImgSvcThumbDB.h"
#include "ZelImgSvc.h"

class CCtSvcImgMgr {
 public:
  static CCtSvcImgMgr* Instance();
  ~CCtSvcImgMgr();
  CCtSvcImgMgr(const CCtSvcImgMgr&) = delete;
  CCtSvcImgMgr& operator=(const CCtSvcImgMgr&) = delete;

  BOOL Save(const char* pszImgPath, const ImgBitmap* pBitmap);
  BOOL SaveEx(const char* pszImgPath, const char* pszSrcPath);
  BOOL SaveThumbnail(const char* pszImgPath);
  BOOL SaveThumbnailFromBitmap(const char* pszImgPath, const ImgBitmap* pBitmap);
  ImgBitmap* LoadThumbnail(const char* pszImgPath);
  ImgBitmap* Load(const char* pszImgPath);
  BOOL Delete(const char* pszImgPath);
  BOOL IsThumbDbPath(const char* pszImgPath);
  BOOL DeleteAccount(int nAccountId);
  BOOL MakeCallerIdPath(int nAccountId, const char* pszFileName, char* pszOutputCallerIdPath, int nBufferLength);

  // The account a path's thumbnail belongs to; -1 for an empty path.
  static int GetAccountIdFromCallerIdPath(const char* pszImgPath);
  // More than CTSVC_IMG_MIN_AVAILABLE_SIZE bytes free under "/User/Mass".
  static BOOL IsEnoughAvailableSize();

 private:
  struct ThumbStore {
    std::string strHostPath;  // where it was opened: a new data directory means a new store
    std::unique_ptr<CImgSvcThumbDB> pDb;
  };

  CCtSvcImgMgr();
  // The account's open store; call with m_hAccessMutex held. Null when it cannot be created.
  CImgSvcThumbDB* _GetThumbDB(int nAccountId);
  // Puts the 70 x 70, 16-bit thumbnail of the bitmap into the path's store.
  BOOL _PutThumbnail(const char* pszImgPath, const ImgBitmap* pBitmap);
  BOOL _IsThumbDbFull(const char* pszImgPath);
  BOOL _DeleteThumbnail(const char* pszImgPath);

  HOBJ m_hAccessMutex;
  std::map<int, ThumbStore> m_mapThumbDB;
};

#endif
