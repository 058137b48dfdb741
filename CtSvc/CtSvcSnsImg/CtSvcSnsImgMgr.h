// The social-network photo fetcher: a platform handler task that asks the photo service for
// friends' profile photos and makes each arriving photo the caller image of the person whose
// social-network data carries the friend's people id.
#ifndef CTSVC_SNS_IMG_MGR_H
#define CTSVC_SNS_IMG_MGR_H

#include <memory>
#include <string>

#include "ZelImgSvc.h"
#include "ZelSnsSvcPhoto.h"

#define CTSVC_SNS_IMG_TASK_NAME "CtSvcSnsImgMgrHandlerTask"

class CCtSvcSnsImgMgr : public CSnsSvcHandlerTask {
 public:
  static CCtSvcSnsImgMgr* Instance();
  static void DestroyInstance();
  ~CCtSvcSnsImgMgr() override;

  BOOL RequestImage(const char* pszPeopleId);

 protected:
  void OnSnsEvent(UINT32 nEvent, INT32 nParam1, INT32 nParam2) override;

 private:
  CCtSvcSnsImgMgr();
  // Stores the photo as the caller image of the people id's person; FALSE (logged) when it cannot.
  BOOL _UpdateCallerImgToPerson(const std::string& strPeopleId, const ImgBitmap* pPhoto);

  HOBJ m_hAccessMutex;
  HOBJ m_hHistoryDb;
  std::unique_ptr<CSnsSvcPhotoMgrBg> m_pPhotoMgr;
};

#endif
