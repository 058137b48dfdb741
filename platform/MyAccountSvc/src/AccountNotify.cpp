// Registrations of removed/updated callbacks and the delivery of notifications: synchronously when
// the registration had no current event handler, else as MYACCOUNTSVC_EVENT_NOTIFY queued to that
// handler. A queued notification is kept here under a sequence number (the event's nParam1) until
// the handler runs it, so an event dropped by a deleted handler leaves nothing unowned behind.
#include <map>
#include <mutex>
#include <vector>

#include "AccountInternal.h"
#include "ZelDebug.h"

namespace {

using myaccount::internal::Change;

struct Registration {
  MyAccountNotifyProc pfnOnRemoved;
  MyAccountNotifyProc pfnOnUpdated;
  HOBJ hEventHandler;  // INVALID_HOBJ: notified synchronously
};

struct Pending {
  MyAccountNotifyProc pfn;
  MyAccount account;
  HOBJ hEventHandler;
};

struct NotifyState {
  std::mutex mutex;
  std::vector<Registration> registrations;
  std::map<INT32, Pending> pending;
  INT32 nNextSeq = 1;
};

NotifyState& TheState() { return myaccount::internal::Persistent<NotifyState>(); }

// Forgets notices queued to handlers that no longer exist. Called with the lock held.
void DropOrphans(NotifyState& state) {
  for (auto it = state.pending.begin(); it != state.pending.end();) {
    it = WmIsEventHandlerValid(it->second.hEventHandler) ? std::next(it) : state.pending.erase(it);
  }
}

INT32 AddPending(const Pending& pending) {
  NotifyState& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  DropOrphans(state);
  INT32 nSeq = state.nNextSeq++;
  if (state.nNextSeq <= 0) {
    state.nNextSeq = 1;
  }
  state.pending[nSeq] = pending;
  return nSeq;
}

bool TakePending(INT32 nSeq, Pending* pPending) {
  NotifyState& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  auto it = state.pending.find(nSeq);
  if (it == state.pending.end()) {
    return false;
  }
  *pPending = it->second;
  state.pending.erase(it);
  return true;
}

void Deliver(MyAccountNotifyProc pfn, HOBJ hEventHandler, const MyAccount& account) {
  if (hEventHandler == INVALID_HOBJ) {
    const MyAccount copy = account;
    pfn(&copy);
    return;
  }
  const INT32 nSeq = AddPending(Pending{pfn, account, hEventHandler});
  WmEvent event{};
  event.nEventId = MYACCOUNTSVC_EVENT_NOTIFY;
  event.nParam1 = nSeq;
  event.nParam2 = account.nOrder;
  if (!WmSendEvent(hEventHandler, &event)) {
    Pending dropped{};
    TakePending(nSeq, &dropped);
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvc: - notification of account %d dropped, its event handler is gone\n",
             account.nOrder);
  }
}

std::vector<Registration>::iterator FindPair(std::vector<Registration>& regs, MyAccountNotifyProc pfnOnRemoved,
                                             MyAccountNotifyProc pfnOnUpdated) {
  for (auto it = regs.begin(); it != regs.end(); ++it) {
    if (it->pfnOnRemoved == pfnOnRemoved && it->pfnOnUpdated == pfnOnUpdated) {
      return it;
    }
  }
  return regs.end();
}

}  // namespace

namespace myaccount::internal {

void Notify(Change change, const MyAccount& account) {
  std::vector<Registration> registrations;
  {
    NotifyState& state = TheState();
    std::lock_guard<std::mutex> lock(state.mutex);
    registrations = state.registrations;
  }
  for (const Registration& reg : registrations) {
    MyAccountNotifyProc pfn = change == Change::Removed ? reg.pfnOnRemoved : reg.pfnOnUpdated;
    if (pfn != nullptr) {
      Deliver(pfn, reg.hEventHandler, account);
    }
  }
}

}  // namespace myaccount::internal

extern "C" BOOL MyAccountSvcRegisterNotification(MyAccountNotifyProc pfnOnRemoved, MyAccountNotifyProc pfnOnUpdated) {
  if (pfnOnRemoved == nullptr && pfnOnUpdated == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcRegisterNotification: - no callback\n");
    return FALSE;
  }
  const HOBJ hCurrent = WmGetCurrentEventHandler();
  NotifyState& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  auto it = FindPair(state.registrations, pfnOnRemoved, pfnOnUpdated);
  if (it != state.registrations.end()) {
    it->hEventHandler = hCurrent;
  } else {
    state.registrations.push_back(Registration{pfnOnRemoved, pfnOnUpdated, hCurrent});
  }
  return TRUE;
}

extern "C" BOOL MyAccountSvcUnregisterNotification(MyAccountNotifyProc pfnOnRemoved, MyAccountNotifyProc pfnOnUpdated) {
  NotifyState& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  auto it = FindPair(state.registrations, pfnOnRemoved, pfnOnUpdated);
  if (it == state.registrations.end()) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcUnregisterNotification: - not registered\n");
    return FALSE;
  }
  state.registrations.erase(it);
  return TRUE;
}

extern "C" int MyAccountSvcHandleEvent(WmEHState* /*pState*/, WmEvent* pEvent) {
  if (pEvent == nullptr || pEvent->nEventId != MYACCOUNTSVC_EVENT_NOTIFY) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcHandleEvent: - not an account notification\n");
    return 0;
  }
  Pending pending{};
  if (!TakePending(pEvent->nParam1, &pending)) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcHandleEvent: - notification %d is unknown\n", pEvent->nParam1);
    return 0;
  }
  pending.pfn(&pending.account);
  return 1;
}
