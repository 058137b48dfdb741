// Text form of the registry-style ini files:
//   [Section]
//   key=value
// Sections and keys keep their order. Keys are trimmed; a value is trimmed too unless it is
// written in double quotes, which the writer does for values with blanks at either end or a
// leading quote, so every value without a line break round-trips. Lines starting with ';' or '#'
// are comments (not kept). A line that is neither is logged and skipped.
#ifndef ZEL_CORE_INI_FORMAT_H
#define ZEL_CORE_INI_FORMAT_H

#include <string>
#include <utility>
#include <vector>

namespace zel::internal {

struct IniSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> entries;

  const std::string* Find(const std::string& key) const;
  void Set(const std::string& key, const std::string& value);  // replaces in place or appends
};

struct IniData {
  std::vector<IniSection> sections;

  IniSection* FindSection(const std::string& name);
  const IniSection* FindSection(const std::string& name) const;
  IniSection& GetOrAddSection(const std::string& name);
  bool RemoveSection(const std::string& name);
};

// pszOrigin names the file in log lines about skipped lines.
IniData ParseIni(const std::string& text, const char* pszOrigin);
std::string FormatIni(const IniData& data);

// Whether a section name, key or value can be written and read back unchanged.
bool IsValidIniSectionName(const std::string& name);
bool IsValidIniKey(const std::string& key);
bool IsValidIniValue(const std::string& value);

}  // namespace zel::internal

#endif
