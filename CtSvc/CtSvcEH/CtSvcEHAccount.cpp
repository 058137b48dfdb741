// Reactions to the account service: a removed account's contacts are queued for deletion, and the
// account chosen as contact storage (platform setting 0x54D holds 100 + its order) hands the
// storage back to the phone when it is removed or stops synchronising contacts.
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Tables/CtSvcDbTable.h"
#include "CtSvcEH.h"
#include "ZelDebug.h"
#include "ZelNv.h"
#include "ZelReg.h"

namespace {

constexpr UINT32 kNvStorageAccount = 0x54D;
constexpr INT32 kStorageAccountBase = 100;
const char kSettingFile[] = "CtSet.ini";
const char kDeleteAccountUri[] = "CtSvc/DeleteAccount";

bool IsStorageAccount(const MyAccount& account) {
  return account.nOrder == NvGetInt(kNvStorageAccount) - kStorageAccountBase;
}

// Records the removal of the account's phone contacts in the delete-account table.
bool RecordAccountRemoval(INT32 nAccountId) {
  CCtSvcDbTable* pTable = CCtSvcDbMgr::Instance()->GetDBTable(CTSVC_DB_TABLE_DELETEACCOUNT);
  if (pTable == nullptr) {
    return false;
  }
  CContentInput input;
  input.SetInt(pTable->GetColumnName(CTSVC_DB_DELETEACCOUNT_COLUMN_ID), pTable->TakeNextRecordId());
  input.SetInt8(pTable->GetColumnName(CTSVC_DB_DELETEACCOUNT_COLUMN_DEVICE_TYPE), CTSVC_USE_TYPE_PHONE);
  input.SetInt(pTable->GetColumnName(CTSVC_DB_DELETEACCOUNT_COLUMN_ACCOUNT_ID), nAccountId);
  return CContentMgr::Instance()->Insert(kDeleteAccountUri, input) > 0;
}

// Makes the phone the contact storage again: setting 0x54D and "item_storage" back to 0.
void ResetContactStorage(const char* pszCaller) {
  NvSetInt(kNvStorageAccount, 0);
  UINT32 nErr = RegLoad(kSettingFile, 0);
  if (nErr == REG_ERR_FILE_NOT_EXIST) {
    nErr = RegLoad(kSettingFile, 1);
  }
  if (nErr != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "%s: errCode=%d\n", pszCaller, static_cast<int>(nErr));
    return;
  }
  RegSetInt(kSettingFile, "sectionOne", "item_storage", 0);
  RegFlush(kSettingFile);
  RegUnload(kSettingFile);
}

}  // namespace

void OnRemovedMyAccountNotify(const MyAccount* pAccount) {
  if (!ZEL_REQUIRE(pAccount != NULL)) {
    return;
  }
  if (RecordAccountRemoval(pAccount->nOrder)) {
    DbgPrint(DBG_CLASS_TRACE, "OnRemovedMyAccountNotify : pDeleteAccount->Insert success\n");
  } else {
    DbgPrint(DBG_CLASS_FAIL, "OnRemovedMyAccountNotify : pDeleteAccount->Insert failed\n");
  }
  if (IsStorageAccount(*pAccount)) {
    ResetContactStorage("OnRemovedMyAccountNotify");
  }
}

void OnUpdatedMyAccountNotify(const MyAccount* pAccount) {
  if (!ZEL_REQUIRE(pAccount != NULL)) {
    return;
  }
  if (IsStorageAccount(*pAccount) && (pAccount->nFlags & MYACCOUNT_FLAG_CONTACT_SYNC) == 0) {
    ResetContactStorage("OnUpdatedMyAccountNotify");
  }
}
