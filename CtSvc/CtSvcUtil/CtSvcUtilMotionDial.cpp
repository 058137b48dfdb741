// A contact and one of its numbers as a motion-dial entry, and the display name the status
// helpers show.
#include <algorithm>
#include <cstring>

#include "CtSvcImg.h"
#include "CtSvcStatus.h"
#include "CtSvcUtil/CtSvcUtilInternal.h"
#include "ZelAc.h"
#include "ZelDebug.h"

std::string CtSvcUtilDisplayName(const CtSvcPersonInfo& info) {
  std::string name = info.szFirstName;
  if (info.szLastName[0] != '\0') {
    name += name.empty() ? "" : " ";
    name += info.szLastName;
  }
  return name;
}

BOOL CtSvcConvert2MotionDial(const CtSvcContactInfo* pContact, int iSelectedPhoneNumberIndex, CtMotionDialInfo* pEntry) {
  if (!ZEL_REQUIRE_TEXT(iSelectedPhoneNumberIndex > -1, "iSelectedPhoneNumberIndex>-1")) {
    return FALSE;
  }
  if (!ZEL_REQUIRE(pContact != NULL && pContact->pPersonInfo != NULL) || !ZEL_REQUIRE(pEntry != NULL)) {
    return FALSE;
  }
  const CtSvcPersonInfo& person = *pContact->pPersonInfo;
  std::memset(pEntry, 0, sizeof(*pEntry));
  const std::string strName = CtSvcUtilDisplayName(person);
  if (!strName.empty()) {
    AcStrlcpy(pEntry->szDisplayName, strName.c_str(), sizeof(pEntry->szDisplayName));
  }
  if (pContact->pPhoneNumberInfo != nullptr && iSelectedPhoneNumberIndex < pContact->nPhoneNumberCount) {
    const CtSvcPhoneNumberInfo& number = pContact->pPhoneNumberInfo[iSelectedPhoneNumberIndex];
    AcStrlcpy(pEntry->szPhoneNumber, number.szPhoneNumber,
              std::min(sizeof(pEntry->szPhoneNumber), sizeof(number.szPhoneNumber)));
  }
  pEntry->pThumbnail = CtSvcGetThumbNailBitmap(person.szCallerImage, CTSVC_IMG_MOTION_DIAL_SIZE,
                                               CTSVC_IMG_MOTION_DIAL_SIZE);
  pEntry->nPersonId = CTSVC_HANDLE_TO_ID(person.hPerson);
  pEntry->nSelectedPhoneNumberIndex = iSelectedPhoneNumberIndex;
  return pEntry->szPhoneNumber[0] != '\0' ? TRUE : FALSE;
}
