// The detail part of a contact update: each stored detail list of the person brought in line with
// the given one. Phone numbers, e-mail and postal addresses, other data and IMs are merged
// position by position through one template over a table of per-kind data (the table functions
// and the fields that identify an entry); group memberships, RCS and social-network data have
// rules of their own.
#include <cstring>
#include <vector>

#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgrMerge.h"
#include "ZelDebug.h"

namespace {

template <size_t N>
bool SameText(const char (&a)[N], const char (&b)[N]) {
  return std::strncmp(a, b, N) == 0;
}

bool SamePhoneNumber(const CtSvcPhoneNumberInfo& a, const CtSvcPhoneNumberInfo& b) {
  return a.PhoneType == b.PhoneType && a.UseType == b.UseType && SameText(a.szPhoneNumber, b.szPhoneNumber);
}
bool SameEmail(const CtSvcEmailAddressInfo& a, const CtSvcEmailAddressInfo& b) {
  return a.EmailType == b.EmailType && a.UseType == b.UseType && SameText(a.szEmailAddress, b.szEmailAddress);
}
bool SamePostalAddress(const CtSvcPostalAddressInfo& a, const CtSvcPostalAddressInfo& b) {
  return a.UseType == b.UseType && SameText(a.szDetail, b.szDetail) &&
         SameText(a.szPostOfficeBoxNumber, b.szPostOfficeBoxNumber) && SameText(a.szPCODE, b.szPCODE) &&
         SameText(a.szStreet, b.szStreet) && SameText(a.szCity, b.szCity) && SameText(a.szState, b.szState) &&
         SameText(a.szCountry, b.szCountry);
}
bool SameEtcData(const CtSvcEtcDataInfo& a, const CtSvcEtcDataInfo& b) {
  return a.EtcDataType == b.EtcDataType && SameText(a.szEtcData, b.szEtcData);
}
bool SameIM(const CtSvcIMInfo& a, const CtSvcIMInfo& b) {
  return a.nIspId == b.nIspId && SameText(a.szIsp, b.szIsp) && SameText(a.szUserId, b.szUserId);
}
bool SameSnsData(const CtSvcSnsDataInfo& a, const CtSvcSnsDataInfo& b) {
  return SameText(a.szStatus, b.szStatus) && SameText(a.szPeopleId, b.szPeopleId) && a.nSp == b.nSp &&
         SameText(a.szProfilePhotoUrl, b.szProfilePhotoUrl) &&
         std::memcmp(&a.StatusUpdate, &b.StatusUpdate, sizeof(a.StatusUpdate)) == 0;
}

// One list kind of the positional merge.
template <class Info, class Record, class Filter>
struct MergeKind {
  const char* szFunctionPrefix;  // "CtSvcDbPhoneNumber": names the failing function in the log
  Info* CtSvcContactInfo::*pArray;
  INT32 CtSvcContactInfo::*pCount;
  INT32 CtSvcPersonInfo::*pFlag;
  int (*pfnList)(HOBJ, Record*, int);
  BOOL (*pfnUpdate)(int, HOBJ, int, const Info*);
  BOOL (*pfnDelete)(int);
  int (*pfnInsert)(HOBJ, int, const Info*);
  void (*pfnFilterInit)(Filter*);
  BOOL (*pfnDeleteAll)(const Filter*);
  bool (*pfnSame)(const Info&, const Info&);
};

const MergeKind<CtSvcPhoneNumberInfo, CtSvcPhoneNumberRecord, CtSvcPhoneNumberFilter> kPhoneNumbers = {
    "CtSvcDbPhoneNumber", &CtSvcContactInfo::pPhoneNumberInfo, &CtSvcContactInfo::nPhoneNumberCount,
    &CtSvcPersonInfo::bHasPhoneNumber, &CtSvcDbPersonGetPhoneNumberList, &CtSvcDbPhoneNumberUpdateRecord,
    &CtSvcDbPhoneNumberDeleteRecord, &CtSvcDbPhoneNumberInsertRecord, &CtSvcPhoneNumberFilterInit,
    &CtSvcDbPhoneNumberDeleteRecordsWithFilter, &SamePhoneNumber};
const MergeKind<CtSvcEmailAddressInfo, CtSvcEmailAddressRecord, CtSvcEmailFilter> kEmails = {
    "CtSvcDbEmailAddress", &CtSvcContactInfo::pEmailAddressInfo, &CtSvcContactInfo::nEmailAddressCount,
    &CtSvcPersonInfo::bHasEmailAddress, &CtSvcDbPersonGetEmailAddressList, &CtSvcDbEmailAddressUpdateRecord,
    &CtSvcDbEmailAddressDeleteRecord, &CtSvcDbEmailAddressInsertRecord, &CtSvcEmailFilterInit,
    &CtSvcDbEmailAddressDeleteRecordsWithFilter, &SameEmail};
const MergeKind<CtSvcPostalAddressInfo, CtSvcPostalAddressRecord, CtSvcPostalAddressFilter> kPostalAddresses = {
    "CtSvcDbPostalAddress", &CtSvcContactInfo::pPostalAddressInfo, &CtSvcContactInfo::nPostalAddressCount,
    &CtSvcPersonInfo::bHasAddr, &CtSvcDbPersonGetPostalAddressList, &CtSvcDbPostalAddressUpdateRecord,
    &CtSvcDbPostalAddressDeleteRecord, &CtSvcDbPostalAddressInsertRecord, &CtSvcPostalAddressFilterInit,
    &CtSvcDbPostalAddressDeleteRecordsWithFilter, &SamePostalAddress};
const MergeKind<CtSvcEtcDataInfo, CtSvcEtcDataRecord, CtSvcEtcDataFilter> kEtcData = {
    "CtSvcDbEtcData", &CtSvcContactInfo::pEtcDataInfo, &CtSvcContactInfo::nEtcDataCount,
    &CtSvcPersonInfo::bHasEtcData, &CtSvcDbPersonGetEtcData, &CtSvcDbEtcDataUpdateRecord,
    &CtSvcDbEtcDataDeleteRecord, &CtSvcDbEtcDataInsertRecord, &CtSvcEtcDataFilterInit,
    &CtSvcDbEtcDataDeleteRecordsWithFilter, &SameEtcData};
const MergeKind<CtSvcIMInfo, CtSvcIMRecord, CtSvcIMFilter> kIMs = {
    "CtSvcDbIM", &CtSvcContactInfo::pIMInfo, &CtSvcContactInfo::nIMCount, &CtSvcPersonInfo::bHasIM,
    &CtSvcDbPersonGetIM, &CtSvcDbIMUpdateRecord, &CtSvcDbIMDeleteRecord, &CtSvcDbIMInsertRecord, &CtSvcIMFilterInit,
    &CtSvcDbIMDeleteRecordsWithFilter, &SameIM};

// Every stored row of the person, in stored order; false when they cannot be read.
template <class Record>
bool ReadStored(int (*pfnList)(HOBJ, Record*, int), HOBJ hPerson, std::vector<Record>& vRows) {
  for (int nCapacity = 16;; nCapacity *= 4) {
    vRows.assign(static_cast<size_t>(nCapacity), Record{});
    const int nRead = pfnList(hPerson, vRows.data(), nCapacity);
    if (nRead < 0) {
      return false;
    }
    if (nRead < nCapacity) {
      vRows.resize(static_cast<size_t>(nRead));
      return true;
    }
  }
}

template <class Filter>
BOOL DeleteAllOfPerson(void (*pfnFilterInit)(Filter*), BOOL (*pfnDeleteAll)(const Filter*), HOBJ hPerson) {
  Filter filter;
  pfnFilterInit(&filter);
  filter.nPersonId = CTSVC_HANDLE_TO_ID(hPerson);
  return pfnDeleteAll(&filter);
}

bool Failed(const char* pszWho, const char* pszPrefix, const char* pszStep) {
  DbgPrint(DBG_CLASS_FAIL, "%s - %s%s() failed\n", pszWho, pszPrefix, pszStep);
  return false;
}

// The default phone number across the merge: the stored one, whether it was deleted, and the
// first number inserted.
struct DefaultNumber {
  int nStored = -1;
  bool bDeleted = false;
  int nFirstInserted = -1;
};

// Brings one list in line with the given one. bReplace: every stored row goes and every given
// entry is inserted (the SIM's rule for other data); else position by position.
template <class Info, class Record, class Filter>
bool MergeList(const CtSvcMergeContext& ctx, const MergeKind<Info, Record, Filter>& kind, bool bReplace,
               DefaultNumber* pDefault) {
  CtSvcContactInfo& info = *ctx.pContactInfo;
  if (info.*kind.pCount == -1) {
    // The list stays as stored, and so does its presence flag.
    info.pPersonInfo->*kind.pFlag = ctx.stored.Info.*kind.pFlag;
    return true;
  }
  const Info* pGiven = info.*kind.pArray;
  const int nGiven = pGiven != nullptr && info.*kind.pCount > 0 ? info.*kind.pCount : 0;
  CtSvcPersonInfo& person = *info.pPersonInfo;
  if (nGiven == 0 || bReplace) {
    if ((ctx.stored.Info.*kind.pFlag || bReplace) &&
        !DeleteAllOfPerson(kind.pfnFilterInit, kind.pfnDeleteAll, ctx.hPerson)) {
      return Failed(ctx.pszWho, kind.szFunctionPrefix, "DeleteRecordsWithFilter");
    }
    person.*kind.pFlag = 0;
    if (pDefault != nullptr) {
      pDefault->bDeleted = true;
    }
    if (nGiven == 0) {
      return true;
    }
  }
  person.*kind.pFlag = 1;
  std::vector<Record> vStored;
  if (!bReplace && !ReadStored(kind.pfnList, ctx.hPerson, vStored)) {
    return Failed(ctx.pszWho, kind.szFunctionPrefix, "GetRecords");
  }
  for (size_t i = 0; i < vStored.size(); ++i) {
    const Record& row = vStored[i];
    if (static_cast<int>(i) < nGiven) {
      if (!kind.pfnSame(row.Info, pGiven[i]) && !kind.pfnUpdate(row.nId, ctx.hPerson, ctx.nPrimaryId, &pGiven[i])) {
        return Failed(ctx.pszWho, kind.szFunctionPrefix, "UpdateRecord");
      }
      continue;
    }
    if (!kind.pfnDelete(row.nId)) {
      return Failed(ctx.pszWho, kind.szFunctionPrefix, "DeleteRecord");
    }
    if (pDefault != nullptr && row.nId == pDefault->nStored) {
      pDefault->bDeleted = true;
    }
  }
  for (int i = static_cast<int>(vStored.size()); i < nGiven; ++i) {
    const int nId = kind.pfnInsert(ctx.hPerson, ctx.nPrimaryId, &pGiven[i]);
    if (nId <= 0) {
      return Failed(ctx.pszWho, kind.szFunctionPrefix, "InsertRecord");
    }
    if (pDefault != nullptr && pDefault->nFirstInserted < 0) {
      pDefault->nFirstInserted = nId;
    }
  }
  return true;
}

bool MergePhoneNumbers(const CtSvcMergeContext& ctx) {
  DefaultNumber def;
  def.nStored = ctx.stored.Info.nDefaultPhoneNumberId;
  if (!MergeList(ctx, kPhoneNumbers, false, &def)) {
    return false;
  }
  if (ctx.pContactInfo->nPhoneNumberCount != -1) {
    const bool bKept = !def.bDeleted && def.nStored > 0 && ctx.pContactInfo->pPersonInfo->bHasPhoneNumber;
    ctx.pContactInfo->pPersonInfo->nDefaultPhoneNumberId = bKept ? def.nStored : def.nFirstInserted;
  }
  return true;
}

bool InsertGroupMembers(const CtSvcMergeContext& ctx, const CtSvcGroupMemberInfo* pGiven, int nGiven) {
  for (int i = 0; i < nGiven; ++i) {
    if (CtSvcDbGroupMemberInsertRecord(ctx.hPerson, ctx.nPrimaryId, &pGiven[i]) <= 0) {
      return Failed(ctx.pszWho, "CtSvcDbGroupMember", "InsertRecord");
    }
  }
  return true;
}

}  // namespace

bool CtSvcMergeContactLists(const CtSvcMergeContext& ctx) {
  return MergePhoneNumbers(ctx) && MergeList(ctx, kEmails, false, nullptr) &&
         MergeList(ctx, kPostalAddresses, false, nullptr) && CtSvcMergeGroupMembers(ctx, false) &&
         MergeList(ctx, kEtcData, false, nullptr) && CtSvcMergeRcs(ctx) && MergeList(ctx, kIMs, false, nullptr) &&
         CtSvcMergeSnsData(ctx);
}

bool CtSvcMergeSimContactLists(const CtSvcMergeContext& ctx) {
  return MergePhoneNumbers(ctx) && MergeList(ctx, kEmails, false, nullptr) && CtSvcMergeGroupMembers(ctx, true) &&
         MergeList(ctx, kEtcData, true, nullptr) && CtSvcMergeRcs(ctx);
}

bool CtSvcMergeGroupMembers(const CtSvcMergeContext& ctx, bool bReplace) {
  const CtSvcContactInfo& info = *ctx.pContactInfo;
  if (info.nGroupMemberCount == -1) {
    return true;
  }
  const CtSvcGroupMemberInfo* pGiven = info.pGroupMemberInfo;
  const int nGiven = pGiven != nullptr && info.nGroupMemberCount > 0 ? info.nGroupMemberCount : 0;
  CtSvcGroupMemberFilter filter;
  CtSvcGroupMemberFilterInit(&filter);
  filter.nPersonId = CTSVC_HANDLE_TO_ID(ctx.hPerson);
  const int nStored = CtSvcDbGroupMemberGetCount(&filter);
  std::vector<CtSvcGroupMemberRecord> vStored(static_cast<size_t>(nStored > 0 ? nStored : 0));
  if (nStored < 0 || (nStored > 0 && CtSvcDbGroupMemberGetRecords(&filter, vStored.data(), nStored) != nStored)) {
    return Failed(ctx.pszWho, "CtSvcDbGroupMember", "GetRecords");
  }
  int nFound = 0;
  for (int i = 0; i < nGiven; ++i) {
    for (const CtSvcGroupMemberRecord& row : vStored) {
      if (row.Info.nGroupId == pGiven[i].nGroupId) {
        ++nFound;
        break;
      }
    }
  }
  if (!bReplace && nFound == nGiven && nStored == nGiven) {
    return true;  // the same set of groups
  }
  if (nStored > 0 && !CtSvcDbGroupMemberDeleteRecordsWithFilter(&filter)) {
    return Failed(ctx.pszWho, "CtSvcDbGroupMember", "DeleteRecordsWithFilter");
  }
  if (nGiven == 0 && !bReplace && ctx.stored.Info.nAccountId < 1) {
    CtSvcGroupRecord group{};
    if (CtSvcDbGroupGetRecord(CTSVC_NOT_ASSIGNED_GROUP_ID, &group)) {
      CtSvcGroupMemberInfo member{};
      member.nGroupId = CTSVC_NOT_ASSIGNED_GROUP_ID;
      return InsertGroupMembers(ctx, &member, 1);
    }
  }
  return InsertGroupMembers(ctx, pGiven, nGiven);
}

bool CtSvcMergeRcs(const CtSvcMergeContext& ctx) {
  CtSvcPersonInfo& person = *ctx.pContactInfo->pPersonInfo;
  const CtSvcRcsInfo* pGiven = ctx.pContactInfo->pRcsInfo;
  if (ctx.stored.Info.bHasRcs || pGiven != nullptr) {
    if (!DeleteAllOfPerson(&CtSvcRcsFilterInit, &CtSvcDbRcsDeleteRecordsWithFilter, ctx.hPerson)) {
      return Failed(ctx.pszWho, "CtSvcDbRcs", "DeleteRecordsWithFilter");
    }
  }
  person.bHasRcs = 0;
  if (pGiven == nullptr) {
    return true;
  }
  person.bHasRcs = 1;
  return CtSvcDbRcsInsertRecord(ctx.hPerson, ctx.nPrimaryId, pGiven) > 0 ||
         Failed(ctx.pszWho, "CtSvcDbRcs", "InsertRecord");
}

bool CtSvcMergeSnsData(const CtSvcMergeContext& ctx) {
  CtSvcPersonInfo& person = *ctx.pContactInfo->pPersonInfo;
  const CtSvcSnsDataInfo* pGiven = ctx.pContactInfo->pSnsDataInfo;
  if (pGiven == nullptr) {
    if (ctx.stored.Info.bHasSnsData &&
        !DeleteAllOfPerson(&CtSvcSnsDataFilterInit, &CtSvcDbSnsDataDeleteRecordsWithFilter, ctx.hPerson)) {
      return Failed(ctx.pszWho, "CtSvcDbSnsData", "DeleteRecordsWithFilter");
    }
    person.bHasSnsData = 0;
    return true;
  }
  person.bHasSnsData = 1;
  std::vector<CtSvcSnsDataRecord> vStored;
  if (!ReadStored(&CtSvcDbPersonGetSnsData, ctx.hPerson, vStored)) {
    return Failed(ctx.pszWho, "CtSvcDbSnsData", "GetRecords");
  }
  if (vStored.empty()) {
    return CtSvcDbSnsDataInsertRecord(ctx.hPerson, ctx.nPrimaryId, pGiven) > 0 ||
           Failed(ctx.pszWho, "CtSvcDbSnsData", "InsertRecord");
  }
  return SameSnsData(vStored.front().Info, *pGiven) ||
         CtSvcDbSnsDataUpdateRecord(vStored.front().nId, ctx.hPerson, ctx.nPrimaryId, pGiven) ||
         Failed(ctx.pszWho, "CtSvcDbSnsData", "UpdateRecord");
}

BOOL CCtSvcPhonebookMgr::_MergeDetails(HOBJ hPerson, const CtSvcPersonRecord& stored, CtSvcContactInfo* pContactInfo) {
  const CtSvcMergeContext ctx{"CCtSvcPhonebookMgr::UpdateContactToPhone", hPerson, stored.Info.nPrimaryId, stored,
                              pContactInfo};
  return CtSvcMergeContactLists(ctx) ? TRUE : FALSE;
}
