// Commands that run on the service's background task: letters --async and delete-account.
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "Args.h"
#include "CtSvcDbPerson.h"
#include "CtSvcTask.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "ZelGWESCore.h"
#include "ZelWm.h"

namespace ctsvc_tool {

namespace {

constexpr int kAnswerTimeoutSeconds = 120;

// The answer of a background job, delivered on the "CTSVC" handler's thread.
struct Answer {
  std::mutex mutex;
  std::condition_variable done;
  bool bArrived = false;
  int nResult = 0;
  std::vector<MCHAR> vcLetters;

  bool Wait() {
    std::unique_lock<std::mutex> lock(mutex);
    return done.wait_for(lock, std::chrono::seconds(kAnswerTimeoutSeconds), [this] { return bArrived; });
  }
  void Arrive() {
    std::lock_guard<std::mutex> lock(mutex);
    bArrived = true;
    done.notify_all();
  }
};

void OnLetters(INT32 nCount, const MCHAR* pLetters, void* pUserData) {
  Answer* pAnswer = static_cast<Answer*>(pUserData);
  {
    std::lock_guard<std::mutex> lock(pAnswer->mutex);
    pAnswer->vcLetters.assign(pLetters, pLetters + (pLetters != nullptr ? nCount : 0));
  }
  pAnswer->Arrive();
}

void OnAccountDeleted(INT32 nResult, void* pUserData) {
  Answer* pAnswer = static_cast<Answer*>(pUserData);
  pAnswer->nResult = nResult;
  pAnswer->Arrive();
}

// The stored contacts (persons) of an account; -1 when they cannot be counted.
int AccountPersons(int nDevice, int nAccount) {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = nDevice;
  filter.nAccountId = nAccount;
  return CtSvcDbPersonGetCount(&filter);
}

// Answers are delivered on the handler current when the request is made: "CTSVC".
void AnswerOnServiceHandler() { WmSetCurrentEventHandler(WmGetEventHandlerByName("CTSVC")); }

}  // namespace

int RunLettersAsync(const Options& options, bool bPersons, int nIndexType) {
  if (!OpenService(options)) {
    return kExitFailure;
  }
  AnswerOnServiceHandler();
  Answer answer;
  BOOL bQueued = FALSE;
  if (bPersons) {
    CtSvcPersonFilter filter;
    CtSvcPersonFilterInit(&filter);
    filter.FilterIndexType = nIndexType;
    bQueued = CtSvcFastScrollRequestPersonLetters(&filter, &OnLetters, &answer);
  } else {
    CtSvcPrimaryFilter filter;
    CtSvcPrimaryFilterInit(&filter);
    filter.FilterIndexType = nIndexType;
    bQueued = CtSvcFastScrollRequestLetters(&filter, &OnLetters, &answer);
  }
  const bool bArrived = bQueued && answer.Wait();
  CloseService();
  if (!bArrived) {
    return Fail(kExitFailure, "the background task gave no letters");
  }
  Json letters = Json::Array();
  for (MCHAR cLetter : answer.vcLetters) {
    const MCHAR sz[2] = {cLetter, 0};
    char szText[8] = {};
    WmConvert2LCode(szText, sizeof(szText), sz);
    letters.Push(cLetter == 0xFFFF ? "(no name)" : szText);
  }
  Print(letters, options.bJson);
  return kExitOk;
}

int RunDeleteAccount(const Options& options, const Args& args) {
  int nAccount = 0;
  if (!args.PositionalInt(0, nAccount) || nAccount <= 0) {
    return Fail(kExitUsage, "usage: delete-account ACCOUNT_ID [--sim]");
  }
  const int nDevice = args.Has("sim") ? CTSVC_USE_TYPE_SIM : CTSVC_USE_TYPE_PHONE;
  return WithService(options, [&] {
    const int nBefore = AccountPersons(nDevice, nAccount);
    if (nBefore == 0) {
      return Fail(kExitFailure, "account " + std::to_string(nAccount) + " has no contacts: nothing removed");
    }
    AnswerOnServiceHandler();
    Answer answer;
    const int aAccounts[] = {nAccount};
    const bool bDone = CtSvcDbPersonDeletebyAccount(nDevice, aAccounts, 1, &OnAccountDeleted, &answer) && answer.Wait();
    const int nAfter = AccountPersons(nDevice, nAccount);
    if (!bDone || answer.nResult != 1 || nBefore < 0 || nAfter != 0) {
      return Fail(kExitFailure,
                  "the removal of account " + std::to_string(nAccount) + " did not finish; it resumes at the next start");
    }
    Json result = Json::Object();
    result.Set("account", nAccount);
    result.Set("removed", nBefore);
    Print(result, options.bJson);
    return kExitOk;
  });
}

}  // namespace ctsvc_tool
