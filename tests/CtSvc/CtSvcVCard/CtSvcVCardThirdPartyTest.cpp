// Exported vCards read by a third-party parser (Debian's python3-vobject): the same names,
// numbers, e-mails and photo size, for 2.1 and 3.0, with non-ASCII names and folded lines.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <unistd.h>

#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcTestEnv.h"
#include "CtSvcVCard.h"
#include "VobjectReader.h"
#include "ZelAppFrmwk/ZelVCard.h"
#include "ZelFm.h"

namespace {

class CtSvcVCardThirdPartyTest : public ctsvc_test::StoreTest {};

TEST_F(CtSvcVCardThirdPartyTest, ExportedCardsReadTheSameInVobject) {
  if (access("/usr/bin/python3", X_OK) != 0) {
    GTEST_SKIP() << "/usr/bin/python3 is not installed";
  }
  std::string strPhoto(3000, '\0');
  for (size_t i = 0; i < strPhoto.size(); ++i) {
    strPhoto[i] = static_cast<char>(i * 31 + 7);
  }
  ASSERT_TRUE(FmCreateDir("/User/Ct/Img"));
  const HOBJ hFile = FmCreateFile("/User/Ct/Img/face.jpg");
  FmWriteFile(hFile, strPhoto.data(), static_cast<UINT32>(strPhoto.size()));
  FmCloseFile(hFile);

  CCtSvcContactInfoBuilder first("Zo\xC3\xAB \xC3\x9Cn\xC3\xAF", -1, "\xE5\xAE\x89\xE8\x97\xA4\xE3\x83\xAD\xE3\x82\xA4\xE3\x83\x89");
  first.Number("+82 10 1234 5678", 1).Number("0311112222", 4);
  first.Email("zoe.has.a.rather.long.address.that.folds@example-with-a-long-domain.example.org");
  CtSvcCopyText(first.person.szCallerImage, "/User/Ct/Img/face.jpg");
  CCtSvcContactInfoBuilder second("Plain", -1, "Name");
  second.Number("555").Email("p@n.org").Etc(CTSVC_ETC_DATA_TYPE_NOTE, std::string(200, 'n'));
  const std::string strExpected =
      "Zo\xC3\xAB \xC3\x9Cn\xC3\xAF \xE5\xAE\x89\xE8\x97\xA4\xE3\x83\xAD\xE3\x82\xA4\xE3\x83\x89\t"
      "\xE5\xAE\x89\xE8\x97\xA4\xE3\x83\xAD\xE3\x82\xA4\xE3\x83\x89\tZo\xC3\xAB \xC3\x9Cn\xC3\xAF\t"
      "+82 10 1234 5678,0311112222\t"
      "zoe.has.a.rather.long.address.that.folds@example-with-a-long-domain.example.org\t3000\n"
      "Plain Name\tName\tPlain\t555\tp@n.org\t0\n";
  for (int nVersion : {VCARD_VERSION_21, VCARD_VERSION_30}) {
    SCOPED_TRACE(nVersion);
    const std::string strPath = m_dir.File("export" + std::to_string(nVersion) + ".vcf");
    std::ofstream out(strPath, std::ios::binary);
    for (CCtSvcContactInfoBuilder* pContact : {&first, &second}) {
      const CtSvcContactInfo info = pContact->Info();
      char* pszText = nullptr;
      ASSERT_TRUE(CtSvcConvertRecord2VCardVersion(&info, nVersion, &pszText));
      out << pszText;
      VCardFreeText(pszText);
    }
    out.close();
    const std::pair<int, std::string> result = ReadWithVobject(strPath);
    if (result.first == 77) {
      GTEST_SKIP() << "python3-vobject is not installed (scripts/deps installs it)";
    }
    ASSERT_EQ(0, result.first) << result.second;
    EXPECT_EQ(strExpected, result.second);
  }
}

}  // namespace
