// The ordered account list, kept in memory and persisted in "accounts.ini" of the data directory
// (section "Accounts" with the count, then one section "Account<i>" per account in list order).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "AccountInternal.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelReg.h"

namespace {

using myaccount::internal::Change;

const char kFile[] = "accounts.ini";
const char kHeadSection[] = "Accounts";

struct AccountStore {
  std::mutex mutex;
  std::string loadedDir;  // the data directory the list belongs to; empty before the first load
  std::vector<MyAccount> accounts;
};

AccountStore& TheStore() { return myaccount::internal::Persistent<AccountStore>(); }

std::string SectionName(size_t nIndex) { return "Account" + std::to_string(nIndex); }

bool IsNameTerminated(const MyAccount& account) {
  return std::memchr(account.szName, '\0', sizeof(account.szName)) != nullptr;
}

bool ReadAccount(size_t nIndex, MyAccount* pAccount) {
  const std::string strSection = SectionName(nIndex);
  INT32 nFlags = 0;
  MyAccount account{};
  const bool bOk = RegGetInt(kFile, strSection.c_str(), "Id", &account.nOrder) == REG_OK &&
                   RegGetInt(kFile, strSection.c_str(), "Kind", &account.nKind) == REG_OK &&
                   RegGetInt(kFile, strSection.c_str(), "Flags", &nFlags) == REG_OK &&
                   RegGetString(kFile, strSection.c_str(), "Name", account.szName, sizeof(account.szName)) == REG_OK;
  account.nFlags = static_cast<UINT32>(nFlags);
  *pAccount = account;
  return bOk && account.nOrder > 0;
}

void LoadFromFile(std::vector<MyAccount>& accounts) {
  accounts.clear();
  const UINT32 nErr = RegLoad(kFile, 0);
  if (nErr != REG_OK) {
    if (nErr != REG_ERR_FILE_NOT_EXIST) {
      DbgPrint(DBG_CLASS_FAIL, "MyAccountSvc: - RegLoad(%s) failed, errCode=%u\n", kFile, nErr);
    }
    return;
  }
  INT32 nCount = 0;
  RegGetInt(kFile, kHeadSection, "Count", &nCount);
  for (INT32 i = 0; i < nCount; ++i) {
    MyAccount account{};
    if (ReadAccount(static_cast<size_t>(i), &account)) {
      accounts.push_back(account);
    } else {
      DbgPrint(DBG_CLASS_FAIL, "MyAccountSvc: - entry %d of %s skipped\n", i, kFile);
    }
  }
  RegUnload(kFile);
}

bool SaveToFile(const std::vector<MyAccount>& accounts) {
  if (RegLoad(kFile, 1) != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvc: - %s cannot be created\n", kFile);
    return false;
  }
  RegClean(kFile);
  RegSetInt(kFile, kHeadSection, "Count", static_cast<INT32>(accounts.size()));
  for (size_t i = 0; i < accounts.size(); ++i) {
    const std::string strSection = SectionName(i);
    RegSetInt(kFile, strSection.c_str(), "Id", accounts[i].nOrder);
    RegSetInt(kFile, strSection.c_str(), "Kind", accounts[i].nKind);
    RegSetInt(kFile, strSection.c_str(), "Flags", static_cast<INT32>(accounts[i].nFlags));
    RegSetString(kFile, strSection.c_str(), "Name", accounts[i].szName);
  }
  const bool bOk = RegFlush(kFile) == REG_OK;
  RegUnload(kFile);
  if (!bOk) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvc: - %s cannot be written\n", kFile);
  }
  return bOk;
}

// The list of the current data directory, loaded on first use there. Called with the lock held.
std::vector<MyAccount>& Accounts(AccountStore& store) {
  const std::string strDir = ZelGetDataDir();
  if (store.loadedDir != strDir) {
    store.loadedDir = strDir;
    LoadFromFile(store.accounts);
  }
  return store.accounts;
}

std::vector<MyAccount>::iterator FindById(std::vector<MyAccount>& accounts, INT32 nOrder) {
  for (auto it = accounts.begin(); it != accounts.end(); ++it) {
    if (it->nOrder == nOrder) {
      return it;
    }
  }
  return accounts.end();
}

}  // namespace

extern "C" int MyAccountSvcGetCount(void) {
  AccountStore& store = TheStore();
  std::lock_guard<std::mutex> lock(store.mutex);
  return static_cast<int>(Accounts(store).size());
}

extern "C" BOOL MyAccountSvcGetAt(int nIndex, MyAccount* pAccount) {
  if (pAccount == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcGetAt: - pAccount is NULL\n");
    return FALSE;
  }
  AccountStore& store = TheStore();
  std::lock_guard<std::mutex> lock(store.mutex);
  const std::vector<MyAccount>& accounts = Accounts(store);
  if (nIndex < 0 || static_cast<size_t>(nIndex) >= accounts.size()) {
    return FALSE;
  }
  *pAccount = accounts[static_cast<size_t>(nIndex)];
  return TRUE;
}

extern "C" int MyAccountSvcGetList(MyAccount* pAccounts, int nMax) {
  if (pAccounts == nullptr || nMax < 0) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcGetList: - invalid arguments\n");
    return -1;
  }
  AccountStore& store = TheStore();
  std::lock_guard<std::mutex> lock(store.mutex);
  const std::vector<MyAccount>& accounts = Accounts(store);
  const size_t nCopy = std::min(accounts.size(), static_cast<size_t>(nMax));
  std::copy(accounts.begin(), accounts.begin() + static_cast<std::ptrdiff_t>(nCopy), pAccounts);
  return static_cast<int>(nCopy);
}

extern "C" BOOL MyAccountSvcGetAccountById(INT32 nOrder, MyAccount* pAccount) {
  if (pAccount == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcGetAccountById: - pAccount is NULL\n");
    return FALSE;
  }
  AccountStore& store = TheStore();
  std::lock_guard<std::mutex> lock(store.mutex);
  std::vector<MyAccount>& accounts = Accounts(store);
  auto it = FindById(accounts, nOrder);
  if (it == accounts.end()) {
    return FALSE;
  }
  *pAccount = *it;
  return TRUE;
}

extern "C" int MyAccountSvcGetIndexById(INT32 nOrder) {
  AccountStore& store = TheStore();
  std::lock_guard<std::mutex> lock(store.mutex);
  std::vector<MyAccount>& accounts = Accounts(store);
  auto it = FindById(accounts, nOrder);
  return it == accounts.end() ? -1 : static_cast<int>(it - accounts.begin());
}

extern "C" BOOL MyAccountSvcAddAccount(const MyAccount* pAccount) {
  if (pAccount == nullptr || pAccount->nOrder <= 0 || !IsNameTerminated(*pAccount)) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcAddAccount: - invalid account\n");
    return FALSE;
  }
  AccountStore& store = TheStore();
  std::lock_guard<std::mutex> lock(store.mutex);
  std::vector<MyAccount>& accounts = Accounts(store);
  if (FindById(accounts, pAccount->nOrder) != accounts.end()) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcAddAccount: - account %d exists already\n", pAccount->nOrder);
    return FALSE;
  }
  std::vector<MyAccount> changed = accounts;
  changed.push_back(*pAccount);
  if (!SaveToFile(changed)) {
    return FALSE;
  }
  accounts = std::move(changed);
  return TRUE;
}

extern "C" BOOL MyAccountSvcRemoveAccount(INT32 nOrder) {
  MyAccount removed{};
  {
    AccountStore& store = TheStore();
    std::lock_guard<std::mutex> lock(store.mutex);
    std::vector<MyAccount>& accounts = Accounts(store);
    auto it = FindById(accounts, nOrder);
    if (it == accounts.end()) {
      DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcRemoveAccount: - no account %d\n", nOrder);
      return FALSE;
    }
    removed = *it;
    std::vector<MyAccount> changed = accounts;
    changed.erase(changed.begin() + (it - accounts.begin()));
    if (!SaveToFile(changed)) {
      return FALSE;
    }
    accounts = std::move(changed);
  }
  myaccount::internal::Notify(Change::Removed, removed);
  return TRUE;
}

extern "C" BOOL MyAccountSvcUpdateAccount(const MyAccount* pAccount) {
  if (pAccount == nullptr || !IsNameTerminated(*pAccount)) {
    DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcUpdateAccount: - invalid account\n");
    return FALSE;
  }
  {
    AccountStore& store = TheStore();
    std::lock_guard<std::mutex> lock(store.mutex);
    std::vector<MyAccount>& accounts = Accounts(store);
    auto it = FindById(accounts, pAccount->nOrder);
    if (it == accounts.end()) {
      DbgPrint(DBG_CLASS_FAIL, "MyAccountSvcUpdateAccount: - no account %d\n", pAccount->nOrder);
      return FALSE;
    }
    std::vector<MyAccount> changed = accounts;
    changed[static_cast<size_t>(it - accounts.begin())] = *pAccount;
    if (!SaveToFile(changed)) {
      return FALSE;
    }
    accounts = std::move(changed);
  }
  myaccount::internal::Notify(Change::Updated, *pAccount);
  return TRUE;
}
