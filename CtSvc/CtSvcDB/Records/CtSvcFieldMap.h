// Column maps of the record classes. A record keeps its fields in a plain structure; a static
// table of field descriptors says, per field, which member holds it, which column of the record's
// table stores it and how (int, 8-bit int, text, date-time), where it lives in the C info or
// record structure, and what it means to a detail of a person. One engine reads and writes every
// record through its table, so a new field is one line of a table.
#ifndef CTSVC_FIELD_MAP_H
#define CTSVC_FIELD_MAP_H

#include <cstddef>
#include <string>

#include "CtSvcTypes.h"

class CContent;
class CContentInput;
class CCtSvcDbTable;

// How a field is stored in its column.
enum class CtSvcColumnKind : unsigned char { Int, Int8, String, DateTime };

// Where a field lives in the C structures: in the info structure, in the part of the record
// structure before the info (ids and device type), or nowhere.
enum class CtSvcStructPlace : unsigned char { None, Info, Record };

// What a field means to a detail that belongs to a person; SetPerson fills these.
enum class CtSvcFieldRole : unsigned char { None, PersonId, PrimaryId, DeviceType, AccountId, FirstName, LastName };

// Field flags.
enum : unsigned {
  CTSVC_FIELD_STORED_ONLY = 1,  // written to an input only for a stored record (id > 0)
  CTSVC_FIELD_NOT_TO_INFO = 2,  // read from the C structures but never written to them
  CTSVC_FIELD_DATE_RANGE = 4,   // taken from the C structures through the date range rule
};

// A field's place in a C structure: offset and size of its member.
struct CtSvcStructSlot {
  CtSvcStructPlace place;
  size_t nOffset;
  size_t nSize;
  const char* szName;  // member name, for log lines
};

#define CTSVC_INFO_SLOT(INFO, MEMBER) \
  CtSvcStructSlot { CtSvcStructPlace::Info, offsetof(INFO, MEMBER), sizeof(INFO::MEMBER), #MEMBER }
#define CTSVC_RECORD_SLOT(RECORD, MEMBER) \
  CtSvcStructSlot { CtSvcStructPlace::Record, offsetof(RECORD, MEMBER), sizeof(RECORD::MEMBER), #MEMBER }
#define CTSVC_NO_SLOT \
  CtSvcStructSlot { CtSvcStructPlace::None, 0, 0, "" }

// One field of a record whose fields are the members of F.
template <class F>
struct CtSvcFieldDesc {
  CtSvcColumnKind kind;
  int nColumn;  // column index in the record's table, -1 when the field is not stored
  int F::*pInt;
  std::string F::*pString;
  TmDateTime F::*pDateTime;
  CtSvcStructSlot slot;
  CtSvcFieldRole role;
  unsigned nFlags;
};

template <class F>
constexpr CtSvcFieldDesc<F> CtSvcIntField(int nColumn, int F::*p, CtSvcStructSlot slot,
                                          CtSvcFieldRole role = CtSvcFieldRole::None, unsigned nFlags = 0) {
  return {CtSvcColumnKind::Int, nColumn, p, nullptr, nullptr, slot, role, nFlags};
}

template <class F>
constexpr CtSvcFieldDesc<F> CtSvcInt8Field(int nColumn, int F::*p, CtSvcStructSlot slot,
                                           CtSvcFieldRole role = CtSvcFieldRole::None, unsigned nFlags = 0) {
  return {CtSvcColumnKind::Int8, nColumn, p, nullptr, nullptr, slot, role, nFlags};
}

template <class F>
constexpr CtSvcFieldDesc<F> CtSvcStringField(int nColumn, std::string F::*p, CtSvcStructSlot slot,
                                             CtSvcFieldRole role = CtSvcFieldRole::None, unsigned nFlags = 0) {
  return {CtSvcColumnKind::String, nColumn, nullptr, p, nullptr, slot, role, nFlags};
}

template <class F>
constexpr CtSvcFieldDesc<F> CtSvcDateTimeField(int nColumn, TmDateTime F::*p, CtSvcStructSlot slot,
                                               unsigned nFlags = 0) {
  return {CtSvcColumnKind::DateTime, nColumn, nullptr, nullptr, p, slot, CtSvcFieldRole::None, nFlags};
}

// A table is well formed when every field names its member of the right kind, and every C slot
// has the size of its kind (4 bytes for ints, a TmDateTime for dates, an array for texts).
template <class F, size_t N>
constexpr bool CtSvcIsFieldMapValid(const CtSvcFieldDesc<F> (&fields)[N]) {
  for (size_t i = 0; i < N; ++i) {
    const CtSvcFieldDesc<F>& f = fields[i];
    const bool bHasSlot = f.slot.place != CtSvcStructPlace::None;
    switch (f.kind) {
      case CtSvcColumnKind::Int:
      case CtSvcColumnKind::Int8:
        if (f.pInt == nullptr || (bHasSlot && f.slot.nSize != sizeof(INT32))) {
          return false;
        }
        break;
      case CtSvcColumnKind::String:
        if (f.pString == nullptr || (bHasSlot && f.slot.nSize < 2)) {
          return false;
        }
        break;
      case CtSvcColumnKind::DateTime:
        if (f.pDateTime == nullptr || (bHasSlot && f.slot.nSize != sizeof(TmDateTime))) {
          return false;
        }
        break;
    }
  }
  return true;
}

// The identity a person gives its details (SetPerson).
struct CtSvcPersonIdentity {
  int nPersonId;
  int nPrimaryId;
  int nDeviceType;
  int nAccountId;
  std::string strFirstName;
  std::string strLastName;
};

// The unset date 1899-12-31 00:00:00, the default of every date field.
constexpr TmDateTime kCtSvcUnsetDate{1899, 12, 31, 0, 0, 0};
TmDateTime CtSvcUnsetDate();
// The date when 1900 <= year <= 2100, 1 <= month <= 12 and 1 <= day <= 31, else the unset date.
TmDateTime CtSvcCheckedDate(const TmDateTime& date);
bool CtSvcIsSameDate(const TmDateTime& a, const TmDateTime& b);

// Per-value steps of the engine. The readers log "<szLogName> - Content.GetInt(Index = %d) failed\n"
// (GetInt8, GetString, GetDateTime) and answer false when the column cannot be read.
bool CtSvcReadIntColumn(const CContent& content, int nColumn, int& nValue, const char* szLogName);
bool CtSvcReadInt8Column(const CContent& content, int nColumn, int& nValue, const char* szLogName);
bool CtSvcReadStringColumn(const CContent& content, int nColumn, std::string& strValue, const char* szLogName);
bool CtSvcReadDateTimeColumn(const CContent& content, int nColumn, TmDateTime& dtValue, const char* szLogName);
// Members of the C structures (ints are INT32; the column maps guarantee the sizes).
INT32 CtSvcReadStructInt(const unsigned char* pMember);
void CtSvcWriteStructInt(unsigned char* pMember, INT32 nValue);
TmDateTime CtSvcReadStructDate(const unsigned char* pMember);
void CtSvcWriteStructDate(unsigned char* pMember, const TmDateTime& dtValue);
// Reads a text member of a C structure; logs "<szClassName>::SetData - <member> is not a terminated UTF-8 text\n"
// and answers false for bad text (the text is still taken).
bool CtSvcReadStructString(const unsigned char* pBase, const CtSvcStructSlot& slot, std::string& strValue,
                           const char* szClassName);

#endif
