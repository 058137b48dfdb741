// Bringing the service up and down for a command.
#include <sys/stat.h>

#include <string>

#include "ContentFramework.h"
#include "CtSvcModule.h"
#include "CtSvcTask.h"
#include "CtsvcTool.h"
#include "ZelDb2.h"
#include "ZelFm.h"
#include "ZelOs.h"

namespace ctsvc_tool {

namespace {

// A store is there when its file is; an empty file is what a store is made from.
bool HasStore(const std::string& strDataDir) {
  struct stat st {};
  return stat((strDataDir + "/ctsvc.db").c_str(), &st) == 0 && st.st_size > 0;
}

}  // namespace

bool OpenService(const Options& options) {
  if (!options.bCreateStore && !HasStore(options.strDataDir)) {
    Fail(kExitFailure, "no contact store in " + options.strDataDir + " (ctsvc init creates one)");
    return false;
  }
  if (!ZelSetDataDir(options.strDataDir.c_str())) {
    Fail(kExitFailure, "cannot create or use the data directory '" + options.strDataDir + "'");
    return false;
  }
  const std::string strDb = options.strDataDir + "/ctsvc.db";
  switch (Db2Open(nullptr)) {
    case DB2_OK:
      break;
    case DB2_ERR_CORRUPT:
      Fail(kExitFailure, "'" + strDb + "' is not a contact store or is damaged; it was left untouched");
      return false;
    default:
      Fail(kExitFailure, "cannot open '" + strDb + "': " + Db2GetLastError());
      return false;
  }
  OsSetCurrentTaskName("ctsvc");
  CtSvcDispatch(CTSVC_DISPATCH_LOAD, 0, 0);
  if (CtSvcGetModuleMutex() == ZEL_INVALID_HANDLE_VALUE) {
    Fail(kExitFailure, "the contact service did not start");
    return false;
  }
  return true;
}

namespace {

// A removal of an account's contacts runs on the background task, resumed at every start while
// one is pending. Stopping the service would abort it (and undo its work), so a short command
// like `list` lets it finish first.
constexpr int kPendingRemovalWaitMs = 300000;

void FinishPendingRemovals() {
  if (CContentMgr::Instance()->GetCount("CtSvc/DeleteAccount", nullptr) > 0) {
    CtSvcTaskWaitForIdle(kPendingRemovalWaitMs);
  }
}

}  // namespace

void CloseService() {
  FinishPendingRemovals();
  CtSvcDispatch(CTSVC_DISPATCH_UNLOAD, 0, 0);
  Db2Close();
}

}  // namespace ctsvc_tool
