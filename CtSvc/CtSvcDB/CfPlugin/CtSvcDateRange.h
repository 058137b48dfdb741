// Date conditions of the person filter. Dates are stored as text "YYYY-MM-DD HH:MM:SS"; the unset
// date is 1899-12-31 00:00:00 (written 18991231000 in conditions).
#ifndef CTSVC_DATE_RANGE_H
#define CTSVC_DATE_RANGE_H

#include "CtSvcDB/CfPlugin/CtSvcFilterConditions.h"
#include "ZelTm.h"

enum CtSvcDateRangeKind {
  CTSVC_DATE_RANGE_FULL_DATES,     // only full-date bounds
  CTSVC_DATE_RANGE_YEARLY,         // also a yearly month-day window
  CTSVC_DATE_RANGE_YEARLY_RESERVE  // the same, the window written in parentheses
};

// A bound with 1899 < year <= 2100, month 1..12 and day 1..31.
bool CtSvcIsFullDate(const TmDateTime& date);
// Year 0 with month 1..12 and day 1..31.
bool CtSvcIsYearlyDate(const TmDateTime& date);

// Yearly kinds: when both bounds are yearly dates, a month-day window that leaves out the unset
// date (a window from December to January wraps over the year end). Otherwise each full-date
// bound adds "%s.%s >= '...'" or "%s.%s <= '...'".
void CtSvcAddDateRange(CCtSvcFilterConditions& conditions, int nColumn, const TmDateTime& from, const TmDateTime& to,
                       CtSvcDateRangeKind eKind);

#endif
