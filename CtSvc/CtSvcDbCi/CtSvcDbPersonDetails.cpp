// A person's details as record arrays: numbers, e-mails, addresses, other data, IM, RCS,
// social-network data, its default number and the groups it belongs to.
#include "CtSvcDB/CfPlugin/CtSvcFilterTraits.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDbCiCommon.h"
#include "CtSvcDbDetailOps.h"
#include "CtSvcDbPerson.h"

namespace {

template <class T>
int PersonDetails(HOBJ hPerson, typename T::CRecord* pRecords, int nCapacity) {
  if (!ZEL_REQUIRE(CtSvcIsValidPersonHandle(hPerson))) {
    return -1;
  }
  typename T::Filter filter;
  CtSvcFilterTraits<typename T::Filter>::Init(&filter);
  filter.nPersonId = CTSVC_HANDLE_TO_ID(hPerson);
  return ctsvc_detail::GetRecords<T>(&filter, pRecords, nCapacity);
}

bool ReadPerson(HOBJ hPerson, CCtSvcPerson& person) {
  CContent content;
  return CtSvcIsValidPersonHandle(hPerson) &&
         CContentMgr::Instance()->GetContent("CtSvc/Person", CTSVC_HANDLE_TO_ID(hPerson), content) &&
         person.SetData(content);
}

}  // namespace

#define CTSVC_PERSON_DETAIL_EXPORT(NAME, TRAITS)                                                       \
  extern "C" int CtSvcDbPerson##NAME(HOBJ hPerson, TRAITS::CRecord* pRecords, int nCapacity) {         \
    return PersonDetails<TRAITS>(hPerson, pRecords, nCapacity);                                         \
  }

CTSVC_PERSON_DETAIL_EXPORT(GetPhoneNumberList, CtSvcDbPhoneNumberTraits)
CTSVC_PERSON_DETAIL_EXPORT(GetEmailAddressList, CtSvcDbEmailAddressTraits)
CTSVC_PERSON_DETAIL_EXPORT(GetPostalAddressList, CtSvcDbPostalAddressTraits)
CTSVC_PERSON_DETAIL_EXPORT(GetEtcData, CtSvcDbEtcDataTraits)
CTSVC_PERSON_DETAIL_EXPORT(GetIM, CtSvcDbIMTraits)
CTSVC_PERSON_DETAIL_EXPORT(GetRcsInformation, CtSvcDbRcsTraits)
CTSVC_PERSON_DETAIL_EXPORT(GetSnsData, CtSvcDbSnsDataTraits)

#undef CTSVC_PERSON_DETAIL_EXPORT

extern "C" BOOL CtSvcDbPersonGetDefaultPhoneNumber(HOBJ hPerson, CtSvcPhoneNumberRecord* pRecord) {
  CCtSvcPerson person;
  CContent content;
  CCtSvcPhoneNumber number;
  if (!ZEL_REQUIRE(pRecord) || !ReadPerson(hPerson, person) || !person.GetDefaultPhoneNumber(content) ||
      !number.SetData(content)) {
    return FALSE;
  }
  return number.GetData(*pRecord) ? TRUE : FALSE;
}

extern "C" int CtSvcDbPersonGetJoinedGroupList(HOBJ hPerson, CtSvcGroupRecord* pRecords, int nCapacity) {
  CCtSvcPerson person;
  if (!ZEL_REQUIRE(pRecords) || !ReadPerson(hPerson, person)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPersonGetJoinedGroupList - CCtSvcDbMgr::Instance()->CreateGroupMemberList failed\n");
    return -1;
  }
  int nFilled = 0;
  for (const CContent& row : person.GetJoinedGroupList()) {
    CCtSvcGroup group;
    if (nFilled < nCapacity && group.SetData(row)) {
      group.GetData(pRecords[nFilled++]);
    }
  }
  return nFilled;
}
