// Contacts per index letter of the primary list, kept counted by the store itself.
//
// "CtSvcPrimaryLetterCount" holds, per name order (0 first-last, 1 last-first), group letter and
// device type, how many primaries carry them. Triggers on the primary table keep it inside every
// writer's transaction, so any process reading it sees the counts of the rows it reads. The
// letters of an unfiltered list, or of one device type, are then read from a few dozen rows
// instead of grouping every primary.
#ifndef CTSVC_DB_MGR_LETTER_COUNTS_H
#define CTSVC_DB_MGR_LETTER_COUNTS_H

#include <string>

// Creates the table and its triggers when any of them is missing (a store of an earlier version,
// or a primary table made again) and counts the primaries, in one transaction: a start killed
// half-way leaves the store as it was, and the next start does it again. FALSE on a failure.
bool CtSvcEnsureLetterCounts();
// Drops the table (its triggers go with the primary table). FALSE on a failure.
bool CtSvcDropLetterCounts();
// TRUE once this process made sure of the counts (the last CtSvcEnsureLetterCounts succeeded).
bool CtSvcLetterCountsReady();

// The statement reading (letter, count) rows of one name order, in name order, for every device
// type (nDeviceType < 0) or one: what grouping the primaries by that letter gives.
std::string CtSvcLetterCountsSql(bool bLastFirst, int nDeviceType);

#endif
