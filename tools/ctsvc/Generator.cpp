#include "Generator.h"


#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcDB/Records/CtSvcGroup.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
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
  std::vector<int> vcIds;
  std::vector<CContent> vcRows;
  CContentMgr::Instance()->GetContents("CtSvc/Group", nullptr, vcRows);
  for (const char* szName : kGroups) {
    int nFound = -1;
    for (const CContent& row : vcRows) {
      CCtSvcGroup group;
      if (group.SetData(row) && std::strcmp(group.GetName(), szName) == 0) {
        nFound = group.GetRecordId();
      }
    }
    if (nFound < 0) {
      CCtSvcGroup group;
      group.SetName(szName);
      group.SetDeviceType(CTSVC_USE_TYPE_PHONE);
      nFound = group.Insert(1);
    }
    if (nFound > 0) {
      vcIds.push_back(nFound);
    }
  }
  return vcIds;
}

CCtSvcContactInfoBuilder MakeContact(std::mt19937& rng, int nIndex, const std::vector<int>& vcGroups) {
  const bool bHangul = nIndex % 3 == 1;
  const std::string strFirst = bHangul ? Pick(rng, kHangulFirst) : Pick(rng, kLatinFirst);
  const std::string strLast = bHangul ? Pick(rng, kHangulLast) : Pick(rng, kLatinLast);
  CCtSvcContactInfoBuilder c(strFirst, -1, strLast);
  c.person.Birthday = TmDateTime{1960 + nIndex % 45, 1 + nIndex % 12, 1 + nIndex % 28, 0, 0, 0};
  const int nNumbers = std::uniform_int_distribution<int>(1, 4)(rng);
  for (int i = 0; i < nNumbers; ++i) {
    c.Number("010" + std::to_string(10000000 + (nIndex * 7919 + i * 104729) % 90000000), 1 + i % 3);
  }
  const int nEmails = std::uniform_int_distribution<int>(0, 2)(rng);
  for (int i = 0; i < nEmails; ++i) {
    c.Email("user" + std::to_string(nIndex) + "." + std::to_string(i) + "@example.com");
  }
  if (nIndex % 2 == 0) {
    const std::string strStreet = std::to_string(1 + nIndex % 200) + " " + Pick(rng, kStreets);
    c.Address(strStreet, Pick(rng, kCities), "", "", std::to_string(10000 + nIndex % 89999));
  }
  if (!vcGroups.empty() && nIndex % 4 == 0) {
    c.Group(vcGroups[static_cast<size_t>(nIndex / 4) % vcGroups.size()]);
  }
  return c;
}

// Inserts one contact of a device type; true when it was stored.
bool InsertContact(CCtSvcContactInfoBuilder& contact, InsertMode eMode) {
  const CtSvcContactInfo info = contact.Info();
  CCtSvcContact record(info, CTSVC_USE_TYPE_PHONE);
  return record.Insert(eMode == InsertMode::kCommitEach ? 1 : 0) > 0;
}

}  // namespace

GenerateResult GenerateContacts(int nCount, uint32_t nSeed, const std::function<void(int, int)>& pfnProgress,
                                InsertMode eMode) {
  GenerateResult result;
  CCtSvcModuleLock lock;
  EnsureAccounts();
  const std::vector<int> vcGroups = EnsureGroups();
  std::mt19937 rng(nSeed);
  const bool bBulk = eMode == InsertMode::kBulk;
  if (bBulk) {
    CCtSvcDbMgr::Instance()->SetInsertMassFlag(1);
  }
  for (int i = 0; i < nCount; ++i) {
    CCtSvcContactInfoBuilder contact = MakeContact(rng, i, vcGroups);
    const bool bMerged = i % 25 == 5;  // one in 25 comes from two accounts sharing an e-mail
    if (bMerged) {
      contact.person.nAccountId = kGeneratorAccountA;
      contact.Email("shared" + std::to_string(i) + "@example.com");
      contact.vcMembers.clear();
    }
    if (InsertContact(contact, eMode)) {
      ++result.nPersons;
    } else {
      ++result.nFailures;
    }
    if (bMerged) {
      // The same human as seen by a second account: another name form, the shared address.
      CCtSvcContactInfoBuilder twin = MakeContact(rng, i, vcGroups);
      twin.person = contact.person;
      twin.person.nAccountId = kGeneratorAccountB;
      twin.vcEmails = {contact.vcEmails.back()};
      twin.vcMembers.clear();
      twin.vcAddresses.clear();
      if (InsertContact(twin, eMode)) {
        ++result.nPersons;
      } else {
        ++result.nFailures;
      }
    }
    if (pfnProgress && (i % 50 == 49 || i + 1 == nCount)) {
      pfnProgress(i + 1, nCount);
    }
  }
  if (bBulk) {
    CCtSvcDbMgr::Instance()->SetInsertMassFlag(0);
  }
  Db2Commit();
  return result;
}

}  // namespace ctsvc_tool
