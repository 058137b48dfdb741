// Contact and primary lists: slots, bad arguments, the shared cursor, name positions, and
// primaries of a group following changes of the primaries.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "ListTestSupport.h"
#include "ZelCoreTest.h"

namespace {

using namespace ctsvc_list_test;

CtSvcPersonFilterName Name(int nOrder, const char* pszName) {
  CtSvcPersonFilterName name{};
  name.NameOrder = nOrder;
  std::strcpy(name.szDisplayName, pszName);
  return name;
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
}

TEST_F(CtSvcListTest, BadArgumentsFailWithTheirAssertion) {
  AddNamed("Ann", "Zed");
  const INT32 h = CtSvcContactListCreate(nullptr, nullptr);
  const INT32 nCount = CtSvcContactListGetCount(h);
  ASSERT_EQ(1, nCount);
  CtSvcPersonRecord record{};
  const CtSvcPersonFilterName empty{};
  const struct {
    std::function<INT32()> call;
    INT32 nExpected;
    const char* szAssertion;  // null: a logged failure only
  } kCases[] = {
      {[&] { return CtSvcContactListGetAt(h, -1, &record); }, 0, "nIndex >= 0"},
      {[&] { return CtSvcContactListGetAt(h, 0, nullptr); }, 0, "pRecord"},
      {[&] { return CtSvcContactListSetPos(h, nCount); }, -1, "nPos >= 0 && nPos < g_PBList[hPhonebook]->GetCount()"},
      {[&] { return CtSvcContactListGetCurrent(h, nullptr); }, -1, "pRecord"},
      {[&] { return CtSvcContactListIsFirst(h + 1); }, 0, "g_PBList[hPhonebook]"},
      {[&] { return CtSvcPrimaryListSetPos(0, 0); }, -1, "g_PrimaryList[hPrimary]"},
      {[&] { return CtSvcContactListGetListIndexFromName(h, nullptr); }, -1, "pNameFilter"},
      {[&] { return CtSvcContactListGetListIndexFromName(h, &empty); }, -1, nullptr},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.szAssertion != nullptr ? c.szAssertion : "empty name");
    zel::test::LogCapture capture;
    EXPECT_EQ(c.nExpected, c.call());
    EXPECT_TRUE(c.szAssertion != nullptr ? capture.HasAssertion(c.szAssertion) : capture.Assertions().empty());
  }
  EXPECT_EQ(nCount, CtSvcContactListGetCount(h));
}

TEST_F(CtSvcListTest, CursorMovesThroughTheListAndReportsWhereItStands) {
  for (const char* pszFirst : {"J", "I", "H", "G", "F", "E", "D", "C", "B", "A"}) {
    AddNamed(pszFirst, "Doe");
  }
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  const INT32 h = CtSvcContactListCreate(&filter, nullptr);
  ASSERT_EQ(10, CtSvcContactListGetCount(h));
  const CtSvcPersonFilterName name = Name(CTSVC_FILTER_NAME_ORDER_FIRST_LAST, "H");
  EXPECT_EQ(7, CtSvcContactListGetListIndexFromName(h, &name));

  CtSvcPersonRecord record{};
  ASSERT_EQ(1, CtSvcContactListSetPos(h, 7));
  EXPECT_EQ(7, CtSvcContactListGetCurrent(h, &record));
  EXPECT_STREQ("H", record.Info.szFirstName);
  EXPECT_TRUE(CtSvcContactListGetNext(h, &record));
  EXPECT_STREQ("I", record.Info.szFirstName);
  EXPECT_TRUE(CtSvcContactListGetPrev(h, &record));
  EXPECT_STREQ("H", record.Info.szFirstName);

  ASSERT_EQ(1, CtSvcContactListSetPos(h, 9));
  EXPECT_TRUE(CtSvcContactListIsLast(h));
  zel::test::LogCapture capture;
  EXPECT_FALSE(CtSvcContactListGetNext(h, &record));
  EXPECT_TRUE(capture.Contains("CtSvcContactListGetNext - pIterator->GetNext failed(HGROUP = 0\n"));
  ASSERT_EQ(1, CtSvcContactListSetPos(h, 0));
  EXPECT_TRUE(CtSvcContactListIsFirst(h));
  EXPECT_FALSE(CtSvcContactListGetPrev(h, &record));
  EXPECT_EQ(0, CtSvcContactListGetCurrent(h, &record));
  EXPECT_STREQ("A", record.Info.szFirstName);
}

TEST_F(CtSvcListTest, PrimaryNamePositionFollowsTheNameOrder) {
  const char* const kNames[][2] = {{"Ann", "Z"}, {"Bob", "Y"}, {"Cid", "X"}, {"Dan", "W"}};
  for (const auto& name : kNames) {
    AddNamed<CCtSvcPrimary>(name[0], name[1]);
  }
  const int kLastFirst = CTSVC_FILTER_NAME_ORDER_FIRST_LAST + 1;
  const struct {
    int nIndexType;
    CtSvcPersonFilterName name;
    INT32 nExpected;
    const char* szFirstAtPosition;
  } kCases[] = {
      {CTSVC_FILTER_INDEX_FIRST_LAST, Name(CTSVC_FILTER_NAME_ORDER_FIRST_LAST, "B"), 1, "Bob"},
      {CTSVC_FILTER_INDEX_LAST_FIRST, Name(kLastFirst, "Y"), 2, "Bob"},
      {CTSVC_FILTER_INDEX_LAST_FIRST, Name(kLastFirst, "A"), 0, "Dan"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name.szDisplayName);
    CtSvcPrimaryFilter filter;
    CtSvcPrimaryFilterInit(&filter);
    filter.FilterIndexType = c.nIndexType;
    const INT32 h = CtSvcPrimaryListCreate(&filter, nullptr);
    EXPECT_EQ(c.nExpected, CtSvcPrimaryListGetListIndexFromName(h, &c.name));
    CtSvcPrimaryRecord record{};
    EXPECT_TRUE(CtSvcPrimaryListGetAt(h, c.nExpected, &record));
    EXPECT_STREQ(c.szFirstAtPosition, record.Info.szFirstName);
    EXPECT_TRUE(CtSvcPrimaryListDestroy(h));
  }
}

TEST_F(CtSvcListTest, PrimariesOfAGroupFollowChangesOfThePrimary) {
  CCtSvcPrimary primary = AddNamed<CCtSvcPrimary>("Old", "Name");
  CCtSvcGroupMember member;
  member.SetPrimaryId(primary.GetRecordId());
  member.SetGroupId(CTSVC_NOT_ASSIGNED_GROUP_ID);
  ASSERT_GT(member.Insert(1), 0);
  CtSvcPrimaryFilter filter;
  CtSvcPrimaryFilterInit(&filter);
  filter.nGroupId = CTSVC_NOT_ASSIGNED_GROUP_ID;
  const INT32 h = CtSvcPrimaryListCreate(&filter, nullptr);
  CtSvcPrimaryRecord record{};
  ASSERT_TRUE(CtSvcPrimaryListGetAt(h, 0, &record));
  EXPECT_STREQ("Old", record.Info.szFirstName);

  primary.SetFirstName("New");
  ASSERT_TRUE(primary.Update(primary.GetRecordId(), 1));
  ASSERT_TRUE(CtSvcPrimaryListGetAt(h, 0, &record));
  EXPECT_STREQ("New", record.Info.szFirstName);
  EXPECT_TRUE(CtSvcPrimaryListDestroy(h));
  EXPECT_TRUE(primary.Update(primary.GetRecordId(), 1));  // nothing refers to the destroyed list
}

}  // namespace
