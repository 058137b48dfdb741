// The URI table of the provider "CtSvc" and the factory that serves it.
#include "CtSvcContentHandlerFactory.h"

#include <array>
#include <cctype>
#include <cstring>
#include <strings.h>
#include <utility>

#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "ZelDebug.h"

namespace {

// Tested in this order; a URI matches an entry when it equals it or continues it with "/".
const CtSvcHandlerDesc kHandlers[] = {
    {"CtSvc/Person", "CCtSvcPersonHandler", CTSVC_DB_TABLE_PERSON, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/PhoneNumber", "CCtSvcPhoneNumberHandler", CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/Email", "CCtSvcEmailHandler", CTSVC_DB_TABLE_CONTACTDATA, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/PostalAddress", "CCtSvcPostalAddressHandler", CTSVC_DB_TABLE_POSTALADDRESS, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/Group", "CCtSvcGroupHandler", CTSVC_DB_TABLE_GROUP, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/GroupMember", "CCtSvcGroupMemberHandler", CTSVC_DB_TABLE_GROUPMEMBER, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/EtcData", "CCtSvcEtcDataHandler", CTSVC_DB_TABLE_ETCDATA, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/Fdn", "CCtSvcFdnHandler", CTSVC_DB_TABLE_FDN, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/Rcs", "CCtSvcRcsHandler", CTSVC_DB_TABLE_RCS, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/SpeedDial", "CCtSvcSpeedDialHandler", CTSVC_DB_TABLE_SPEEDDIAL, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/Primary", "CCtSvcPrimaryHandler", CTSVC_DB_TABLE_PRIMARY, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/PrimaryGroupMember", "CCtSvcPrimaryGroupMemberHandler", CTSVC_DB_TABLE_PRIMARY,
     CTSVC_DB_TABLE_GROUPMEMBER},
    {"CtSvc/IM", "CCtSvcIMHandler", CTSVC_DB_TABLE_IM, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/SnsData", "CCtSvcSnsDataHandler", CTSVC_DB_TABLE_SNSDATA, CTSVC_DB_TABLE_INVALID},
    {"CtSvc/DeleteAccount", "CCtSvcDeleteAccountHandler", CTSVC_DB_TABLE_DELETEACCOUNT, CTSVC_DB_TABLE_INVALID},
};
constexpr size_t kHandlerCount = sizeof(kHandlers) / sizeof(kHandlers[0]);

bool Matches(const std::string& strUri, const char* szEntry) {
  const std::string strEntry = szEntry;
  return strUri.compare(0, strEntry.size(), strEntry) == 0 &&
         (strUri.size() == strEntry.size() || strUri[strEntry.size()] == '/');
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

// Whether the text names the table as a whole word (case aside): "CtSvcGroup" is not named by
// "CtSvcGroupMember.GROUP_ID".
bool NamesTable(const std::string& strText, const char* szTable) {
  const size_t nLength = std::strlen(szTable);
  for (size_t nPos = 0; nPos + nLength <= strText.size(); ++nPos) {
    if (strncasecmp(strText.c_str() + nPos, szTable, nLength) == 0 && (nPos == 0 || !IsWordChar(strText[nPos - 1])) &&
        (nPos + nLength == strText.size() || !IsWordChar(strText[nPos + nLength]))) {
      return true;
    }
  }
  return false;
}

bool ReadsTable(const CtSvcHandlerDesc& list, const std::string& strWhere, CtSvcDbTableType nTable) {
  if (nTable == list.nTable || nTable == list.nJoinedTable) {
    return true;
  }
  CCtSvcDbTable* pTable = CCtSvcDbMgr::Instance()->GetDBTable(nTable);
  return pTable != nullptr && NamesTable(strWhere, pTable->GetTableName());
}

using Maker = std::unique_ptr<IContentHandler> (*)(const std::string&);

template <int ENTRY>
std::unique_ptr<IContentHandler> Make(const std::string& strUri) {
  return std::make_unique<CCtSvcHandler<ENTRY>>(strUri);
}

template <size_t... I>
constexpr std::array<Maker, sizeof...(I)> MakeMakers(std::index_sequence<I...>) {
  return {&Make<static_cast<int>(I)>...};
}

const std::array<Maker, kHandlerCount> kMakers = MakeMakers(std::make_index_sequence<kHandlerCount>{});

}  // namespace

const CtSvcHandlerDesc& CtSvcGetHandlerDesc(int nEntry) { return kHandlers[nEntry]; }

const CtSvcHandlerDesc* CCtSvcContentHandlerFactory::FindHandlerDesc(const std::string& strUri) {
  for (const CtSvcHandlerDesc& desc : kHandlers) {
    if (Matches(strUri, desc.szUri)) {
      return &desc;
    }
  }
  return nullptr;
}

std::vector<CtSvcListSource> CCtSvcContentHandlerFactory::FindListSources(const std::string& strUri,
                                                                           const std::string& strWhere) {
  std::vector<CtSvcListSource> vcSources;
  const CtSvcHandlerDesc* pList = FindHandlerDesc(strUri);
  if (pList == nullptr) {
    return vcSources;
  }
  for (const CtSvcHandlerDesc& desc : kHandlers) {
    // The two-table URI is never written: its tables change through their own URIs.
    if (desc.nJoinedTable != CTSVC_DB_TABLE_INVALID || !ReadsTable(*pList, strWhere, desc.nTable)) {
      continue;
    }
    const bool bRowTable = desc.nTable == pList->nTable;
    // A sibling URI of the list's own table (phone numbers beside e-mails) writes other rows.
    if (bRowTable && pList->nJoinedTable == CTSVC_DB_TABLE_INVALID && &desc != pList) {
      continue;
    }
    vcSources.push_back(CtSvcListSource{desc.szUri, bRowTable});
  }
  return vcSources;
}

std::unique_ptr<IContentHandler> CCtSvcContentHandlerFactory::Create(const std::string& strUri) {
  for (size_t i = 0; i < kHandlerCount; ++i) {
    if (!Matches(strUri, kHandlers[i].szUri)) {
      continue;
    }
    std::unique_ptr<IContentHandler> pHandler = kMakers[i](strUri);
    if (!pHandler) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcContentHandlerFactory::Create - new %s failed", kHandlers[i].szClassName);
      return nullptr;
    }
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcContentHandlerFactory::Create - new %s\n", kHandlers[i].szClassName);
    return pHandler;
  }
  DbgPrint(DBG_CLASS_FAIL, "CCtSvcContentHandlerFactory::Create - unknown URI(%s)\n", strUri.c_str());
  return nullptr;
}
