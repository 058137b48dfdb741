// An operation of several writes as one unit: the write lock is taken when the unit opens, every
// write inside it lands with the others or not at all, and a unit left without Keep() (an early
// return, a failed step) undoes what it wrote. Units nest; an inner unit that fails makes the
// operation around it fail too.
#ifndef CTSVC_DB_WRITE_UNIT_H
#define CTSVC_DB_WRITE_UNIT_H

#include "ZelDb2.h"

class CCtSvcDbWriteUnit {
 public:
  CCtSvcDbWriteUnit() : m_bOpen(Db2UnitBegin() != FALSE) {}
  ~CCtSvcDbWriteUnit() {
    if (m_bOpen) {
      Db2UnitEnd(FALSE);
    }
  }
  CCtSvcDbWriteUnit(const CCtSvcDbWriteUnit&) = delete;
  CCtSvcDbWriteUnit& operator=(const CCtSvcDbWriteUnit&) = delete;

  // False when the lock could not be had: the operation must not write.
  bool IsOpen() const { return m_bOpen; }
  // Ends the unit keeping its work; false (the work undone) when a step inside it failed.
  bool Keep() {
    if (!m_bOpen) {
      return false;
    }
    m_bOpen = false;
    return Db2UnitEnd(TRUE) != FALSE;
  }
  // Keep(), then the commit the operation makes when it is not part of a larger one.
  bool KeepAndCommit() { return Keep() && Db2Commit() != FALSE; }
  // Ends the unit on bSucceeded: kept and committed when true, undone when false.
  BOOL Finish(bool bSucceeded) {
    if (!bSucceeded) {
      return FALSE;  // the destructor undoes the work
    }
    return KeepAndCommit() ? TRUE : FALSE;
  }

 private:
  bool m_bOpen;
};

#endif
