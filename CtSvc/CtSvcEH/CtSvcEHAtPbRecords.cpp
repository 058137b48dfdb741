// The AT record request: the number and name of each requested entry of a device's list.
#include <string>
#include <vector>

#include "CtSvcEHAtPb.h"
#include "CtSvcEHAtPbRows.h"
#include "CtSvcSim/SimFile/CtSvcSimFileTypes.h"
#include "CtSvcSimCi.h"
#include "ZelAc.h"
#include "ZelDebug.h"

namespace {

// The first nChars characters of a UTF-8 text.
std::string CutToCharacters(const std::string& strText, size_t nChars) {
  size_t nSeen = 0;
  for (size_t i = 0; i < strText.size(); ++i) {
    if ((static_cast<unsigned char>(strText[i]) & 0xC0u) != 0x80u && nSeen++ == nChars) {
      return strText.substr(0, i);
    }
  }
  return strText;
}

// First and last name joined by a blank (either alone when the other is empty).
std::string EntryName(const CtSvcPersonInfo& person) {
  std::string strName = person.szFirstName;
  if (person.szLastName[0] != '\0') {
    strName += (strName.empty() ? "" : " ") + std::string(person.szLastName);
  }
  return CutToCharacters(strName, TAPI_AT_PB_NAME_CHARS);
}

void Answer(INT32 nError, const std::vector<TapiAtPbRecord>& vcRecords) {
  const TapiAtPbRecords records{static_cast<INT32>(vcRecords.size()), vcRecords.data()};
  if (!TapiATPbReqRecordRsp(nError, &records)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcEHAtPbReqRecord: - TapiATPbReqRecordRsp failed\n");
  }
}

bool IsSimCard() {
  const int nCardType = CtSvcSimGetCardType();
  return nCardType == CTSVC_SIM_CARD_TYPE_GSM || nCardType == CTSVC_SIM_CARD_TYPE_USIM;
}

}  // namespace

void CtSvcEHAtPbReqRecord(const TapiEvent* pEvent) {
  const auto* pReq = static_cast<const TapiAtPbRecordReq*>(pEvent->pData);
  if (!ZEL_REQUIRE(pReq != NULL) || (pReq->nCount > 0 && !ZEL_REQUIRE(pReq->pIndexes != NULL))) {
    Answer(TAPI_AT_PB_ERROR_DEVICE, {});
    return;
  }
  if (pReq->nDevice >= TAPI_AT_PB_DEVICE_DIALLED && pReq->nDevice <= TAPI_AT_PB_DEVICE_MISSED) {
    DbgPrint(DBG_CLASS_TRACE, "CtSvcEHAtPbReqRecord: - Device type is for CallLog!!\n");
    return;
  }
  const bool bSim = pReq->nDevice == TAPI_AT_PB_DEVICE_SIM;
  if (!bSim && pReq->nDevice != TAPI_AT_PB_DEVICE_PHONE) {
    Answer(TAPI_AT_PB_ERROR_DEVICE, {});
    return;
  }
  const INT32 nBadIndex = bSim ? TAPI_AT_PB_ERROR_DEVICE : TAPI_AT_PB_ERROR_INVALID_PHONE_INDEX;
  const CCtSvcEHAtPbRows rows(pReq->nDevice);
  std::vector<TapiAtPbRecord> vcRecords;
  INT32 nError = TAPI_AT_PB_SUCCESS;
  for (INT32 i = 0; i < pReq->nCount && nError == TAPI_AT_PB_SUCCESS; ++i) {
    const int nIndex = pReq->pIndexes[i];
    if (nIndex < 1 || nIndex > TAPI_AT_PB_INDEX_MAX) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcEHAtPbReqRecord: - invalid index %d\n", nIndex);
      Answer(nBadIndex, {});
      return;
    }
    if (bSim && !IsSimCard()) {
      nError = TAPI_AT_PB_ERROR_SIM_READ;
      break;
    }
    CtSvcPhoneNumberRecord number{};
    CtSvcPersonRecord person{};
    const bool bFound = rows.Get(nIndex, &number, &person);
    TapiAtPbRecord record{};
    record.nIndex = nIndex;
    if (bFound) {
      AcStrlcpy(record.szNumber, number.Info.szPhoneNumber, sizeof(record.szNumber));
      AcStrlcpy(record.szName, EntryName(person.Info).c_str(), sizeof(record.szName));
    }
    if (record.szNumber[0] == '\0' && record.szName[0] == '\0') {
      if (bSim) {
        nError = TAPI_AT_PB_ERROR_EMPTY_SIM_ENTRY;
      }
      continue;
    }
    vcRecords.push_back(record);
  }
  Answer(nError, vcRecords);
}
