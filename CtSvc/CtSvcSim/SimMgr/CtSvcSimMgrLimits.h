// What the loaded SIM can hold, answered by the SIM manager for the records that make a contact
// fit an ADN record. Installed while the ADN group is loaded.
#ifndef CTSVC_SIM_MGR_LIMITS_H
#define CTSVC_SIM_MGR_LIMITS_H

#include "CtSvcDB/Records/CtSvcSimLimits.h"

class CCtSvcSimMgr;

class CCtSvcSimMgrLimits final : public ICtSvcSimLimits {
 public:
  explicit CCtSvcSimMgrLimits(const CCtSvcSimMgr& mgr) : m_mgr(mgr) {}
  int GetAdnNumberLength() const override;
  int GetAdnNameLength() const override;
  bool HasEmailFile() const override;
  int GetEmailLength() const override;
  bool HasSneFile() const override;
  int GetSneLength() const override;
  int GetFreeAnrCount(int nSlotIndex) const override;
  int GetFreeEmailCount(int nSlotIndex) const override;
  int GetFreeSneCount(int nSlotIndex) const override;

 private:
  int _Ask(int (CCtSvcSimMgr::*pfnQuery)(int) const, int nSimFileID) const;
  int _Free(int nSimFileID, int nSlotIndex) const;
  const CCtSvcSimMgr& m_mgr;
};

#endif
