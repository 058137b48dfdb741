// Writes a list of records (synchronisation data the SIM manager repaired) one after another and
// tells its owner when the last write has ended. Write results are not examined.
#ifndef CTSVC_SIM_MGR_FILE_UPDATER_H
#define CTSVC_SIM_MGR_FILE_UPDATER_H

#include <deque>
#include <functional>

#include "CtSvcSim/SimFile/CtSvcSimFile.h"

class CCtSvcSimMgrFileUpdater : public ICtSvcSimFileListener {
 public:
  // pfnDone runs (on the event context) once the queue has been written.
  explicit CCtSvcSimMgrFileUpdater(std::function<void()> pfnDone) : m_pfnDone(std::move(pfnDone)) {}

  void AddWork(int nRecordIndex, CCtSvcSimFile* pSimFile) { m_qWork.push_back({nRecordIndex, pSimFile}); }
  bool HasWork() const { return !m_qWork.empty(); }
  void Start();

  void OnLoaded(int, BOOL) override {}
  void OnUpdated(int nSimFileID, BOOL bSuccess) override;

 private:
  struct Work {
    int nRecordIndex;
    CCtSvcSimFile* pSimFile;
  };
  std::deque<Work> m_qWork;
  std::function<void()> m_pfnDone;
};

#endif
