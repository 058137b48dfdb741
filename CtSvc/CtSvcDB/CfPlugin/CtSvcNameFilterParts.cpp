#include "CtSvcDB/CfPlugin/CtSvcNameFilterParts.h"

int CtSvcNameColumn(const CtSvcPersonFilterName& name, const CtSvcNameColumns& columns) {
  return name.NameOrder == CTSVC_FILTER_NAME_ORDER_FIRST_LAST ? columns.nFlFullName : columns.nLfFullName;
}

int CtSvcLetterColumn(const CtSvcPersonFilterName& name, const CtSvcNameColumns& columns) {
  return name.NameOrder == CTSVC_FILTER_NAME_ORDER_FIRST_LAST ? columns.nFlLetter : columns.nLfLetter;
}

bool CtSvcAddDisplayNameCondition(CCtSvcFilterConditions& conditions, const CtSvcPersonFilterName& name,
                                  const CtSvcNameColumns& columns) {
  if (name.szDisplayName[0] == '\0') {
    return false;
  }
  conditions.AddLike(CtSvcNameColumn(name, columns), name.szDisplayName, name.NameTruncation,
                     CTSVC_FILTER_ESCAPE_SIZE_NAME);
  return true;
}

void CtSvcAddDetailConditions(CCtSvcFilterConditions& conditions, int nFilterDetail, const CtSvcDetailColumns& columns) {
  struct Bit {
    int nBit;
    const char* szForm;
    int nColumn;
    int nSecondColumn;  // -1 unless the form names two columns
  };
  const Bit kBits[] = {
      {CTSVC_PRIMARY_FILTER_DETAIL_HAS_PHONENUMBER, "(%s.%s > 0)", columns.nHasPh, -1},
      {CTSVC_PRIMARY_FILTER_DETAIL_HAS_EMAIL, "(%s.%s > 0)", columns.nHasEmail, -1},
      {CTSVC_PRIMARY_FILTER_DETAIL_HAS_ADDRESS, "(%s.%s > 0)", columns.nHasAddr, -1},
      {CTSVC_PRIMARY_FILTER_DETAIL_HAS_PHONENUMBER_OR_EMAIL, "(%s.%s > 0 or %s.%s > 0)", columns.nHasEmail,
       columns.nHasPh},
      {CTSVC_PRIMARY_FILTER_DETAIL_NO_SNSDATA, "(%s.%s < 1)", columns.nHasSnsData, -1},
  };
  for (const Bit& bit : kBits) {
    if ((nFilterDetail & bit.nBit) == 0 || bit.nColumn < 0) {
      continue;
    }
    if (bit.nSecondColumn < 0) {
      conditions.AddColumnForm(bit.szForm, bit.nColumn);
    } else {
      conditions.AddCondition(CtSvcFormat(bit.szForm, conditions.TableName(), conditions.ColumnName(bit.nColumn),
                                          conditions.TableName(), conditions.ColumnName(bit.nSecondColumn)));
    }
  }
}

void CtSvcSetNameIndexOrder(CCtSvcFilterConditions& conditions, int nFilterIndexType, const CtSvcNameColumns& columns,
                            bool bQualify) {
  if (nFilterIndexType == CTSVC_FILTER_INDEX_FIRST_LAST) {
    conditions.SetIndexOrderForColumn(columns.nFlFullName, bQualify);
  } else if (nFilterIndexType == CTSVC_FILTER_INDEX_LAST_FIRST) {
    conditions.SetIndexOrderForColumn(columns.nLfFullName, bQualify);
  }
}
