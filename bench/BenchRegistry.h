// Benchmarks are registered with the number of operations one iteration performs, the raw SQLite
// benchmark they are compared with and, where there is one, their target. After the run a table
// gives each operation's time, the raw time and the ratio of the two.
#ifndef CTSVC_BENCH_REGISTRY_H
#define CTSVC_BENCH_REGISTRY_H

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

namespace ctsvc_bench {

// A goal of a measure (never a test): a ratio to its raw limit, or a time per operation.
struct Target {
  enum Kind { kNone, kMaxRatio, kMaxSeconds } eKind = kNone;
  double dValue = 0;
  std::string strText;  // how the goal reads in the table
};

inline Target MaxRatio(double dRatio, std::string strText) { return {Target::kMaxRatio, dRatio, std::move(strText)}; }
inline Target MaxSeconds(double dSeconds, std::string strText) {
  return {Target::kMaxSeconds, dSeconds, std::move(strText)};
}

// Registers a benchmark whose iteration performs nOps operations. strRaw names the raw benchmark
// it is compared with (empty for a raw benchmark itself).
benchmark::internal::Benchmark* Register(const std::string& strName, int nOps, const std::string& strRaw,
                                         Target target, std::function<void(benchmark::State&)> fn);

// Prints the benchmarks as they finish, then the table of ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;
};

}  // namespace ctsvc_bench

#endif
