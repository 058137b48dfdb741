// Real SIM records from outside the project, on the simulated card through the file layer: each
// decodes to its expected name and number, and written back unchanged gives the same record
// bytes whenever the encoder picks the form the record was written in (and reads back the same
// otherwise).
#include <algorithm>
#include <cctype>

#include "CtSvcSim/DevSimMgr/CtSvcDevSimMgr.h"
#include "CtSvcSim/SimFile/CtSvcDialNumberFile.h"
#include "SimTestRows.h"
#include "ZelSimTest.h"

namespace ctsvc_sim_test {
namespace {

struct NullListener : ICtSvcSimFileListener {
  void OnLoaded(int, BOOL bSuccess) override { nLoaded = bSuccess; }
  void OnUpdated(int, BOOL bSuccess) override { nUpdated = bSuccess; }
  int nLoaded = -1;
  int nUpdated = -1;
};

std::string Upper(std::string str) {
  std::transform(str.begin(), str.end(), str.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return str;
}

// The hex of the first ADN record in the card text.
std::string FirstRecord(const std::string& strCard) {
  const size_t nAt = strCard.find("\"records\"");
  const size_t nOpen = strCard.find('"', strCard.find('[', nAt) + 1);
  const size_t nClose = strCard.find('"', nOpen + 1);
  return nAt == std::string::npos || nOpen == std::string::npos ? "" : strCard.substr(nOpen + 1, nClose - nOpen - 1);
}

class CtSvcSimTestDataTest : public ctsvc_test::ServiceTest {
 protected:
  void TearDown() override {
    CCtSvcDevSimMgr::Instance()->Close(nullptr);
    DrainEventHandler();
    zel::test::ResetSim();
    ServiceTest::TearDown();
  }
  // Loads the ADN of the inserted card.
  void LoadAdn(CCtSvcAdnFile* pAdn) {
    NullListener listener;
    ASSERT_TRUE(CCtSvcDevSimMgr::Instance()->Open(nullptr));
    ASSERT_TRUE(pAdn->LoadFile(&listener));
    DrainEventHandler();
    ASSERT_EQ(1, listener.nLoaded);
  }
};

TEST_F(CtSvcSimTestDataTest, SharedRecordsDecodeAndEncodeBack) {
  const std::vector<SimRow> vcRow = LoadSimRows();
  if (vcRow.empty()) {
    GTEST_SKIP() << "external SIM test data not found (../shared/testdata)";
  }
  for (const SimRow& row : vcRow) {
    SCOPED_TRACE(row.strNote + ": " + row.strRecordHex);
    std::string strError;
    ASSERT_TRUE(zel::test::InsertSimCardText(GsmCardWithAdn(row.strRecordHex), &strError)) << strError;
    CCtSvcAdnFile adn;
    LoadAdn(&adn);
    if (row.strName.empty() && row.strNumber.empty()) {
      EXPECT_FALSE(adn.IsUsed(0));
      continue;
    }
    char szText[CTSVC_SIM_DIAL_NAME_SIZE] = {};
    ASSERT_TRUE(adn.GetName(0, szText, sizeof(szText)));
    EXPECT_EQ(row.strName, szText);
    ASSERT_TRUE(adn.GetPresentedNumber(0, nullptr, szText, sizeof(szText)));
    EXPECT_EQ(row.strNumber, szText);

    NullListener listener;
    ASSERT_TRUE(adn.UpdateRecord(0, &listener));
    DrainEventHandler();
    ASSERT_EQ(1, listener.nUpdated);
    const std::string strWritten = Upper(FirstRecord(zel::test::SimCardText()));
    const std::string strOriginal = Upper(row.strRecordHex);
    // GSM and plain UCS2 have one encoding; a window form (0x81, 0x82) may take another base.
    const std::string strForm = strOriginal.substr(0, 2);
    if (strWritten.substr(0, 2) == strForm && strForm != "81" && strForm != "82") {
      EXPECT_EQ(strOriginal, strWritten);
    } else {
      CCtSvcAdnFile reread;
      LoadAdn(&reread);
      ASSERT_TRUE(reread.GetName(0, szText, sizeof(szText)));
      EXPECT_EQ(row.strName, szText);
    }
  }
}

}  // namespace
}  // namespace ctsvc_sim_test
