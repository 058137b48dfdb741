// Subscriber of the social-network friend synchronisation: receives friend updates, deletions
// and caller-image requests from the platform's synchronisation manager and turns them into
// contact changes. Created and owned by the database manager.
#ifndef CTSVC_SNS_SYNC_OBSERVER_H
#define CTSVC_SNS_SYNC_OBSERVER_H

#include <string>

#include "ContentFramework.h"
#include "ZelTypes.h"

#define CTSVC_SNS_SYNC_KEY "zel.content.sync.sns/friend"
#define CTSVC_SNS_SYNC_HISTORY_DB "CtSvcSnsSyncObserverHistoryDb"
#define CTSVC_SNS_SYNC_HISTORY_SIZE 100

class CCtSvcSnsSyncObserver : public IContentSyncSubscriber {
 public:
  // Registers under CTSVC_SNS_SYNC_KEY and opens the history store.
  CCtSvcSnsSyncObserver();
  // Unregisters (waiting for a delivery under way on another thread) and closes the store.
  ~CCtSvcSnsSyncObserver() override;
  CCtSvcSnsSyncObserver(const CCtSvcSnsSyncObserver&) = delete;
  CCtSvcSnsSyncObserver& operator=(const CCtSvcSnsSyncObserver&) = delete;

  // The synchronisation manager's delivery: OnExecuteSync.
  int OnSync(const std::string& strKey, const std::string& strAction, const std::string& strArg) override;

  // One action for the friends in strData (their text form, ZelSnsSvc.h): "update", "delete" or
  // "needcallerid". 1 when every friend was handled, else 0.
  virtual int OnExecuteSync(const std::string& strUri, const std::string& strAction, const std::string& strData);
  // A synchronisation of the friends starts / ends: the provider-wide pair of calls for "CtSvc".
  virtual int OnSyncStarted();
  virtual int OnSyncFinished();

  bool IsRegistered() const { return m_bRegistered; }

 private:
  bool m_bRegistered = false;
  HOBJ m_hHistoryDb = INVALID_HOBJ;
};

#endif
