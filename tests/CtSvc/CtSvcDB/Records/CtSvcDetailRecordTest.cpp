// What the detail records do beyond the common pattern: the shared contact-data table, search
// and sort columns, and taking a person's identity.
#include <gtest/gtest.h>

#include <string>

#include "CtSvcDB/Records/CtSvcEmailAddress.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPhoneNumber.h"
#include "CtSvcDB/Records/CtSvcSpeedDial.h"
#include "CtSvcUtil.h"
#include "RecordTestSupport.h"

namespace {

using ctsvc_record_test::ColumnName;
using ctsvc_record_test::InputInt;
using ctsvc_record_test::InputText;

std::string DataColumn(int nColumn) { return ColumnName(CTSVC_DB_TABLE_CONTACTDATA, nColumn); }

class CtSvcDetailRecordTest : public ctsvc_record_test::RecordStoreTest {};

// Each contact-data record refuses the rows of the other kind and reads nothing from them.
TEST_F(CtSvcDetailRecordTest, ContactDataRowsOfTheOtherTypeAreRefused) {
  CCtSvcEmailAddress email;
  email.SetEmailAddress("ann@example.org");
  const int nEmailId = email.Insert(1);
  CCtSvcPhoneNumber number;
  number.SetPhoneNumber("0101");
  const int nNumberId = number.Insert(1);

  CContent emailRow;
  CContent numberRow;
  ASSERT_TRUE(CContentMgr::Instance()->GetContent("CtSvc/PhoneNumber", nEmailId, emailRow));
  ASSERT_TRUE(CContentMgr::Instance()->GetContent("CtSvc/Email", nNumberId, numberRow));
  CCtSvcPhoneNumber asNumber;
  EXPECT_EQ(0, asNumber.SetData(emailRow));
  EXPECT_EQ(-1, asNumber.GetRecordId());
  EXPECT_STREQ("", asNumber.GetPhoneNumber());
  EXPECT_EQ(CTSVC_USE_TYPE_OTHER, asNumber.GetUseType());
  CCtSvcEmailAddress asEmail;
  EXPECT_EQ(0, asEmail.SetData(numberRow));
  EXPECT_EQ(-1, asEmail.GetRecordId());
}

TEST_F(CtSvcDetailRecordTest, ContactDataWritesTypeSearchFormAndOwnerNames) {
  const CCtSvcPerson person = ctsvc_test::Named("Ann", "Lee");
  const std::string strLong = "+82101234567890";
  const int nDigits = CtSvcGetDigitsCount2Compare(strLong.c_str());
  ASSERT_GT(nDigits, 0);
  ASSERT_LT(static_cast<size_t>(nDigits), strLong.size());

  CCtSvcPhoneNumber number;
  number.SetPhoneNumber(strLong.c_str());
  number.SetPerson(person);
  CContentInput numberInput;
  ASSERT_EQ(1, number.GetData(numberInput));
  EXPECT_EQ(CTSVC_CONTACT_TYPE_PHONENUMBER, InputInt(numberInput, DataColumn(CTSVC_DB_CONTACTDATA_COLUMN_TYPE)));
  const std::string strTail = strLong.substr(strLong.size() - static_cast<size_t>(nDigits));
  EXPECT_EQ(std::u16string(strTail.begin(), strTail.end()),
            InputText(numberInput, DataColumn(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_SDATA)));
  EXPECT_EQ(u"Ann Lee", InputText(numberInput, DataColumn(CTSVC_DB_CONTACTDATA_COLUMN_FL_FULLNAME)));
  EXPECT_EQ(u"Lee Ann", InputText(numberInput, DataColumn(CTSVC_DB_CONTACTDATA_COLUMN_LF_FULLNAME)));
  EXPECT_EQ(u"Ann", InputText(numberInput, DataColumn(CTSVC_DB_CONTACTDATA_COLUMN_FIRSTNAME)));

  CCtSvcPhoneNumber shortNumber;
  shortNumber.SetPhoneNumber("112");
  CContentInput shortInput;
  shortNumber.GetData(shortInput);
  EXPECT_EQ(u"112", InputText(shortInput, DataColumn(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_SDATA)));
  EXPECT_EQ(u"\uffff", InputText(shortInput, DataColumn(CTSVC_DB_CONTACTDATA_COLUMN_FL_FULLNAME)));

  CCtSvcEmailAddress email;
  email.SetEmailAddress("Ann.Lee@example.org");
  CContentInput emailInput;
  ASSERT_EQ(1, email.GetData(emailInput));
  EXPECT_EQ(CTSVC_CONTACT_TYPE_EMAILADDRESS, InputInt(emailInput, DataColumn(CTSVC_DB_CONTACTDATA_COLUMN_TYPE)));
  EXPECT_EQ(-1, InputInt(emailInput, DataColumn(CTSVC_DB_CONTACTDATA_COLUMN_AAS_ID)));
  EXPECT_EQ(u"Ann.Lee@example.org", InputText(emailInput, DataColumn(CTSVC_DB_CONTACTDATA_COLUMN_CONTACT_SDATA)));
  // An address one byte longer than the C array holds comes out cut to the array.
  email.SetEmailAddress(std::string(CTSVC_EMAIL_ADDRESS_SIZE, 'e').c_str());
  CtSvcEmailAddressInfo info{};
  ASSERT_EQ(1, email.GetData(info));
  EXPECT_EQ(std::string(CTSVC_EMAIL_ADDRESS_SIZE - 1, 'e'), info.szEmailAddress);
}

TEST_F(CtSvcDetailRecordTest, UnnamedGroupsSortAfterNamedOnes) {
  for (const char* pszName : {"", "Zulu", "\xE4\xB8\xAD"}) {
    CCtSvcGroup group;
    group.SetName(pszName);
    ASSERT_GT(group.Insert(1), 0);
  }
  CContentFilter filter;
  filter.SetOrderBy(ColumnName(CTSVC_DB_TABLE_GROUP, CTSVC_DB_GROUP_COLUMN_SNAME));
  filter.SetWhere(ColumnName(CTSVC_DB_TABLE_GROUP, CTSVC_DB_GROUP_COLUMN_ID) + " > 1");
  std::vector<CContent> vcRows;
  ASSERT_TRUE(CContentMgr::Instance()->GetContents("CtSvc/Group", &filter, vcRows));
  ASSERT_EQ(3u, vcRows.size());
  std::u16string strSortName;
  ASSERT_TRUE(vcRows.back().GetString(CTSVC_DB_GROUP_COLUMN_SNAME, strSortName));
  EXPECT_EQ(u"\uffff", strSortName);
  CCtSvcGroup last;
  ASSERT_EQ(1, last.SetData(vcRows.back()));
  EXPECT_STREQ("", last.GetName());
}

// SetPerson copies exactly the identity fields a detail has; everything else stays. (Numbers
// are checked through the exported insert, which takes the person's identity and names.)
TEST_F(CtSvcDetailRecordTest, SetPersonCopiesTheIdentity) {
  CCtSvcPerson person = ctsvc_test::Named("Ann", "Lee", CTSVC_USE_TYPE_SIM);
  person.SetRecordId(12);
  person.SetPrimaryId(34);
  person.SetAccountId(56);

  // A speed dial built from its info is a fresh one (no owner, no device) until SetPerson.
  CCtSvcSpeedDial speedDial(CtSvcSpeedDialInfo{4, 17});
  EXPECT_EQ(CTSVC_USE_TYPE_NONE, speedDial.GetDeviceType());
  EXPECT_EQ(-1, speedDial.GetPersonId());
  EXPECT_EQ(-1, speedDial.GetAccountId());
  EXPECT_EQ(-1, speedDial.GetRecordId());
  speedDial.SetPerson(person);
  EXPECT_EQ(12, speedDial.GetPersonId());
  EXPECT_EQ(CTSVC_USE_TYPE_SIM, speedDial.GetDeviceType());
  EXPECT_EQ(4, speedDial.GetSlotIndex());
  EXPECT_EQ(17, speedDial.GetPhoneNumberId());

  CCtSvcGroupMember member;
  member.SetGroupId(9);
  member.SetPerson(person);
  CtSvcGroupMemberRecord record{};
  member.GetData(record);
  EXPECT_EQ(CTSVC_USE_TYPE_SIM, record.DevType);
  EXPECT_EQ(12, record.Info.nPersonId);
  EXPECT_EQ(34, record.Info.nPrimaryId);
  EXPECT_EQ(9, record.Info.nGroupId);
}

}  // namespace
