// Gives the SIM C API what it needs of the phonebook (its FDN check reloads the ADN group through
// the manager): installed when the phonebook starts.
#include "CtSvcPhonebookMgr/CtSvcPhonebookSimSeam.h"

#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcSimCi/CtSvcSimPhonebookSeam.h"

namespace {

// Reports the end of a reload to the SIM API's init callback.
class CCtSvcSimReloadListener : public ICtSvcPhonebookListener {
 public:
  void Set(int nMask, CtSvcSimInitCallback pfnCallback, void* pUserData) {
    m_nMask = nMask;
    m_pfnCallback = pfnCallback;
    m_pUserData = pUserData;
  }
  BOOL OnInitPhonebook(BOOL bResult) override {
    if (m_pfnCallback == nullptr) {
      return FALSE;
    }
    m_pfnCallback(m_nMask, bResult, m_pUserData);
    return TRUE;
  }
  BOOL OnInsertRecord(int, int) override { return FALSE; }
  BOOL OnUpdateRecord(int, int) override { return FALSE; }
  BOOL OnDeleteRecord(int, int) override { return FALSE; }

 private:
  int m_nMask = 0;
  CtSvcSimInitCallback m_pfnCallback = nullptr;
  void* m_pUserData = nullptr;
};

CCtSvcSimReloadListener g_reloadListener;

BOOL IsInitialized() { return CCtSvcPhonebookMgr::Instance()->IsInitializedPhonebook(); }

void SetInitState(int nState) { CCtSvcPhonebookMgr::Instance()->SetPhonebookInitState(nState); }

BOOL ReloadSimRecord(int nMask, CtSvcSimInitCallback pfnCallback, void* pUserData) {
  g_reloadListener.Set(nMask, pfnCallback, pUserData);
  return CCtSvcPhonebookMgr::Instance()->ReloadSimRecord(nMask, &g_reloadListener);
}

}  // namespace

void CtSvcPhonebookInstallSimSeam() {
  static const CtSvcSimPhonebookHooks kHooks = {&IsInitialized, &SetInitState, &ReloadSimRecord};
  CtSvcSimSetPhonebookHooks(&kHooks);
}
