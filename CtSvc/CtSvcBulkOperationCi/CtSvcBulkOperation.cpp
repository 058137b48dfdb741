// The bulk C API: one operation at a time, kept in statics with its type and its C listener, run
// by the bulk handler.
#include <memory>

#include "CtSvcBulkOp.h"
#include "CtSvcBulkOperation/CtSvcBulkHandler.h"
#include "CtSvcBulkOperation/CtSvcBulkOpChangeOrder.h"
#include "CtSvcBulkOperation/CtSvcBulkOpCopyAdnToDb.h"
#include "CtSvcBulkOperation/CtSvcBulkOpDeleteDb.h"
#include "CtSvcBulkOperation/CtSvcBulkOpInsertDb.h"
#include "CtSvcBulkOperation/CtSvcBulkOpMember.h"
#include "CtSvcBulkOperation/CtSvcBulkOpMoveAdnToDb.h"
#include "CtSvcBulkOperation/CtSvcBulkOpMoveDbToAdn.h"
#include "CtSvcBulkOperationCi/CtSvcBulkListener.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbListener.h"
#include "ZelDebug.h"

namespace {

int g_nType = 0;
std::unique_ptr<ICtSvcBulkOperation> g_pOperation;
std::unique_ptr<CCtSvcBulkListener> g_pListener;

template <class T>
std::unique_ptr<ICtSvcBulkOperation> Make() {
  return std::make_unique<T>();
}

// The operation of each type, by type number.
using MakeFn = std::unique_ptr<ICtSvcBulkOperation> (*)();
const MakeFn kMakers[] = {
    nullptr,
    &Make<CCtSvcBulkOpInsertDb>,
    &Make<CCtSvcBulkOpInsertAdn>,
    &Make<CCtSvcBulkOpDeleteDb>,
    &Make<CCtSvcBulkOpDeleteAdn>,
    &Make<CCtSvcBulkOpCopyAdnToDb>,
    &Make<CCtSvcBulkOpCopyDbToAdn>,
    &Make<CCtSvcBulkOpMoveAdnToDb>,
    &Make<CCtSvcBulkOpMoveDbToAdn>,
    &Make<CCtSvcBulkOpChangeOrder>,
    &Make<CCtSvcBulkOpAddMemberDb>,
    &Make<CCtSvcBulkOpAddMemberAdn>,
    &Make<CCtSvcBulkOpRemoveMemberDb>,
    &Make<CCtSvcBulkOpRemoveMemberAdn>,
};
static_assert(sizeof(kMakers) / sizeof(kMakers[0]) == CTSVC_BULK_OP_REMOVE_MEMBER_ADN + 1, "one maker a type");

bool PausesListeners() {
  if (g_nType == CTSVC_BULK_OP_DELETE_DB) {
    return static_cast<CCtSvcBulkOpDeleteDb*>(g_pOperation.get())->IsMassDeleteMode();
  }
  return g_nType == CTSVC_BULK_OP_INSERT_DB || g_nType == CTSVC_BULK_OP_COPY_ADN_TO_DB;
}

template <class T>
T* OperationOf(int nType, const char* pszWho) {
  if (g_pOperation == nullptr || g_nType != nType) {
    DbgPrint(DBG_CLASS_FAIL, "%s - no operation of type %d (current type %d)\n", pszWho, nType, g_nType);
    return nullptr;
  }
  return static_cast<T*>(g_pOperation.get());
}

// The current operation as what a function feeds (person ids, a group); null (logged) when the
// current type takes no such thing.
template <class T>
T* OperationAs(const char* pszWho) {
  T* pTarget = dynamic_cast<T*>(g_pOperation.get());
  if (pTarget == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "%s - not for the current operation (type %d)\n", pszWho, g_nType);
  }
  return pTarget;
}

CCtSvcBulkHandler* Handler() { return CCtSvcBulkHandler::Instance(); }

}  // namespace

extern "C" BOOL CtSvcBulkOpCreate(int nType, CtSvcBulkOpStateCallback pfnCallback, void* pUserData) {
  CCtSvcModuleLock lock;
  if (g_pOperation != nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcBulkOpCreate - a bulk operation(type %d) exists already\n", g_nType);
    return FALSE;
  }
  if (!ZEL_REQUIRE(nType >= CTSVC_BULK_OP_INSERT_DB && nType <= CTSVC_BULK_OP_REMOVE_MEMBER_ADN)) {
    return FALSE;
  }
  std::unique_ptr<ICtSvcBulkOperation> pOperation = kMakers[nType]();
  const bool bAutoDestroy = nType == CTSVC_BULK_OP_CHANGE_ORDER && pfnCallback == nullptr;
  auto pListener = std::make_unique<CCtSvcBulkListener>(nType, pfnCallback, pUserData, bAutoDestroy);
  if (!Handler()->RegisterBulkOperation(pOperation.get(), pListener.get())) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcBulkOpCreate - CCtSvcBulkHandler::Instance()->RegisterBulkOperation failed\n");
    return FALSE;
  }
  g_nType = nType;
  g_pOperation = std::move(pOperation);
  g_pListener = std::move(pListener);
  return TRUE;
}

extern "C" BOOL CtSvcBulkOpDestroy(void) {
  CCtSvcModuleLock lock;
  if (g_pOperation == nullptr) {
    return FALSE;
  }
  const bool bResume = PausesListeners();
  Handler()->UnregisterBulkOperation();
  if (bResume) {
    CtSvcDbListenerResume();
  }
  // Held until the function ends: the listener may be the caller (a self-destroying change order).
  std::unique_ptr<CCtSvcBulkListener> pListener = std::move(g_pListener);
  g_pOperation.reset();
  g_nType = 0;
  return TRUE;
}

extern "C" BOOL CtSvcBulkOpAddContactRecord(int nDeviceType, const CtSvcContactInfo* pContactInfo) {
  CCtSvcModuleLock lock;
  if (g_nType == CTSVC_BULK_OP_INSERT_ADN && g_pOperation != nullptr) {
    if (!ZEL_REQUIRE(pContactInfo) || !ZEL_REQUIRE(nDeviceType == CTSVC_USE_TYPE_SIM)) {
      return FALSE;
    }
    return static_cast<CCtSvcBulkOpInsertAdn*>(g_pOperation.get())->AddContactRecord(*pContactInfo);
  }
  auto* pInsert = OperationOf<CCtSvcBulkOpInsertDb>(CTSVC_BULK_OP_INSERT_DB, "CtSvcBulkOpAddContactRecord");
  if (pInsert == nullptr || !ZEL_REQUIRE(pContactInfo) || !ZEL_REQUIRE(CtSvcIsStoreDeviceType(nDeviceType))) {
    return FALSE;
  }
  return pInsert->AddContactRecord(static_cast<CtSvcDeviceType>(nDeviceType), *pContactInfo);
}

extern "C" BOOL CtSvcBulkOpAddSimRecordIndex(int nRecordIndex) {
  CCtSvcModuleLock lock;
  auto* pInsert = OperationOf<CCtSvcBulkOpInsertDb>(CTSVC_BULK_OP_INSERT_DB, "CtSvcBulkOpAddSimRecordIndex");
  return pInsert != nullptr ? pInsert->AddAdnRecord(nRecordIndex) : FALSE;
}

extern "C" BOOL CtSvcBulkOpAddPersonId(int nPersonId) {
  CCtSvcModuleLock lock;
  auto* pTarget = OperationAs<ICtSvcBulkPersonIds>("CtSvcBulkOpAddPersonId");
  return pTarget != nullptr ? pTarget->AddPersonId(nPersonId) : FALSE;
}

extern "C" BOOL CtSvcBulkOpSetGroupId(int nGroupId) {
  CCtSvcModuleLock lock;
  auto* pTarget = OperationAs<CCtSvcBulkGroupTarget>("CtSvcBulkOpSetGroupId");
  if (pTarget == nullptr || !pTarget->SetGroupId(nGroupId)) {
    return FALSE;
  }
  g_pListener->SetGroupId(nGroupId);
  return TRUE;
}

extern "C" BOOL CtSvcBulkOpStart(void) {
  CCtSvcModuleLock lock;
  if (g_pOperation != nullptr && PausesListeners()) {
    CtSvcDbListenerPause();
  }
  return Handler()->Start();
}

extern "C" BOOL CtSvcBulkOpStop(void) { return Handler()->Stop(); }

extern "C" BOOL CtSvcBulkOpPause(void) { return Handler()->Pause(); }

extern "C" BOOL CtSvcBulkOpResume(void) { return Handler()->Resume(); }

extern "C" int CtSvcBulkOpGetState(void) { return Handler()->GetState(); }

extern "C" BOOL CtSvcBulkOpGetProgress(int* pnDone, int* pnTotal) { return Handler()->GetProgress(pnDone, pnTotal); }

extern "C" BOOL CtSvcBulkOpSetUnitCountAtOnce(int nCount) {
  CCtSvcModuleLock lock;
  return Handler()->SetUnitCountAtOnce(nCount);
}

extern "C" int CtSvcBulkOpGetUnitCountAtOnce(void) {
  CCtSvcModuleLock lock;
  return Handler()->GetUnitCountAtOnce();
}

extern "C" BOOL CtSvcBulkOpRegisterProgressCallback(CtSvcBulkOpProgressCallback pfnCallback) {
  CCtSvcModuleLock lock;
  if (g_pListener == nullptr) {
    return FALSE;
  }
  g_pListener->SetProgressCallback(pfnCallback);
  return TRUE;
}
