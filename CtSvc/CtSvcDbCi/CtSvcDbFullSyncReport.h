// What follows the end of a full synchronisation: the phonebook's contact-change report of type
// CTSVC_CHANGE_TYPE_FULL_SYNC with id -1. The phonebook manager is not part of the library yet;
// until it is, the hook only logs.
#ifndef CTSVC_DB_FULLSYNC_REPORT_H
#define CTSVC_DB_FULLSYNC_REPORT_H

void CtSvcDbListenerReportFullSyncEnd(void);

#endif
