// Finding the primary a new contact joins: a stored e-mail address, or else a stored number of
// the ordinary kind, shared with it. Two local phone persons never merge; any other pair may.
#include <cstdio>
#include <string>

#include "CtSvcDB/CfPlugin/CtSvcContactDataFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcDb2Stmt.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDbMgr.h"
#include "MyAccountSvc/MyAccountSvc.h"
#include "ZelDb2.h"
#include "ZelDebug.h"

namespace {

// Numbers of this kind identify a person well enough to merge contacts.
constexpr int kMergeablePhoneType = 1;

struct SearchState {
  int nCandidate = -1;
  bool bLocalMatch = false;
};

// Local phone data: kept on the phone itself, from no account. Every step of the search uses this
// one rule, so whether two contacts merge never depends on a third, unrelated one.
bool IsLocalPhoneData(int nDeviceType, int nAccountId) {
  return nDeviceType == CTSVC_USE_TYPE_PHONE && nAccountId < 1;
}

// Looks at the stored contact-data rows a filter selects.
void ScanRows(CCtSvcCFFilter& filter, const char* szUri, bool bNewIsLocal, int nExceptPrimaryId, SearchState& state) {
  std::vector<CContent> vcRows;
  CContentMgr::Instance()->GetContents(szUri, filter.GetContentFilter(), vcRows);
  for (const CContent& row : vcRows) {
    int32_t nRowAccount = -1, nRowDevice = 0, nRowPrimary = -1;
    row.GetInt(CTSVC_DB_CONTACTDATA_COLUMN_ACCOUNT_ID, nRowAccount);
    row.GetInt(CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE, nRowDevice);
    row.GetInt(CTSVC_DB_CONTACTDATA_COLUMN_PRIMARY_ID, nRowPrimary);
    if (bNewIsLocal && IsLocalPhoneData(nRowDevice, nRowAccount)) {
      state.bLocalMatch = true;
      return;
    }
    if (nRowPrimary != nExceptPrimaryId && nRowPrimary > 0) {
      state.nCandidate = nRowPrimary;
      return;
    }
  }
}

// Whether any stored e-mail address or number is not local phone data (the negation of
// IsLocalPhoneData), the only rows the search could join a local person to. The first such row is
// enough; the condition is spelt so that the (DEVICE_TYPE, ACCOUNT_ID) index finds it at once.
bool HasDataNotLocal(CCtSvcDbMgr& mgr) {
  CCtSvcDbTable* pTable = mgr.GetDBTable(CTSVC_DB_TABLE_CONTACTDATA);
  if (pTable == nullptr) {
    return false;
  }
  const char* pszDevice = pTable->GetColumnName(CTSVC_DB_CONTACTDATA_COLUMN_DEVICE_TYPE);
  char szWhere[200];
  std::snprintf(szWhere, sizeof(szWhere), " WHERE %s < %d OR %s > %d OR (%s = %d AND %s > 0) LIMIT 1", pszDevice,
                CTSVC_USE_TYPE_PHONE, pszDevice, CTSVC_USE_TYPE_PHONE, pszDevice, CTSVC_USE_TYPE_PHONE,
                pTable->GetColumnName(CTSVC_DB_CONTACTDATA_COLUMN_ACCOUNT_ID));
  CCtSvcDb2Stmt stmt(std::string("SELECT ") + pTable->GetIDColumnName() + " FROM " + pTable->GetTableName() + szWhere);
  return stmt.IsValid() && Db2StmtExecute(stmt.Get()) > 0;
}

// True when one of the candidate's persons already comes from the account.
bool PrimaryHasAccount(CCtSvcDbMgr& mgr, int nPrimaryId, int nAccountId) {
  std::vector<CCtSvcPerson> vcPersons;
  mgr.GetPersonSortByPriority(nPrimaryId, vcPersons);
  for (const CCtSvcPerson& person : vcPersons) {
    if (person.GetAccountId() == nAccountId) {
      return true;
    }
  }
  return false;
}

}  // namespace

int CCtSvcDbMgr::FindPrimary(const CCtSvcContact& contact, int nExceptPrimaryId) {
  const CCtSvcPerson& person = contact.GetPerson();
  const bool bNewIsLocal = IsLocalPhoneData(person.GetDeviceType(), person.GetAccountId());
  // The new person counts among the persons: when it is not local phone data itself, a stored
  // local person it shares an address with is a match even in a store of local persons only.
  if (bNewIsLocal && !HasDataNotLocal(*this)) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbMgr::FindPrimary - NO Account Contact. \n");
    return -1;
  }
  bool bSnsAccount = false;
  MyAccount account{};
  if (!bNewIsLocal && MyAccountSvcGetAccountById(person.GetAccountId(), &account)) {
    bSnsAccount = account.nKind == MYACCOUNT_KIND_SNS;
  }
  SearchState state;
  for (const CCtSvcEmailAddress& email : contact.GetEmailAddressList()) {
    if (state.nCandidate != -1 || state.bLocalMatch) {
      break;
    }
    CCtSvcEmailFilter filter;
    filter.SetEmailAddress(email.GetEmailAddress());
    ScanRows(filter, "CtSvc/Email", bNewIsLocal, nExceptPrimaryId, state);
  }
  for (const CCtSvcPhoneNumber& number : contact.GetPhoneNumberList()) {
    if (state.nCandidate != -1 || state.bLocalMatch) {
      break;
    }
    if (number.GetPhoneType() != kMergeablePhoneType || *number.GetPhoneNumber() == '\0') {
      continue;
    }
    CCtSvcPhoneNumberFilter filter;
    filter.SetPhoneNumber(number.GetPhoneNumber());
    ScanRows(filter, "CtSvc/PhoneNumber", bNewIsLocal, nExceptPrimaryId, state);
  }
  if (state.bLocalMatch) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbMgr::FindPrimary - Among Linked Person, Local Phone contact already exist(%d)\n",
             state.nCandidate);
    return -1;
  }
  if (state.nCandidate != -1 && !bNewIsLocal && bSnsAccount &&
      PrimaryHasAccount(*this, state.nCandidate, person.GetAccountId())) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbMgr::FindPrimary - the same sns account already exists\n");
    state.nCandidate = -1;
  }
  if (state.nCandidate == -1) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbMgr::FindPrimary - Failed to Find\n");
  }
  return state.nCandidate;
}
