// A small JSON value for the program's machine-readable output.
#ifndef CTSVC_TOOL_JSON_H
#define CTSVC_TOOL_JSON_H

#include <string>
#include <utility>
#include <vector>

namespace ctsvc_tool {

class Json {
 public:
  enum class Kind { Null, Number, String, Bool, Array, Object };

  Json() = default;
  Json(int nValue) : m_kind(Kind::Number), m_strValue(std::to_string(nValue)) {}  // NOLINT
  Json(const char* psz) : m_kind(Kind::String), m_strValue(psz != nullptr ? psz : "") {}  // NOLINT
  Json(std::string str) : m_kind(Kind::String), m_strValue(std::move(str)) {}  // NOLINT
  static Json Bool(bool b);
  // A number with a fraction, written with nDecimals digits after the point.
  static Json Decimal(double dValue, int nDecimals);
  static Json Array();
  static Json Object();

  // Arrays: append; objects: set a key (kept in insertion order).
  Json& Push(Json value);
  Json& Set(const std::string& strKey, Json value);
  const std::vector<std::pair<std::string, Json>>& Members() const { return m_members; }
  // The text of an object's member ("" when there is none).
  std::string TextOf(const std::string& strKey) const;
  const std::vector<Json>& Items() const { return m_items; }
  Kind GetKind() const { return m_kind; }
  // The value as text (numbers and strings), "" otherwise.
  const std::string& Text() const { return m_strValue; }

  std::string Dump() const;

 private:
  Kind m_kind = Kind::Null;
  std::string m_strValue;
  std::vector<Json> m_items;
  std::vector<std::pair<std::string, Json>> m_members;
};

// Prints the value as JSON (--json) or as "key: value" lines and aligned tables for a person.
void Print(const Json& value, bool bJson);

}  // namespace ctsvc_tool

#endif
