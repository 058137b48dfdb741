// Table-driven conditions: a filter lists, in order, which field of its C structure adds which
// condition on which column. CtSvcApplyFilterRules walks the list with the shared builder.
#ifndef CTSVC_FILTER_RULES_H
#define CTSVC_FILTER_RULES_H

#include <cstddef>

#include "CtSvcDB/CfPlugin/CtSvcFilterConditions.h"
#include "ZelTypes.h"

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

// The values one rule reads from a filter structure.
struct CtSvcFilterRuleValue {
  int nValue;
  const char* pszText;
  int nTruncation;
};

// Adds the condition of a rule kind when its value is set; true when it did.
bool CtSvcAddRuleCondition(CCtSvcFilterConditions& conditions, CtSvcFilterRuleKind eKind, int nColumn,
                           const CtSvcFilterRuleValue& value, int nEscapeSize);

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

  constexpr CtSvcFilterRule OrderedBy(int nColumnToOrder) const {
    CtSvcFilterRule rule = *this;
    rule.nOrderColumn = nColumnToOrder;
    return rule;
  }
  constexpr CtSvcFilterRule WithHint() const {
    CtSvcFilterRule rule = *this;
    rule.bHint = true;
    return rule;
  }
};

template <typename S>
constexpr CtSvcFilterRule<S> CtSvcIntRule(CtSvcFilterRuleKind eKind, int nColumn, INT32 S::*pnValue) {
  return {eKind, nColumn, pnValue, nullptr, nullptr, 0, -1, false};
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

template <typename S, size_t N>
void CtSvcApplyFilterRules(const S& filter, const CtSvcFilterRule<S> (&rules)[N], CCtSvcFilterConditions& conditions) {
  for (const CtSvcFilterRule<S>& rule : rules) {
    const CtSvcFilterRuleValue value = {rule.pnValue != nullptr ? filter.*rule.pnValue : 0,
                                        rule.pfnText != nullptr ? rule.pfnText(filter) : "",
                                        rule.pnTruncation != nullptr ? filter.*rule.pnTruncation : 0};
    if (!CtSvcAddRuleCondition(conditions, rule.eKind, rule.nColumn, value, rule.nEscapeSize)) {
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
