// Content filters: the texts they produce (WHERE, argument order, ORDER BY, hint), each also run
// against the real schema so that a text that reads right but is not valid SQL fails too; and the
// stored rows they select.
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
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"
#include "ZelGWESCore.h"

namespace {

TmDateTime D(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0, int nSecond = 0) {
  return TmDateTime{nYear, nMonth, nDay, nHour, nMinute, nSecond};
}

using ctsvc_test::Row;
using IdSet = std::set<int>;
using FilterPtr = std::unique_ptr<CCtSvcCFFilter>;

// A filter of class F set up by setUp (nothing by default).
template <typename F, typename S = void (*)(F&)>
FilterPtr Make(S setUp = [](F&) {}) {
  auto pFilter = std::make_unique<F>();
  setUp(*pFilter);
  return pFilter;
}

struct TextCase {
  const char* szName;
  const char* szUri;
  FilterPtr pFilter;
  std::string strWhere;
  std::vector<std::u16string> vcArgs;
  std::string strOrderBy;
  std::string strHint;
};

class CtSvcFilterTest : public ctsvc_test::SchemaTest {
 protected:
  // Ids (first column) of the rows the filter selects. The count must run (a WHERE the engine
  // refuses gives -1) and the rows, read with the filter's order, must all come back.
  static std::set<int> Ids(const std::string& strUri, CCtSvcCFFilter& filter) {
    const CContentFilter* pContent = filter.GetContentFilter();
    const int nCount = CContentMgr::Instance()->GetCount(strUri, pContent);
    EXPECT_GE(nCount, 0) << strUri << " WHERE " << pContent->GetWhere();
    std::vector<CContent> vcRows;
    CContentMgr::Instance()->GetContents(strUri, pContent, vcRows);
    EXPECT_EQ(nCount, static_cast<int>(vcRows.size())) << strUri << " ORDER BY " << pContent->GetOrderBy();
    std::set<int> ids;
    for (const CContent& row : vcRows) {
      int32_t nId = 0;
      EXPECT_TRUE(row.GetInt(0, nId));
      ids.insert(nId);
    }
    return ids;
  }

  // Each case's texts, and its filter run against the schema.
  template <size_t N>
  void Check(TextCase (&cases)[N]) {
    for (TextCase& c : cases) {
      const CContentFilter* pContent = c.pFilter->GetContentFilter();
      EXPECT_EQ(c.strWhere, pContent->GetWhere()) << c.szName;
      EXPECT_EQ(c.vcArgs, pContent->GetWhereArg()) << c.szName;
      EXPECT_EQ(c.strOrderBy, pContent->GetOrderBy()) << c.szName;
      EXPECT_EQ(c.strHint, pContent->GetHint()) << c.szName;
      Ids(c.szUri, *c.pFilter);
    }
  }

  int Person(int nBirthYear, int nBirthMonth, int nBirthDay) {
    return Row(CTSVC_DB_TABLE_PERSON)
        .Int(CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, 1)
        .Date(CTSVC_DB_PERSON_COLUMN_BIRTHDAY, nBirthYear, nBirthMonth, nBirthDay)
        .Date(CTSVC_DB_PERSON_COLUMN_BIRTHDAY_RESERVED, nBirthYear, nBirthMonth, nBirthDay)
        .Date(CTSVC_DB_PERSON_COLUMN_ANNIVERSARY, nBirthYear, nBirthMonth, nBirthDay)
        .Insert("CtSvc/Person");
  }

  // A primary named as the records write it: the letter key holds the representative characters
  // of the name's first two units.
  int Primary(const std::u16string& strName, const std::u16string* pLetters = nullptr) {
    MCHAR szLetters[3] = {};
    AcGetRepresent2Chars(strName.c_str(), szLetters);
    return Row(CTSVC_DB_TABLE_PRIMARY)
        .Text(CTSVC_DB_PRIMARY_COLUMN_FL_FULLNAME, strName)
        .Text(CTSVC_DB_PRIMARY_COLUMN_FL_LETTER, pLetters != nullptr ? *pLetters : std::u16string(szLetters))
        .Insert("CtSvc/Primary");
  }

  IdSet Birthdays(TmDateTime from, TmDateTime to, bool bReserve = false) {
    CCtSvcPersonFilter filter;
    if (bReserve) {
      filter.SetBirthDayReserveFrom(from);
      filter.SetBirthDayReserveTo(to);
    } else {
      filter.SetBirthDayFrom(from);
      filter.SetBirthDayTo(to);
    }
    return Ids("CtSvc/Person", filter);
  }
};

TEST_F(CtSvcFilterTest, FiltersWithNoSetFieldSelectAllRows) {
  // Only the contact-data filters keep their row kind; groups and FDN entries keep their order.
  TextCase kCases[] = {
      {"person", "CtSvc/Person", Make<CCtSvcPersonFilter>(), "", {}, "", ""},
      {"group", "CtSvc/Group", Make<CCtSvcGroupFilter>(), "", {}, "SNAME, DEVICE_TYPE", "GROUP_IDX1"},
      {"fdn", "CtSvc/Fdn", Make<CCtSvcFdnFilter>(), "", {}, "NAME", ""},
      {"rcs", "CtSvc/Rcs", Make<CCtSvcRcsFilter>(), "", {}, "", ""},
      {"email", "CtSvc/Email", Make<CCtSvcEmailFilter>(), "CtSvcContactDataTable.TYPE = 2", {}, "", ""},
      {"phone", "CtSvc/PhoneNumber", Make<CCtSvcPhoneNumberFilter>(), "CtSvcContactDataTable.TYPE = 1", {}, "", ""},
  };
  Check(kCases);
}

TEST_F(CtSvcFilterTest, TextMatchFollowsTruncation) {
  auto email = [](const char* pszAddress, int nTruncation) {
    return Make<CCtSvcEmailFilter>([=](CCtSvcEmailFilter& f) {
      f.SetEmailAddress(pszAddress);
      f.SetEmailTruncation(nTruncation);
    });
  };
  const std::string kLike = "CtSvcContactDataTable.CONTACT_DATA like ? and CtSvcContactDataTable.TYPE = 2";
  TextCase kCases[] = {
      {"contains, one argument with escaped underscore", "CtSvc/Email", email("first.last_name@example.com", 3),
       kLike, {u"%first.last\\_name@example.com%"}, "ID", ""},
      {"prefix", "CtSvc/Email", email("a_b%c@x.com", 1), kLike, {u"a\\_b\\%c@x.com%"}, "ID", ""},
      {"suffix", "CtSvc/Email", email("a\\b", 2), kLike, {u"%a\\\\b"}, "ID", ""},
      {"other data by its truncation", "CtSvc/EtcData",
       Make<CCtSvcEtcDataFilter>([](auto& f) {
         f.SetEtcData("/Ringtones/");
         f.SetEtcDataTruncation(1);
       }),
       "CtSvcEtcData.ETC_DATA like ?", {u"/Ringtones/%"}, "", ""},
      {"fdn name always contains", "CtSvc/Fdn", Make<CCtSvcFdnFilter>([](auto& f) { f.SetName("Jo_e"); }),
       "CtSvcFdn.NAME like ?", {u"%Jo\\_e%"}, "NAME", ""},
      {"phone number pattern goes to the stored number", "CtSvc/PhoneNumber",
       Make<CCtSvcPhoneNumberFilter>([](auto& f) {
         f.SetPhoneNumber("010%");
         f.SetNumberTruncation(3);
       }),
       "CtSvcContactDataTable.CONTACT_DATA like ? and CtSvcContactDataTable.TYPE = 1", {u"%010\\%%"}, "DEVICE_TYPE",
       ""},
  };
  Check(kCases);
}

TEST_F(CtSvcFilterTest, ValueListsBecomeInListsWithArgumentsInOrder) {
  // Numbers no longer than any comparison length keep their whole text as search form.
  auto numbers = [](std::vector<std::string> vcNumbers) {
    return Make<CCtSvcPhoneNumberFilter>([=](auto& f) { f.SetPhoneNumber(vcNumbers); });
  };
  TextCase kCases[] = {
      {"three numbers", "CtSvc/PhoneNumber", numbers({"5551234", "5559876", "5550000"}),
       "CtSvcContactDataTable.CONTACT_SDATA IN (?, ?, ?) and CtSvcContactDataTable.TYPE = 1",
       {u"5551234", u"5559876", u"5550000"}, "DEVICE_TYPE", ""},
      {"two addresses", "CtSvc/Email",
       Make<CCtSvcEmailFilter>([](auto& f) {
         f.SetEmailAddress(std::vector<std::string>{"b@x.com", "a'); drop table x; --@x.com"});
         f.SetPersonId(4);
       }),
       "CtSvcContactDataTable.CONTACT_DATA IN (?, ?) and CtSvcContactDataTable.TYPE = 2 and "
       "CtSvcContactDataTable.PERSON_ID = 4",
       {u"b@x.com", u"a'); drop table x; --@x.com"}, "ID", ""},
  };
  Check(kCases);
}

TEST_F(CtSvcFilterTest, RelatedPersonFilterReplacesTheDetailFiltersOwnConditions) {
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
      related("CtSvc/PostalAddress", std::make_unique<CCtSvcPostalAddressFilter>()),
      related("CtSvc/Rcs", std::make_unique<CCtSvcRcsFilter>()),
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

TEST_F(CtSvcFilterTest, PersonConditionsComeInTheirFixedOrder) {
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
  TextCase kCases[] = {
      {"every condition", "CtSvc/Person", Make<CCtSvcPersonFilter>([&s](auto& f) { f.SetContentFilter(&s); }),
       "CtSvcPerson.DEVICE_TYPE = 2 and CtSvcPerson.SLOT_INDEX = 4 and CtSvcPerson.ACCOUNT_ID = 7 and "
       "CtSvcPerson.LF_FULLNAME like ? and CtSvcPerson.ID IN ( select CtSvcGroupMember.PERSON_ID from "
       "CtSvcGroupMember where CtSvcGroupMember.GROUP_ID = 3 ) and CtSvcPerson.PRIMARY_ID = 9 and "
       "CtSvcPerson.ACCOUNT_ID < 1 and CtSvcPerson.ACCOUNT_ID > 0 and CtSvcPerson.ID IN ( select "
       "CtSvcEtcData.PERSON_ID from CtSvcEtcData where CtSvcEtcData.ETC_TYPE = 5 ) and (CtSvcPerson.FL_FULLNAME > "
       "n'') and (CtSvcPerson.HAS_PH > 0) and (CtSvcPerson.HAS_EMAIL > 0) and (CtSvcPerson.HAS_ADDR > 0) and "
       "(CtSvcPerson.HAS_EMAIL > 0 or CtSvcPerson.HAS_PH > 0) and (CtSvcPerson.HAS_SNSDATA < 1)",
       {u"O'Brien%"}, "", ""}};
  Check(kCases);

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

// Yearly windows are checked on stored rows below; here the bounds that give no window or a
// full date.
TEST_F(CtSvcFilterTest, DateBoundsWithoutAYearlyWindow) {
  auto birthday = [](TmDateTime from, TmDateTime to, bool bAnniversary = false) {
    return Make<CCtSvcPersonFilter>([=](auto& f) {
      if (bAnniversary) {
        f.SetAnniversaryFrom(from);
        f.SetAnniversaryTo(to);
      } else {
        f.SetBirthDayFrom(from);
        f.SetBirthDayTo(to);
      }
    });
  };
  TextCase kCases[] = {
      {"one full bound", "CtSvc/Person", birthday(D(1899, 12, 31), D(2100, 1, 1)),
       "CtSvcPerson.BIRTHDAY <= '2100-1-1 0:0:0'", {}, "", ""},
      {"anniversaries have no yearly window", "CtSvc/Person", birthday(D(0, 1, 1), D(0, 2, 1), true), "", {}, "", ""},
      {"invalid day", "CtSvc/Person", birthday(D(0, 1, 0), D(0, 1, 1)), "", {}, "", ""},
      {"only one yearly bound", "CtSvc/Person", birthday(D(0, 1, 1), TmDateTime()), "", {}, "", ""},
  };
  Check(kCases);
}

TEST_F(CtSvcFilterTest, PrimaryConditions) {
  TextCase kCases[] = {
      {"has a name", "CtSvc/Primary", Make<CCtSvcPrimaryFilter>([](auto& f) { f.SetFilterDetail(1 | 16 | 64); }),
       "(CtSvcPrimary.FL_FULLNAME <> ?) and (CtSvcPrimary.HAS_EMAIL > 0 or CtSvcPrimary.HAS_PH > 0)",
       {std::u16string(1, u'\uFFFF')}, "", ""},
      {"link counts, group, local", "CtSvc/Primary",
       Make<CCtSvcPrimaryFilter>([](auto& f) {
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
       Make<CCtSvcPrimaryFilter>([](auto& f) {
         f.SetFavoriteOrder(1);
         f.SetFilterIndexType(1);
       }),
       "CtSvcPrimary.FAVORITE = 2", {}, "FAVORITE_ORDER", ""},
      {"name prefix pins the letter key", "CtSvc/Primary",
       Make<CCtSvcPrimaryFilter>([](auto& f) {
         f.SetNameOrder(2);
         f.SetDisplayName("\xC3\xA9mi");
         f.SetNameTruncation(1);
       }),
       "CtSvcPrimary.FL_FULLNAME like ? and (CtSvcPrimary.FL_LETTER = ?)", {u"\u00E9mi%", u"EM"}, "", ""},
  };
  Check(kCases);
}

TEST_F(CtSvcFilterTest, PrimaryGroupMemberJoinsAndQualifiesItsOrder) {
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
  EXPECT_TRUE(Ids("CtSvc/PrimaryGroupMember", filter).empty());  // rows: the primary lists of a group

  zel::test::LogCapture capture;
  filter.SetGroupId(0);
  EXPECT_EQ("CtSvcPrimary.DEVICE_TYPE = 1 and (CtSvcPrimary.FL_FULLNAME <> ?) and (CtSvcPrimary.HAS_ADDR > 0)",
            filter.GetContentFilter()->GetWhere());
  EXPECT_TRUE(capture.HasAssertion("m_PrimaryFilter.nGroupId > 0"));
}

// Detail filters build their conditions from one rule table; a case per kind of rule.
TEST_F(CtSvcFilterTest, RuleDrivenDetailFilters) {
  TextCase kCases[] = {
      {"im of a person in id order", "CtSvc/IM", Make<CCtSvcIMFilter>([](auto& f) { f.SetPersonId(3); }),
       "CtSvcIM.PERSON_ID = 3", {}, "ID", ""},
      {"postal of a primary pins its index", "CtSvc/PostalAddress",
       Make<CCtSvcPostalAddressFilter>([](auto& f) {
         f.SetPrimaryId(2);
         f.SetUseType(1);
         f.SetCity("K\xC3\xB6ln");
         f.SetCountry("DE");
       }),
       "CtSvcPostalAddress.PRIMARY_ID = 2 and CtSvcPostalAddress.USE_TYPE = 1 and CtSvcPostalAddress.CITY = ? and "
       "CtSvcPostalAddress.COUNTRY = ?",
       {u"K\u00F6ln", u"DE"}, "", "POSTALADDR_IDX2"},
      {"speed dial slot 0 is a slot", "CtSvc/SpeedDial",
       Make<CCtSvcSpeedDialFilter>([](auto& f) {
         f.SetSlotIndex(0);
         f.SetPhoneNumberId(8);
       }),
       "CtSvcSpeedDial.SLOT_INDEX = 0 and CtSvcSpeedDial.PHNUM_ID = 8", {}, "", ""},
      {"sim group", "CtSvc/Group",
       Make<CCtSvcGroupFilter>([](auto& f) {
         f.SetDeviceType(2);
         f.SetSlotIndex(0);
         f.SetType(1);
         f.SetName("Work");
         f.SetRingtone("/r.mp3");
         f.SetHasMember(1);
         f.SetExceptNotAssigned(1);
       }),
       "CtSvcGroup.DEVICE_TYPE = 2 and CtSvcGroup.SLOT_INDEX = 0 and CtSvcGroup.TYPE = 1 and CtSvcGroup.SNAME = ? and "
       "CtSvcGroup.RINGTONE = ? and CtSvcGroup.ID IN ( select CtSvcGroupMember.GROUP_ID from CtSvcGroupMember ) and "
       "CtSvcGroup.ID > 1",
       {u"Work", u"/r.mp3"}, "SNAME, DEVICE_TYPE", "GROUP_IDX1"},
  };
  Check(kCases);
}

TEST_F(CtSvcFilterTest, CallerStructuresAreCopiedWithinTheirBounds) {
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

TEST_F(CtSvcFilterTest, ClonesAndRelatedFiltersOwnTheirCopies) {
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

TEST_F(CtSvcFilterTest, SearchFormKeepsTheLastDigitsInsideItsBuffer) {
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

// Which stored rows the filters select: dates, group membership, name searches and owners.

TEST_F(CtSvcFilterTest, YearlyBirthdayWindowsOnStoredDates) {
  const int nDec20 = Person(1990, 12, 20);
  const int nDec31 = Person(1975, 12, 31);
  const int nJan1 = Person(2001, 1, 1);
  const int nJan10 = Person(1985, 1, 10);
  const int nMar15 = Person(1999, 3, 15);
  Person(1990, 12, 19);
  Person(1985, 1, 11);
  Person(1980, 11, 25);
  Person(1980, 2, 5);
  Person(1899, 12, 31);  // the unset date must never fall into a window
  Row(CTSVC_DB_TABLE_PERSON).Insert("CtSvc/Person");  // no date at all

  struct Window {
    const char* szName;
    TmDateTime from;
    TmDateTime to;
    IdSet expected;
  };
  const Window kWindows[] = {
      {"over the year end", D(0, 12, 20), D(0, 1, 10), {nDec20, nDec31, nJan1, nJan10}},
      {"november to february matches nothing", D(0, 11, 20), D(0, 2, 10), {}},
      {"within one month", D(0, 3, 1), D(0, 3, 31), {nMar15}},
      {"one day", D(0, 12, 31), D(0, 12, 31), {nDec31}},
  };
  for (const Window& w : kWindows) {
    EXPECT_EQ(w.expected, Birthdays(w.from, w.to)) << w.szName;
    EXPECT_EQ(w.expected, Birthdays(w.from, w.to, true)) << w.szName << " (reserve)";
  }
}

TEST_F(CtSvcFilterTest, FullDateBoundsCompareWholeDates) {
  const int n2000 = Person(2000, 6, 1);
  const int n2005 = Person(2005, 12, 31);
  Person(1999, 12, 31);
  Person(2006, 1, 1);
  CCtSvcPersonFilter filter;
  filter.SetAnniversaryFrom(D(2000, 1, 1));
  filter.SetAnniversaryTo(D(2005, 12, 31));
  EXPECT_EQ((IdSet{n2000, n2005}), Ids("CtSvc/Person", filter));
}

TEST_F(CtSvcFilterTest, GroupFilterByMembership) {
  // Group 1 (not assigned) exists from the start; 2 and 1 get members, 3 stays empty.
  const int nWork = Row(CTSVC_DB_TABLE_GROUP).Int(CTSVC_DB_GROUP_COLUMN_DEVICE_TYPE, 1).Insert("CtSvc/Group");
  const int nEmpty = Row(CTSVC_DB_TABLE_GROUP).Int(CTSVC_DB_GROUP_COLUMN_DEVICE_TYPE, 1).Insert("CtSvc/Group");
  for (int nGroup : {nWork, nWork, CTSVC_NOT_ASSIGNED_GROUP_ID}) {
    Row(CTSVC_DB_TABLE_GROUPMEMBER).Int(CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, nGroup).Insert("CtSvc/GroupMember");
  }
  struct Case {
    int bHasMember;
    int bExceptNotAssigned;
    IdSet expected;
  };
  const Case kCases[] = {
      {0, 0, {CTSVC_NOT_ASSIGNED_GROUP_ID, nWork, nEmpty}},
      {1, 0, {CTSVC_NOT_ASSIGNED_GROUP_ID, nWork}},
      {0, 1, {nWork, nEmpty}},
      {1, 1, {nWork}},
  };
  for (const Case& c : kCases) {
    CCtSvcGroupFilter filter;
    filter.SetHasMember(c.bHasMember);
    filter.SetExceptNotAssigned(c.bExceptNotAssigned);
    EXPECT_EQ(c.expected, Ids("CtSvc/Group", filter))
        << "has member " << c.bHasMember << ", except not assigned " << c.bExceptNotAssigned;
  }
}

TEST_F(CtSvcFilterTest, FdnNameMatchesAnywhereAndLiterally) {
  auto fdn = [](const std::u16string& strName) {
    return Row(CTSVC_DB_TABLE_FDN).Text(CTSVC_DB_FDN_COLUMN_NAME, strName).Insert("CtSvc/Fdn");
  };
  const int nJohn = fdn(u"John Smith");
  const int nBigJohn = fdn(u"Big John");
  fdn(u"Jane");
  const int nPercent = fdn(u"50% off");
  fdn(u"500 off");
  const int nUnderscore = fdn(u"a_b");
  fdn(u"axb");
  struct Case {
    const char* pszName;
    IdSet expected;
  };
  const Case kCases[] = {{"John", {nJohn, nBigJohn}}, {"0%", {nPercent}}, {"a_", {nUnderscore}}};
  for (const Case& c : kCases) {
    CCtSvcFdnFilter filter;
    filter.SetName(c.pszName);
    EXPECT_EQ(c.expected, Ids("CtSvc/Fdn", filter)) << c.pszName;
  }
}

TEST_F(CtSvcFilterTest, EmailContainsTreatsUnderscoreLiterally) {
  auto email = [](const std::u16string& strAddress) {
    return Row(CTSVC_DB_TABLE_CONTACTDATA)
        .Int(CTSVC_DB_CONTACTDATA_COLUMN_TYPE, 2)
        .Text(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_DATA, strAddress)
        .Insert("CtSvc/Email");
  };
  const int nUnderscore = email(u"first.last_name@example.com");
  email(u"first.lastxname@example.com");
  Row(CTSVC_DB_TABLE_CONTACTDATA)
      .Int(CTSVC_DB_CONTACTDATA_COLUMN_TYPE, 1)
      .Text(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_DATA, u"last_name")
      .Insert("CtSvc/PhoneNumber");
  CCtSvcEmailFilter filter;
  filter.SetEmailAddress("last_name");
  filter.SetEmailTruncation(CTSVC_FILTER_TRUNCATION_CONTAINS);
  EXPECT_EQ(IdSet{nUnderscore}, Ids("CtSvc/Email", filter));
}

TEST_F(CtSvcFilterTest, PrimaryNameSearchUsesRepresentativeLetters) {
  const int nHong = Primary(u"\uD64D\uAE38\uB3D9");  // three Hangul syllables
  const int nEmile = Primary(u"\u00E9mile");
  const int nEmma = Primary(u"Emma");
  const std::u16string strRawLetters = u"\u00E9m";
  const int nRawEmile = Primary(u"\u00E9mile", &strRawLetters);  // a key not written with representative letters
  struct Case {
    const char* pszName;
    int nTruncation;
    IdSet expected;
  };
  const Case kCases[] = {
      {"\xED\x99\x8D\xEA\xB8\xB8\xEB\x8F\x99", CTSVC_FILTER_TRUNCATION_EXACT, {nHong}},
      {"\xC3\xA9mi", CTSVC_FILTER_TRUNCATION_PREFIX, {nEmile}},
      {"Em", CTSVC_FILTER_TRUNCATION_PREFIX, {nEmma}},
      {"ile", CTSVC_FILTER_TRUNCATION_SUFFIX, {nEmile, nRawEmile}},
  };
  for (const Case& c : kCases) {
    CCtSvcPrimaryFilter filter;
    filter.SetNameOrder(CTSVC_FILTER_NAME_ORDER_FIRST_LAST);
    filter.SetDisplayName(c.pszName);
    filter.SetNameTruncation(c.nTruncation);
    EXPECT_EQ(c.expected, Ids("CtSvc/Primary", filter)) << c.pszName;
  }
}

TEST_F(CtSvcFilterTest, RelatedPersonFilterSelectsDetailsByTheirOwner) {
  const int nPhonePerson = Row(CTSVC_DB_TABLE_PERSON).Int(CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, 1).Insert("CtSvc/Person");
  const int nSimPerson = Row(CTSVC_DB_TABLE_PERSON).Int(CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, 2).Insert("CtSvc/Person");
  auto rcs = [](int nPerson) {
    return Row(CTSVC_DB_TABLE_RCS).Int(CTSVC_DB_RCS_COLUMN_PERSON_ID, nPerson).Insert("CtSvc/Rcs");
  };
  rcs(nPhonePerson);
  const int nSimRcs1 = rcs(nSimPerson);
  const int nSimRcs2 = rcs(nSimPerson);

  CtSvcPersonFilter sim;
  CtSvcPersonFilterInit(&sim);
  sim.DevType = CTSVC_USE_TYPE_SIM;
  CCtSvcRcsFilter filter;
  filter.SetPersonId(nPhonePerson);  // ignored while the related filter selects rows
  filter.SetContentFilter(&sim);
  EXPECT_EQ((IdSet{nSimRcs1, nSimRcs2}), Ids("CtSvc/Rcs", filter));
}

}  // namespace
