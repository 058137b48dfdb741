// What SQLite's query planner is told about an index whose leading column has only a few values.
#ifndef CTSVC_DB_PLAN_STATS_H
#define CTSVC_DB_PLAN_STATS_H

// Records the planner statistics of the contact tables when the store lacks them (they are kept
// in the store, so this writes only once); false when they could not be written.
bool CtSvcWritePlanStats();

#endif
