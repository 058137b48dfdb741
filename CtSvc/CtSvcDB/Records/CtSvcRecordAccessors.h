// Getter and setter pairs of record fields, one line per field in the class declarations.
// Integer fields are kept as int and handed out as their enumeration type; string getters return
// the record's own text (valid while the record lives and is not changed), string setters copy
// (null is the empty text).
#ifndef CTSVC_RECORD_ACCESSORS_H
#define CTSVC_RECORD_ACCESSORS_H

#define CTSVC_INT_ACCESSORS(TYPE, NAME, MEMBER)                           \
  TYPE Get##NAME() const { return static_cast<TYPE>(m_Fields.MEMBER); } \
  void Set##NAME(TYPE value) { m_Fields.MEMBER = static_cast<int>(value); }

#define CTSVC_STRING_ACCESSORS(NAME, MEMBER)                    \
  const char* Get##NAME() const { return m_Fields.MEMBER.c_str(); } \
  void Set##NAME(const char* pszValue) { m_Fields.MEMBER = pszValue != nullptr ? pszValue : ""; }

#define CTSVC_DATETIME_ACCESSORS(NAME, MEMBER)                \
  TmDateTime Get##NAME() const { return m_Fields.MEMBER; } \
  void Set##NAME(const TmDateTime& value) { m_Fields.MEMBER = value; }

#endif
