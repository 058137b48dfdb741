// What the SIM can hold, as the records need to know it when they make a contact fit an ADN
// record. The SIM manager installs its answers while the ADN group is loaded; before that, after
// a free or reload of the group, and without a card the default says "no SIM":
//   ADN number length 20 digits, ADN name length 14 bytes,
//   no EMAIL and no SNE file (their lengths 0), no free ANR, EMAIL or SNE entry.
#ifndef CTSVC_SIM_LIMITS_H
#define CTSVC_SIM_LIMITS_H

#define CTSVC_SIM_DEFAULT_ADN_NUMBER_LENGTH 20
#define CTSVC_SIM_DEFAULT_ADN_NAME_LENGTH 14

class ICtSvcSimLimits {
 public:
  virtual ~ICtSvcSimLimits() = default;
  // Longest number an ADN record holds (characters).
  virtual int GetAdnNumberLength() const = 0;
  // Bytes of the name (alpha identifier) of an ADN record.
  virtual int GetAdnNameLength() const = 0;
  virtual bool HasEmailFile() const = 0;
  // Bytes of an address in the EMAIL file.
  virtual int GetEmailLength() const = 0;
  virtual bool HasSneFile() const = 0;
  // Bytes of a second name in the SNE file.
  virtual int GetSneLength() const = 0;
  // Free additional-number, e-mail and second-name entries for the contact at the ADN index.
  virtual int GetFreeAnrCount(int nSlotIndex) const = 0;
  virtual int GetFreeEmailCount(int nSlotIndex) const = 0;
  virtual int GetFreeSneCount(int nSlotIndex) const = 0;
};

// The limits in force; never null.
const ICtSvcSimLimits& CtSvcGetSimLimits();
// Installs the limits (the caller keeps ownership and keeps them alive while installed); null
// restores the "no SIM" default.
void CtSvcSetSimLimits(const ICtSvcSimLimits* pLimits);

#endif
