// Fast-scroll positions, group letters with their counts, and person handles.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcDb2Stmt.h"
#include "CtSvcDB/CfPlugin/CtSvcPersonFilter.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgrLetterCounts.h"
#include "CtSvcDbCiCommon.h"
#include "CtSvcDbPerson.h"
#include "ZelDebug.h"
#include "ZelGWESCore.h"

namespace {

std::string Format(const char* szFormat, int nValue) {
  char szBuf[160];
  std::snprintf(szBuf, sizeof(szBuf), szFormat, nValue);
  return szBuf;
}

std::u16string Letter(const MCHAR* pmszLetter) { return std::u16string(pmszLetter, pmszLetter[0] != 0 ? 1 : 0); }

// The conditions of a primary filter's detail kind, favourite type and device type.
std::string PrimaryDetailConditions(const CtSvcPrimaryFilter& filter, const char* szPrefix) {
  const std::string p = szPrefix;
  std::string strSql;
  if (filter.DevType == CTSVC_USE_TYPE_PHONE || filter.DevType == CTSVC_USE_TYPE_SIM) {
    strSql += Format((" AND " + p + "device_type = %d").c_str(), filter.DevType);
  }
  if (filter.FilterDetail & 2) {
    strSql += " AND " + p + "HAS_PH > 0";
  }
  if (filter.FilterDetail & 4) {
    strSql += " AND " + p + "HAS_EMAIL > 0";
  }
  if (filter.FilterDetail & 8) {
    strSql += " AND " + p + "HAS_ADDR > 0";
  }
  if (filter.FilterDetail & 16) {
    strSql += " AND (" + p + "HAS_PH > 0 or " + p + "HAS_EMAIL > 0)";
  }
  if (filter.FavoriteType != 0) {
    strSql += Format((" AND " + p + "FAVORITE = %d").c_str(), filter.FavoriteType);
  }
  return strSql;
}

// Reads (letter, count) rows of a grouped statement into the caller's arrays.
int ReadLetterRows(const std::string& strSql, const std::vector<std::u16string>& vcArgs, MCHAR* pLetters,
                   INT32* pCounts, int nCapacity, const char* szEmptyLog) {
  CCtSvcDb2Stmt stmt(strSql);
  CCtSvcStmtBinder binder(stmt.Get());
  for (const std::u16string& strArg : vcArgs) {
    binder.BindText(strArg);
  }
  const int nRows = stmt.IsValid() ? Db2StmtExecute(stmt.Get()) : -1;
  if (nRows < 0) {
    return -1;
  }
  int nOut = 0;
  for (int i = 0; i < nRows && nOut < nCapacity; ++i) {
    if (Db2StmtGetNextRow(stmt.Get()) <= 0) {
      DbgPrint(DBG_CLASS_FAIL, "%s", szEmptyLog);
      break;
    }
    CContent row;
    CtSvcReadRow(stmt.Get(), row);
    std::u16string strLetter;
    int32_t nCount = 0;
    if (!row.GetString(0, strLetter) || strLetter.empty()) {
      continue;
    }
    row.GetInt(1, nCount);
    pLetters[nOut] = strLetter[0];
    pCounts[nOut] = nCount;
    ++nOut;
  }
  return nOut;
}

// The detail bits of a primary filter and the condition each adds.
struct PrimaryDetail {
  int nBit;
  const char* szCondition;
};
const PrimaryDetail kPrimaryDetail[] = {{2, "ctsvcprimary.HAS_PH = 1"},
                                        {4, "ctsvcprimary.HAS_EMAIL = 1"},
                                        {8, "ctsvcprimary.HAS_ADDR = 1"},
                                        {16, "(ctsvcprimary.HAS_PH = 1 OR ctsvcprimary.HAS_EMAIL = 1)"}};

// A filter of every primary or of one device type only: its letters are kept counted.
bool IsCountedFilter(const CtSvcPrimaryFilter& filter) {
  const bool bDetail = std::any_of(std::begin(kPrimaryDetail), std::end(kPrimaryDetail),
                                   [&](const PrimaryDetail& d) { return (filter.FilterDetail & d.nBit) != 0; });
  return filter.nGroupId <= 0 && filter.nExceptPrimaryId <= 0 && !bDetail && !filter.bLocalPhoneDataOnly &&
         filter.FavoriteType == 0;
}

}  // namespace

extern "C" int CtSvcDbPersonGetFastScrollIndex(const CtSvcPersonFilter* pFilter, const MCHAR* pmszLetter) {
  if (!ZEL_REQUIRE(pmszLetter) || !ZEL_REQUIRE(pFilter)) {
    return -1;
  }
  std::string strSql = "SELECT count(*) FROM ctsvcperson ";
  std::string strOrder;
  if (pFilter->FilterIndexType == CTSVC_FILTER_INDEX_FIRST_LAST) {
    strSql += " ISCAN PERSON_FF_IDX1  WHERE fl_letter < ? ";
    strOrder = " ORDER BY fl_letter";
  } else if (pFilter->FilterIndexType == CTSVC_FILTER_INDEX_LAST_FIRST) {
    strSql += " ISCAN PERSON_FF_IDX2  WHERE lf_letter < ? ";
    strOrder = " ORDER BY lf_letter";
  } else {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPersonGetFastScrollIndex - FilterIndexType(%d) is invalid", pFilter->FilterIndexType);
    return -1;
  }
  if (CtSvcIsStoreDeviceType(pFilter->DevType)) {
    strSql += Format(" AND device_type = %d ", pFilter->DevType);
  }
  if (pFilter->nAccountId != -1) {
    strSql += Format(" AND account_id = %d ", pFilter->nAccountId);
  } else if (pFilter->bLocalPhoneDataOnly) {
    strSql += " AND account_id < 1";
  }
  return CtSvcQueryInt(strSql + strOrder, {Letter(pmszLetter)});
}

extern "C" int CtSvcDbPrimaryGetFastScrollIndex(const CtSvcPrimaryFilter* pFilter, const MCHAR* pmszLetter) {
  if (!ZEL_REQUIRE(pmszLetter) || !ZEL_REQUIRE(pFilter)) {
    return -1;
  }
  const bool bGroup = pFilter->nGroupId > 0;
  const char* szPrefix = bGroup ? "ctsvcprimary." : "";
  // A primary with several persons in the group is one row of the group's list: count it once.
  std::string strSql = bGroup ? "SELECT count(DISTINCT ctsvcprimary.id) FROM ctsvcprimary, ctsvcgroupmember"
                              : "SELECT count(*) FROM ctsvcprimary";
  std::string strLetterColumn;
  if (pFilter->FilterIndexType == CTSVC_FILTER_INDEX_FIRST_LAST) {
    strSql += " ISCAN PRIMARY_FF_IDX1 ";
    strLetterColumn = std::string(szPrefix) + "fl_letter";
  } else if (pFilter->FilterIndexType == CTSVC_FILTER_INDEX_LAST_FIRST) {
    strSql += " ISCAN PRIMARY_FF_IDX2 ";
    strLetterColumn = std::string(szPrefix) + "lf_letter";
  } else {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPrimaryGetFastScrollIndex - FilterIndexType(%d) is invalid", pFilter->FilterIndexType);
    return -1;
  }
  strSql += " WHERE " + strLetterColumn + " < ? ";
  if (bGroup) {
    strSql += Format(" AND ctsvcprimary.id = ctsvcgroupmember.primary_id AND ctsvcgroupmember.group_id = %d",
                     pFilter->nGroupId);
  }
  strSql += PrimaryDetailConditions(*pFilter, szPrefix);
  return CtSvcQueryInt(strSql + " ORDER BY " + strLetterColumn, {Letter(pmszLetter)});
}

extern "C" int CtSvcDbPrimaryGetGroupLetters(const CtSvcPrimaryFilter* pFilter, MCHAR* pLetters, INT32* pCounts,
                                             int nCapacity) {
  if (!ZEL_REQUIRE(pFilter) || !ZEL_REQUIRE(pLetters) || !ZEL_REQUIRE(pCounts)) {
    return -1;
  }
  const bool bLastFirst = pFilter->FilterIndexType == CTSVC_FILTER_INDEX_LAST_FIRST;
  if (IsCountedFilter(*pFilter) && CtSvcLetterCountsReady()) {
    const int nDeviceType = CtSvcIsStoreDeviceType(pFilter->DevType) ? pFilter->DevType : -1;
    const int nLetters = ReadLetterRows(CtSvcLetterCountsSql(bLastFirst, nDeviceType), {}, pLetters, pCounts,
                                        nCapacity, "CtSvcDbPrimaryGetGroupLetters - Db2StmtGetNextRow < 1\n");
    if (nLetters >= 0) {
      return nLetters;
    }
  }
  const std::string strLetter = bLastFirst ? "LF_GROUP_LETTER" : "FL_GROUP_LETTER";
  const bool bGroup = pFilter->nGroupId > 0;
  std::string strSql =
      "SELECT " + strLetter + (bGroup ? ", count(DISTINCT ctsvcprimary.id)" : ", count(*)") + " FROM ctsvcprimary";
  std::vector<std::string> vcConditions;
  if (bGroup) {
    strSql += ", ctsvcgroupmember ISCAN GROUPMEMBER_IDX2";
    vcConditions.push_back(Format("ctsvcgroupmember.group_id = %d", pFilter->nGroupId) +
                           " and ctsvcgroupmember.primary_id = ctsvcprimary.id");
  } else {
    strSql += bLastFirst ? " ISCAN PRIMARY_GROUP_IDX2" : " ISCAN PRIMARY_GROUP_IDX1";
  }
  if (CtSvcIsStoreDeviceType(pFilter->DevType)) {
    vcConditions.push_back(Format("ctsvcprimary.device_type = %d", pFilter->DevType));
  }
  if (pFilter->nExceptPrimaryId > 0) {
    vcConditions.push_back(Format("ctsvcprimary.ID <> %d", pFilter->nExceptPrimaryId));
  }
  for (const auto& detail : kPrimaryDetail) {
    if (pFilter->FilterDetail & detail.nBit) {
      vcConditions.push_back(detail.szCondition);
    }
  }
  if (pFilter->bLocalPhoneDataOnly) {
    vcConditions.push_back("ctsvcprimary.FIRST_ACCOUNT_ID = -1");
  }
  if (pFilter->FavoriteType != 0) {
    vcConditions.push_back(Format("ctsvcprimary.FAVORITE = %d", pFilter->FavoriteType));
  }
  for (size_t i = 0; i < vcConditions.size(); ++i) {
    strSql += (i == 0 ? " WHERE " : " and ") + vcConditions[i];
  }
  strSql += " GROUP BY " + strLetter + " collation user1 order by " + strLetter;
  return ReadLetterRows(strSql, {}, pLetters, pCounts, nCapacity, "CtSvcDbPrimaryGetGroupLetters - Db2StmtGetNextRow < 1\n");
}

extern "C" int CtSvcDbPersonGetGroupLetters(const CtSvcPersonFilter* pFilter, MCHAR* pLetters, INT32* pCounts,
                                            int nCapacity) {
  if (!ZEL_REQUIRE(pFilter) || !ZEL_REQUIRE(pLetters) || !ZEL_REQUIRE(pCounts)) {
    return -1;
  }
  const bool bLastFirst = pFilter->FilterIndexType == CTSVC_FILTER_INDEX_LAST_FIRST;
  const std::string strColumn = bLastFirst ? "LF_GROUP_LETTER" : "FL_GROUP_LETTER";
  const std::string strHint = bLastFirst ? " ISCAN PERSON_GROUP_IDX2" : " ISCAN PERSON_GROUP_IDX1";
  const std::string strAccount = pFilter->nAccountId > 0 ? Format(" AND account_id = %d", pFilter->nAccountId) : "";
  // The distinct letters first, then the persons under each letter up to the next one.
  std::vector<std::u16string> vcLetters;
  {
    CCtSvcDb2Stmt stmt("SELECT distinct " + strColumn + " FROM ctsvcperson" + strHint + " WHERE " + strColumn +
                       " IS NOT NULL" + strAccount + " ORDER BY " + strColumn);
    const int nRows = stmt.IsValid() ? Db2StmtExecute(stmt.Get()) : -1;
    for (int i = 0; i < nRows; ++i) {
      if (Db2StmtGetNextRow(stmt.Get()) <= 0) {
        DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPersonGetGroupLetters - Db2StmtGetNextRow < 1\n");
        break;
      }
      CContent row;
      CtSvcReadRow(stmt.Get(), row);
      std::u16string strLetter;
      if (row.GetString(0, strLetter) && !strLetter.empty()) {
        vcLetters.push_back(strLetter.substr(0, 1));
      }
    }
    if (nRows < 0) {
      return -1;
    }
  }
  std::u16string strConverted;
  for (const std::u16string& strLetter : vcLetters) {
    strConverted += strLetter;
  }
  AcConvertRepresentChars(reinterpret_cast<MCHAR*>(strConverted.data()), static_cast<int>(strConverted.size()));
  const std::string strCount = "SELECT count(*) FROM ctsvcperson " + strHint + " WHERE " + strColumn;
  int nOut = 0;
  for (size_t i = 0; i < strConverted.size() && nOut < nCapacity; ++i) {
    const std::u16string strLetter(1, strConverted[i]);
    const bool bLast = i + 1 == strConverted.size();
    const int nCount = bLast ? CtSvcQueryInt(strCount + " >= ?" + strAccount, {strLetter})
                             : CtSvcQueryInt(strCount + " >= ? and " + strColumn + " < ?" + strAccount + " ORDER BY " + strColumn,
                                             {strLetter, std::u16string(1, strConverted[i + 1])});
    if (nCount <= 0) {
      continue;  // a letter that merged into the previous one
    }
    pLetters[nOut] = strConverted[i];
    pCounts[nOut] = nCount;
    ++nOut;
  }
  return nOut;
}

extern "C" int CtSvcDbPersonHandles(const CtSvcPersonFilter* pFilter, HOBJ* pHandles, int nCapacity) {
  if (!ZEL_REQUIRE(pHandles)) {
    return -1;
  }
  std::string strSql = "SELECT ID, DEVICE_TYPE FROM ctsvcperson";
  std::vector<std::u16string> vcArgs;
  if (pFilter != nullptr) {
    CCtSvcPersonFilter filter;
    filter.SetContentFilter(pFilter);
    const CContentFilter* pContent = filter.GetContentFilter();
    if (!pContent->GetWhere().empty()) {
      strSql += " WHERE " + pContent->GetWhere();
      vcArgs = pContent->GetWhereArg();
    }
  }
  std::vector<std::vector<int>> vcRows;
  if (!CtSvcQueryIntRows(strSql, vcArgs, 2, vcRows, nCapacity > 0 ? nCapacity : -1)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcDbPersonHandles - Db2StmtGetNextRow < 1\n");
    return -1;
  }
  for (size_t i = 0; i < vcRows.size(); ++i) {
    pHandles[i] = CTSVC_MAKE_HANDLE(vcRows[i][1], vcRows[i][0]);
  }
  return static_cast<int>(vcRows.size());
}
