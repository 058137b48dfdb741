#include "SimUpdaterFixture.h"

#include <fstream>
#include <sstream>

#include "CtSvcSim/SimFile/CtSvcExtFile.h"

namespace ctsvc_sim_updater_test {

namespace {

struct LoadListener : ICtSvcSimFileListener {
  void OnLoaded(int, BOOL bSuccess) override { nLoaded = bSuccess; }
  void OnUpdated(int, BOOL) override {}
  int nLoaded = -1;
};

template <class TFile>
TFile* Nth(const std::vector<TFile*>& vcpFile, int n) {
  return n >= 0 && n < static_cast<int>(vcpFile.size()) ? vcpFile[static_cast<size_t>(n)] : nullptr;
}

}  // namespace

CCtSvcSimFile* TestFileContainer::GetSimFile(int nSimFileID, int nPbrIndex, int nSubIndex) const {
  auto it = m_own.find(nSimFileID);
  if (m_pPbrFile == nullptr || it != m_own.end()) {
    return it != m_own.end() && (nSimFileID != CTSVC_SIM_ADN || nPbrIndex == 0) ? it->second.get() : nullptr;
  }
  if (nSimFileID == CTSVC_SIM_PBR) {
    return m_pPbrFile.get();
  }
  const auto& vcSet = m_phonebook.GetSets();
  if (nSimFileID == CTSVC_SIM_ANR || nSimFileID == CTSVC_SIM_EMAIL) {
    if (nPbrIndex < 0 || nPbrIndex >= static_cast<int>(vcSet.size())) {
      return nullptr;
    }
    const CtSvcSimPbrFileSet& set = vcSet[static_cast<size_t>(nPbrIndex)];
    if (nSimFileID == CTSVC_SIM_ANR) {
      return Nth(set.vcpAnrFile, nSubIndex);
    }
    return Nth(set.vcpEmailFile, nSubIndex);
  }
  const bool bPerPbr = nSimFileID == CTSVC_SIM_ADN || nSimFileID == CTSVC_SIM_IAP || nSimFileID == CTSVC_SIM_SNE ||
                       nSimFileID == CTSVC_SIM_GRP || nSimFileID == CTSVC_SIM_PBC || nSimFileID == CTSVC_SIM_UID;
  for (CCtSvcSimFile* pFile : m_phonebook.GetFiles()) {
    if (pFile->GetSimFileID() == nSimFileID && (!bPerPbr || pFile->GetPbrIndex() == nPbrIndex)) {
      return pFile;
    }
  }
  return nullptr;
}

void TestFileContainer::Create(int nCardType) {
  m_nCardType = nCardType;
  if (nCardType == CTSVC_SIM_CARD_TYPE_USIM) {
    m_pPbrFile = std::make_unique<CCtSvcPbrFile>();
    _Add<CCtSvcExt5File>(CTSVC_SIM_EXT5);
  } else {
    _Add<CCtSvcAdnFile>(CTSVC_SIM_ADN);
    _Add<CCtSvcExt1File>(CTSVC_SIM_EXT1);
  }
  _Add<CCtSvcFdnFile>(CTSVC_SIM_FDN);
  _Add<CCtSvcExt2File>(CTSVC_SIM_EXT2);
  _Add<CCtSvcSdnFile>(CTSVC_SIM_SDN);
  _Add<CCtSvcExt3File>(CTSVC_SIM_EXT3);
  _Add<CCtSvcMsisdnFile>(CTSVC_SIM_MSISDN);
}

void TestFileContainer::CreatePhonebook() { m_phonebook.Build(*m_pPbrFile); }

std::vector<CCtSvcSimFile*> TestFileContainer::Files() const {
  std::vector<CCtSvcSimFile*> vcpFile;
  if (m_pPbrFile != nullptr) {
    vcpFile = m_phonebook.GetFiles();
  }
  for (const auto& own : m_own) {
    vcpFile.push_back(own.second.get());
  }
  return vcpFile;
}

void SimUpdaterTest::TearDown() {
  m_pContainer.reset();
  CCtSvcDevSimMgr::Instance()->Close(nullptr);
  DrainEventHandler();
  zel::test::ResetSim();
  ServiceTest::TearDown();
}

void SimUpdaterTest::InsertCard(const std::string& strCard) {
  // A card of a host file: writes replace the file, so a stopped write can be made.
  {
    std::ofstream out(CardPath(), std::ios::binary | std::ios::trunc);
    out << strCard;
  }
  std::string strError;
  ASSERT_TRUE(zel::test::InsertSimCardFile(CardPath(), &strError)) << strError;
  if (!CCtSvcDevSimMgr::Instance()->IsOpened()) {
    ASSERT_TRUE(CCtSvcDevSimMgr::Instance()->Open(nullptr));
  }
  ASSERT_TRUE(zel::test::VerifySimPin2("1234"));
  m_pContainer = Load();
  zel::test::ResetSimRequestCounts();
}

std::unique_ptr<TestFileContainer> SimUpdaterTest::Load() {
  auto pContainer = std::make_unique<TestFileContainer>();
  pContainer->Create(CCtSvcDevSimMgr::Instance()->GetCardType());
  auto load = [this](CCtSvcSimFile* pFile) {
    LoadListener listener;
    pFile->LoadFile(&listener);
    DrainEventHandler();
    EXPECT_EQ(1, listener.nLoaded) << pFile->GetClassName();
  };
  if (pContainer->GetPbrFile() != nullptr) {
    load(pContainer->GetPbrFile());
    pContainer->CreatePhonebook();
  }
  for (CCtSvcSimFile* pFile : pContainer->Files()) {
    load(pFile);
  }
  return pContainer;
}

std::string SimUpdaterTest::CardFile() const {
  std::ifstream in(CardPath(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

CCtSvcSimAdnRecord SimUpdaterTest::ReloadContact(int nGlobalIndex, bool* pbUsed) {
  CCtSvcSimAdnRecord record;
  std::unique_ptr<TestFileContainer> pCard = Load();
  if (pCard->GetPbrFile() == nullptr) {
    auto* pAdn = static_cast<CCtSvcAdnFile*>(pCard->GetSimFile(CTSVC_SIM_ADN));
    *pbUsed = pAdn->IsUsed(nGlobalIndex) != FALSE;
    if (*pbUsed) {
      char szText[CTSVC_SIM_DIAL_NAME_SIZE] = {};
      pAdn->GetName(nGlobalIndex, szText, sizeof(szText));
      record.SetName(szText);
      pAdn->GetPresentedNumber(nGlobalIndex, static_cast<CCtSvcExtFile*>(pCard->GetSimFile(CTSVC_SIM_EXT1)), szText,
                               sizeof(szText));
      record.SetPhoneNumber(szText);
    }
    return record;
  }
  std::vector<CtSvcSimPbrFileSet> vcSet;
  for (int p = 0; p < pCard->GetPbrFile()->GetMaxRecordCount(); ++p) {
    vcSet.push_back(pCard->Set(p));
  }
  int nPbr = -1;
  int nRecord = -1;
  *pbUsed = CtSvcSimGlobalToPbrIndex(vcSet, nGlobalIndex, &nPbr, &nRecord) &&
            vcSet[static_cast<size_t>(nPbr)].pAdnFile->IsUsed(nRecord) &&
            CtSvcSimLinkContact(*pCard->GetPbrFile(), nPbr, vcSet[static_cast<size_t>(nPbr)], nRecord, nGlobalIndex, &record);
  return record;
}

}  // namespace ctsvc_sim_updater_test
