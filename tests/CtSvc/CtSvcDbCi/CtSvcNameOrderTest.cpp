// One name order everywhere: lists, index letters with their counts, fast-scroll positions and
// positions by name agree, on chosen names and on a generated address book.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbPerson.h"
#include "CtSvcList.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ZelDb2.h"
#include "ZelGWESCore.h"

namespace {

struct ListRow {
  int nId;
  std::u16string letter;
};

// A run of one letter in a list.
struct LetterRun {
  MCHAR letter;
  int nFirst;
  int nCount;
};

class CtSvcNameOrder : public ctsvc_test::ServiceTest {
 protected:
  static void Add(const char* pszFirst, const char* pszLast) {
    ctsvc_test::ContactParts parts(pszFirst, -1, pszLast);
    CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
    ASSERT_GT(contact.Insert(1), 0) << pszFirst << " " << pszLast;
  }

  // The group letter column of a row, read with SQL of the test's own.
  static std::u16string LetterOf(const char* pszTable, const char* pszColumn, int nId) {
    EXPECT_GE(Db2QueryEx("SELECT %s FROM %s WHERE ID = %d", pszColumn, pszTable, nId), 0);
    std::u16string letter;
    if (Db2GetNextRow() > 0) {
      MCHAR sz[4] = {};
      WmConvert2PCode(sz, 4, Db2GetColumn(0));
      letter = sz;
    }
    return letter;
  }

  // Ids and letters of a list as it hands them out: one list family's functions, a filter, the
  // table and letter column to read.
  template <typename Record, typename Filter, typename Family>
  static std::vector<ListRow> Rows(const Filter& filter, const Family& family, const char* pszTable,
                                   const char* pszLetter) {
    const INT32 h = family.create(&filter, nullptr);
    EXPECT_GE(h, 0);
    std::vector<ListRow> rows;
    for (int i = 0; i < family.count(h); ++i) {
      Record record{};
      EXPECT_TRUE(family.getAt(h, i, &record));
      rows.push_back(ListRow{record.nId, LetterOf(pszTable, pszLetter, record.nId)});
    }
    family.destroy(h);
    return rows;
  }

  template <typename Filter, typename Record>
  struct Family {
    INT32 (*create)(const Filter*, CtSvcListCallback);
    INT32 (*count)(INT32);
    BOOL (*getAt)(INT32, INT32, Record*);
    BOOL (*destroy)(INT32);
  };

  static std::vector<ListRow> PrimaryRows(int nIndexType) {
    CtSvcPrimaryFilter filter;
    CtSvcPrimaryFilterInit(&filter);
    filter.FilterIndexType = nIndexType;
    const Family<CtSvcPrimaryFilter, CtSvcPrimaryRecord> family{CtSvcPrimaryListCreate, CtSvcPrimaryListGetCount,
                                                                 CtSvcPrimaryListGetAt, CtSvcPrimaryListDestroy};
    return Rows<CtSvcPrimaryRecord>(filter, family, "CtSvcPrimary",
                                    nIndexType == CTSVC_FILTER_INDEX_LAST_FIRST ? "LF_GROUP_LETTER" : "FL_GROUP_LETTER");
  }

  static std::vector<ListRow> PersonRows() {
    CtSvcPersonFilter filter;
    CtSvcPersonFilterInit(&filter);
    filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
    const Family<CtSvcPersonFilter, CtSvcPersonRecord> family{CtSvcContactListCreate, CtSvcContactListGetCount,
                                                               CtSvcContactListGetAt, CtSvcContactListDestroy};
    return Rows<CtSvcPersonRecord>(filter, family, "CtSvcPerson", "FL_GROUP_LETTER");
  }

  // The runs of letters of a list; a letter met again after another one fails the test.
  static std::vector<LetterRun> Runs(const std::vector<ListRow>& rows) {
    std::vector<LetterRun> runs;
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].letter.size(), 1u) << "row " << i;
      const MCHAR letter = rows[i].letter.empty() ? 0 : rows[i].letter[0];
      if (runs.empty() || runs.back().letter != letter) {
        for (const LetterRun& run : runs) {
          EXPECT_NE(run.letter, letter) << "letter U+" << std::hex << letter << " comes back at row " << std::dec << i;
        }
        runs.push_back(LetterRun{letter, static_cast<int>(i), 0});
      }
      ++runs.back().nCount;
    }
    return runs;
  }

  // The letters with counts, and every letter's fast-scroll position, against the list's runs.
  template <typename GetLetters, typename GetPosition>
  static void ExpectLettersAgree(const std::vector<LetterRun>& runs, GetLetters getLetters, GetPosition getPosition) {
    MCHAR aLetters[512] = {};
    INT32 aCounts[512] = {};
    const int nLetters = getLetters(aLetters, aCounts, 512);
    ASSERT_EQ(nLetters, static_cast<int>(runs.size()));
    for (int i = 0; i < nLetters; ++i) {
      EXPECT_EQ(aLetters[i], runs[i].letter) << i;
      EXPECT_EQ(aCounts[i], runs[i].nCount) << "letter U+" << std::hex << aLetters[i];
      const MCHAR sz[2] = {runs[i].letter, 0};
      EXPECT_EQ(getPosition(sz), runs[i].nFirst) << "letter U+" << std::hex << aLetters[i];
    }
  }

  static void ExpectPrimaryListAgrees(int nIndexType) {
    SCOPED_TRACE(nIndexType == CTSVC_FILTER_INDEX_LAST_FIRST ? "last-first" : "first-last");
    CtSvcPrimaryFilter filter;
    CtSvcPrimaryFilterInit(&filter);
    filter.FilterIndexType = nIndexType;
    ExpectLettersAgree(
        Runs(PrimaryRows(nIndexType)),
        [&](MCHAR* pLetters, INT32* pCounts, int n) { return CtSvcDbPrimaryGetGroupLetters(&filter, pLetters, pCounts, n); },
        [&](const MCHAR* pLetter) { return CtSvcDbPrimaryGetFastScrollIndex(&filter, pLetter); });
  }
};

TEST_F(CtSvcNameOrder, ListsLettersAndPositionsAgreeOnNamesOfEveryKind) {
  const char* const kNames[][2] = {{"Zack", "Lee"}, {"bob", "Hall"},   {"Émile", "Zola"},   {"Øystein", "Berg"},
                                   {"frank", "Ode"}, {"Grace", "Brown"}, {"Anna", "Érdi"},   {"dora", "Kim"},
                                   {"Bob", "Hall"}};
  for (const auto& name : kNames) {
    Add(name[0], name[1]);
  }
  std::vector<std::string> listed;
  CtSvcPrimaryFilter filter;
  CtSvcPrimaryFilterInit(&filter);
  filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  const INT32 h = CtSvcPrimaryListCreate(&filter, nullptr);
  for (int i = 0; i < CtSvcPrimaryListGetCount(h); ++i) {
    CtSvcPrimaryRecord record{};
    ASSERT_TRUE(CtSvcPrimaryListGetAt(h, i, &record));
    listed.push_back(record.Info.szFirstName);
  }
  // Case and accents decide only between names that are otherwise equal.
  EXPECT_EQ(listed, (std::vector<std::string>{"Anna", "Bob", "bob", "dora", "Émile", "frank", "Grace", "Øystein", "Zack"}));
  const MCHAR szF[] = {u'F', 0};
  EXPECT_EQ(CtSvcDbPrimaryGetFastScrollIndex(&filter, szF), 5);  // "frank", not "Grace Brown"
  CtSvcPersonFilterName name{CTSVC_FILTER_NAME_ORDER_FIRST_LAST, "emile", 0};
  EXPECT_EQ(CtSvcPrimaryListGetListIndexFromName(h, &name), 4);
  std::strcpy(name.szDisplayName, "Ö");
  EXPECT_EQ(CtSvcPrimaryListGetListIndexFromName(h, &name), 7);
  CtSvcPrimaryListDestroy(h);
  ExpectPrimaryListAgrees(CTSVC_FILTER_INDEX_FIRST_LAST);
  ExpectPrimaryListAgrees(CTSVC_FILTER_INDEX_LAST_FIRST);  // Berg, Brown, Érdi, Hall, ...
}

// A generated address book (fixed seed): Latin names with and without accents in both cases,
// Hangul, digits, symbols and empty names. In every name-ordered list each letter's rows are one
// run, the letters come in the order of their runs with the runs' lengths as counts, and the
// fast-scroll position of a letter is the first row of its run.
TEST_F(CtSvcNameOrder, EveryLetterIsOneRunOfTheListOnAGeneratedStore) {
  const char* const kWords[] = {"anna",  "Anna", "ÁNGEL", "émile", "Émile", "Eve",    "øystein", "Oscar", "zoë",
                                "Zack",  "bob",  "Bob",   "ßtefan", "Łukasz", "łucja", "dora",  "Đorđe", "æsa",
                                "Þóra",  "frank", "Grace", "김",    "이",     "박",    "오",    "하은",  "민지",
                                "까치",  "ㅎ",   "1st",   "007",   "42",     "#tag",  "!bang", "@home", "-dash",
                                "_under", "€uro", "Ünal",  "ýr",    "Ÿves",   "",      "",
                                "\xE2\x80\x8B" "bob",     // a zero-width space first
                                "E\xCC\x81" "douard"};     // the accent written apart
  std::mt19937 rng(20261206);
  const size_t nWords = std::size(kWords);
  for (int i = 0; i < 240; ++i) {
    Add(kWords[rng() % nWords], kWords[rng() % nWords]);
  }
  ExpectPrimaryListAgrees(CTSVC_FILTER_INDEX_FIRST_LAST);
  ExpectPrimaryListAgrees(CTSVC_FILTER_INDEX_LAST_FIRST);
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  ExpectLettersAgree(
      Runs(PersonRows()),
      [&](MCHAR* pLetters, INT32* pCounts, int n) { return CtSvcDbPersonGetGroupLetters(&filter, pLetters, pCounts, n); },
      [&](const MCHAR* pLetter) { return CtSvcDbPersonGetFastScrollIndex(&filter, pLetter); });
}

}  // namespace
