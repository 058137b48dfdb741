// The page caches of the store's connection come from the process's one region, whichever thread
// runs the statements.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <thread>

#include "Db2TestSupport.h"

namespace {

class Db2PageMemory : public db2test::Db2Test {
 protected:
  static int Status(int nOp, bool bHighwater) {
    int nCurrent = 0;
    int nHighwater = 0;
    sqlite3_status(nOp, &nCurrent, &nHighwater, 0);
    return bHighwater ? nHighwater : nCurrent;
  }
};

TEST_F(Db2PageMemory, CachePagesOfEveryThreadComeFromTheRegion) {
  Exec("CREATE TABLE Blobs (ID INTEGER PRIMARY KEY, DATA BLOB)");
  for (int i = 0; i < 2000; ++i) {
    Exec(("INSERT INTO Blobs (DATA) VALUES (zeroblob(" + std::to_string(500 + i % 7) + "))").c_str());
  }
  ASSERT_TRUE(Db2Commit());
  const int nPages = Status(SQLITE_STATUS_PAGECACHE_USED, false);
  EXPECT_GT(nPages, 200) << "the cache's pages are slots of the region";
  EXPECT_EQ(0, Status(SQLITE_STATUS_PAGECACHE_OVERFLOW, true)) << "no page came from malloc";
  // Another thread, on a new connection, reads the whole table: its pages are slots of the same
  // region (those the first connection freed), not memory of its own malloc arena.
  Db2Close();
  EXPECT_EQ(0, Status(SQLITE_STATUS_PAGECACHE_USED, false));
  std::thread reader([this] {
    ASSERT_EQ(DB2_OK, Db2Open(Path().c_str()));
    ASSERT_GE(Db2QueryEx("SELECT sum(length(DATA)) FROM Blobs"), 0);
  });
  reader.join();
  EXPECT_GT(Status(SQLITE_STATUS_PAGECACHE_USED, false), 200);
  EXPECT_EQ(0, Status(SQLITE_STATUS_PAGECACHE_OVERFLOW, true));
}

}  // namespace
