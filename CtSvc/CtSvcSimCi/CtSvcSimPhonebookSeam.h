// What the SIM C API needs of the phonebook manager, reached through hooks until that manager
// exists: whether the phonebook is initialised, its init state, and a reload of SIM groups.
#ifndef CTSVC_SIM_PHONEBOOK_SEAM_H
#define CTSVC_SIM_PHONEBOOK_SEAM_H

#include "CtSvcSimCi.h"

struct CtSvcSimPhonebookHooks {
  BOOL (*pfnIsInitialized)();
  void (*pfnSetInitState)(int nState);
  BOOL (*pfnReloadSimRecord)(int nMask, CtSvcSimInitCallback pfnCallback, void* pUserData);
};

// Installs the hooks (null: none; the phonebook then counts as not initialised).
void CtSvcSimSetPhonebookHooks(const CtSvcSimPhonebookHooks* pHooks);

// Whether the phonebook reports itself initialised (FALSE without hooks).
BOOL CtSvcSimPhonebookIsInitialized();

#endif
