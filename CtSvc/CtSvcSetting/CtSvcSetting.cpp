// The three user preferences kept in "CtSet.ini": where new contacts are saved, which contacts
// are listed, and in which name order.
#include <iterator>

#include "CtSvcSetting.h"
#include "CtSvcSetting/CtSvcRegFile.h"
#include "CtSvcSetting/CtSvcSettingKeys.h"
#include "ZelDebug.h"

namespace {

struct SettingKey {
  int nId;
  const char* pszKey;
  int nDefault;
};

const SettingKey kSettings[] = {
    {CTSVC_SETTING_ITEM_STORAGE, kKeyItemStorage, 2},
    {CTSVC_SETTING_VIEW_STORAGE, kKeyViewStorage, 0},
    {CTSVC_SETTING_VIEW_SORT, kKeyViewSort, 0},
};

const SettingKey* FindSetting(int nId) {
  for (const SettingKey& setting : kSettings) {
    if (setting.nId == nId) {
      return &setting;
    }
  }
  return nullptr;
}

// Loads "CtSet.ini" for a getter or setter, creating it when it is missing. A failed creation is
// logged as the caller's load failure; any other load error only as its error code.
bool OpenSettings(CCtSvcRegFile& file, const char* pszCaller) {
  if (file.IsLoaded()) {
    return true;
  }
  if (file.WasMissing()) {
    DbgPrint(DBG_CLASS_FAIL, "%s: RegLoad( void ) Failed hReg=%d\n", pszCaller, static_cast<int>(file.LoadError()));
    return false;
  }
  DbgPrint(DBG_CLASS_FAIL, "%s: errCode=%d\n", pszCaller, static_cast<int>(file.LoadError()));
  return true;
}

}  // namespace

extern "C" BOOL CtSvcGetCtSetting(int nSettingId, int* pnValue) {
  if (!ZEL_REQUIRE(pnValue != nullptr)) {
    return FALSE;
  }
  CCtSvcRegFile file(kSettingsFile, true);
  if (!OpenSettings(file, "CtSvcGetCtSetting")) {
    return FALSE;
  }
  const SettingKey* pSetting = FindSetting(nSettingId);
  if (pSetting == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcGetCtSetting: unknown setting id %d\n", nSettingId);
    return FALSE;
  }
  *pnValue = file.GetInt(kSectionOne, pSetting->pszKey, pSetting->nDefault);
  return file.Unload() == REG_OK ? TRUE : FALSE;
}

extern "C" BOOL CtSvcSetCtSetting(int nSettingId, int nValue) {
  CCtSvcRegFile file(kSettingsFile, true);
  if (!OpenSettings(file, "CtSvcSetCtSetting")) {
    return FALSE;
  }
  if (const SettingKey* pSetting = FindSetting(nSettingId)) {
    file.SetInt(kSectionOne, pSetting->pszKey, nValue);
  } else {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcSetCtSetting: unknown setting id %d, nothing written\n", nSettingId);
  }
  const UINT32 nFlush = file.Flush();
  const UINT32 nUnload = file.Unload();
  if (nFlush != REG_OK || nUnload != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcSetCtSetting: RegFlush/RegUnload failed (%u, %u)\n", nFlush, nUnload);
    return FALSE;
  }
  return TRUE;
}
