// The own-number AT request: the phone's own numbers with their names and international flags.
#include <algorithm>

#include "CtSvcEHAtPb.h"
#include "CtSvcPhonebook.h"
#include "ZelAc.h"
#include "ZelDebug.h"

// The own numbers as the phonebook keeps them: the card's MSISDN records, or the one slot in
// phone memory when the card has no MSISDN file.
std::vector<CtSvcEHOwnNumber> CtSvcEHReadOwnNumbers(void) {
  std::vector<CtSvcEHOwnNumber> vcNumbers;
  const int nSlots = std::min(CtSvcPhonebookGetOwnNumberSlotCount(), TAPI_AT_MSISDN_MAX);
  for (int i = 0; i < nSlots; ++i) {
    CtSvcEHOwnNumber number{};
    if (!CtSvcPhonebookGetOwnNumber(i, number.szName, sizeof(number.szName), number.szNumber,
                                    sizeof(number.szNumber)) ||
        number.szNumber[0] == '\0') {
      continue;
    }
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
