// ctsvc letters: the index letters of the contact list with the number of entries under each.
#include <string>
#include <vector>

#include "Args.h"
#include "CtSvcDbPerson.h"
#include "CtsvcTool.h"
#include "Json.h"
#include "ZelGWESCore.h"

namespace ctsvc_tool {

namespace {

constexpr int kMaxLetters = 512;

std::string LetterText(MCHAR cLetter) {
  const MCHAR sz[2] = {cLetter, 0};
  char szOut[8] = {};
  WmConvert2LCode(szOut, sizeof(szOut), sz);
  return szOut;
}

}  // namespace

int RunLetters(const Options& options, const Args& args) {
  const std::string strOrder = args.Get("order", "fl");
  if (strOrder != "fl" && strOrder != "lf") {
    return Fail(kExitUsage, "--order is fl (first-last) or lf (last-first)");
  }
  const int nIndexType = strOrder == "lf" ? CTSVC_FILTER_INDEX_LAST_FIRST : CTSVC_FILTER_INDEX_FIRST_LAST;
  if (args.Has("async")) {
    return RunLettersAsync(options, args.Has("persons"), nIndexType);
  }
  if (!OpenService(options)) {
    return kExitFailure;
  }
  MCHAR aLetters[kMaxLetters] = {};
  INT32 aCounts[kMaxLetters] = {};
  int nLetters = -1;
  if (args.Has("persons")) {
    CtSvcPersonFilter filter;
    CtSvcPersonFilterInit(&filter);
    filter.FilterIndexType = nIndexType;
    nLetters = CtSvcDbPersonGetGroupLetters(&filter, aLetters, aCounts, kMaxLetters);
  } else {
    CtSvcPrimaryFilter filter;
    CtSvcPrimaryFilterInit(&filter);
    filter.FilterIndexType = nIndexType;
    nLetters = CtSvcDbPrimaryGetGroupLetters(&filter, aLetters, aCounts, kMaxLetters);
  }
  CloseService();
  if (nLetters < 0) {
    return Fail(kExitFailure, "the letters could not be read");
  }
  Json letters = Json::Array();
  for (int i = 0; i < nLetters; ++i) {
    Json item = Json::Object();
    item.Set("letter", aLetters[i] == 0xFFFF ? std::string("(no name)") : LetterText(aLetters[i]));
    item.Set("count", aCounts[i]);
    letters.Push(item);
  }
  Print(letters, options.bJson);
  return kExitOk;
}

}  // namespace ctsvc_tool
