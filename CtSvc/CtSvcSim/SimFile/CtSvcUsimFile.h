// Helpers shared by the files of the USIM phonebook.
#ifndef CTSVC_USIM_FILE_H
#define CTSVC_USIM_FILE_H

#include <cstring>

#include "CtSvcSim/SimFile/CtSvcSimEntryFile.h"

// The telephony identifier of a USIM phonebook file; a card of another type is reported (the
// identifier is still computed for a USIM).
int CtSvcSimUsimFileID(int nSimFileID, int nPbrIndex, int nNth = 0);

// An entry of N link bytes (IAP, GRP), every byte "none" when empty.
template <size_t N>
struct __CtSvcSimLinkRecord {
  UINT8 aLink[N];
  __CtSvcSimLinkRecord() { std::memset(aLink, CTSVC_SIM_LINK_NONE, N); }
  static constexpr size_t kImageSize = N;
  void Image(UINT8* pImage) const { std::memcpy(pImage, aLink, N); }
};

// A file whose entries are N link bytes.
template <size_t N>
class CCtSvcSimLinkFile : public CCtSvcSimEntryFile<__CtSvcSimLinkRecord<N>> {
 protected:
  using Base = CCtSvcSimEntryFile<__CtSvcSimLinkRecord<N>>;
  CCtSvcSimLinkFile(int nSimFileID, int nPbrIndex, const char* pszClassName, const char* pszVectorName,
                    const char* pszPositionCheck)
      : Base(nSimFileID, nPbrIndex, pszClassName, pszVectorName), m_pszPositionCheck(pszPositionCheck) {
    this->_SetTelephonyFileID(CtSvcSimUsimFileID(nSimFileID, nPbrIndex));
  }
  // The byte at the position: a 0-based index or 0xFF; -1 on a bad slot or position.
  int _GetLink(int nRecordIndex, int nPosition) const {
    if (!ZEL_REQUIRE_TEXT(nPosition >= 0 && nPosition < static_cast<int>(N), m_pszPositionCheck)) {
      return -1;
    }
    const __CtSvcSimLinkRecord<N>* pEntry = this->_Peek(nRecordIndex);
    if (pEntry == nullptr) {
      this->_IsInRange(nRecordIndex);
      return -1;
    }
    return pEntry->aLink[nPosition];
  }
  BOOL _SetLink(int nRecordIndex, int nPosition, UINT8 nValue) {
    __CtSvcSimLinkRecord<N>* pEntry = this->_Entry(nRecordIndex);
    if (pEntry == nullptr || !ZEL_REQUIRE_TEXT(nPosition >= 0 && nPosition < static_cast<int>(N), m_pszPositionCheck)) {
      return FALSE;
    }
    pEntry->aLink[nPosition] = nValue;
    return TRUE;
  }

 private:
  const char* m_pszPositionCheck;
};

#endif
