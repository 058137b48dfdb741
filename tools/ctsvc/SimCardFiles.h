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
#include "SimPhonebook.h"

namespace ctsvc_tool {

// Loads files one after another: each file is started when the one before has ended, on the
// "CTSVC" thread where the card reports the end (as the service's own file container chains its
// loads); the caller waits on a condition until the last one has ended.
class SimFileLoader : public ICtSvcSimFileListener {
 public:
  // Whether each file loaded.
  std::vector<bool> LoadAll(const std::vector<CCtSvcSimFile*>& vcpFile) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_vcpFile = vcpFile;
      m_vcResult.assign(vcpFile.size(), false);
      m_vcEnded.assign(vcpFile.size(), false);
      m_nNext = 0;
      m_bDone = false;
    }
    _StartNext();
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_cond.wait_for(lock, kAnswerTimeout, [this] { return m_bDone; })) {
      std::fprintf(stderr, "ctsvc: the card stopped answering\n");
    }
    return m_vcResult;
  }
  bool Load(CCtSvcSimFile* pFile) { return LoadAll({pFile})[0]; }

  void OnLoaded(int, BOOL bSuccess) override {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_vcResult[m_nCurrent] = bSuccess != FALSE;
      m_vcEnded[m_nCurrent] = true;
    }
    _StartNext();
  }
  void OnUpdated(int, BOOL) override {}

 private:
  void _StartNext() {
    for (;;) {
      size_t n;
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_nNext >= m_vcpFile.size()) {
          m_bDone = true;
          m_cond.notify_all();
          return;
        }
        n = m_nCurrent = m_nNext++;
      }
      if (m_vcpFile[n]->LoadFile(this)) {
        return;  // its end starts the next one
      }
      std::lock_guard<std::mutex> lock(m_mutex);
      if (m_vcEnded[n]) {
        return;  // ended at once: its end already went on with the rest
      }
      m_vcEnded[n] = true;  // refused before any request: no end will come
    }
  }

  std::mutex m_mutex;
  std::condition_variable m_cond;
  std::vector<CCtSvcSimFile*> m_vcpFile;
  std::vector<bool> m_vcResult;
  std::vector<bool> m_vcEnded;
  size_t m_nNext = 0;
  size_t m_nCurrent = 0;
  bool m_bDone = false;
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
  dump.vcLoaded = pLoader->LoadAll(dump.vcpFile);
  return true;
}

}  // namespace ctsvc_tool

#endif
