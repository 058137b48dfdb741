// Record updaters: one logical change of a SIM record (insert, update or delete of a contact, an
// FDN, SDN or own-number entry, a group name or a number-kind name) becomes an ordered series of
// record writes on the SIM files; the writes go to the card one at a time and the caller hears one
// result when the series is done.
#ifndef CTSVC_I_SIM_UPDATER_H
#define CTSVC_I_SIM_UPDATER_H

#include <memory>

#include "CtSvcSim/SimFile/CtSvcSimFileTypes.h"

class CCtSvcSimRecord;
class ICtSvcSimFileContainer;  // CtSvcSim/SimMgr/ICtSvcSimFileContainer.h

// As an insert index: the first free record of the group.
#define CTSVC_SIM_SLOT_AUTOINCREASE (-1)

enum CTSVC_SIM_UPDATER_STATE {
  CTSVC_SIM_UPDATER_IDLE = 0,
  CTSVC_SIM_UPDATER_INSERTING = 1,
  CTSVC_SIM_UPDATER_UPDATING = 2,
  CTSVC_SIM_UPDATER_DELETING = 3
};

// Hears the single result of a series: nSimFileID is the group written (CTSVC_SIM_ADN, _FDN,
// _SDN, _MSISDN, _GAS, _AAS), nRecordIndex the record changed (an insert at
// CTSVC_SIM_SLOT_AUTOINCREASE reports the record it took), bSuccess the result of the last write.
class ICtSvcSimUpdateListener {
 public:
  virtual void OnInsertRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) = 0;
  virtual void OnUpdateRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) = 0;
  virtual void OnDeleteRecord(int nSimFileID, int nRecordIndex, BOOL bSuccess) = 0;
  virtual ~ICtSvcSimUpdateListener() = default;
};

// One updater per loaded group. The record is the group's record class: CCtSvcSimAdnRecord for
// ADN, CCtSvcSimXdnRecord for FDN, SDN and MSISDN, CCtSvcSimXasRecord for GAS and AAS. The
// listener is not owned and must live until it is called.
// TRUE: the writes were started and the listener will be called exactly once. FALSE: nothing
// was sent (bad arguments, a series already running, no free record, a file missing) and the
// listener is never called.
class ICtSvcSimUpdater {
 public:
  virtual BOOL InsertRecord(int nRecordIndex, const CCtSvcSimRecord* pRecord, ICtSvcSimUpdateListener* pListener) = 0;
  virtual BOOL UpdateRecord(int nRecordIndex, const CCtSvcSimRecord* pRecord, ICtSvcSimUpdateListener* pListener) = 0;
  virtual BOOL DeleteRecord(int nRecordIndex, ICtSvcSimUpdateListener* pListener) = 0;
  virtual int GetState() const = 0;
  virtual ~ICtSvcSimUpdater() = default;
};

// The updaters (CtSvcSim/SimUpdater/CtSvcSim*Updater.h).
class CCtSvcSimUpdater;
class CCtSvcSimAdnUpdater;
class CCtSvcSimFdnUpdater;
class CCtSvcSimSdnUpdater;
class CCtSvcSimMsisdnUpdater;
class CCtSvcSimGasUpdater;
class CCtSvcSimAasUpdater;

// The updater of a group (CTSVC_SIM_ADN, _FDN, _SDN, _MSISDN, _GAS or _AAS) writing through the
// container's files (not owned; it must outlive the updater). Null for any other id.
// The updater reaches the files only through pContainer->GetSimFile(id, nPbrIndex, nSubIndex) and
// pContainer->GetCardType(), at the time of each request.
std::unique_ptr<ICtSvcSimUpdater> CtSvcSimCreateUpdater(int nSimFileID, ICtSvcSimFileContainer* pContainer);

#endif
