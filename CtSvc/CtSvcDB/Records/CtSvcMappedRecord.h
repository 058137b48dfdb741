// Record classes built on a column map. A class supplies a traits structure:
//   Fields       plain structure of the record's fields, with their defaults;
//   kTable       its table type; kUri its content URI;
//   kClassName   "CCtSvcPhoneNumber"; kLoadLogName the prefix of its row-read failures
//                ("CCtSvcPhoneNumber::SetContent");
//   kFields[]    the column map (CtSvcFieldMap.h);
//   Info, Record the C structures (CCtSvcStructRecord only); every record structure holds its
//                info in a member named Info.
// and overrides only what differs from the common pattern: derived columns, the row check, the
// finishing touch of a C structure.
#ifndef CTSVC_MAPPED_RECORD_H
#define CTSVC_MAPPED_RECORD_H

#include <cstddef>

#include "CtSvcDB/Records/CtSvcFieldEngine.h"
#include "CtSvcDB/Records/CtSvcFieldMap.h"
#include "CtSvcDB/Records/CtSvcRecordBase.h"

template <class T>
class CCtSvcMappedRecord : public CCtSvcRecord {
 public:
  using Traits = T;
  using Fields = typename Traits::Fields;

  CCtSvcMappedRecord() : CCtSvcRecord(Traits::kTable, 0) {}
  CCtSvcMappedRecord(const CCtSvcMappedRecord& other) = default;
  CCtSvcMappedRecord& operator=(const CCtSvcMappedRecord& other) = default;
  ~CCtSvcMappedRecord() override = default;

  // Reads the row-id column and every mapped column by index.
  int SetData(const CContent& content) override {
    if (!_AcceptRow(content)) {
      return 0;
    }
    int nId = -1;
    if (!CtSvcReadIntColumn(content, 0, nId, Traits::kLoadLogName)) {
      return 0;
    }
    SetRecordId(nId);
    return CtSvcLoadColumns(m_Fields, Traits::kFields, content, Traits::kLoadLogName) ? 1 : 0;
  }

  // Writes ID (for a stored record), every mapped column and the derived columns.
  int GetData(CContentInput& input) const override {
    CCtSvcDbTable* pTable = _GetTable();
    if (pTable == nullptr) {
      return 0;
    }
    const bool bStored = GetRecordId() > 0;
    if (bStored) {
      input.SetInt(_GetIDColumnName(), GetRecordId());
    }
    CtSvcStoreColumns(m_Fields, Traits::kFields, *pTable, bStored, input);
    _SetDerivedColumns(input, *pTable);
    return 1;
  }

  const char* _GetURI() const override { return Traits::kUri; }

  using CCtSvcRecord::_CopyFrom;
  void _CopyFrom(const CCtSvcMappedRecord& other) { *this = other; }

  // Every field of the record, for comparisons and tests.
  const Fields& GetFields() const { return m_Fields; }

 protected:
  // False refuses a row before anything is read (the row check of shared tables).
  virtual bool _AcceptRow(const CContent& /*content*/) const { return true; }
  // Columns computed from the fields (search forms, sort names).
  virtual void _SetDerivedColumns(CContentInput& /*input*/, CCtSvcDbTable& /*table*/) const {}

  void _ApplyIdentity(const CtSvcPersonIdentity& identity) { CtSvcApplyIdentity(m_Fields, Traits::kFields, identity); }
  bool _FieldsEqual(const CCtSvcMappedRecord& other) const {
    return GetRecordId() == other.GetRecordId() && CtSvcFieldsEqual(m_Fields, other.m_Fields, Traits::kFields);
  }

  Fields m_Fields;
};

template <class T>
class CCtSvcStructRecord : public CCtSvcMappedRecord<T> {
  using Base = CCtSvcMappedRecord<T>;

 public:
  using Traits = T;
  using Info = typename Traits::Info;
  using Record = typename Traits::Record;

  CCtSvcStructRecord() = default;
  // A new record (id -1) with the info's fields.
  explicit CCtSvcStructRecord(const Info& info) { SetData(info); }
  // The stored record the structure describes: its id and owner ids, then the info.
  explicit CCtSvcStructRecord(const Record& record) { SetData(record); }
  CCtSvcStructRecord(const CCtSvcStructRecord& other) = default;
  CCtSvcStructRecord& operator=(const CCtSvcStructRecord& other) = default;
  ~CCtSvcStructRecord() override = default;

  using Base::GetData;
  using Base::SetData;

  // Takes the info's fields (the id and the fields of the record part are kept). 0 when a text
  // was not a terminated UTF-8 text; it is taken all the same.
  int SetData(const Info& info) { return CtSvcLoadStruct(this->m_Fields, Traits::kFields, &info, nullptr, Traits::kClassName) ? 1 : 0; }
  int SetData(const Record& record) {
    this->SetRecordId(record.nId);
    return CtSvcLoadStruct(this->m_Fields, Traits::kFields, &record.Info, &record, Traits::kClassName) ? 1 : 0;
  }
  int GetData(Info& info) const {
    CtSvcStoreStruct(this->m_Fields, Traits::kFields, &info, nullptr);
    _FinishInfo(info);
    return 1;
  }
  int GetData(Record& record) const {
    record.nId = this->GetRecordId();
    CtSvcStoreStruct(this->m_Fields, Traits::kFields, &record.Info, &record);
    _FinishInfo(record.Info);
    return 1;
  }

  using Base::_CopyFrom;
  void _CopyFrom(const Info& info) { SetData(info); }
  void _CopyFrom(const Record& record) { SetData(record); }

 protected:
  // Values of the info that no field holds (the person's handle).
  virtual void _FinishInfo(Info& /*info*/) const {}
};

#endif
