// Card files the benchmarks load.
#include "BenchCards.h"

#include <cstdio>
#include <cstring>

namespace ctsvc_bench {

// A GSM card whose ADN holds 250 contacts of 30-byte records.
std::string FullGsmCard(const std::string& strIccid) {
  std::string strRecords;
  for (int i = 0; i < kAdnRecords; ++i) {
    char szAlpha[17];
    std::snprintf(szAlpha, sizeof(szAlpha), "Contact %03d", i);
    std::string strRecord;
    for (int k = 0; k < 16; ++k) {
      char sz[3];
      std::snprintf(sz, sizeof(sz), "%02X", k < static_cast<int>(std::strlen(szAlpha)) ? static_cast<unsigned char>(szAlpha[k]) : 0xFF);
      strRecord += sz;
    }
    char szFooter[29];  // 10 digits 01012345NN: BCD with the low digit first
    std::snprintf(szFooter, sizeof(szFooter), "0681%02X%02X%02X%02X%02XFFFFFFFFFFFFFF", 0x10, 0x21, 0x43, 0x65,
                  ((i % 10) << 4) | (i / 10 % 10));
    strRecords += std::string(strRecords.empty() ? "" : ", ") + "\"" + strRecord + szFooter + "\"";
  }
  return R"({"type": "sim", "iccid": ")" + strIccid + R"(", "imsi": "262011234567890", "fdn_enabled": false,
 "pin2": "1234", "sst": "3C003F003C0000000000", "files": [{"name": "ADN", "id": "6F3A", "path": "7F10",
 "structure": "linear", "record_length": 30, "records": [)" +
         strRecords + R"(], "read": "always", "update": "always"}]})";
}

}  // namespace ctsvc_bench
