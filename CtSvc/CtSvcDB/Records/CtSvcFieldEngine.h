// The engine behind the column maps: walks a record's field table to read a result row, write an
// input, copy to and from the C structures, compare two records and take a person's identity.
#ifndef CTSVC_FIELD_ENGINE_H
#define CTSVC_FIELD_ENGINE_H

#include <cstdint>

#include "ContentFramework.h"
#include "CtSvcDB/Records/CtSvcFieldMap.h"
#include "CtSvcDB/Records/CtSvcRecordText.h"
#include "CtSvcDB/Tables/CtSvcDbTable.h"

// Reads every stored field from a row by column index; stops at the first column that cannot
// be read (fields read before it keep their new values).
template <class F, size_t N>
bool CtSvcLoadColumns(F& fields, const CtSvcFieldDesc<F> (&map)[N], const CContent& content, const char* szLogName) {
  for (const CtSvcFieldDesc<F>& f : map) {
    if (f.nColumn < 0) {
      continue;
    }
    bool bRead = false;
    switch (f.kind) {
      case CtSvcColumnKind::Int:
        bRead = CtSvcReadIntColumn(content, f.nColumn, fields.*f.pInt, szLogName);
        break;
      case CtSvcColumnKind::Int8:
        bRead = CtSvcReadInt8Column(content, f.nColumn, fields.*f.pInt, szLogName);
        break;
      case CtSvcColumnKind::String:
        bRead = CtSvcReadStringColumn(content, f.nColumn, fields.*f.pString, szLogName);
        break;
      case CtSvcColumnKind::DateTime:
        bRead = CtSvcReadDateTimeColumn(content, f.nColumn, fields.*f.pDateTime, szLogName);
        break;
    }
    if (!bRead) {
      return false;
    }
  }
  return true;
}

// Writes every stored field into an input, by column name; bStored says whether the record
// already has a row (fields marked CTSVC_FIELD_STORED_ONLY are written only then).
template <class F, size_t N>
void CtSvcStoreColumns(const F& fields, const CtSvcFieldDesc<F> (&map)[N], CCtSvcDbTable& table, bool bStored,
                       CContentInput& input) {
  for (const CtSvcFieldDesc<F>& f : map) {
    if (f.nColumn < 0 || ((f.nFlags & CTSVC_FIELD_STORED_ONLY) != 0 && !bStored)) {
      continue;
    }
    const std::string strColumn = table.GetColumnName(f.nColumn);
    switch (f.kind) {
      case CtSvcColumnKind::Int:
        input.SetInt(strColumn, fields.*f.pInt);
        break;
      case CtSvcColumnKind::Int8:
        input.SetInt8(strColumn, static_cast<int8_t>(fields.*f.pInt));
        break;
      case CtSvcColumnKind::String:
        input.SetNString(strColumn, CtSvcToInputText(fields.*f.pString));
        break;
      case CtSvcColumnKind::DateTime:
        input.SetDateTime(strColumn, fields.*f.pDateTime);
        break;
    }
  }
}

// Takes the fields that live in the C structures. pInfo is the info structure, pRecord the
// record structure or null (then fields of the record part keep their values). False when a text
// was not a terminated UTF-8 text (it is taken all the same).
template <class F, size_t N>
bool CtSvcLoadStruct(F& fields, const CtSvcFieldDesc<F> (&map)[N], const void* pInfo, const void* pRecord,
                     const char* szClassName) {
  bool bResult = true;
  for (const CtSvcFieldDesc<F>& f : map) {
    const void* pBase = f.slot.place == CtSvcStructPlace::Info ? pInfo
                        : f.slot.place == CtSvcStructPlace::Record ? pRecord : nullptr;
    if (pBase == nullptr) {
      continue;
    }
    const unsigned char* pMember = static_cast<const unsigned char*>(pBase) + f.slot.nOffset;
    switch (f.kind) {
      case CtSvcColumnKind::Int:
      case CtSvcColumnKind::Int8:
        fields.*f.pInt = CtSvcReadStructInt(pMember);
        break;
      case CtSvcColumnKind::String:
        bResult = CtSvcReadStructString(static_cast<const unsigned char*>(pBase), f.slot, fields.*f.pString, szClassName) && bResult;
        break;
      case CtSvcColumnKind::DateTime: {
        const TmDateTime dtValue = CtSvcReadStructDate(pMember);
        fields.*f.pDateTime = (f.nFlags & CTSVC_FIELD_DATE_RANGE) != 0 ? CtSvcCheckedDate(dtValue) : dtValue;
        break;
      }
    }
  }
  return bResult;
}

// Writes the fields that live in the C structures; texts are cut to their arrays.
template <class F, size_t N>
void CtSvcStoreStruct(const F& fields, const CtSvcFieldDesc<F> (&map)[N], void* pInfo, void* pRecord) {
  for (const CtSvcFieldDesc<F>& f : map) {
    void* pBase = f.slot.place == CtSvcStructPlace::Info ? pInfo : f.slot.place == CtSvcStructPlace::Record ? pRecord : nullptr;
    if (pBase == nullptr || (f.nFlags & CTSVC_FIELD_NOT_TO_INFO) != 0) {
      continue;
    }
    unsigned char* pMember = static_cast<unsigned char*>(pBase) + f.slot.nOffset;
    switch (f.kind) {
      case CtSvcColumnKind::Int:
      case CtSvcColumnKind::Int8:
        CtSvcWriteStructInt(pMember, fields.*f.pInt);
        break;
      case CtSvcColumnKind::String:
        CtSvcWriteCString(reinterpret_cast<char*>(pMember), f.slot.nSize, fields.*f.pString);
        break;
      case CtSvcColumnKind::DateTime:
        CtSvcWriteStructDate(pMember, fields.*f.pDateTime);
        break;
    }
  }
}

// True when every field of a equals that of b (texts by content, dates field by field).
template <class F, size_t N>
bool CtSvcFieldsEqual(const F& a, const F& b, const CtSvcFieldDesc<F> (&map)[N]) {
  for (const CtSvcFieldDesc<F>& f : map) {
    const bool bSame = f.kind == CtSvcColumnKind::String     ? a.*f.pString == b.*f.pString
                       : f.kind == CtSvcColumnKind::DateTime ? CtSvcIsSameDate(a.*f.pDateTime, b.*f.pDateTime)
                                                             : a.*f.pInt == b.*f.pInt;
    if (!bSame) {
      return false;
    }
  }
  return true;
}

// Gives a detail the identity of its person: every field with a person role takes its value.
template <class F, size_t N>
void CtSvcApplyIdentity(F& fields, const CtSvcFieldDesc<F> (&map)[N], const CtSvcPersonIdentity& identity) {
  for (const CtSvcFieldDesc<F>& f : map) {
    switch (f.role) {
      case CtSvcFieldRole::PersonId:
        fields.*f.pInt = identity.nPersonId;
        break;
      case CtSvcFieldRole::PrimaryId:
        fields.*f.pInt = identity.nPrimaryId;
        break;
      case CtSvcFieldRole::DeviceType:
        fields.*f.pInt = identity.nDeviceType;
        break;
      case CtSvcFieldRole::AccountId:
        fields.*f.pInt = identity.nAccountId;
        break;
      case CtSvcFieldRole::FirstName:
        fields.*f.pString = identity.strFirstName;
        break;
      case CtSvcFieldRole::LastName:
        fields.*f.pString = identity.strLastName;
        break;
      case CtSvcFieldRole::None:
        break;
    }
  }
}

#endif
