// ctsvc init: opens or creates the store and shows its schema version and tables.
#include <cstdio>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtsvcTool.h"
#include "ZelDb2.h"

namespace ctsvc_tool {

namespace {

int PrintStore(const Options& options) {
  char szVersion[64] = "";
  if (!Db2GetSchemaVer("CtSvc", szVersion, sizeof(szVersion))) {
    return Fail(kExitFailure, "the store holds no schema version");
  }
  CCtSvcDbMgr* pMgr = CCtSvcDbMgr::Instance();
  if (options.bJson) {
    std::printf("{\"dataDir\":\"%s\",\"schemaVersion\":\"%s\",\"tables\":[", options.strDataDir.c_str(), szVersion);
  } else {
    std::printf("data directory: %s\nschema version: %s\n%-24s %s\n", options.strDataDir.c_str(), szVersion, "table",
                "rows");
  }
  for (int nType = 0; nType < CTSVC_DB_TABLE_MAX; ++nType) {
    CCtSvcDbTable* pTable = pMgr->GetDBTable(nType);
    const int nRows = pTable->GetTotalRecordCount();
    if (options.bJson) {
      std::printf("%s{\"name\":\"%s\",\"rows\":%d}", nType == 0 ? "" : ",", pTable->GetTableName(), nRows);
    } else {
      std::printf("%-24s %d\n", pTable->GetTableName(), nRows);
    }
  }
  if (options.bJson) {
    std::printf("]}\n");
  }
  return kExitOk;
}

}  // namespace

int RunInit(const Options& options, const std::vector<std::string>& vcArgs) {
  if (!vcArgs.empty()) {
    return Fail(kExitUsage, "init takes no arguments");
  }
  if (!OpenService(options)) {
    return kExitFailure;
  }
  const int nResult = PrintStore(options);
  CloseService();
  return nResult;
}

}  // namespace ctsvc_tool
