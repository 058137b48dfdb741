// ctsvc gen N: fills the store with a generated address book.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "Args.h"
#include "CtsvcTool.h"
#include "Generator.h"
#include "Json.h"

namespace ctsvc_tool {

int RunGen(const Options& options, const Args& args) {
  int nCount = 0, nSeed = 0;
  if (!args.PositionalInt(0, nCount) || nCount < 0 || nCount > 1000000 ||
      (args.Has("seed") && !args.GetInt("seed", nSeed))) {
    return Fail(kExitUsage, "usage: gen N [--seed S]   (0 <= N <= 1000000, S a number)");
  }
  // A new address book each run unless the seed is given; the seed is printed to repeat a run.
  const uint32_t nUsedSeed = args.Has("seed") ? static_cast<uint32_t>(nSeed) : std::random_device()() & 0x7FFFFFFF;
  if (!OpenService(options)) {
    return kExitFailure;
  }
  const auto start = std::chrono::steady_clock::now();
  const GenerateResult result = GenerateContacts(nCount, nUsedSeed, &DrawProgress);
  const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  CloseService();
  Json report = Json::Object();
  report.Set("contacts", nCount);
  report.Set("persons", result.nPersons);
  report.Set("failures", result.nFailures);
  report.Set("seed", static_cast<int>(nUsedSeed));
  report.Set("seconds", Json::Decimal(dSeconds, 2));
  Print(report, options.bJson);
  return result.nFailures == 0 ? kExitOk : kExitFailure;
}

}  // namespace ctsvc_tool
