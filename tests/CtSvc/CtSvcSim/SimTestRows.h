// Rows of the external SIM test data (../shared/testdata: adn-records.tsv, sim-alpha.tsv) and a
// GSM card file holding one of them as its only ADN record.
#ifndef CTSVC_SIM_TEST_ROWS_H
#define CTSVC_SIM_TEST_ROWS_H

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CtSvcTestEnv.h"

namespace ctsvc_sim_test {

struct SimRow {
  std::string strRecordHex;  // a whole ADN record
  std::string strName;
  std::string strNumber;  // as presented
  std::string strNote;
};

// The 14-byte footer of a record holding the national number 1234.
constexpr const char* kFooter1234 = "03812143FFFFFFFFFFFFFFFFFFFF";

inline std::vector<std::string> SplitTabs(const std::string& strLine) {
  std::vector<std::string> vcField;
  std::stringstream stream(strLine);
  for (std::string strField; std::getline(stream, strField, '\t');) {
    vcField.push_back(strField);
  }
  while (vcField.size() < 4) {
    vcField.emplace_back();
  }
  return vcField;
}

// ADN rows (record, name, number, note) and alpha rows (alpha + footer of 1234, text, "1234",
// note); empty when the data is not there.
inline std::vector<SimRow> LoadSimRows() {
  std::vector<SimRow> vcRow;
  const std::string strDir = ctsvc_test::TestDataDir();
  if (strDir.empty()) {
    return vcRow;
  }
  for (const char* pszFile : {"adn-records.tsv", "sim-alpha.tsv"}) {
    std::ifstream in(strDir + "/" + pszFile);
    std::string strLine;
    std::getline(in, strLine);  // header
    while (std::getline(in, strLine)) {
      if (strLine.empty()) {
        continue;
      }
      const std::vector<std::string> vcField = SplitTabs(strLine);
      if (std::string(pszFile) == "adn-records.tsv") {
        vcRow.push_back({vcField[0], vcField[1], vcField[2], vcField[3]});
      } else {
        vcRow.push_back({vcField[0] + kFooter1234, vcField[1], "1234", vcField[2]});
      }
    }
  }
  return vcRow;
}

// A GSM card (country code 262) whose ADN holds the record.
inline std::string GsmCardWithAdn(const std::string& strRecordHex) {
  return R"({"type": "sim", "iccid": "89490012345678901234", "imsi": "262011234567890", "fdn_enabled": false,
 "pin2": "1234", "sst": "3C003F003C0000000000", "files": [{"name": "ADN", "id": "6F3A", "path": "7F10",
 "structure": "linear", "record_length": )" +
         std::to_string(strRecordHex.size() / 2) + R"(, "records": [")" + strRecordHex +
         R"("], "read": "always", "update": "always"}]})";
}

}  // namespace ctsvc_sim_test

#endif
