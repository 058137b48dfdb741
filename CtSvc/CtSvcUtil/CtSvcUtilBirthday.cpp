// The contacts whose birthday falls within the next four weeks, nearest first.
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "CtSvcFilter.h"
#include "CtSvcList.h"
#include "CtSvcPerson.h"
#include "CtSvcStatus.h"
#include "CtSvcUtil.h"
#include "CtSvcUtil/CtSvcUtilInternal.h"
#include "ZelDebug.h"

namespace {

struct BirthdayRow {
  int nKey;  // month * 100 + day, January moved after December when the window wraps
  CtBirthdayInfo info;
};

CtDate Today() {
  TmDateTime now{};
  TmSecondsToDateTime(TmGetLocalTime(), &now);
  return CtDate{now.year, now.month, now.day};
}

TmDateTime YearlyBound(const CtDate& date) { return TmDateTime{0, date.month, date.day, 0, 0, 0}; }

BirthdayRow RowOf(const CtSvcPersonRecord& record, bool bWraps) {
  const TmDateTime& birthday = record.Info.Birthday;
  BirthdayRow row{};
  row.nKey = birthday.month * 100 + birthday.day;
  if (bWraps && row.nKey >= 101 && row.nKey <= 131) {
    row.nKey += 1200;
  }
  row.info.nPersonId = record.nId;
  std::snprintf(row.info.szDisplayName, sizeof(row.info.szDisplayName), "%s", CtSvcUtilDisplayName(record.Info).c_str());
  row.info.nDay = birthday.day;
  row.info.nMonth = birthday.month;
  row.info.nYear = birthday.year;
  return row;
}

// For each position, every later row with a smaller key than the one now there is swapped in.
void ExchangeSort(std::vector<BirthdayRow>& rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    for (size_t j = i + 1; j < rows.size(); ++j) {
      if (rows[j].nKey < rows[i].nKey) {
        std::swap(rows[i], rows[j]);
      }
    }
  }
}

}  // namespace

extern "C" int CtDbGetNTouchBirthdayContacts(CtBirthdayInfo* pBDayInfo) {
  if (!ZEL_REQUIRE(pBDayInfo != NULL)) {
    return -1;
  }
  const CtDate today = Today();
  CtDate last{};
  if (!CtGetDateAfterNDays(&today, &last, CTSVC_BIRTHDAY_WINDOW_DAYS)) {
    return -1;
  }
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.BirthDayFrom = YearlyBound(today);
  filter.BirthDayTo = YearlyBound(last);
  const INT32 hList = CtSvcContactListCreate(&filter, nullptr);
  if (hList < 0) {
    DbgPrint(DBG_CLASS_FAIL, "CtDbGetNTouchBirthdayContacts - CtSvcContactListCreate failed\n");
    return -1;
  }
  const bool bWraps = last.month < today.month;
  std::vector<BirthdayRow> rows;
  const INT32 nCount = CtSvcContactListGetCount(hList);
  for (INT32 i = 0; i < nCount; ++i) {
    CtSvcPersonRecord record{};
    if (CtSvcContactListGetAt(hList, i, &record)) {
      rows.push_back(RowOf(record, bWraps));
    }
  }
  CtSvcContactListDestroy(hList);
  ExchangeSort(rows);
  const size_t nTaken = rows.size() < CTSVC_BIRTHDAY_LIST_MAX ? rows.size() : CTSVC_BIRTHDAY_LIST_MAX;
  for (size_t i = 0; i < nTaken; ++i) {
    pBDayInfo[i] = rows[i].info;
  }
  return static_cast<int>(nTaken);
}
