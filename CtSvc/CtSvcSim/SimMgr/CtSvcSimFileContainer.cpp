// Group loads of the SIM file container: which files a group has on the card in hand, the work
// queue that loads them one at a time, and what each kind of failure does to the group.
#include "CtSvcSim/SimMgr/CtSvcSimFileContainer.h"

#include <algorithm>

#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcSim/DevSimMgr/ICtSvcDevSimMgr.h"
#include "ZelPhs.h"
#include "ZelDebug.h"

namespace {

struct ServiceNumber {
  int nSimFileID;
  int nGsm;   // service number in the SIM service table (two bits a service)
  int nUsim;  // in the USIM service table (one bit a service); 0: none
};

constexpr ServiceNumber kServices[] = {
    {CTSVC_SIM_FDN, 3, 2},     {CTSVC_SIM_EXT2, 11, 3}, {CTSVC_SIM_SDN, 18, 4}, {CTSVC_SIM_EXT3, 19, 5},
    {CTSVC_SIM_MSISDN, 9, 21}, {CTSVC_SIM_EXT1, 10, 0}, {CTSVC_SIM_EXT5, 0, 44},
};

bool TableHas(const UINT8* pTable, int nService, bool bUsim) {
  if (pTable == nullptr || nService <= 0) {
    return false;
  }
  const int n = nService - 1;
  if (bUsim) {
    return n / 8 < 32 && (pTable[n / 8] >> (n % 8) & 1) != 0;
  }
  // allocated and activated
  return n / 4 < 32 && (pTable[n / 4] >> ((n % 4) * 2) & 3) == 3;
}

}  // namespace

BOOL CtSvcSimIsServiceOffered(int nSimFileID) {
  ICtSvcDevSimMgr* pDev = CtSvcGetDevSimMgr();
  const bool bUsim = pDev->GetCardType() == CTSVC_SIM_CARD_TYPE_USIM;
  for (const ServiceNumber& service : kServices) {
    if (service.nSimFileID == nSimFileID) {
      return TableHas(bUsim ? pDev->GetUstInfo() : pDev->GetSstInfo(), bUsim ? service.nUsim : service.nGsm, bUsim)
                 ? TRUE
                 : FALSE;
    }
  }
  return FALSE;
}

CCtSvcSimFileContainer::CCtSvcSimFileContainer(ICtSvcSimFileContainerListener* pListener) : m_pListener(pListener) {}

CCtSvcSimFileContainer::~CCtSvcSimFileContainer() {
  m_qWork.clear();
  FreeAdn();
  FreeFdn();
  FreeMsisdn();
  FreeSdn();
}

int CCtSvcSimFileContainer::GetCardType() const { return CtSvcGetDevSimMgr()->GetCardType(); }

BOOL CCtSvcSimFileContainer::IsSingleAdnFile() const {
  return GetCardType() == CTSVC_SIM_CARD_TYPE_GSM || m_pPbrFile == nullptr || CtSvcGetDevSimMgr()->IsErrorReadPBR()
             ? TRUE
             : FALSE;
}

template <class TFile, class... Args>
TFile* CCtSvcSimFileContainer::_Own(Args... args) {
  auto pFile = std::make_unique<TFile>(args...);
  TFile* pRaw = pFile.get();
  m_vcpOwned.emplace_back(m_nOwnerGroup, std::move(pFile));
  return pRaw;
}

// ---- group starts ----

BOOL CCtSvcSimFileContainer::InitAdn() {
  m_nLoadType = m_nOwnerGroup = CTSVC_SIM_LOAD_ADN;
  m_qWork.clear();
  switch (GetCardType()) {
    case CTSVC_SIM_CARD_TYPE_GSM:
      return __LoadGsmSimAdn();
    case CTSVC_SIM_CARD_TYPE_USIM:
      return __ReadPBRFile();
    default:
      ZEL_NEVER_GET_HERE("CCtSvcSimFileContainer::InitAdn - unknown card type");
      return FALSE;
  }
}

// One ADN file (PBR index 0) and EXT1: a GSM card, or a USIM whose PBR could not be read.
BOOL CCtSvcSimFileContainer::__LoadGsmSimAdn() {
  m_vcADNContainer.assign(1, CtSvcSimPbrFileSet{});
  m_vcADNContainer[0].pAdnFile = _Own<CCtSvcAdnFile>(0);
  if (m_pExt1File == nullptr) {
    m_pExt1File = _Own<CCtSvcExt1File>(0);
  }
  m_vcADNContainer[0].pExt1File = m_pExt1File;
  m_qWork.push_back(m_vcADNContainer[0].pAdnFile);
  m_qWork.push_back(m_pExt1File);
  __Next();
  return TRUE;
}

BOOL CCtSvcSimFileContainer::__ReadPBRFile() {
  m_pPbrFile = std::make_unique<CCtSvcPbrFile>();
  // Not queued: its end decides what is queued.
  m_pPbrFile->LoadFile(this);
  return TRUE;
}

BOOL CCtSvcSimFileContainer::__LoadUsimAdn() {
  m_pUsimFiles = std::make_unique<CCtSvcUsimPhonebookFiles>();
  m_pUsimFiles->Build(*m_pPbrFile);
  m_vcADNContainer = m_pUsimFiles->GetSets();
  bool bUid = false;
  for (size_t p = 0; p < m_vcADNContainer.size(); ++p) {
    if (m_vcADNContainer[p].pAdnFile == nullptr) {
      DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFileContainer::__LoadUsimAdn - PBR file(nPbrIndex = %d) is not used\n",
               static_cast<int>(p));
    }
    bUid = bUid || m_vcADNContainer[p].pUidFile != nullptr;
  }
  m_pGasFile = m_pUsimFiles->GetGasFile();
  m_pAasFile = m_pUsimFiles->GetAasFile();
  for (CCtSvcSimFile* pFile : m_pUsimFiles->GetFiles()) {
    const int nID = pFile->GetSimFileID();
    const bool bSync = nID == CTSVC_SIM_PSC || nID == CTSVC_SIM_CC || nID == CTSVC_SIM_PUID;
    if (bSync && !bUid) {
      continue;  // synchronisation files only with UIDs
    }
    if (nID == CTSVC_SIM_EXT1) {
      m_pExt1File = static_cast<CCtSvcExtFile*>(pFile);
    } else if (nID == CTSVC_SIM_PSC) {
      m_pPscFile = static_cast<CCtSvcSimValueFile*>(pFile);
    } else if (nID == CTSVC_SIM_CC) {
      m_pCcFile = static_cast<CCtSvcSimValueFile*>(pFile);
    } else if (nID == CTSVC_SIM_PUID) {
      m_pPuidFile = static_cast<CCtSvcSimValueFile*>(pFile);
    }
    m_qWork.push_back(pFile);
  }
  if (m_qWork.empty()) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::__LoadUsimAdn - no ADN file in the PBR\n");
    return FALSE;
  }
  __Next();
  return TRUE;
}

BOOL CCtSvcSimFileContainer::_InitXdn(int nLoadType, int nSimFileID, int nExtFileID) {
  m_nLoadType = m_nOwnerGroup = nLoadType;
  m_qWork.clear();
  CCtSvcDialNumberFile* pFile = nullptr;
  CCtSvcExtFile* pExt = nullptr;
  switch (nSimFileID) {
    case CTSVC_SIM_FDN:
      pFile = m_pFdnFile = _Own<CCtSvcFdnFile>();
      pExt = nExtFileID != CTSVC_SIM_FILE_ID_INVALID ? (m_pExt2File = _Own<CCtSvcExt2File>()) : nullptr;
      break;
    case CTSVC_SIM_SDN:
      pFile = m_pSdnFile = _Own<CCtSvcSdnFile>();
      pExt = nExtFileID != CTSVC_SIM_FILE_ID_INVALID ? (m_pExt3File = _Own<CCtSvcExt3File>()) : nullptr;
      break;
    default:
      pFile = m_pMsisdnFile = _Own<CCtSvcMsisdnFile>();
      if (nExtFileID == CTSVC_SIM_EXT5) {
        pExt = m_pExt5File = _Own<CCtSvcExt5File>();
      } else if (nExtFileID == CTSVC_SIM_EXT1) {
        m_bMsisdnUsesExt1 = true;
        if (m_pExt1File == nullptr) {
          pExt = m_pExt1File = _Own<CCtSvcExt1File>(0);
        }
      }
      break;
  }
  m_qWork.push_back(pFile);
  if (pExt != nullptr) {
    m_qWork.push_back(pExt);
  }
  __Next();
  return TRUE;
}

BOOL CCtSvcSimFileContainer::InitFdn() {
  if (!CtSvcSimIsServiceOffered(CTSVC_SIM_FDN)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::InitFdn - 'new' failed\n");
    return FALSE;
  }
  return _InitXdn(CTSVC_SIM_LOAD_FDN, CTSVC_SIM_FDN,
                  CtSvcSimIsServiceOffered(CTSVC_SIM_EXT2) ? CTSVC_SIM_EXT2 : CTSVC_SIM_FILE_ID_INVALID);
}

BOOL CCtSvcSimFileContainer::InitMsisdn() {
  if (!CtSvcSimIsServiceOffered(CTSVC_SIM_MSISDN)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::InitMsisdn  - MSISDN is not supported!!!\n");
    return FALSE;
  }
  int nExt = CTSVC_SIM_EXT5;
  if (GetCardType() != CTSVC_SIM_CARD_TYPE_USIM) {
    nExt = CtSvcSimIsServiceOffered(CTSVC_SIM_EXT1) ? CTSVC_SIM_EXT1 : CTSVC_SIM_FILE_ID_INVALID;
  }
  return _InitXdn(CTSVC_SIM_LOAD_MSISDN, CTSVC_SIM_MSISDN, nExt);
}

BOOL CCtSvcSimFileContainer::InitSdn() {
  if (!CtSvcSimIsServiceOffered(CTSVC_SIM_SDN)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::InitSdn  - SDN is not supported!!!\n");
    return FALSE;
  }
  return _InitXdn(CTSVC_SIM_LOAD_SDN, CTSVC_SIM_SDN,
                  CtSvcSimIsServiceOffered(CTSVC_SIM_EXT3) ? CTSVC_SIM_EXT3 : CTSVC_SIM_FILE_ID_INVALID);
}

// ---- freeing ----

void CCtSvcSimFileContainer::_DropFile(CCtSvcSimFile* pFile) {
  CCtSvcSimFile** const members[] = {
      reinterpret_cast<CCtSvcSimFile**>(&m_pExt1File),  reinterpret_cast<CCtSvcSimFile**>(&m_pGasFile),
      reinterpret_cast<CCtSvcSimFile**>(&m_pAasFile),   reinterpret_cast<CCtSvcSimFile**>(&m_pFdnFile),
      reinterpret_cast<CCtSvcSimFile**>(&m_pExt2File),  reinterpret_cast<CCtSvcSimFile**>(&m_pSdnFile),
      reinterpret_cast<CCtSvcSimFile**>(&m_pExt3File),  reinterpret_cast<CCtSvcSimFile**>(&m_pMsisdnFile),
      reinterpret_cast<CCtSvcSimFile**>(&m_pExt5File),  reinterpret_cast<CCtSvcSimFile**>(&m_pPscFile),
      reinterpret_cast<CCtSvcSimFile**>(&m_pCcFile),    reinterpret_cast<CCtSvcSimFile**>(&m_pPuidFile),
  };
  for (CCtSvcSimFile** ppMember : members) {
    if (*ppMember == pFile) {
      *ppMember = nullptr;
    }
  }
  m_qWork.erase(std::remove(m_qWork.begin(), m_qWork.end(), pFile), m_qWork.end());
}

void CCtSvcSimFileContainer::_FreeGroup(int nLoadType) {
  for (auto it = m_vcpOwned.begin(); it != m_vcpOwned.end();) {
    if (it->first != nLoadType) {
      ++it;
      continue;
    }
    // EXT1 serves the ADN group and, on a GSM card, the MSISDN group: it stays while one holds it.
    if (it->second.get() == m_pExt1File && nLoadType == CTSVC_SIM_LOAD_ADN && m_bMsisdnUsesExt1 &&
        m_pMsisdnFile != nullptr) {
      it->first = CTSVC_SIM_LOAD_MSISDN;
      ++it;
      continue;
    }
    if (it->second.get() == m_pExt1File && nLoadType == CTSVC_SIM_LOAD_MSISDN && !m_vcADNContainer.empty()) {
      it->first = CTSVC_SIM_LOAD_ADN;
      ++it;
      continue;
    }
    _DropFile(it->second.get());
    it = m_vcpOwned.erase(it);
  }
}

void CCtSvcSimFileContainer::FreeAdn() {
  if (m_pUsimFiles != nullptr) {
    for (CCtSvcSimFile* pFile : m_pUsimFiles->GetFiles()) {
      _DropFile(pFile);
    }
    m_pUsimFiles.reset();
  }
  if (m_pPbrFile != nullptr) {
    _DropFile(m_pPbrFile.get());
    m_pPbrFile.reset();
  }
  for (const CtSvcSimPbrFileSet& set : m_vcADNContainer) {
    m_qWork.erase(std::remove(m_qWork.begin(), m_qWork.end(), set.pAdnFile), m_qWork.end());
  }
  m_vcADNContainer.clear();
  _FreeGroup(CTSVC_SIM_LOAD_ADN);
}

void CCtSvcSimFileContainer::FreeFdn() { _FreeGroup(CTSVC_SIM_LOAD_FDN); }
void CCtSvcSimFileContainer::FreeSdn() { _FreeGroup(CTSVC_SIM_LOAD_SDN); }
void CCtSvcSimFileContainer::FreeMsisdn() {
  _FreeGroup(CTSVC_SIM_LOAD_MSISDN);
  m_bMsisdnUsesExt1 = false;
}

// ---- the queue ----

void CCtSvcSimFileContainer::__Next() {
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFileContainer::__Next - remain Job count in Work queue(%d)\n",
           static_cast<int>(m_qWork.size()));
  if (!m_qWork.empty()) {
    // A load that cannot be sent ends at once through OnLoaded, which goes on with the queue.
    m_qWork.front()->LoadFile(this);
  }
}

void CCtSvcSimFileContainer::__CallListener(BOOL bResult) {
  if (_BmIsPowerOffState()) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFileContainer::__CallListener : _BmIsPowerOffState is TRUE");
    return;
  }
  if (m_pListener == nullptr) {
    return;
  }
  switch (m_nLoadType) {
    case CTSVC_SIM_LOAD_ADN:
      m_pListener->OnReadAdn(bResult);
      break;
    case CTSVC_SIM_LOAD_FDN:
      m_pListener->OnReadFdn(bResult);
      break;
    case CTSVC_SIM_LOAD_MSISDN:
      m_pListener->OnReadMsisdn(bResult);
      break;
    default:
      m_pListener->OnReadSdn(bResult);
      break;
  }
}

void CCtSvcSimFileContainer::OnLoaded(int nSimFileID, BOOL bSuccess) {
  CCtSvcModuleLock lock;  // the C API reads the groups from other threads
  // The PBR is loaded outside the queue: its end decides what is queued.
  if (m_nLoadType == CTSVC_SIM_LOAD_ADN && nSimFileID == CTSVC_SIM_PBR && m_pPbrFile != nullptr) {
    if (bSuccess) {
      if (!__LoadUsimAdn()) {
        __CallListener(FALSE);
      }
      return;
    }
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::OnLoaded - PBR file load failed\n");
    m_pPbrFile.reset();
    __LoadGsmSimAdn();
    return;
  }
  if (!ZEL_REQUIRE_TEXT(!m_qWork.empty(), "!m_qWork.empty()")) {
    return;
  }
  CCtSvcSimFile* pTopFile = m_qWork.front();
  m_qWork.pop_front();
  if (pTopFile->GetSimFileID() != nSimFileID) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::OnLoaded - SimFileID(%d) is not equal to pTopFile->GetSimFileID(%d)\n",
             nSimFileID, pTopFile->GetSimFileID());
    m_qWork.clear();
    __CallListener(FALSE);
    return;
  }
  if (!bSuccess) {
    switch (nSimFileID) {
      case CTSVC_SIM_ADN:
      case CTSVC_SIM_FDN:
      case CTSVC_SIM_SDN:
      case CTSVC_SIM_MSISDN: {
        DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimFileContainer::OnLoaded failed\n");
        m_qWork.clear();
        const int nLoadType = m_nLoadType;
        switch (nLoadType) {
          case CTSVC_SIM_LOAD_ADN:
            FreeAdn();
            break;
          case CTSVC_SIM_LOAD_FDN:
            FreeFdn();
            break;
          case CTSVC_SIM_LOAD_MSISDN:
            FreeMsisdn();
            break;
          default:
            FreeSdn();
            break;
        }
        __CallListener(FALSE);
        return;
      }
      case CTSVC_SIM_PSC:
      case CTSVC_SIM_CC:
      case CTSVC_SIM_PUID:
        _DropFile(pTopFile);  // the group goes on without it
        break;
      default:
        break;  // an optional file: the group goes on with what it has
    }
  }
  if (m_qWork.empty()) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimFileContainer::OnLoaded success - All done\n");
    __CallListener(TRUE);
    return;
  }
  __Next();
}
