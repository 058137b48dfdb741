// Finding the primary a new contact joins: a stored e-mail address, or else a stored number of
// the ordinary kind, that belongs to an account contact.
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

// Whether any stored person came from an account: the first such row is enough, so the account
// index is probed once rather than counted through (it grows with every merged contact).
bool HasAccountPersons(CCtSvcDbMgr& mgr) {
  CCtSvcDbTable* pTable = mgr.GetDBTable(CTSVC_DB_TABLE_PERSON);
  if (pTable == nullptr) {
    return false;
  }
  CCtSvcDb2Stmt stmt(std::string("SELECT ") + pTable->GetIDColumnName() + " FROM " + pTable->GetTableName() +
                     " WHERE " + pTable->GetColumnName(CTSVC_DB_PERSON_COLUMN_ACCOUNT_ID) + " > 0 LIMIT 1");
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
  if (!HasAccountPersons(*this)) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcDbMgr::FindPrimary - NO Account Contact. \n");
    return -1;
  }
  const CCtSvcPerson& person = contact.GetPerson();
  const bool bNewIsLocal = IsLocalPhoneData(person.GetDeviceType(), person.GetAccountId());
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
