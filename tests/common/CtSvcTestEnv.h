// Test fixtures: a fresh data directory and store per test, and the service loaded the way an
// application platform loads it.
#ifndef CTSVC_TEST_ENV_H
#define CTSVC_TEST_ENV_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ZelCoreTest.h"
#include "ZelDb2.h"
#include "ZelFm.h"

struct sqlite3;

namespace ctsvc_test {

// Gives a connection of the test's own the name collation ("user1") the store's name columns
// declare, as every program reading the store must.
void UseNameOrder(sqlite3* pDb);

// Makes a new empty directory under $TMPDIR and removes it with its content at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return m_strPath; }
  std::string File(const std::string& strName) const { return m_strPath + "/" + strName; }

 private:
  std::string m_strPath;
};

// A data directory with an open, empty store (no tables).
class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Path of the store file.
  std::string DbPath() const { return m_dir.File("ctsvc.db"); }
  // Row count of a table through a second, independent connection (sees committed rows only).
  int CountFromSecondConnection(const std::string& strTable) const;

  TempDir m_dir;
};

// A store with every contact table and the "CtSvc/..." handlers, without the loaded service.
class SchemaTest : public StoreTest {
 protected:
  void SetUp() override;
};

// The service loaded with CtSvcDispatch(0) on a fresh store, unloaded at the end.
class ServiceTest : public StoreTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Waits until the "CTSVC" handler has handled every queued event.
  void DrainEventHandler();
};

// Directory of the external test data, or "" when it is not present.
std::string TestDataDir();

}  // namespace ctsvc_test

#endif
