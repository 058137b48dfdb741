// The list handles: contact and primary list slots, bad arguments, the shared cursor, name
// positions, primaries of a group following changes; every list family over a few stored rows;
// and a list callback hearing changes on any task until the list is destroyed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "CtSvcDB/Records/CtSvcEmailAddress.h"
#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcFdn.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "CtSvcDB/Records/CtSvcIM.h"
#include "CtSvcDB/Records/CtSvcPhoneNumber.h"
#include "CtSvcDB/Records/CtSvcPostalAddress.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDbPerson.h"
#include "CtSvcList.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "CtSvcTestThreads.h"
#include "ZelCoreTest.h"

namespace {

// A stored person or primary.
template <class R = CCtSvcPerson>
R AddNamed(const char* pszFirst, const char* pszLast) {
  R record = ctsvc_test::Named<R>(pszFirst, pszLast);
  EXPECT_GT(record.Insert(1), 0);
  return record;
}

// Closes the contact and primary lists a test left open (the tables are process-wide).
class ListTest : public ctsvc_test::ServiceTest {
 protected:
  void TearDown() override {
    for (INT32 h = 0; h < CTSVC_PHONEBOOK_LIST_MAX; ++h) {
      CtSvcContactListDestroy(h);
      CtSvcPrimaryListDestroy(h);
    }
    ServiceTest::TearDown();
  }
};

CtSvcPersonFilterName Name(int nOrder, const char* pszName) {
  CtSvcPersonFilterName name{};
  name.NameOrder = nOrder;
  std::strcpy(name.szDisplayName, pszName);
  return name;
}

class CtSvcListTest : public ListTest {};
class ThreadsCtSvcListTest : public ListTest {};

TEST_F(CtSvcListTest, SixteenthListFailsAndAFreedSlotIsTakenFirst) {
  for (INT32 h = 0; h < CTSVC_PHONEBOOK_LIST_MAX; ++h) {
    ASSERT_EQ(h, CtSvcContactListCreate(nullptr, nullptr));
  }
  EXPECT_EQ(-1, CtSvcContactListCreate(nullptr, nullptr));
  EXPECT_TRUE(CtSvcContactListDestroy(3));
  EXPECT_EQ(3, CtSvcContactListCreate(nullptr, nullptr));

  zel::test::LogCapture capture;
  EXPECT_TRUE(CtSvcContactListDestroy(3));
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
  EXPECT_FALSE(CtSvcContactListGetNext(h, &record));
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

using Ids = std::vector<int>;

constexpr int kGroup = 7;

// A membership of a stored person (with its primary) in a group.
int AddMember(int nPersonId, int nPrimaryId, int nGroupId = kGroup) {
  CCtSvcGroupMember member;
  member.SetPersonId(nPersonId);
  member.SetPrimaryId(nPrimaryId);
  member.SetGroupId(nGroupId);
  return member.Insert(1);
}

// A stored person of a primary.
int AddPersonOf(const CCtSvcPrimary& primary, const char* pszFirst) {
  CCtSvcPerson person = ctsvc_test::Named(pszFirst, "Doe");
  person.SetPrimaryId(primary.GetRecordId());
  return person.Insert(1);
}

// What a field of each row of a list holds, read with the family's GetAt (-1 for a row it fails).
template <class R>
Ids ListedValues(INT32 h, INT32 nCount, BOOL (*pfnGetAt)(INT32, INT32, R*), int (*pfnValue)(const R&)) {
  Ids vcValues;
  for (INT32 i = 0; i < nCount; ++i) {
    R record{};
    vcValues.push_back(pfnGetAt(h, i, &record) ? pfnValue(record) : -1);
  }
  return vcValues;
}

CtSvcPrimaryFilter PrimariesOfGroup(int nGroupId) {
  CtSvcPrimaryFilter filter;
  CtSvcPrimaryFilterInit(&filter);
  filter.nGroupId = nGroupId;
  return filter;
}

// A contact whose two persons are both in the group is one row of the group's primaries, in the
// list, its count, its ids, its name positions and its index letters alike.
TEST_F(CtSvcListTest, MergedContactIsListedOnceInItsGroup) {
  const CCtSvcPrimary merged = AddNamed<CCtSvcPrimary>("Ann", "Doe");
  AddMember(AddPersonOf(merged, "Ann"), merged.GetRecordId());
  AddMember(AddPersonOf(merged, "Anna"), merged.GetRecordId());
  const CCtSvcPrimary single = AddNamed<CCtSvcPrimary>("Bob", "Doe");
  AddMember(AddPersonOf(single, "Bob"), single.GetRecordId());
  AddMember(AddPersonOf(single, "Bob"), single.GetRecordId(), kGroup + 1);

  const CtSvcPrimaryFilter filter = PrimariesOfGroup(kGroup);
  const INT32 h = CtSvcPrimaryListCreate(&filter, nullptr);
  ASSERT_EQ(2, CtSvcPrimaryListGetCount(h));
  EXPECT_EQ((Ids{merged.GetRecordId(), single.GetRecordId()}),
            ListedValues<CtSvcPrimaryRecord>(h, 2, &CtSvcPrimaryListGetAt, [](const auto& r) { return r.nId; }));
  const CtSvcPersonFilterName after = Name(CTSVC_FILTER_NAME_ORDER_FIRST_LAST, "Zed");
  EXPECT_EQ(2, CtSvcPrimaryListGetListIndexFromName(h, &after));
  EXPECT_EQ(2, CtSvcDbPrimaryGetCount(&filter));
  INT32 aIds[4] = {};
  EXPECT_EQ(2, CtSvcDbPrimaryGetIds(&filter, aIds, 4));
  // Its index letter counts it once, and the next letter starts after it.
  CtSvcPrimaryFilter ordered = filter;
  ordered.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  MCHAR aLetters[4] = {};
  INT32 aCounts[4] = {};
  ASSERT_EQ(2, CtSvcDbPrimaryGetGroupLetters(&ordered, aLetters, aCounts, 4));
  EXPECT_EQ(u'A', aLetters[0]);
  EXPECT_EQ((std::vector<INT32>{1, 1}), std::vector<INT32>(aCounts, aCounts + 2));
  const MCHAR szB[] = {u'B', 0};
  EXPECT_EQ(1, CtSvcDbPrimaryGetFastScrollIndex(&ordered, szB));
}

// Memberships come in the order of their persons, whatever order they were stored in.
TEST_F(CtSvcListTest, GroupMembersComeInTheOrderOfTheirPersons) {
  Ids vcPersons;
  for (const char* pszName : {"Ann", "Bob", "Cid"}) {
    vcPersons.push_back(AddNamed(pszName, "Doe").GetRecordId());
  }
  for (auto it = vcPersons.rbegin(); it != vcPersons.rend(); ++it) {
    AddMember(*it, -1);
  }
  CtSvcGroupMemberFilter filter;
  CtSvcGroupMemberFilterInit(&filter);
  filter.nGroupId = kGroup;
  const INT32 h = CtSvcGroupMemberListCreate(&filter, nullptr);
  ASSERT_EQ(3, CtSvcGroupMemberListGetCount(h));
  EXPECT_EQ(vcPersons, ListedValues<CtSvcGroupMemberRecord>(h, 3, &CtSvcGroupMemberListGetAt,
                                                            [](const auto& r) { return r.Info.nPersonId; }));
  EXPECT_TRUE(CtSvcGroupMemberListDestroy(h));
}


// The rows each family is tried on; numbers and e-mail addresses share a table, so each of
// those lists must keep to its own kind.
struct Rows {
  Ids persons, primaries, fdns, groups{CTSVC_NOT_ASSIGNED_GROUP_ID}, members, numbers, emails, addresses, etcData, ims;
};

template <class R, class Fill>
int Add(Fill fill) {
  R record;
  fill(record);
  return record.Insert(1);
}

Rows StoreRows() {
  Rows rows;
  for (const char* pszName : {"Ann", "Bob"}) {
    const CCtSvcPerson person = AddNamed(pszName, "Doe");
    rows.persons.push_back(person.GetRecordId());
    rows.primaries.push_back(AddNamed<CCtSvcPrimary>(pszName, "Doe").GetRecordId());
    rows.fdns.push_back(Add<CCtSvcFdn>([&](CCtSvcFdn& r) { r.SetName(pszName); }));
    rows.groups.push_back(Add<CCtSvcGroup>([&](CCtSvcGroup& r) { r.SetName(pszName); }));
    rows.members.push_back(Add<CCtSvcGroupMember>([&](CCtSvcGroupMember& r) {
      r.SetPerson(person);
      r.SetGroupId(rows.groups.back());
    }));
    rows.numbers.push_back(Add<CCtSvcPhoneNumber>([&](CCtSvcPhoneNumber& r) { r.SetPerson(person); }));
    rows.emails.push_back(Add<CCtSvcEmailAddress>([&](CCtSvcEmailAddress& r) { r.SetPerson(person); }));
    rows.addresses.push_back(Add<CCtSvcPostalAddress>([&](CCtSvcPostalAddress& r) { r.SetPerson(person); }));
    rows.etcData.push_back(Add<CCtSvcEtcData>([&](CCtSvcEtcData& r) { r.SetPerson(person); }));
    rows.ims.push_back(Add<CCtSvcIM>([&](CCtSvcIM& r) { r.SetPerson(person); }));
  }
  return rows;
}

struct Family {
  const char* szName;
  INT32 nSlots;
  const char* szRangeCheck;
  Ids Rows::*pIds;
  std::function<INT32()> create;  // every row
  BOOL (*pfnDestroy)(INT32);
  INT32 (*pfnGetCount)(INT32);
  std::function<int(INT32, INT32)> idAt;  // the id GetAt writes, -1 when it fails
  INT32 (*pfnIndexOf)(INT32, INT32);
};

template <class R>
std::function<int(INT32, INT32)> IdAt(BOOL (*pfnGetAt)(INT32, INT32, R*)) {
  return [pfnGetAt](INT32 h, INT32 nIndex) {
    R record{};
    return pfnGetAt(h, nIndex, &record) ? record.nId : -1;
  };
}

#define FAMILY(F, SLOTS, HANDLE, IDS, ...)                                                                \
  Family {                                                                                                \
    #F, SLOTS, HANDLE " >= 0 && " HANDLE " < " #SLOTS, &Rows::IDS,                                        \
        [] { return CtSvc##F##Create(__VA_ARGS__); }, &CtSvc##F##Destroy, &CtSvc##F##GetCount,            \
        IdAt(&CtSvc##F##GetAt), &CtSvc##F##GetListIndexFromID                                             \
  }

// clang-format off
const Family kFamilies[] = {
    FAMILY(ContactList, CTSVC_PHONEBOOK_LIST_MAX, "hPhonebook", persons, nullptr, nullptr),
    FAMILY(PrimaryList, CTSVC_PRIMARY_LIST_MAX, "hPrimary", primaries, nullptr, nullptr),
    FAMILY(FdnList, CTSVC_FDN_LIST_MAX, "hFdn", fdns, nullptr),
    FAMILY(GroupList, CTSVC_GROUP_LIST_MAX, "hGroup", groups, nullptr, nullptr),
    FAMILY(GroupMemberList, CTSVC_GROUPMEMBER_LIST_MAX, "hGroupMember", members, nullptr, nullptr),
    FAMILY(PhoneNumberList, CTSVC_PHONENUMBER_LIST_MAX, "hPhoneNumber", numbers, nullptr, nullptr),
    FAMILY(EmailAddressList, CTSVC_EMAILADDRESS_LIST_MAX, "hEmailAddress", emails, nullptr, nullptr),
    FAMILY(PostalAddressList, CTSVC_POSTALADDRESS_LIST_MAX, "hPostalAddress", addresses, nullptr, nullptr),
    FAMILY(EtcDataList, CTSVC_ETCDATA_LIST_MAX, "hEtcData", etcData, nullptr, nullptr),
    FAMILY(IMList, CTSVC_IM_LIST_MAX, "hIM", ims, nullptr, nullptr),
};
// clang-format on

#undef FAMILY

TEST_F(CtSvcListTest, EachFamilyReadsItsRowsAndRefusesBadHandles) {
  const Rows rows = StoreRows();
  for (const Family& f : kFamilies) {
    SCOPED_TRACE(f.szName);
    const Ids& vcIds = rows.*f.pIds;
    zel::test::LogCapture capture;
    const INT32 h = f.create();
    ASSERT_EQ(0, h);
    ASSERT_EQ(static_cast<INT32>(vcIds.size()), f.pfnGetCount(h));
    for (INT32 nIndex = 0; nIndex < static_cast<INT32>(vcIds.size()); ++nIndex) {
      const int nId = f.idAt(h, nIndex);
      EXPECT_NE(vcIds.end(), std::find(vcIds.begin(), vcIds.end(), nId)) << "row " << nIndex;
      EXPECT_EQ(nIndex, f.pfnIndexOf(h, nId));
    }
    EXPECT_EQ(-1, f.pfnIndexOf(h, 99999));
    EXPECT_EQ(-1, f.idAt(h, static_cast<INT32>(vcIds.size())));
    EXPECT_TRUE(capture.Assertions().empty());

    for (const INT32 hBad : {-1, f.nSlots}) {
      capture.Clear();
      EXPECT_EQ(-1, f.pfnGetCount(hBad));
      EXPECT_EQ(-1, f.idAt(hBad, 0));
      EXPECT_EQ(-1, f.pfnIndexOf(hBad, vcIds.front()));
      EXPECT_FALSE(f.pfnDestroy(hBad));
      EXPECT_EQ(4, capture.Count(f.szRangeCheck));
    }
    EXPECT_TRUE(f.pfnDestroy(h));
    EXPECT_EQ(-1, f.pfnGetCount(h));
  }
}

using Notices = std::vector<std::pair<INT32, INT32>>;

// List callbacks get no user data: the notices go to one log.
ctsvc_test::SyncLog<std::pair<INT32, INT32>> g_notices;

void OnListChange(INT32 nCode, INT32 nId, void* /*pInfo*/, void* pUserData) {
  EXPECT_EQ(nullptr, pUserData);
  g_notices.Add({nCode, nId});
}

// Stores a person on a new thread named as the task pszName; its id.
int AddPersonOnTask(const char* pszName) {
  int nId = -1;
  ctsvc_test::RunOnTask(pszName, [&] { nId = AddNamed("Ann", "Doe").GetRecordId(); });
  return nId;
}

TEST_F(ThreadsCtSvcListTest, CallbackHearsChangesOfTheListUntilItIsDestroyed) {
  g_notices.Take();
  const INT32 h = CtSvcContactListCreate(nullptr, &OnListChange);
  ASSERT_EQ(0, h);

  const int nId = AddPersonOnTask("Korin");  // called at once on the user-interface task
  EXPECT_EQ((Notices{{CTSVC_DB_LISTENER_CHANGE_INSERTED, nId}}), g_notices.Take());
  EXPECT_EQ(1, CtSvcContactListGetCount(h));
  const int nOther = AddPersonOnTask("Writer");  // relayed through the service's task
  DrainEventHandler();
  EXPECT_EQ((Notices{{CTSVC_DB_LISTENER_CHANGE_INSERTED, nOther}}), g_notices.Take());

  ASSERT_TRUE(CtSvcContactListDestroy(h));
  AddPersonOnTask("Korin");
  DrainEventHandler();
  EXPECT_TRUE(g_notices.Take().empty());
}

// A list filtered by group reads the memberships: it is reloaded, and its listener told (with id
// -1, as the membership names no row of the list), when one is added; a primary list of a group
// still hears changes of its primaries with their ids.
TEST_F(ThreadsCtSvcListTest, ListsFollowEveryTableTheirFilterReads) {
  const CCtSvcPrimary primary = AddNamed<CCtSvcPrimary>("Ann", "Doe");
  const int nPerson = AddPersonOf(primary, "Ann");
  CtSvcPersonFilter personFilter;
  CtSvcPersonFilterInit(&personFilter);
  personFilter.nGroupId = kGroup;
  const CtSvcPrimaryFilter primaryFilter = PrimariesOfGroup(kGroup);
  const struct {
    const char* szFamily;
    std::function<INT32()> create;
    INT32 (*pfnGetCount)(INT32);
    BOOL (*pfnDestroy)(INT32);
  } kLists[] = {
      {"contacts", [&] { return CtSvcContactListCreate(&personFilter, &OnListChange); }, &CtSvcContactListGetCount,
       &CtSvcContactListDestroy},
      {"primaries", [&] { return CtSvcPrimaryListCreate(&primaryFilter, &OnListChange); }, &CtSvcPrimaryListGetCount,
       &CtSvcPrimaryListDestroy},
  };
  for (const auto& list : kLists) {
    SCOPED_TRACE(list.szFamily);
    g_notices.Take();
    const INT32 h = list.create();
    ASSERT_GE(h, 0);
    ASSERT_EQ(0, list.pfnGetCount(h));
    int nMember = -1;
    ctsvc_test::RunOnTask("Korin", [&] { nMember = AddMember(nPerson, primary.GetRecordId()); });
    EXPECT_EQ((Notices{{CTSVC_DB_LISTENER_CHANGE_INSERTED, -1}}), g_notices.Take());
    EXPECT_EQ(1, list.pfnGetCount(h));
    ctsvc_test::RunOnTask("Korin", [&] { CContentMgr::Instance()->Delete("CtSvc/GroupMember", nMember); });
    EXPECT_EQ((Notices{{CTSVC_DB_LISTENER_CHANGE_DELETED, -1}}), g_notices.Take());
    EXPECT_EQ(0, list.pfnGetCount(h));
    EXPECT_TRUE(list.pfnDestroy(h));
  }

  AddMember(nPerson, primary.GetRecordId());
  const INT32 h = CtSvcPrimaryListCreate(&primaryFilter, &OnListChange);
  CCtSvcPrimary renamed = primary;
  renamed.SetFirstName("Anne");
  ctsvc_test::RunOnTask("Korin", [&] { ASSERT_TRUE(renamed.Update(primary.GetRecordId(), 1)); });
  EXPECT_EQ((Notices{{CTSVC_DB_LISTENER_CHANGE_UPDATED, primary.GetRecordId()}}), g_notices.Take());
  EXPECT_TRUE(CtSvcPrimaryListDestroy(h));
}

}  // namespace
