// Parsing and writing the text form of ini files.
#include "IniFormat.h"

#include "ZelDebug.h"

namespace zel::internal {

namespace {

const char kBlanks[] = " \t\r";

std::string Trim(const std::string& s) {
  const size_t nFirst = s.find_first_not_of(kBlanks);
  if (nFirst == std::string::npos) {
    return std::string();
  }
  return s.substr(nFirst, s.find_last_not_of(kBlanks) - nFirst + 1);
}

std::string UnquoteValue(const std::string& raw) {
  const std::string value = Trim(raw);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string QuoteValue(const std::string& value) {
  const bool bQuote = !value.empty() && (value.front() == '"' || std::string(kBlanks).find(value.front()) != std::string::npos ||
                                         std::string(kBlanks).find(value.back()) != std::string::npos);
  return bQuote ? "\"" + value + "\"" : value;
}

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

}  // namespace

const std::string* IniSection::Find(const std::string& key) const {
  for (const auto& entry : entries) {
    if (entry.first == key) {
      return &entry.second;
    }
  }
  return nullptr;
}

void IniSection::Set(const std::string& key, const std::string& value) {
  for (auto& entry : entries) {
    if (entry.first == key) {
      entry.second = value;
      return;
    }
  }
  entries.emplace_back(key, value);
}

IniSection* IniData::FindSection(const std::string& name) {
  for (IniSection& section : sections) {
    if (section.name == name) {
      return &section;
    }
  }
  return nullptr;
}

const IniSection* IniData::FindSection(const std::string& name) const {
  return const_cast<IniData*>(this)->FindSection(name);
}

IniSection& IniData::GetOrAddSection(const std::string& name) {
  if (IniSection* p = FindSection(name)) {
    return *p;
  }
  sections.push_back(IniSection{name, {}});
  return sections.back();
}

bool IniData::RemoveSection(const std::string& name) {
  for (auto it = sections.begin(); it != sections.end(); ++it) {
    if (it->name == name) {
      sections.erase(it);
      return true;
    }
  }
  return false;
}

IniData ParseIni(const std::string& text, const char* pszOrigin) {
  IniData data;
  IniSection* pSection = nullptr;
  size_t nStart = 0;
  int nLine = 0;
  // A UTF-8 byte-order mark is not part of the first line.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    nStart = 3;
  }
  while (nStart < text.size()) {
    size_t nEnd = text.find('\n', nStart);
    if (nEnd == std::string::npos) {
      nEnd = text.size();
    }
    const std::string raw = text.substr(nStart, nEnd - nStart);
    nStart = nEnd + 1;
    ++nLine;
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == ';' || line[0] == '#') {
      continue;
    }
    if (line.front() == '[' && line.back() == ']' && IsValidIniSectionName(line.substr(1, line.size() - 2))) {
      pSection = &data.GetOrAddSection(line.substr(1, line.size() - 2));
      continue;
    }
    const size_t nEq = line.find('=');
    const std::string key = nEq == std::string::npos ? std::string() : Trim(line.substr(0, nEq));
    if (pSection == nullptr || key.empty()) {
      DbgPrint(DBG_CLASS_FAIL, "ParseIni: - %s line %d skipped: %s\n", pszOrigin != nullptr ? pszOrigin : "?", nLine,
               line.c_str());
      continue;
    }
    pSection->Set(key, UnquoteValue(raw.substr(raw.find('=') + 1)));
  }
  return data;
}

std::string FormatIni(const IniData& data) {
  std::string text;
  for (const IniSection& section : data.sections) {
    text += "[" + section.name + "]\n";
    for (const auto& entry : section.entries) {
      text += entry.first + "=" + QuoteValue(entry.second) + "\n";
    }
  }
  return text;
}

bool IsValidIniSectionName(const std::string& name) {
  return !name.empty() && name == Trim(name) && !HasLineBreak(name) && name.find_first_of("[]") == std::string::npos;
}

bool IsValidIniKey(const std::string& key) {
  return !key.empty() && key == Trim(key) && !HasLineBreak(key) && key.find('=') == std::string::npos &&
         key[0] != '[' && key[0] != ';' && key[0] != '#';
}

bool IsValidIniValue(const std::string& value) { return !HasLineBreak(value); }

}  // namespace zel::internal
