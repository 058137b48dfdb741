// Full-text indexes of the contact-data table: numbers by any run of digits, e-mails and names by word.
#include "CtSvcDbMgr.h"
#include "CtSvcSearch/CtSvcSearchMgr.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

struct SearchIndex {
  const char* szCheck;
  const char* szCreate;
};

const SearchIndex kSearchIndexes[] = {
    {"SELECT * FROM sysirs_indexes where groupname = 'msgplcontact' and idxname = 'phonenumber'",
     "create fulltext index msgplcontact.phonenumber (like ngram, exactspace, utf8) on ctsvccontactdatatable "
     "(contact_data condition type = 1)"},
    {"SELECT * FROM sysirs_indexes where groupname = 'msgplcontact' and idxname = 'email'",
     "create fulltext index msgplcontact.email (simplex, exactspace, utf8) on ctsvccontactdatatable "
     "(contact_data condition type = 2)"},
    {"SELECT * FROM sysirs_indexes where groupname = 'msgplcontact' and idxname = 'name'",
     "create fulltext index msgplcontact.name (simplex, exactspace, utf8) on ctsvccontactdatatable (fl_fullname)"},
};

}  // namespace

BOOL CCtSvcDbMgr::CreateSearchIndexes() {
  CCtSvcSearchMgr::Instance()->Prepare(CTSVC_SEARCH_TYPE_PRIMARY);
  CCtSvcSearchMgr::Instance()->Prepare(CTSVC_SEARCH_TYPE_PERSON);
  BOOL bResult = TRUE;
  for (const SearchIndex& index : kSearchIndexes) {
    const int nRows = Db2QueryEx("%s", index.szCheck);
    if (nRows == 0 && !Db2FTSDoSyntax(index.szCreate, 0)) {
      bResult = FALSE;
    } else if (nRows < 0) {
      bResult = FALSE;
    }
  }
  Db2Commit();
  return bResult;
}

BOOL CCtSvcDbMgr::DeleteSearchIndexes() {
  CCtSvcSearchMgr::Instance()->Release(CTSVC_SEARCH_TYPE_PRIMARY);
  CCtSvcSearchMgr::Instance()->Release(CTSVC_SEARCH_TYPE_PERSON);
  const BOOL bResult = Db2FTSDoSyntax("DROP FULLTEXT INDEX msgplcontact", 0) ? TRUE : FALSE;
  Db2Commit();
  return bResult;
}
