// Social-network photo service: handler tasks that receive its notifications, and the
// background photo manager that fetches friends' profile photos at a fixed size.
//
// A request is answered later: the manager posts SNS_SVC_EM_NOTIFY_GET_PHOTO to its task with
// the request id in nParam1, and the task takes the result (people id and photo, or no photo)
// with TakePhoto. Photos come from what the service holds for a people id (tests provide them
// through ZelSnsSvcTest.h).
#ifndef ZEL_SNS_SVC_PHOTO_H
#define ZEL_SNS_SVC_PHOTO_H

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ZelCore/ZelTypes.h"
#include "ZelImgSvc/ZelImgSvc.h"

#define SNS_SVC_EM_NOTIFY_GET_PHOTO 0x5301u

// A named platform handler task: its events are handled one at a time on its own thread
// (an event handler of the task's name in a group of that name, so WmWaitEventHandlerIdle
// waits for it).
class CSnsSvcHandlerTask {
 public:
  CSnsSvcHandlerTask();
  virtual ~CSnsSvcHandlerTask();
  CSnsSvcHandlerTask(const CSnsSvcHandlerTask&) = delete;
  CSnsSvcHandlerTask& operator=(const CSnsSvcHandlerTask&) = delete;

  // Starts the task; FALSE when it runs already or the name is taken.
  BOOL CreateTask(const char* pszName);
  // Stops the task: queued events are dropped; waits for an event being handled (unless called
  // from the task itself). Derived classes call it in their destructor.
  void DestroyTask();
  HOBJ GetHandler() const { return m_hHandler; }
  BOOL PostEvent(UINT32 nEvent, INT32 nParam1, INT32 nParam2);

 protected:
  virtual void OnSnsEvent(UINT32 nEvent, INT32 nParam1, INT32 nParam2) = 0;

 private:
  static int _Dispatch(struct WmEHState* pState, struct WmEvent* pEvent);
  HOBJ m_hGroup;
  HOBJ m_hHandler;
};

class CSnsSvcPhotoMgrBg {
 public:
  // A manager delivering photos of nWidth x nHeight to the task (bForeground: on the caller's
  // thread instead; this stand-in always answers through the task). Null for bad arguments.
  static std::unique_ptr<CSnsSvcPhotoMgrBg> Create(INT32 nWidth, INT32 nHeight, CSnsSvcHandlerTask* pTask,
                                                   BOOL bForeground);
  ~CSnsSvcPhotoMgrBg();
  CSnsSvcPhotoMgrBg(const CSnsSvcPhotoMgrBg&) = delete;
  CSnsSvcPhotoMgrBg& operator=(const CSnsSvcPhotoMgrBg&) = delete;

  // Asks for the friend's photo; the request id (> 0), or -1 when it cannot be sent.
  INT32 RequestPhoto(const char* pszPeopleId);
  // The result of a notified request: the people id, and the photo (freed with ImgFreeBitmap)
  // or null when the service had none or it could not be decoded. FALSE for an unknown id.
  BOOL TakePhoto(INT32 nRequestId, std::string* pPeopleId, ImgBitmap** ppPhoto);

 private:
  struct Result {
    std::string strPeopleId;
    ImgBitmap* pPhoto;
  };
  CSnsSvcPhotoMgrBg(INT32 nWidth, INT32 nHeight, CSnsSvcHandlerTask* pTask);

  INT32 m_nWidth;
  INT32 m_nHeight;
  CSnsSvcHandlerTask* m_pTask;
  std::mutex m_mutex;
  INT32 m_nNextId = 1;
  std::map<INT32, Result> m_mapResults;
};

// The service provider's icon (a 16 x 16 badge in the provider's colour), merged into photos.
ImgBitmap* SnsSvcGetServiceProviderIcon(INT32 nServiceProvider);

#endif
