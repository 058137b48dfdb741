// Test API of the simulated SIM card: which card is inserted, faults, held answers and request
// counts. Production code never includes this header.
#ifndef ZEL_SIM_TEST_H
#define ZEL_SIM_TEST_H

#include <cstdint>
#include <string>

#include "ZelSim.h"

namespace zel::test {

// Requests a fault or a count can be given for.
enum class SimOp { FileInfo, Search, Read, Update };

// How a request is spoiled.
enum class SimFault {
  NotSent,     // the call answers FALSE, nothing is delivered
  ErrorAnswer, // sent; the answer carries the given status and no data (file information: that
               // of a missing file)
  EmptyAnswer, // sent; a read answers status 0 with nothing after the header (length 0), others
               // as ErrorAnswer
};

constexpr uint32_t kAnyFile = 0xFFFFFFFFu;

// Inserts a card given as card-file text; writes change it in memory only. False (the card
// inserted before stays) with the reason in *pError for a bad card.
bool InsertSimCardText(const std::string& text, std::string* pError = nullptr);
// Inserts the card of a host file; writes replace that file. False with the reason for a bad card.
bool InsertSimCardFile(const std::string& hostPath, std::string* pError = nullptr);
// Removes the card: requests fail, the card type is unknown. A held answer to the request in
// flight is delivered as a failure (SIM_STATUS_TECHNICAL_PROBLEM, no data), and a held write is
// undone in the card file: the pulled card never finished it.
void RemoveSimCard();
// Forgets what the test API inserted or removed: the card of "sim/card.json" in the data
// directory is read again at the next use. Clears faults, holds, counts and PIN2.
void ResetSim();
// The card as card-file text (empty without a card).
std::string SimCardText();

// Spoils the next nTimes requests of the operation on the file (kAnyFile: any file; nTimes -1:
// until cleared). nStatus is the answer's status for ErrorAnswer.
void InjectSimFault(uint32_t nFileId, SimOp op, SimFault fault, int nTimes = 1,
                    int nStatus = SIM_STATUS_TECHNICAL_PROBLEM);
void ClearSimFaults();
// Makes the next write of the card file stop after half of the temporary file, as a killed
// writer would: the update answers SIM_STATUS_TECHNICAL_PROBLEM and the old file and record stay.
void InjectSimCardWriteFailure();

// While held, answers are kept instead of delivered (the request stays outstanding).
void HoldSimAnswers(bool bHold);
// Delivers the oldest held answer; false when none is held.
bool ReleaseSimAnswer();
int HeldSimAnswerCount();

// Requests sent (accepted) per file and operation since the last reset.
int SimRequestCount(uint32_t nFileId, SimOp op);
void ResetSimRequestCounts();

// PIN verification state of the inserted card (PIN1 starts verified, PIN2 not). VerifySimPin2
// compares with the card's "pin2"; a card insertion resets both.
bool VerifySimPin2(const std::string& pin2);
void SetSimPin1Verified(bool bVerified);

// Delivers an unsolicited event to every open connection's callback (data copied into a block the
// callback frees; null/0 sends none).
void SendSimEvent(int nStatus, int nEventType, const void* pData, size_t nSize, uint32_t nParam);

}  // namespace zel::test

#endif
