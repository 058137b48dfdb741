// A whole contact: one person with all its details, inserted at once. The contact owns its
// detail records; its record id is the person's.
#ifndef CTSVC_CONTACT_CLASS_H
#define CTSVC_CONTACT_CLASS_H

#include <tuple>
#include <utility>
#include <vector>

#include "CtSvcDB/Records/CtSvcEmailAddress.h"
#include "CtSvcDB/Records/CtSvcEtcData.h"
#include "CtSvcDB/Records/CtSvcGroupMember.h"
#include "CtSvcDB/Records/CtSvcIM.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPhoneNumber.h"
#include "CtSvcDB/Records/CtSvcPostalAddress.h"
#include "CtSvcDB/Records/CtSvcRcs.h"
#include "CtSvcDB/Records/CtSvcRecordBase.h"
#include "CtSvcDB/Records/CtSvcSnsData.h"
#include "CtSvcRecord.h"

// The count and list accessors of one detail list.
#define CTSVC_CONTACT_LIST_ACCESSORS(NAME, TYPE)                                          \
  int Get##NAME##Count() const { return static_cast<int>(GetList<TYPE>().size()); }     \
  const std::vector<TYPE>& Get##NAME##List() const { return GetList<TYPE>(); }           \
  std::vector<TYPE>& Get##NAME##List() { return GetList<TYPE>(); }

class CCtSvcContact : public CCtSvcRecord {
 public:
  CCtSvcContact() : CCtSvcRecord(CTSVC_DB_TABLE_INVALID, -1) {}
  // A contact of the given device type built from a contact info (see SetContactInfo).
  CCtSvcContact(const CtSvcContactInfo& contactInfo, CtSvcDeviceType nDeviceType);
  CCtSvcContact(const CCtSvcContact& other) = default;
  CCtSvcContact& operator=(const CCtSvcContact& other) = default;
  ~CCtSvcContact() override = default;

  // Inserts the person, linked into a found or new primary, and every detail; the person's id,
  // or -1.
  int Insert(int bCommit) override;
  // Not supported: a contact is written detail by detail once stored. Report and 0.
  int Update(int nId, int bCommit) override;
  int SetData(const CContent& content) override;
  int GetData(CContentInput& input) const override;
  int Delete();
  const char* _GetURI() const override;

  int GetRecordId() const override { return m_Person.GetRecordId(); }
  // Reserves the person's id, then gives every detail its person and reserves its id.
  int ReserveRecordId() override;
  int PredictNextRecordId() const override { return m_Person.PredictNextRecordId(); }

  // Replaces the contact with the one the info describes: the person (device type nDeviceType)
  // and every list (a null array or a count of 0 or less gives an empty list). 0 when the info
  // has no person or holds a bad text (what could be read is kept).
  int SetContactInfo(const CtSvcContactInfo& contactInfo, CtSvcDeviceType nDeviceType);

  // Makes the contact fit the SIM: the person's trimming, then numbers, e-mails and second
  // names cut to what the SIM holds; with bKeepAll 0 surplus entries are dropped as well.
  int RemoveFieldForSim(int bKeepAll);

  CCtSvcPerson& GetPerson() { return m_Person; }
  const CCtSvcPerson& GetPerson() const { return m_Person; }

  template <class T>
  std::vector<T>& GetList() { return std::get<std::vector<T>>(m_Details); }
  template <class T>
  const std::vector<T>& GetList() const { return std::get<std::vector<T>>(m_Details); }

  CTSVC_CONTACT_LIST_ACCESSORS(PhoneNumber, CCtSvcPhoneNumber)
  CTSVC_CONTACT_LIST_ACCESSORS(EmailAddress, CCtSvcEmailAddress)
  CTSVC_CONTACT_LIST_ACCESSORS(PostalAddress, CCtSvcPostalAddress)
  CTSVC_CONTACT_LIST_ACCESSORS(EtcData, CCtSvcEtcData)
  CTSVC_CONTACT_LIST_ACCESSORS(GroupMember, CCtSvcGroupMember)
  CTSVC_CONTACT_LIST_ACCESSORS(Rcs, CCtSvcRcs)
  CTSVC_CONTACT_LIST_ACCESSORS(IM, CCtSvcIM)
  CTSVC_CONTACT_LIST_ACCESSORS(SnsData, CCtSvcSnsData)

  // Calls f(list) for every detail list, in the contact's field order.
  template <class F>
  void ForEachList(F&& f) {
    std::apply([&](auto&... lists) { (f(lists), ...); }, m_Details);
  }

 private:
  int _ChoosePrimary(int bCommit, bool& bJoined);
  void _SetPresenceFlags();
  bool _InsertGroupMembers();
  bool _InsertOtherDetails();

  CCtSvcPerson m_Person;
  std::tuple<std::vector<CCtSvcPhoneNumber>, std::vector<CCtSvcEmailAddress>, std::vector<CCtSvcPostalAddress>,
             std::vector<CCtSvcEtcData>, std::vector<CCtSvcGroupMember>, std::vector<CCtSvcRcs>, std::vector<CCtSvcIM>,
             std::vector<CCtSvcSnsData>>
      m_Details;
};

#endif
