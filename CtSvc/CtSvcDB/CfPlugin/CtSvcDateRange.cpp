#include "CtSvcDB/CfPlugin/CtSvcDateRange.h"

namespace {

constexpr int kDecember = 12;
constexpr int kJanuary = 1;

std::string FullDateText(const TmDateTime& date) {
  return CtSvcFormat("%d-%d-%d %d:%d:%d", date.year, date.month, date.day, date.hour, date.minute, date.second);
}

std::string YearlyWindow(CCtSvcFilterConditions& conditions, int nColumn, const TmDateTime& from, const TmDateTime& to) {
  const char* szTable = conditions.TableName();
  const char* szColumn = conditions.ColumnName(nColumn);
  if (from.month == kDecember && to.month == kJanuary) {
    return CtSvcFormat(
        "%s.%s <> 18991231000 and ( DATE_FORMAT(%s.%s, '%%%%M-%%%%D') between '%.02d-%.02d' and '12-31' or  "
        "DATE_FORMAT(%s.%s, '%%%%M-%%%%D') between '01-01' and '%.02d-%.02d' )",
        szTable, szColumn, szTable, szColumn, from.month, from.day, szTable, szColumn, to.month, to.day);
  }
  return CtSvcFormat(
      "%s.%s <> 18991231000 and ( DATE_FORMAT(%s.%s, '%%%%M-%%%%D') between '%.02d-%.02d' and '%.02d-%.02d' )",
      szTable, szColumn, szTable, szColumn, from.month, from.day, to.month, to.day);
}

}  // namespace

bool CtSvcIsFullDate(const TmDateTime& date) {
  return date.year > 1899 && date.year <= 2100 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
         date.day <= 31;
}

bool CtSvcIsYearlyDate(const TmDateTime& date) {
  return date.year == 0 && date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31;
}

void CtSvcAddDateRange(CCtSvcFilterConditions& conditions, int nColumn, const TmDateTime& from, const TmDateTime& to,
                       CtSvcDateRangeKind eKind) {
  if (eKind != CTSVC_DATE_RANGE_FULL_DATES && CtSvcIsYearlyDate(from) && CtSvcIsYearlyDate(to)) {
    const std::string strWindow = YearlyWindow(conditions, nColumn, from, to);
    conditions.AddCondition(eKind == CTSVC_DATE_RANGE_YEARLY_RESERVE ? "( " + strWindow + " )" : strWindow);
    return;
  }
  if (CtSvcIsFullDate(from)) {
    conditions.AddCondition(CtSvcFormat("%s >= '%s'", conditions.Column(nColumn).c_str(), FullDateText(from).c_str()));
  }
  if (CtSvcIsFullDate(to)) {
    conditions.AddCondition(CtSvcFormat("%s <= '%s'", conditions.Column(nColumn).c_str(), FullDateText(to).c_str()));
  }
}
