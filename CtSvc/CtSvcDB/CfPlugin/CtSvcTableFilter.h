// Class templates under every concrete filter: a filter over one table keeps a copy of its C
// filter structure; a detail filter also carries a related filter on the owning persons, which,
// when it selects anything, replaces the filter's own conditions.
#ifndef CTSVC_TABLE_FILTER_H
#define CTSVC_TABLE_FILTER_H

#include <memory>
#include <string>
#include <vector>

#include "CtSvcDB/CfPlugin/CtSvcCFFilter.h"
#include "CtSvcDB/CfPlugin/CtSvcFilterConditions.h"
#include "CtSvcDB/CfPlugin/CtSvcFilterTraits.h"
#include "CtSvcDB/CfPlugin/CtSvcRelatedFilter.h"
#include "ZelDebug.h"

// Setters of the C structure's fields, one line each.
#define CTSVC_FILTER_INT_SETTER(Name, field) \
  void Set##Name(int nValue) { this->m_Filter.field = nValue; }
#define CTSVC_FILTER_TEXT_SETTER(Name, field) \
  void Set##Name(const char* pszValue) { CtSvcCopyFilterText(this->m_Filter.field, pszValue); }
#define CTSVC_FILTER_DATE_SETTER(Name, field) \
  void Set##Name(const TmDateTime& dtValue) { this->m_Filter.field = dtValue; }

// Derived names its log line in kWhereLog ("CCtSvcXFilter::BuildContentFilter Where == %s\n").
template <typename Derived, typename S>
class CCtSvcTableFilter : public CCtSvcCFFilter {
 public:
  using Traits = CtSvcFilterTraits<S>;

  CCtSvcTableFilter() { Traits::Init(&m_Filter); }

  std::unique_ptr<CCtSvcCFFilter> Clone() const override {
    return std::make_unique<Derived>(static_cast<const Derived&>(*this));
  }
  const char* GetTableName() const override {
    CCtSvcDbTable* pTable = CtSvcGetFilterTable(Traits::kTable);
    return pTable != nullptr ? pTable->GetTableName() : "";
  }
  const char* GetIDColumnName() const override {
    CCtSvcDbTable* pTable = CtSvcGetFilterTable(Traits::kTable);
    return pTable != nullptr ? pTable->GetIDColumnName() : "";
  }

  // Copies the structure field by field (null or the filter's own copy: nothing happens).
  BOOL SetContentFilter(const S* pFilter) {
    if (pFilter != nullptr && pFilter != &m_Filter) {
      m_Filter = *pFilter;
      Traits::TerminateTexts(m_Filter);
    }
    return TRUE;
  }
  const S& GetFilter() const { return m_Filter; }

 protected:
  // Replaces the content filter by the built conditions and logs the WHERE text.
  BOOL _Finish(const CCtSvcFilterConditions& conditions) {
    m_ContentFilter = CContentFilter();
    conditions.ApplyTo(m_ContentFilter);
    DbgPrint(DBG_CLASS_TRACE, Derived::kWhereLog, m_ContentFilter.GetWhere().c_str());
    return TRUE;
  }

  S m_Filter;
};

template <typename Derived, typename S>
class CCtSvcDetailFilter : public CCtSvcTableFilter<Derived, S> {
 public:
  using Traits = CtSvcFilterTraits<S>;
  using CCtSvcTableFilter<Derived, S>::SetContentFilter;

  // The related person filter made from the structure (null: none).
  BOOL SetContentFilter(const CtSvcPersonFilter* pPersonFilter) { return m_RelatedFilter.SetPersonFilter(pPersonFilter); }
  BOOL SetRelatedFilter(const CCtSvcCFFilter* pFilter) { return m_RelatedFilter.SetRelatedFilter(pFilter); }

  BOOL BuildContentFilter() override {
    CCtSvcFilterConditions conditions(Traits::kTable);
    std::string strNested;
    std::vector<std::u16string> vcNestedArgs;
    if (m_RelatedFilter.GetNestedQueryString(strNested, vcNestedArgs)) {
      conditions.AddCondition(conditions.Column(Traits::kPersonColumn) + " IN " + strNested, vcNestedArgs);
    } else {
      _AddConditions(conditions);
    }
    return this->_Finish(conditions);
  }

 protected:
  // The filter's own conditions, in their fixed order.
  virtual void _AddConditions(CCtSvcFilterConditions& conditions) const = 0;

  CCtSvcRelatedFilter m_RelatedFilter;
};

#endif
