// What follows the end of a full synchronisation: the phonebook's contact-change report of type
// CTSVC_CHANGE_TYPE_FULL_SYNC with id -1, to the contact callbacks of the QRN list.
#ifndef CTSVC_DB_FULLSYNC_REPORT_H
#define CTSVC_DB_FULLSYNC_REPORT_H

void CtSvcDbListenerReportFullSyncEnd(void);

#endif
