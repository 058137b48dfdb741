// A contact as the ADN record the card stores: one name of at most 50 bytes, the first number and
// the further numbers as additional numbers, the e-mail addresses, the second name and the SIM
// groups the contact belongs to.
#include <string>

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbDetail.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgrWrite.h"
#include "CtSvcSim/SimRecord/CtSvcSimRecord.h"
#include "ZelDebug.h"
#include "ZelNv.h"

namespace {

// Setting: non-zero when names are shown last name first.
constexpr UINT32 kNvNameOrderLastFirst = 0x589;
// The longest ADN name, and the longest first part that still takes the other name after it.
constexpr size_t kAdnNameMax = 50;
constexpr size_t kJoinBelow = 49;

// The first nMax bytes of the text, never ending inside a UTF-8 character.
std::string CutBytes(const std::string& strText, size_t nMax) {
  if (strText.size() <= nMax) {
    return strText;
  }
  size_t nEnd = nMax;
  while (nEnd > 0 && (static_cast<unsigned char>(strText[nEnd]) & 0xC0) == 0x80) {
    --nEnd;
  }
  return strText.substr(0, nEnd);
}

}  // namespace

// The card's name: the name shown first, and the other one after a blank while the first is
// shorter than 49 bytes; cut to 50 bytes.
std::string CtSvcMakeSimAdnName(const std::string& strFirst, const std::string& strLast) {
  const bool bLastFirst = NvGetInt(kNvNameOrderLastFirst) != 0;
  const std::string& strLead = bLastFirst ? strLast : strFirst;
  const std::string& strOther = bLastFirst ? strFirst : strLast;
  std::string strName = strLead;
  if (strName.size() < kJoinBelow && !strOther.empty()) {
    if (!strName.empty()) {
      strName += ' ';
    }
    strName += strOther;
  }
  return CutBytes(strName, kAdnNameMax);
}

BOOL CCtSvcPhonebookMgr::__ConvToSimAdnRecord(const CCtSvcContact& contact, CCtSvcSimAdnRecord* pAdnRecord) const {
  if (!ZEL_REQUIRE_TEXT(pAdnRecord != nullptr, "pAdnRecord")) {
    return FALSE;
  }
  pAdnRecord->Clear();
  pAdnRecord->SetRecordIndex(contact.GetPerson().GetSlotIndex());
  pAdnRecord->SetName(CtSvcMakeSimAdnName(contact.GetPerson().GetFirstName(), contact.GetPerson().GetLastName()));
  const std::vector<CCtSvcPhoneNumber>& vNumbers = contact.GetPhoneNumberList();
  for (size_t i = 0; i < vNumbers.size(); ++i) {
    const char* pszNumber = vNumbers[i].GetPhoneNumber();
    if (i == 0) {
      pAdnRecord->SetPhoneNumber(pszNumber);
    } else if (pszNumber[0] != '\0') {
      const int nAas = vNumbers[i].GetAasId();
      pAdnRecord->AddAdditionalPhoneNumber(static_cast<UINT8>(nAas >= 0 && nAas < 0xFF ? nAas : 0xFF), pszNumber);
    }
  }
  for (const CCtSvcEmailAddress& email : contact.GetEmailAddressList()) {
    if (email.GetEmailAddress()[0] != '\0') {
      pAdnRecord->AddEmailAddress(email.GetEmailAddress());
    }
  }
  for (const CCtSvcEtcData& etc : contact.GetEtcDataList()) {
    if (etc.GetEtcDataType() == CTSVC_ETC_DATA_TYPE_SECOND_NAME) {
      pAdnRecord->SetSecondName(etc.GetEtcData());
      break;
    }
  }
  for (const CCtSvcGroupMember& member : contact.GetGroupMemberList()) {
    const int nGroupId = member.GetGroupId();
    if (nGroupId <= 0) {
      continue;
    }
    CtSvcGroupRecord group{};
    if (!CtSvcDbGroupGetRecord(nGroupId, &group)) {
      DbgPrint(DBG_CLASS_FAIL,
               "CCtSvcPhonebookMgr::__ConvToSimAdnRecord - CContentMgr::Instance()->GetContent failed(nGroupId = %d)\n",
               nGroupId);
      continue;
    }
    if (group.Info.DevType == CTSVC_USE_TYPE_SIM && group.Info.nSlotIndex >= 0) {
      pAdnRecord->AddGroupIndex(static_cast<UINT8>(group.Info.nSlotIndex));
    }
  }
  return TRUE;
}
