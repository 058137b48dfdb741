// The texts the filters produce: WHERE, argument order, ORDER BY and hint. Every case is also run
// against the real schema, so a text that reads right but is not valid SQL fails too.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcContactDataFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcDetailFilters.h"
#include "CtSvcDB/CfPlugin/CtSvcFdnFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcGroupFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcPersonFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcPrimaryFilter.h"
#include "CtSvcFilterTestEnv.h"
#include "ZelCoreTest.h"

namespace {

TmDateTime D(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0, int nSecond = 0) {
  return TmDateTime{nYear, nMonth, nDay, nHour, nMinute, nSecond};
}

using ctsvc_filter_test::FilterStoreTest;
using FilterPtr = std::unique_ptr<CCtSvcCFFilter>;

template <typename F>
FilterPtr Make(const std::function<void(F&)>& setUp) {
  auto pFilter = std::make_unique<F>();
  setUp(*pFilter);
  return pFilter;
}

struct TextCase {
  const char* szName;
  const char* szUri;
  std::function<FilterPtr()> make;
  std::string strWhere;
  std::vector<std::u16string> vcArgs;
  std::string strOrderBy;
  std::string strHint;
};

class CtSvcFilterWhereTest : public FilterStoreTest {
 protected:
  void Check(const TextCase& c) {
    FilterPtr pFilter = c.make();
    const CContentFilter* pContent = pFilter->GetContentFilter();
    EXPECT_EQ(c.strWhere, pContent->GetWhere()) << c.szName;
    EXPECT_EQ(c.vcArgs, pContent->GetWhereArg()) << c.szName;
    EXPECT_EQ(c.strOrderBy, pContent->GetOrderBy()) << c.szName;
    EXPECT_EQ(c.strHint, pContent->GetHint()) << c.szName;
    Ids(c.szUri, *pFilter);
  }
};

TEST_F(CtSvcFilterWhereTest, FiltersWithNoSetFieldSelectAllRows) {
  // Only the contact-data filters keep their row kind.
  const TextCase kCases[] = {
      {"person", "CtSvc/Person", [] { return Make<CCtSvcPersonFilter>([](auto&) {}); }, "", {}, "", ""},
      {"primary", "CtSvc/Primary", [] { return Make<CCtSvcPrimaryFilter>([](auto&) {}); }, "", {}, "", ""},
      {"group", "CtSvc/Group", [] { return Make<CCtSvcGroupFilter>([](auto&) {}); }, "", {}, "SNAME, DEVICE_TYPE",
       "GROUP_IDX1"},
      {"fdn", "CtSvc/Fdn", [] { return Make<CCtSvcFdnFilter>([](auto&) {}); }, "", {}, "NAME", ""},
      {"postal", "CtSvc/PostalAddress", [] { return Make<CCtSvcPostalAddressFilter>([](auto&) {}); }, "", {}, "", ""},
      {"etc", "CtSvc/EtcData", [] { return Make<CCtSvcEtcDataFilter>([](auto&) {}); }, "", {}, "", ""},
      {"rcs", "CtSvc/Rcs", [] { return Make<CCtSvcRcsFilter>([](auto&) {}); }, "", {}, "", ""},
      {"speed dial", "CtSvc/SpeedDial", [] { return Make<CCtSvcSpeedDialFilter>([](auto&) {}); }, "", {}, "", ""},
      {"im", "CtSvc/IM", [] { return Make<CCtSvcIMFilter>([](auto&) {}); }, "", {}, "", ""},
      {"sns", "CtSvc/SnsData", [] { return Make<CCtSvcSnsDataFilter>([](auto&) {}); }, "", {}, "", ""},
      {"member", "CtSvc/GroupMember", [] { return Make<CCtSvcGroupMemberFilter>([](auto&) {}); }, "", {}, "", ""},
      {"email", "CtSvc/Email", [] { return Make<CCtSvcEmailFilter>([](auto&) {}); },
       "CtSvcContactDataTable.TYPE = 2", {}, "", ""},
      {"phone", "CtSvc/PhoneNumber", [] { return Make<CCtSvcPhoneNumberFilter>([](auto&) {}); },
       "CtSvcContactDataTable.TYPE = 1", {}, "", ""},
  };
  for (const TextCase& c : kCases) {
    Check(c);
  }
}

TEST_F(CtSvcFilterWhereTest, TextMatchFollowsTruncation) {
  auto email = [](const char* pszAddress, int nTruncation) {
    return [=] {
      return Make<CCtSvcEmailFilter>([=](CCtSvcEmailFilter& f) {
        f.SetEmailAddress(pszAddress);
        f.SetEmailTruncation(nTruncation);
      });
    };
  };
  const std::string kLike = "CtSvcContactDataTable.CONTACT_DATA like ? and CtSvcContactDataTable.TYPE = 2";
  const TextCase kCases[] = {
      {"contains, one argument with escaped underscore", "CtSvc/Email", email("first.last_name@example.com", 3),
       kLike, {u"%first.last\\_name@example.com%"}, "ID", ""},
      {"exact keeps the value", "CtSvc/Email", email("a_b%c@x.com", 0),
       "CtSvcContactDataTable.CONTACT_DATA = ? and CtSvcContactDataTable.TYPE = 2", {u"a_b%c@x.com"}, "ID", ""},
      {"prefix", "CtSvc/Email", email("a_b%c@x.com", 1), kLike, {u"a\\_b\\%c@x.com%"}, "ID", ""},
      {"suffix", "CtSvc/Email", email("a\\b", 2), kLike, {u"%a\\\\b"}, "ID", ""},
      {"unknown truncation is a prefix", "CtSvc/Email", email("ab", 9), kLike, {u"ab%"}, "ID", ""},
      {"other data by its truncation", "CtSvc/EtcData",
       [] {
         return Make<CCtSvcEtcDataFilter>([](CCtSvcEtcDataFilter& f) {
           f.SetEtcData("/Ringtones/");
           f.SetEtcDataTruncation(1);
         });
       },
       "CtSvcEtcData.ETC_DATA like ?", {u"/Ringtones/%"}, "", ""},
      {"fdn name always contains", "CtSvc/Fdn",
       [] { return Make<CCtSvcFdnFilter>([](CCtSvcFdnFilter& f) { f.SetName("Jo_e"); }); }, "CtSvcFdn.NAME like ?",
       {u"%Jo\\_e%"}, "NAME", ""},
      {"phone number pattern goes to the stored number", "CtSvc/PhoneNumber",
       [] {
         return Make<CCtSvcPhoneNumberFilter>([](CCtSvcPhoneNumberFilter& f) {
           f.SetPhoneNumber("010%");
           f.SetNumberTruncation(3);
         });
       },
       "CtSvcContactDataTable.CONTACT_DATA like ? and CtSvcContactDataTable.TYPE = 1", {u"%010\\%%"}, "DEVICE_TYPE",
       ""},
  };
  for (const TextCase& c : kCases) {
    Check(c);
  }
}

TEST_F(CtSvcFilterWhereTest, ValueListsBecomeInListsWithArgumentsInOrder) {
  // Numbers no longer than any comparison length keep their whole text as search form.
  const TextCase kCases[] = {
      {"three numbers", "CtSvc/PhoneNumber",
       [] {
         return Make<CCtSvcPhoneNumberFilter>([](CCtSvcPhoneNumberFilter& f) {
           f.SetPhoneNumber(std::vector<std::string>{"5551234", "5559876", "5550000"});
         });
       },
       "CtSvcContactDataTable.CONTACT_SDATA IN (?, ?, ?) and CtSvcContactDataTable.TYPE = 1",
       {u"5551234", u"5559876", u"5550000"}, "DEVICE_TYPE", ""},
      {"one number", "CtSvc/PhoneNumber",
       [] {
         return Make<CCtSvcPhoneNumberFilter>(
             [](CCtSvcPhoneNumberFilter& f) { f.SetPhoneNumber(std::vector<std::string>{"5551234"}); });
       },
       "CtSvcContactDataTable.CONTACT_SDATA = ? and CtSvcContactDataTable.TYPE = 1", {u"5551234"}, "DEVICE_TYPE", ""},
      {"two addresses", "CtSvc/Email",
       [] {
         return Make<CCtSvcEmailFilter>([](CCtSvcEmailFilter& f) {
           f.SetEmailAddress(std::vector<std::string>{"b@x.com", "a'); drop table x; --@x.com"});
           f.SetPersonId(4);
         });
       },
       "CtSvcContactDataTable.CONTACT_DATA IN (?, ?) and CtSvcContactDataTable.TYPE = 2 and "
       "CtSvcContactDataTable.PERSON_ID = 4",
       {u"b@x.com", u"a'); drop table x; --@x.com"}, "ID", ""},
  };
  for (const TextCase& c : kCases) {
    Check(c);
  }
}

TEST_F(CtSvcFilterWhereTest, RelatedPersonFilterReplacesTheDetailFiltersOwnConditions) {
  CtSvcPersonFilter person;
  CtSvcPersonFilterInit(&person);
  person.DevType = CTSVC_USE_TYPE_SIM;
  person.NameFilter.NameOrder = CTSVC_FILTER_NAME_ORDER_FIRST_LAST;
  std::strcpy(person.NameFilter.szDisplayName, "Ann");
  person.NameFilter.NameTruncation = CTSVC_FILTER_TRUNCATION_PREFIX;
  auto related = [&person](const char* szUri, auto pFilter) {
    pFilter->SetPersonId(5);
    pFilter->SetContentFilter(&person);
    return std::make_pair(std::string(szUri), FilterPtr(std::move(pFilter)));
  };
  auto withType = [](auto pFilter) {
    pFilter->SetDeviceType(CTSVC_USE_TYPE_PHONE);
    return pFilter;
  };
  std::pair<std::string, FilterPtr> filters[] = {
      related("CtSvc/Email", withType(std::make_unique<CCtSvcEmailFilter>())),
      related("CtSvc/PhoneNumber", withType(std::make_unique<CCtSvcPhoneNumberFilter>())),
      related("CtSvc/PostalAddress", std::make_unique<CCtSvcPostalAddressFilter>()),
      related("CtSvc/EtcData", withType(std::make_unique<CCtSvcEtcDataFilter>())),
      related("CtSvc/Rcs", std::make_unique<CCtSvcRcsFilter>()),
      related("CtSvc/SpeedDial", std::make_unique<CCtSvcSpeedDialFilter>()),
      related("CtSvc/IM", std::make_unique<CCtSvcIMFilter>()),
      related("CtSvc/SnsData", std::make_unique<CCtSvcSnsDataFilter>()),
      related("CtSvc/GroupMember", withType(std::make_unique<CCtSvcGroupMemberFilter>())),
  };
  const std::string kNested =
      ".PERSON_ID IN ( select CtSvcPerson.ID from CtSvcPerson where CtSvcPerson.DEVICE_TYPE = 2 and "
      "CtSvcPerson.FL_FULLNAME like ? )";
  for (auto& entry : filters) {
    const CContentFilter* pContent = entry.second->GetContentFilter();
    EXPECT_EQ(std::string(entry.second->GetTableName()) + kNested, pContent->GetWhere()) << entry.first;
    EXPECT_EQ(std::vector<std::u16string>{u"Ann%"}, pContent->GetWhereArg()) << entry.first;
    EXPECT_EQ("", pContent->GetOrderBy()) << entry.first;
    Ids(entry.first, *entry.second);
  }

  // A related filter that selects everything leaves the own conditions in place.
  CtSvcPersonFilter all;
  CtSvcPersonFilterInit(&all);
  CCtSvcRcsFilter rcs;
  rcs.SetPersonId(5);
  rcs.SetContentFilter(&all);
  EXPECT_EQ("CtSvcRcs.PERSON_ID = 5", rcs.GetContentFilter()->GetWhere());
  // Taking the related filter away again.
  rcs.SetContentFilter(&person);
  rcs.SetContentFilter(static_cast<const CtSvcPersonFilter*>(nullptr));
  EXPECT_EQ("CtSvcRcs.PERSON_ID = 5", rcs.GetContentFilter()->GetWhere());
}

TEST_F(CtSvcFilterWhereTest, PersonNameOrderAndHintFollowTheIndexType) {
  auto person = [](int nNameOrder, const char* pszName, int nTruncation, int nIndexType) {
    return [=] {
      return Make<CCtSvcPersonFilter>([=](CCtSvcPersonFilter& f) {
        f.SetNameOrder(nNameOrder);
        f.SetDisplayName(pszName);
        f.SetNameTruncation(nTruncation);
        f.SetFilterIndexType(nIndexType);
      });
    };
  };
  const std::string kFl = "CtSvcPerson.FL_FULLNAME like ?";
  const std::string kLf = "CtSvcPerson.LF_FULLNAME like ?";
  const std::string kFlOrder = "FL_FULLNAME, DEVICE_TYPE, ID";
  const TextCase kCases[] = {
      {"first-last index", "CtSvc/Person", person(2, "Kim", 1, 1), kFl, {u"Kim%"}, kFlOrder, "PERSON_IDX1"},
      {"last-first lists in id order", "CtSvc/Person", person(1, "Kim", 3, 2), kLf, {u"%Kim%"}, "ID", ""},
      {"negative index type: no order", "CtSvc/Person", person(2, "Kim", 0, -1), kFl, {u"Kim"}, "", ""},
      {"index type 0: no order", "CtSvc/Person", person(0, "Kim", 2, 0), kLf, {u"%Kim"}, "", ""},
      {"order without a name condition", "CtSvc/Person", person(2, "", 0, 1), "", {}, kFlOrder, "PERSON_IDX1"},
  };
  for (const TextCase& c : kCases) {
    Check(c);
  }
}

TEST_F(CtSvcFilterWhereTest, PersonConditionsComeInTheirFixedOrder) {
  CtSvcPersonFilter s;
  CtSvcPersonFilterInit(&s);
  s.DevType = CTSVC_USE_TYPE_SIM;
  s.nSlotIndex = 4;
  s.nAccountId = 7;
  std::strcpy(s.NameFilter.szDisplayName, "O'Brien");
  s.NameFilter.NameTruncation = CTSVC_FILTER_TRUNCATION_PREFIX;
  s.nGroupId = 3;
  s.nPrimaryId = 9;
  s.bLocalPhoneDataOnly = 1;
  s.bExceptLocalPhoneData = 1;
  s.EtcDataType = 5;
  s.FilterDetail = 1 | 2 | 4 | 8 | 16 | 64;
  s.FilterIndexType = -1;
  const TextCase c = {
      "every condition", "CtSvc/Person",
      [&s] { return Make<CCtSvcPersonFilter>([&s](CCtSvcPersonFilter& f) { f.SetContentFilter(&s); }); },
      "CtSvcPerson.DEVICE_TYPE = 2 and CtSvcPerson.SLOT_INDEX = 4 and CtSvcPerson.ACCOUNT_ID = 7 and "
      "CtSvcPerson.LF_FULLNAME like ? and CtSvcPerson.ID IN ( select CtSvcGroupMember.PERSON_ID from "
      "CtSvcGroupMember where CtSvcGroupMember.GROUP_ID = 3 ) and CtSvcPerson.PRIMARY_ID = 9 and "
      "CtSvcPerson.ACCOUNT_ID < 1 and CtSvcPerson.ACCOUNT_ID > 0 and CtSvcPerson.ID IN ( select "
      "CtSvcEtcData.PERSON_ID from CtSvcEtcData where CtSvcEtcData.ETC_TYPE = 5 ) and (CtSvcPerson.FL_FULLNAME > "
      "n'') and (CtSvcPerson.HAS_PH > 0) and (CtSvcPerson.HAS_EMAIL > 0) and (CtSvcPerson.HAS_ADDR > 0) and "
      "(CtSvcPerson.HAS_EMAIL > 0 or CtSvcPerson.HAS_PH > 0) and (CtSvcPerson.HAS_SNSDATA < 1)",
      {u"O'Brien%"}, "", ""};
  Check(c);

  // A slot index only counts for the SIM; other-data types stop at 31.
  s = CtSvcPersonFilter{};
  CtSvcPersonFilterInit(&s);
  s.DevType = CTSVC_USE_TYPE_PHONE;
  s.nSlotIndex = 4;
  s.EtcDataType = 32;
  CCtSvcPersonFilter filter;
  filter.SetContentFilter(&s);
  EXPECT_EQ("CtSvcPerson.DEVICE_TYPE = 1", filter.GetContentFilter()->GetWhere());
}

TEST_F(CtSvcFilterWhereTest, DateBoundsGiveYearlyWindowsOrFullDates) {
  struct DateCase {
    const char* szName;
    TmDateTime from;
    TmDateTime to;
    bool bReserve;
    bool bAnniversary;
    std::string strWhere;
  };
  const std::string kMonthDay = "DATE_FORMAT(CtSvcPerson.BIRTHDAY, '%%M-%%D')";
  const DateCase kCases[] = {
      {"december to january wraps", D(0, 12, 20), D(0, 1, 10), false, false,
       "CtSvcPerson.BIRTHDAY <> 18991231000 and ( " + kMonthDay + " between '12-20' and '12-31' or  " + kMonthDay +
           " between '01-01' and '01-10' )"},
      {"november to february is one plain window", D(0, 11, 20), D(0, 2, 10), false, false,
       "CtSvcPerson.BIRTHDAY <> 18991231000 and ( " + kMonthDay + " between '11-20' and '02-10' )"},
      {"reserve window in parentheses", D(0, 3, 1), D(0, 3, 31), true, false,
       "( CtSvcPerson.BIRTHDAY_RESERVED <> 18991231000 and ( DATE_FORMAT(CtSvcPerson.BIRTHDAY_RESERVED, "
       "'%%M-%%D') between '03-01' and '03-31' ) )"},
      {"full dates", D(2000, 1, 2, 3, 4, 5), D(2010, 12, 31), false, true,
       "CtSvcPerson.ANNIVERSARY >= '2000-1-2 3:4:5' and CtSvcPerson.ANNIVERSARY <= '2010-12-31 0:0:0'"},
      {"one full bound", D(1899, 12, 31), D(2100, 1, 1), false, false, "CtSvcPerson.BIRTHDAY <= '2100-1-1 0:0:0'"},
      {"anniversaries have no yearly window", D(0, 1, 1), D(0, 2, 1), false, true, ""},
      {"invalid month", D(0, 13, 1), D(0, 1, 1), false, false, ""},
      {"invalid day", D(0, 1, 0), D(0, 1, 1), false, false, ""},
      {"only one yearly bound", D(0, 1, 1), TmDateTime(), false, false, ""},
  };
  for (const DateCase& d : kCases) {
    const TextCase c = {d.szName, "CtSvc/Person",
                        [&d] {
                          return Make<CCtSvcPersonFilter>([&d](CCtSvcPersonFilter& f) {
                            if (d.bAnniversary) {
                              f.SetAnniversaryFrom(d.from);
                              f.SetAnniversaryTo(d.to);
                            } else if (d.bReserve) {
                              f.SetBirthDayReserveFrom(d.from);
                              f.SetBirthDayReserveTo(d.to);
                            } else {
                              f.SetBirthDayFrom(d.from);
                              f.SetBirthDayTo(d.to);
                            }
                          });
                        },
                        d.strWhere, {}, "", ""};
    Check(c);
  }
}

TEST_F(CtSvcFilterWhereTest, PrimaryConditions) {
  auto primary = [](std::function<void(CCtSvcPrimaryFilter&)> setUp) {
    return [=] { return Make<CCtSvcPrimaryFilter>(setUp); };
  };
  const TextCase kCases[] = {
      {"has a name", "CtSvc/Primary", primary([](auto& f) { f.SetFilterDetail(1 | 16 | 64); }),
       "(CtSvcPrimary.FL_FULLNAME <> ?) and (CtSvcPrimary.HAS_EMAIL > 0 or CtSvcPrimary.HAS_PH > 0)",
       {std::u16string(1, u'\uFFFF')}, "", ""},
      {"id 0 is set, except id", "CtSvc/Primary",
       primary([](auto& f) {
         f.SetPrimaryId(0);
         f.SetDeviceType(1);
         f.SetExceptPrimaryId(4);
       }),
       "CtSvcPrimary.ID = 0 and CtSvcPrimary.DEVICE_TYPE = 1 and CtSvcPrimary.ID <> 4", {}, "", ""},
      {"favourite and caller image", "CtSvc/Primary",
       primary([](auto& f) {
         f.SetFavoriteType(1);
         f.SetCallerImage("/User/Ct/a'b.jpg");
       }),
       "CtSvcPrimary.FAVORITE = 1 and CtSvcPrimary.CALLER_IMAGE = ?", {u"/User/Ct/a'b.jpg"}, "", ""},
      {"link counts, group, local", "CtSvc/Primary",
       primary([](auto& f) {
         f.SetLinkCountEqual(2);
         f.SetLinkCountMore(1);
         f.SetLinkCountLess(5);
         f.SetGroupId(3);
         f.SetLocalPhoneDataOnly(1);
       }),
       "(CtSvcPrimary.LINK_COUNT = 2) and (CtSvcPrimary.LINK_COUNT > 1) and (CtSvcPrimary.LINK_COUNT < 5) and "
       "CtSvcPrimary.ID IN ( select CtSvcGroupMember.PRIMARY_ID from CtSvcGroupMember where "
       "CtSvcGroupMember.GROUP_ID = 3 ) and CtSvcPrimary.FIRST_ACCOUNT_ID < 1",
       {}, "", ""},
      {"favourite order wins over the index order", "CtSvc/Primary",
       primary([](auto& f) {
         f.SetFavoriteOrder(1);
         f.SetFilterIndexType(1);
       }),
       "CtSvcPrimary.FAVORITE = 2", {}, "FAVORITE_ORDER", ""},
      {"last-first index", "CtSvc/Primary", primary([](auto& f) { f.SetFilterIndexType(2); }), "", {},
       "LF_FULLNAME, DEVICE_TYPE, ID", "PRIMARY_IDX2"},
      {"name prefix pins the letter key", "CtSvc/Primary",
       primary([](auto& f) {
         f.SetNameOrder(2);
         f.SetDisplayName("\xC3\xA9mi");
         f.SetNameTruncation(1);
       }),
       "CtSvcPrimary.FL_FULLNAME like ? and (CtSvcPrimary.FL_LETTER = ?)", {u"\u00E9mi%", u"EM"}, "", ""},
      {"a contains search has no letter key", "CtSvc/Primary",
       primary([](auto& f) {
         f.SetDisplayName("mil");
         f.SetNameTruncation(3);
       }),
       "CtSvcPrimary.LF_FULLNAME like ?", {u"%mil%"}, "", ""},
      {"a one-letter prefix has no letter key", "CtSvc/Primary",
       primary([](auto& f) {
         f.SetDisplayName("m");
         f.SetNameTruncation(1);
       }),
       "CtSvcPrimary.LF_FULLNAME like ?", {u"m%"}, "", ""},
  };
  for (const TextCase& c : kCases) {
    Check(c);
  }
}

TEST_F(CtSvcFilterWhereTest, PrimaryGroupMemberJoinsAndQualifiesItsOrder) {
  CCtSvcPrimaryGroupMemberFilter filter;
  filter.SetGroupId(3);
  filter.SetDeviceType(1);
  filter.SetFilterDetail(1 | 8);
  filter.SetFilterIndexType(1);
  filter.SetFavoriteType(2);  // not a condition of the joined form
  const CContentFilter* pContent = filter.GetContentFilter();
  EXPECT_EQ(
      "CtSvcPrimary.ID = CtSvcGroupMember.PRIMARY_ID and CtSvcGroupMember.GROUP_ID = 3 and CtSvcPrimary.DEVICE_TYPE = "
      "1 and (CtSvcPrimary.FL_FULLNAME <> ?) and (CtSvcPrimary.HAS_ADDR > 0)",
      pContent->GetWhere());
  EXPECT_EQ("CtSvcPrimary.FL_FULLNAME, CtSvcPrimary.DEVICE_TYPE, CtSvcPrimary.ID", pContent->GetOrderBy());
  EXPECT_EQ("PRIMARY_IDX1", pContent->GetHint());
  // A matching row makes the joined statement read rows in that order.
  const int nPrimary = ctsvc_filter_test::Row(CTSVC_DB_TABLE_PRIMARY)
                           .Int(CTSVC_DB_PRIMARY_COLUMN_DEVICE_TYPE, 1)
                           .Int(CTSVC_DB_PRIMARY_COLUMN_HAS_ADDR, 1)
                           .Text(CTSVC_DB_PRIMARY_COLUMN_FL_FULLNAME, u"Ann")
                           .Insert("CtSvc/Primary");
  ctsvc_filter_test::Row(CTSVC_DB_TABLE_GROUPMEMBER)
      .Int(CTSVC_DB_GRPMEMBER_COLUMN_PRIMARY_ID, nPrimary)
      .Int(CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, 3)
      .Int(CTSVC_DB_GRPMEMBER_COLUMN_DEVICE_TYPE, 2)
      .Insert("CtSvc/GroupMember");
  EXPECT_EQ(std::set<int>{nPrimary}, Ids("CtSvc/PrimaryGroupMember", filter));

  zel::test::LogCapture capture;
  filter.SetGroupId(0);
  EXPECT_EQ("CtSvcPrimary.DEVICE_TYPE = 1 and (CtSvcPrimary.FL_FULLNAME <> ?) and (CtSvcPrimary.HAS_ADDR > 0)",
            filter.GetContentFilter()->GetWhere());
  EXPECT_TRUE(capture.HasAssertion("m_PrimaryFilter.nGroupId > 0"));
}

TEST_F(CtSvcFilterWhereTest, RuleDrivenDetailFilters) {
  const TextCase kCases[] = {
      {"im of a person in id order", "CtSvc/IM",
       [] { return Make<CCtSvcIMFilter>([](auto& f) { f.SetPersonId(3); }); }, "CtSvcIM.PERSON_ID = 3", {}, "ID", ""},
      {"im of a primary by person", "CtSvc/IM",
       [] {
         return Make<CCtSvcIMFilter>([](auto& f) {
           f.SetPersonId(3);
           f.SetPrimaryId(4);
           f.SetUserId("me@im");
           f.SetIspId(7);
           f.SetLocalPhoneDataOnly(1);
         });
       },
       "CtSvcIM.PERSON_ID = 3 and CtSvcIM.PRIMARY_ID = 4 and CtSvcIM.USER_ID = ? and CtSvcIM.ISP_ID = 7 and "
       "CtSvcIM.ACCOUNT_ID < 1",
       {u"me@im"}, "PERSON_ID", ""},
      {"sns", "CtSvc/SnsData",
       [] {
         return Make<CCtSvcSnsDataFilter>([](auto& f) {
           f.SetSp(0);
           f.SetPeopleId("p1");
           f.SetHasProfilePhoto(1);
         });
       },
       "CtSvcSnsData.SP = 0 and CtSvcSnsData.PEOPLE_ID = ? and (CtSvcSnsData.PROFILE_PHOTO_URL > n'')", {u"p1"}, "",
       ""},
      {"postal of a primary pins its index", "CtSvc/PostalAddress",
       [] {
         return Make<CCtSvcPostalAddressFilter>([](auto& f) {
           f.SetPrimaryId(2);
           f.SetUseType(1);
           f.SetCity("K\xC3\xB6ln");
           f.SetCountry("DE");
         });
       },
       "CtSvcPostalAddress.PRIMARY_ID = 2 and CtSvcPostalAddress.USE_TYPE = 1 and CtSvcPostalAddress.CITY = ? and "
       "CtSvcPostalAddress.COUNTRY = ?",
       {u"K\u00F6ln", u"DE"}, "", "POSTALADDR_IDX2"},
      {"other data of a person pins its index", "CtSvc/EtcData",
       [] {
         return Make<CCtSvcEtcDataFilter>([](auto& f) {
           f.SetPersonId(1);
           f.SetDeviceType(1);
           f.SetEtcDataType(5);
           f.SetEtcData("x");
         });
       },
       "CtSvcEtcData.PERSON_ID = 1 and CtSvcEtcData.DEVICE_TYPE = 1 and CtSvcEtcData.ETC_TYPE = 5 and "
       "CtSvcEtcData.ETC_DATA = ?",
       {u"x"}, "", "ETCDATA_IDX1"},
      {"group member", "CtSvc/GroupMember",
       [] {
         return Make<CCtSvcGroupMemberFilter>([](auto& f) {
           f.SetPersonId(1);
           f.SetDeviceType(1);
           f.SetPrimaryId(2);
           f.SetGroupId(3);
           f.SetExceptNotAssigned(1);
         });
       },
       "CtSvcGroupMember.PERSON_ID = 1 and CtSvcGroupMember.DEVICE_TYPE = 1 and CtSvcGroupMember.PRIMARY_ID = 2 and "
       "CtSvcGroupMember.GROUP_ID = 3 and CtSvcGroupMember.GROUP_ID > 1",
       {}, "", ""},
      {"speed dial slot 0 is a slot", "CtSvc/SpeedDial",
       [] {
         return Make<CCtSvcSpeedDialFilter>([](auto& f) {
           f.SetSlotIndex(0);
           f.SetPhoneNumberId(8);
         });
       },
       "CtSvcSpeedDial.SLOT_INDEX = 0 and CtSvcSpeedDial.PHNUM_ID = 8", {}, "", ""},
      {"rcs", "CtSvc/Rcs",
       [] {
         return Make<CCtSvcRcsFilter>([](auto& f) {
           f.SetStatus(2);
           f.SetSip("sip:a@b");
         });
       },
       "CtSvcRcs.STATUS = 2 and CtSvcRcs.SIP = ?", {u"sip:a@b"}, "", ""},
      {"sim group", "CtSvc/Group",
       [] {
         return Make<CCtSvcGroupFilter>([](auto& f) {
           f.SetDeviceType(2);
           f.SetSlotIndex(0);
           f.SetType(1);
           f.SetName("Work");
           f.SetRingtone("/r.mp3");
           f.SetHasMember(1);
           f.SetExceptNotAssigned(1);
         });
       },
       "CtSvcGroup.DEVICE_TYPE = 2 and CtSvcGroup.SLOT_INDEX = 0 and CtSvcGroup.TYPE = 1 and CtSvcGroup.SNAME = ? and "
       "CtSvcGroup.RINGTONE = ? and CtSvcGroup.ID IN ( select CtSvcGroupMember.GROUP_ID from CtSvcGroupMember ) and "
       "CtSvcGroup.ID > 1",
       {u"Work", u"/r.mp3"}, "SNAME, DEVICE_TYPE", "GROUP_IDX1"},
      {"phone group ignores the slot", "CtSvc/Group",
       [] {
         return Make<CCtSvcGroupFilter>([](auto& f) {
           f.SetDeviceType(1);
           f.SetSlotIndex(0);
         });
       },
       "CtSvcGroup.DEVICE_TYPE = 1", {}, "SNAME, DEVICE_TYPE", "GROUP_IDX1"},
      {"fdn", "CtSvc/Fdn",
       [] {
         return Make<CCtSvcFdnFilter>([](auto& f) {
           f.SetSlotIndex(0);
           f.SetPhoneNumber("112");
         });
       },
       "CtSvcFdn.SLOT_INDEX = 0 and CtSvcFdn.SPHONENUMBER = ?", {u"112"}, "NAME", ""},
  };
  for (const TextCase& c : kCases) {
    Check(c);
  }
}

TEST_F(CtSvcFilterWhereTest, CallerStructuresAreCopiedWithinTheirBounds) {
  // A structure full of unterminated text keeps only each field's maximum.
  CtSvcRcsFilter rcs;
  std::memset(&rcs, 'x', sizeof(rcs));
  rcs.nPersonId = -1;
  rcs.nPrimaryId = -1;
  rcs.nStatus = 0;
  CCtSvcRcsFilter filter;
  EXPECT_EQ(TRUE, filter.SetContentFilter(&rcs));
  EXPECT_EQ(300u, std::strlen(filter.GetFilter().szSip));
  EXPECT_EQ(std::vector<std::u16string>{std::u16string(300, u'x')}, filter.GetContentFilter()->GetWhereArg());

  // Setters cut at the maximum; null and the filter's own copy change nothing.
  const std::string strLong(400, 'y');
  filter.SetSip(strLong.c_str());
  EXPECT_EQ(strLong.substr(0, 300), filter.GetFilter().szSip);
  EXPECT_EQ(TRUE, filter.SetContentFilter(static_cast<const CtSvcRcsFilter*>(nullptr)));
  EXPECT_EQ(TRUE, filter.SetContentFilter(&filter.GetFilter()));
  EXPECT_EQ(strLong.substr(0, 300), filter.GetFilter().szSip);
  filter.SetSip(nullptr);
  EXPECT_EQ("", filter.GetContentFilter()->GetWhere());

  // Quotes and percent signs stay in the arguments, never in the text.
  CCtSvcPersonFilter person;
  person.SetDisplayName("'; drop table CtSvcPerson; --%");
  const CContentFilter* pContent = person.GetContentFilter();
  EXPECT_EQ("CtSvcPerson.LF_FULLNAME like ?", pContent->GetWhere());
  EXPECT_EQ(std::vector<std::u16string>{u"'; drop table CtSvcPerson; --\\%"}, pContent->GetWhereArg());
}

TEST_F(CtSvcFilterWhereTest, ClonesAndRelatedFiltersOwnTheirCopies) {
  auto pPerson = std::make_unique<CCtSvcPersonFilter>();
  pPerson->SetDeviceType(2);
  CCtSvcEmailFilter email;
  email.SetRelatedFilter(pPerson.get());
  pPerson->SetDeviceType(1);  // the related filter holds its own clone
  pPerson.reset();
  FilterPtr pClone = email.Clone();
  email.SetRelatedFilter(nullptr);
  EXPECT_EQ("CtSvcContactDataTable.TYPE = 2", email.GetContentFilter()->GetWhere());
  EXPECT_EQ(
      "CtSvcContactDataTable.PERSON_ID IN ( select CtSvcPerson.ID from CtSvcPerson where CtSvcPerson.DEVICE_TYPE = 2 "
      ")",
      pClone->GetContentFilter()->GetWhere());

  CCtSvcRelatedFilter related;
  std::string strNested = "unchanged";
  EXPECT_EQ(FALSE, related.GetNestedQueryString(strNested));
  CCtSvcPersonFilter empty;
  EXPECT_EQ(TRUE, related.SetRelatedFilter(&empty));
  EXPECT_EQ(FALSE, related.GetNestedQueryString(strNested));
  EXPECT_EQ("unchanged", strNested);
}

TEST_F(CtSvcFilterWhereTest, SearchFormKeepsTheLastDigitsInsideItsBuffer) {
  MCHAR szInternational[CTSVC_FILTER_PHONENUMBER_SIZE];
  MCHAR szNational[CTSVC_FILTER_PHONENUMBER_SIZE];
  ASSERT_TRUE(CCtSvcPhoneNumberFilter::_ConvertPhoneNumberForSearch("+821012345678", szInternational,
                                                                      sizeof(szInternational)));
  ASSERT_TRUE(CCtSvcPhoneNumberFilter::_ConvertPhoneNumberForSearch("01012345678", szNational, sizeof(szNational)));
  EXPECT_EQ(std::u16string(szNational), std::u16string(szInternational));
  EXPECT_LT(std::u16string(szNational).size(), 11u);

  // A buffer of four units keeps the last three characters and its terminator.
  MCHAR szSmall[5] = {u'#', u'#', u'#', u'#', u'#'};
  ASSERT_TRUE(CCtSvcPhoneNumberFilter::_ConvertPhoneNumberForSearch(std::string(60, '1').append("789").c_str(),
                                                                      szSmall, 4 * sizeof(MCHAR)));
  EXPECT_EQ(u"789", std::u16string(szSmall));
  EXPECT_EQ(u'#', szSmall[4]);
  EXPECT_FALSE(CCtSvcPhoneNumberFilter::_ConvertPhoneNumberForSearch(nullptr, szSmall, sizeof(szSmall)));
}

}  // namespace
