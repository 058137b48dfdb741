// The phonebook's report of a finished full synchronisation.
#include "CtSvcDbCi/CtSvcDbFullSyncReport.h"

#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"

void CtSvcDbListenerReportFullSyncEnd(void) {
  CCtSvcModuleLock lock;
  CCtSvcPhonebookMgr::Instance()->NotifyContactChangedQRN(CTSVC_CHANGE_TYPE_FULL_SYNC, -1, nullptr);
}
