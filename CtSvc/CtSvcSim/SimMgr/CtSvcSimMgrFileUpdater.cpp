#include "CtSvcSim/SimMgr/CtSvcSimMgrFileUpdater.h"

#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "ZelDebug.h"

void CCtSvcSimMgrFileUpdater::Start() {
  if (!ZEL_REQUIRE_TEXT(!m_qWork.empty(), "!m_qWork.empty()")) {
    return;
  }
  CCtSvcSimFile* pFile = m_qWork.front().pSimFile;
  if (!pFile->UpdateRecord(m_qWork.front().nRecordIndex, this)) {
    // Not sent: no answer will come, so it ends here and the next one goes.
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimMgrFileUpdater::Start - UpdateRecord(%d) is FAILED\n", pFile->GetSimFileID());
    OnUpdated(pFile->GetSimFileID(), FALSE);
  }
}

void CCtSvcSimMgrFileUpdater::OnUpdated(int nSimFileID, BOOL) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE_TEXT(!m_qWork.empty() && nSimFileID == m_qWork.front().pSimFile->GetSimFileID(),
                        "simFileID == m_qWork.front().pSimFile->GetSimFileID()")) {
    return;
  }
  m_qWork.pop_front();
  if (!m_qWork.empty()) {
    Start();
    return;
  }
  // The owner may delete this updater from the call.
  const std::function<void()> pfnDone = m_pfnDone;
  pfnDone();
}
