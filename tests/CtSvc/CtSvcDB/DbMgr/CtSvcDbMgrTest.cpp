#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDb.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"
#include "ZelCoreTest.h"
#include "ZelDb2.h"

namespace {

using ctsvc_test::CountWhere;

// Inserts a row with the given integer columns (and a fresh id) through the URI; its id.
int Insert(const std::string& strUri, int nTable, std::initializer_list<std::pair<int, int>> columns) {
  return ctsvc_test::Row(nTable).Ints(columns).Insert(strUri);
}

class CtSvcDbMgrTest : public ctsvc_test::SchemaTest {
 protected:
  // A person with a number (with a speed dial), an e-mail, an address and two memberships.
  int AddPersonWithDetails() {
    const int nPerson = Insert("CtSvc/Person", CTSVC_DB_TABLE_PERSON, {{CTSVC_DB_PERSON_COLUMN_DEVICE_TYPE, 1}});
    const int nNumber = Insert("CtSvc/PhoneNumber", CTSVC_DB_TABLE_CONTACTDATA,
                               {{CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID, nPerson}, {CTSVC_DB_CONTACTDATA_COLUMN_TYPE, 1}});
    Insert("CtSvc/Email", CTSVC_DB_TABLE_CONTACTDATA,
           {{CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID, nPerson}, {CTSVC_DB_CONTACTDATA_COLUMN_TYPE, 2}});
    Insert("CtSvc/PostalAddress", CTSVC_DB_TABLE_POSTALADDRESS, {{CTSVC_DB_POSTALADDR_COLUMN_PERSON_ID, nPerson}});
    Insert("CtSvc/SpeedDial", CTSVC_DB_TABLE_SPEEDDIAL,
           {{CTSVC_DB_SPEEDDIAL_COLUMN_PERSON_ID, nPerson}, {CTSVC_DB_SPEEDDIAL_COLUMN_PHNUM_ID, nNumber}});
    for (int nGroup : {1, 5}) {
      Insert("CtSvc/GroupMember", CTSVC_DB_TABLE_GROUPMEMBER,
             {{CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID, nPerson}, {CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, nGroup}});
    }
    return nPerson;
  }

  int RowsOfPerson(int nPerson) {
    const std::string strWhere = "PERSON_ID = " + std::to_string(nPerson);
    int nRows = 0;
    for (const char* szUri : {"CtSvc/PhoneNumber", "CtSvc/PostalAddress", "CtSvc/SpeedDial", "CtSvc/GroupMember"}) {
      nRows += CountWhere(szUri, strWhere);
    }
    return nRows;
  }
};

TEST_F(CtSvcDbMgrTest, FirstStartCreatesSchemaSecondKeepsIt) {
  for (int nType = 0; nType < CTSVC_DB_TABLE_MAX; ++nType) {
    EXPECT_NE(0, Db2CheckTable(CCtSvcDbMgr::Instance()->GetDBTable(nType)->GetTableName()));
  }
  char szVersion[32] = "";
  ASSERT_TRUE(Db2GetSchemaVer("CtSvc", szVersion, sizeof(szVersion)));
  EXPECT_STREQ("1.1.76.0.0", szVersion);
  CContent group;
  EXPECT_TRUE(CContentMgr::Instance()->GetContent("CtSvc/Group", CTSVC_NOT_ASSIGNED_GROUP_ID, group));
  EXPECT_EQ(1, CountFromSecondConnection("CtSvcGroup"));

  // A recorded version that differs must survive a second start, which creates nothing.
  ASSERT_TRUE(Db2SetSchemaVer("CtSvc", "9.9"));
  Db2Commit();
  CCtSvcDbMgr::DestroyInstance();
  zel::test::LogCapture capture;
  ASSERT_TRUE(CCtSvcDbMgr::Instance()->Initialize());
  EXPECT_EQ(CTSVC_DB_TABLE_MAX, capture.Count("Table is already exist"));
  ASSERT_TRUE(Db2GetSchemaVer("CtSvc", szVersion, sizeof(szVersion)));
  EXPECT_STREQ("9.9", szVersion);
  EXPECT_EQ(1, CountFromSecondConnection("CtSvcGroup"));
  EXPECT_EQ(2, CCtSvcDbMgr::Instance()->GetDBTable(CTSVC_DB_TABLE_GROUP)->PeekNextRecordId());
}

TEST_F(CtSvcDbMgrTest, SecondInitializeIsRefused) {
  zel::test::LogCapture capture;
  EXPECT_FALSE(CCtSvcDbMgr::Instance()->Initialize());
  EXPECT_TRUE(capture.HasAssertion("m_pContentHandlerFactory == NULL"));
}

TEST_F(CtSvcDbMgrTest, GetDBTableRejectsTypesOutOfRange) {
  zel::test::LogCapture capture;
  EXPECT_EQ(nullptr, CCtSvcDbMgr::Instance()->GetDBTable(CTSVC_DB_TABLE_MAX));
  EXPECT_EQ(nullptr, CCtSvcDbMgr::Instance()->GetDBTable(-1));
  EXPECT_EQ(2u, capture.Assertions().size());
  EXPECT_TRUE(capture.HasAssertion("TableType > CTSVC_DB_TABLE_INVALID && TableType < CTSVC_DB_TABLE_MAX"));
}

TEST_F(CtSvcDbMgrTest, DeletingPersonRemovesItsDetails) {
  const int nPerson = AddPersonWithDetails();
  const int nOther = AddPersonWithDetails();
  ASSERT_EQ(6, RowsOfPerson(nPerson));
  ASSERT_TRUE(CContentMgr::Instance()->Delete("CtSvc/Person", nPerson));
  EXPECT_EQ(0, RowsOfPerson(nPerson));
  EXPECT_EQ(0, CountWhere("CtSvc/Email", "PERSON_ID = " + std::to_string(nPerson)));
  EXPECT_EQ(6, RowsOfPerson(nOther));
}

TEST_F(CtSvcDbMgrTest, NoSyncDeleteRemovesOnlyThePerson) {
  const int nPerson = AddPersonWithDetails();
  ASSERT_TRUE(CContentMgr::Instance()->Delete("CtSvc/Person/NoSync", nPerson));
  EXPECT_EQ(0, CountWhere("CtSvc/Person", "ID = " + std::to_string(nPerson)));
  EXPECT_EQ(6, RowsOfPerson(nPerson));
}

TEST_F(CtSvcDbMgrTest, DeletingNumberRemovesItsSpeedDial) {
  const int nPerson = AddPersonWithDetails();
  CContentFilter filter;
  filter.SetWhere("PERSON_ID = " + std::to_string(nPerson) + " AND TYPE = 1");
  std::vector<CContent> vcNumbers;
  ASSERT_TRUE(CContentMgr::Instance()->GetContents("CtSvc/PhoneNumber", &filter, vcNumbers));
  int32_t nNumber = 0;
  ASSERT_TRUE(vcNumbers.at(0).GetInt(CTSVC_DB_CONTACTDATA_COLUMN_ID, nNumber));
  ASSERT_TRUE(CContentMgr::Instance()->Delete("CtSvc/PhoneNumber", nNumber));
  EXPECT_EQ(0, CountWhere("CtSvc/SpeedDial", "PHNUM_ID = " + std::to_string(nNumber)));
}

TEST_F(CtSvcDbMgrTest, DeletingGroupMovesOnlyLocalSingleGroupContactsToDefault) {
  const int nGroup = Insert("CtSvc/Group", CTSVC_DB_TABLE_GROUP, {{CTSVC_DB_GROUP_COLUMN_DEVICE_TYPE, 1}});
  const int nOther = Insert("CtSvc/Group", CTSVC_DB_TABLE_GROUP, {{CTSVC_DB_GROUP_COLUMN_DEVICE_TYPE, 1}});
  auto member = [&](int nPerson, int nGroupId, int nAccount) {
    Insert("CtSvc/GroupMember", CTSVC_DB_TABLE_GROUPMEMBER,
           {{CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID, nPerson}, {CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, nGroupId},
            {CTSVC_DB_GRPMEMBER_COLUMN_ACCOUNT_ID, nAccount}, {CTSVC_DB_GRPMEMBER_COLUMN_DEVICE_TYPE, 1}});
  };
  member(100, nGroup, -1);   // local, only group: moves to group 1
  member(101, nGroup, 7);    // from an account: not moved
  member(102, nGroup, -1);   // local but in two groups: not moved
  member(102, nOther, -1);
  ASSERT_TRUE(CContentMgr::Instance()->Delete("CtSvc/Group", nGroup));
  EXPECT_EQ(0, CountWhere("CtSvc/GroupMember", "GROUP_ID = " + std::to_string(nGroup)));
  EXPECT_EQ(1, CountWhere("CtSvc/GroupMember", "GROUP_ID = 1 AND PERSON_ID = 100"));
  EXPECT_EQ(0, CountWhere("CtSvc/GroupMember", "PERSON_ID = 101"));
  EXPECT_EQ(1, CountWhere("CtSvc/GroupMember", "PERSON_ID = 102"));
  EXPECT_EQ(0, CountWhere("CtSvc/GroupMember", "GROUP_ID = 1 AND PERSON_ID = 102"));
}

TEST_F(CtSvcDbMgrTest, RenamingPersonRewritesNamesOfNumbersAndEmails) {
  const int nPerson = AddPersonWithDetails();
  CContentInput names;
  names.SetNString("FIRSTNAME", u"Ann");
  names.SetNString("LASTNAME", u"Kidd");
  names.SetNString("FL_FULLNAME", u"Ann Kidd");
  names.SetNString("LF_FULLNAME", u"Kidd Ann");
  ASSERT_TRUE(CContentMgr::Instance()->Update("CtSvc/Person", nPerson, names));
  CContentFilter filter;
  filter.SetWhere("PERSON_ID = " + std::to_string(nPerson));
  std::vector<CContent> vcRows;
  ASSERT_TRUE(CContentMgr::Instance()->GetContents("CtSvc/PhoneNumber", &filter, vcRows));
  ASSERT_EQ(2u, vcRows.size());  // the number and the e-mail
  const int kColumns[] = {CTSVC_DB_CONTACTDATA_COLUMN_FIRSTNAME, CTSVC_DB_CONTACTDATA_COLUMN_LASTNAME,
                          CTSVC_DB_CONTACTDATA_COLUMN_FL_FULLNAME, CTSVC_DB_CONTACTDATA_COLUMN_LF_FULLNAME};
  for (const CContent& row : vcRows) {
    std::vector<std::u16string> vcNames(std::size(kColumns));
    for (size_t i = 0; i < vcNames.size(); ++i) {
      row.GetString(kColumns[i], vcNames[i]);
    }
    EXPECT_EQ((std::vector<std::u16string>{u"Ann", u"Kidd", u"Ann Kidd", u"Kidd Ann"}), vcNames);
  }
}

// The log page count after which a commit checkpoints, as the connection has it now.
int WalCheckpointPages() {
  const int hStmt = Db2StmtCreate("PRAGMA wal_autocheckpoint");
  int nPages = -1;
  Db2StmtExecuteInts(
      hStmt, [](void* pContext, INT32 nValue) { *static_cast<int*>(pContext) = nValue; }, &nPages);
  Db2StmtDestroy(hStmt);
  return nPages;
}

// The mode also lets the write-ahead log grow longer between checkpoints, and only while it lasts.
TEST_F(CtSvcDbMgrTest, MassInsertModeKeepsOneStatementPerText) {
  CCtSvcDbMgr* pMgr = CCtSvcDbMgr::Instance();
  EXPECT_EQ(-1, pMgr->GetMassInsertStatement("SELECT 1"));
  EXPECT_EQ(1000, WalCheckpointPages());
  pMgr->SetInsertMassFlag(1);
  EXPECT_GT(WalCheckpointPages(), 1000);
  const int hFirst = pMgr->GetMassInsertStatement("INSERT INTO CtSvcRcs ( ID ) VALUES( ? )");
  ASSERT_GE(hFirst, 0);
  EXPECT_EQ(hFirst, pMgr->GetMassInsertStatement("INSERT INTO CtSvcRcs ( ID ) VALUES( ? )"));
  for (int i = 0; i < 3; ++i) {
    Insert("CtSvc/Rcs/BulkOperation", CTSVC_DB_TABLE_RCS, {{CTSVC_DB_RCS_COLUMN_STATUS, i}});
  }
  pMgr->SetInsertMassFlag(0);
  EXPECT_EQ(1000, WalCheckpointPages());
  EXPECT_EQ(-1, Db2StmtExecute(hFirst));  // released when the mode ends
  Db2Commit();
  EXPECT_EQ(3, CountFromSecondConnection("CtSvcRcs"));
}

TEST_F(CtSvcDbMgrTest, TableInfoNamesEveryTableWithItsRows) {
  AddPersonWithDetails();
  std::vector<std::pair<std::string, int>> vcTables;
  char szName[64];
  INT32 nRows = 0;
  while (CtSvcDbGetTableInfo(static_cast<INT32>(vcTables.size()), szName, sizeof(szName), &nRows)) {
    vcTables.emplace_back(szName, nRows);
  }
  ASSERT_EQ(static_cast<size_t>(CTSVC_DB_TABLE_MAX), vcTables.size());
  for (int nTable = 0; nTable < CTSVC_DB_TABLE_MAX; ++nTable) {
    const char* szTable = CCtSvcDbMgr::Instance()->GetDBTable(nTable)->GetTableName();
    EXPECT_EQ(szTable, vcTables[nTable].first);
    EXPECT_EQ(CountFromSecondConnection(szTable), vcTables[nTable].second) << szTable;
  }
  EXPECT_EQ(1, vcTables[CTSVC_DB_TABLE_PERSON].second);
  EXPECT_EQ(2, vcTables[CTSVC_DB_TABLE_GROUPMEMBER].second);

  ASSERT_TRUE(CtSvcDbGetTableInfo(CTSVC_DB_TABLE_PERSON, szName, 5, &nRows));
  EXPECT_STREQ("CtSv", szName);
  EXPECT_FALSE(CtSvcDbGetTableInfo(-1, szName, sizeof(szName), &nRows));
  zel::test::LogCapture capture;
  EXPECT_FALSE(CtSvcDbGetTableInfo(0, szName, 0, &nRows));
  EXPECT_TRUE(capture.HasAssertion("nNameSize > 0"));
  EXPECT_FALSE(CtSvcDbGetTableInfo(0, szName, sizeof(szName), nullptr));
  EXPECT_TRUE(capture.HasAssertion("pnRows"));
}

TEST_F(CtSvcDbMgrTest, ExportsAnswerForTheStore) {
  EXPECT_STREQ("1.1.76.0.0", CtSvcGetDBCodeVer());
  zel::test::SetVolumeFull(true);
  EXPECT_EQ(1, CtSvcIsDbFull());
  zel::test::SetVolumeFull(false);
  EXPECT_EQ(0, CtSvcIsDbFull());
  EXPECT_GT(Db2QueryEx("SELECT * FROM sysirs_indexes where groupname = 'msgplcontact'"), 2);
  EXPECT_TRUE(CtDbSvcDeleteSearchSvcIndex());
  EXPECT_EQ(0, Db2QueryEx("SELECT * FROM sysirs_indexes where groupname = 'msgplcontact'"));
  EXPECT_TRUE(CtDbSvcCreateSearchSvcIndex());
  EXPECT_EQ(3, Db2QueryEx("SELECT * FROM sysirs_indexes where groupname = 'msgplcontact'"));
  {
    zel::test::LogCapture capture;  // indexes are dropped after their tables
    EXPECT_TRUE(CtSvcUnInitializeDB());
    EXPECT_FALSE(capture.Contains("DestroyTable - drop index table failed"));
  }
  EXPECT_EQ(0, Db2CheckTable("CtSvcPerson"));
  EXPECT_EQ(0, Db2CheckTable("CtSvcPrimaryLetterCount"));
  EXPECT_TRUE(CtSvcInitializeDB());
  EXPECT_NE(0, Db2CheckTable("CtSvcPerson"));
  EXPECT_NE(0, Db2CheckTable("CtSvcPrimaryLetterCount"));
}

}  // namespace
