// What the SIM phonebook's writers and the SIM manager see of the file container: the card type
// and the file objects of the loaded groups; plus the listeners through which the container
// reports a finished group load to the SIM manager, and the SIM manager reports it to its client.
#ifndef ICTSVC_SIM_FILE_CONTAINER_H
#define ICTSVC_SIM_FILE_CONTAINER_H

#include "CtSvcSim/SimFile/CtSvcSimFileTypes.h"

class CCtSvcSimFile;

class ICtSvcSimFileContainer {
 public:
  virtual ~ICtSvcSimFileContainer() = default;
  // CTSVC_SIM_CARD_TYPE_GSM, _USIM or _UNKNOWN.
  virtual int GetCardType() const = 0;
  // The file object of a loaded group, or null. Per-PBR files (ADN, IAP, PBC, GRP, SNE, UID) are
  // chosen by nPbrIndex; ANR and EMAIL by nPbrIndex and their position nSubIndex among that PBR
  // record's files of the kind; the other files ignore both indexes. On a GSM card, or when the
  // PBR could not be read, there is one ADN file at PBR index 0.
  virtual CCtSvcSimFile* GetSimFile(int nSimFileID, int nPbrIndex = 0, int nSubIndex = 0) const = 0;
  // TRUE when the ADN group is a single ADN file: GSM card, no PBR file, or the PBR read failed.
  virtual BOOL IsSingleAdnFile() const = 0;
};

// Load groups of the container.
enum CTSVC_SIM_LOAD_TYPE {
  CTSVC_SIM_LOAD_ADN = 0,
  CTSVC_SIM_LOAD_FDN = 1,
  CTSVC_SIM_LOAD_MSISDN = 2,
  CTSVC_SIM_LOAD_SDN = 3
};

// The container's report that a group finished loading (bResult FALSE: the group failed and
// was freed).
class ICtSvcSimFileContainerListener {
 public:
  virtual ~ICtSvcSimFileContainerListener() = default;
  virtual void OnReadAdn(BOOL bResult) = 0;
  virtual void OnReadFdn(BOOL bResult) = 0;
  virtual void OnReadMsisdn(BOOL bResult) = 0;
  virtual void OnReadSdn(BOOL bResult) = 0;
};

// The SIM manager's report that a group is ready (its record updater exists) or failed.
class ICtSvcSimMgrListener {
 public:
  virtual ~ICtSvcSimMgrListener() = default;
  virtual void OnInitializedAdn(BOOL bResult) = 0;
  virtual void OnInitializedFdn(BOOL bResult) = 0;
  virtual void OnInitializedMsisdn(BOOL bResult) = 0;
  virtual void OnInitializedSdn(BOOL bResult) = 0;
};

#endif
