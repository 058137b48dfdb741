// ctsvc myprofile: the owner's own card - show it, set it from a .vcf file, or clear it.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "CtSvcMyProfile.h"
#include "CtSvcVCard.h"
#include "CtsvcTool.h"
#include "Json.h"

namespace ctsvc_tool {

namespace {

// An owner's card file larger than this is refused rather than read.
constexpr std::streamoff kMaxCardBytes = 16 * 1024 * 1024;

std::string DateText(const TmDateTime& date) {
  if (date.year == CTSVC_UNSET_DATE_YEAR && date.month == CTSVC_UNSET_DATE_MONTH && date.day == CTSVC_UNSET_DATE_DAY) {
    return "";
  }
  char szText[16];
  std::snprintf(szText, sizeof(szText), "%04d-%02d-%02d", date.year, date.month, date.day);
  return szText;
}

Json ProfileView(const CtSvcContactInfo& card) {
  const CtSvcPersonInfo& person = *card.pPersonInfo;
  Json numbers = Json::Array();
  for (int i = 0; i < card.nPhoneNumberCount; ++i) {
    const CtSvcPhoneNumberInfo& number = card.pPhoneNumberInfo[i];
    numbers.Push(Json::Object().Set("number", number.szPhoneNumber).Set("type", number.PhoneType).Set("use", number.UseType));
  }
  Json emails = Json::Array();
  for (int i = 0; i < card.nEmailAddressCount; ++i) {
    emails.Push(Json::Object().Set("email", card.pEmailAddressInfo[i].szEmailAddress).Set("use", card.pEmailAddressInfo[i].UseType));
  }
  Json addresses = Json::Array();
  for (int i = 0; i < card.nPostalAddressCount; ++i) {
    const CtSvcPostalAddressInfo& postal = card.pPostalAddressInfo[i];
    addresses.Push(Json::Object()
                       .Set("detail", postal.szDetail)
                       .Set("street", postal.szStreet)
                       .Set("city", postal.szCity)
                       .Set("state", postal.szState)
                       .Set("postal_code", postal.szPCODE)
                       .Set("country", postal.szCountry)
                       .Set("use", postal.UseType));
  }
  Json other = Json::Array();
  for (int i = 0; i < card.nEtcDataCount; ++i) {
    other.Push(Json::Object().Set("type", card.pEtcDataInfo[i].EtcDataType).Set("text", card.pEtcDataInfo[i].szEtcData));
  }
  return Json::Object()
      .Set("first", person.szFirstName)
      .Set("last", person.szLastName)
      .Set("numbers", numbers)
      .Set("emails", emails)
      .Set("addresses", addresses)
      .Set("other", other)
      .Set("birthday", DateText(person.Birthday))
      .Set("image", person.szCallerImage);
}

int Show(const Options& options) {
  CtSvcContactInfo card{};
  if (!CtSvcMyProfileGet(&card)) {
    return Fail(kExitFailure, "myprofile show: the settings cannot be read");
  }
  Print(ProfileView(card), options.bJson);
  CtSvcFreeContactInfo(&card);
  return kExitOk;
}

int Set(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary | std::ios::ate);
  if (!in) {
    return Fail(kExitFailure, "myprofile set: cannot open " + strPath);
  }
  if (in.tellg() > kMaxCardBytes) {
    return Fail(kExitFailure, "myprofile set: " + strPath + " is larger than 16 MB, not an owner's card");
  }
  in.seekg(0);
  std::ostringstream text;
  text << in.rdbuf();
  if (!CtSvcMyProfileSetVcard(text.str().c_str())) {
    return Fail(kExitFailure, "myprofile set: " + strPath + " holds no vCard that can be read");
  }
  std::printf("my profile set\n");
  return kExitOk;
}

}  // namespace

int RunMyProfile(const Options& options, const Args& args) {
  const std::string strSub = args.Positional().empty() ? "show" : args.Word(0);
  const size_t nWords = args.Positional().size();
  if (strSub == "show" && nWords <= 1) {
    return WithService(options, [&] { return Show(options); });
  }
  if (strSub == "set" && nWords == 2) {
    return WithService(options, [&] { return Set(args.Word(1)); });
  }
  if (strSub == "clear" && nWords == 1) {
    return WithService(options, [&] {
      if (!CtSvcMyProfileClear()) {
        return Fail(kExitFailure, "myprofile clear: the settings cannot be written");
      }
      std::printf("my profile cleared\n");
      return kExitOk;
    });
  }
  return Fail(kExitUsage, "myprofile: use 'myprofile [show]', 'myprofile set FILE.vcf' or 'myprofile clear'");
}

}  // namespace ctsvc_tool
