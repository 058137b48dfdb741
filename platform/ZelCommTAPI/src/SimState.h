// The library's SIM state shared by the request, card-information and test-API sources: the
// inserted card, the open connections, the outstanding request, faults, held answers and counts.
#ifndef ZEL_TAPI_SIM_STATE_H
#define ZEL_TAPI_SIM_STATE_H

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "SimCard.h"
#include "ZelSimTest.h"

namespace zel::sim {

struct Connection {
  SimEventCallback pfnCallback = nullptr;
  HOBJ hEventHandler = INVALID_HOBJ;
};

// An event on its way to a connection's callback.
struct Answer {
  HOBJ hSim = INVALID_HOBJ;
  int nStatus = 0;
  int nEventType = 0;
  bool bData = false;
  Bytes data;
  uint32_t nParam = 0;
  bool bRequest = true;            // the answer that ends the outstanding request
  uint64_t nSeq = 0;               // which request
  SimEventCallback pfnFixed = nullptr;  // a closed connection's callback (the close event)
  HOBJ hFixedHandler = INVALID_HOBJ;
  std::function<void()> undo;      // puts back what a write replaced (card pulled before its answer)
};

struct Fault {
  uint32_t nFileId;
  zel::test::SimOp op;
  zel::test::SimFault fault;
  int nTimes;
  int nStatus;
};

struct SimState {
  std::mutex mutex;
  // The card: from the data directory's "sim/card.json" unless the test API chose one.
  bool bTestCard = false;
  std::unique_ptr<Card> pCard;
  std::string cardHostPath;   // where writes go; empty: memory only
  std::string refusedStamp;   // a data-directory card file already refused (path, size, time)
  std::string cardError;      // why it was refused
  // Connections and the one outstanding request.
  std::map<HOBJ, Connection> connections;
  HOBJ hNext = 1;
  uint64_t nSeq = 0;
  uint64_t nOutstandingSeq = 0;  // 0: no request outstanding
  HOBJ hOutstandingHandler = INVALID_HOBJ;  // where its answer goes
  // Test controls.
  bool bHold = false;
  std::deque<Answer> held;
  std::vector<Fault> faults;
  std::map<std::pair<uint32_t, int>, int> counts;
  bool bPin1 = true;
  bool bPin2 = false;
  bool bWriteFault = false;
};

SimState& TheSim();

// With the lock held: the card in use (read from the data directory when needed), or null.
Card* CurrentCard(SimState& state);
// With the lock held: makes the card the inserted one (null: none) and resets its PIN state.
void InstallCard(SimState& state, std::unique_ptr<Card> pCard, const std::string& hostPath);
// With the lock held: sends the answer (or keeps it while answers are held).
void PostAnswer(SimState& state, Answer answer);

// With the lock held: writes the card back to its file (atomically). False: the file is unchanged.
bool SaveCard(SimState& state);

// The card's IMSI reaches SimGetImsiInfo (SimImsi.cpp); empty: none.
void SetCardImsi(const std::string& imsi);

}  // namespace zel::sim

#endif
