// The exported functions of the detail tables: each forwards to the one implementation of its
// operation with its member's traits. Which member exports which operation is listed at the end.
#include "CtSvcDbDetail.h"

#include "CtSvcDbDetailOps.h"

#define CTSVC_DETAIL_PERSON_WRITES(NAME)                                                                  \
  extern "C" int CtSvcDb##NAME##InsertRecord(HOBJ hPerson, int nPrimaryId,                                \
                                             const CtSvcDb##NAME##Traits::Info* pInfo) {                  \
    return ctsvc_detail::InsertRecord<CtSvcDb##NAME##Traits>(hPerson, nPrimaryId, pInfo);                 \
  }                                                                                                       \
  extern "C" BOOL CtSvcDb##NAME##UpdateRecord(int nID, HOBJ hPerson, int nPrimaryId,                      \
                                              const CtSvcDb##NAME##Traits::Info* pInfo) {                 \
    return ctsvc_detail::UpdateRecord<CtSvcDb##NAME##Traits>(nID, hPerson, nPrimaryId, pInfo);            \
  }

#define CTSVC_DETAIL_TABLE_WRITES(NAME)                                                                   \
  extern "C" int CtSvcDb##NAME##InsertRecord(const CtSvcDb##NAME##Traits::Info* pInfo) {                  \
    return ctsvc_detail::InsertRecord<CtSvcDb##NAME##Traits>(pInfo);                                      \
  }                                                                                                       \
  extern "C" BOOL CtSvcDb##NAME##UpdateRecord(int nID, const CtSvcDb##NAME##Traits::Info* pInfo) {        \
    return ctsvc_detail::UpdateRecord<CtSvcDb##NAME##Traits>(nID, pInfo);                                 \
  }

#define CTSVC_DETAIL_DELETES(NAME)                                                                        \
  extern "C" BOOL CtSvcDb##NAME##DeleteRecord(int nID) {                                                  \
    return ctsvc_detail::DeleteRecord<CtSvcDb##NAME##Traits>(nID);                                        \
  }                                                                                                       \
  extern "C" BOOL CtSvcDb##NAME##DeleteRecordsWithFilter(const CtSvcDb##NAME##Traits::Filter* pFilter) {  \
    return ctsvc_detail::DeleteRecordsWithFilter<CtSvcDb##NAME##Traits>(pFilter);                         \
  }

#define CTSVC_DETAIL_GET_RECORD(NAME)                                                                     \
  extern "C" BOOL CtSvcDb##NAME##GetRecord(int nID, CtSvcDb##NAME##Traits::CRecord* pRecord) {            \
    return ctsvc_detail::GetRecord<CtSvcDb##NAME##Traits>(nID, pRecord);                                  \
  }

#define CTSVC_DETAIL_GET_MANY(NAME)                                                                       \
  extern "C" int CtSvcDb##NAME##GetRecords(const CtSvcDb##NAME##Traits::Filter* pFilter,                  \
                                           CtSvcDb##NAME##Traits::CRecord* pRecords, int nCapacity) {     \
    return ctsvc_detail::GetRecords<CtSvcDb##NAME##Traits>(pFilter, pRecords, nCapacity);                 \
  }                                                                                                       \
  extern "C" int CtSvcDb##NAME##GetCount(const CtSvcDb##NAME##Traits::Filter* pFilter) {                  \
    return ctsvc_detail::GetCount<CtSvcDb##NAME##Traits>(pFilter);                                        \
  }

#define CTSVC_DETAIL_TOTAL_COUNT(NAME)                                                                    \
  extern "C" int CtSvcDb##NAME##GetTotalCount(void) { return ctsvc_detail::GetTotalCount<CtSvcDb##NAME##Traits>(); }

CTSVC_DETAIL_PERSON_WRITES(PhoneNumber)
CTSVC_DETAIL_DELETES(PhoneNumber)
CTSVC_DETAIL_GET_RECORD(PhoneNumber)
CTSVC_DETAIL_GET_MANY(PhoneNumber)
CTSVC_DETAIL_TOTAL_COUNT(PhoneNumber)

CTSVC_DETAIL_PERSON_WRITES(EmailAddress)
CTSVC_DETAIL_DELETES(EmailAddress)
CTSVC_DETAIL_GET_RECORD(EmailAddress)
CTSVC_DETAIL_GET_MANY(EmailAddress)
CTSVC_DETAIL_TOTAL_COUNT(EmailAddress)

CTSVC_DETAIL_PERSON_WRITES(PostalAddress)
CTSVC_DETAIL_DELETES(PostalAddress)
CTSVC_DETAIL_GET_RECORD(PostalAddress)
CTSVC_DETAIL_GET_MANY(PostalAddress)
CTSVC_DETAIL_TOTAL_COUNT(PostalAddress)

CTSVC_DETAIL_PERSON_WRITES(EtcData)
CTSVC_DETAIL_DELETES(EtcData)
CTSVC_DETAIL_GET_MANY(EtcData)
CTSVC_DETAIL_TOTAL_COUNT(EtcData)

CTSVC_DETAIL_PERSON_WRITES(IM)
CTSVC_DETAIL_DELETES(IM)
CTSVC_DETAIL_GET_RECORD(IM)
CTSVC_DETAIL_GET_MANY(IM)

CTSVC_DETAIL_PERSON_WRITES(SnsData)
CTSVC_DETAIL_DELETES(SnsData)
CTSVC_DETAIL_GET_RECORD(SnsData)
CTSVC_DETAIL_GET_MANY(SnsData)

CTSVC_DETAIL_PERSON_WRITES(Rcs)
CTSVC_DETAIL_DELETES(Rcs)

CTSVC_DETAIL_PERSON_WRITES(GroupMember)
CTSVC_DETAIL_DELETES(GroupMember)
CTSVC_DETAIL_GET_RECORD(GroupMember)
CTSVC_DETAIL_GET_MANY(GroupMember)

CTSVC_DETAIL_TABLE_WRITES(Group)
CTSVC_DETAIL_DELETES(Group)
CTSVC_DETAIL_GET_RECORD(Group)
CTSVC_DETAIL_GET_MANY(Group)
CTSVC_DETAIL_TOTAL_COUNT(Group)

CTSVC_DETAIL_TABLE_WRITES(Fdn)
CTSVC_DETAIL_DELETES(Fdn)
CTSVC_DETAIL_GET_RECORD(Fdn)
CTSVC_DETAIL_GET_MANY(Fdn)
CTSVC_DETAIL_TOTAL_COUNT(Fdn)

// Speed dial: its key-based functions are in CtSvcDbDetailSpeedDial.cpp.
extern "C" int CtSvcDbSdGetCount(void) { return ctsvc_detail::GetTotalCount<CtSvcDbSdTraits>(); }
extern "C" BOOL CtSvcDbSdGetRecordByID(int nID, CtSvcSpeedDialRecord* pRecord) {
  return ctsvc_detail::GetRecord<CtSvcDbSdTraits>(nID, pRecord);
}
