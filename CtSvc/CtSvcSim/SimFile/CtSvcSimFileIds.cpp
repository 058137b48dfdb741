#include "CtSvcSim/SimFile/CtSvcSimFileIds.h"

#include "CtSvcSim/DevSimMgr/ICtSvcDevSimMgr.h"
#include "ZelDebug.h"

namespace {

// Files whose identifier depends on the card type only.
struct CardFileID {
  int nSimFileID;
  int nGsm;
  int nUsim;
};

constexpr CardFileID kCardFiles[] = {
    {CTSVC_SIM_ADN, 0x6F3A, SIM_EFILE_INVALID}, {CTSVC_SIM_FDN, 0x6F3B, 0x6A3B},  {CTSVC_SIM_SDN, 0x6F49, 0x6F49},
    {CTSVC_SIM_MSISDN, 0x6F40, 0x6A40},         {CTSVC_SIM_EXT1, 0x6F4A, SIM_EFILE_INVALID},
    {CTSVC_SIM_EXT2, 0x6F4B, 0x6A4B},           {CTSVC_SIM_EXT3, 0x6F4C, 0x6A4C}, {CTSVC_SIM_EXT5, 0x6F4E, 0x6A4E},
};

constexpr int kSdnCphsID = 0x6F19;

// Files of the USIM phonebook: the low byte of the identifier per PBR record index (the high byte
// is 0xFF for the local phonebook, 0xEF for the telecom one); a shared file has one value.
struct UsimFileID {
  int nSimFileID;
  int nNth;
  bool bShared;
  int aLow[CTSVC_SIM_PBR_LOCAL_MAX];
};

constexpr UsimFileID kUsimFiles[] = {
    {CTSVC_SIM_PBR, 0, true, {0x01}},
    {CTSVC_SIM_CCP1, 0, true, {0x02}},
    {CTSVC_SIM_PSC, 0, true, {0x04}},
    {CTSVC_SIM_CC, 0, true, {0x05}},
    {CTSVC_SIM_PUID, 0, true, {0x06}},
    {CTSVC_SIM_EXT1, 0, true, {0x0A}},
    {CTSVC_SIM_GAS, 0, true, {0x0E}},
    {CTSVC_SIM_AAS, 0, true, {0x0C}},
    {CTSVC_SIM_ADN, 0, false, {0x07, 0x1A, 0x30, 0x3A, 0x60, 0x6C, 0x78, 0x84}},
    {CTSVC_SIM_IAP, 0, false, {0x08, 0x20, 0x31, 0x3B, 0x61, 0x6D, 0x79, 0x85}},
    {CTSVC_SIM_PBC, 0, false, {0x09, 0x1B, 0x32, 0x3C, 0x62, 0x6E, 0x7A, 0x86}},
    {CTSVC_SIM_GRP, 0, false, {0x0B, 0x1C, 0x33, 0x3D, 0x63, 0x6F, 0x7B, 0x87}},
    {CTSVC_SIM_SNE, 0, false, {0x11, 0x1D, 0x35, 0x3F, 0x65, 0x71, 0x7D, 0x89}},
    {CTSVC_SIM_UID, 0, false, {0x03, 0x1E, 0x39, 0x43, 0x6B, 0x77, 0x83, 0x8F}},
    {CTSVC_SIM_ANR, 0, false, {0x10, 0x16, 0x34, 0x3E, 0x64, 0x70, 0x7C, 0x88}},
    {CTSVC_SIM_ANR, 1, false, {0x13, 0x17, 0x37, 0x41, 0x68, 0x74, 0x80, 0x8C}},
    {CTSVC_SIM_ANR, 2, false, {0x14, 0x18, 0x38, 0x42, 0x69, 0x75, 0x81, 0x8D}},
    {CTSVC_SIM_ANR, 3, false, {0x15, 0x19, 0x50, 0x51, 0x6A, 0x76, 0x82, 0x8E}},
    {CTSVC_SIM_EMAIL, 0, false, {0x12, 0x1F, 0x36, 0x40, 0x66, 0x72, 0x7E, 0x8A}},
    {CTSVC_SIM_EMAIL, 1, false, {0x44, 0x45, 0x46, 0x47, 0x67, 0x73, 0x7F, 0x8B}},
};

// The second EMAIL file exists only in the local phonebook.
bool IsLocalOnly(const UsimFileID& file) { return file.nSimFileID == CTSVC_SIM_EMAIL && file.nNth == 1; }

int UsimFileIDOf(int nSimFileID, int nPbrIndex, int nNth, bool bLocal) {
  for (const UsimFileID& file : kUsimFiles) {
    if (file.nSimFileID != nSimFileID || file.nNth != nNth) {
      continue;
    }
    if (file.bShared) {
      return (bLocal ? 0xFF00 : 0xEF00) | file.aLow[0];
    }
    const int nMax = bLocal ? CTSVC_SIM_PBR_LOCAL_MAX : (IsLocalOnly(file) ? 0 : CTSVC_SIM_PBR_TELECOM_MAX);
    if (nPbrIndex < 0 || nPbrIndex >= nMax) {
      ZEL_NEVER_GET_HERE("nPbrIndex is out of the phonebook's PBR range");
      return SIM_EFILE_INVALID;
    }
    return (bLocal ? 0xFF00 : 0xEF00) | file.aLow[nPbrIndex];
  }
  return SIM_EFILE_INVALID;
}

}  // namespace

int CtSvcSimGetTelephonyFileID(int nSimFileID, int nCardType, int nPbrIndex, int nNth) {
  const bool bUsim = nCardType == CTSVC_SIM_CARD_TYPE_USIM;
  for (const CardFileID& file : kCardFiles) {
    if (file.nSimFileID == nSimFileID && (!bUsim || file.nUsim != SIM_EFILE_INVALID)) {
      return bUsim ? file.nUsim : file.nGsm;
    }
  }
  if (!bUsim) {
    return SIM_EFILE_INVALID;
  }
  ICtSvcDevSimMgr* pMgr = CtSvcGetDevSimMgr();
  return UsimFileIDOf(nSimFileID, nPbrIndex, nNth, pMgr == nullptr || pMgr->IsLocalPhonebook());
}

int CtSvcSimChooseTelephonyFileID(int nSimFileID, int nPbrIndex, int nNth) {
  ICtSvcDevSimMgr* pMgr = CtSvcGetDevSimMgr();
  const int nCardType = pMgr != nullptr ? pMgr->GetCardType() : CTSVC_SIM_CARD_TYPE_UNKNOWN;
  if (nSimFileID == CTSVC_SIM_SDN && pMgr != nullptr && pMgr->IsCPHSSupported()) {
    return kSdnCphsID;
  }
  return CtSvcSimGetTelephonyFileID(nSimFileID, nCardType, nPbrIndex, nNth);
}
