// Column and index descriptors of the 13 contact tables, in stored order.
#include <iterator>

#include "CtSvcDbTable.h"

namespace {

#define PK(name) {name, "INTEGER", CTSVC_COLUMN_PRIMARY_KEY, 0, nullptr}
#define INT(name) {name, "INTEGER", 0, 0, nullptr}
#define TINY(name) {name, "TINYINT", 0, 0, nullptr}
#define DATE(name) {name, "DATETIME", 0, 0, nullptr}
#define NVAR(name, a, b) {name, "NVARCHAR", a, b, nullptr}
// A text ordered and compared as a name (indexes on it are built in name order).
#define NAME(name, a, b) {name, "NVARCHAR", a, b, CTSVC_NAME_COLLATION}
#define IDX(name, cols) {name, cols, CTSVC_INDEX_PLAIN}

const CtSvcColumnDesc kPersonColumns[] = {
    PK("ID"), TINY("DEVICE_TYPE"), INT("SLOT_INDEX"), NVAR("FIRSTNAME", 12, 51), NVAR("LASTNAME", 12, 51),
    NAME("FL_FULLNAME", 25, 102), NAME("FL_GROUP_LETTER", 0, 1), NAME("FL_LETTER", 0, 2),
    NAME("LF_FULLNAME", 25, 102), NAME("LF_GROUP_LETTER", 0, 1), NAME("LF_LETTER", 0, 2), DATE("BIRTHDAY"),
    DATE("BIRTHDAY_RESERVED"), DATE("ANNIVERSARY"), DATE("ANNIVERSARY_RESERVED"), DATE("SAVETIME"),
    INT("DEFAULT_PHNUM_ID"), TINY("HAS_PH"), TINY("HAS_EMAIL"), TINY("HAS_ADDR"), TINY("HAS_IM"),
    TINY("HAS_ETCDATA"), TINY("HAS_RCS"), TINY("HAS_SNSDATA"), INT("PRIMARY_ID"), INT("ACCOUNT_ID"),
    NVAR("CALLER_IMAGE", 25, 772), NVAR("UUID", 25, 256)};
const CtSvcIndexDesc kPersonIndexes[] = {
    IDX("PERSON_IDX1", "FL_FULLNAME, DEVICE_TYPE, ID"), IDX("PERSON_IDX2", "LF_FULLNAME, DEVICE_TYPE, ID"),
    IDX("PERSON_IDX3", "PRIMARY_ID"), IDX("PERSON_IDX4", "ACCOUNT_ID"),
    IDX("PERSON_GROUP_IDX1", "FL_GROUP_LETTER, ACCOUNT_ID"), IDX("PERSON_GROUP_IDX2", "LF_GROUP_LETTER, ACCOUNT_ID")};

const CtSvcColumnDesc kContactDataColumns[] = {
    PK("ID"), INT("PERSON_ID"), INT("PRIMARY_ID"), TINY("DEVICE_TYPE"), NVAR("FIRSTNAME", 12, 50),
    NVAR("LASTNAME", 12, 50), NAME("FL_FULLNAME", 25, 101), NAME("LF_FULLNAME", 25, 101), TINY("TYPE"),
    TINY("USE_TYPE"), TINY("PHONE_TYPE"), INT("AAS_ID"), NVAR("CONTACT_DATA", 25, 100),
    NVAR("CONTACT_SDATA", 25, 100), INT("ACCOUNT_ID")};
const CtSvcIndexDesc kContactDataIndexes[] = {
    IDX("CONTACTDATA_IDX1", "CONTACT_DATA, TYPE, DEVICE_TYPE "),
    IDX("CONTACTDATA_IDX2", "CONTACT_SDATA, TYPE, DEVICE_TYPE, PHONE_TYPE"),
    IDX("CONTACTDATA_IDX3", "PERSON_ID, TYPE"), IDX("CONTACTDATA_IDX4", "DEVICE_TYPE, ACCOUNT_ID"),
    IDX("CONTACTDATA_IDX5", "PRIMARY_ID")};

const CtSvcColumnDesc kPostalAddressColumns[] = {
    PK("ID"), INT("PERSON_ID"), INT("PRIMARY_ID"), INT("ACCOUNT_ID"), TINY("USE_TYPE"), NVAR("PCODE", 15, 20),
    NVAR("PBOXNUM", 12, 20), NVAR("DETAIL", 25, 50), NVAR("STREET", 20, 50), NVAR("CITY", 20, 50),
    NVAR("STATE", 20, 50), NVAR("COUNTRY", 20, 50)};
const CtSvcIndexDesc kPostalAddressIndexes[] = {
    IDX("POSTALADDR_IDX1", "PERSON_ID"), IDX("POSTALADDR_IDX2", "PRIMARY_ID"), IDX("POSTALADDR_IDX3", "ACCOUNT_ID")};

const CtSvcColumnDesc kEtcDataColumns[] = {PK("ID"),          INT("PERSON_ID"),  INT("PRIMARY_ID"),
                                           INT("ACCOUNT_ID"), TINY("DEVICE_TYPE"), TINY("ETC_TYPE"),
                                           NVAR("ETC_DATA", 25, 320)};
const CtSvcIndexDesc kEtcDataIndexes[] = {
    IDX("ETCDATA_IDX1", "PERSON_ID"), IDX("ETCDATA_IDX2", "DEVICE_TYPE, ACCOUNT_ID"),
    IDX("ETCDATA_IDX3", "PRIMARY_ID"), IDX("ETCDATA_IDX4", "ETC_TYPE, ETC_DATA")};

const CtSvcColumnDesc kRcsColumns[] = {PK("ID"),         INT("PERSON_ID"),     INT("PRIMARY_ID"),
                                       INT("ACCOUNT_ID"), NVAR("SIP", 12, 320), TINY("STATUS")};

const CtSvcColumnDesc kFdnColumns[] = {PK("ID"), INT("SLOT_INDEX"), NAME("NAME", 12, 50),
                                       NVAR("PHONENUMBER", 12, 50), NVAR("SPHONENUMBER", 12, 50)};

const CtSvcColumnDesc kGroupColumns[] = {PK("ID"),         INT("ACCOUNT_ID"),   INT("SLOT_INDEX"),
                                         TINY("DEVICE_TYPE"), TINY("TYPE"),       NVAR("NAME", 12, 20),
                                         NVAR("SNAME", 12, 20), NVAR("RINGTONE", 25, 772)};
const CtSvcIndexDesc kGroupIndexes[] = {IDX("GROUP_IDX1", "SNAME, DEVICE_TYPE"), IDX("GROUP_IDX2", "ACCOUNT_ID")};

const CtSvcColumnDesc kGroupMemberColumns[] = {PK("ID"),         INT("PERSON_ID"), INT("PRIMARY_ID"),
                                               INT("ACCOUNT_ID"), INT("GROUP_ID"),  TINY("DEVICE_TYPE")};
const CtSvcIndexDesc kGroupMemberIndexes[] = {
    IDX("GROUPMEMBER_IDX1", "PERSON_ID"), IDX("GROUPMEMBER_IDX2", "PRIMARY_ID"),
    IDX("GROUPMEMBER_IDX3", "DEVICE_TYPE, ACCOUNT_ID"), IDX("GROUPMEMBER_IDX4", "GROUP_ID")};

const CtSvcColumnDesc kSpeedDialColumns[] = {PK("ID"),         INT("PHNUM_ID"),   INT("PERSON_ID"),
                                             INT("ACCOUNT_ID"), INT("SLOT_INDEX"), TINY("DEVICE_TYPE")};
const CtSvcIndexDesc kSpeedDialIndexes[] = {IDX("SPEEDDIAL_IDX1", "PHNUM_ID"), IDX("SPEEDDIAL_IDX2", "PERSON_ID"),
                                            IDX("SPEEDDIAL_IDX3", "DEVICE_TYPE, ACCOUNT_ID")};

const CtSvcColumnDesc kPrimaryColumns[] = {
    PK("ID"), TINY("DEVICE_TYPE"), INT("DEFAULT_PHNUM_ID"), TINY("HAS_PH"), TINY("HAS_EMAIL"), TINY("HAS_ADDR"),
    TINY("HAS_IM"), NVAR("CALLER_IMAGE", 25, 772), TINY("FAVORITE"), NVAR("FIRSTNAME", 12, 50),
    NVAR("LASTNAME", 12, 50), NAME("FL_FULLNAME", 25, 101), NAME("FL_GROUP_LETTER", 0, 1),
    NAME("FL_LETTER", 0, 2), NAME("LF_FULLNAME", 25, 101), NAME("LF_GROUP_LETTER", 0, 1), NAME("LF_LETTER", 0, 2),
    INT("FIRST_ACCOUNT_ID"), INT("SECOND_ACCOUNT_ID"), INT("THIRD_ACCOUNT_ID"), INT("LINK_COUNT"),
    INT("FAVORITE_ORDER")};
const CtSvcIndexDesc kPrimaryIndexes[] = {
    IDX("PRIMARY_IDX1", "FL_FULLNAME, DEVICE_TYPE, ID"), IDX("PRIMARY_IDX2", "LF_FULLNAME, DEVICE_TYPE, ID"),
    IDX("PRIMARY_IDX3", "DEVICE_TYPE, FIRST_ACCOUNT_ID, LINK_COUNT"), IDX("PRIMARY_IDX4", "LINK_COUNT"),
    IDX("PRIMARY_IDX5", "FAVORITE, FAVORITE_ORDER, ID"), IDX("PRIMARY_GROUP_IDX1", "FL_GROUP_LETTER, ID, DEVICE_TYPE"),
    IDX("PRIMARY_GROUP_IDX2", "LF_GROUP_LETTER, ID, DEVICE_TYPE"),
    // Fast-scroll positions (count of letters < ?) walk a range of these, not every row.
    IDX("PRIMARY_FF_IDX1", "FL_LETTER, DEVICE_TYPE"), IDX("PRIMARY_FF_IDX2", "LF_LETTER, DEVICE_TYPE"),
    // A list of one device type walks these in its order: in PRIMARY_IDX1 the names of that type
    // are interleaved with the others, and SQLite sorts every run of equal names again.
    IDX("PRIMARY_IDX6", "DEVICE_TYPE, FL_FULLNAME, ID"), IDX("PRIMARY_IDX7", "DEVICE_TYPE, LF_FULLNAME, ID")};

const CtSvcColumnDesc kIMColumns[] = {PK("ID"),         INT("PERSON_ID"),     INT("PRIMARY_ID"),
                                      INT("ACCOUNT_ID"), INT("ISP_ID"),        NVAR("ISP", 12, 50),
                                      NVAR("USER_ID", 12, 320)};
const CtSvcIndexDesc kIMIndexes[] = {IDX("IM_IDX1", "PERSON_ID"), IDX("IM_IDX2", "PRIMARY_ID"),
                                     IDX("IM_IDX3", "USER_ID, ISP_ID")};

const CtSvcColumnDesc kSnsDataColumns[] = {
    PK("ID"), INT("PERSON_ID"), INT("PRIMARY_ID"), INT("ACCOUNT_ID"), NVAR("STATUS", 12, 500),
    DATE("STATUS_UPDATE"), NVAR("PEOPLE_ID", 25, 101), INT("SP"), NVAR("PROFILE_PHOTO_URL", 25, 1000)};
const CtSvcIndexDesc kSnsDataIndexes[] = {IDX("SNSDATA_IDX1", "PERSON_ID"), IDX("SNSDATA_IDX2", "PRIMARY_ID")};

const CtSvcColumnDesc kDeleteAccountColumns[] = {PK("ID"), TINY("DEVICE_TYPE"), INT("ACCOUNT_ID")};
const CtSvcIndexDesc kDeleteAccountIndexes[] = {IDX("DELETEACCOUNT_IDX1", "DEVICE_TYPE, ACCOUNT_ID")};

#undef PK
#undef INT
#undef TINY
#undef DATE
#undef NVAR
#undef NAME
#undef IDX

const CtSvcReferenceDesc kPersonReference = {"SELECT MAX(id) FROM ctsvcperson", "person_id", "CCtSvcPersonTable"};
const CtSvcReferenceDesc kPrimaryReference = {"SELECT MAX(id) FROM ctsvcprimary", "primary_id",
                                              "CCtSvcPrimaryTable"};

template <typename T, size_t N>
constexpr int Count(const T (&)[N]) {
  return static_cast<int>(N);
}

#define TABLE(type, name, cols, idx, ref) {type, name, cols, Count(cols), idx, Count(idx), ref}
#define TABLE_NOIDX(type, name, cols) {type, name, cols, Count(cols), nullptr, 0, nullptr}

const CtSvcTableDesc kTables[CTSVC_DB_TABLE_MAX] = {
    TABLE(CTSVC_DB_TABLE_PERSON, "CtSvcPerson", kPersonColumns, kPersonIndexes, &kPersonReference),
    TABLE(CTSVC_DB_TABLE_CONTACTDATA, "CtSvcContactDataTable", kContactDataColumns, kContactDataIndexes, nullptr),
    TABLE(CTSVC_DB_TABLE_POSTALADDRESS, "CtSvcPostalAddress", kPostalAddressColumns, kPostalAddressIndexes,
          nullptr),
    TABLE(CTSVC_DB_TABLE_ETCDATA, "CtSvcEtcData", kEtcDataColumns, kEtcDataIndexes, nullptr),
    TABLE_NOIDX(CTSVC_DB_TABLE_RCS, "CtSvcRcs", kRcsColumns),
    TABLE_NOIDX(CTSVC_DB_TABLE_FDN, "CtSvcFdn", kFdnColumns),
    TABLE(CTSVC_DB_TABLE_GROUP, "CtSvcGroup", kGroupColumns, kGroupIndexes, nullptr),
    TABLE(CTSVC_DB_TABLE_GROUPMEMBER, "CtSvcGroupMember", kGroupMemberColumns, kGroupMemberIndexes, nullptr),
    TABLE(CTSVC_DB_TABLE_SPEEDDIAL, "CtSvcSpeedDial", kSpeedDialColumns, kSpeedDialIndexes, nullptr),
    TABLE(CTSVC_DB_TABLE_PRIMARY, "CtSvcPrimary", kPrimaryColumns, kPrimaryIndexes, &kPrimaryReference),
    TABLE(CTSVC_DB_TABLE_IM, "CtSvcIM", kIMColumns, kIMIndexes, nullptr),
    TABLE(CTSVC_DB_TABLE_SNSDATA, "CtSvcSnsData", kSnsDataColumns, kSnsDataIndexes, nullptr),
    TABLE(CTSVC_DB_TABLE_DELETEACCOUNT, "CtSvcDeleteAccount", kDeleteAccountColumns, kDeleteAccountIndexes,
          nullptr),
};

#undef TABLE
#undef TABLE_NOIDX

// The column enums must agree with the descriptors.
static_assert(std::size(kPersonColumns) == CTSVC_DB_PERSON_COLUMN_MAX, "person columns");
static_assert(std::size(kContactDataColumns) == CTSVC_DB_CONTACTDATA_COLUMN_MAX, "contact-data columns");
static_assert(std::size(kPostalAddressColumns) == CTSVC_DB_POSTALADDR_COLUMN_MAX, "postal columns");
static_assert(std::size(kEtcDataColumns) == CTSVC_DB_ETCDATA_COLUMN_MAX, "etc columns");
static_assert(std::size(kRcsColumns) == CTSVC_DB_RCS_COLUMN_MAX, "rcs columns");
static_assert(std::size(kFdnColumns) == CTSVC_DB_FDN_COLUMN_MAX, "fdn columns");
static_assert(std::size(kGroupColumns) == CTSVC_DB_GROUP_COLUMN_MAX, "group columns");
static_assert(std::size(kGroupMemberColumns) == CTSVC_DB_GRPMEMBER_COLUMN_MAX, "group-member columns");
static_assert(std::size(kSpeedDialColumns) == CTSVC_DB_SPEEDDIAL_COLUMN_MAX, "speed-dial columns");
static_assert(std::size(kPrimaryColumns) == CTSVC_DB_PRIMARY_COLUMN_MAX, "primary columns");
static_assert(std::size(kIMColumns) == CTSVC_DB_IM_COLUMN_MAX, "im columns");
static_assert(std::size(kSnsDataColumns) == CTSVC_DB_SNSDATA_COLUMN_MAX, "sns columns");
static_assert(std::size(kDeleteAccountColumns) == CTSVC_DB_DELETEACCOUNT_COLUMN_MAX, "delete-account columns");

}  // namespace

const CtSvcTableDesc* CtSvcGetTableDesc(int nTableType) {
  if (nTableType <= CTSVC_DB_TABLE_INVALID || nTableType >= CTSVC_DB_TABLE_MAX) {
    return nullptr;
  }
  return &kTables[nTableType];
}

std::unique_ptr<CCtSvcDbTable> CtSvcCreateDbTable(int nTableType) {
  const CtSvcTableDesc* pDesc = CtSvcGetTableDesc(nTableType);
  return pDesc != nullptr ? std::make_unique<CCtSvcDbTable>(*pDesc) : nullptr;
}
