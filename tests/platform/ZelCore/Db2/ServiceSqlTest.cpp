// Statement texts of the contact service that only these tests run through the Db2 layer, written
// the way the service writes them: the account-removal table, and the case-blind path rewrite of a
// changed file. (The service's other statements run through Db2 in the service's own tests.)
#include <gtest/gtest.h>

#include "Db2TestSupport.h"

namespace {

using db2test::Db2Test;
using db2test::Scalar;

class Db2ServiceSql : public Db2Test {
 protected:
  void SetUp() override {
    Db2Test::SetUp();
    Exec("CREATE TABLE CtSvcEtcData (  ID  INTEGER PRIMARY KEY,  PERSON_ID  INTEGER default 0,  ETC_TYPE  TINYINT "
         "default 0,  ETC_DATA  NVARCHAR(25,320)) volume vol2");
    Exec("CREATE TABLE CtSvcGroup (  ID  INTEGER PRIMARY KEY,  RINGTONE  NVARCHAR(25,772)) volume vol2");
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
  EXPECT_EQ(Scalar("SELECT type FROM pragma_table_info('CtSvcEtcData') WHERE name = 'ETC_DATA'"),
            "NVARCHAR(25,320)");
  EXPECT_EQ(Db2QueryEx("CREATE UNIQUE INDEX %s on %s (%s)", "U_IDX", "CtSvcDeleteAccount", "ID"), 0);
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

}  // namespace
