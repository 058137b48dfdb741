// Loading a whole SIM phonebook through the service's SIM file layer (file objects, the device
// SIM manager, decoding every record), against the simulated card answering the same sequence of
// requests to a bare callback that decodes nothing: a full 250-record ADN of a GSM card, and a
// full USIM with two PBR records (every record of every phonebook file used). The figures are the
// CPU time of the whole process per load.
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <cstdio>
#include <mutex>

#include "BenchEnv.h"
#include "BenchCards.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "CtSvcSim/DevSimMgr/CtSvcDevSimMgr.h"
#include "SimCardFiles.h"
#include "ZelSimSampleCard.h"
#include "ZelSimTest.h"
#include "ZelMem.h"
#include "ZelWm.h"

namespace ctsvc_bench {

namespace {

// CPU time of every thread of the process: the card and the service answer on the "CTSVC" thread
// while the caller waits, and a busy machine's scheduling does not enter the figure.
double ProcessCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Waits for the end of a write the card reports on the "CTSVC" thread.
class WriteWaiter : public ICtSvcSimFileListener {
 public:
  void OnLoaded(int, BOOL) override {}
  void OnUpdated(int, BOOL) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bDone = true;
    m_cond.notify_all();
  }
  void Write(CCtSvcSimFile* pFile, int nRecordIndex) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_bDone = false;
    }
    if (!pFile->UpdateRecord(nRecordIndex, this)) {
      return;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cond.wait(lock, [this] { return m_bDone; });
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_cond;
  bool m_bDone = false;
};

// Fills the slot of a phonebook file with a value of its kind.
void FillSlot(CCtSvcSimFile* pFile, int i) {
  const std::string strNumber = "0301234" + std::to_string(100 + i);
  if (auto* pDial = dynamic_cast<CCtSvcDialNumberFile*>(pFile)) {
    pDial->SetName(i, ("Contact " + std::to_string(pFile->GetPbrIndex()) + "-" + std::to_string(i)).c_str());
    pDial->SetPhoneNumber(i, ("+49" + strNumber).c_str());
  } else if (auto* pAnr = dynamic_cast<CCtSvcAnrFile*>(pFile)) {
    pAnr->SetAdditionalNumber(i, strNumber.c_str());
    pAnr->SetAdnLink(i, 0, static_cast<UINT8>(i));
  } else if (auto* pText = dynamic_cast<CCtSvcSimTextFile*>(pFile)) {
    pText->SetText(i, ("person" + std::to_string(i) + ".mail").c_str());
    pText->SetAdnLink(i, 0, static_cast<UINT8>(i));
  } else if (auto* pIap = dynamic_cast<CCtSvcIapFile*>(pFile)) {
    pIap->SetIndex(i, 0, static_cast<UINT8>(i));
  } else if (auto* pGrp = dynamic_cast<CCtSvcGrpFile*>(pFile)) {
    pGrp->SetGASIndex(i, 0, 0);
  } else if (auto* pUid = dynamic_cast<CCtSvcUidFile*>(pFile)) {
    pUid->SetUID(i, static_cast<UINT16>(1 + i + 100 * pFile->GetPbrIndex()));
  } else if (auto* pExt = dynamic_cast<CCtSvcExtFile*>(pFile)) {
    pExt->SetRecordType(i, CTSVC_SIM_EXT_TYPE_ADDITIONAL_DATA);
    pExt->SetExtensionData(i, "1234");
  }
}

// The sample USIM with every record of every phonebook file written through the file layer.
std::string FullUsimCard() {
  zel::test::InsertSimCardText(zel::sim::BuildSampleCard(zel::sim::SampleCardType::Usim, false));
  ctsvc_tool::SimCardFiles files;
  files.bUsim = true;
  ctsvc_tool::SimFileLoader loader;
  ctsvc_tool::LoadSimCardFiles(&files, &loader);
  WriteWaiter waiter;
  for (CCtSvcSimFile* pFile : files.vcpFile) {
    for (int i = 0; i < pFile->GetMaxRecordCount(); ++i) {
      if (!pFile->IsUsed(i) && pFile->PrepareInsertRecord(i)) {
        FillSlot(pFile, i);
        waiter.Write(pFile, i);
      }
    }
  }
  return zel::test::SimCardText();
}

// The card answering the service's sequence of requests to a callback of its own: file
// information, a search for empty records on a USIM (not the PBR), the reads of the used records.
class RawLoader {
 public:
  RawLoader() {
    s_pLoader = this;
    const HOBJ hPrevious = WmGetCurrentEventHandler();
    WmSetCurrentEventHandler(WmGetEventHandlerByName("CTSVC"));
    m_hSim = SimOpen(&RawLoader::Callback);
    WmSetCurrentEventHandler(hPrevious);
  }
  ~RawLoader() {
    SimClose(m_hSim);
    s_pLoader = nullptr;
  }
  RawLoader(const RawLoader&) = delete;
  RawLoader& operator=(const RawLoader&) = delete;

  // Loads the files of the ids in order; true when every answer came.
  bool Load(const std::vector<UINT32>& vcFileID, bool bUsim) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_vcFileID = vcFileID;
    m_bUsim = bUsim;
    m_nFile = 0;
    m_bDone = false;
    lock.unlock();
    StartFile();
    lock.lock();
    return m_cond.wait_for(lock, std::chrono::seconds(30), [this] { return m_bDone; });
  }

 private:
  static void Callback(int nStatus, int nType, void* pData, UINT32) {
    if (s_pLoader != nullptr) {
      s_pLoader->OnEvent(nStatus, nType, pData);
    }
    MemFreeTraceMultiHeap(pData, __FILE__, __LINE__);
  }
  void StartFile() {
    if (m_nFile >= m_vcFileID.size()) {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_bDone = true;
      m_cond.notify_all();
      return;
    }
    if (!SimGetFileInfo(m_hSim, m_vcFileID[m_nFile])) {
      NextFile();
    }
  }
  void NextFile() {
    ++m_nFile;
    StartFile();
  }
  void ReadNext() {
    if (m_vcRead.empty()) {
      NextFile();
      return;
    }
    SimReadFileReq req{};
    req.fileID = m_vcFileID[m_nFile];
    req.accessMode = m_bTransparent ? SIM_ACCESS_MODE_TRANSPARENT : SIM_ACCESS_MODE_RECORD;
    req.recordNum = m_bTransparent ? 0 : m_vcRead.front();
    req.count = 1;
    req.recordLen = m_nRecordLen;
    m_vcRead.erase(m_vcRead.begin());
    if (!SimReadFile(m_hSim, &req)) {
      NextFile();
    }
  }
  void OnEvent(int nStatus, int nType, void* pData) {
    if (nType == SIM_EVENT_GET_FILE_INFO) {
      const auto* pInfo = static_cast<const SimFileInfoEventData*>(pData);
      m_bTransparent = pInfo == nullptr || pInfo->structure != SIM_FILE_STRUCTURE_LINEAR_FIXED;
      m_nRecordLen = pInfo != nullptr ? pInfo->recordLen : 0;
      m_nRecordCount = pInfo != nullptr ? pInfo->recordCount : 0;
      if (nStatus != 0 || m_nRecordLen == 0) {
        NextFile();
        return;
      }
      m_vcRead.clear();
      if (m_bTransparent) {
        m_vcRead.push_back(0);
      } else if (m_bUsim && m_vcFileID[m_nFile] != 0xFF01) {
        SimSearchRecordReq req{};
        req.fileID = m_vcFileID[m_nFile];
        req.searchMode = 1;
        req.recordCount = m_nRecordCount;
        req.firstRecord = 1;
        req.matchKind = 4;
        req.recordLen = m_nRecordLen;
        std::memset(req.pattern, 0xFF, sizeof(req.pattern));
        if (SimSearchRecord(m_hSim, &req)) {
          return;
        }
      }
      for (UINT32 n = 1; n <= m_nRecordCount; ++n) {
        m_vcRead.push_back(n);
      }
      ReadNext();
    } else if (nType == SIM_EVENT_SEARCH_RECORD) {
      std::vector<bool> vcEmpty(m_nRecordCount + 1, false);
      const auto* pFound = static_cast<const SimSearchEventData*>(pData);
      for (UINT32 i = 0; pFound != nullptr && nStatus == 0 && i < pFound->dataLen; ++i) {
        vcEmpty[pFound->pData[i] <= m_nRecordCount ? pFound->pData[i] : 0] = true;
      }
      for (UINT32 n = 1; n <= m_nRecordCount; ++n) {
        if (!vcEmpty[n]) {
          m_vcRead.push_back(n);
        }
      }
      ReadNext();
    } else if (nType == SIM_EVENT_READ_FILE) {
      ReadNext();
    }
  }

  static RawLoader* s_pLoader;
  HOBJ m_hSim = INVALID_HOBJ;
  std::vector<UINT32> m_vcFileID;
  bool m_bUsim = false;
  size_t m_nFile = 0;
  bool m_bTransparent = false;
  UINT32 m_nRecordLen = 0;
  UINT32 m_nRecordCount = 0;
  std::vector<UINT32> m_vcRead;
  std::mutex m_mutex;
  std::condition_variable m_cond;
  bool m_bDone = false;
};

RawLoader* RawLoader::s_pLoader = nullptr;

// A service on an empty store, the card of the benchmark inserted.
struct SimBenchEnv {
  explicit SimBenchEnv(bool bUsim) : session((dir.CopyFrom(EmptyStoreDir()), dir.Path())) {
    zel::test::ResetSim();
    strCard = bUsim ? FullUsimCard() : FullGsmCard();
    zel::test::InsertSimCardText(strCard);
    CCtSvcDevSimMgr::Instance()->Open(nullptr);
  }
  ~SimBenchEnv() {
    CCtSvcDevSimMgr::Instance()->Close(nullptr);
    WmWaitEventHandlerIdle(WmGetEventHandlerByName("CTSVC"), 10000);
    zel::test::ResetSim();
  }
  TempDir dir;
  ServiceSession session;
  std::string strCard;
};

// The service's load of the card into the files; their telephony ids in load order.
std::vector<UINT32> ServiceLoad(bool bUsim, ctsvc_tool::SimCardFiles* pFiles) {
  pFiles->bUsim = bUsim;
  ctsvc_tool::SimFileLoader loader;
  std::vector<UINT32> vcFileID;
  if (!ctsvc_tool::LoadSimCardFiles(pFiles, &loader)) {
    return vcFileID;
  }
  if (bUsim) {
    vcFileID.push_back(static_cast<UINT32>(pFiles->pPbrFile->GetTelephonyFileID()));
  }
  for (CCtSvcSimFile* pFile : pFiles->vcpFile) {
    vcFileID.push_back(static_cast<UINT32>(pFile->GetTelephonyFileID()));
  }
  return vcFileID;
}

void Service(benchmark::State& state, bool bUsim) {
  SimBenchEnv env(bUsim);
  for (auto _ : state) {
    zel::test::InsertSimCardText(env.strCard);
    auto pFiles = std::make_unique<ctsvc_tool::SimCardFiles>();
    const double dStart = ProcessCpuSeconds();
    const bool bLoaded = !ServiceLoad(bUsim, pFiles.get()).empty();
    state.SetIterationTime(ProcessCpuSeconds() - dStart);
    pFiles.reset();  // the service keeps its files: releasing them is not part of the load
    if (!bLoaded) {
      state.SkipWithError("the card did not load");
      break;
    }
  }
}

void Raw(benchmark::State& state, bool bUsim) {
  SimBenchEnv env(bUsim);
  ctsvc_tool::SimCardFiles files;
  const std::vector<UINT32> vcFileID = ServiceLoad(bUsim, &files);
  RawLoader raw;
  for (auto _ : state) {
    zel::test::InsertSimCardText(env.strCard);
    const double dStart = ProcessCpuSeconds();
    const bool bLoaded = raw.Load(vcFileID, bUsim);
    state.SetIterationTime(ProcessCpuSeconds() - dStart);
    if (!bLoaded) {
      state.SkipWithError("the card did not answer");
      break;
    }
  }
}

}  // namespace

void RegisterSimBenchmarks() {
  Register("sim_load_raw/gsm250", 1, "", {}, [](benchmark::State& state) { Raw(state, false); })->UseManualTime();
  Register("sim_load/gsm250", 1, "sim_load_raw/gsm250", MaxRatio(1.1, "< 10 % over the card"),
           [](benchmark::State& state) { Service(state, false); })
      ->UseManualTime();
  Register("sim_load_raw/usim2pbr", 1, "", {}, [](benchmark::State& state) { Raw(state, true); })->UseManualTime();
  Register("sim_load/usim2pbr", 1, "sim_load_raw/usim2pbr", MaxRatio(1.1, "< 10 % over the card"),
           [](benchmark::State& state) { Service(state, true); })
      ->UseManualTime();
}

}  // namespace ctsvc_bench
