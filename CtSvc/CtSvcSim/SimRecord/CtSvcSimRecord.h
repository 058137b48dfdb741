// SIM records as they leave the SIM file layer: a GAS/AAS text, an FDN/SDN/MSISDN dialling number
// and an ADN contact with its USIM extras.
#ifndef CTSVC_SIM_RECORD_CLASSES_H
#define CTSVC_SIM_RECORD_CLASSES_H

#include <string>
#include <utility>
#include <vector>

#include "CtSvcSim.h"

class CCtSvcSimRecord {
 public:
  CCtSvcSimRecord() = default;
  virtual ~CCtSvcSimRecord() = default;
  CCtSvcSimRecord(const CCtSvcSimRecord&) = default;
  CCtSvcSimRecord& operator=(const CCtSvcSimRecord&) = default;
  // Index -1 and empty texts.
  virtual void Clear();

  int GetRecordIndex() const { return m_nRecordIndex; }
  void SetRecordIndex(int nRecordIndex) { m_nRecordIndex = nRecordIndex; }
  const std::string& GetName() const { return m_strName; }
  void SetName(const std::string& strName) { m_strName = strName; }

 private:
  int m_nRecordIndex = -1;
  std::string m_strName;
};

// A GAS (group name) or AAS (additional-number kind) text.
class CCtSvcSimXasRecord : public CCtSvcSimRecord {};

class CCtSvcSimXdnRecord : public CCtSvcSimRecord {
 public:
  void Clear() override;
  const std::string& GetPhoneNumber() const { return m_strPhoneNumber; }
  void SetPhoneNumber(const std::string& strNumber) { m_strPhoneNumber = strNumber; }

  void ToStruct(CtSvcSimXdnRecord* pRecord) const;
  void FromStruct(const CtSvcSimXdnRecord& record);

 private:
  std::string m_strPhoneNumber;
};

class CCtSvcSimAdnRecord : public CCtSvcSimXdnRecord {
 public:
  void Clear() override;

  UINT32 GetPbc() const { return m_nPbc; }
  void SetPbc(UINT32 nPbc) { m_nPbc = nPbc; }
  UINT16 GetUid() const { return m_nUid; }
  void SetUid(UINT16 nUid) { m_nUid = nUid; }
  const std::string& GetSecondName() const { return m_strSecondName; }
  void SetSecondName(const std::string& strSecondName) { m_strSecondName = strSecondName; }

  // Additional numbers with the AAS record index of their kind. Empty numbers are refused.
  bool AddAdditionalPhoneNumber(UINT8 nAasIndex, const char* pszPhoneNumber);
  bool SetAdditionalPhoneNumber(int nIndex, UINT8 nAasIndex, const char* pszPhoneNumber);
  // The number (null on a bad index) and its AAS record index.
  const char* GetAdditionalPhoneNumber(int nIndex, UINT8* pnAasIndex) const;
  bool RemoveAdditionalPhoneNumber(int nIndex);
  int GetAdditionalPhoneNumberCount() const { return static_cast<int>(m_vcstrAdditionalPhoneNumber.size()); }

  bool AddEmailAddress(const char* pszEmailAddress);
  bool SetEmailAddress(int nIndex, const char* pszEmailAddress);
  const char* GetEmailAddress(int nIndex) const;
  bool RemoveEmailAddress(int nIndex);
  int GetEmailAddressCount() const { return static_cast<int>(m_vcstrEmailAddress.size()); }

  // GAS record indexes of the contact's groups.
  bool AddGroupIndex(UINT8 nGroupIndex);
  bool SetGroupIndex(int nIndex, UINT8 nGroupIndex);
  int GetGroupIndex(int nIndex) const;  // -1 on a bad index
  bool RemoveGroupIndex(int nIndex);
  int GetGroupIndexCount() const { return static_cast<int>(m_vcuGroupIndex.size()); }

  // The C form: texts cut to their arrays; at most four numbers and e-mail addresses; groups of
  // index 30 and more are left out.
  void ToStruct(CtSvcSimAdnRecord* pRecord) const;
  void FromStruct(const CtSvcSimAdnRecord& record);

 private:
  bool _IsAnrIndex(int nIndex) const;
  bool _IsEmailIndex(int nIndex) const;
  bool _IsGroupIndex(int nIndex) const;

  UINT32 m_nPbc = 0;
  UINT16 m_nUid = 0;
  std::string m_strSecondName;
  std::vector<std::pair<UINT8, std::string>> m_vcstrAdditionalPhoneNumber;
  std::vector<std::string> m_vcstrEmailAddress;
  std::vector<UINT8> m_vcuGroupIndex;
};

#endif
