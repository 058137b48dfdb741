#include "Json.h"

#include <cstdint>
#include <cstdio>
#include <map>

namespace ctsvc_tool {

namespace {

std::string Quote(const std::string& str) {
  std::string strOut = "\"";
  for (unsigned char c : str) {
    switch (c) {
      case '"': strOut += "\\\""; break;
      case '\\': strOut += "\\\\"; break;
      case '\n': strOut += "\\n"; break;
      case '\r': strOut += "\\r"; break;
      case '\t': strOut += "\\t"; break;
      default:
        if (c < 0x20) {
          char szEsc[8];
          std::snprintf(szEsc, sizeof(szEsc), "\\u%04x", c);
          strOut += szEsc;
        } else {
          strOut += static_cast<char>(c);
        }
    }
  }
  return strOut + "\"";
}

// Terminal columns of a code point: East Asian wide characters take two.
size_t Columns(uint32_t cp) {
  const bool bWide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) || (cp >= 0xAC00 && cp <= 0xD7A3) ||
                     (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFF00 && cp <= 0xFF60) || (cp >= 0x20000 && cp <= 0x3FFFD);
  return bWide ? 2 : 1;
}

// Display width of UTF-8 text.
size_t Width(const std::string& str) {
  size_t n = 0;
  for (size_t i = 0; i < str.size();) {
    const unsigned char c = static_cast<unsigned char>(str[i]);
    const size_t nLen = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    uint32_t cp = nLen == 1 ? c : c & (0xFF >> (nLen + 1));
    for (size_t k = 1; k < nLen && i + k < str.size(); ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(str[i + k]) & 0x3F);
    }
    n += Columns(cp);
    i += nLen;
  }
  return n;
}

bool IsTable(const Json& value) {
  if (value.GetKind() != Json::Kind::Array || value.Items().empty()) {
    return false;
  }
  for (const Json& item : value.Items()) {
    if (item.GetKind() != Json::Kind::Object) {
      return false;
    }
    for (const auto& member : item.Members()) {
      const Json::Kind kind = member.second.GetKind();
      if (kind == Json::Kind::Array || kind == Json::Kind::Object) {
        return false;
      }
    }
  }
  return true;
}

void PrintTable(const Json& table, const std::string& strIndent) {
  std::vector<std::string> vcKeys;
  for (const Json& row : table.Items()) {
    for (const auto& member : row.Members()) {
      bool bKnown = false;
      for (const std::string& strKey : vcKeys) {
        bKnown = bKnown || strKey == member.first;
      }
      if (!bKnown) {
        vcKeys.push_back(member.first);
      }
    }
  }
  std::map<std::string, size_t> widths;
  for (const std::string& strKey : vcKeys) {
    widths[strKey] = Width(strKey);
  }
  for (const Json& row : table.Items()) {
    for (const auto& member : row.Members()) {
      widths[member.first] = std::max(widths[member.first], Width(member.second.Text()));
    }
  }
  auto printRow = [&](auto getText) {
    std::string strLine = strIndent;
    for (const std::string& strKey : vcKeys) {
      const std::string strText = getText(strKey);
      strLine += strText + std::string(widths[strKey] - Width(strText) + 2, ' ');
    }
    while (!strLine.empty() && strLine.back() == ' ') {
      strLine.pop_back();
    }
    std::printf("%s\n", strLine.c_str());
  };
  printRow([](const std::string& strKey) { return strKey; });
  for (const Json& row : table.Items()) {
    printRow([&](const std::string& strKey) {
      for (const auto& member : row.Members()) {
        if (member.first == strKey) {
          return member.second.Text();
        }
      }
      return std::string();
    });
  }
}

void PrintHuman(const Json& value, const std::string& strIndent) {
  if (IsTable(value)) {
    PrintTable(value, strIndent);
    return;
  }
  if (value.GetKind() == Json::Kind::Array) {
    for (const Json& item : value.Items()) {
      PrintHuman(item, strIndent);
    }
    return;
  }
  if (value.GetKind() != Json::Kind::Object) {
    std::printf("%s%s\n", strIndent.c_str(), value.Text().c_str());
    return;
  }
  for (const auto& member : value.Members()) {
    const Json::Kind kind = member.second.GetKind();
    if (kind == Json::Kind::Array || kind == Json::Kind::Object) {
      if (kind == Json::Kind::Array && member.second.Items().empty()) {
        continue;
      }
      std::printf("%s%s:\n", strIndent.c_str(), member.first.c_str());
      PrintHuman(member.second, strIndent + "  ");
    } else {
      std::printf("%s%s: %s\n", strIndent.c_str(), member.first.c_str(), member.second.Text().c_str());
    }
  }
}

}  // namespace

Json Json::Bool(bool b) {
  Json value;
  value.m_kind = Kind::Bool;
  value.m_strValue = b ? "true" : "false";
  return value;
}

Json Json::Decimal(double dValue, int nDecimals) {
  char szText[64];
  std::snprintf(szText, sizeof(szText), "%.*f", nDecimals, dValue);
  Json value;
  value.m_kind = Kind::Number;
  value.m_strValue = szText;
  return value;
}

Json Json::Array() {
  Json value;
  value.m_kind = Kind::Array;
  return value;
}

Json Json::Object() {
  Json value;
  value.m_kind = Kind::Object;
  return value;
}

Json& Json::Push(Json value) {
  m_items.push_back(std::move(value));
  return *this;
}

Json& Json::Set(const std::string& strKey, Json value) {
  for (auto& member : m_members) {
    if (member.first == strKey) {
      member.second = std::move(value);
      return *this;
    }
  }
  m_members.emplace_back(strKey, std::move(value));
  return *this;
}

std::string Json::TextOf(const std::string& strKey) const {
  for (const auto& member : m_members) {
    if (member.first == strKey) {
      return member.second.Text();
    }
  }
  return std::string();
}

std::string Json::Dump() const {
  switch (m_kind) {
    case Kind::Null: return "null";
    case Kind::Number:
    case Kind::Bool: return m_strValue;
    case Kind::String: return Quote(m_strValue);
    case Kind::Array: {
      std::string str = "[";
      for (size_t i = 0; i < m_items.size(); ++i) {
        str += (i == 0 ? "" : ",") + m_items[i].Dump();
      }
      return str + "]";
    }
    case Kind::Object: {
      std::string str = "{";
      for (size_t i = 0; i < m_members.size(); ++i) {
        str += (i == 0 ? "" : ",") + Quote(m_members[i].first) + ":" + m_members[i].second.Dump();
      }
      return str + "}";
    }
  }
  return "null";
}

void Print(const Json& value, bool bJson) {
  if (bJson) {
    std::printf("%s\n", value.Dump().c_str());
  } else {
    PrintHuman(value, "");
  }
}

}  // namespace ctsvc_tool
