// The carrier's pre-configuration: reads the carrier's contact settings into "CtSet.ini", checks
// them against it, or writes the phone's settings back out for the carrier.
#include <cstdio>
#include <string>
#include <vector>

#include "CtSvcSetting.h"
#include "CtSvcSetting/CtSvcRegFile.h"
#include "CtSvcSetting/CtSvcSettingKeys.h"
#include "CtSvcUtil.h"
#include "CtSvcUtil/CtSvcUtilInternal.h"
#include "ZelDebug.h"

namespace {

const char kCarrierReadFile[] = "/Settings/KRV/KRV_XMLCustomer.ini";
const char kCarrierWriteFile[] = "/Settings/KRV/KRV_PhoneCustomer.ini";
const char kCarrierSection[] = "Contact";
const char kLog[] = "CtPreConfigDataForKRV: ";

struct PreInstEntry {
  std::string name;
  std::string number;
};

// The contact settings as the carrier writes them.
struct CarrierValues {
  std::string save = "phone";
  std::string view = "both";
  std::string sort = "firstname";
  int nCliDigits = 0;
  std::vector<PreInstEntry> preInst;
};

std::string NumberedKey(const char* pszFormat, int n) {
  char szKey[32];
  std::snprintf(szKey, sizeof(szKey), pszFormat, n);
  return szKey;
}

std::vector<PreInstEntry> ReadPreInst(const CCtSvcRegFile& file, const char* pszSection) {
  std::vector<PreInstEntry> entries;
  const int nCount = file.GetInt(pszSection, kKeyPreInstCount, 0);
  for (int i = 1; i <= nCount; ++i) {
    entries.push_back({file.GetString(pszSection, NumberedKey(kKeyPreInstName, i).c_str(), kPreInstNameSize),
                       file.GetString(pszSection, NumberedKey(kKeyPreInstNumber, i).c_str(), kPreInstNumberSize)});
  }
  return entries;
}

void WritePreInst(CCtSvcRegFile& file, const char* pszSection, const std::vector<PreInstEntry>& entries) {
  file.SetInt(pszSection, kKeyPreInstCount, static_cast<int>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    file.SetString(pszSection, NumberedKey(kKeyPreInstName, n).c_str(), entries[i].name.c_str());
    file.SetString(pszSection, NumberedKey(kKeyPreInstNumber, n).c_str(), entries[i].number.c_str());
  }
}

CarrierValues ReadCarrier(int nDefaultDigits) {
  CCtSvcRegFile file(kCarrierReadFile, false);
  CarrierValues values;
  values.save = file.GetString(kCarrierSection, "SavePosition", 16, "phone");
  values.view = file.GetString(kCarrierSection, "ViewFrom", 16, "both");
  values.sort = file.GetString(kCarrierSection, "ContactSort", 16, "firstname");
  values.nCliDigits = file.GetInt(kCarrierSection, kKeyCliDigits, nDefaultDigits);
  values.preInst = ReadPreInst(file, kCarrierSection);
  DbgPrint(DBG_CLASS_TRACE, "%shRead KRV value.  Default Storage:%s \n", kLog, values.save.c_str());
  DbgPrint(DBG_CLASS_TRACE, "%shRead KRV value.  Default View:%s \n", kLog, values.view.c_str());
  DbgPrint(DBG_CLASS_TRACE, "%shRead KRV value.  Default Sort:%s \n", kLog, values.sort.c_str());
  DbgPrint(DBG_CLASS_TRACE, "%shRead KRV value.  Default CLI digit:%d \n", kLog, values.nCliDigits);
  DbgPrint(DBG_CLASS_TRACE, "%shRead KRV value.  PREINST_CNT:%d \n", kLog, static_cast<int>(values.preInst.size()));
  for (const PreInstEntry& entry : values.preInst) {
    DbgPrint(DBG_CLASS_TRACE, "%shRead KRV value.  PREINST_NAME:%s PREINST_NUM:%s \n", kLog, entry.name.c_str(),
             entry.number.c_str());
  }
  return values;
}

// "view_storage" of the carrier's "ViewFrom".
int ViewStorageOf(const std::string& view) { return view == "phone" ? 1 : view == "sim" ? 2 : 0; }

// "item_storage" of the carrier's "SavePosition", -1 when the save position names none.
int ItemStorageOf(const std::string& save) {
  return save == "sim" ? 1 : save == "phone" ? 0 : save == "ask" ? 2 : -1;
}

BOOL ReadIntoSettings(int nDefaultDigits) {
  const CarrierValues carrier = ReadCarrier(nDefaultDigits);
  CCtSvcRegFile settings(kSettingsFile, true);
  settings.SetInt(kSectionOne, kKeyViewStorage, ViewStorageOf(carrier.view));
  const int nItem = ItemStorageOf(carrier.save);
  if (nItem >= 0) {
    settings.SetInt(kSectionOne, kKeyItemStorage, nItem);
  } else if (carrier.view == "phone" || carrier.view == "sim") {
    // No usable save position: new contacts go where the list shows them.
    settings.SetInt(kSectionOne, kKeyItemStorage, carrier.view == "phone" ? 0 : 1);
  } else {
    settings.SetInt(kSectionOne, kKeyViewStorage, 0);
  }
  settings.SetInt(kSectionOne, kKeyItemSort, carrier.sort == "lastname" ? 1 : 0);
  settings.SetInt(kSectionOne, kKeyCliDigits, carrier.nCliDigits);
  WritePreInst(settings, kSectionOne, carrier.preInst);
  const UINT32 nFlush = settings.Flush();
  CtSvcUtilResetCliDigitsCache();
  if (nFlush != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "%sCTSVC_PRECONFIG_READ - RegFlush(%d) failed. \n", kLog, static_cast<int>(nFlush));
    return FALSE;
  }
  return settings.Unload() == REG_OK ? TRUE : FALSE;
}

struct NamedValue {
  int nValue;
  const char* pszName;
};

// Logs "<what> is not same <NAME>" when the setting differs from what the carrier asks for.
void VerifyValue(const char* pszWhat, int nSetting, const NamedValue& expected) {
  if (nSetting != expected.nValue) {
    DbgPrint(DBG_CLASS_FAIL, "%sVerify %s(%d) is not same %s\n", kLog, pszWhat, nSetting, expected.pszName);
  }
}

BOOL VerifySettings(int nDefaultDigits) {
  const CarrierValues carrier = ReadCarrier(nDefaultDigits);
  CCtSvcRegFile settings(kSettingsFile, true);
  static const NamedValue kStorage[] = {{0, "STORE_IN_PHONE"}, {1, "STORE_IN_SIM"}, {2, "STORE_ASK"}};
  static const NamedValue kView[] = {{0, "VIEW_IN_ALL"}, {1, "VIEW_IN_PHONE"}, {2, "VIEW_IN_SIM"}};
  static const NamedValue kSort[] = {{0, "SORT_BY_FIRST_NAME"}, {1, "SORT_BY_LAST_NAME"}};
  const int nItem = ItemStorageOf(carrier.save);
  VerifyValue(kKeyItemStorage, settings.GetInt(kSectionOne, kKeyItemStorage, 2), kStorage[nItem >= 0 ? nItem : 0]);
  VerifyValue(kKeyViewStorage, settings.GetInt(kSectionOne, kKeyViewStorage, 0), kView[ViewStorageOf(carrier.view)]);
  VerifyValue(kKeyItemSort, settings.GetInt(kSectionOne, kKeyItemSort, 0), kSort[carrier.sort == "lastname" ? 1 : 0]);
  const int nCliDigits = settings.GetInt(kSectionOne, kKeyCliDigits, nDefaultDigits);
  if (nCliDigits != carrier.nCliDigits) {
    DbgPrint(DBG_CLASS_FAIL, "%sVerify iDefaultCLIDigit(%d) is not same iCLIDigit(%d)\n", kLog, carrier.nCliDigits,
             nCliDigits);
  }
  const std::vector<PreInstEntry> stored = ReadPreInst(settings, kSectionOne);
  if (stored.size() != carrier.preInst.size()) {
    DbgPrint(DBG_CLASS_FAIL, "%sVerify PreInst Cnt:%d!=%d\n", kLog, static_cast<int>(carrier.preInst.size()),
             static_cast<int>(stored.size()));
  }
  for (size_t i = 0; i < stored.size() && i < carrier.preInst.size(); ++i) {
    if (stored[i].name != carrier.preInst[i].name) {
      DbgPrint(DBG_CLASS_FAIL, "%sVerify PreInst Name:%s!=%s\n", kLog, carrier.preInst[i].name.c_str(),
               stored[i].name.c_str());
    }
  }
  return TRUE;
}

BOOL EncodeForCarrier(int nDefaultDigits) {
  CCtSvcRegFile settings(kSettingsFile, true);
  const int nItem = settings.GetInt(kSectionOne, kKeyItemStorage, 2);
  const int nView = settings.GetInt(kSectionOne, kKeyViewStorage, 0);
  const int nSort = settings.GetInt(kSectionOne, kKeyViewSort, 0);
  const int nCliDigits = settings.GetInt(kSectionOne, kKeyCliDigits, nDefaultDigits);
  const std::vector<PreInstEntry> preInst = ReadPreInst(settings, kSectionOne);
  settings.Unload();

  CCtSvcRegFile carrier(kCarrierWriteFile, true);
  carrier.SetString(kCarrierSection, "ViewFrom", nView == 1 ? "phone" : nView == 2 ? "sim" : "both");
  carrier.SetString(kCarrierSection, "SavePosition", nItem == 1 ? "sim" : "phone");
  carrier.SetString(kCarrierSection, "ContactSort", nSort == 1 ? "lastname" : "firstname");
  carrier.SetInt(kCarrierSection, kKeyCliDigits, nCliDigits);
  WritePreInst(carrier, kCarrierSection, preInst);
  const UINT32 nFlush = carrier.Flush();
  if (nFlush != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "%sCTSVC_PRECONFIG_ENCODE - RegFlush(%d) failed. \n", kLog, static_cast<int>(nFlush));
    return FALSE;
  }
  return carrier.Unload() == REG_OK ? TRUE : FALSE;
}

}  // namespace

extern "C" BOOL CtSvcSettingPreConfigForKRV(int nMode) {
  if (!ZEL_REQUIRE_TEXT(nMode >= CTSVC_PRECONFIG_READ && nMode <= CTSVC_PRECONFIG_ENCODE,
                        "_CtSvcIsValidPreConfigType( iPreConfigType )")) {
    return FALSE;
  }
  {
    // The settings file exists from here on, whatever the mode.
    CCtSvcRegFile settings(kSettingsFile, true);
    settings.Flush();
  }
  const int nDefaultDigits = CtSvcGetDefaultCLI();
  switch (nMode) {
    case CTSVC_PRECONFIG_READ:
      return ReadIntoSettings(nDefaultDigits);
    case CTSVC_PRECONFIG_VERIFY:
      return VerifySettings(nDefaultDigits);
    default:
      return EncodeForCarrier(nDefaultDigits);
  }
}
