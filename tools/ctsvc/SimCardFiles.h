// Loading every phonebook file of the inserted card through the service's SIM file layer, one
// file at a time, waiting for the end each file reports on the "CTSVC" thread.
#ifndef CTSVC_TOOL_SIM_CARD_FILES_H
#define CTSVC_TOOL_SIM_CARD_FILES_H

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "CtSvcSim/SimFile/CtSvcUsimPhonebook.h"

namespace ctsvc_tool {

constexpr auto kAnswerTimeout = std::chrono::seconds(30);

// Loads one file at a time and waits for its end, which the card reports on the "CTSVC" thread.
class SimFileLoader : public ICtSvcSimFileListener {
 public:
  bool Load(CCtSvcSimFile* pFile) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_bDone = false;
      m_bResult = false;
    }
    const BOOL bSent = pFile->LoadFile(this);
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!bSent && !m_bDone) {
      return false;  // refused before any request: no end will be reported
    }
    if (!m_cond.wait_for(lock, kAnswerTimeout, [this] { return m_bDone; })) {
      std::fprintf(stderr, "ctsvc: sim dump: the card did not answer for %s\n", pFile->GetClassName());
      return false;
    }
    return m_bResult;
  }
  void OnLoaded(int, BOOL bSuccess) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bDone = true;
    m_bResult = bSuccess != FALSE;
    m_cond.notify_all();
  }
  void OnUpdated(int, BOOL) override {}

 private:
  std::mutex m_mutex;
  std::condition_variable m_cond;
  bool m_bDone = false;
  bool m_bResult = false;
};

// The phonebook files of the inserted card, in the order they are loaded and shown.
struct SimCardFiles {
  std::vector<std::unique_ptr<CCtSvcSimFile>> vcpOwned;
  std::unique_ptr<CCtSvcPbrFile> pPbrFile;
  CCtSvcUsimPhonebookFiles usim;
  std::vector<CCtSvcSimFile*> vcpFile;  // in the order they are shown
  std::vector<bool> vcLoaded;
  std::map<int, CCtSvcExtFile*> mapExt;  // internal id -> extension file
  bool bUsim = false;

  template <class TFile, class... Args>
  TFile* Add(Args... args) {
    vcpOwned.push_back(std::make_unique<TFile>(args...));
    vcpFile.push_back(vcpOwned.back().get());
    return static_cast<TFile*>(vcpOwned.back().get());
  }
};

// Adds the files outside the USIM phonebook (and on a GSM card its ADN and EXT1).
inline void AddCardFiles(SimCardFiles* pDump) {
  SimCardFiles& dump = *pDump;
  if (!dump.bUsim) {
    dump.Add<CCtSvcAdnFile>(0);
    dump.mapExt[CTSVC_SIM_EXT1] = dump.Add<CCtSvcExt1File>(0);
  }
  dump.Add<CCtSvcFdnFile>();
  dump.Add<CCtSvcSdnFile>();
  dump.Add<CCtSvcMsisdnFile>();
  dump.mapExt[CTSVC_SIM_EXT2] = dump.Add<CCtSvcExt2File>();
  dump.mapExt[CTSVC_SIM_EXT3] = dump.Add<CCtSvcExt3File>();
  if (dump.bUsim) {
    dump.mapExt[CTSVC_SIM_EXT5] = dump.Add<CCtSvcExt5File>();
  }
}

// Loads the PBR (USIM), creates the files it lists and loads every file; false when the PBR
// cannot be read.
inline bool LoadSimCardFiles(SimCardFiles* pDump, SimFileLoader* pLoader) {
  SimCardFiles& dump = *pDump;
  if (dump.bUsim) {
    dump.pPbrFile = std::make_unique<CCtSvcPbrFile>();
    if (!pLoader->Load(dump.pPbrFile.get())) {
      return false;
    }
    dump.usim.Build(*dump.pPbrFile);
    for (CCtSvcSimFile* pFile : dump.usim.GetFiles()) {
      dump.vcpFile.push_back(pFile);
      if (pFile->GetSimFileID() == CTSVC_SIM_EXT1) {
        dump.mapExt[CTSVC_SIM_EXT1] = static_cast<CCtSvcExtFile*>(pFile);
      }
    }
  }
  AddCardFiles(&dump);
  for (CCtSvcSimFile* pFile : dump.vcpFile) {
    dump.vcLoaded.push_back(pLoader->Load(pFile));
  }
  return true;
}

}  // namespace ctsvc_tool

#endif
