// Lists, rows and counts per C filter structure: the URI each structure reads, its filter class,
// and the order and index hint of detail lists that belong to one person.
#include <cstdio>
#include <memory>
#include <string>

#include "CtSvcDB/CfPlugin/CtSvcContactDataFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcContentHandlerFactory.h"
#include "CtSvcDB/CfPlugin/CtSvcDetailFilters.h"
#include "CtSvcDB/CfPlugin/CtSvcFdnFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcGroupFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcPersonFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcPrimaryFilter.h"
#include "CtSvcDbMgr.h"
#include "ZelDebug.h"
#include "ZelGWESCore.h"

namespace {

// What a filter structure reads.
struct ListTarget {
  std::string strUri;
  std::unique_ptr<CCtSvcCFFilter> pFilter;
  const char* szOrderBy;  // applied when the filter sets no order of its own
  const char* szHint;
};

template <typename S>
struct ListTraits;

#define CTSVC_LIST_TRAITS(S, FilterClass, uri, orderBy, hint)  \
  template <>                                                 \
  struct ListTraits<S> {                                      \
    using Filter = FilterClass;                               \
    static constexpr const char* kUri = uri;                  \
    static constexpr const char* kOrderBy = orderBy;          \
    static constexpr const char* kHint = hint;                \
  }

CTSVC_LIST_TRAITS(CtSvcPersonFilter, CCtSvcPersonFilter, "CtSvc/Person", nullptr, nullptr);
CTSVC_LIST_TRAITS(CtSvcPrimaryFilter, CCtSvcPrimaryFilter, "CtSvc/Primary", nullptr, nullptr);
CTSVC_LIST_TRAITS(CtSvcPhoneNumberFilter, CCtSvcPhoneNumberFilter, "CtSvc/PhoneNumber", "PERSON_ID", "CONTACTDATA_IDX5");
CTSVC_LIST_TRAITS(CtSvcEmailFilter, CCtSvcEmailFilter, "CtSvc/Email", "PERSON_ID", "CONTACTDATA_IDX5");
CTSVC_LIST_TRAITS(CtSvcPostalAddressFilter, CCtSvcPostalAddressFilter, "CtSvc/PostalAddress", "PERSON_ID",
                  "POSTALADDR_IDX1");
CTSVC_LIST_TRAITS(CtSvcEtcDataFilter, CCtSvcEtcDataFilter, "CtSvc/EtcData", "PERSON_ID", "ETCDATA_IDX1");
CTSVC_LIST_TRAITS(CtSvcIMFilter, CCtSvcIMFilter, "CtSvc/IM", "PERSON_ID", "IM_IDX1");
CTSVC_LIST_TRAITS(CtSvcGroupFilter, CCtSvcGroupFilter, "CtSvc/Group", nullptr, nullptr);
CTSVC_LIST_TRAITS(CtSvcGroupMemberFilter, CCtSvcGroupMemberFilter, "CtSvc/GroupMember", nullptr, nullptr);
CTSVC_LIST_TRAITS(CtSvcFdnFilter, CCtSvcFdnFilter, "CtSvc/Fdn", nullptr, nullptr);
CTSVC_LIST_TRAITS(CtSvcRcsFilter, CCtSvcRcsFilter, "CtSvc/Rcs", nullptr, nullptr);
CTSVC_LIST_TRAITS(CtSvcSnsDataFilter, CCtSvcSnsDataFilter, "CtSvc/SnsData", nullptr, nullptr);
CTSVC_LIST_TRAITS(CtSvcSpeedDialFilter, CCtSvcSpeedDialFilter, "CtSvc/SpeedDial", nullptr, nullptr);

#undef CTSVC_LIST_TRAITS

template <typename S>
ListTarget MakeTarget(const S* pFilter) {
  using Traits = ListTraits<S>;
  auto pTyped = std::make_unique<typename Traits::Filter>();
  pTyped->SetContentFilter(pFilter);
  return ListTarget{Traits::kUri, std::move(pTyped), Traits::kOrderBy, Traits::kHint};
}

// Primaries of a group are read through the two-table URI.
template <>
ListTarget MakeTarget(const CtSvcPrimaryFilter* pFilter) {
  if (pFilter != nullptr && pFilter->nGroupId > 0) {
    auto pTyped = std::make_unique<CCtSvcPrimaryGroupMemberFilter>();
    pTyped->SetContentFilter(pFilter);
    return ListTarget{"CtSvc/PrimaryGroupMember", std::move(pTyped), nullptr, nullptr};
  }
  auto pTyped = std::make_unique<CCtSvcPrimaryFilter>();
  pTyped->SetContentFilter(pFilter);
  return ListTarget{"CtSvc/Primary", std::move(pTyped), nullptr, nullptr};
}

// The content filter of a target, with the table's order and hint when the filter has none.
CContentFilter ContentFilterOf(ListTarget& target) {
  CContentFilter filter = *target.pFilter->GetContentFilter();
  if (filter.GetOrderBy().empty() && target.szOrderBy != nullptr) {
    filter.SetOrderBy(target.szOrderBy);
    if (filter.GetHint().empty()) {
      filter.SetHint(target.szHint);
    }
  }
  return filter;
}

// Rows of the list whose display name sorts before the name.
int CountBeforeName(IContentList* pList, const CtSvcPersonFilterName* pNameFilter, CCtSvcDbTable* pTable,
                    int nFlColumn, int nLfColumn) {
  const int nColumn = pNameFilter->NameOrder == CTSVC_FILTER_NAME_ORDER_FIRST_LAST ? nFlColumn : nLfColumn;
  char szCondition[128];
  std::snprintf(szCondition, sizeof(szCondition), "%s.%s < ?", pTable->GetTableName(), pTable->GetColumnName(nColumn));
  CContentFilter filter = pList->GetFilter();
  const std::string strWhere = filter.GetWhere();
  filter.SetWhere(strWhere.empty() ? std::string(szCondition) : strWhere + " and " + szCondition);
  MCHAR szName[CTSVC_FILTER_DISPLAY_NAME_SIZE] = {};
  WmConvert2PCode(szName, CTSVC_FILTER_DISPLAY_NAME_SIZE, pNameFilter->szDisplayName);
  filter.AddWhereArg(szName);
  filter.SetOrderBy("");
  return CContentMgr::Instance()->GetCount(pList->GetURI(), &filter);
}

}  // namespace

// A list reloads its rows after a change of any table it reads: besides its own URI (which the
// framework follows) those of the tables its filter names, such as the memberships of a list
// filtered by group.
template <typename S>
IContentList* CCtSvcDbMgr::CreateList(const S* pFilter) {
  ListTarget target = MakeTarget(pFilter);
  const CContentFilter filter = ContentFilterOf(target);
  IContentList* pList = CContentMgr::Instance()->OpenList(target.strUri, &filter);
  if (pList == nullptr) {
    return nullptr;
  }
  for (const CtSvcListSource& source : CCtSvcContentHandlerFactory::FindListSources(target.strUri, filter.GetWhere())) {
    if (source.strUri != target.strUri) {
      CContentMgr::Instance()->RegisterObserver(source.strUri, pList->GetObserver());
    }
  }
  return pList;
}

template <typename S>
BOOL CCtSvcDbMgr::GetRows(const S* pFilter, std::vector<CContent>& vcRows) {
  ListTarget target = MakeTarget(pFilter);
  const CContentFilter filter = ContentFilterOf(target);
  return CContentMgr::Instance()->GetContents(target.strUri, &filter, vcRows) ? TRUE : FALSE;
}

template <typename S>
int CCtSvcDbMgr::GetCount(const S* pFilter) {
  ListTarget target = MakeTarget(pFilter);
  CContentFilter filter = ContentFilterOf(target);
  filter.SetOrderBy("");
  return CContentMgr::Instance()->GetCount(target.strUri, &filter);
}

int CCtSvcDbMgr::GetPersonListIndexFromName(IContentList* pList, const CtSvcPersonFilterName* pNameFilter) {
  if (pList == nullptr || pNameFilter == nullptr || pNameFilter->szDisplayName[0] == '\0') {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::GetPersonListIndexFromName - pNameFilter->szDisplayName is NULL \n");
    return -1;
  }
  return CountBeforeName(pList, pNameFilter, GetDBTable(CTSVC_DB_TABLE_PERSON), CTSVC_DB_PERSON_COLUMN_FL_FULLNAME,
                         CTSVC_DB_PERSON_COLUMN_LF_FULLNAME);
}

int CCtSvcDbMgr::GetPrimaryListIndexFromName(IContentList* pList, const CtSvcPersonFilterName* pNameFilter) {
  if (pList == nullptr || pNameFilter == nullptr || pNameFilter->szDisplayName[0] == '\0') {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcDbMgr::GetPrimaryListIndexFromName - pNameFilter->szDisplayName is NULL \n");
    return -1;
  }
  return CountBeforeName(pList, pNameFilter, GetDBTable(CTSVC_DB_TABLE_PRIMARY), CTSVC_DB_PRIMARY_COLUMN_FL_FULLNAME,
                         CTSVC_DB_PRIMARY_COLUMN_LF_FULLNAME);
}

#define CTSVC_INSTANTIATE_LISTS(S)                                                     \
  template IContentList* CCtSvcDbMgr::CreateList<S>(const S*);                        \
  template BOOL CCtSvcDbMgr::GetRows<S>(const S*, std::vector<CContent>&);            \
  template int CCtSvcDbMgr::GetCount<S>(const S*);

CTSVC_INSTANTIATE_LISTS(CtSvcPersonFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcPrimaryFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcPhoneNumberFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcEmailFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcPostalAddressFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcEtcDataFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcIMFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcGroupFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcGroupMemberFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcFdnFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcRcsFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcSnsDataFilter)
CTSVC_INSTANTIATE_LISTS(CtSvcSpeedDialFilter)

#undef CTSVC_INSTANTIATE_LISTS
