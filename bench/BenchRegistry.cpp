#include "BenchRegistry.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace ctsvc_bench {

namespace {

struct Measure {
  std::string strName;
  int nOps = 1;
  std::string strRaw;
  Target target;
  double dSecondsPerOp = -1;     // wall-clock time; -1 until it ran
  double dCpuSecondsPerOp = -1;  // CPU time of the benchmark's thread
  std::vector<double> vcWall;    // per repetition, when the run repeats
  std::vector<double> vcCpu;
};

double Median(std::vector<double> vcValues) {
  std::sort(vcValues.begin(), vcValues.end());
  return vcValues[vcValues.size() / 2];
}

// Measures in registration order, which is also the order of the table.
std::vector<Measure>& Measures() {
  static std::vector<Measure> s_measures;
  return s_measures;
}

Measure* Find(const std::string& strName) {
  for (Measure& m : Measures()) {
    if (m.strName == strName) {
      return &m;
    }
  }
  return nullptr;
}

std::string FormatTime(double dSeconds) {
  char szBuf[32];
  if (dSeconds < 0) {
    return "-";
  }
  if (dSeconds < 1e-3) {
    std::snprintf(szBuf, sizeof(szBuf), "%.1f us", dSeconds * 1e6);
  } else if (dSeconds < 1) {
    std::snprintf(szBuf, sizeof(szBuf), "%.2f ms", dSeconds * 1e3);
  } else {
    std::snprintf(szBuf, sizeof(szBuf), "%.2f s", dSeconds);
  }
  return szBuf;
}

// "meets" or "misses" for a measure with a target, "" without one.
std::string Verdict(const Measure& m, double dRatio) {
  switch (m.target.eKind) {
    case Target::kMaxRatio:
      return dRatio < 0 ? "-" : (dRatio <= m.target.dValue ? "meets" : "misses");
    case Target::kMaxSeconds:
      return m.dSecondsPerOp <= m.target.dValue ? "meets" : "misses";
    case Target::kNone:
      break;
  }
  return "";
}

}  // namespace

benchmark::internal::Benchmark* Register(const std::string& strName, int nOps, const std::string& strRaw,
                                         Target target, std::function<void(benchmark::State&)> fn) {
  Measures().push_back(Measure{strName, nOps, strRaw, std::move(target)});
  return benchmark::RegisterBenchmark(strName.c_str(), [fn](benchmark::State& state) { fn(state); })
      ->Unit(benchmark::kMillisecond);
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  // With repetitions the table shows the median of the repetitions; the aggregate rows
  // (mean, median, deviation) are not runs of their own.
  for (const Run& run : runs) {
    Measure* pMeasure = Find(run.run_name.function_name);
    if (pMeasure != nullptr && !run.error_occurred && run.iterations > 0 && run.run_type == Run::RT_Iteration) {
      const double dOps = static_cast<double>(run.iterations) * static_cast<double>(pMeasure->nOps);
      pMeasure->vcWall.push_back(run.real_accumulated_time / dOps);
      pMeasure->vcCpu.push_back(run.cpu_accumulated_time / dOps);
      pMeasure->dSecondsPerOp = Median(pMeasure->vcWall);
      pMeasure->dCpuSecondsPerOp = Median(pMeasure->vcCpu);
    }
  }
}

namespace {

// The ratio of two times, "-" when either is missing.
std::string Ratio(double dService, double dRaw) {
  char szRatio[32] = "-";
  if (dService >= 0 && dRaw > 0) {
    std::snprintf(szRatio, sizeof(szRatio), "%.2f", dService / dRaw);
  }
  return szRatio;
}

}  // namespace

// Every service measure with its raw limit: wall-clock times and their ratio, which the targets
// use, then the ratio of CPU times, which a busy machine disturbs less.
void RatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  std::FILE* pOut = stdout;
  std::fprintf(pOut, "\n%-28s %10s  %-32s %10s %6s %6s  %s\n", "operation", "per op", "raw limit", "raw per op", "ratio",
               "cpu", "target");
  for (const Measure& m : Measures()) {
    if (m.strRaw.empty() || m.dSecondsPerOp < 0) {
      continue;
    }
    const Measure* pRaw = Find(m.strRaw);
    const double dRaw = pRaw != nullptr ? pRaw->dSecondsPerOp : -1;
    const double dRatio = dRaw > 0 ? m.dSecondsPerOp / dRaw : -1;
    const std::string strTarget = m.target.eKind == Target::kNone ? "" : m.target.strText + " " + Verdict(m, dRatio);
    std::fprintf(pOut, "%-28s %10s  %-32s %10s %6s %6s  %s\n", m.strName.c_str(), FormatTime(m.dSecondsPerOp).c_str(),
                 m.strRaw.c_str(), FormatTime(dRaw).c_str(), Ratio(m.dSecondsPerOp, dRaw).c_str(),
                 Ratio(m.dCpuSecondsPerOp, pRaw != nullptr ? pRaw->dCpuSecondsPerOp : -1).c_str(), strTarget.c_str());
  }
  std::fflush(pOut);
}

}  // namespace ctsvc_bench
