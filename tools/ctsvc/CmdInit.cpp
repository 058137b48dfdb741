// ctsvc init: opens or creates the store and shows its schema version and tables.
#include <cstdio>

#include "CtSvcDb.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "ZelDb2.h"

namespace ctsvc_tool {

namespace {

int PrintStore(const Options& options) {
  char szVersion[64] = "";
  if (!Db2GetSchemaVer("CtSvc", szVersion, sizeof(szVersion))) {
    return Fail(kExitFailure, "the store holds no schema version");
  }
  Json tables = Json::Array();
  char szName[64];
  INT32 nRows = 0;
  for (INT32 nIndex = 0; CtSvcDbGetTableInfo(nIndex, szName, sizeof(szName), &nRows); ++nIndex) {
    Json table = Json::Object();
    table.Set("name", szName);
    table.Set("rows", nRows);
    tables.Push(table);
  }
  if (options.bJson) {
    Json store = Json::Object();
    store.Set("dataDir", options.strDataDir);
    store.Set("schemaVersion", szVersion);
    store.Set("tables", tables);
    Print(store, true);
    return kExitOk;
  }
  std::printf("data directory: %s\nschema version: %s\n%-24s %s\n", options.strDataDir.c_str(), szVersion, "table",
              "rows");
  for (const Json& table : tables.Items()) {
    std::printf("%-24s %s\n", table.TextOf("name").c_str(), table.TextOf("rows").c_str());
  }
  return kExitOk;
}

}  // namespace

int RunInit(const Options& options, const Args&) {
  return WithService(options, [&] { return PrintStore(options); });
}

}  // namespace ctsvc_tool
