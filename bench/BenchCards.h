// Card files the benchmarks load.
#ifndef CTSVC_BENCH_CARDS_H
#define CTSVC_BENCH_CARDS_H

#include <string>

namespace ctsvc_bench {

constexpr int kAdnRecords = 250;

// A GSM card whose ADN holds 250 contacts of 30-byte records ("Contact 000" ...), with the ICCID
// given (20 digits).
std::string FullGsmCard(const std::string& strIccid = "89490012345678901234");

}  // namespace ctsvc_bench

#endif
