// The text form of a DATETIME value: "YYYY-MM-DD HH:MM:SS", zero-padded.
#ifndef ZEL_DB2_DATE_TEXT_H
#define ZEL_DB2_DATE_TEXT_H

#include <string>
#include <string_view>

#include "ZelTm.h"

namespace zel::db2 {

// "1899-12-31 00:00:00", the stored form of an unset date.
extern const char kUnsetDateText[];

// Reads "Y-M-D H:M:S" with 1-4 digit years and 1-2 digit other fields (padded or not), or the
// date alone "Y-M-D". Nothing else may follow. FALSE when the text has another form.
bool ParseDateTimeText(std::string_view text, TmDateTime* pOut);
// Like ParseDateTimeText but only the full unpadded-or-padded form with the time part.
bool ParseFullDateTimeText(std::string_view text, TmDateTime* pOut);
std::string FormatDateTimeText(const TmDateTime& dt);

}  // namespace zel::db2

#endif
