// Strict JSON reading and indented writing for card files.
#include "CardJson.h"

#include <cstdio>
#include <cstdlib>
#include <set>

namespace zel::sim {

JsonValue JsonValue::String(std::string s) {
  JsonValue v;
  v.type = Type::String;
  v.text = std::move(s);
  return v;
}

JsonValue JsonValue::Number(long long n) {
  JsonValue v;
  v.type = Type::Number;
  v.text = std::to_string(n);
  return v;
}

JsonValue JsonValue::Bool(bool b) {
  JsonValue v;
  v.type = Type::Bool;
  v.bValue = b;
  return v;
}

JsonValue JsonValue::Array() {
  JsonValue v;
  v.type = Type::Array;
  return v;
}

JsonValue JsonValue::Object() {
  JsonValue v;
  v.type = Type::Object;
  return v;
}

const JsonValue* JsonValue::Find(const std::string& key) const {
  for (const auto& member : members) {
    if (member.first == key) {
      return &member.second;
    }
  }
  return nullptr;
}

JsonValue* JsonValue::Find(const std::string& key) {
  return const_cast<JsonValue*>(static_cast<const JsonValue*>(this)->Find(key));
}

JsonValue& JsonValue::Set(const std::string& key, JsonValue value) {
  if (JsonValue* pFound = Find(key)) {
    *pFound = std::move(value);
    return *pFound;
  }
  members.emplace_back(key, std::move(value));
  return members.back().second;
}

bool JsonValue::AsInt(long long nMin, long long nMax, long long* pValue) const {
  if (type != Type::Number || text.find_first_of(".eE") != std::string::npos || text.size() > 18) {
    return false;
  }
  const long long n = std::strtoll(text.c_str(), nullptr, 10);
  if (n < nMin || n > nMax) {
    return false;
  }
  *pValue = n;
  return true;
}

namespace {

constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(const std::string& text) : m_text(text) {}

  bool Parse(JsonValue* pValue, std::string* pError) {
    bool bOk = Value(pValue, 0);
    if (bOk) {
      SkipSpace();
      if (m_nPos != m_text.size()) {
        bOk = Fail("unexpected text after the value");
      }
    }
    if (!bOk && pError != nullptr) {
      *pError = m_error;
    }
    return bOk;
  }

 private:
  bool Fail(const char* pszWhat) {
    if (m_error.empty()) {
      int nLine = 1;
      int nColumn = 1;
      for (size_t i = 0; i < m_nPos && i < m_text.size(); ++i) {
        if (m_text[i] == '\n') {
          ++nLine;
          nColumn = 1;
        } else {
          ++nColumn;
        }
      }
      m_error = "line " + std::to_string(nLine) + ", column " + std::to_string(nColumn) + ": " + pszWhat;
    }
    return false;
  }

  void SkipSpace() {
    while (m_nPos < m_text.size() &&
           (m_text[m_nPos] == ' ' || m_text[m_nPos] == '\t' || m_text[m_nPos] == '\n' || m_text[m_nPos] == '\r')) {
      ++m_nPos;
    }
  }

  bool Literal(const char* pszWord) {
    const std::string word = pszWord;
    if (m_text.compare(m_nPos, word.size(), word) != 0) {
      return Fail("expected a value");
    }
    m_nPos += word.size();
    return true;
  }

  bool Value(JsonValue* pValue, int nDepth) {
    if (nDepth > kMaxDepth) {
      return Fail("nested too deeply");
    }
    SkipSpace();
    if (m_nPos >= m_text.size()) {
      return Fail("unexpected end of text");
    }
    const char c = m_text[m_nPos];
    *pValue = JsonValue();
    switch (c) {
      case '{':
        return Object(pValue, nDepth);
      case '[':
        return Array(pValue, nDepth);
      case '"':
        pValue->type = JsonValue::Type::String;
        return String(&pValue->text);
      case 't':
        *pValue = JsonValue::Bool(true);
        return Literal("true");
      case 'f':
        *pValue = JsonValue::Bool(false);
        return Literal("false");
      case 'n':
        return Literal("null");
      default:
        return Number(pValue);
    }
  }

  bool Digits() {
    const size_t nStart = m_nPos;
    while (m_nPos < m_text.size() && m_text[m_nPos] >= '0' && m_text[m_nPos] <= '9') {
      ++m_nPos;
    }
    return m_nPos > nStart;
  }

  bool Number(JsonValue* pValue) {
    const size_t nStart = m_nPos;
    if (m_text[m_nPos] == '-') {
      ++m_nPos;
    }
    if (m_nPos < m_text.size() && m_text[m_nPos] == '0') {
      ++m_nPos;
    } else if (!Digits()) {
      return Fail("expected a value");
    }
    if (m_nPos < m_text.size() && m_text[m_nPos] == '.') {
      ++m_nPos;
      if (!Digits()) {
        return Fail("expected digits after '.'");
      }
    }
    if (m_nPos < m_text.size() && (m_text[m_nPos] == 'e' || m_text[m_nPos] == 'E')) {
      ++m_nPos;
      if (m_nPos < m_text.size() && (m_text[m_nPos] == '+' || m_text[m_nPos] == '-')) {
        ++m_nPos;
      }
      if (!Digits()) {
        return Fail("expected digits in the exponent");
      }
    }
    pValue->type = JsonValue::Type::Number;
    pValue->text = m_text.substr(nStart, m_nPos - nStart);
    return true;
  }

  bool Hex4(unsigned* pCode) {
    if (m_nPos + 4 > m_text.size()) {
      return Fail("short \\u escape");
    }
    unsigned n = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = m_text[m_nPos++];
      n <<= 4;
      if (c >= '0' && c <= '9') {
        n |= static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        n |= static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        n |= static_cast<unsigned>(c - 'A' + 10);
      } else {
        return Fail("bad \\u escape");
      }
    }
    *pCode = n;
    return true;
  }

  static void AppendUtf8(unsigned nCode, std::string* pOut) {
    if (nCode < 0x80) {
      pOut->push_back(static_cast<char>(nCode));
    } else if (nCode < 0x800) {
      pOut->push_back(static_cast<char>(0xC0 | (nCode >> 6)));
      pOut->push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
    } else if (nCode < 0x10000) {
      pOut->push_back(static_cast<char>(0xE0 | (nCode >> 12)));
      pOut->push_back(static_cast<char>(0x80 | ((nCode >> 6) & 0x3F)));
      pOut->push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
    } else {
      pOut->push_back(static_cast<char>(0xF0 | (nCode >> 18)));
      pOut->push_back(static_cast<char>(0x80 | ((nCode >> 12) & 0x3F)));
      pOut->push_back(static_cast<char>(0x80 | ((nCode >> 6) & 0x3F)));
      pOut->push_back(static_cast<char>(0x80 | (nCode & 0x3F)));
    }
  }

  bool Escape(std::string* pOut) {
    if (m_nPos >= m_text.size()) {
      return Fail("unterminated string");
    }
    const char c = m_text[m_nPos++];
    static const char kFrom[] = "\"\\/bfnrt";
    static const char kTo[] = "\"\\/\b\f\n\r\t";
    for (int i = 0; kFrom[i] != '\0'; ++i) {
      if (c == kFrom[i]) {
        pOut->push_back(kTo[i]);
        return true;
      }
    }
    if (c != 'u') {
      return Fail("bad escape");
    }
    unsigned nCode = 0;
    if (!Hex4(&nCode)) {
      return false;
    }
    if (nCode >= 0xD800 && nCode < 0xDC00) {
      unsigned nLow = 0;
      if (m_text.compare(m_nPos, 2, "\\u") != 0 || (m_nPos += 2, !Hex4(&nLow)) || nLow < 0xDC00 || nLow > 0xDFFF) {
        return Fail("unpaired surrogate");
      }
      nCode = 0x10000 + ((nCode - 0xD800) << 10) + (nLow - 0xDC00);
    } else if (nCode >= 0xDC00 && nCode < 0xE000) {
      return Fail("unpaired surrogate");
    }
    AppendUtf8(nCode, pOut);
    return true;
  }

  bool String(std::string* pOut) {
    ++m_nPos;  // the opening quote
    while (true) {
      if (m_nPos >= m_text.size()) {
        return Fail("unterminated string");
      }
      const char c = m_text[m_nPos];
      if (c == '"') {
        ++m_nPos;
        return true;
      }
      if (static_cast<unsigned char>(c) < 0x20) {
        return Fail("control character in a string");
      }
      ++m_nPos;
      if (c == '\\') {
        if (!Escape(pOut)) {
          return false;
        }
      } else {
        pOut->push_back(c);
      }
    }
  }

  // Skips blanks and takes the separator or the closing character; false (with an error) for
  // anything else.
  bool Next(char cClose, bool* pClosed) {
    SkipSpace();
    if (m_nPos < m_text.size() && m_text[m_nPos] == ',') {
      ++m_nPos;
      *pClosed = false;
      return true;
    }
    if (m_nPos < m_text.size() && m_text[m_nPos] == cClose) {
      ++m_nPos;
      *pClosed = true;
      return true;
    }
    return Fail(cClose == '}' ? "expected ',' or '}'" : "expected ',' or ']'");
  }

  bool Array(JsonValue* pValue, int nDepth) {
    pValue->type = JsonValue::Type::Array;
    ++m_nPos;
    SkipSpace();
    if (m_nPos < m_text.size() && m_text[m_nPos] == ']') {
      ++m_nPos;
      return true;
    }
    bool bClosed = false;
    while (!bClosed) {
      pValue->items.emplace_back();
      if (!Value(&pValue->items.back(), nDepth + 1) || !Next(']', &bClosed)) {
        return false;
      }
    }
    return true;
  }

  bool Object(JsonValue* pValue, int nDepth) {
    pValue->type = JsonValue::Type::Object;
    ++m_nPos;
    SkipSpace();
    if (m_nPos < m_text.size() && m_text[m_nPos] == '}') {
      ++m_nPos;
      return true;
    }
    std::set<std::string> keys;
    bool bClosed = false;
    while (!bClosed) {
      SkipSpace();
      if (m_nPos >= m_text.size() || m_text[m_nPos] != '"') {
        return Fail("expected a key in quotes");
      }
      const size_t nKeyPos = m_nPos;
      std::string key;
      if (!String(&key)) {
        return false;
      }
      if (!keys.insert(key).second) {
        m_nPos = nKeyPos;
        return Fail(("duplicate key \"" + key + "\"").c_str());
      }
      SkipSpace();
      if (m_nPos >= m_text.size() || m_text[m_nPos] != ':') {
        return Fail("expected ':'");
      }
      ++m_nPos;
      pValue->members.emplace_back(key, JsonValue());
      if (!Value(&pValue->members.back().second, nDepth + 1) || !Next('}', &bClosed)) {
        return false;
      }
    }
    return true;
  }

  const std::string& m_text;
  size_t m_nPos = 0;
  std::string m_error;
};

void WriteString(const std::string& s, std::string* pOut) {
  pOut->push_back('"');
  for (const char c : s) {
    switch (c) {
      case '"':
        *pOut += "\\\"";
        break;
      case '\\':
        *pOut += "\\\\";
        break;
      case '\n':
        *pOut += "\\n";
        break;
      case '\t':
        *pOut += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char szEscape[8];
          std::snprintf(szEscape, sizeof(szEscape), "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
          *pOut += szEscape;
        } else {
          pOut->push_back(c);
        }
    }
  }
  pOut->push_back('"');
}

bool IsScalar(const JsonValue& v) { return v.type != JsonValue::Type::Array && v.type != JsonValue::Type::Object; }

// Objects of scalars only (a file's small fields) stay on one line when short.
bool IsFlat(const JsonValue& v) {
  for (const auto& member : v.members) {
    if (!IsScalar(member.second)) {
      return false;
    }
  }
  return true;
}

void Write(const JsonValue& v, int nIndent, std::string* pOut) {
  const std::string pad(static_cast<size_t>(nIndent) * 2 + 2, ' ');
  const std::string closePad(static_cast<size_t>(nIndent) * 2, ' ');
  switch (v.type) {
    case JsonValue::Type::Null:
      *pOut += "null";
      return;
    case JsonValue::Type::Bool:
      *pOut += v.bValue ? "true" : "false";
      return;
    case JsonValue::Type::Number:
      *pOut += v.text;
      return;
    case JsonValue::Type::String:
      WriteString(v.text, pOut);
      return;
    case JsonValue::Type::Array:
      if (v.items.empty()) {
        *pOut += "[]";
        return;
      }
      *pOut += "[\n";
      for (size_t i = 0; i < v.items.size(); ++i) {
        *pOut += pad;
        Write(v.items[i], nIndent + 1, pOut);
        *pOut += i + 1 < v.items.size() ? ",\n" : "\n";
      }
      *pOut += closePad + "]";
      return;
    case JsonValue::Type::Object: {
      if (v.members.empty()) {
        *pOut += "{}";
        return;
      }
      const bool bFlat = IsFlat(v) && v.members.size() <= 4;
      *pOut += bFlat ? "{" : "{\n";
      for (size_t i = 0; i < v.members.size(); ++i) {
        if (!bFlat) {
          *pOut += pad;
        }
        WriteString(v.members[i].first, pOut);
        *pOut += ": ";
        Write(v.members[i].second, nIndent + 1, pOut);
        if (i + 1 < v.members.size()) {
          *pOut += bFlat ? ", " : ",\n";
        }
      }
      *pOut += bFlat ? "}" : "\n" + closePad + "}";
      return;
    }
  }
}

}  // namespace

bool ParseJson(const std::string& text, JsonValue* pValue, std::string* pError) {
  Parser parser(text);
  return parser.Parse(pValue, pError);
}

std::string WriteJson(const JsonValue& value) {
  std::string out;
  Write(value, 0, &out);
  out.push_back('\n');
  return out;
}

}  // namespace zel::sim
