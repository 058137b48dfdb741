// Table-driven conditions: a filter lists, in order, which field of its C structure adds which
// condition on which column. CtSvcApplyFilterRules walks the list with the shared builder.
#ifndef CTSVC_FILTER_RULES_H
#define CTSVC_FILTER_RULES_H

#include <cstddef>
#include <string>

#include "CtSvcDB/CfPlugin/CtSvcFilterConditions.h"
#include "CtSvcFilter.h"
#include "CtSvcTypes.h"

enum CtSvcFilterRuleKind {
  CTSVC_FILTER_RULE_ID,                  // value > 0: "%s.%s = %d"
  CTSVC_FILTER_RULE_SLOT,                // value != -1: "%s.%s = %d"
  CTSVC_FILTER_RULE_TYPE,                // value != 0: "%s.%s = %d"
  CTSVC_FILTER_RULE_LOCAL_ONLY,          // value == 1: "%s.%s < 1" (rows of no account)
  CTSVC_FILTER_RULE_EXCEPT_NOT_ASSIGNED, // value != 0: "%s.%s > %d" with the not-assigned group
  CTSVC_FILTER_RULE_HAS_TEXT,            // value == 1: "(%s.%s > n'')"
  CTSVC_FILTER_RULE_TEXT,                // text not empty: "%s.%s = ?"
  CTSVC_FILTER_RULE_TEXT_MATCH           // text not empty: by the truncation field
};

template <typename S>
struct CtSvcFilterRule {
  CtSvcFilterRuleKind eKind;
  int nColumn;
  INT32 S::*pnValue;                // integer field
  const char* (*pfnText)(const S&); // text field
  INT32 S::*pnTruncation;           // CTSVC_FILTER_RULE_TEXT_MATCH
  int nEscapeSize;                  // CTSVC_FILTER_RULE_TEXT_MATCH
  int nOrderColumn;                 // >= 0: ORDER BY this column when the rule applies
  bool bHint;                       // hint the index on nColumn when the rule applies
};

template <typename S>
constexpr CtSvcFilterRule<S> CtSvcIntRule(CtSvcFilterRuleKind eKind, int nColumn, INT32 S::*pnValue,
                                          int nOrderColumn = -1, bool bHint = false) {
  return {eKind, nColumn, pnValue, nullptr, nullptr, 0, nOrderColumn, bHint};
}

template <typename S>
constexpr CtSvcFilterRule<S> CtSvcTextRule(int nColumn, const char* (*pfnText)(const S&)) {
  return {CTSVC_FILTER_RULE_TEXT, nColumn, nullptr, pfnText, nullptr, 0, -1, false};
}

template <typename S>
constexpr CtSvcFilterRule<S> CtSvcMatchRule(int nColumn, const char* (*pfnText)(const S&), INT32 S::*pnTruncation,
                                            int nEscapeSize) {
  return {CTSVC_FILTER_RULE_TEXT_MATCH, nColumn, nullptr, pfnText, pnTruncation, nEscapeSize, -1, false};
}

// The accessor of a text field, for CtSvcTextRule and CtSvcMatchRule.
#define CTSVC_FILTER_TEXT(S, field) [](const S& filter) -> const char* { return filter.field; }

// Adds the rule's condition when its field is set; true when it did.
template <typename S>
bool CtSvcApplyFilterRule(const S& filter, const CtSvcFilterRule<S>& rule, CCtSvcFilterConditions& conditions) {
  const int nValue = rule.pnValue != nullptr ? filter.*rule.pnValue : 0;
  const char* pszText = rule.pfnText != nullptr ? rule.pfnText(filter) : "";
  switch (rule.eKind) {
    case CTSVC_FILTER_RULE_ID:
      if (nValue <= 0) return false;
      conditions.AddIntEqual(rule.nColumn, nValue);
      return true;
    case CTSVC_FILTER_RULE_SLOT:
      if (nValue == -1) return false;
      conditions.AddIntEqual(rule.nColumn, nValue);
      return true;
    case CTSVC_FILTER_RULE_TYPE:
      if (nValue == 0) return false;
      conditions.AddIntEqual(rule.nColumn, nValue);
      return true;
    case CTSVC_FILTER_RULE_LOCAL_ONLY:
      if (nValue != 1) return false;
      conditions.AddColumnForm("%s.%s < 1", rule.nColumn);
      return true;
    case CTSVC_FILTER_RULE_EXCEPT_NOT_ASSIGNED:
      if (nValue == 0) return false;
      conditions.AddIntForm("%s.%s > %d", rule.nColumn, CTSVC_NOT_ASSIGNED_GROUP_ID);
      return true;
    case CTSVC_FILTER_RULE_HAS_TEXT:
      if (nValue != 1) return false;
      conditions.AddColumnForm("(%s.%s > n'')", rule.nColumn);
      return true;
    case CTSVC_FILTER_RULE_TEXT:
      if (pszText == nullptr || *pszText == '\0') return false;
      conditions.AddTextEqual(rule.nColumn, pszText);
      return true;
    case CTSVC_FILTER_RULE_TEXT_MATCH:
      if (pszText == nullptr || *pszText == '\0') return false;
      conditions.AddTextMatch(rule.nColumn, pszText, filter.*rule.pnTruncation, rule.nEscapeSize);
      return true;
  }
  return false;
}

template <typename S, size_t N>
void CtSvcApplyFilterRules(const S& filter, const CtSvcFilterRule<S> (&rules)[N], CCtSvcFilterConditions& conditions) {
  for (const CtSvcFilterRule<S>& rule : rules) {
    if (!CtSvcApplyFilterRule(filter, rule, conditions)) {
      continue;
    }
    if (rule.nOrderColumn >= 0) {
      conditions.SetOrderByColumn(rule.nOrderColumn);
    }
    if (rule.bHint) {
      conditions.SetHintForColumn(rule.nColumn);
    }
  }
}

#endif
