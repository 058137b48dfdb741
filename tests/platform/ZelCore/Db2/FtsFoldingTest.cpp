// Name words as a person types them: case and accents folded as the name order folds them,
// Hangul full names typed without their blank, initial consonants; and the rebuild of indexes
// made under another name order or another folding when a store is opened.
#include <gtest/gtest.h>

#include "Db2/FtsTokenizer.h"
#include "FtsTestSupport.h"
#include "ZelCollate.h"
#include "ZelCoreTest.h"

namespace {

using db2test::Db2Test;
using db2test::Prefix;
using db2test::SearchIds;
using Ids = std::vector<int>;

class FtsFolding : public Db2Test {
 protected:
  void SetUp() override {
    Db2Test::SetUp();
    Exec(db2test::kCreateContactData);
    Exec("INSERT INTO CtSvcContactDataTable (ID, FL_FULLNAME) VALUES "
         "(1, 'Émile Zola'), (2, 'EMILE Roux'), (3, 'Øystein Ødegård'), (4, 'Straße Weiß'), "
         "(5, '오 하은'), (6, '하은 오'), (7, '오하은'), (8, '이 현아'), (9, 'Þór Jónsson'), "
         "(10, 'Йоко Ёлкина'), (11, 'Ήρα Παππά'), (12, 'E\xCC\x81mile Decomposed')");
    ASSERT_TRUE(Db2FTSDoSyntax(db2test::kNameIndex, 0));
  }
};

TEST_F(FtsFolding, WordsMatchWhatAPersonTypes) {
  const struct {
    const char* pszTyped;
    Ids ids;
  } kCases[] = {
      {"emile", {2, 12, 1}},  // sorted by FL_FULLNAME (no declared collation here)
      {"ÉMILE", {2, 12, 1}},
      {"e\xCC\x81mile", {2, 12, 1}},  // the accent written apart
      {"oystein", {3}},
      {"odegard", {3}},
      {"strasse", {4}},  // sharp s is "ss" in the name order
      {"weiss", {4}},
      {"jonsson", {9}},
      {"thor", {}},      // thorn is a letter of its own, not "th"
      {"ёлкина", {10}},
      {"елкина", {10}},  // yo sorts as ye
      {"иоко", {}},      // short i is a letter of its own
      {"ηρα", {11}},
      {"παππα", {11}},
      // Hangul: a full name typed without its blank, family name first or last.
      {"오하은", {5, 7, 6}},
      {"하은오", {5, 6}},
      {"오하", {5, 7, 6}},
      {"하은", {5, 6}},
      {"오현", {}},
      // Initial consonants, of the whole name or of its words in either order (이현아 is ㅇㅎㅇ too).
      {"ㅇㅎㅇ", {5, 7, 8, 6}},
      {"ㅎㅇ", {5, 8, 6}},
      {"ㅎㅇㅇ", {5, 8, 6}},
      {"ㅇㅎ", {5, 7, 8, 6}},
      {"ㄱ", {}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(SearchIds(Prefix("name", c.pszTyped)), c.ids) << c.pszTyped;
  }
}

TEST(FtsWordTokenizer, HangulInitialsOfSyllablesOnly) {
  std::string initials;
  EXPECT_TRUE(zel::db2::HangulInitials("하은", &initials));
  EXPECT_EQ(initials, "ㅎㅇ");
  EXPECT_TRUE(zel::db2::HangulInitials("까치", &initials));
  EXPECT_EQ(initials, "ㄲㅊ");
  EXPECT_FALSE(zel::db2::HangulInitials("하a", &initials));
  EXPECT_FALSE(zel::db2::HangulInitials("ㅎㅇ", &initials));
  EXPECT_FALSE(zel::db2::HangulInitials("", &initials));
}

// What the store recorded at its last open decides whether its ordered indexes are rebuilt.
class StoreOrder : public Db2Test {
 protected:
  std::string Recorded(const char* pszModule) {
    char szVersion[128] = {};
    return Db2GetSchemaVer(pszModule, szVersion, sizeof(szVersion)) ? szVersion : "";
  }
  void Reopen() {
    Db2Close();
    ASSERT_EQ(Db2Open(Path().c_str()), DB2_OK);
  }
};

TEST_F(StoreOrder, IndexesOfAnotherOrderOrFoldingAreRebuiltOnOpen) {
  EXPECT_EQ(Recorded("db2.collation.user1"), ZelCollateIdentity());
  EXPECT_EQ(Recorded("db2.tokenizer.simplex"), zel::db2::WordTokenizerIdentity());
  Exec(db2test::kCreateContactData);
  Exec("CREATE INDEX cd_name ON CtSvcContactDataTable (FL_FULLNAME COLLATE user1)");
  Exec("INSERT INTO CtSvcContactDataTable (ID, TYPE, FL_FULLNAME, CONTACT_DATA) VALUES "
       "(1, 2, 'Émile Zola', 'emile@example.com'), (2, 2, 'bob', 'bob@example.com'), (3, 1, 'Zack', '0101')");
  ASSERT_TRUE(Db2FTSDoSyntax(db2test::kNameIndex, 0));
  ASSERT_TRUE(Db2FTSDoSyntax(db2test::kEmailIndex, 0));
  // An index filled by another tokenizer: here, emptied behind the triggers' back.
  Exec("INSERT INTO fts_msgplcontact_name (fts_msgplcontact_name) VALUES ('delete-all')");
  Exec("INSERT INTO fts_msgplcontact_email (fts_msgplcontact_email) VALUES ('delete-all')");
  ASSERT_EQ(SearchIds(Prefix("name", "emile")), Ids{});

  // Same identities: nothing is rebuilt.
  Reopen();
  EXPECT_EQ(SearchIds(Prefix("name", "emile")), Ids{});

  ASSERT_TRUE(Db2SetSchemaVer("db2.tokenizer.simplex", "simplex/1"));
  ASSERT_TRUE(Db2SetSchemaVer("db2.collation.user1", "user1/0 code-unit"));
  {
    zel::test::LogCapture capture;
    Reopen();
    EXPECT_TRUE(capture.Contains("name-ordered indexes rebuilt for " + std::string(ZelCollateIdentity()) +
                                 " (were user1/0 code-unit)"));
    EXPECT_TRUE(capture.Contains("full-text indexes rebuilt"));
  }
  EXPECT_EQ(SearchIds(Prefix("name", "emile")), Ids{1});
  EXPECT_EQ(SearchIds(Prefix("email", "bob")), Ids{2});  // only the rows meeting the condition
  EXPECT_EQ(SearchIds(Prefix("email", "0101")), Ids{});
  EXPECT_EQ(Recorded("db2.tokenizer.simplex"), zel::db2::WordTokenizerIdentity());
  EXPECT_EQ(Recorded("db2.collation.user1"), ZelCollateIdentity());
  EXPECT_EQ(db2test::Scalar("PRAGMA integrity_check"), "ok");
}

}  // namespace
