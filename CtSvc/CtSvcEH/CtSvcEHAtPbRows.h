// The rows the AT phonebook answers number: the phone-number list of a device (phone or SIM
// storage), entries numbered 1... in list order.
#ifndef CTSVC_EH_AT_PB_ROWS_H
#define CTSVC_EH_AT_PB_ROWS_H

#include "CtSvcList.h"

// Rows of the AT device's list (TAPI_AT_PB_DEVICE_PHONE or _SIM); 0 when they cannot be counted.
int CtSvcEHAtPbRowCount(INT32 nDevice);

// The AT device's phone-number list, open while the object lives.
class CCtSvcEHAtPbRows {
 public:
  explicit CCtSvcEHAtPbRows(INT32 nDevice);
  ~CCtSvcEHAtPbRows();
  CCtSvcEHAtPbRows(const CCtSvcEHAtPbRows&) = delete;
  CCtSvcEHAtPbRows& operator=(const CCtSvcEHAtPbRows&) = delete;
  bool IsOpen() const { return m_hList >= 0; }
  // Row k (1-based) with its person; false when the list does not reach it.
  bool Get(int nIndex, CtSvcPhoneNumberRecord* pNumber, CtSvcPersonRecord* pPerson) const;

 private:
  INT32 m_hList;
};

#endif
