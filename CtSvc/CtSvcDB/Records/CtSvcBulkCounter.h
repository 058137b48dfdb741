// Number of records written without commit since the last commit. Records commit after every 50
// uncommitted writes; any commit made elsewhere (a read through a content handler commits) resets it.
#ifndef CTSVC_BULK_COUNTER_H
#define CTSVC_BULK_COUNTER_H

#define CTSVC_BULK_COMMIT_INTERVAL 50

// Counts one uncommitted write; returns the count after it.
int CtSvcIncrementBulkCounter(void);
int CtSvcGetBulkCounter(void);
void CtSvcResetBulkCounter(void);

#endif
