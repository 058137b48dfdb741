// ctsvc sim insert-card FILE and sim remove-card: the card file of the data directory
// (sim/card.json) replaced or taken away. A card file the simulator refuses is not inserted.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CtSvcSimCi.h"
#include "CtsvcTool.h"
#include "ZelCommTAPI/ZelSim.h"

namespace ctsvc_tool {

namespace {

bool ReadFile(const std::string& strPath, std::string* pText) {
  std::ifstream in(strPath, std::ios::binary);
  if (!in) {
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  *pText = text.str();
  return static_cast<bool>(in) || in.eof();
}

bool WriteFile(const std::string& strPath, const std::string& strText) {
  const std::string strTemp = strPath + ".tmp";
  {
    std::ofstream out(strTemp, std::ios::binary | std::ios::trunc);
    if (!(out << strText) || !out.flush()) {
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(strTemp, strPath, ec);
  return !ec;
}

}  // namespace

int RunSimInsertCard(const Options& options, const Args& args) {
  const std::string strSource = args.Word(1);
  std::string strText;
  if (!ReadFile(strSource, &strText)) {
    return Fail(kExitFailure, "sim insert-card: cannot read '" + strSource + "'");
  }
  const std::string strDir = options.strDataDir + "/sim";
  const std::string strCard = strDir + "/card.json";
  std::error_code ec;
  std::filesystem::create_directories(strDir, ec);
  std::string strOld;
  const bool bHadCard = ReadFile(strCard, &strOld);
  if (!WriteFile(strCard, strText)) {
    return Fail(kExitFailure, "sim insert-card: cannot write '" + strCard + "'");
  }
  // The service reads the card file when it comes up: a card it refuses goes back out.
  if (!OpenService(options)) {
    return kExitFailure;
  }
  const int nCardType = CtSvcSimGetCardType();
  const char* pszError = SimGetCardError();
  const std::string strError = pszError != nullptr ? pszError : "not a SIM or USIM card file";
  CloseService();
  if (nCardType != CTSVC_SIM_CARD_TYPE_GSM && nCardType != CTSVC_SIM_CARD_TYPE_USIM) {
    if (bHadCard) {
      WriteFile(strCard, strOld);
    } else {
      std::filesystem::remove(strCard, ec);
    }
    return Fail(kExitFailure, "sim insert-card: '" + strSource + "' refused: " + strError);
  }
  std::printf("%s card inserted\n", nCardType == CTSVC_SIM_CARD_TYPE_USIM ? "USIM" : "SIM");
  return kExitOk;
}

int RunSimRemoveCard(const Options& options, const Args&) {
  const std::string strCard = options.strDataDir + "/sim/card.json";
  std::error_code ec;
  if (!std::filesystem::remove(strCard, ec)) {
    return Fail(kExitFailure, "sim remove-card: no SIM card inserted (no '" + strCard + "')");
  }
  std::printf("card removed\n");
  return kExitOk;
}

}  // namespace ctsvc_tool
