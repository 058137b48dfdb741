// Contact and primary lists: slots, bad arguments with their assertions, the shared cursor, name
// positions, and primaries of a group following changes of the primaries.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "ListTestSupport.h"
#include "ZelCoreTest.h"

namespace {

using namespace ctsvc_list_test;

CtSvcPersonFilter FirstLastPersons() {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  return filter;
}

class CtSvcListTest : public ListTest {};

TEST_F(CtSvcListTest, SixteenthListFailsAndAFreedSlotIsTakenFirst) {
  for (INT32 h = 0; h < CTSVC_PHONEBOOK_LIST_MAX; ++h) {
    ASSERT_EQ(h, CtSvcContactListCreate(nullptr, nullptr));
  }
  EXPECT_EQ(-1, CtSvcContactListCreate(nullptr, nullptr));
  EXPECT_TRUE(CtSvcContactListDestroy(3));
  EXPECT_EQ(3, CtSvcContactListCreate(nullptr, nullptr));

  zel::test::LogCapture capture;
  EXPECT_TRUE(CtSvcContactListDestroy(3));
  EXPECT_TRUE(capture.Contains("CtSvcContactListDestroy - Destroy ContentList success\n"));
  EXPECT_FALSE(CtSvcContactListDestroy(3));
  EXPECT_TRUE(capture.Assertions().empty());
  EXPECT_FALSE(CtSvcContactListDestroy(CTSVC_PHONEBOOK_LIST_MAX));
  EXPECT_TRUE(capture.HasAssertion("hPhonebook >= 0 && hPhonebook < CTSVC_PHONEBOOK_LIST_MAX"));
}

TEST_F(CtSvcListTest, BadArgumentsFailWithTheirAssertion) {
  AddPerson("Ann", "Zed");
  const CtSvcPersonFilter filter = FirstLastPersons();
  const INT32 h = CtSvcContactListCreate(&filter, nullptr);
  ASSERT_EQ(0, h);
  const INT32 nCount = CtSvcContactListGetCount(h);
  ASSERT_EQ(1, nCount);
  CtSvcPersonRecord record{};
  CtSvcPersonFilterName name{};
  struct Case {
    const char* szName;
    std::function<INT32()> call;
    INT32 nExpected;
    const char* szAssertion;
  };
  const Case kCases[] = {
      {"negative index", [&] { return CtSvcContactListGetAt(h, -1, &record); }, 0, "nIndex >= 0"},
      {"null record", [&] { return CtSvcContactListGetAt(h, 0, nullptr); }, 0, "pRecord"},
      {"position at count", [&] { return CtSvcContactListSetPos(h, nCount); }, -1,
       "nPos >= 0 && nPos < g_PBList[hPhonebook]->GetCount()"},
      {"unopened slot", [&] { return CtSvcContactListGetCount(h + 1); }, -1, "g_PBList[hPhonebook]"},
      {"handle out of range", [&] { return CtSvcContactListIsFirst(CTSVC_PHONEBOOK_LIST_MAX); }, 0,
       "hPhonebook >= 0 && hPhonebook < CTSVC_PHONEBOOK_LIST_MAX"},
      {"null name", [&] { return CtSvcContactListGetListIndexFromName(h, nullptr); }, -1, "pNameFilter"},
      {"null cursor record", [&] { return CtSvcContactListGetCurrent(h, nullptr); }, -1, "pRecord"},
      {"primary position", [&] { return CtSvcPrimaryListSetPos(0, -1); }, -1, "g_PrimaryList[hPrimary]"},
      {"empty name", [&] { return CtSvcContactListGetListIndexFromName(h, &name); }, -1, nullptr},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    zel::test::LogCapture capture;
    EXPECT_EQ(c.nExpected, c.call());
    if (c.szAssertion != nullptr) {
      EXPECT_TRUE(capture.HasAssertion(c.szAssertion));
    }
  }
  EXPECT_EQ(nCount, CtSvcContactListGetCount(h));
}

TEST_F(CtSvcListTest, CursorMovesThroughTheListAndReportsWhereItStands) {
  for (const char* pszFirst : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"}) {
    AddPerson(pszFirst, "Doe");
  }
  const CtSvcPersonFilter filter = FirstLastPersons();
  const INT32 h = CtSvcContactListCreate(&filter, nullptr);
  ASSERT_EQ(10, CtSvcContactListGetCount(h));

  CtSvcPersonRecord record{};
  ASSERT_EQ(1, CtSvcContactListSetPos(h, 7));
  EXPECT_EQ(7, CtSvcContactListGetCurrent(h, &record));
  EXPECT_STREQ("H", record.Info.szFirstName);
  EXPECT_EQ(7, CtSvcContactListGetListIndexFromID(h, record.nId));
  EXPECT_TRUE(CtSvcContactListGetNext(h, &record));
  EXPECT_STREQ("I", record.Info.szFirstName);
  EXPECT_TRUE(CtSvcContactListGetPrev(h, &record));
  EXPECT_STREQ("H", record.Info.szFirstName);

  ASSERT_EQ(1, CtSvcContactListSetPos(h, 9));
  EXPECT_TRUE(CtSvcContactListIsLast(h));
  {
    zel::test::LogCapture capture;
    EXPECT_FALSE(CtSvcContactListGetNext(h, &record));
    EXPECT_TRUE(capture.Contains("CtSvcContactListGetNext - pIterator->GetNext failed(HGROUP = 0\n"));
  }
  ASSERT_EQ(1, CtSvcContactListSetPos(h, 0));
  EXPECT_TRUE(CtSvcContactListIsFirst(h));
  EXPECT_FALSE(CtSvcContactListIsLast(h));
  EXPECT_FALSE(CtSvcContactListGetPrev(h, &record));
  EXPECT_EQ(0, CtSvcContactListGetCurrent(h, &record));
  EXPECT_STREQ("A", record.Info.szFirstName);
}

TEST_F(CtSvcListTest, NamePositionIsTheNumberOfRowsSortedBefore) {
  const char* const kNames[][2] = {{"Ann", "Zed"}, {"Bob", "Young"}, {"Cid", "Xu"}, {"Dan", "Wong"}};
  for (const auto& name : kNames) {
    AddPerson(name[0], name[1]);
    ASSERT_GT(AddPrimary(name[0], name[1]), 0);
  }
  // Each lookup opens a list in the index order, answers (position, first name at the position).
  using Lookup = std::function<std::pair<INT32, std::string>(int, const CtSvcPersonFilterName&)>;
  const Lookup persons = [](int nIndexType, const CtSvcPersonFilterName& name) {
    CtSvcPersonFilter filter = FirstLastPersons();
    filter.FilterIndexType = nIndexType;
    const INT32 h = CtSvcContactListCreate(&filter, nullptr);
    const INT32 nPos = CtSvcContactListGetListIndexFromName(h, &name);
    CtSvcPersonRecord record{};
    CtSvcContactListGetAt(h, nPos, &record);
    CtSvcContactListDestroy(h);
    return std::make_pair(nPos, std::string(record.Info.szFirstName));
  };
  const Lookup primaries = [](int nIndexType, const CtSvcPersonFilterName& name) {
    CtSvcPrimaryFilter filter;
    CtSvcPrimaryFilterInit(&filter);
    filter.FilterIndexType = nIndexType;
    const INT32 h = CtSvcPrimaryListCreate(&filter, nullptr);
    const INT32 nPos = CtSvcPrimaryListGetListIndexFromName(h, &name);
    CtSvcPrimaryRecord record{};
    CtSvcPrimaryListGetAt(h, nPos, &record);
    CtSvcPrimaryListDestroy(h);
    return std::make_pair(nPos, std::string(record.Info.szFirstName));
  };
  const int kFL = CTSVC_FILTER_NAME_ORDER_FIRST_LAST;
  const int kLF = CTSVC_FILTER_NAME_ORDER_FIRST_LAST + 1;
  struct Case {
    const char* szName;
    const Lookup* pLookup;
    int nIndexType;
    int nNameOrder;
    const char* szDisplayName;
    INT32 nExpected;
    const char* szFirstAtPosition;
  };
  const Case kCases[] = {
      {"persons first-last", &persons, CTSVC_FILTER_INDEX_FIRST_LAST, kFL, "Cid", 2, "Cid"},
      {"primaries first-last", &primaries, CTSVC_FILTER_INDEX_FIRST_LAST, kFL, "B", 1, "Bob"},
      {"primaries last-first", &primaries, CTSVC_FILTER_INDEX_LAST_FIRST, kLF, "Young", 2, "Bob"},
      {"primaries last-first before all", &primaries, CTSVC_FILTER_INDEX_LAST_FIRST, kLF, "A", 0, "Dan"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    CtSvcPersonFilterName name{};
    name.NameOrder = c.nNameOrder;
    std::strcpy(name.szDisplayName, c.szDisplayName);
    const auto result = (*c.pLookup)(c.nIndexType, name);
    EXPECT_EQ(c.nExpected, result.first);
    EXPECT_EQ(c.szFirstAtPosition, result.second);
  }
}

TEST_F(CtSvcListTest, PrimariesOfAGroupFollowChangesOfThePrimary) {
  const CCtSvcPerson person = AddPerson("Old", "Name");
  const int nPrimaryId = AddPrimary("Old", "Name");
  CCtSvcGroupMember member;
  member.SetPersonId(person.GetRecordId());
  member.SetPrimaryId(nPrimaryId);
  member.SetGroupId(CTSVC_NOT_ASSIGNED_GROUP_ID);
  ASSERT_GT(member.Insert(1), 0);

  CtSvcPrimaryFilter filter;
  CtSvcPrimaryFilterInit(&filter);
  filter.nGroupId = CTSVC_NOT_ASSIGNED_GROUP_ID;
  const INT32 h = CtSvcPrimaryListCreate(&filter, nullptr);
  ASSERT_EQ(1, CtSvcPrimaryListGetCount(h));
  CtSvcPrimaryRecord record{};
  ASSERT_TRUE(CtSvcPrimaryListGetAt(h, 0, &record));
  EXPECT_STREQ("Old", record.Info.szFirstName);

  CCtSvcPrimary primary;
  ASSERT_TRUE(CCtSvcDbMgr::Instance()->GetPrimary(nPrimaryId, primary));
  primary.SetFirstName("New");
  ASSERT_TRUE(primary.Update(nPrimaryId, 1));
  ASSERT_TRUE(CtSvcPrimaryListGetAt(h, 0, &record));
  EXPECT_STREQ("New", record.Info.szFirstName);
  EXPECT_TRUE(CtSvcPrimaryListDestroy(h));
  EXPECT_TRUE(primary.Update(nPrimaryId, 1));  // nothing refers to the destroyed list any more
}

}  // namespace
