// The entry types of a PBR record, the file information the card reports, and the listener through
// which a file reports its load and write results (the file ids are public, in CtSvcSimCi.h).
#ifndef CTSVC_SIM_FILE_TYPES_H
#define CTSVC_SIM_FILE_TYPES_H

#include "CtSvcSimCi.h"
#include "ZelTypes.h"

// Entry types of a PBR record, from the file tag of the entry.
enum CTSVC_SIM_ENTRY_TYPE {
  CTSVC_SIM_ENTRY_UNKNOWN = -1,
  CTSVC_SIM_ENTRY_ADN = 0,
  CTSVC_SIM_ENTRY_IAP = 1,
  CTSVC_SIM_ENTRY_PBC = 2,
  CTSVC_SIM_ENTRY_GRP = 3,
  CTSVC_SIM_ENTRY_UID = 4,
  CTSVC_SIM_ENTRY_ANR = 5,
  CTSVC_SIM_ENTRY_SNE = 6,
  CTSVC_SIM_ENTRY_EMAIL = 7,
  CTSVC_SIM_ENTRY_EXT1 = 8,
  CTSVC_SIM_ENTRY_AAS = 9,
  CTSVC_SIM_ENTRY_GAS = 10,
  CTSVC_SIM_ENTRY_CCP1 = 11,
  CTSVC_SIM_ENTRY_MAX = 12
};

// Constructed tags of a PBR entry.
#define CTSVC_SIM_PBR_TYPE1 0xA8  // one record per ADN record
#define CTSVC_SIM_PBR_TYPE2 0xA9  // reached through IAP
#define CTSVC_SIM_PBR_TYPE3 0xAA  // shared, reached through a record number in another file

#define CTSVC_SIM_LINK_NONE 0xFF
#define CTSVC_SIM_GROUP_COUNT_MAX 10
#define CTSVC_SIM_IAP_COUNT_MAX 20
#define CTSVC_SIM_PBR_LOCAL_MAX 8
#define CTSVC_SIM_PBR_TELECOM_MAX 2

#define SIM_LOAD_STYLE_FULL 1
#define SIM_LOAD_STYLE_INFO 2

// What the card reports about a file.
struct CtSvcSimFileInfo {
  int recordLen;
  int recordCnt;         // 0 when the file is not valid
  int acRead;            // 0xFF: the file may not be read
  int acUpdate;
  int valid;             // record length and count non-zero and readable
  int availability;      // non-zero: the file is present
  int recordStructured;  // 1 linear fixed, 0 transparent
  int bInvalidbutRWallowed;  // 1: the file may be read and written (not invalidated, or
                             // invalidated with reading and updating still allowed)
};

// Receives the results of a file's load (or information request) and writes.
class ICtSvcSimFileListener {
 public:
  virtual ~ICtSvcSimFileListener() = default;
  virtual void OnLoaded(int nSimFileID, BOOL bSuccess) = 0;
  virtual void OnUpdated(int nSimFileID, BOOL bSuccess) = 0;
};

#endif
