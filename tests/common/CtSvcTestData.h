// Test data shared by the service's suites: rows written column by column, row counts by a WHERE
// text, settings files, named persons and primaries, whole contacts over arrays the test owns, and
// an observer that records the change notices of a URI.
#ifndef CTSVC_TEST_DATA_H
#define CTSVC_TEST_DATA_H

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcRecord.h"
#include "ZelReg.h"

namespace ctsvc_test {

// Copies a text into a C array, cut and terminated.
template <size_t N>
void Copy(char (&szDest)[N], const std::string& strValue) {
  CtSvcCopyText(szDest, strValue);
}

// Column values of one row, named by column index; Insert gives the row a fresh id.
class Row {
 public:
  explicit Row(int nTable) : m_pTable(CCtSvcDbMgr::Instance()->GetDBTable(nTable)) {}
  Row& Int(int nColumn, int nValue) {
    m_input.SetInt(m_pTable->GetColumnName(nColumn), nValue);
    return *this;
  }
  Row& Ints(std::initializer_list<std::pair<int, int>> columns) {
    for (const auto& column : columns) {
      Int(column.first, column.second);
    }
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
  // Inserts the row through the URI; the id (or the framework's failure result).
  int Insert(const std::string& strUri) {
    m_input.SetInt(m_pTable->GetIDColumnName(), m_pTable->TakeNextRecordId());
    return CContentMgr::Instance()->Insert(strUri, m_input);
  }

 private:
  CCtSvcDbTable* m_pTable;
  CContentInput m_input;
};

// Rows of the URI that meet the WHERE text ("" for every row).
inline int CountWhere(const std::string& strUri, const std::string& strWhere = "") {
  CContentFilter filter;
  filter.SetWhere(strWhere);
  return CContentMgr::Instance()->GetCount(strUri, strWhere.empty() ? nullptr : &filter);
}

// Writes an integer under "sectionOne" of a settings file of the data directory (made when missing).
inline void SetSetting(const char* pszFile, const char* pszKey, INT32 nValue) {
  ASSERT_EQ(RegLoad(pszFile, 1), REG_OK);
  ASSERT_EQ(RegSetInt(pszFile, "sectionOne", pszKey, nValue), REG_OK);
  ASSERT_EQ(RegFlush(pszFile), REG_OK);
  ASSERT_EQ(RegUnload(pszFile), REG_OK);
}

// The integer under "sectionOne" of a settings file, or -1.
inline INT32 GetSetting(const char* pszFile, const char* pszKey) {
  INT32 nValue = -1;
  if (RegLoad(pszFile, 0) == REG_OK) {
    RegGetInt(pszFile, "sectionOne", pszKey, &nValue);
    RegUnload(pszFile);
  }
  return nValue;
}

// A person or primary with the given names and device type, not yet stored.
template <class R = CCtSvcPerson>
R Named(const char* pszFirst, const char* pszLast, CtSvcDeviceType nDeviceType = CTSVC_USE_TYPE_PHONE) {
  R record;
  record.SetDeviceType(nDeviceType);
  record.SetFirstName(pszFirst);
  record.SetLastName(pszLast);
  return record;
}

// A whole contact over arrays the test owns; Info() points into them.
using ContactParts = CCtSvcContactInfoBuilder;

// (change type, id) of every notice of one URI while it lives, and how many carried a flag
// (the second parameter, set by bulk deletes). Notices come on the thread that made the change.
class NoticeRecorder : public IContentObserver {
 public:
  explicit NoticeRecorder(const std::string& strUri) : m_strUri(strUri) { CContentMgr::Instance()->RegisterObserver(m_strUri, this); }
  ~NoticeRecorder() override { CContentMgr::Instance()->UnregisterObserver(m_strUri, this); }
  NoticeRecorder(const NoticeRecorder&) = delete;
  NoticeRecorder& operator=(const NoticeRecorder&) = delete;
  void OnChange(int nChangeType, const std::string&, int nId, intptr_t, int nParam2) override {
    m_vcNotices.emplace_back(nChangeType, nId);
    m_nFlagged += nParam2 != 0 ? 1 : 0;
  }
  std::vector<std::pair<int, int>> m_vcNotices;
  int m_nFlagged = 0;

 private:
  std::string m_strUri;
};

}  // namespace ctsvc_test

#endif
