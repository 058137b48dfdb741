// Hook to the phonebook's change report after a full synchronisation.
#include "CtSvcDbCi/CtSvcDbFullSyncReport.h"

#include "CtSvcTypes.h"
#include "ZelDebug.h"

void CtSvcDbListenerReportFullSyncEnd(void) {
  DbgPrint(DBG_CLASS_TRACE,
           "CtSvcDbListenerNotifyFullSync - phonebook change report (type %d, id -1) not available yet\n",
           CTSVC_CHANGE_TYPE_FULL_SYNC);
}
