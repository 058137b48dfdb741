// Exported CtSvcImg… functions: each hands its call to the image manager.
#include "CtSvcImg.h"
#include "CtSvcImgMgr.h"

namespace {

template <typename R, typename F>
R WithMgr(R failure, F fn) {
  CCtSvcImgMgr* pMgr = CCtSvcImgMgr::Instance();
  return pMgr != nullptr ? fn(pMgr) : failure;
}

}  // namespace

BOOL CtSvcImgSave(const char* pszImgPath, const ImgBitmap* pBitmap) {
  return WithMgr(FALSE, [&](CCtSvcImgMgr* p) { return p->Save(pszImgPath, pBitmap); });
}

BOOL CtSvcImgSaveEx(const char* pszImgPath, const char* pszSrcPath) {
  return WithMgr(FALSE, [&](CCtSvcImgMgr* p) { return p->SaveEx(pszImgPath, pszSrcPath); });
}

BOOL CtSvcImgSaveThumbnail(const char* pszImgPath) {
  return WithMgr(FALSE, [&](CCtSvcImgMgr* p) { return p->SaveThumbnail(pszImgPath); });
}

BOOL CtSvcImgSaveThumbnailFromBitmap(const char* pszImgPath, const ImgBitmap* pBitmap) {
  return WithMgr(FALSE, [&](CCtSvcImgMgr* p) { return p->SaveThumbnailFromBitmap(pszImgPath, pBitmap); });
}

ImgBitmap* CtSvcImgLoadThumbnail(const char* pszImgPath) {
  return WithMgr<ImgBitmap*>(nullptr, [&](CCtSvcImgMgr* p) { return p->LoadThumbnail(pszImgPath); });
}

ImgBitmap* CtSvcImgLoad(const char* pszImgPath) {
  return WithMgr<ImgBitmap*>(nullptr, [&](CCtSvcImgMgr* p) { return p->Load(pszImgPath); });
}

BOOL CtSvcImgDelete(const char* pszImgPath) {
  return WithMgr(FALSE, [&](CCtSvcImgMgr* p) { return p->Delete(pszImgPath); });
}

BOOL CtSvcImgIsThumbDbPath(const char* pszImgPath) {
  return WithMgr(TRUE, [&](CCtSvcImgMgr* p) { return p->IsThumbDbPath(pszImgPath); });
}

BOOL CtSvcImgDeleteAccount(INT32 nAccountId) {
  return WithMgr(FALSE, [&](CCtSvcImgMgr* p) { return p->DeleteAccount(nAccountId); });
}

BOOL CtSvcImgMakeCallerIdPath(INT32 nAccountId, const char* pszFileName, char* pszOutputCallerIdPath,
                              INT32 nBufferLength) {
  return WithMgr(FALSE, [&](CCtSvcImgMgr* p) {
    return p->MakeCallerIdPath(nAccountId, pszFileName, pszOutputCallerIdPath, nBufferLength);
  });
}
