// A strict reader of the program's JSON output, so that tests check real JSON types.
#ifndef CTSVC_TOOL_JSON_READER_H
#define CTSVC_TOOL_JSON_READER_H

#include <cctype>
#include <string>
#include <utility>
#include <vector>

namespace ctsvc_tool_test {

struct JValue {
  enum class Kind { Null, Number, String, Bool, Array, Object } kind = Kind::Null;
  std::string strText;  // numbers as written, strings unescaped, "true"/"false"
  std::vector<JValue> vcItems;
  std::vector<std::pair<std::string, JValue>> vcMembers;

  // The member of an object (a Null value when there is none).
  const JValue& operator[](const std::string& strKey) const {
    static const JValue kNone;
    for (const auto& member : vcMembers) {
      if (member.first == strKey) {
        return member.second;
      }
    }
    return kNone;
  }
  // Calls f(key) for every key of every object in the value.
  template <typename F>
  void ForEachKey(F f) const {
    for (const auto& member : vcMembers) {
      f(member.first);
      member.second.ForEachKey(f);
    }
    for (const JValue& item : vcItems) {
      item.ForEachKey(f);
    }
  }
};

class JsonReader {
 public:
  // One JSON value and nothing but blanks after it; false for anything else.
  static bool Read(const std::string& strText, JValue& value) {
    JsonReader reader(strText);
    return reader.Value(value) && reader.AtEnd();
  }

 private:
  explicit JsonReader(const std::string& strText) : m_str(strText) {}

  void Blanks() {
    while (m_n < m_str.size() && std::isspace(static_cast<unsigned char>(m_str[m_n]))) {
      ++m_n;
    }
  }
  bool AtEnd() {
    Blanks();
    return m_n == m_str.size();
  }
  bool Take(char c) {
    Blanks();
    if (m_n < m_str.size() && m_str[m_n] == c) {
      ++m_n;
      return true;
    }
    return false;
  }
  bool Word(const char* szWord) {
    const std::string strWord = szWord;
    if (m_str.compare(m_n, strWord.size(), strWord) != 0) {
      return false;
    }
    m_n += strWord.size();
    return true;
  }
  bool String(std::string& strOut) {
    if (!Take('"')) {
      return false;
    }
    for (; m_n < m_str.size() && m_str[m_n] != '"'; ++m_n) {
      if (static_cast<unsigned char>(m_str[m_n]) < 0x20) {
        return false;
      }
      if (m_str[m_n] == '\\' && ++m_n < m_str.size() && m_str[m_n] == 'u') {
        strOut += '?';  // the tests never look at escaped control characters
        m_n += 4;
        continue;
      }
      strOut += m_str[m_n];
    }
    return m_n++ < m_str.size();
  }
  bool Number(std::string& strOut) {
    const size_t nStart = m_n;
    m_n += m_n < m_str.size() && m_str[m_n] == '-' ? 1 : 0;
    const size_t nDigits = m_n;
    while (m_n < m_str.size() && (std::isdigit(static_cast<unsigned char>(m_str[m_n])) || m_str[m_n] == '.')) {
      ++m_n;
    }
    strOut = m_str.substr(nStart, m_n - nStart);
    return m_n > nDigits && std::isdigit(static_cast<unsigned char>(m_str[nDigits]));
  }
  bool Value(JValue& value) {
    Blanks();
    if (m_n >= m_str.size()) {
      return false;
    }
    const char c = m_str[m_n];
    if (c == '{') {
      value.kind = JValue::Kind::Object;
      ++m_n;
      if (Take('}')) {
        return true;
      }
      do {
        std::pair<std::string, JValue> member;
        if (!String(member.first) || !Take(':') || !Value(member.second)) {
          return false;
        }
        value.vcMembers.push_back(std::move(member));
      } while (Take(','));
      return Take('}');
    }
    if (c == '[') {
      value.kind = JValue::Kind::Array;
      ++m_n;
      if (Take(']')) {
        return true;
      }
      do {
        value.vcItems.emplace_back();
        if (!Value(value.vcItems.back())) {
          return false;
        }
      } while (Take(','));
      return Take(']');
    }
    if (c == '"') {
      value.kind = JValue::Kind::String;
      return String(value.strText);
    }
    if (c == 't' || c == 'f') {
      value.kind = JValue::Kind::Bool;
      value.strText = c == 't' ? "true" : "false";
      return Word(c == 't' ? "true" : "false");
    }
    if (c == 'n') {
      return Word("null");
    }
    value.kind = JValue::Kind::Number;
    return Number(value.strText);
  }

  const std::string& m_str;
  size_t m_n = 0;
};

}  // namespace ctsvc_tool_test

#endif
