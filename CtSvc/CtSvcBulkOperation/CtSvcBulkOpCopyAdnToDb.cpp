#include "CtSvcBulkOperation/CtSvcBulkOpCopyAdnToDb.h"

#include "CtSvcBulkOperation/CtSvcBulkOpMoveAdnToDb.h"
#include "ZelDb2.h"

namespace {
const char kWho[] = "CCtSvcBulkOpCopyAdnToDb";
}

BOOL CCtSvcBulkOpCopyAdnToDb::AddPersonId(int nPersonId) {
  const int nId = CtSvcBulkPersonIdOf(kWho, nPersonId);
  if (nId < 0) {
    return FALSE;
  }
  _AddItem(nId);
  return TRUE;
}

BOOL CCtSvcBulkOpCopyAdnToDb::_ProcessItem(int& nPersonId) {
  CtSvcPersonRecord stored{};
  return CtSvcBulkReadPerson(kWho, nPersonId, CTSVC_USE_TYPE_SIM, &stored) &&
                 CtSvcBulkCopyToPhone(kWho, stored, FALSE) > 0
             ? TRUE
             : FALSE;
}

// One commit a unit, also after a failed item: what was copied before it stays.
BOOL CCtSvcBulkOpCopyAdnToDb::_EndUnit(BOOL bResult) {
  Db2Commit();
  return bResult;
}
