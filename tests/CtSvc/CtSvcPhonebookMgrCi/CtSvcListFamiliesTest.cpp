// Every list family over a few stored rows: count, read into its record structure, find ids,
// destroy, and the assertions of bad handles with the family's own names.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "CtSvcDB/Records/CtSvcEmailAddress.h"
#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcFdn.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "CtSvcDB/Records/CtSvcIM.h"
#include "CtSvcDB/Records/CtSvcPhoneNumber.h"
#include "CtSvcDB/Records/CtSvcPostalAddress.h"
#include "ListTestSupport.h"
#include "ZelCoreTest.h"

namespace {

using namespace ctsvc_list_test;
using Ids = std::vector<int>;

// Stores a detail of the person; its id.
template <class R, class Fill>
int AddDetail(const CCtSvcPerson& person, Fill fill) {
  R record;
  record.SetPerson(person);
  fill(record);
  return record.Insert(1);
}

// Stores the rows each family is tried on: the ids its unfiltered list must hold.
struct Rows {
  Ids persons, primaries, fdns, groups, members, numbers, emails, addresses, etcData, ims;
};

Rows StoreRows() {
  Rows rows;
  for (const char* pszFirst : {"Ann", "Bob"}) {
    const CCtSvcPerson person = AddPerson(pszFirst, "Doe");
    rows.persons.push_back(person.GetRecordId());
    rows.primaries.push_back(AddPrimary(pszFirst, "Doe"));
    CCtSvcFdn fdn;
    fdn.SetName(pszFirst);
    fdn.SetPhoneNumber("112");
    rows.fdns.push_back(fdn.Insert(1));
    CCtSvcGroup group;
    group.SetName(pszFirst);
    rows.groups.push_back(group.Insert(1));
    CCtSvcGroupMember member;
    member.SetPerson(person);
    member.SetGroupId(rows.groups.back());
    rows.members.push_back(member.Insert(1));
    // Numbers and e-mail addresses share a table; each list must keep to its own kind.
    rows.numbers.push_back(AddDetail<CCtSvcPhoneNumber>(person, [](CCtSvcPhoneNumber& r) { r.SetPhoneNumber("0101"); }));
    rows.emails.push_back(AddDetail<CCtSvcEmailAddress>(person, [](CCtSvcEmailAddress& r) { r.SetEmailAddress("a@b.c"); }));
    rows.addresses.push_back(AddDetail<CCtSvcPostalAddress>(person, [](CCtSvcPostalAddress& r) { r.SetCity("Oslo"); }));
    rows.etcData.push_back(AddDetail<CCtSvcEtcData>(person, [](CCtSvcEtcData& r) { r.SetEtcData("note"); }));
    rows.ims.push_back(AddDetail<CCtSvcIM>(person, [](CCtSvcIM& r) { r.SetUserId("ann"); }));
  }
  rows.groups.push_back(CTSVC_NOT_ASSIGNED_GROUP_ID);
  return rows;
}

// One family, its functions reduced to handles and ids.
struct Family {
  const char* szName;
  INT32 nSlots;
  const char* szRangeCheck;
  const char* szCreated;
  const Ids Rows::*pIds;
  std::function<INT32()> create;  // every row
  BOOL (*pfnDestroy)(INT32);
  INT32 (*pfnGetCount)(INT32);
  std::function<int(INT32, INT32)> idAt;  // the record id GetAt writes, -1 when it fails
  INT32 (*pfnIndexOf)(INT32, INT32);
};

template <class R>
std::function<int(INT32, INT32)> IdAt(BOOL (*pfnGetAt)(INT32, INT32, R*)) {
  return [pfnGetAt](INT32 h, INT32 nIndex) {
    R record{};
    return pfnGetAt(h, nIndex, &record) ? record.nId : -1;
  };
}

#define FAMILY(F, SLOTS, HANDLE, OPENER, IDS, CREATE)                                                        \
  Family {                                                                                                    \
    #F, SLOTS, HANDLE " >= 0 && " HANDLE " < " #SLOTS, "CtSvc" #F "Create - " OPENER " success\n", &Rows::IDS, \
        [] { return CREATE; }, &CtSvc##F##Destroy, &CtSvc##F##GetCount, IdAt(&CtSvc##F##GetAt),             \
        &CtSvc##F##GetListIndexFromID                                                                         \
  }

const Family kFamilies[] = {
    FAMILY(ContactList, CTSVC_PHONEBOOK_LIST_MAX, "hPhonebook", "CreatePersonList", persons,
           CtSvcContactListCreate(nullptr, nullptr)),
    FAMILY(PrimaryList, CTSVC_PRIMARY_LIST_MAX, "hPrimary", "CreatePersonList", primaries,
           CtSvcPrimaryListCreate(nullptr, nullptr)),
    FAMILY(FdnList, CTSVC_FDN_LIST_MAX, "hFdn", "CreateFdnList", fdns, CtSvcFdnListCreate(nullptr)),
    FAMILY(GroupList, CTSVC_GROUP_LIST_MAX, "hGroup", "CreateGroupList", groups, CtSvcGroupListCreate(nullptr, nullptr)),
    FAMILY(GroupMemberList, CTSVC_GROUPMEMBER_LIST_MAX, "hGroupMember", "CreateGroupMemberList", members,
           CtSvcGroupMemberListCreate(nullptr, nullptr)),
    FAMILY(PhoneNumberList, CTSVC_PHONENUMBER_LIST_MAX, "hPhoneNumber", "CreatePhoneNumberList", numbers,
           CtSvcPhoneNumberListCreate(nullptr, nullptr)),
    FAMILY(EmailAddressList, CTSVC_EMAILADDRESS_LIST_MAX, "hEmailAddress", "CreateEmailAddressList", emails,
           CtSvcEmailAddressListCreate(nullptr, nullptr)),
    FAMILY(PostalAddressList, CTSVC_POSTALADDRESS_LIST_MAX, "hPostalAddress", "CreatePostalAddressList", addresses,
           CtSvcPostalAddressListCreate(nullptr, nullptr)),
    FAMILY(EtcDataList, CTSVC_ETCDATA_LIST_MAX, "hEtcData", "CreateEtcDataList", etcData,
           CtSvcEtcDataListCreate(nullptr, nullptr)),
    FAMILY(IMList, CTSVC_IM_LIST_MAX, "hIM", "CreateIMList", ims, CtSvcIMListCreate(nullptr, nullptr)),
};

#undef FAMILY

class CtSvcListFamiliesTest : public ListTest {};

TEST_F(CtSvcListFamiliesTest, EachFamilyReadsItsRowsAndRefusesBadHandles) {
  const Rows rows = StoreRows();
  for (const Family& f : kFamilies) {
    SCOPED_TRACE(f.szName);
    const Ids& vcIds = rows.*f.pIds;
    zel::test::LogCapture capture;
    const INT32 h = f.create();
    ASSERT_EQ(0, h);
    EXPECT_TRUE(capture.Contains(f.szCreated));
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
      EXPECT_EQ(4u, capture.Assertions().size());
      EXPECT_TRUE(capture.HasAssertion(f.szRangeCheck));
    }
    EXPECT_TRUE(f.pfnDestroy(h));
    EXPECT_EQ(-1, f.pfnGetCount(h));
  }
}

}  // namespace
