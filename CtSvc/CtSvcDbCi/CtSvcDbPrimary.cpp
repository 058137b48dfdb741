// Exported primary functions: read, count, favourites, linking and the primary services.
#include <string>

#include "CtSvcDB/CfPlugin/CtSvcPrimaryFilter.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcDB/Records/CtSvcContact.h"
#include "CtSvcDB/Records/CtSvcPrimary.h"
#include "CtSvcDbCiCommon.h"
#include "CtSvcDbPerson.h"
#include "ZelDebug.h"

namespace {

CCtSvcDbMgr* Mgr() { return CCtSvcDbMgr::Instance(); }

// Loads a primary, lets the change apply, and writes it back; 0 when it does not exist. The
// primary is read under the write lock, so a change another process makes meanwhile is not lost.
template <typename F>
BOOL ChangePrimary(int nId, F change) {
  if (!ZEL_REQUIRE(nId > 0)) {
    return FALSE;
  }
  CCtSvcDbWriteUnit unit;
  CCtSvcPrimary primary;
  if (!unit.IsOpen() || !Mgr()->GetPrimary(nId, primary) || !change(primary)) {
    return FALSE;
  }
  return unit.Finish(primary.Update(nId, 1) != 0);
}

bool HasPerson(const std::vector<CCtSvcPerson>& vcPersons, int nPersonId) {
  for (const CCtSvcPerson& person : vcPersons) {
    if (person.GetRecordId() == nPersonId) {
      return true;
    }
  }
  return false;
}

// Every person of the primary except the kept one gets a primary of its own.
bool SplitOff(const std::vector<CCtSvcPerson>& vcPersons, int nKeptPersonId) {
  for (const CCtSvcPerson& person : vcPersons) {
    if (person.GetRecordId() == nKeptPersonId) {
      continue;
    }
    const int nNewPrimary = Mgr()->CreatePrimary(person);
    if (nNewPrimary <= 0 || !Mgr()->MovePerson(person.GetRecordId(), nNewPrimary)) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" BOOL CtSvcDbPrimaryGetRecord(int nId, CtSvcPrimaryRecord* pRecord) {
  if (!ZEL_REQUIRE(pRecord) || !ZEL_REQUIRE(nId > 0)) {
    return FALSE;
  }
  CCtSvcPrimary primary;
  if (!Mgr()->GetPrimary(nId, primary)) {
    return FALSE;
  }
  return primary.GetData(*pRecord) ? TRUE : FALSE;
}

extern "C" int CtSvcDbPrimaryGetCount(const CtSvcPrimaryFilter* pFilter) { return Mgr()->GetCount(pFilter); }

extern "C" int CtSvcDbPrimaryGetPersons(int nPrimaryId, CtSvcPersonRecord* pRecords, int nCapacity) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(pRecords) || !ZEL_REQUIRE(nCapacity >= 0) || !ZEL_REQUIRE(nPrimaryId > 0)) {
    return -1;
  }
  std::vector<CCtSvcPerson> vcPersons;
  Mgr()->GetPersonSortByPriority(nPrimaryId, vcPersons);
  int nFilled = 0;
  for (const CCtSvcPerson& person : vcPersons) {
    if (nFilled < nCapacity && person.GetData(pRecords[nFilled])) {
      ++nFilled;
    }
  }
  return nFilled;
}

extern "C" int CtSvcDbPrimaryGetIds(const CtSvcPrimaryFilter* pFilter, INT32* pIds, int nCapacity) {
  if (!ZEL_REQUIRE(pIds)) {
    return -1;
  }
  const bool bGroup = pFilter != nullptr && pFilter->nGroupId > 0;
  // A primary two of whose persons are members of the group is one id, not two.
  std::string strSql =
      bGroup ? "SELECT DISTINCT ctsvcprimary.ID FROM ctsvcprimary, ctsvcgroupmember" : "SELECT ID FROM ctsvcprimary";
  std::vector<std::u16string> vcArgs;
  if (pFilter != nullptr) {
    std::unique_ptr<CCtSvcCFFilter> pBuilt;
    if (bGroup) {
      auto pGroup = std::make_unique<CCtSvcPrimaryGroupMemberFilter>();
      pGroup->SetContentFilter(pFilter);
      pBuilt = std::move(pGroup);
    } else {
      auto pPlain = std::make_unique<CCtSvcPrimaryFilter>();
      pPlain->SetContentFilter(pFilter);
      pBuilt = std::move(pPlain);
    }
    const CContentFilter* pContent = pBuilt->GetContentFilter();
    if (!pContent->GetWhere().empty()) {
      strSql += " WHERE " + pContent->GetWhere();
      vcArgs = pContent->GetWhereArg();
    }
  }
  std::vector<std::vector<int>> vcRows;
  if (!CtSvcQueryIntRows(strSql, vcArgs, 1, vcRows, nCapacity > 0 ? nCapacity : -1)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPrimaryGetIds - Db2StmtGetNextRow < 1\n");
    return -1;
  }
  for (size_t i = 0; i < vcRows.size(); ++i) {
    pIds[i] = vcRows[i][0];
  }
  return static_cast<int>(vcRows.size());
}

extern "C" BOOL CtSvcDbPrimarySetDefaultPhoneNumberId(int nId, int nPhoneNumberId) {
  CCtSvcModuleLock lock;
  return ChangePrimary(nId, [&](CCtSvcPrimary& primary) {
    primary.SetDefaultPhoneNumberId(nPhoneNumberId);
    return true;
  });
}

extern "C" BOOL CtSvcDbPrimarySetFavoriteType(int nId, int nFavoriteType) {
  CCtSvcModuleLock lock;
  return ChangePrimary(nId, [&](CCtSvcPrimary& primary) {
    primary.SetFavorite(static_cast<CtSvcFavoriteType>(nFavoriteType));
    primary.SetFavoriteOrder(CTSVC_FAVORITE_ORDER_DEFAULT);
    return true;
  });
}

extern "C" BOOL CtSvcDbPrimarySetFavoriteOrder(int nId, int nOrder) {
  CCtSvcModuleLock lock;
  return ChangePrimary(nId, [&](CCtSvcPrimary& primary) {
    if (primary.GetFavorite() != CTSVC_FAVORITE_TYPE_FAVORITE) {
      DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPrimarySetFavoriteOrder - this Record(%d) is not favorite record\n", nId);
      return false;
    }
    primary.SetFavoriteOrder(nOrder);
    return true;
  });
}

extern "C" BOOL CtSvcDbPrimaryLinkPerson(int nDestPrimaryId, int nSrcPrimaryId) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(nDestPrimaryId > 0) || !ZEL_REQUIRE(nSrcPrimaryId > 0) || nDestPrimaryId == nSrcPrimaryId) {
    return FALSE;
  }
  CCtSvcDbWriteUnit unit;
  CCtSvcPrimary dest;
  if (!unit.IsOpen() || !Mgr()->GetPrimary(nDestPrimaryId, dest)) {
    return FALSE;
  }
  std::vector<CCtSvcPerson> vcPersons;
  Mgr()->GetPersonSortByPriority(nSrcPrimaryId, vcPersons);
  for (const CCtSvcPerson& person : vcPersons) {
    if (!Mgr()->MovePerson(person.GetRecordId(), nDestPrimaryId)) {
      return FALSE;
    }
  }
  if (!Mgr()->RearrangePrimary(nDestPrimaryId, 1, nSrcPrimaryId)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::RearrangePrimary - GetPrimary nDestPrimaryId(%d), nSrcPrimaryId(%d) failed\n",
             nDestPrimaryId, nSrcPrimaryId);
  }
  return unit.Finish(Mgr()->DeletePrimary(nSrcPrimaryId) != FALSE);
}

extern "C" BOOL CtSvcDbPrimaryUnlinkPerson(int nPrimaryId, int nPersonId, int bSplit) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(nPrimaryId != INVALID_HOBJ) || !ZEL_REQUIRE(nPersonId != INVALID_HOBJ) || nPrimaryId <= 0) {
    return FALSE;
  }
  const int nKeptPersonId = CTSVC_HANDLE_TO_ID(nPersonId);
  CCtSvcDbWriteUnit unit;
  if (!unit.IsOpen()) {
    return FALSE;
  }
  std::vector<CCtSvcPerson> vcPersons;
  if (!Mgr()->GetPersonSortByPriority(nPrimaryId, vcPersons)) {
    return unit.Finish(Mgr()->DeletePrimary(nPrimaryId) != FALSE);
  }
  // Without a split the person may already be gone (a deleted person's primary is tidied up);
  // a split keeps it, so it must be one of the primary's persons.
  if (bSplit && !HasPerson(vcPersons, nKeptPersonId)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPrimaryUnlinkPerson - person %d is not in primary %d\n", nKeptPersonId, nPrimaryId);
    return FALSE;
  }
  if (bSplit && !SplitOff(vcPersons, nKeptPersonId)) {
    return FALSE;
  }
  return unit.Finish(Mgr()->RearrangePrimary(nPrimaryId, 1) != FALSE);
}

extern "C" int CtSvcDbPrimaryFindPrimary(const CtSvcContactInfo* pContact, int nExceptPrimaryId) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(pContact)) {
    return -1;
  }
  // Only phone contacts join primaries (a SIM contact always gets its own).
  const CCtSvcContact contact(*pContact, CTSVC_USE_TYPE_PHONE);
  return Mgr()->FindPrimary(contact, nExceptPrimaryId);
}

extern "C" int CtSvcDbPrimaryCreatePrimary(HOBJ hPerson, int bCommit) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(CtSvcIsValidPersonHandle(hPerson))) {
    return -1;
  }
  CContent content;
  CCtSvcPerson person;
  if (!CContentMgr::Instance()->GetContent("CtSvc/Person", CTSVC_HANDLE_TO_ID(hPerson), content) || !person.SetData(content)) {
    return -1;
  }
  return Mgr()->CreatePrimary(person, bCommit);
}

extern "C" BOOL CtSvcDbPrimaryRearrange(int nId) {
  if (!ZEL_REQUIRE(nId > 0)) {
    return FALSE;
  }
  CCtSvcDbWriteUnit unit;
  return unit.IsOpen() ? unit.Finish(Mgr()->RearrangePrimary(nId, 1) != FALSE) : FALSE;
}

extern "C" BOOL CtSvcDbPrimaryDeleteRecord(int nId) {
  CCtSvcModuleLock lock;
  if (!ZEL_REQUIRE(nId > 0)) {
    return FALSE;
  }
  CCtSvcDbWriteUnit unit;
  return unit.IsOpen() ? unit.Finish(Mgr()->DeletePrimary(nId) != FALSE) : FALSE;
}
