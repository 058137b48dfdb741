#include "CtSvcDB/CfPlugin/CtSvcPrimaryFilter.h"

#include "CtSvcDB/CfPlugin/CtSvcNameFilterParts.h"
#include "CtSvcDB/Records/CtSvcRecordText.h"

namespace {

// Value of the favourite column for a favourite contact.
constexpr int kFavorite = 2;
// The full name of a contact without a name.
const std::u16string kNoName(1, u'\uFFFF');

const CtSvcNameColumns kPrimaryNameColumns = {CTSVC_DB_PRIMARY_COLUMN_FL_FULLNAME, CTSVC_DB_PRIMARY_COLUMN_LF_FULLNAME,
                                              CTSVC_DB_PRIMARY_COLUMN_FL_LETTER, CTSVC_DB_PRIMARY_COLUMN_LF_LETTER};
const CtSvcDetailColumns kPrimaryDetailColumns = {CTSVC_DB_PRIMARY_COLUMN_HAS_PH, CTSVC_DB_PRIMARY_COLUMN_HAS_EMAIL,
                                                  CTSVC_DB_PRIMARY_COLUMN_HAS_ADDR, -1};

void AddDetailConditions(CCtSvcFilterConditions& conditions, int nFilterDetail) {
  if ((nFilterDetail & CTSVC_PRIMARY_FILTER_DETAIL_HAS_NAME) != 0) {
    conditions.AddArgForm("(%s.%s <> ?)", CTSVC_DB_PRIMARY_COLUMN_FL_FULLNAME, kNoName);
  }
  CtSvcAddDetailConditions(conditions, nFilterDetail, kPrimaryDetailColumns);
}

// The letter column holds the representative characters of the name's first two units, so a
// search text that starts the name pins its letter key. A suffix or contains search, or a prefix
// shorter than the key, says nothing about the key and adds no letter condition.
bool PinsLetterKey(const CtSvcPersonFilterName& name, const std::u16string& strLetters) {
  switch (name.NameTruncation) {
    case CTSVC_FILTER_TRUNCATION_EXACT:
      return true;
    case CTSVC_FILTER_TRUNCATION_SUFFIX:
    case CTSVC_FILTER_TRUNCATION_CONTAINS:
      return false;
    default:
      return strLetters.size() >= 2;
  }
}

}  // namespace

BOOL CCtSvcPrimaryFilter::BuildContentFilter() {
  CCtSvcFilterConditions conditions(CTSVC_DB_TABLE_PRIMARY);
  if (m_Filter.nPrimaryId != -1) {
    conditions.AddIntEqual(CTSVC_DB_PRIMARY_COLUMN_ID, m_Filter.nPrimaryId);
  }
  if (m_Filter.DevType != CTSVC_USE_TYPE_NONE) {
    conditions.AddIntEqual(CTSVC_DB_PRIMARY_COLUMN_DEVICE_TYPE, m_Filter.DevType);
  }
  AddDetailConditions(conditions, m_Filter.FilterDetail);
  if (m_Filter.FavoriteType != 0) {
    conditions.AddIntEqual(CTSVC_DB_PRIMARY_COLUMN_FAVORITE, m_Filter.FavoriteType);
  }
  if (m_Filter.szCallerImage[0] != '\0') {
    conditions.AddTextEqual(CTSVC_DB_PRIMARY_COLUMN_CALLER_IMAGE, m_Filter.szCallerImage);
  }
  _AddNameConditions(conditions);
  _AddLinkCountConditions(conditions);
  if (m_Filter.nGroupId > 0) {
    conditions.AddSubSelect(CTSVC_DB_PRIMARY_COLUMN_ID, CTSVC_DB_TABLE_GROUPMEMBER,
                            CTSVC_DB_GRPMEMBER_COLUMN_PRIMARY_ID, CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID, m_Filter.nGroupId);
  }
  if (m_Filter.bLocalPhoneDataOnly == 1) {
    conditions.AddColumnForm("%s.%s < 1", CTSVC_DB_PRIMARY_COLUMN_FIRST_ACCOUNT_ID);
  }
  if (m_Filter.bFavoriteOrder == 1) {
    conditions.AddIntEqual(CTSVC_DB_PRIMARY_COLUMN_FAVORITE, kFavorite);
    conditions.SetOrderByColumn(CTSVC_DB_PRIMARY_COLUMN_FAVORITE_ORDER);
  }
  if (m_Filter.nExceptPrimaryId > 0) {
    conditions.AddIntForm("%s.%s <> %d", CTSVC_DB_PRIMARY_COLUMN_ID, m_Filter.nExceptPrimaryId);
  }
  // A favourite list keeps its favourite order; otherwise the name index of the index type.
  if (!conditions.HasOrderOrHint()) {
    CtSvcSetNameIndexOrder(conditions, m_Filter.FilterIndexType, kPrimaryNameColumns);
  }
  return _Finish(conditions);
}

void CCtSvcPrimaryFilter::_AddNameConditions(CCtSvcFilterConditions& conditions) const {
  if (!CtSvcAddDisplayNameCondition(conditions, m_Filter.NameFilter, kPrimaryNameColumns)) {
    return;
  }
  const std::u16string strLetters = CtSvcNameLetters(CtSvcToPCode(m_Filter.NameFilter.szDisplayName));
  if (strLetters.empty()) {
    return;
  }
  if (PinsLetterKey(m_Filter.NameFilter, strLetters)) {
    conditions.AddArgForm("(%s.%s = ?)", CtSvcLetterColumn(m_Filter.NameFilter, kPrimaryNameColumns), strLetters);
  }
}

void CCtSvcPrimaryFilter::_AddLinkCountConditions(CCtSvcFilterConditions& conditions) const {
  if (m_Filter.nLinkCountEqual > 0) {
    conditions.AddIntForm("(%s.%s = %d)", CTSVC_DB_PRIMARY_COLUMN_LINK_COUNT, m_Filter.nLinkCountEqual);
  }
  if (m_Filter.nLinkCountMore > 0) {
    conditions.AddIntForm("(%s.%s > %d)", CTSVC_DB_PRIMARY_COLUMN_LINK_COUNT, m_Filter.nLinkCountMore);
  }
  if (m_Filter.nLinkCountLess > 0) {
    conditions.AddIntForm("(%s.%s < %d)", CTSVC_DB_PRIMARY_COLUMN_LINK_COUNT, m_Filter.nLinkCountLess);
  }
}

BOOL CCtSvcPrimaryGroupMemberFilter::BuildContentFilter() {
  CCtSvcFilterConditions conditions(CTSVC_DB_TABLE_PRIMARY);
  if (ZEL_REQUIRE_TEXT(m_Filter.nGroupId > 0, "m_PrimaryFilter.nGroupId > 0")) {
    const CCtSvcFilterConditions member(CTSVC_DB_TABLE_GROUPMEMBER);
    conditions.AddCondition(CtSvcFormat("%s = %s and %s = %d", conditions.Column(CTSVC_DB_PRIMARY_COLUMN_ID).c_str(),
                                        member.Column(CTSVC_DB_GRPMEMBER_COLUMN_PRIMARY_ID).c_str(),
                                        member.Column(CTSVC_DB_GRPMEMBER_COLUMN_GROUP_ID).c_str(), m_Filter.nGroupId));
  }
  if (m_Filter.DevType != CTSVC_USE_TYPE_NONE) {
    conditions.AddIntEqual(CTSVC_DB_PRIMARY_COLUMN_DEVICE_TYPE, m_Filter.DevType);
  }
  AddDetailConditions(conditions, m_Filter.FilterDetail);
  // Both tables have ID and DEVICE_TYPE: every order term names its table.
  CtSvcSetNameIndexOrder(conditions, m_Filter.FilterIndexType, kPrimaryNameColumns, true);
  return _Finish(conditions);
}
