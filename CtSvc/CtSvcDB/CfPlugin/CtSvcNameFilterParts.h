// Conditions shared by the person and primary filters: the display-name match, the detail bits
// and the order by name index.
#ifndef CTSVC_NAME_FILTER_PARTS_H
#define CTSVC_NAME_FILTER_PARTS_H

#include "CtSvcDB/CfPlugin/CtSvcFilterConditions.h"
#include "CtSvcFilter.h"

// The full-name and letter columns of a table in first-last and last-first order.
struct CtSvcNameColumns {
  int nFlFullName;
  int nLfFullName;
  int nFlLetter;
  int nLfLetter;
};

// The "has" columns the detail bits test; -1 where a table has none.
struct CtSvcDetailColumns {
  int nHasPh;
  int nHasEmail;
  int nHasAddr;
  int nHasSnsData;
};

// The full-name column the name filter matches (first-last for name order 2).
int CtSvcNameColumn(const CtSvcPersonFilterName& name, const CtSvcNameColumns& columns);
// The letter column paired with it.
int CtSvcLetterColumn(const CtSvcPersonFilterName& name, const CtSvcNameColumns& columns);
// "%s.%s like ?" on the full-name column with the pattern of the name's truncation; false (and
// nothing added) when the display name is empty.
bool CtSvcAddDisplayNameCondition(CCtSvcFilterConditions& conditions, const CtSvcPersonFilterName& name,
                                  const CtSvcNameColumns& columns);
// The conditions of the detail bits 2, 4, 8, 16 and 64 (bit 1 differs between tables).
void CtSvcAddDetailConditions(CCtSvcFilterConditions& conditions, int nFilterDetail, const CtSvcDetailColumns& columns);
// Hint and order of the name index for an index type: 1 first-last, 2 last-first, other none.
void CtSvcSetNameIndexOrder(CCtSvcFilterConditions& conditions, int nFilterIndexType, const CtSvcNameColumns& columns,
                            bool bQualify = false);

#endif
