// A stored person as the contact info of an update that changes only what the caller sets in it:
// every detail list is left as stored (count -1), and the RCS entry and the first social-network
// row are given as stored so that the update keeps them.
#ifndef CTSVC_PHONEBOOK_STORED_CONTACT_H
#define CTSVC_PHONEBOOK_STORED_CONTACT_H

#include "CtSvcRecord.h"

class CCtSvcStoredContactInfo {
 public:
  CCtSvcStoredContactInfo() = default;
  CCtSvcStoredContactInfo(const CCtSvcStoredContactInfo&) = delete;
  CCtSvcStoredContactInfo& operator=(const CCtSvcStoredContactInfo&) = delete;

  // Reads the person; false when there is none.
  bool Load(int nPersonId);
  HOBJ Handle() const;
  CtSvcPersonRecord& Person() { return m_Stored; }
  CtSvcContactInfo& Info() { return m_Info; }

 private:
  CtSvcPersonRecord m_Stored{};
  CtSvcRcsRecord m_Rcs{};
  CtSvcSnsDataRecord m_Sns{};
  CtSvcContactInfo m_Info{};
};

#endif
