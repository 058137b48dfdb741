// Test API of the simulated card (ZelSimTest.h).
#include "FmInternal.h"
#include "SimState.h"
#include "ZelDebug.h"

using namespace zel::sim;

namespace {

std::lock_guard<std::mutex> Lock(SimState& state) { return std::lock_guard<std::mutex>(state.mutex); }

bool InsertParsed(const std::string& text, const std::string& hostPath, std::string* pError) {
  auto pCard = std::make_unique<Card>();
  std::string error;
  if (!ParseCard(text, pCard.get(), &error)) {
    if (pError != nullptr) {
      *pError = error;
    }
    return false;
  }
  SimState& state = TheSim();
  auto lock = Lock(state);
  state.bTestCard = true;
  InstallCard(state, std::move(pCard), hostPath);
  return true;
}

}  // namespace

namespace zel::test {

bool InsertSimCardText(const std::string& text, std::string* pError) {
  return InsertParsed(text, std::string(), pError);
}

bool InsertSimCardFile(const std::string& hostPath, std::string* pError) {
  std::string text;
  if (!zel::internal::ReadWholeFile(hostPath, &text)) {
    if (pError != nullptr) {
      *pError = hostPath + ": cannot be read";
    }
    return false;
  }
  return InsertParsed(text, hostPath, pError);
}

void RemoveSimCard() {
  SimState& state = TheSim();
  auto lock = Lock(state);
  std::deque<Answer> held = std::move(state.held);
  for (Answer& answer : held) {
    if (answer.undo) {
      answer.undo();
    }
  }
  state.bTestCard = true;
  InstallCard(state, nullptr, std::string());
  // A card pulled with a request in flight did not finish it (a held write was put back above):
  // the telephony layer answers that request with an error, so the requester is told once
  // instead of waiting for ever.
  const bool bHold = state.bHold;
  state.bHold = false;
  for (Answer& answer : held) {
    if (answer.bRequest) {
      answer.nStatus = SIM_STATUS_TECHNICAL_PROBLEM;
      answer.bData = false;
      answer.data.clear();
      answer.nParam = 0;
      PostAnswer(state, std::move(answer));
    }
  }
  state.bHold = bHold;
}

void ResetSim() {
  SimState& state = TheSim();
  auto lock = Lock(state);
  InstallCard(state, nullptr, std::string());
  state.bTestCard = false;
  state.refusedStamp.clear();
  state.cardError.clear();
  state.bHold = false;
  state.faults.clear();
  state.counts.clear();
  state.bWriteFault = false;
}

std::string SimCardText() {
  SimState& state = TheSim();
  auto lock = Lock(state);
  const Card* pCard = CurrentCard(state);
  return pCard != nullptr ? CardText(*pCard) : std::string();
}

void InjectSimFault(uint32_t nFileId, SimOp op, SimFault fault, int nTimes, int nStatus) {
  SimState& state = TheSim();
  auto lock = Lock(state);
  state.faults.push_back(Fault{nFileId, op, fault, nTimes, nStatus});
}

void ClearSimFaults() {
  SimState& state = TheSim();
  auto lock = Lock(state);
  state.faults.clear();
}

void InjectSimCardWriteFailure() {
  SimState& state = TheSim();
  auto lock = Lock(state);
  state.bWriteFault = true;
}

void HoldSimAnswers(bool bHold) {
  SimState& state = TheSim();
  auto lock = Lock(state);
  state.bHold = bHold;
}

bool ReleaseSimAnswer() {
  SimState& state = TheSim();
  auto lock = Lock(state);
  if (state.held.empty()) {
    return false;
  }
  Answer answer = std::move(state.held.front());
  state.held.pop_front();
  const bool bHold = state.bHold;
  state.bHold = false;  // this one goes out
  PostAnswer(state, std::move(answer));
  state.bHold = bHold;
  return true;
}

int HeldSimAnswerCount() {
  SimState& state = TheSim();
  auto lock = Lock(state);
  return static_cast<int>(state.held.size());
}

int SimRequestCount(uint32_t nFileId, SimOp op) {
  SimState& state = TheSim();
  auto lock = Lock(state);
  auto it = state.counts.find({nFileId, static_cast<int>(op)});
  return it != state.counts.end() ? it->second : 0;
}

void ResetSimRequestCounts() {
  SimState& state = TheSim();
  auto lock = Lock(state);
  state.counts.clear();
}

bool VerifySimPin2(const std::string& pin2) {
  SimState& state = TheSim();
  auto lock = Lock(state);
  const Card* pCard = CurrentCard(state);
  state.bPin2 = pCard != nullptr && !pCard->pin2.empty() && pCard->pin2 == pin2;
  return state.bPin2;
}

void SetSimPin1Verified(bool bVerified) {
  SimState& state = TheSim();
  auto lock = Lock(state);
  state.bPin1 = bVerified;
}

void SendSimEvent(int nStatus, int nEventType, const void* pData, size_t nSize, uint32_t nParam) {
  SimState& state = TheSim();
  auto lock = Lock(state);
  for (const auto& connection : state.connections) {
    Answer answer;
    answer.hSim = connection.first;
    answer.nStatus = nStatus;
    answer.nEventType = nEventType;
    answer.bRequest = false;
    answer.bData = pData != nullptr;
    if (pData != nullptr) {
      answer.data.assign(static_cast<const uint8_t*>(pData), static_cast<const uint8_t*>(pData) + nSize);
    }
    answer.nParam = nParam;
    PostAnswer(state, std::move(answer));
  }
}

}  // namespace zel::test
