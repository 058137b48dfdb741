// Steps shared by every member of the detail-table family that need no knowledge of the member's
// types: handle checks, reading the owning person, reading one row, and the two ways of deleting
// the rows of a filter. Log lines start with the member's prefix and the operation
// ("CtSvcDbPhoneNumber" + "InsertRecord").
#ifndef CTSVC_DB_DETAIL_SUPPORT_H
#define CTSVC_DB_DETAIL_SUPPORT_H

#include <string>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcTypes.h"

class CCtSvcPerson;

// True for a handle that names a phone or SIM person with a positive row id (assertion otherwise).
bool CtSvcDetailCheckPersonHandle(HOBJ hPerson);

// Reads the stored person nPersonId; logs success, a failed read or a row that did not load.
bool CtSvcDetailReadPerson(const char* szPrefix, const char* szOperation, int nPersonId, CCtSvcPerson& person);

// Reads row nID of the URI; logs success or failure.
bool CtSvcDetailGetContent(const char* szPrefix, const char* szOperation, const std::string& strUri, int nID,
                           CContent& content);
// Logs a row that was read but could not be loaded into the record ("phoneNumber.SetContent failed").
void CtSvcDetailLogLoadFailure(const char* szPrefix, const char* szOperation, const char* szRecordVar, int nID);

// Deletes every row by its id (column 0), each through the URI so that each delete is observed.
// A row whose id cannot be read is logged with the id column's name and skipped. 1.
BOOL CtSvcDetailDeleteRows(const char* szPrefix, const char* szIdColumn, const std::string& strUri,
                           const std::vector<CContent>& vcRows);

// The result of a filtered delete that removed nothing: with no matching row there was nothing to
// delete (1), otherwise the delete failed (0). Both are logged.
BOOL CtSvcDetailReportEmptyDelete(const char* szPrefix, int nMatching);

#endif
