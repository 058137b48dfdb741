// Change detection: the ICCID of the card seen last and the SHA-1 fingerprints of its phonebook
// files, kept in "CtSet.ini" ("Section0" and "Section3").
#include <string>
#include <vector>

#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcSim/DevSimMgr/ICtSvcDevSimMgr.h"
#include "CtSvcSim/SimMgr/CtSvcSimMgr.h"
#include "ZelCommTAPI/ZelSim.h"
#include "ZelDebug.h"
#include "ZelPhs.h"
#include "ZelReg.h"

namespace {

const char kSettingFile[] = "CtSet.ini";
const char kIccidSection[] = "Section0";
const char kSha1Section[] = "Section3";
const char kDirtyBitKey[] = "SHA1Value_DirtyBit";
constexpr size_t kKeySize = 20;
constexpr size_t kHashSize = 161;
constexpr size_t kIccidTextSize = 21;

// One fingerprinted file: its key in "Section3", where it is, and its name in the logs.
struct CtSvcSha1File {
  std::string strKey;
  int nSimFileID;
  int nPbrIndex;
  int nSubIndex;
  const char* pszName;
};

// "%s_%d" (or "%s_%d_%d" with nB), as it fits the 20-byte key buffer.
std::string FormatKey(const char* pszBase, int nA, int nB = -1) {
  std::string strKey = std::string(pszBase) + "_" + std::to_string(nA);
  if (nB >= 0) {
    strKey += "_" + std::to_string(nB);
  }
  return strKey.substr(0, kKeySize - 1);
}

// The per-contact files of one PBR record, then its ANR and EMAIL files in PBR order.
void AddPbrRecordFiles(const CCtSvcSimMgr& simMgr, int p, std::vector<CtSvcSha1File>* pFiles) {
  static const struct {
    const char* pszKey;
    int nSimFileID;
    const char* pszName;
  } kPerRecord[] = {{"SHA1Value_ADN", CTSVC_SIM_ADN, "ADN"},
                    {"SHA1Value_IAP", CTSVC_SIM_IAP, "IAP"},
                    {"SHA1Value_PBC", CTSVC_SIM_PBC, "PBC"},
                    {"SHA1Value_GRP", CTSVC_SIM_GRP, "GRP"},
                    {"SHA1Value_SNE", CTSVC_SIM_SNE, "SNE"}};
  for (const auto& file : kPerRecord) {
    pFiles->push_back({FormatKey(file.pszKey, p), file.nSimFileID, p, 0, file.pszName});
  }
  static const struct {
    const char* pszKey;
    int nSimFileID;
    int nEntryType;
    const char* pszName;
  } kRepeated[] = {{"SHA1Value_ANR", CTSVC_SIM_ANR, CTSVC_SIM_ENTRY_ANR, "ANR"},
                   {"SHA1Value_EMAIL", CTSVC_SIM_EMAIL, CTSVC_SIM_ENTRY_EMAIL, "EMAIL"}};
  for (const auto& file : kRepeated) {
    const int nCount = simMgr.GetPbrEntryCount(p, file.nEntryType);
    for (int n = 0; n < nCount; ++n) {
      pFiles->push_back({FormatKey(file.pszKey, p, n), file.nSimFileID, p, n, file.pszName});
    }
  }
}

// Every fingerprinted file of the card in hand, in the order they are stored and compared.
std::vector<CtSvcSha1File> Sha1Files() {
  const CCtSvcSimMgr& simMgr = *CCtSvcSimMgr::Instance();
  std::vector<CtSvcSha1File> files;
  if (simMgr.GetCardType() == CTSVC_SIM_CARD_TYPE_GSM || CtSvcGetDevSimMgr()->IsErrorReadPBR()) {
    files.push_back({"SHA1Value_ADN", CTSVC_SIM_ADN, 0, 0, "ADN"});
  } else {
    const int nPbrCount = simMgr.GetMaxRecordCount(CTSVC_SIM_PBR);
    for (int p = 0; p < nPbrCount; ++p) {
      if (simMgr.IsUsedRecord(CTSVC_SIM_PBR, p) > 0) {
        AddPbrRecordFiles(simMgr, p, &files);
      } else {
        DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::SetSHA1: PBR record(nPbrIndex = %d) is not used\n", p);
      }
    }
  }
  files.push_back({"SHA1Value_EXT1", CTSVC_SIM_EXT1, 0, 0, "EXT1"});
  files.push_back({"SHA1Value_GAS", CTSVC_SIM_GAS, 0, 0, "GAS"});
  return files;
}

// The file's fingerprint; false when the SIM manager has none for it.
bool FileHash(const CtSvcSha1File& file, std::string* pstrHash) {
  return CCtSvcSimMgr::Instance()->GetSHA1Value(file.nSimFileID, file.nPbrIndex, file.nSubIndex, pstrHash) != FALSE;
}

// Flushes (when bFlush) and unloads; false after logging a failure of either.
bool FlushAndUnload(const char* pszWho, bool bFlush) {
  bool bOk = true;
  if (bFlush) {
    const UINT32 nErr = RegFlush(kSettingFile);
    if (nErr != REG_OK) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::%s: RegFlush() Failed errCode=%d\n", pszWho, (int)nErr);
      bOk = false;
    }
  }
  const UINT32 nErr = RegUnload(kSettingFile);
  if (nErr != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::%s: RegUnload() Failed errCode=%d\n", pszWho, (int)nErr);
    bOk = false;
  }
  return bOk;
}

// Loads the settings file; a file that does not exist yet is created (no card was seen before).
UINT32 LoadSettings() {
  UINT32 nErr = RegLoad(kSettingFile, 0);
  if (nErr == REG_ERR_FILE_NOT_EXIST) {
    nErr = RegLoad(kSettingFile, 1);
  }
  return nErr;
}

void RemoveSection(const char* pszSection) {
  if (LoadSettings() != REG_OK) {
    return;
  }
  RegRemoveSection(kSettingFile, pszSection);
  FlushAndUnload("__ResetSHA1", true);
}

}  // namespace

// The ICCID bytes as text, each byte in "%x" (so 0x05 gives "5").
static void __ConvertHexaToChar(const UINT8* pBytes, size_t nCount, char* pszText, size_t nSize) {
  pszText[0] = '\0';
  size_t nLen = 0;
  for (size_t i = 0; i < nCount && nLen + 1 < nSize; ++i) {
    const int n = snprintf(pszText + nLen, nSize - nLen, "%x", pBytes[i]);
    if (n < 0 || nLen + static_cast<size_t>(n) >= nSize) {
      pszText[nLen] = '\0';
      break;
    }
    nLen += static_cast<size_t>(n);
  }
}

BOOL CCtSvcPhonebookMgr::IsSimChanged() {
  CCtSvcModuleLock lock;
  if (m_bSimChangedKnown) {
    return m_bSimChanged;
  }
  const UINT32 nErr = LoadSettings();
  if (nErr != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::IsSimChanged: RegLoad( void ) Failed errCode=%d\n", (int)nErr);
    return FALSE;
  }
  SimIccidInfo iccid{};
  SimGetIccidInfo(&iccid);
  char szIccid[kIccidTextSize];
  __ConvertHexaToChar(iccid.iccid, sizeof(iccid.iccid), szIccid, sizeof(szIccid));
  char szStored[kIccidTextSize] = "";
  RegGetString(kSettingFile, kIccidSection, "ICCID", szStored, sizeof(szStored));
  BOOL bChanged = FALSE;
  if (std::string(szIccid) != szStored) {
    bChanged = TRUE;
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::IsSimChanged: SIM is changed!!\n");
    RegSetString(kSettingFile, kIccidSection, "ICCID", szIccid);
    if (RegFlush(kSettingFile) != REG_OK) {
      RegUnload(kSettingFile);
      return FALSE;
    }
  }
  if (RegUnload(kSettingFile) != REG_OK) {
    return FALSE;
  }
  m_bSimChanged = bChanged;
  m_bSimChangedKnown = true;
  return bChanged;
}

BOOL CCtSvcPhonebookMgr::SetSHA1() {
  CCtSvcModuleLock lock;
  UINT32 nErr = RegLoad(kSettingFile, 0);
  if (nErr == REG_ERR_FILE_NOT_EXIST) {
    nErr = RegLoad(kSettingFile, 1);
  }
  if (nErr != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::SetSHA1: RegLoad() errCode=%d\n", (int)nErr);
    return FALSE;
  }
  for (const CtSvcSha1File& file : Sha1Files()) {
    std::string strHash;
    if (FileHash(file, &strHash)) {
      RegSetString(kSettingFile, kSha1Section, file.strKey.c_str(), strHash.c_str());
    }
  }
  RegSetInt(kSettingFile, kSha1Section, kDirtyBitKey, 1);
  return FlushAndUnload("SetSHA1", true) ? TRUE : FALSE;
}

BOOL CCtSvcPhonebookMgr::__IsSameSHA1() {
  const UINT32 nErr = RegLoad(kSettingFile, 0);
  if (nErr != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr::__IsSameSHA1: RegLoad() Failed errCode=%d\n", (int)nErr);
    return FALSE;
  }
  for (const CtSvcSha1File& file : Sha1Files()) {
    std::string strHash;
    if (!FileHash(file, &strHash)) {
      continue;
    }
    char szStored[kHashSize] = "";
    RegGetString(kSettingFile, kSha1Section, file.strKey.c_str(), szStored, sizeof(szStored));
    if (strHash != szStored) {
      DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::__IsSameSHA1: %s strHash(%s), szRegSHA1Value(%s) are different\n",
               file.pszName, strHash.c_str(), szStored);
      FlushAndUnload("__IsSameSHA1", false);
      return FALSE;
    }
  }
  RegSetInt(kSettingFile, kSha1Section, kDirtyBitKey, 0);
  if (!FlushAndUnload("__IsSameSHA1", true)) {
    return FALSE;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::__IsSameSHA1: SIM data is Same, SIM is not changed\n");
  return TRUE;
}

BOOL CCtSvcPhonebookMgr::IsSHA1Changed() {
  CCtSvcModuleLock lock;
  if (RegLoad(kSettingFile, 0) != REG_OK) {
    return FALSE;
  }
  INT32 nDirty = 1;
  RegGetInt(kSettingFile, kSha1Section, kDirtyBitKey, &nDirty);
  if (RegUnload(kSettingFile) != REG_OK) {
    return FALSE;
  }
  return nDirty != 0 ? TRUE : FALSE;
}

BOOL CCtSvcPhonebookMgr::UpdateSHA1() {
  CCtSvcModuleLock lock;
  if (m_bNoSim || PhsGetStatus(PSV_SIM_MODE_NOSIM) == 1) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr::UpdateSHA1 -No SIM mode\n");
    __ResetSHA1();
    return TRUE;
  }
  return SetSHA1();
}

void CCtSvcPhonebookMgr::__ResetICCID() { RemoveSection(kIccidSection); }

void CCtSvcPhonebookMgr::__ResetSHA1() { RemoveSection(kSha1Section); }
