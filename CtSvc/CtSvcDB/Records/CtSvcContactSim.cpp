// Trimming a whole contact to what the SIM holds for one ADN entry.
#include "CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcSimLimits.h"
#include "CtSvcUtil.h"
#include "ZelDebug.h"

namespace {

// With every entry kept, a number this long is an international or service string: it keeps up
// to the length of an ADN number with its extension records.
constexpr size_t kLongNumber = 21;
constexpr size_t kLongNumberKeep = 40;

template <class T>
void DropFromEnd(std::vector<T>& list, int nKeep) {
  if (nKeep < 0) {
    nKeep = 0;
  }
  if (list.size() > static_cast<size_t>(nKeep)) {
    list.resize(static_cast<size_t>(nKeep));
  }
}

// The text cut to the SIM encoding budget, with the log of a cut.
std::string CutToSimBytes(const std::string& strText, int nBudget) {
  const int nFit = CtGetLCodeMaxByteSize(strText.c_str(), nBudget, 0);
  if (nFit < 0 || static_cast<size_t>(nFit) >= strText.size()) {
    return strText;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcContact::RemoveFieldForSim Name size over than byte size %s\n", strText.c_str());
  return strText.substr(0, static_cast<size_t>(nFit));
}

void TrimPhoneNumbers(std::vector<CCtSvcPhoneNumber>& list, const ICtSvcSimLimits& limits, int nSlot, int bKeepAll) {
  if (!bKeepAll) {
    DropFromEnd(list, limits.GetFreeAnrCount(nSlot) + 1);
  }
  const size_t nAdnLength = static_cast<size_t>(limits.GetAdnNumberLength() > 0 ? limits.GetAdnNumberLength() : 0);
  for (CCtSvcPhoneNumber& number : list) {
    std::string strNumber = number.GetPhoneNumber();
    const size_t nKeep = bKeepAll && strNumber.size() >= kLongNumber ? kLongNumberKeep : nAdnLength;
    if (strNumber.size() > nKeep) {
      strNumber.resize(nKeep);
      number.SetPhoneNumber(strNumber.c_str());
    }
  }
}

void TrimEmails(std::vector<CCtSvcEmailAddress>& list, const ICtSvcSimLimits& limits, int nSlot, int bKeepAll) {
  if (!limits.HasEmailFile()) {
    list.clear();
    return;
  }
  if (!bKeepAll) {
    DropFromEnd(list, limits.GetFreeEmailCount(nSlot));
  }
  for (CCtSvcEmailAddress& email : list) {
    email.SetEmailAddress(CutToSimBytes(email.GetEmailAddress(), limits.GetEmailLength()).c_str());
  }
}

// Only second names fit the SIM (its SNE file), and only while it has a free entry.
void TrimEtcData(std::vector<CCtSvcEtcData>& list, const ICtSvcSimLimits& limits, int nSlot, int bKeepAll) {
  if (!limits.HasSneFile()) {
    list.clear();
    return;
  }
  if (!bKeepAll) {
    std::vector<CCtSvcEtcData> vcKept;
    for (const CCtSvcEtcData& etc : list) {
      if (etc.GetEtcDataType() == CTSVC_ETC_DATA_TYPE_SECOND_NAME) {
        vcKept.push_back(etc);
      }
    }
    list.swap(vcKept);
  }
  if (limits.GetFreeSneCount(nSlot) < 1) {
    list.clear();
  }
  for (CCtSvcEtcData& etc : list) {
    etc.SetEtcData(CutToSimBytes(etc.GetEtcData(), limits.GetSneLength()).c_str());
  }
}

}  // namespace

int CCtSvcContact::RemoveFieldForSim(int bKeepAll) {
  DbgPrint(DBG_CLASS_TRACE, "RemoveFieldForSim Entry \n");
  if (!m_Person.RemoveFieldForSim()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcContact:m_Person RemoveFieldForSim return FALSE \n");
    return 0;
  }
  const ICtSvcSimLimits& limits = CtSvcGetSimLimits();
  const int nSlot = m_Person.GetSlotIndex();
  TrimPhoneNumbers(GetPhoneNumberList(), limits, nSlot, bKeepAll);
  TrimEmails(GetEmailAddressList(), limits, nSlot, bKeepAll);
  TrimEtcData(GetEtcDataList(), limits, nSlot, bKeepAll);
  GetPostalAddressList().clear();
  GetRcsList().clear();
  GetIMList().clear();
  GetSnsDataList().clear();
  return 1;
}
