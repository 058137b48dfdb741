// Jobs that compute the index letters of a fast-scroll bar: the distinct group letters of the
// primaries (CCtSvcTaskJobFastScroll) or persons (CCtSvcTaskJobPersonFastScroll) a filter selects.
#ifndef CTSVC_TASK_JOB_FAST_SCROLL_H
#define CTSVC_TASK_JOB_FAST_SCROLL_H

#include <memory>
#include <string>

#include "CtSvcFilter.h"
#include "CtSvcTask.h"
#include "CtSvcTaskJob.h"

// The shared work: run the statement of the filter and keep the first unit of every row.
class CCtSvcTaskJobLetters : public CCtSvcTaskJob {
 public:
  CCtSvcTaskJobLetters(const char* pszClassName, CtSvcFastScrollCallback pfnCallback, void* pUserData);
  void DoWork() override;
  void SendNotifyCallback() override;

  int GetLetterCount() const { return m_nLetterCount; }
  const MCHAR* GetLetters() const { return m_pLetters.get(); }

 protected:
  // The statement of the filter, and whether its "<> ?" must be bound to the no-name marker;
  // false when the filter cannot be served (logged).
  virtual bool _MakeStatement(std::string& strSql, bool& bBindNoName) const = 0;
  // Checks the device type and index type shared by both filters.
  bool _CheckFilter(int nDevType, int nIndexType) const;
  const char* _ClassName() const { return m_pszClassName; }

 private:
  struct LetterDeleter {
    void operator()(MCHAR* p) const;
  };
  void _ReadLetters(int hStmt, int nRow);

  const char* m_pszClassName;
  CtSvcFastScrollCallback m_pfnCallback;
  void* m_pUserData;
  std::unique_ptr<MCHAR[], LetterDeleter> m_pLetters;
  int m_nLetterCount = 0;
};

class CCtSvcTaskJobFastScroll final : public CCtSvcTaskJobLetters {
 public:
  CCtSvcTaskJobFastScroll(const CtSvcPrimaryFilter& filter, CtSvcFastScrollCallback pfnCallback, void* pUserData);

 protected:
  bool _MakeStatement(std::string& strSql, bool& bBindNoName) const override;

 private:
  CtSvcPrimaryFilter m_Filter;
};

class CCtSvcTaskJobPersonFastScroll final : public CCtSvcTaskJobLetters {
 public:
  CCtSvcTaskJobPersonFastScroll(const CtSvcPersonFilter& filter, CtSvcFastScrollCallback pfnCallback,
                                void* pUserData);

 protected:
  bool _MakeStatement(std::string& strSql, bool& bBindNoName) const override;

 private:
  CtSvcPersonFilter m_Filter;
};

#endif
