#include "CtSvcDB/CfPlugin/CtSvcFilterRules.h"

#include "CtSvcTypes.h"

namespace {

bool IsSet(CtSvcFilterRuleKind eKind, const CtSvcFilterRuleValue& value) {
  switch (eKind) {
    case CTSVC_FILTER_RULE_ID:
      return value.nValue > 0;
    case CTSVC_FILTER_RULE_SLOT:
      return value.nValue != -1;
    case CTSVC_FILTER_RULE_TYPE:
    case CTSVC_FILTER_RULE_EXCEPT_NOT_ASSIGNED:
      return value.nValue != 0;
    case CTSVC_FILTER_RULE_LOCAL_ONLY:
    case CTSVC_FILTER_RULE_HAS_TEXT:
      return value.nValue == 1;
    case CTSVC_FILTER_RULE_TEXT:
    case CTSVC_FILTER_RULE_TEXT_MATCH:
      return value.pszText != nullptr && value.pszText[0] != '\0';
  }
  return false;
}

}  // namespace

bool CtSvcAddRuleCondition(CCtSvcFilterConditions& conditions, CtSvcFilterRuleKind eKind, int nColumn,
                           const CtSvcFilterRuleValue& value, int nEscapeSize) {
  if (!IsSet(eKind, value)) {
    return false;
  }
  switch (eKind) {
    case CTSVC_FILTER_RULE_ID:
    case CTSVC_FILTER_RULE_SLOT:
    case CTSVC_FILTER_RULE_TYPE:
      conditions.AddIntEqual(nColumn, value.nValue);
      break;
    case CTSVC_FILTER_RULE_LOCAL_ONLY:
      conditions.AddColumnForm("%s.%s < 1", nColumn);
      break;
    case CTSVC_FILTER_RULE_EXCEPT_NOT_ASSIGNED:
      conditions.AddIntForm("%s.%s > %d", nColumn, CTSVC_NOT_ASSIGNED_GROUP_ID);
      break;
    case CTSVC_FILTER_RULE_HAS_TEXT:
      conditions.AddColumnForm("(%s.%s > n'')", nColumn);
      break;
    case CTSVC_FILTER_RULE_TEXT:
      conditions.AddTextEqual(nColumn, value.pszText);
      break;
    case CTSVC_FILTER_RULE_TEXT_MATCH:
      conditions.AddTextMatch(nColumn, value.pszText, value.nTruncation, nEscapeSize);
      break;
  }
  return true;
}
