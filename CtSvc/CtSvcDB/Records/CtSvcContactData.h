// What phone numbers and e-mail addresses share: one table whose TYPE column tells them apart,
// with the owner's names copied in for searching.
#ifndef CTSVC_CONTACT_DATA_H
#define CTSVC_CONTACT_DATA_H

#include <string>

#include "CtSvcDetail.h"

class CContent;
class CContentInput;
class CCtSvcDbTable;

// True when the row's TYPE is nExpected. Otherwise logs
// "<szLogName> - contactDataType(%d) is not <szTypeName>" (or the failed read) and answers false.
bool CtSvcAcceptContactDataRow(const CContent& content, CtSvcContactType nExpected, const char* szLogName,
                               const char* szTypeName);

// Writes TYPE, the owner's full names in both orders and the search form CONTACT_SDATA.
void CtSvcSetContactDataColumns(CContentInput& input, CCtSvcDbTable& table, CtSvcContactType nType,
                                const std::string& strFirst, const std::string& strLast, const std::string& strSearchData);

#endif
