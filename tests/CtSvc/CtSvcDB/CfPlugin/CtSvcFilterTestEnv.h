// A fresh store with the contact schema, and helpers that write rows and run a filter through
// the content framework.
#ifndef CTSVC_FILTER_TEST_ENV_H
#define CTSVC_FILTER_TEST_ENV_H

#include <set>
#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcCFFilter.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcTestEnv.h"

namespace ctsvc_filter_test {

// Column values of one row, named by column index.
class Row {
 public:
  explicit Row(int nTable) : m_pTable(CCtSvcDbMgr::Instance()->GetDBTable(nTable)) {}
  Row& Int(int nColumn, int nValue) {
    m_input.SetInt(m_pTable->GetColumnName(nColumn), nValue);
    return *this;
  }
  Row& Text(int nColumn, const std::u16string& strValue) {
    m_input.SetNString(m_pTable->GetColumnName(nColumn), strValue);
    return *this;
  }
  Row& Date(int nColumn, int nYear, int nMonth, int nDay) {
    m_input.SetDateTime(m_pTable->GetColumnName(nColumn), TmDateTime{nYear, nMonth, nDay, 0, 0, 0});
    return *this;
  }
  // Inserts the row with a fresh id through the URI; the id.
  int Insert(const std::string& strUri) {
    m_input.SetInt(m_pTable->GetIDColumnName(), m_pTable->TakeNextRecordId());
    return CContentMgr::Instance()->Insert(strUri, m_input);
  }

 private:
  CCtSvcDbTable* m_pTable;
  CContentInput m_input;
};

class FilterStoreTest : public ctsvc_test::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    ASSERT_TRUE(CCtSvcDbMgr::Instance()->Initialize());
  }

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
};

}  // namespace ctsvc_filter_test

#endif
