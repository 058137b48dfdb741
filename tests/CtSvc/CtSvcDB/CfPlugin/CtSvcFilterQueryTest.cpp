// Which stored rows the filters select: dates, group membership, name searches and owners.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "CtSvcDB/CfPlugin/CtSvcContactDataFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcDetailFilters.h"
#include "CtSvcDB/CfPlugin/CtSvcFdnFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcGroupFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcPersonFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcPrimaryFilter.h"
#include "CtSvcFilterTestEnv.h"
#include "ZelGWESCore.h"

namespace {

TmDateTime D(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0, int nSecond = 0) {
  return TmDateTime{nYear, nMonth, nDay, nHour, nMinute, nSecond};
}

using ctsvc_filter_test::FilterStoreTest;
using ctsvc_filter_test::Row;
using IdSet = std::set<int>;

class CtSvcFilterQueryTest : public FilterStoreTest {
 protected:
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

TEST_F(CtSvcFilterQueryTest, YearlyBirthdayWindowsOnStoredDates) {
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

TEST_F(CtSvcFilterQueryTest, FullDateBoundsCompareWholeDates) {
  const int n2000 = Person(2000, 6, 1);
  const int n2005 = Person(2005, 12, 31);
  Person(1999, 12, 31);
  Person(2006, 1, 1);
  CCtSvcPersonFilter filter;
  filter.SetAnniversaryFrom(D(2000, 1, 1));
  filter.SetAnniversaryTo(D(2005, 12, 31));
  EXPECT_EQ((IdSet{n2000, n2005}), Ids("CtSvc/Person", filter));
}

TEST_F(CtSvcFilterQueryTest, GroupFilterByMembership) {
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

TEST_F(CtSvcFilterQueryTest, FdnNameMatchesAnywhereAndLiterally) {
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

TEST_F(CtSvcFilterQueryTest, EmailContainsTreatsUnderscoreLiterally) {
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

TEST_F(CtSvcFilterQueryTest, PrimaryNameSearchUsesRepresentativeLetters) {
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

TEST_F(CtSvcFilterQueryTest, RelatedPersonFilterSelectsDetailsByTheirOwner) {
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
