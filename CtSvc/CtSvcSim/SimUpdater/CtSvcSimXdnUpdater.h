// Updaters of the FDN, SDN and MSISDN groups (one dialling-number file and its extension file)
// and of the GAS and AAS groups (group names and additional-number kinds).
#ifndef CTSVC_SIM_XDN_UPDATER_H
#define CTSVC_SIM_XDN_UPDATER_H

#include "CtSvcSim/SimUpdater/CtSvcSimUpdater.h"

class CCtSvcSimXdnUpdater : public CCtSvcSimUpdater {
 protected:
  using CCtSvcSimUpdater::CCtSvcSimUpdater;
  BOOL _BuildWrite(int nRecordIndex, const CCtSvcSimRecord& record, bool bInsert) override;
  BOOL _BuildDelete(int nRecordIndex) override;
  int _GetUnusedRecordIndex() const override;

 private:
  // The group's file, or null with "<class>::<pszCall> - To get <group> file is FAILED!".
  CCtSvcDialNumberFile* _GetDialFile(const char* pszCall) const;
};

class CCtSvcSimFdnUpdater : public CCtSvcSimXdnUpdater {
 public:
  explicit CCtSvcSimFdnUpdater(ICtSvcSimFileContainer* pContainer);
};
class CCtSvcSimSdnUpdater : public CCtSvcSimXdnUpdater {
 public:
  explicit CCtSvcSimSdnUpdater(ICtSvcSimFileContainer* pContainer);
};
class CCtSvcSimMsisdnUpdater : public CCtSvcSimXdnUpdater {
 public:
  explicit CCtSvcSimMsisdnUpdater(ICtSvcSimFileContainer* pContainer);
};

class CCtSvcSimXasUpdater : public CCtSvcSimUpdater {
 protected:
  using CCtSvcSimUpdater::CCtSvcSimUpdater;
  BOOL _BuildWrite(int nRecordIndex, const CCtSvcSimRecord& record, bool bInsert) override;
  BOOL _BuildDelete(int nRecordIndex) override;
  int _GetUnusedRecordIndex() const override;
};

class CCtSvcSimGasUpdater : public CCtSvcSimXasUpdater {
 public:
  explicit CCtSvcSimGasUpdater(ICtSvcSimFileContainer* pContainer);
};
class CCtSvcSimAasUpdater : public CCtSvcSimXasUpdater {
 public:
  explicit CCtSvcSimAasUpdater(ICtSvcSimFileContainer* pContainer);
};

#endif
