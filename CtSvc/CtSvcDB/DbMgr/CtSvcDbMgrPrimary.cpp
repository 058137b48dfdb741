// Primaries: reading, creating, moving persons between them and recomputing what they derive
// from their persons.
#include <algorithm>
#include <cstdio>

#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDbMgr.h"
#include "MyAccountSvc/MyAccountSvc.h"
#include "ZelDebug.h"

namespace {

// Detail tables whose rows carry the primary id of their person.
struct PrimaryDetail {
  const char* szUri;
  CtSvcDbTableType nTable;
  int nPersonColumn;
  int nPrimaryColumn;
};

const PrimaryDetail kPrimaryDetails[] = {
    {"CtSvc/PhoneNumber", CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_PERSON_ID,
     CTSVC_DB_CONTACTDATA_COLUMN_PRIMARY_ID},
    {"CtSvc/PostalAddress", CTSVC_DB_TABLE_POSTALADDRESS, CTSVC_DB_POSTALADDR_COLUMN_PERSON_ID,
     CTSVC_DB_POSTALADDR_COLUMN_PRIMARY_ID},
    {"CtSvc/IM", CTSVC_DB_TABLE_IM, CTSVC_DB_IM_COLUMN_PERSON_ID, CTSVC_DB_IM_COLUMN_PRIMARY_ID},
    {"CtSvc/EtcData", CTSVC_DB_TABLE_ETCDATA, CTSVC_DB_ETCDATA_COLUMN_PERSON_ID, CTSVC_DB_ETCDATA_COLUMN_PRIMARY_ID},
    {"CtSvc/Rcs", CTSVC_DB_TABLE_RCS, CTSVC_DB_RCS_COLUMN_PERSON_ID, CTSVC_DB_RCS_COLUMN_PRIMARY_ID},
    {"CtSvc/SnsData", CTSVC_DB_TABLE_SNSDATA, CTSVC_DB_SNSDATA_COLUMN_PERSON_ID, CTSVC_DB_SNSDATA_COLUMN_PRIMARY_ID},
    {"CtSvc/GroupMember", CTSVC_DB_TABLE_GROUPMEMBER, CTSVC_DB_GRPMEMBER_COLUMN_PERSON_ID,
     CTSVC_DB_GRPMEMBER_COLUMN_PRIMARY_ID},
};

CContentFilter WhereEquals(const char* szColumn, int nValue, const char* szOrderBy = nullptr) {
  char szWhere[96];
  std::snprintf(szWhere, sizeof(szWhere), "%s = %d", szColumn, nValue);
  CContentFilter filter;
  filter.SetWhere(szWhere);
  if (szOrderBy != nullptr) {
    filter.SetOrderBy(szOrderBy);
  }
  return filter;
}

bool IsLocalPhonePerson(const CCtSvcPerson& person) {
  return person.GetDeviceType() == CTSVC_USE_TYPE_PHONE && person.GetAccountId() < 1;
}

// Rank of a person in its primary: local phone persons, then SIM persons, then account by account
// in the order of the platform's account list, then persons of accounts the list no longer has.
int PriorityRank(const CCtSvcPerson& person) {
  if (IsLocalPhonePerson(person)) {
    return 0;
  }
  if (person.GetAccountId() < 1) {
    return 1;
  }
  const int nIndex = MyAccountSvcGetIndexById(person.GetAccountId());
  return nIndex >= 0 ? 2 + nIndex : 0x7FFFFFFF;
}

// The default number stays while it is still a number of the primary.
bool IsNumberOfPrimary(int nNumberId, int nPrimaryId) {
  if (nNumberId <= 0) {
    return false;
  }
  CContent row;
  if (!CContentMgr::Instance()->GetContent("CtSvc/PhoneNumber", nNumberId, row)) {
    return false;
  }
  int32_t nRowPrimary = -1, nType = 0;
  row.GetInt(CTSVC_DB_CONTACTDATA_COLUMN_PRIMARY_ID, nRowPrimary);
  row.GetInt(CTSVC_DB_CONTACTDATA_COLUMN_TYPE, nType);
  return nRowPrimary == nPrimaryId && nType == 1;
}

}  // namespace

BOOL CCtSvcDbMgr::GetPrimary(int nPrimaryId, CCtSvcPrimary& primary) {
  CContent content;
  if (!CContentMgr::Instance()->GetContent("CtSvc/Primary", nPrimaryId, content)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::GetPrimary - CContentMgr::Instance()->GetContent failed(ID = %d)\n",
             nPrimaryId);
    return FALSE;
  }
  return primary.SetData(content) ? TRUE : FALSE;
}

int CCtSvcDbMgr::CreatePrimary(const CCtSvcPerson& person, int bCommit) {
  CCtSvcPrimary primary;
  primary.SetFirstName(person.GetFirstName());
  primary.SetLastName(person.GetLastName());
  primary.SetDeviceType(person.GetDeviceType());
  primary.SetDefaultPhoneNumberId(person.GetDefaultPhoneNumberId());
  primary.SetFirstAccountId(person.GetAccountId());
  primary.SetCallerImage(person.GetCallerImage());
  primary.SetHasPhoneNumber(person.GetHasPhoneNumber());
  primary.SetHasEmail(person.GetHasEmail());
  primary.SetHasAddr(person.GetHasAddr());
  primary.SetHasIM(person.GetHasIM());
  primary.SetFavorite(CTSVC_FAVORITE_TYPE_NOT_FAVORITE);
  primary.SetLinkCount(1);
  return primary.Insert(bCommit);
}

BOOL CCtSvcDbMgr::MovePerson(int nPersonId, int nTargetPrimaryId) {
  CCtSvcDbTable* pPersonTable = GetDBTable(CTSVC_DB_TABLE_PERSON);
  CContentInput personInput;
  personInput.SetInt(pPersonTable->GetColumnName(CTSVC_DB_PERSON_COLUMN_PRIMARY_ID), nTargetPrimaryId);
  if (!CContentMgr::Instance()->Update("CtSvc/Person", nPersonId, personInput)) {
    return FALSE;
  }
  for (const PrimaryDetail& detail : kPrimaryDetails) {
    CCtSvcDbTable* pTable = GetDBTable(detail.nTable);
    const CContentFilter filter = WhereEquals(pTable->GetColumnName(detail.nPersonColumn), nPersonId);
    CContentInput input;
    input.SetInt(pTable->GetColumnName(detail.nPrimaryColumn), nTargetPrimaryId);
    if (!CContentMgr::Instance()->Update(detail.szUri, &filter, input)) {
      return FALSE;
    }
  }
  return TRUE;
}

BOOL CCtSvcDbMgr::GetPersonSortByPriority(int nPrimaryId, std::vector<CCtSvcPerson>& vcPersons) {
  vcPersons.clear();
  CCtSvcDbTable* pTable = GetDBTable(CTSVC_DB_TABLE_PERSON);
  const CContentFilter filter = WhereEquals(pTable->GetColumnName(CTSVC_DB_PERSON_COLUMN_PRIMARY_ID), nPrimaryId,
                                            pTable->GetIDColumnName());
  std::vector<CContent> vcRows;
  CContentMgr::Instance()->GetContents("CtSvc/Person", &filter, vcRows);
  for (const CContent& row : vcRows) {
    CCtSvcPerson person;
    if (person.SetData(row)) {
      vcPersons.push_back(person);
    }
  }
  std::stable_sort(vcPersons.begin(), vcPersons.end(), [](const CCtSvcPerson& a, const CCtSvcPerson& b) {
    return PriorityRank(a) < PriorityRank(b);
  });
  return vcPersons.empty() ? FALSE : TRUE;
}

BOOL CCtSvcDbMgr::RearrangePrimary(int nPrimaryId, int bCommit, int nSrcPrimaryId) {
  CCtSvcPrimary stored;
  if (!GetPrimary(nPrimaryId, stored)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::RearrangePrimary - GetPrimary(%d) failed\n", nPrimaryId);
    return FALSE;
  }
  std::vector<CCtSvcPerson> vcPersons;
  GetPersonSortByPriority(nPrimaryId, vcPersons);
  if (!ZEL_REQUIRE(vcPersons.size() > 0)) {
    return FALSE;
  }
  CCtSvcPrimary derived = stored;
  const CCtSvcPerson& first = vcPersons.front();
  derived.SetFirstName(first.GetFirstName());
  derived.SetLastName(first.GetLastName());
  derived.SetDeviceType(first.GetDeviceType());
  derived.SetFirstAccountId(first.GetAccountId());
  derived.SetSecondAccountId(vcPersons.size() > 1 ? vcPersons[1].GetAccountId() : -1);
  derived.SetThirdAccountId(vcPersons.size() > 2 ? vcPersons[2].GetAccountId() : -1);
  derived.SetLinkCount(static_cast<int>(vcPersons.size()));
  int bPh = 0, bEmail = 0, bAddr = 0, bIm = 0;
  std::string strImage;
  for (const CCtSvcPerson& person : vcPersons) {
    bPh |= person.GetHasPhoneNumber() ? 1 : 0;
    bEmail |= person.GetHasEmail() ? 1 : 0;
    bAddr |= person.GetHasAddr() ? 1 : 0;
    bIm |= person.GetHasIM() ? 1 : 0;
    if (strImage.empty()) {
      strImage = person.GetCallerImage();
    }
  }
  derived.SetHasPhoneNumber(bPh);
  derived.SetHasEmail(bEmail);
  derived.SetHasAddr(bAddr);
  derived.SetHasIM(bIm);
  derived.SetCallerImage(strImage.c_str());
  if (!IsNumberOfPrimary(stored.GetDefaultPhoneNumberId(), nPrimaryId)) {
    derived.SetDefaultPhoneNumberId(first.GetDefaultPhoneNumberId());
  }
  CCtSvcPrimary source;
  if (nSrcPrimaryId > 0 && stored.GetFavorite() != CTSVC_FAVORITE_TYPE_FAVORITE && GetPrimary(nSrcPrimaryId, source) &&
      source.GetFavorite() == CTSVC_FAVORITE_TYPE_FAVORITE) {
    // A favourite merged into a contact that was not one keeps the contact a favourite.
    derived.SetFavorite(source.GetFavorite());
    derived.SetFavoriteOrder(source.GetFavoriteOrder());
  }
  if (derived == stored) {
    return TRUE;
  }
  return derived.Update(nPrimaryId, bCommit) ? TRUE : FALSE;
}

BOOL CCtSvcDbMgr::DeletePrimary(int nPrimaryId) {
  struct Owned {
    const char* szUri;
    CtSvcDbTableType nTable;
    int nPrimaryColumn;
  };
  static const Owned kOwned[] = {
      {"CtSvc/Person", CTSVC_DB_TABLE_PERSON, CTSVC_DB_PERSON_COLUMN_PRIMARY_ID},
      {"CtSvc/PhoneNumber", CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_PRIMARY_ID},
      {"CtSvc/Email", CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_CONTACTDATA_COLUMN_PRIMARY_ID},
      {"CtSvc/PostalAddress", CTSVC_DB_TABLE_POSTALADDRESS, CTSVC_DB_POSTALADDR_COLUMN_PRIMARY_ID},
      {"CtSvc/EtcData", CTSVC_DB_TABLE_ETCDATA, CTSVC_DB_ETCDATA_COLUMN_PRIMARY_ID},
      {"CtSvc/Rcs", CTSVC_DB_TABLE_RCS, CTSVC_DB_RCS_COLUMN_PRIMARY_ID},
      {"CtSvc/GroupMember", CTSVC_DB_TABLE_GROUPMEMBER, CTSVC_DB_GRPMEMBER_COLUMN_PRIMARY_ID},
      {"CtSvc/IM", CTSVC_DB_TABLE_IM, CTSVC_DB_IM_COLUMN_PRIMARY_ID},
      {"CtSvc/SnsData", CTSVC_DB_TABLE_SNSDATA, CTSVC_DB_SNSDATA_COLUMN_PRIMARY_ID},
  };
  BOOL bResult = CContentMgr::Instance()->Delete("CtSvc/Primary", nPrimaryId) ? TRUE : FALSE;
  for (const Owned& owned : kOwned) {
    CCtSvcDbTable* pTable = GetDBTable(owned.nTable);
    if (!ZEL_REQUIRE_TEXT(pTable != nullptr, "CCtSvcDbMgr::Instance()->GetDBTable( info[nIndex].tableType )")) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPrimaryDeleteRecord - CCtSvcDbMgr::Instance()->GetDBTable(%d) failed\n",
               owned.nTable);
      return FALSE;
    }
    char szWhere[96];
    std::snprintf(szWhere, sizeof(szWhere), "%s = %d ", pTable->GetColumnName(owned.nPrimaryColumn), nPrimaryId);
    CContentFilter filter;
    filter.SetWhere(szWhere);
    if (CContentMgr::Instance()->GetCount(owned.szUri, &filter) > 0 &&
        !CContentMgr::Instance()->Delete(owned.szUri, &filter)) {
      bResult = FALSE;
    }
  }
  return bResult;
}
