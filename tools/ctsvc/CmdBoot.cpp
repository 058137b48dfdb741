// ctsvc boot: starts the phonebook on the data directory's card as the phone does at start-up and
// tells what the start did: the card copied into the store (new card, or its content changed) or
// kept (same card, same content), or no card.
#include <filesystem>

#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtSvcPhonebook.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "SimPhonebook.h"
#include "ZelPhs.h"

namespace ctsvc_tool {

namespace {

int SimPersonCount() {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_SIM;
  return CtSvcDbPersonGetCount(&filter);
}

int SimGroupCount() {
  CtSvcGroupFilter filter;
  CtSvcGroupFilterInit(&filter);
  filter.DevType = CTSVC_USE_TYPE_SIM;
  return CtSvcDbGroupGetCount(&filter);
}

const char* CardName(int nCardType) {
  return nCardType == CTSVC_SIM_CARD_TYPE_USIM ? "usim" : nCardType == CTSVC_SIM_CARD_TYPE_GSM ? "sim" : "none";
}

void PrintBoot(const Json& result) {
  const std::string strCard = result.TextOf("card");
  if (strCard == "none") {
    std::printf("no SIM card: SIM contacts removed; phonebook state %s\n", result.TextOf("state").c_str());
  } else if (result.TextOf("copied") == "true") {
    std::printf("copied %s contacts, %s groups, %s FDN from the %s card; phonebook state %s\n",
                result.TextOf("contacts").c_str(), result.TextOf("groups").c_str(), result.TextOf("fdn").c_str(),
                strCard == "usim" ? "USIM" : "SIM", result.TextOf("state").c_str());
  } else {
    std::printf("SIM unchanged: kept %s contacts, %s groups, %s FDN; phonebook state %s\n",
                result.TextOf("contacts").c_str(), result.TextOf("groups").c_str(), result.TextOf("fdn").c_str(),
                result.TextOf("state").c_str());
  }
}

}  // namespace

int RunBoot(const Options& options, const Args&) {
  const std::string strCard = options.strDataDir + "/sim/card.json";
  std::error_code ec;
  const bool bCardFile = std::filesystem::exists(strCard, ec);
  return WithService(options, [&]() {
    const int nCardType = CtSvcSimGetCardType();
    const bool bCard = nCardType == CTSVC_SIM_CARD_TYPE_GSM || nCardType == CTSVC_SIM_CARD_TYPE_USIM;
    if (bCardFile && !bCard) {
      return Fail(kExitFailure, "boot: the card in '" + strCard + "' cannot be read (not a SIM or USIM card file)");
    }
    // The phone tells the phonebook that no card is inserted.
    PhsSetStatus(PSV_SIM_MODE_NOSIM, bCard ? 0 : 1);
    bool bNoSim = false;
    if (!StartPhonebook("boot", &bNoSim)) {
      return kExitFailure;
    }
    // A start that copied the card marks the stored fingerprints as new; one that found the same
    // card with the same content marks them as checked.
    const bool bCopied = !bNoSim && CtSvcPhonebookIsSHA1Changed();
    Json result = Json::Object();
    result.Set("card", CardName(bNoSim ? CTSVC_SIM_CARD_TYPE_UNKNOWN : nCardType));
    result.Set("state", CtSvcPhonebookGetInitState());
    result.Set("copied", Json::Bool(bCopied));
    result.Set("contacts", SimPersonCount());
    result.Set("groups", SimGroupCount());
    result.Set("fdn", CtSvcDbFdnGetTotalCount());
    if (options.bJson) {
      Print(result, true);
    } else {
      PrintBoot(result);
    }
    return kExitOk;
  });
}

}  // namespace ctsvc_tool
