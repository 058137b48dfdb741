// The own-number AT request: the phone's own numbers with their names and international flags.
#include <algorithm>

#include "CtSvcEHAtPb.h"
#include "CtSvcSim/SimFile/CtSvcSimFileTypes.h"
#include "CtSvcSimCi.h"
#include "ZelAc.h"
#include "ZelDebug.h"

// The own numbers are read from the card's MSISDN records: the phone-memory own-number store is
// not kept by this library yet, so a card without MSISDN records reports none.
std::vector<CtSvcEHOwnNumber> CtSvcEHReadOwnNumbers(void) {
  std::vector<CtSvcEHOwnNumber> vcNumbers;
  const int nSlots = std::min(CtSvcSimGetTotalMaxRecordCount(CTSVC_SIM_MSISDN), TAPI_AT_MSISDN_MAX);
  for (int i = 0; i < nSlots; ++i) {
    CtSvcSimXdnRecord record{};
    if (!CtSvcSimGetMsisdnRecord(i, &record) || record.szPhoneNumber[0] == '\0') {
      continue;
    }
    CtSvcEHOwnNumber number{};
    AcStrlcpy(number.szName, record.szName, sizeof(number.szName));
    AcStrlcpy(number.szNumber, record.szPhoneNumber, sizeof(number.szNumber));
    vcNumbers.push_back(number);
  }
  return vcNumbers;
}

void CtSvcEHAtOwnNumber(const TapiEvent* /*pEvent*/) {
  const std::vector<CtSvcEHOwnNumber> vcNumbers = CtSvcEHReadOwnNumbers();
  const int nRead = static_cast<int>(vcNumbers.size());
  DbgPrint(DBG_CLASS_TRACE, "__CtSvcEHOwnNumberGetMsisdnNumbers: recos_read = %d \n", nRead);
  BOOL bSent = FALSE;
  if (nRead == 0) {
    bSent = TapiATMSISDNReqRsp(TAPI_AT_PB_ERROR_NOT_FOUND, 0, nullptr, nullptr, nullptr);
  } else {
    std::vector<TapiAtMsisdnName> vcNames(vcNumbers.size());
    std::vector<TapiAtMsisdnNumber> vcDigits(vcNumbers.size());
    std::vector<INT32> vcTon(vcNumbers.size());
    for (size_t i = 0; i < vcNumbers.size(); ++i) {
      AcStrlcpy(vcNames[i], vcNumbers[i].szName, sizeof(vcNames[i]));
      AcStrlcpy(vcDigits[i], vcNumbers[i].szNumber, sizeof(vcDigits[i]));
      vcTon[i] = vcNumbers[i].szNumber[0] == '+' ? 1 : 0;
    }
    bSent = TapiATMSISDNReqRsp(TAPI_AT_PB_SUCCESS, nRead, vcNames.data(), vcDigits.data(), vcTon.data());
  }
  if (!bSent) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEHAtOwnNumber: - TapiATMSISDNReqRsp failed\n");
  }
}
