// ctsvc bulk copy|move sim-to-phone|phone-to-sim [IDS|--all], bulk delete IDS: one bulk operation
// of the service, run on its 50 ms timer with a progress bar on a terminal. Ctrl-C pauses (and
// says how far it got); Enter or SIGUSR1 resumes; a second Ctrl-C stops. The summary counts what
// the store shows as done; exit 1 when not everything was done.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CtSvcBulkOp.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "SimPhonebook.h"

namespace ctsvc_tool {
namespace {

// What the command runs: the operation type, the store its persons come from and how "done" shows.
struct BulkJob {
  int nType;
  const char* pszVerb;       // copied, moved, deleted
  CtSvcDeviceType nFrom;     // store of the persons given
  CtSvcDeviceType nCounted;  // store whose person count shows the progress
  bool bCountGrows;          // done = growth (copies) or shrinking (moves, deletes) of that count
  bool bNeedsCard;
};

// The operation a command line names; false for an unknown one.
bool JobOf(const std::string& strAction, const std::string& strDirection, BulkJob* pJob) {
  const bool bToPhone = strDirection == "sim-to-phone";
  if (strAction == "delete") {
    *pJob = {CTSVC_BULK_OP_DELETE_DB, "deleted", CTSVC_USE_TYPE_PHONE, CTSVC_USE_TYPE_PHONE, false, false};
    return true;
  }
  if (!bToPhone && strDirection != "phone-to-sim") {
    return false;
  }
  const CtSvcDeviceType nFrom = bToPhone ? CTSVC_USE_TYPE_SIM : CTSVC_USE_TYPE_PHONE;
  const CtSvcDeviceType nTo = bToPhone ? CTSVC_USE_TYPE_PHONE : CTSVC_USE_TYPE_SIM;
  if (strAction == "copy") {
    *pJob = {bToPhone ? CTSVC_BULK_OP_COPY_ADN_TO_DB : CTSVC_BULK_OP_COPY_DB_TO_ADN, "copied", nFrom, nTo, true, true};
    return true;
  }
  if (strAction == "move") {
    *pJob = {bToPhone ? CTSVC_BULK_OP_MOVE_ADN_TO_DB : CTSVC_BULK_OP_MOVE_DB_TO_ADN, "moved", nFrom, nFrom, false, true};
    return true;
  }
  return false;
}

std::vector<CtSvcPersonRecord> Persons(CtSvcDeviceType nDevType, int nPrimaryId, int nSlotIndex) {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = nDevType;
  if (nPrimaryId > 0) {
    filter.nPrimaryId = nPrimaryId;
  }
  if (nSlotIndex >= 0) {
    filter.nSlotIndex = nSlotIndex;
  }
  const int nCount = CtSvcDbPersonGetCount(&filter);
  std::vector<CtSvcPersonRecord> vc(static_cast<size_t>(nCount > 0 ? nCount : 0));
  const int nRead = vc.empty() ? 0 : CtSvcDbPersonGetRecords(&filter, vc.data(), nCount);
  vc.resize(static_cast<size_t>(nRead > 0 ? nRead : 0));
  return vc;
}

int PersonCount(CtSvcDeviceType nDevType) {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = nDevType;
  return CtSvcDbPersonGetCount(&filter);
}

// The person ids of the words: card record numbers (1-based, as 'ctsvc sim list' shows them) for
// SIM contacts, contact ids ('ctsvc list') for phone contacts; every person of the store with
// --all. False after printing which word names nothing.
bool CollectPersons(const BulkJob& job, const Args& args, std::vector<int>* pIds) {
  if (args.Has("all")) {
    for (const CtSvcPersonRecord& person : Persons(job.nFrom, -1, -1)) {
      pIds->push_back(person.nId);
    }
    return true;
  }
  for (size_t i = job.nType == CTSVC_BULK_OP_DELETE_DB ? 1 : 2; i < args.Positional().size(); ++i) {
    int nId = 0;
    if (!ParseInt(args.Word(i), nId) || nId < 1) {
      Fail(kExitUsage, "bulk: not an id: " + args.Word(i));
      return false;
    }
    const std::vector<CtSvcPersonRecord> vc = job.nFrom == CTSVC_USE_TYPE_SIM ? Persons(job.nFrom, -1, nId - 1)
                                                                              : Persons(job.nFrom, nId, -1);
    if (vc.empty()) {
      Fail(kExitFailure, std::string("bulk: no ") + (job.nFrom == CTSVC_USE_TYPE_SIM ? "SIM contact in record " :
                                                                                      "phone contact ") + args.Word(i));
      return false;
    }
    for (const CtSvcPersonRecord& person : vc) {
      pIds->push_back(person.nId);
    }
  }
  return true;
}

// ---- the run: callbacks and signals wake the waiting main thread through a pipe ----

int g_wakeFds[2] = {-1, -1};
std::atomic<int> g_nState{CTSVC_BULK_STATE_INVALID};
std::atomic<int> g_nDone{0};
std::atomic<int> g_nTotal{0};
std::atomic<int> g_nInterrupts{0};
std::atomic<bool> g_bResumeSignal{false};

void Wake() {
  const char c = 0;
  [[maybe_unused]] const ssize_t n = write(g_wakeFds[1], &c, 1);
}

void OnState(BOOL, int, int nNewState, void*) {
  g_nState = nNewState;
  Wake();
}

void OnProgress(int nDone, int nTotal, void*) {
  g_nDone = nDone;
  g_nTotal = nTotal;
  Wake();
}

void OnInterrupt(int) {
  ++g_nInterrupts;
  Wake();
}

void OnResumeSignal(int) {
  g_bResumeSignal = true;
  Wake();
}

// Waits for a wake-up (or stdin when bStdin); true when a line was read from stdin.
bool WaitForWake(bool bStdin) {
  pollfd fds[2] = {{g_wakeFds[0], POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
  if (poll(fds, bStdin ? 2 : 1, 200) <= 0) {
    return false;
  }
  if ((fds[0].revents & POLLIN) != 0) {
    char buf[64];
    [[maybe_unused]] const ssize_t n = read(g_wakeFds[0], buf, sizeof(buf));
  }
  if (bStdin && (fds[1].revents & (POLLIN | POLLHUP)) != 0) {
    char buf[256];
    return read(STDIN_FILENO, buf, sizeof(buf)) > 0;
  }
  return false;
}

bool Ended(int nState) { return nState == CTSVC_BULK_STATE_FINISHED || nState == CTSVC_BULK_STATE_READY; }

// Runs the started operation to its end; false when it was stopped with Ctrl-C.
bool RunToEnd() {
  int nSeenInterrupts = 0;
  bool bPaused = false;
  const bool bStdinOpen = isatty(STDIN_FILENO) != 0;
  while (!Ended(g_nState)) {
    const bool bLine = WaitForWake(bPaused && bStdinOpen);
    DrawProgress(g_nDone, g_nTotal);
    if (g_nInterrupts > nSeenInterrupts) {
      nSeenInterrupts = g_nInterrupts;
      if (bPaused) {
        CtSvcBulkOpStop();
        std::fprintf(stderr, "\nbulk: stopped after %d of %d\n", g_nDone.load(), g_nTotal.load());
        return false;
      }
      CtSvcBulkOpPause();
      bPaused = true;
      g_bResumeSignal = false;
      std::fprintf(stderr,
                   "\nbulk: paused after %d of %d; Enter (or kill -USR1 %d) continues, Ctrl-C again stops\n",
                   g_nDone.load(), g_nTotal.load(), static_cast<int>(getpid()));
    } else if (bPaused && (bLine || g_bResumeSignal)) {
      bPaused = false;
      g_bResumeSignal = false;
      std::fprintf(stderr, "bulk: resumed\n");
      CtSvcBulkOpResume();
    }
  }
  return true;
}

// Installs the handlers for the run and puts the old ones back afterwards.
class SignalScope {
 public:
  SignalScope() {
    struct sigaction action {};
    action.sa_handler = &OnInterrupt;
    sigaction(SIGINT, &action, &m_oldInt);
    action.sa_handler = &OnResumeSignal;
    sigaction(SIGUSR1, &action, &m_oldUsr1);
  }
  ~SignalScope() {
    sigaction(SIGINT, &m_oldInt, nullptr);
    sigaction(SIGUSR1, &m_oldUsr1, nullptr);
  }
  SignalScope(const SignalScope&) = delete;
  SignalScope& operator=(const SignalScope&) = delete;

 private:
  struct sigaction m_oldInt {};
  struct sigaction m_oldUsr1 {};
};

int RunJob(const Options& options, const BulkJob& job, const std::vector<int>& vcIds) {
  const int nBefore = PersonCount(job.nCounted);
  if (!CtSvcBulkOpCreate(job.nType, &OnState, nullptr)) {
    return Fail(kExitFailure, "bulk: another bulk operation is running");
  }
  CtSvcBulkOpRegisterProgressCallback(&OnProgress);
  for (const int nId : vcIds) {
    CtSvcBulkOpAddPersonId(nId);
  }
  g_nState = CtSvcBulkOpGetState();
  g_nDone = 0;
  g_nTotal = static_cast<int>(vcIds.size());
  bool bCompleted = false;
  {
    SignalScope signals;
    std::fprintf(stderr, "bulk: %d contacts (pid %d); Ctrl-C pauses\n", static_cast<int>(vcIds.size()),
                 static_cast<int>(getpid()));
    if (CtSvcBulkOpStart()) {
      bCompleted = RunToEnd();
    }
  }
  CtSvcBulkOpDestroy();
  const int nAfter = PersonCount(job.nCounted);
  const int nDone = job.bCountGrows ? nAfter - nBefore : nBefore - nAfter;
  const int nWanted = static_cast<int>(vcIds.size());
  Json result = Json::Object();
  result.Set(job.pszVerb, nDone).Set("of", nWanted).Set("stopped", Json::Bool(!bCompleted));
  if (options.bJson) {
    Print(result, true);
  } else {
    std::printf("%s %d of %d contacts%s\n", job.pszVerb, nDone, nWanted, bCompleted ? "" : " (stopped)");
  }
  return nDone == nWanted ? kExitOk : kExitFailure;
}

}  // namespace

int RunBulk(const Options& options, const Args& args) {
  BulkJob job{};
  const std::string strAction = args.Word(0);
  if (!JobOf(strAction, args.Word(1), &job)) {
    return Fail(kExitUsage, "usage: bulk copy|move sim-to-phone|phone-to-sim [IDS|--all] | bulk delete IDS");
  }
  const size_t nIdWords = args.Positional().size() - (strAction == "delete" ? 1 : 2);
  if (args.Has("all") == (nIdWords > 0) || (strAction == "delete" && args.Has("all"))) {
    return Fail(kExitUsage, "bulk: give the ids or --all" + std::string(strAction == "delete" ? " (delete: ids only)" : ""));
  }
  if (pipe(g_wakeFds) != 0) {
    return Fail(kExitFailure, "bulk: no pipe");
  }
  const int nExit = WithService(options, [&]() {
    bool bNoSim = false;
    if (job.bNeedsCard ? !StartSimPhonebook(options, "bulk") : !StartPhonebook("bulk", &bNoSim)) {
      return kExitFailure;
    }
    std::vector<int> vcIds;
    if (!CollectPersons(job, args, &vcIds)) {
      return kExitFailure;
    }
    return RunJob(options, job, vcIds);
  });
  close(g_wakeFds[0]);
  close(g_wakeFds[1]);
  return nExit;
}

}  // namespace ctsvc_tool
