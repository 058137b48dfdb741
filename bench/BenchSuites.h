// The benchmark groups, registered by main in this order.
#ifndef CTSVC_BENCH_SUITES_H
#define CTSVC_BENCH_SUITES_H

namespace ctsvc_bench {

void RegisterInsertBenchmarks();
void RegisterListBenchmarks();
void RegisterSearchBenchmarks();
void RegisterStartupBenchmarks();
void RegisterLetterBenchmarks();
void RegisterConcurrentWriterBenchmarks();
void RegisterSimBenchmarks();
void RegisterImageBenchmarks();
void RegisterPhonebookBenchmarks();
void RegisterVCardBenchmarks();
void RegisterBulkCopyBenchmarks();

// The writer process of the concurrent-writer benchmarks: its exit code when argv asks for one,
// else -1.
int RunWriterProcess(int argc, char** argv);

}  // namespace ctsvc_bench

#endif
