// One name order everywhere: lists, index letters with their counts, fast-scroll positions and
// positions by name agree, on chosen names and on a generated address book.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbPerson.h"
#include "CtSvcList.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ZelDb2.h"
#include "ZelGWESCore.h"

namespace {

// One list family's functions.
template <typename Filter, typename Record>
struct Family {
  INT32 (*create)(const Filter*, CtSvcListCallback);
  INT32 (*count)(INT32);
  BOOL (*getAt)(INT32, INT32, Record*);
  BOOL (*destroy)(INT32);
  int (*getLetters)(const Filter*, MCHAR*, INT32*, int);
  int (*getPosition)(const Filter*, const MCHAR*);
  const char* pszTable;
};

const Family<CtSvcPrimaryFilter, CtSvcPrimaryRecord> kPrimaries{
    CtSvcPrimaryListCreate,         CtSvcPrimaryListGetCount,         CtSvcPrimaryListGetAt, CtSvcPrimaryListDestroy,
    CtSvcDbPrimaryGetGroupLetters, CtSvcDbPrimaryGetFastScrollIndex, "CtSvcPrimary"};
const Family<CtSvcPersonFilter, CtSvcPersonRecord> kPersons{
    CtSvcContactListCreate,        CtSvcContactListGetCount,        CtSvcContactListGetAt, CtSvcContactListDestroy,
    CtSvcDbPersonGetGroupLetters, CtSvcDbPersonGetFastScrollIndex, "CtSvcPerson"};

class CtSvcNameOrder : public ctsvc_test::ServiceTest {
 protected:
  static void Add(const char* pszFirst, const char* pszLast) {
    ctsvc_test::ContactParts parts(pszFirst, -1, pszLast);
    CCtSvcContact contact(parts.Info(), CTSVC_USE_TYPE_PHONE);
    ASSERT_GT(contact.Insert(1), 0) << pszFirst << " " << pszLast;
  }

  // The group letter column of a row, read with SQL of the test's own.
  static MCHAR LetterOf(const char* pszTable, const char* pszColumn, int nId) {
    EXPECT_GE(Db2QueryEx("SELECT %s FROM %s WHERE ID = %d", pszColumn, pszTable, nId), 0);
    MCHAR sz[4] = {};
    if (Db2GetNextRow() > 0) {
      WmConvert2PCode(sz, 4, Db2GetColumn(0));
    }
    EXPECT_TRUE(sz[0] != 0 && sz[1] == 0) << pszTable << " " << nId;
    return sz[0];
  }

  // The list's rows fall into one run per letter; the letters with their counts and every
  // letter's fast-scroll position agree with the runs.
  template <typename Filter, typename Record>
  static void ExpectLettersAgree(const Family<Filter, Record>& family, int nIndexType) {
    SCOPED_TRACE(std::string(family.pszTable) + (nIndexType == CTSVC_FILTER_INDEX_LAST_FIRST ? " last-first" : " first-last"));
    Filter filter{};
    if constexpr (std::is_same_v<Filter, CtSvcPrimaryFilter>) {
      CtSvcPrimaryFilterInit(&filter);
    } else {
      CtSvcPersonFilterInit(&filter);
    }
    filter.FilterIndexType = nIndexType;
    const char* pszLetter = nIndexType == CTSVC_FILTER_INDEX_LAST_FIRST ? "LF_GROUP_LETTER" : "FL_GROUP_LETTER";
    std::vector<std::pair<MCHAR, int>> runs;  // letter, first row
    std::vector<int> counts;
    const INT32 h = family.create(&filter, nullptr);
    ASSERT_GE(h, 0);
    for (int i = 0; i < family.count(h); ++i) {
      Record record{};
      EXPECT_TRUE(family.getAt(h, i, &record));
      const MCHAR letter = LetterOf(family.pszTable, pszLetter, record.nId);
      if (runs.empty() || runs.back().first != letter) {
        for (const auto& run : runs) {
          EXPECT_NE(run.first, letter) << "letter U+" << std::hex << letter << " comes back at row " << std::dec << i;
        }
        runs.emplace_back(letter, i);
        counts.push_back(0);
      }
      ++counts.back();
    }
    family.destroy(h);
    MCHAR aLetters[512] = {};
    INT32 aCounts[512] = {};
    ASSERT_EQ(family.getLetters(&filter, aLetters, aCounts, 512), static_cast<int>(runs.size()));
    for (size_t i = 0; i < runs.size(); ++i) {
      EXPECT_EQ(aLetters[i], runs[i].first) << i;
      EXPECT_EQ(aCounts[i], counts[i]) << "letter U+" << std::hex << aLetters[i];
      const MCHAR sz[2] = {runs[i].first, 0};
      EXPECT_EQ(family.getPosition(&filter, sz), runs[i].second) << "letter U+" << std::hex << aLetters[i];
    }
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
  ExpectLettersAgree(kPrimaries, CTSVC_FILTER_INDEX_FIRST_LAST);
  ExpectLettersAgree(kPrimaries, CTSVC_FILTER_INDEX_LAST_FIRST);  // Berg, Brown, Érdi, Hall, ...
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
  ExpectLettersAgree(kPrimaries, CTSVC_FILTER_INDEX_FIRST_LAST);
  ExpectLettersAgree(kPrimaries, CTSVC_FILTER_INDEX_LAST_FIRST);
  ExpectLettersAgree(kPersons, CTSVC_FILTER_INDEX_FIRST_LAST);
}

}  // namespace
