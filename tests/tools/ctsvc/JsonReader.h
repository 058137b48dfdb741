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
    if (!reader.Value(value)) {
      return false;
    }
    reader.Blanks();
    return reader.m_n == strText.size();
  }

 private:
  explicit JsonReader(const std::string& strText) : m_str(strText) {}

  void Blanks() {
    while (m_n < m_str.size() && std::isspace(static_cast<unsigned char>(m_str[m_n]))) {
      ++m_n;
    }
  }
  bool Take(char c) {
    Blanks();
    if (m_n < m_str.size() && m_str[m_n] == c) {
      ++m_n;
      return true;
    }
    return false;
  }
  bool Word(const std::string& strWord) {
    const bool bFound = m_str.compare(m_n, strWord.size(), strWord) == 0;
    m_n += bFound ? strWord.size() : 0;
    return bFound;
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
  // The items of an array or the members of an object, up to the closing character.
  template <typename F>
  bool Items(char cClose, F item) {
    ++m_n;
    if (Take(cClose)) {
      return true;
    }
    do {
      if (!item()) {
        return false;
      }
    } while (Take(','));
    return Take(cClose);
  }
  bool Value(JValue& value) {
    Blanks();
    const char c = m_n < m_str.size() ? m_str[m_n] : '\0';
    switch (c) {
      case '{':
        value.kind = JValue::Kind::Object;
        return Items('}', [&] {
          value.vcMembers.emplace_back();
          return String(value.vcMembers.back().first) && Take(':') && Value(value.vcMembers.back().second);
        });
      case '[':
        value.kind = JValue::Kind::Array;
        return Items(']', [&] {
          value.vcItems.emplace_back();
          return Value(value.vcItems.back());
        });
      case '"': value.kind = JValue::Kind::String; return String(value.strText);
      case 't':
      case 'f':
        value.kind = JValue::Kind::Bool;
        value.strText = c == 't' ? "true" : "false";
        return Word(value.strText);
      case 'n': return Word("null");
      default: value.kind = JValue::Kind::Number; return Number(value.strText);
    }
  }

  const std::string& m_str;
  size_t m_n = 0;
};

}  // namespace ctsvc_tool_test

#endif
