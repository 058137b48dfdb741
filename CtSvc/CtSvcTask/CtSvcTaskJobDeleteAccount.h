// Removes every row of deleted accounts, table by table in batches of at most 50 rows, so that
// other readers and writers get the store between batches. The accounts stay recorded in
// "CtSvc/DeleteAccount" until the removal is complete, so an interrupted removal resumes at the
// next start.
#ifndef CTSVC_TASK_JOB_DELETE_ACCOUNT_H
#define CTSVC_TASK_JOB_DELETE_ACCOUNT_H

#include <string>
#include <vector>

#include "CtSvcTask.h"
#include "CtSvcTaskJob.h"

class CCtSvcTaskJobDeleteAccount final : public CCtSvcTaskJob {
 public:
  // The callback is called on the event handler current on the creating thread.
  CCtSvcTaskJobDeleteAccount(int nDeviceType, std::vector<int> vcAccountIds, CtSvcDeleteAccountCallback pfnCallback,
                             void* pUserData);
  void DoWork() override;
  void SendNotifyCallback() override;
  // 1 once every row of the accounts is gone.
  int GetResult() const { return m_nResult; }

 private:
  bool _IsAborted(int nCheck) const;
  void _RecordAccounts();
  bool _DeleteTables();
  bool _DeleteSinglePrimaries();
  bool _RearrangeLinkedPrimaries();
  void _DeleteImages();
  bool _ForgetAccounts();
  // "(COLUMN = a or COLUMN = b)" over the job's accounts.
  std::string _AccountCondition(const char* pszColumn) const;
  // Deletes the rows of the condition 50 at a time; false when aborted or a delete failed.
  bool _DeleteInBatches(const char* pszUri, const std::string& strWhere, int nAbortCheck);

  int m_nDeviceType;
  std::vector<int> m_vcAccountIds;
  CtSvcDeleteAccountCallback m_pfnCallback;
  void* m_pUserData;
  HOBJ m_hEventHandler;
  int m_nResult = 0;
};

#endif
