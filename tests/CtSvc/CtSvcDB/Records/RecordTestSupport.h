// Shared helpers of the record tests: values of an input, and info structures filled from a
// record class's column map.
#ifndef CTSVC_RECORD_TEST_SUPPORT_H
#define CTSVC_RECORD_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CtSvcDB/Records/CtSvcFieldMap.h"
#include "CtSvcTestData.h"
#include "CtSvcTestEnv.h"

namespace ctsvc_record_test {

using RecordStoreTest = ctsvc_test::SchemaTest;

inline CCtSvcDbTable* Table(int nType) { return CCtSvcDbMgr::Instance()->GetDBTable(nType); }
inline std::string ColumnName(int nTable, int nColumn) { return Table(nTable)->GetColumnName(nColumn); }

// The text of a column of an input, or "<absent>".
inline std::u16string InputText(const CContentInput& input, const std::string& strColumn) {
  const CContentValue* pValue = input.GetColumnData(strColumn);
  return pValue != nullptr && pValue->type == ContentValueType::String ? pValue->strValue : u"<absent>";
}

// The integer of a column of an input, or INT32_MIN when absent.
inline int32_t InputInt(const CContentInput& input, const std::string& strColumn) {
  const CContentValue* pValue = input.GetColumnData(strColumn);
  return pValue != nullptr && (pValue->type == ContentValueType::Int || pValue->type == ContentValueType::Int8) ? pValue->nInt
                                                                                                                : INT32_MIN;
}

// A valid date that differs per field index.
inline TmDateTime DateFor(int nIndex) {
  return TmDateTime{1990 + nIndex, nIndex % 12 + 1, nIndex % 28 + 1, nIndex % 24, nIndex % 60, (nIndex * 7) % 60};
}

// A text that differs per field index; it carries an apostrophe, a percent sign and a
// two-byte character so that escaping and conversion are exercised.
inline std::string TextFor(int nIndex) { return "v" + std::to_string(nIndex) + " O'Neil 100% \xC3\xA9"; }

// Fills every C member the column map knows (info part at pInfo, record part at pRecord or
// none) with values distinct per field.
template <class F, size_t N>
void FillStruct(const CtSvcFieldDesc<F> (&map)[N], void* pInfo, void* pRecord) {
  for (size_t i = 0; i < N; ++i) {
    const CtSvcFieldDesc<F>& f = map[i];
    void* pBase = f.slot.place == CtSvcStructPlace::Info ? pInfo : f.slot.place == CtSvcStructPlace::Record ? pRecord : nullptr;
    if (pBase == nullptr) {
      continue;
    }
    unsigned char* p = static_cast<unsigned char*>(pBase) + f.slot.nOffset;
    const int nIndex = static_cast<int>(i) + 2;
    if (f.kind == CtSvcColumnKind::String) {
      std::strcpy(reinterpret_cast<char*>(p), TextFor(nIndex).c_str());
    } else if (f.kind == CtSvcColumnKind::DateTime) {
      const TmDateTime dt = DateFor(nIndex);
      std::memcpy(p, &dt, sizeof(dt));
    } else {
      const INT32 n = nIndex;
      std::memcpy(p, &n, sizeof(n));
    }
  }
}

// Compares the C members of two structures that the column map knows; bStoredOnly skips the
// fields that no column stores and those never written back to the C structures.
template <class F, size_t N>
void ExpectSameMembers(const CtSvcFieldDesc<F> (&map)[N], const void* pExpected, const void* pActual, CtSvcStructPlace place,
                       bool bStoredOnly) {
  for (const CtSvcFieldDesc<F>& f : map) {
    if (f.slot.place != place || (f.nFlags & CTSVC_FIELD_NOT_TO_INFO) != 0 || (bStoredOnly && f.nColumn < 0)) {
      continue;
    }
    const auto* pA = static_cast<const unsigned char*>(pExpected) + f.slot.nOffset;
    const auto* pB = static_cast<const unsigned char*>(pActual) + f.slot.nOffset;
    if (f.kind == CtSvcColumnKind::String) {
      EXPECT_STREQ(reinterpret_cast<const char*>(pA), reinterpret_cast<const char*>(pB)) << f.slot.szName;
    } else {
      EXPECT_EQ(0, std::memcmp(pA, pB, f.slot.nSize)) << f.slot.szName;
    }
  }
}

}  // namespace ctsvc_record_test

#endif
