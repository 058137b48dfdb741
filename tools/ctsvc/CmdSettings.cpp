// ctsvc settings, ownnumber and birthdays: the user preferences, the own number kept in phone
// memory, and the contacts whose birthday is within four weeks.
#include <cstdio>
#include <string>

#include "CtSvcSetting.h"
#include "CtSvcStatus.h"
#include "CtsvcTool.h"
#include "Json.h"

namespace ctsvc_tool {

namespace {

struct SettingName {
  const char* pszKey;
  int nId;
  const char* pszValues;  // what the values mean
  int nMax;
};

const SettingName kSettingNames[] = {
    {"item_storage", CTSVC_SETTING_ITEM_STORAGE, "0 phone, 1 SIM, 2 ask", 2},
    {"view_storage", CTSVC_SETTING_VIEW_STORAGE, "0 both, 1 phone, 2 SIM", 2},
    {"view_sort", CTSVC_SETTING_VIEW_SORT, "0 first name first, 1 last name first", 1},
};

const SettingName* FindSettingName(const std::string& strKey) {
  for (const SettingName& setting : kSettingNames) {
    if (strKey == setting.pszKey) {
      return &setting;
    }
  }
  return nullptr;
}

int PrintSetting(const Options& options, const SettingName& setting) {
  int nValue = 0;
  if (!CtSvcGetCtSetting(setting.nId, &nValue)) {
    return Fail(kExitFailure, std::string("settings get: cannot read ") + setting.pszKey);
  }
  if (options.bJson) {
    std::printf("%s\n", Json::Object().Set(setting.pszKey, nValue).Dump().c_str());
  } else {
    std::printf("%s = %d (%s)\n", setting.pszKey, nValue, setting.pszValues);
  }
  return kExitOk;
}

int SetSetting(const SettingName& setting, const std::string& strValue) {
  std::size_t nUsed = 0;
  int nValue = -1;
  try {
    nValue = std::stoi(strValue, &nUsed);
  } catch (const std::exception&) {
    nUsed = 0;
  }
  if (nUsed != strValue.size() || nValue < 0 || nValue > setting.nMax) {
    return Fail(kExitUsage, "settings set: " + std::string(setting.pszKey) + " takes " + setting.pszValues);
  }
  if (!CtSvcSetCtSetting(setting.nId, nValue)) {
    return Fail(kExitFailure, std::string("settings set: cannot write ") + setting.pszKey);
  }
  std::printf("%s = %d\n", setting.pszKey, nValue);
  return kExitOk;
}

int ListOwnNumber(const Options& options) {
  char szName[CTSVC_OWN_NUMBER_NAME_SIZE] = {};
  char szNumber[CTSVC_OWN_NUMBER_NUMBER_SIZE] = {};
  const bool bSet = CtSvcOwnNumberGetUsedCount() > 0 && CtSvcOwnNumberGet(szName, sizeof(szName), szNumber, sizeof(szNumber));
  if (options.bJson) {
    Json list = Json::Array();
    if (bSet) {
      list.Push(Json::Object().Set("name", szName).Set("number", szNumber));
    }
    std::printf("%s\n", list.Dump().c_str());
  } else if (bSet) {
    std::printf("%s %s\n", szNumber, szName);
  } else {
    std::printf("no own number in phone memory\n");
  }
  return kExitOk;
}

}  // namespace

int RunSettings(const Options& options, const Args& args) {
  const std::string strSub = args.Word(0);
  const size_t nWords = args.Positional().size();
  const SettingName* pSetting = nWords > 1 ? FindSettingName(args.Word(1)) : nullptr;
  if ((strSub != "get" || nWords != 2) && (strSub != "set" || nWords != 3)) {
    return Fail(kExitUsage, "settings: use 'settings get KEY' or 'settings set KEY VALUE'");
  }
  if (pSetting == nullptr) {
    return Fail(kExitUsage, "settings: unknown key '" + args.Word(1) + "' (item_storage, view_storage, view_sort)");
  }
  return WithService(options, [&] { return strSub == "get" ? PrintSetting(options, *pSetting) : SetSetting(*pSetting, args.Word(2)); });
}

int RunOwnNumber(const Options& options, const Args& args) {
  const std::string strSub = args.Positional().empty() ? "list" : args.Word(0);
  const size_t nWords = args.Positional().size();
  if (strSub == "list" && nWords <= 1) {
    return WithService(options, [&] { return ListOwnNumber(options); });
  }
  if (strSub == "set" && nWords == 3) {
    return WithService(options, [&] {
      if (!CtSvcOwnNumberSet(args.Word(1).c_str(), args.Word(2).c_str())) {
        return Fail(kExitFailure, "ownnumber set: '" + args.Word(2) + "' is not a number this phone can store");
      }
      std::printf("own number set\n");
      return kExitOk;
    });
  }
  if (strSub == "delete" && nWords == 1) {
    return WithService(options, [&] {
      if (!CtSvcOwnNumberDelete()) {
        return Fail(kExitFailure, "ownnumber delete: the own-number file cannot be cleared");
      }
      std::printf("own number deleted\n");
      return kExitOk;
    });
  }
  return Fail(kExitUsage, "ownnumber: use 'ownnumber [list]', 'ownnumber set NAME NUMBER' or 'ownnumber delete'");
}

int RunBirthdays(const Options& options, const Args&) {
  return WithService(options, [&] {
    CtBirthdayInfo list[CTSVC_BIRTHDAY_LIST_MAX];
    const int nCount = CtDbGetNTouchBirthdayContacts(list);
    if (nCount < 0) {
      return Fail(kExitFailure, "birthdays: the contact list cannot be read");
    }
    Json items = Json::Array();
    for (int i = 0; i < nCount; ++i) {
      const CtBirthdayInfo& info = list[i];
      if (options.bJson) {
        items.Push(Json::Object()
                       .Set("id", info.nPersonId)
                       .Set("name", info.szDisplayName)
                       .Set("month", info.nMonth)
                       .Set("day", info.nDay)
                       .Set("year", info.nYear));
      } else {
        std::printf("%02d-%02d  %s (born %d)\n", info.nMonth, info.nDay, info.szDisplayName, info.nYear);
      }
    }
    if (options.bJson) {
      std::printf("%s\n", items.Dump().c_str());
    } else if (nCount == 0) {
      std::printf("no birthdays in the next %d days\n", CTSVC_BIRTHDAY_WINDOW_DAYS);
    }
    return kExitOk;
  });
}

}  // namespace ctsvc_tool
