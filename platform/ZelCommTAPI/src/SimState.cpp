// The inserted card and the delivery of answers on the connection's event handler.
#include "SimState.h"

#include <sys/stat.h>

#include "FmInternal.h"
#include "WmInternal.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelImmortal.h"
#include "ZelMem.h"

namespace zel::sim {

namespace {

// Identity of a card file's present content (path, size, change time): a refused file is read
// again only once it changed.
std::string FileStamp(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    return std::string();
  }
  return path + ":" + std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) + "." +
         std::to_string(st.st_mtim.tv_nsec);
}

void Deliver(const Answer& answer) {
  SimState& state = TheSim();
  SimEventCallback pfnCallback = answer.pfnFixed;
  void* pData = nullptr;
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    if (answer.bRequest && state.nOutstandingSeq == answer.nSeq) {
      state.nOutstandingSeq = 0;  // the callback may send the next request
    }
    if (pfnCallback == nullptr) {
      auto it = state.connections.find(answer.hSim);
      if (it == state.connections.end()) {
        return;  // closed meanwhile: nobody to tell
      }
      pfnCallback = it->second.pfnCallback;
    }
    if (answer.bData) {
      pData = MemAllocTraceEx(answer.data.size() > 0 ? answer.data.size() : 1, __FILE__, __LINE__);
      if (pData == nullptr) {
        DbgPrint(DBG_CLASS_FAIL, "SimEvent: - event %d dropped: no memory\n", answer.nEventType);
        return;
      }
      std::copy(answer.data.begin(), answer.data.end(), static_cast<uint8_t*>(pData));
    }
  }
  pfnCallback(answer.nStatus, answer.nEventType, pData, answer.nParam);
}

}  // namespace

SimState& TheSim() {
  static Immortal<SimState> s_state;  // answers may still be posted while the process exits
  return s_state.Get();
}

Card* CurrentCard(SimState& state) {
  if (state.bTestCard) {
    return state.pCard.get();
  }
  const std::string path = std::string(ZelGetDataDir()) + "/sim/card.json";
  if (state.pCard != nullptr && state.cardHostPath == path) {
    return state.pCard.get();
  }
  const std::string stamp = FileStamp(path);
  if (stamp.empty() || stamp == state.refusedStamp) {
    if (state.pCard != nullptr) {
      InstallCard(state, nullptr, std::string());
    }
    return nullptr;
  }
  std::string text;
  std::string error;
  auto pCard = std::make_unique<Card>();
  if (!internal::ReadWholeFile(path, &text) || !ParseCard(text, pCard.get(), &error)) {
    state.refusedStamp = stamp;
    state.cardError = "sim/card.json: " + (error.empty() ? std::string("cannot be read") : error);
    DbgPrint(DBG_CLASS_FAIL, "SimCard: - card refused: %s\n", state.cardError.c_str());
    InstallCard(state, nullptr, std::string());
    return nullptr;
  }
  InstallCard(state, std::move(pCard), path);
  return state.pCard.get();
}

void InstallCard(SimState& state, std::unique_ptr<Card> pCard, const std::string& hostPath) {
  if (pCard != nullptr || state.pCard != nullptr) {
    SetCardImsi(pCard != nullptr ? pCard->imsi : std::string());
  }
  if (pCard != nullptr) {
    state.cardError.clear();
    state.refusedStamp.clear();
  }
  state.pCard = std::move(pCard);
  state.cardHostPath = hostPath;
  state.bPin1 = true;
  state.bPin2 = false;
  state.held.clear();
  state.nOutstandingSeq = 0;
}

void PostAnswer(SimState& state, Answer answer) {
  if (answer.bRequest && state.bHold) {
    state.held.push_back(std::move(answer));
    return;
  }
  HOBJ hHandler = answer.hFixedHandler;
  if (answer.pfnFixed == nullptr) {
    auto it = state.connections.find(answer.hSim);
    hHandler = it != state.connections.end() ? it->second.hEventHandler : INVALID_HOBJ;
  }
  const int nEventType = answer.nEventType;
  const uint64_t nSeq = answer.nSeq;
  if (!internal::WmPostCall(hHandler, [answer = std::move(answer)] { Deliver(answer); })) {
    DbgPrint(DBG_CLASS_FAIL, "SimEvent: - event %d dropped: the connection's event handler is gone\n", nEventType);
    if (state.nOutstandingSeq == nSeq) {
      state.nOutstandingSeq = 0;
    }
  }
}

bool SaveCard(SimState& state) {
  if (state.cardHostPath.empty()) {
    return true;
  }
  const std::string text = CardText(*state.pCard);
  if (state.bWriteFault) {
    // What a writer killed half-way leaves: part of a temporary file, the card file untouched.
    state.bWriteFault = false;
    const std::string tmp = state.cardHostPath + ".tmp-stopped";
    internal::WriteFileAtomic(tmp, text.substr(0, text.size() / 2));
    DbgPrint(DBG_CLASS_FAIL, "SimCard: - writing %s stopped\n", state.cardHostPath.c_str());
    return false;
  }
  return internal::WriteFileAtomic(state.cardHostPath, text);
}

}  // namespace zel::sim
