// The updaters' tests on the simulated card: a file container holding real file objects loaded
// from the inserted card, a listener that records every call, and reloading to see what the card
// holds.
#ifndef CTSVC_SIM_UPDATER_FIXTURE_H
#define CTSVC_SIM_UPDATER_FIXTURE_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CtSvcSim/DevSimMgr/CtSvcDevSimMgr.h"
#include "CtSvcSim/SimFile/CtSvcUsimPhonebook.h"
#include "CtSvcSim/SimMgr/ICtSvcSimFileContainer.h"
#include "CtSvcSim/SimUpdater/ICtSvcSimUpdater.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"
#include "ZelSimSampleCard.h"
#include "ZelSimTest.h"

namespace ctsvc_sim_updater_test {

struct Call {
  int nKind;  // CTSVC_SIM_UPDATER_INSERTING, _UPDATING, _DELETING
  int nSimFileID;
  int nRecordIndex;
  BOOL bSuccess;
};

class RecordingListener : public ICtSvcSimUpdateListener {
 public:
  void OnInsertRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override {
    vcCall.push_back({CTSVC_SIM_UPDATER_INSERTING, nSimFileID, nRecordIndex, bSuccess});
  }
  void OnUpdateRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override {
    vcCall.push_back({CTSVC_SIM_UPDATER_UPDATING, nSimFileID, nRecordIndex, bSuccess});
  }
  void OnDeleteRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) override {
    vcCall.push_back({CTSVC_SIM_UPDATER_DELETING, nSimFileID, nRecordIndex, bSuccess});
  }
  std::vector<Call> vcCall;
};

// The files of the inserted card, each loaded through the file layer.
class TestFileContainer : public ICtSvcSimFileContainer {
 public:
  int GetCardType() const override { return m_nCardType; }
  BOOL IsSingleAdnFile() const override { return m_pPbrFile == nullptr; }
  CCtSvcSimFile* GetSimFile(int nSimFileID, int nPbrIndex = 0, int nSubIndex = 0) const override;

  // Creates the files the card type has; the test loads each of Files() in order.
  void Create(int nCardType);
  // After the PBR loaded: the phonebook files it lists.
  void CreatePhonebook();
  CCtSvcPbrFile* GetPbrFile() const { return m_pPbrFile.get(); }
  std::vector<CCtSvcSimFile*> Files() const;
  const CtSvcSimPbrFileSet& Set(int nPbrIndex) const { return m_phonebook.GetSets().at(static_cast<size_t>(nPbrIndex)); }

 private:
  template <class TFile>
  void _Add(int nSimFileID) {
    m_own[nSimFileID] = std::make_unique<TFile>();
  }
  int m_nCardType = CTSVC_SIM_CARD_TYPE_UNKNOWN;
  std::unique_ptr<CCtSvcPbrFile> m_pPbrFile;
  CCtSvcUsimPhonebookFiles m_phonebook;
  std::map<int, std::unique_ptr<CCtSvcSimFile>> m_own;
};

class SimUpdaterTest : public ctsvc_test::ServiceTest {
 protected:
  void TearDown() override;
  // Inserts the card and opens the SIM.
  void InsertCard(const std::string& strCard);
  void InsertSample(zel::sim::SampleCardType type) { InsertCard(zel::sim::BuildSampleCard(type, false)); }
  std::string CardPath() const { return m_dir.File("card.json"); }
  // The card file as it is on disk.
  std::string CardFile() const;
  // A container with every file of the card loaded.
  std::unique_ptr<TestFileContainer> Load();
  std::unique_ptr<ICtSvcSimUpdater> Updater(int nSimFileID) { return CtSvcSimCreateUpdater(nSimFileID, m_pContainer.get()); }
  // Waits until every answer sent reached the updaters.
  void Settle() { DrainEventHandler(); }
  // Writes sent to the file since the counts were reset.
  static int Writes(const CCtSvcSimFile* pFile) {
    return zel::test::SimRequestCount(static_cast<uint32_t>(pFile->GetTelephonyFileID()), zel::test::SimOp::Update);
  }
  // The ADN contact of the global index as a fresh load of the card gives it.
  CCtSvcSimAdnRecord ReloadContact(int nGlobalIndex, bool* pbUsed);

  std::unique_ptr<TestFileContainer> m_pContainer;
  RecordingListener m_listener;
};

}  // namespace ctsvc_sim_updater_test

#endif
