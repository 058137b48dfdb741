// The benchmark groups, registered by main in this order.
#ifndef CTSVC_BENCH_SUITES_H
#define CTSVC_BENCH_SUITES_H

namespace ctsvc_bench {

void RegisterInsertBenchmarks();
void RegisterListBenchmarks();
void RegisterSearchBenchmarks();
void RegisterStartupBenchmarks();
void RegisterLetterBenchmarks();
void RegisterSimBenchmarks();

}  // namespace ctsvc_bench

#endif
