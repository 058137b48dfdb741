// The statement texts of the contact service, written the way it writes them, run through the
// Db2 layer and give the intended answers.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Db2TestSupport.h"
#include "FtsTestSupport.h"

namespace {

using db2test::Column;
using db2test::Db2Test;
using db2test::Scalar;

struct ColumnDef {
  const char* name;
  const char* type;
  int nA;  // -1: primary key; NVARCHAR: inline length; INTEGER/TINYINT: default
  int nB;
};

struct IndexDef {
  const char* name;
  const char* columns;
  int nKind;  // -1: unique
};

struct TableDef {
  const char* name;
  std::vector<ColumnDef> columns;
  std::vector<IndexDef> indexes;
};

// The table statement exactly as the service builds it from its descriptors.
std::string CreateTableText(const TableDef& t) {
  std::string sql = std::string("CREATE TABLE ") + t.name + " ( ";
  for (const ColumnDef& c : t.columns) {
    char sz[160];
    const std::string type = c.type;
    if (c.nA == -1) {
      std::snprintf(sz, sizeof(sz), " %s  %s PRIMARY KEY, ", c.name, c.type);
    } else if (type == "NVARCHAR") {
      std::snprintf(sz, sizeof(sz), " %s  %s(%d,%d), ", c.name, c.type, c.nA, c.nB);
    } else if (type == "DATETIME") {
      std::snprintf(sz, sizeof(sz), " %s  %s default NULL, ", c.name, c.type);
    } else {
      std::snprintf(sz, sizeof(sz), " %s  %s default %d, ", c.name, c.type, c.nA);
    }
    sql += sz;
  }
  sql.resize(sql.size() - 2);
  return sql + ") volume vol2";
}

const ColumnDef kId{"ID", "INTEGER", -1, 0};
const ColumnDef kPersonId{"PERSON_ID", "INTEGER", 0, 0};
const ColumnDef kPrimaryId{"PRIMARY_ID", "INTEGER", 0, 0};
const ColumnDef kAccountId{"ACCOUNT_ID", "INTEGER", 0, 0};
const ColumnDef kDeviceType{"DEVICE_TYPE", "TINYINT", 0, 0};

const std::vector<TableDef> kTables = {
    {"CtSvcPerson",
     {kId, kDeviceType, {"FL_FULLNAME", "NVARCHAR", 25, 102}, {"FL_GROUP_LETTER", "NVARCHAR", 0, 1},
      {"FL_LETTER", "NVARCHAR", 0, 2}, {"BIRTHDAY", "DATETIME", 0, 0}, kPrimaryId, kAccountId},
     {{"PERSON_IDX1", "FL_FULLNAME, DEVICE_TYPE, ID", 0}, {"PERSON_GROUP_IDX1", "FL_GROUP_LETTER, ACCOUNT_ID", 0}}},
    {"CtSvcContactDataTable",
     {kId, kPersonId, kPrimaryId, kDeviceType, {"FL_FULLNAME", "NVARCHAR", 25, 101}, {"TYPE", "TINYINT", 0, 0},
      {"CONTACT_DATA", "NVARCHAR", 25, 100}, kAccountId},
     {{"CONTACTDATA_IDX1", "CONTACT_DATA, TYPE, DEVICE_TYPE ", 0}, {"CONTACTDATA_IDX5", "PRIMARY_ID", 0}}},
    {"CtSvcPostalAddress", {kId, kPersonId, kPrimaryId, kAccountId}, {{"POSTALADDR_IDX1", "PERSON_ID", 0}}},
    {"CtSvcEtcData",
     {kId, kPersonId, kPrimaryId, kAccountId, {"ETC_TYPE", "TINYINT", 0, 0}, {"ETC_DATA", "NVARCHAR", 25, 320}},
     {{"ETCDATA_IDX4", "ETC_TYPE, ETC_DATA", 0}}},
    {"CtSvcIM", {kId, kPersonId, kPrimaryId, kAccountId}, {{"IM_IDX1", "PERSON_ID", 0}}},
    {"CtSvcGroupMember", {kId, kPersonId, kPrimaryId, kAccountId, {"GROUP_ID", "INTEGER", 0, 0}},
     {{"GROUPMEMBER_IDX2", "PRIMARY_ID", 0}}},
    {"CtSvcSnsData", {kId, kPersonId, kPrimaryId, kAccountId}, {{"SNSDATA_IDX1", "PERSON_ID", -1}}},
    {"CtSvcGroup", {kId, kAccountId, {"RINGTONE", "NVARCHAR", 25, 772}}, {}},
    {"CtSvcPrimary",
     {kId, kDeviceType, {"HAS_PH", "TINYINT", 0, 0}, {"FAVORITE", "TINYINT", 0, 0},
      {"FL_FULLNAME", "NVARCHAR", 25, 101}, {"FL_GROUP_LETTER", "NVARCHAR", 0, 1},
      {"FIRST_ACCOUNT_ID", "INTEGER", 0, 0}},
     {{"PRIMARY_GROUP_IDX1", "FL_GROUP_LETTER, ID, DEVICE_TYPE", 0}}},
};

class Db2ServiceSql : public Db2Test {
 protected:
  void SetUp() override {
    Db2Test::SetUp();
    for (const TableDef& t : kTables) {
      ASSERT_EQ(Db2QueryEx("%s", CreateTableText(t).c_str()), 0) << CreateTableText(t);
      for (const IndexDef& ix : t.indexes) {
        ASSERT_EQ(Db2QueryEx(ix.nKind == -1 ? "CREATE UNIQUE INDEX %s on %s (%s)" : "CREATE INDEX %s on %s (%s)",
                             ix.name, t.name, ix.columns),
                  0);
      }
    }
  }
  // Runs a prepared statement with no parameters and returns its first column as text.
  std::vector<std::string> StmtColumn(const char* pszSql) {
    std::vector<std::string> out;
    const int h = Db2StmtCreate(pszSql);
    EXPECT_GE(h, 0) << pszSql;
    if (Db2StmtExecute(h) >= 0) {
      while (Db2StmtGetNextRow(h) > 0) {
        const Db2Field& f = Db2StmtGetBindResFields(h)[0];
        out.push_back(f.nType == DB2_FIELD_INT32 ? std::to_string(*static_cast<INT32*>(f.pBuffer))
                                                 : std::string(f.pBuffer == nullptr ? "NULL" : "?"));
      }
    }
    Db2StmtClearRow(h);
    Db2StmtDestroy(h);
    return out;
  }
};

TEST_F(Db2ServiceSql, DeleteAccountTableAsWritten) {
  ASSERT_EQ(Db2QueryEx("%s", "CREATE TABLE CtSvcDeleteAccount (  ID  INTEGER PRIMARY KEY,  DEVICE_TYPE  TINYINT "
                             "default 0,  ACCOUNT_ID  INTEGER default 0) volume vol2"),
            0);
  EXPECT_EQ(Db2QueryEx("CREATE INDEX %s on %s (%s)", "DELETEACCOUNT_IDX1", "CtSvcDeleteAccount",
                       "DEVICE_TYPE, ACCOUNT_ID"),
            0);
  EXPECT_EQ(Db2QueryEx("INSERT INTO CtSvcDeleteAccount ( ID ) VALUES( 1 )"), 1);
  EXPECT_EQ(Scalar("SELECT DEVICE_TYPE || ',' || ACCOUNT_ID FROM CtSvcDeleteAccount"), "0,0");
  EXPECT_EQ(Scalar("SELECT type FROM pragma_table_info('CtSvcPerson') WHERE name = 'FL_FULLNAME'"),
            "NVARCHAR(25,102)");
  EXPECT_EQ(Db2QueryEx("CREATE UNIQUE INDEX %s on %s (%s)", "U_IDX", "CtSvcDeleteAccount", "ID"), 0);
}

TEST_F(Db2ServiceSql, DropTableThenItsIndexes) {
  EXPECT_EQ(Db2QueryEx("drop table %s", "CtSvcPerson"), 0);
  EXPECT_EQ(Db2QueryEx("DROP INDEX %s", "PERSON_IDX1"), 0);
  EXPECT_EQ(Db2QueryEx("DROP INDEX %s", "PERSON_GROUP_IDX1"), 0);
  EXPECT_EQ(Db2CheckTable("CtSvcPerson"), 0);
  EXPECT_EQ(Db2QueryEx("TRUNCATE %s", "CtSvcIM"), 0);
}

TEST_F(Db2ServiceSql, SevenMaxQueriesOnEmptyTablesReadZero) {
  const char* const kTablesWithPerson[] = {"ctsvccontactdatatable", "ctsvcpostaladdress", "ctsvcetcdata",
                                           "ctsvcim",               "ctsvcgroupmember",   "ctsvcsnsdata"};
  std::vector<std::string> queries{"SELECT MAX(id) FROM ctsvcperson", "SELECT MAX(id) FROM ctsvcprimary"};
  for (const char* pszTable : kTablesWithPerson) {
    queries.push_back(std::string("SELECT MAX(person_id) FROM ") + pszTable);
    queries.push_back(std::string("SELECT MAX(primary_id) FROM ") + pszTable);
  }
  for (const std::string& q : queries) {
    ASSERT_EQ(Db2QueryEx("%s", q.c_str()), 1) << q;
    ASSERT_GT(Db2GetNextRow(), 0);
    EXPECT_EQ(std::atoi(Db2GetColumn(0)), 0) << q;
  }
  Exec("INSERT INTO CtSvcPerson (ID) VALUES (10)");
  Exec("INSERT INTO CtSvcContactDataTable (ID, PERSON_ID) VALUES (1, 12)");
  EXPECT_EQ(Scalar("SELECT MAX(person_id) FROM ctsvccontactdatatable"), "12");
  EXPECT_EQ(Scalar("SELECT MAX(id) FROM ctsvcperson"), "10");
}

TEST_F(Db2ServiceSql, PagedSelectWithHintAndWhereArguments) {
  for (int i = 1; i <= 6; ++i) {
    ASSERT_EQ(Db2QueryEx("INSERT INTO CtSvcPerson ( ID, DEVICE_TYPE, FL_FULLNAME ) VALUES( %d, %d, n'name %d' )", i,
                         i % 2 + 1, 7 - i),
              1);
  }
  char szSql[512];
  std::snprintf(szSql, sizeof(szSql), "%s LIMIT %d, %d",
                "SELECT ID FROM CtSvcPerson ISCAN PERSON_IDX1 WHERE DEVICE_TYPE = ? ORDER BY FL_FULLNAME, "
                "DEVICE_TYPE, ID",
                1, 2);
  const int h = Db2StmtCreate(szSql);
  ASSERT_GE(h, 0);
  const char16_t kOne[] = u"1";
  Db2StmtGetBindParamFields(h)[0] = {DB2_FIELD_TEXT16, const_cast<char16_t*>(kOne), 2};
  ASSERT_EQ(Db2StmtExecute(h), 2);  // device 1: ids 6 (name 1), 4 (name 3), 2 (name 5); skip one
  ASSERT_GT(Db2StmtGetNextRow(h), 0);
  EXPECT_EQ(*static_cast<INT32*>(Db2StmtGetBindResFields(h)[0].pBuffer), 4);
  Db2StmtClearRow(h);
  Db2StmtDestroy(h);
}

TEST_F(Db2ServiceSql, FullTextIndexesOfTheService) {
  const char* const kChecks[] = {
      "SELECT * FROM sysirs_indexes where groupname = 'msgplcontact' and idxname = 'phonenumber'",
      "SELECT * FROM sysirs_indexes where groupname = 'msgplcontact' and idxname = 'email'",
      "SELECT * FROM sysirs_indexes where groupname = 'msgplcontact' and idxname = 'name'"};
  const char* const kCreates[] = {db2test::kPhoneIndex, db2test::kEmailIndex, db2test::kNameIndex};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Db2QueryEx("%s", kChecks[i]), 0);
    EXPECT_TRUE(Db2FTSDoSyntax(kCreates[i], 0));
    EXPECT_EQ(Db2QueryEx("%s", kChecks[i]), 1);
  }
  EXPECT_EQ(Db2QueryEx("SELECT * FROM sysirs_indexes where groupname = '%s' and idxname = '%s'", "ctprimarygroup",
                       "ctprimaryindex"),
            0);
  EXPECT_TRUE(Db2FTSDoSyntax("CREATE FULLTEXT INDEX  CtPrimaryGroup.CtPrimaryIndex (simplex, exactspace, utf8) ON "
                             "CtSvcPrimary (FL_FULLNAME)",
                             0));
  Exec("INSERT INTO CtSvcPrimary (ID, DEVICE_TYPE, FAVORITE, FL_FULLNAME) VALUES (1, 1, 1, 'Kim Min-ji'), "
       "(2, 1, 0, 'Kimberly Ann'), (3, 2, 1, 'Ann Kidd')");
  db2test::SearchOptions o;
  o.pszTable = "CtSvcPrimary";
  o.pszRidSub = "select rid from ctsvcprimary where favorite = 1 and device_type = 1";
  EXPECT_EQ(db2test::SearchIds("[CtPrimaryGroup, {CtPrimaryIndex,  'kim*' }]", o), std::vector<int>{1});
  EXPECT_TRUE(Db2FTSDoSyntax("DROP FULLTEXT INDEX msgplcontact", 0));
  EXPECT_EQ(Scalar("SELECT group_concat(idxname) FROM sysirs_indexes"), "ctprimaryindex");
}

TEST_F(Db2ServiceSql, GroupLettersWithCollation) {
  Exec("INSERT INTO CtSvcPrimary (ID, DEVICE_TYPE, FL_GROUP_LETTER) VALUES (1, 1, 'B'), (2, 1, 'A'), (3, 1, 'B'), "
       "(4, 2, 'C'), (5, 1, NULL)");
  EXPECT_EQ(Db2QueryEx("SELECT FL_GROUP_LETTER, count(*) FROM ctsvcprimary ISCAN PRIMARY_GROUP_IDX1 WHERE "
                       "ctsvcprimary.device_type = %d GROUP BY FL_GROUP_LETTER collation user1 order by "
                       "FL_GROUP_LETTER",
                       1),
            3);
  EXPECT_EQ(db2test::FetchRows(2), (std::vector<std::vector<std::string>>{{"", "1"}, {"A", "1"}, {"B", "2"}}));
  // Fast-scroll letters: the hint ends the statement and carried the order.
  EXPECT_EQ(StmtColumn("SELECT DISTINCT fl_group_letter FROM ctsvcprimary WHERE fl_group_letter IS NOT NULL AND "
                       "device_type = 1 AND ID <> 99 ISCAN PRIMARY_GROUP_IDX1")
                .size(),
            2u);
  EXPECT_EQ(Column("SELECT DISTINCT fl_group_letter FROM ctsvcprimary WHERE fl_group_letter IS NOT NULL ISCAN "
                   "PRIMARY_GROUP_IDX1"),
            (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(Db2ServiceSql, BirthdayWindows) {
  Exec("INSERT INTO CtSvcPerson (ID, BIRTHDAY) VALUES (1, '1985-03-07 00:00:00'), (2, '1990-12-30 00:00:00'), "
       "(3, '2000-01-02 00:00:00'), (4, 18991231000), (5, NULL), (6, '1970-6-1 0:0:0')");
  char szWhere[512];
  std::snprintf(szWhere, sizeof(szWhere),
                "SELECT ID FROM CtSvcPerson WHERE %s.%s <> 18991231000 and ( DATE_FORMAT(%s.%s, '%%%%M-%%%%D') "
                "between '%.02d-%.02d' and '%.02d-%.02d' ) ORDER BY ID",
                "CtSvcPerson", "BIRTHDAY", "CtSvcPerson", "BIRTHDAY", 3, 1, 6, 30);
  EXPECT_EQ(StmtColumn(szWhere), (std::vector<std::string>{"1", "6"}));
  std::snprintf(szWhere, sizeof(szWhere),
                "SELECT ID FROM CtSvcPerson WHERE %s.%s <> 18991231000 and ( DATE_FORMAT(%s.%s, '%%%%M-%%%%D') "
                "between '%.02d-%.02d' and '12-31' or  DATE_FORMAT(%s.%s, '%%%%M-%%%%D') between '01-01' and "
                "'%.02d-%.02d' ) ORDER BY ID",
                "CtSvcPerson", "BIRTHDAY", "CtSvcPerson", "BIRTHDAY", 12, 15, "CtSvcPerson", "BIRTHDAY", 1, 10);
  EXPECT_EQ(StmtColumn(szWhere), (std::vector<std::string>{"2", "3"}));
  EXPECT_EQ(StmtColumn("SELECT ID FROM CtSvcPerson WHERE CtSvcPerson.BIRTHDAY >= '1985-3-7 0:0:0' AND "
                       "CtSvcPerson.BIRTHDAY <= '2000-1-2 0:0:0' ORDER BY ID"),
            (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(Db2ServiceSql, ChangedFileRewritesPathsWithoutRegardToCase) {
  Exec("INSERT INTO CtSvcEtcData (ID, ETC_DATA) VALUES (1, '/User/Sounds/Ring.mp3'), (2, '/User/Sounds/Other.mp3')");
  Exec("INSERT INTO CtSvcGroup (ID, RINGTONE) VALUES (1, '/USER/SOUNDS/RING.MP3')");
  const char* const kFormat = "UPDATE %s SET LOWERCASE(%s) = LOWERCASE('%s') WHERE LOWERCASE(%s) = LOWERCASE('%s')";
  EXPECT_EQ(Db2QueryEx(kFormat, "CtSvcEtcData", "ETC_DATA", "/User/Sounds/Dan''s.mp3", "ETC_DATA",
                       "/user/sounds/ring.mp3"),
            1);
  EXPECT_EQ(Db2QueryEx(kFormat, "CtSvcGroup", "RINGTONE", "/User/Sounds/Dan''s.mp3", "RINGTONE",
                       "/user/sounds/ring.mp3"),
            1);
  EXPECT_EQ(Scalar("SELECT ETC_DATA FROM CtSvcEtcData WHERE ID = 1"), "/user/sounds/dan's.mp3");
  EXPECT_EQ(Scalar("SELECT RINGTONE FROM CtSvcGroup"), "/user/sounds/dan's.mp3");
}

TEST_F(Db2ServiceSql, FiltersOfListsAndDeletes) {
  for (int i = 1; i <= 150; ++i) {
    ASSERT_EQ(Db2QueryEx("INSERT INTO CtSvcPerson (ID, DEVICE_TYPE, FL_FULLNAME, FL_LETTER, ACCOUNT_ID) VALUES (%d, "
                         "%d, %s, '%c', %d)",
                         i, i <= 120 ? 2 : 1, i % 10 == 0 ? "''" : "'n'", 'A' + i % 26, i % 3 - 1),
              1);
  }
  EXPECT_EQ(Scalar("SELECT count(*) FROM CtSvcPerson WHERE (CtSvcPerson.FL_FULLNAME > n'')"), "135");
  EXPECT_EQ(Scalar("SELECT count(*) FROM ctsvcperson  ISCAN PERSON_FF_IDX1  WHERE fl_letter < 'C' AND "
                   "device_type = 1 AND account_id < 1 ORDER BY fl_letter"),
            "1");
  EXPECT_EQ(Scalar("SELECT count(*) FROM CtSvcPerson WHERE ID IN (select rid from ctsvcperson where account_id = 1)"),
            "50");
  // A filter carrying " LIMIT n" serves both the count and the delete.
  EXPECT_EQ(Scalar("SELECT count(*) FROM CtSvcPerson WHERE DEVICE_TYPE = 2 LIMIT 100"), "120");
  EXPECT_EQ(Db2QueryEx("DELETE FROM %s WHERE %s = %d LIMIT 100", "CtSvcPerson", "DEVICE_TYPE", 2), 100);
  EXPECT_EQ(Db2QueryEx("DELETE FROM %s WHERE %s = %d LIMIT 100", "CtSvcPerson", "DEVICE_TYPE", 2), 20);
  EXPECT_EQ(Db2QueryEx("DELETE FROM CtSvcPerson WHERE ID IN ( 121, 122, 999 )"), 2);
}

}  // namespace
