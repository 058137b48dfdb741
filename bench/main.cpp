// bench_ctsvc: the benchmarks of the database core. Every service benchmark is paired with a raw
// SQLite benchmark run on the same data in the same run; the table at the end gives the ratios,
// followed by the peak memory of the whole run.
#include <sys/resource.h>

#include <cstdio>

#include "BenchRegistry.h"
#include "BenchSuites.h"

int main(int argc, char** argv) {
  const int nWriterExit = ctsvc_bench::RunWriterProcess(argc, argv);
  if (nWriterExit >= 0) {
    return nWriterExit;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  ctsvc_bench::RegisterInsertBenchmarks();
  ctsvc_bench::RegisterListBenchmarks();
  ctsvc_bench::RegisterSearchBenchmarks();
  ctsvc_bench::RegisterStartupBenchmarks();
  ctsvc_bench::RegisterLetterBenchmarks();
  ctsvc_bench::RegisterConcurrentWriterBenchmarks();
  ctsvc_bench::RegisterSimBenchmarks();
  ctsvc_bench::RegisterImageBenchmarks();
  ctsvc_bench::RegisterPhonebookBenchmarks();
  ctsvc_bench::RegisterVCardBenchmarks();
  ctsvc_bench::RegisterBulkCopyBenchmarks();
  ctsvc_bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double dMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  std::printf("\npeak memory (ru_maxrss) of the run: %.1f MiB  target < 64 MiB %s\n", dMiB,
              dMiB < 64.0 ? "meets" : "misses");
  return 0;
}
