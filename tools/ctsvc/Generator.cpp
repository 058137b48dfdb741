#include "Generator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ContactDraft.h"
#include "ContentFramework.h"
#include "CtSvcDbDetail.h"
#include "CtSvcModule.h"
#include "CtSvcPhonebook.h"
#include "MyAccountSvc/MyAccountSvc.h"
#include "ZelDb2.h"

namespace ctsvc_tool {

namespace {

const char* const kLatinFirst[] = {"Anna", "Ben", "Chloe", "David", "Emma", "Felix", "Grace", "Henry", "Isla", "Jack",
                                   "Kate", "Liam", "Mia", "Noah", "Olivia", "Paul", "Quinn", "Ruby", "Sam", "Tara",
                                   "Uma", "Victor", "Wendy", "Xavier", "Yara", "Zoe", "Émile", "Øystein", "Ann", "Kim"};
const char* const kLatinLast[] = {"Adams", "Brown", "Clark", "Davis", "Evans", "Fischer", "Garcia", "Hill", "Irwin",
                                  "Jones", "Kidd", "Lee", "Moore", "Nash", "Owen", "Park", "Quinn", "Reed", "Smith",
                                  "Turner", "Underwood", "Vance", "Walker", "Young", "Zimmer"};
const char* const kHangulLast[] = {"김", "이", "박", "최", "정", "강", "조", "윤", "장", "임", "한", "오"};
const char* const kHangulFirst[] = {"민지", "서연", "지훈", "도윤", "하은", "예준", "수빈", "지우", "현우", "유진",
                                    "민준", "서준", "지민", "채원", "시우", "은서"};
const char* const kStreets[] = {"Main St", "High St", "Park Ave", "Oak Rd", "River Ln", "Hill Way"};
const char* const kCities[] = {"Springfield", "Riverton", "Lakeside", "서울", "부산", "Fairview"};
const char* const kGroups[] = {"Family", "Friends", "Work", "Football", "Neighbours"};

// Contacts handed to the phonebook at once. Each batch is one mass-insert run, whose start and end
// cost as much as tens of contacts, so batches are large; progress is reported after each.
constexpr int kBatch = 500;

template <typename T, size_t N>
const T& Pick(std::mt19937& rng, const T (&items)[N]) {
  return items[std::uniform_int_distribution<size_t>(0, N - 1)(rng)];
}

void EnsureAccounts() {
  for (int nId : {kGeneratorAccountA, kGeneratorAccountB}) {
    MyAccount account{};
    if (!MyAccountSvcGetAccountById(nId, &account)) {
      account.nOrder = nId;
      account.nKind = 1;
      account.nFlags = MYACCOUNT_FLAG_CONTACT_SYNC;
      std::snprintf(account.szName, sizeof(account.szName), "sync account %d", nId);
      MyAccountSvcAddAccount(&account);
    }
  }
}

// The generator's groups, created once; their ids.
std::vector<int> EnsureGroups() {
  CtSvcGroupFilter filter;
  CtSvcGroupFilterInit(&filter);
  std::vector<CtSvcGroupRecord> vcStored(std::max(CtSvcDbGroupGetCount(&filter), 0));
  if (!vcStored.empty()) {
    vcStored.resize(std::max(CtSvcDbGroupGetRecords(&filter, vcStored.data(), static_cast<int>(vcStored.size())), 0));
  }
  std::vector<int> vcIds;
  for (const char* szName : kGroups) {
    int nFound = -1;
    for (const CtSvcGroupRecord& group : vcStored) {
      if (std::strcmp(group.Info.szName, szName) == 0) {
        nFound = group.nId;
      }
    }
    if (nFound < 0) {
      CtSvcGroupInfo group{};
      group.nAccountId = -1;
      group.nSlotIndex = -1;
      group.DevType = CTSVC_USE_TYPE_PHONE;
      std::snprintf(group.szName, sizeof(group.szName), "%s", szName);
      nFound = CtSvcPhonebookInsertGroupToPhone(&group);
    }
    if (nFound > 0) {
      vcIds.push_back(nFound);
    }
  }
  return vcIds;
}

ContactDraft MakeContact(std::mt19937& rng, int nIndex, const std::vector<int>& vcGroups) {
  const bool bHangul = nIndex % 3 == 1;
  const std::string strFirst = bHangul ? Pick(rng, kHangulFirst) : Pick(rng, kLatinFirst);
  const std::string strLast = bHangul ? Pick(rng, kHangulLast) : Pick(rng, kLatinLast);
  ContactDraft c(strFirst, strLast, -1);
  c.person.Birthday = TmDateTime{1960 + nIndex % 45, 1 + nIndex % 12, 1 + nIndex % 28, 0, 0, 0};
  const int nNumbers = std::uniform_int_distribution<int>(1, 4)(rng);
  for (int i = 0; i < nNumbers; ++i) {
    c.AddNumber("010" + std::to_string(10000000 + (nIndex * 7919 + i * 104729) % 90000000), 1 + i % 3);
  }
  const int nEmails = std::uniform_int_distribution<int>(0, 2)(rng);
  for (int i = 0; i < nEmails; ++i) {
    c.AddEmail("user" + std::to_string(nIndex) + "." + std::to_string(i) + "@example.com");
  }
  if (nIndex % 2 == 0) {
    const std::string strStreet = std::to_string(1 + nIndex % 200) + " " + Pick(rng, kStreets);
    c.AddAddress({strStreet, Pick(rng, kCities), "", "", std::to_string(10000 + nIndex % 89999)});
  }
  if (!vcGroups.empty() && nIndex % 4 == 0) {
    c.AddGroup(vcGroups[static_cast<size_t>(nIndex / 4) % vcGroups.size()]);
  }
  return c;
}

// Writes the drafts through the phonebook (in bulk: in one mass-insert run; else each committed
// on its own), counts them into the result and empties the list.
void InsertContacts(std::vector<ContactDraft>& vcDrafts, InsertMode eMode, GenerateResult& result) {
  std::vector<CtSvcContactInfo> vcInfos;
  for (ContactDraft& draft : vcDrafts) {
    vcInfos.push_back(draft.Info());
  }
  std::vector<HOBJ> vcHandles(vcInfos.size(), INVALID_HOBJ);
  if (eMode == InsertMode::kBulk) {
    std::vector<CtSvcContactInfo*> vcPointers;
    for (CtSvcContactInfo& info : vcInfos) {
      vcPointers.push_back(&info);
    }
    CtSvcPhonebookInsertContactsToPhoneForVamo(vcPointers.data(), vcHandles.data(), static_cast<int>(vcHandles.size()));
  } else {
    for (size_t i = 0; i < vcInfos.size(); ++i) {
      vcHandles[i] = CtSvcPhonebookInsertContactToPhone(&vcInfos[i]);
    }
  }
  for (HOBJ hPerson : vcHandles) {
    ++(hPerson != INVALID_HOBJ ? result.nPersons : result.nFailures);
  }
  vcDrafts.clear();
}

}  // namespace

GenerateResult GenerateContacts(int nCount, uint32_t nSeed, const std::function<void(int, int)>& pfnProgress,
                                InsertMode eMode) {
  GenerateResult result;
  CAppSvcMutexLock lock(CtSvcGetModuleMutex());
  EnsureAccounts();
  const std::vector<int> vcGroups = EnsureGroups();
  std::mt19937 rng(nSeed);
  // In bulk the whole address book is one transaction, committed at the end.
  const bool bBulk = eMode == InsertMode::kBulk;
  if (bBulk) {
    Db2CommitPause();
  }
  std::vector<ContactDraft> vcDrafts;
  for (int i = 0; i < nCount; ++i) {
    vcDrafts.push_back(MakeContact(rng, i, vcGroups));
    ContactDraft& contact = vcDrafts.back();
    if (i % 25 == 5) {  // one in 25 comes from two accounts sharing an e-mail
      contact.person.nAccountId = kGeneratorAccountA;
      contact.AddEmail("shared" + std::to_string(i) + "@example.com");
      contact.vcMembers.clear();
      // The same human as seen by a second account: another name form, the shared address.
      ContactDraft twin = MakeContact(rng, i, vcGroups);
      twin.person = contact.person;
      twin.person.nAccountId = kGeneratorAccountB;
      twin.vcEmails = {contact.vcEmails.back()};
      twin.vcMembers.clear();
      twin.vcAddresses.clear();
      vcDrafts.push_back(std::move(twin));
    }
    if ((i + 1) % kBatch == 0 || i + 1 == nCount) {
      InsertContacts(vcDrafts, eMode, result);
      if (pfnProgress) {
        pfnProgress(i + 1, nCount);
      }
    }
  }
  if (bBulk) {
    Db2CommitResume();
    Db2Commit();
  }
  return result;
}

}  // namespace ctsvc_tool
