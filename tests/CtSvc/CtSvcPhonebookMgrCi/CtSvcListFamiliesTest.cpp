// Every list family over a few stored rows: count, read into its record structure, find ids,
// destroy, and bad handles refused with the family's own range assertion.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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
  const char* szCreated;  // the Create line, which also names the family
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

#define FAMILY(F, SLOTS, HANDLE, OPENER, IDS, ...)                                                       \
  Family {                                                                                                \
    "CtSvc" #F "Create - " OPENER " success\n", SLOTS, HANDLE " >= 0 && " HANDLE " < " #SLOTS, &Rows::IDS, \
        [] { return CtSvc##F##Create(__VA_ARGS__); }, &CtSvc##F##Destroy, &CtSvc##F##GetCount,            \
        IdAt(&CtSvc##F##GetAt), &CtSvc##F##GetListIndexFromID                                             \
  }

// clang-format off
const Family kFamilies[] = {
    FAMILY(ContactList, CTSVC_PHONEBOOK_LIST_MAX, "hPhonebook", "CreatePersonList", persons, nullptr, nullptr),
    FAMILY(PrimaryList, CTSVC_PRIMARY_LIST_MAX, "hPrimary", "CreatePersonList", primaries, nullptr, nullptr),
    FAMILY(FdnList, CTSVC_FDN_LIST_MAX, "hFdn", "CreateFdnList", fdns, nullptr),
    FAMILY(GroupList, CTSVC_GROUP_LIST_MAX, "hGroup", "CreateGroupList", groups, nullptr, nullptr),
    FAMILY(GroupMemberList, CTSVC_GROUPMEMBER_LIST_MAX, "hGroupMember", "CreateGroupMemberList", members, nullptr, nullptr),
    FAMILY(PhoneNumberList, CTSVC_PHONENUMBER_LIST_MAX, "hPhoneNumber", "CreatePhoneNumberList", numbers, nullptr, nullptr),
    FAMILY(EmailAddressList, CTSVC_EMAILADDRESS_LIST_MAX, "hEmailAddress", "CreateEmailAddressList", emails, nullptr, nullptr),
    FAMILY(PostalAddressList, CTSVC_POSTALADDRESS_LIST_MAX, "hPostalAddress", "CreatePostalAddressList", addresses, nullptr, nullptr),
    FAMILY(EtcDataList, CTSVC_ETCDATA_LIST_MAX, "hEtcData", "CreateEtcDataList", etcData, nullptr, nullptr),
    FAMILY(IMList, CTSVC_IM_LIST_MAX, "hIM", "CreateIMList", ims, nullptr, nullptr),
};
// clang-format on

#undef FAMILY

class CtSvcListFamiliesTest : public ListTest {};

TEST_F(CtSvcListFamiliesTest, EachFamilyReadsItsRowsAndRefusesBadHandles) {
  const Rows rows = StoreRows();
  for (const Family& f : kFamilies) {
    SCOPED_TRACE(f.szCreated);
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
      EXPECT_EQ(4, capture.Count(f.szRangeCheck));
    }
    EXPECT_TRUE(f.pfnDestroy(h));
    EXPECT_EQ(-1, f.pfnGetCount(h));
  }
}

}  // namespace
