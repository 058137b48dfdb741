#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDb.h"
#include "CtSvcSearch.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"
#include "ZelDb2.h"
#include "ZelNv.h"

namespace {

constexpr UINT32 kNvNameOrder = 1417;

class CtSvcSearch : public ctsvc_test::ServiceTest {
 protected:
  int AddPrimary(const char* pszFirst, const char* pszLast, int nDevType = CTSVC_USE_TYPE_PHONE,
                 int nFavorite = CTSVC_FAVORITE_TYPE_NOT_FAVORITE, int bHasPhoneNumber = 0) {
    CCtSvcPrimary primary = ctsvc_test::Named<CCtSvcPrimary>(pszFirst, pszLast, static_cast<CtSvcDeviceType>(nDevType));
    primary.SetFavorite(static_cast<CtSvcFavoriteType>(nFavorite));
    primary.SetHasPhoneNumber(bHasPhoneNumber);
    primary.SetLinkCount(1);
    const int nId = primary.Insert(1);
    m_names[nId] = std::string(pszFirst) + " " + pszLast;
    return nId;
  }

  static void AddToGroup(int nPrimaryId, int nGroupId) {
    ASSERT_GT(ctsvc_test::Row(CTSVC_DB_TABLE_GROUPMEMBER)
                  .Int(CTSVC_DB_GRPMEMBER_COLUMN_PRIMARY_ID, nPrimaryId)
                  .Int(CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, nGroupId)
                  .Insert("CtSvc/GroupMember"),
              0);
  }

  // Names of the basic result, in order.
  std::vector<std::string> Basic(const char* pszText, int nDeviceType = 0) {
    EXPECT_TRUE(CtSvcSearchRequestSearch(0, pszText, nDeviceType)) << pszText;
    std::vector<std::string> vcNames;
    for (int i = 0; i < CtSvcSearchGetResultCount(); ++i) {
      vcNames.push_back(m_names[CtSvcSearchGetResultItem(i)]);
    }
    return vcNames;
  }

  std::vector<std::string> Extended(const CtSvcExtendedSearchRequest& request) {
    const int nResultId = CtSvcExtendedSearchRequestSearch(0, &request);
    EXPECT_GE(nResultId, 0);
    std::vector<std::string> vcNames;
    for (int i = 0; i < CtSvcExtendedSearchGetResultCount(nResultId); ++i) {
      vcNames.push_back(m_names[CtSvcExtendedSearchGetResultItem(nResultId, i)]);
    }
    EXPECT_TRUE(CtSvcExtendedSearchDestroyResult(nResultId));
    return vcNames;
  }

  static CtSvcExtendedSearchRequest Request(const char* pszText) {
    CtSvcExtendedSearchRequest request{};
    std::strncpy(request.szSearchText, pszText, sizeof(request.szSearchText) - 1);
    request.nGroupId = -1;
    request.nAccountId = -1;
    return request;
  }

  std::map<int, std::string> m_names;
};

TEST_F(CtSvcSearch, WordPrefixesFindNamesInTheNameOrder) {
  AddPrimary("Kim", "Min-ji");
  AddPrimary("Ann", "Kidd");
  AddPrimary("Zed", "Kilo");
  AddPrimary("Bob", "Smith");
  AddPrimary("김", "민지");
  AddPrimary("박", "지성");
  AddPrimary("Dan", "O'Neil");
  struct Case {
    const char* szText;
    int nNameOrder;
    std::vector<std::string> vcNames;
  };
  const Case kCases[] = {
      {"ki", 0, {"Ann Kidd", "Kim Min-ji", "Zed Kilo"}},
      {"ki", 1, {"Ann Kidd", "Zed Kilo", "Kim Min-ji"}},  // Kidd Ann, Kilo Zed, Min-ji Kim
      {"KI MIN", 0, {"Kim Min-ji"}},                       // every word must match
      {"민", 0, {"김 민지"}},
      {"지", 0, {"박 지성"}},  // a prefix of a word, not any part of it
      {"김 민", 0, {"김 민지"}},
      {"o'ne", 0, {"Dan O'Neil"}},
      {"*", 0, {}},
      {"'", 0, {}},
      {"xyz", 0, {}},
  };
  for (const Case& c : kCases) {
    NvSetInt(kNvNameOrder, c.nNameOrder);
    EXPECT_EQ(c.vcNames, Basic(c.szText)) << c.szText << " / order " << c.nNameOrder;
  }
  EXPECT_EQ(7u, Basic("").size());
}

// What a person types finds the names: case and accents as the name order ignores them, a Korean
// full name without its blank (family name first, stored "given family"), initial consonants;
// results come in the name order ("bob" before "Zack").
TEST_F(CtSvcSearch, TypedTextFindsNamesWhateverItsCaseAccentsAndBlanks) {
  AddPrimary("\xC3\x89mile", "Zola");  // Émile
  AddPrimary("emile", "Roux");
  AddPrimary("EMILE", "Blanc");
  AddPrimary("Zack", "Lee");
  AddPrimary("bob", "Hall");
  AddPrimary("\xED\x95\x98\xEC\x9D\x80", "\xEC\x98\xA4");  // 하은 오
  AddPrimary("\xED\x98\x84\xEC\x95\x84", "\xEC\x9D\xB4");  // 현아 이
  const std::vector<std::string> emiles{"EMILE Blanc", "emile Roux", "\xC3\x89mile Zola"};
  const struct {
    const char* pszText;
    std::vector<std::string> vcNames;
  } kCases[] = {
      {"emile", emiles},
      {"\xC3\x89mile", emiles},
      {"EM", emiles},
      {"\xEC\x98\xA4\xED\x95\x98\xEC\x9D\x80", {"\xED\x95\x98\xEC\x9D\x80 \xEC\x98\xA4"}},  // 오하은
      {"\xE3\x85\x87\xE3\x85\x8E\xE3\x85\x87",  // ㅇㅎㅇ: 하은 오 and 현아 이
       {"\xED\x95\x98\xEC\x9D\x80 \xEC\x98\xA4", "\xED\x98\x84\xEC\x95\x84 \xEC\x9D\xB4"}},
      {"", {"bob Hall", "EMILE Blanc", "emile Roux", "\xC3\x89mile Zola", "Zack Lee",
            "\xED\x95\x98\xEC\x9D\x80 \xEC\x98\xA4", "\xED\x98\x84\xEC\x95\x84 \xEC\x9D\xB4"}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.vcNames, Basic(c.pszText)) << c.pszText;
    CtSvcExtendedSearchRequest request = Request(c.pszText);
    EXPECT_EQ(c.vcNames, Extended(request)) << c.pszText;
  }
}

TEST_F(CtSvcSearch, DeviceTypeKeepsOnlyItsContactsAndANewSearchReplacesTheResult) {
  AddPrimary("Kim", "Phone");
  AddPrimary("Kim", "Sim", CTSVC_USE_TYPE_SIM);
  EXPECT_EQ(std::vector<std::string>{"Kim Sim"}, Basic("kim", CTSVC_USE_TYPE_SIM));
  EXPECT_EQ(std::vector<std::string>{"Kim Phone"}, Basic("kim", CTSVC_USE_TYPE_PHONE));
  EXPECT_EQ(0, CtSvcGetLatestSearchType());
  EXPECT_EQ(0, CtSvcSearchGetResultItem(1));
  EXPECT_EQ(0, CtSvcSearchGetResultItem(-1));

  // A failing search leaves no result behind.
  EXPECT_FALSE(CtSvcSearchRequestSearch(1, "kim", 0));
  EXPECT_EQ(-1, CtSvcSearchGetResultCount());
  {
    zel::test::LogCapture capture;
    EXPECT_FALSE(CtSvcSearchRequestSearch(0, nullptr, 0));
    EXPECT_TRUE(capture.HasAssertion("pszSearchText != NULL"));
  }
}

TEST_F(CtSvcSearch, ExtendedSearchIsNarrowedByFavouriteDeviceTypeGroupAndData) {
  const int nFav = AddPrimary("Kate", "Fav", CTSVC_USE_TYPE_PHONE, CTSVC_FAVORITE_TYPE_FAVORITE);
  AddPrimary("Kate", "Sim", CTSVC_USE_TYPE_SIM, CTSVC_FAVORITE_TYPE_FAVORITE);
  const int nPhone = AddPrimary("Kate", "Phone", CTSVC_USE_TYPE_PHONE, CTSVC_FAVORITE_TYPE_NOT_FAVORITE, 1);
  AddToGroup(nFav, 5);
  AddToGroup(nPhone, 5);
  struct Case {
    const char* szName;
    void (*pfnSet)(CtSvcExtendedSearchRequest&);
    std::vector<std::string> vcNames;
  };
  const Case kCases[] = {
      {"nothing", [](CtSvcExtendedSearchRequest&) {}, {"Kate Fav", "Kate Phone", "Kate Sim"}},
      {"favourite on the phone", [](CtSvcExtendedSearchRequest& r) { r.FavoriteType = 2; }, {"Kate Fav"}},
      {"SIM", [](CtSvcExtendedSearchRequest& r) { r.DevType = 2; }, {"Kate Sim"}},
      {"group", [](CtSvcExtendedSearchRequest& r) { r.nGroupId = 5; }, {"Kate Fav", "Kate Phone"}},
      {"group and favourite",
       [](CtSvcExtendedSearchRequest& r) {
         r.nGroupId = 5;
         r.FavoriteType = 2;
       },
       {"Kate Fav"}},
      {"has a number", [](CtSvcExtendedSearchRequest& r) { r.nFilterFlag = 1; }, {"Kate Phone"}},
  };
  for (const Case& c : kCases) {
    CtSvcExtendedSearchRequest request = Request("ka");
    c.pfnSet(request);
    EXPECT_EQ(c.vcNames, Extended(request)) << c.szName;
  }
}

TEST_F(CtSvcSearch, TwentyExtendedResultsAtMostAndEveryFailureIsMinusOne) {
  AddPrimary("Kim", "Lee");
  const CtSvcExtendedSearchRequest request = Request("k");
  for (int i = 0; i < CTSVC_EXTENDED_SEARCH_MAX_RESULT; ++i) {
    ASSERT_EQ(i, CtSvcExtendedSearchRequestSearch(0, &request));
  }
  EXPECT_EQ(-1, CtSvcExtendedSearchRequestSearch(0, &request));
  EXPECT_TRUE(CtSvcExtendedSearchDestroyResult(7));
  EXPECT_FALSE(CtSvcExtendedSearchDestroyResult(7));
  EXPECT_EQ(-1, CtSvcExtendedSearchGetResultCount(7));
  EXPECT_EQ(0, CtSvcExtendedSearchGetResultItem(7, 0));
  EXPECT_EQ(7, CtSvcExtendedSearchRequestSearch(0, &request));
  EXPECT_EQ(1, CtSvcExtendedSearchGetResultCount(19));
  CtSvcExtendedSearchDestroyAllResult();
  EXPECT_EQ(-1, CtSvcExtendedSearchGetResultCount(0));

  EXPECT_EQ(-1, CtSvcExtendedSearchRequestSearch(0, nullptr));
  EXPECT_EQ(-1, CtSvcExtendedSearchRequestSearch(1, &request));  // persons have no index
  EXPECT_EQ(-1, CtSvcExtendedSearchRequestSearch(2, &request));
  EXPECT_EQ(-1, CtSvcExtendedSearchRequestSearch(-1, &request));
  EXPECT_EQ(-1, CtSvcExtendedSearchGetResultCount(-5));
  EXPECT_EQ(-1, CtSvcExtendedSearchGetResultCount(20));
}

TEST_F(CtSvcSearch, OverlongAndUnterminatedTextsAreCutAndStillAnswer) {
  AddPrimary("Kim", "Lee");
  AddPrimary("Ann", "Kidd");
  // 1 000 bytes: "ki" and blanks up to the cut, then a word that is never searched.
  const std::string strLong = "ki" + std::string(200, ' ') + std::string(798, 'z');
  EXPECT_EQ(2u, Basic(strLong.c_str()).size());
  const std::string strHostile = std::string(500, '\'') + std::string(500, '*');
  EXPECT_TRUE(Basic(strHostile.c_str()).empty());

  CtSvcExtendedSearchRequest request = Request("");
  std::memset(request.szSearchText, 'k', sizeof(request.szSearchText));  // no terminator
  EXPECT_TRUE(Extended(request).empty());
}

TEST_F(CtSvcSearch, OnlyThePrimaryIndexIsCreated) {
  EXPECT_TRUE(CtSvcSearchCreateIndex(0));  // exists since the start
  EXPECT_FALSE(CtSvcSearchCreateIndex(1));
  EXPECT_EQ(0, Db2QueryEx("SELECT * FROM sysirs_indexes where groupname = 'searchct'"));
  EXPECT_TRUE(CtDbSvcDeleteSearchSvcIndex());  // the contact-data indexes only
  EXPECT_EQ(1, Db2QueryEx("SELECT * FROM sysirs_indexes where groupname = 'ctprimarygroup'"));
}

}  // namespace
