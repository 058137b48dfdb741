// One row of the shared phone-number/e-mail table, read as whichever kind its TYPE names.
#include "CtSvcDbDetail.h"
#include "CtSvcDbDetailOps.h"

namespace {

constexpr const char* kPrefix = "CtSvcDbContactData";

template <class T>
BOOL Fill(const CContent& content, int nID, typename T::CRecord& out) {
  typename T::Record record;
  if (!record.SetData(content)) {
    CtSvcDetailLogLoadFailure(kPrefix, "GetRecord", T::kRecordVar, nID);
    return FALSE;
  }
  record.GetData(out);
  return TRUE;
}

}  // namespace

extern "C" BOOL CtSvcDbContactDataGetRecord(int nID, CtSvcContactDataRecord* pRecord) {
  if (!ZEL_REQUIRE(nID > 0) || !ZEL_REQUIRE(pRecord)) {
    return FALSE;
  }
  CContent content;
  if (!CtSvcDetailGetContent(kPrefix, "GetRecord", "CtSvc/PhoneNumber", nID, content)) {
    return FALSE;
  }
  int32_t nType = 0;
  content.GetInt(CTSVC_DB_CONTACTDATA_COLUMN_TYPE, nType);
  if (nType == CTSVC_CONTACT_TYPE_EMAILADDRESS) {
    if (!Fill<CtSvcDbEmailAddressTraits>(content, nID, pRecord->Data.EmailAddress)) {
      return FALSE;
    }
  } else if (!Fill<CtSvcDbPhoneNumberTraits>(content, nID, pRecord->Data.PhoneNumber)) {
    return FALSE;  // a row of neither kind is refused by the phone-number record
  }
  pRecord->Type = nType;
  return TRUE;
}
