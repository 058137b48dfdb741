#include "Args.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace ctsvc_tool {

bool ParseInt(const std::string& strText, int& nValue) {
  if (strText.empty()) {
    return false;
  }
  errno = 0;
  char* pEnd = nullptr;
  const long nParsed = std::strtol(strText.c_str(), &pEnd, 10);
  if (errno != 0 || pEnd == nullptr || *pEnd != '\0' || nParsed < INT_MIN || nParsed > INT_MAX) {
    return false;
  }
  nValue = static_cast<int>(nParsed);
  return true;
}

Args::Args(const std::vector<std::string>& vcArgs, const std::vector<std::string>& vcFlags) {
  for (size_t i = 0; i < vcArgs.size(); ++i) {
    const std::string& strArg = vcArgs[i];
    if (strArg.size() < 3 || strArg.compare(0, 2, "--") != 0) {
      m_vcPositional.push_back(strArg);
      continue;
    }
    const std::string strName = strArg.substr(2);
    if (std::find(vcFlags.begin(), vcFlags.end(), strName) != vcFlags.end()) {
      m_options.emplace(strName, "");
    } else if (i + 1 < vcArgs.size()) {
      m_options.emplace(strName, vcArgs[++i]);
    } else {
      m_strError = "option '--" + strName + "' needs a value";
    }
  }
}

std::string Args::Get(const std::string& strName, const std::string& strDefault) const {
  auto it = m_options.find(strName);
  return it != m_options.end() ? it->second : strDefault;
}

std::vector<std::string> Args::GetAll(const std::string& strName) const {
  std::vector<std::string> vcValues;
  auto range = m_options.equal_range(strName);
  for (auto it = range.first; it != range.second; ++it) {
    vcValues.push_back(it->second);
  }
  return vcValues;
}

bool Args::GetInt(const std::string& strName, int& nValue) const { return ParseInt(Get(strName), nValue); }

bool Args::PositionalInt(size_t nIndex, int& nValue) const {
  return nIndex < m_vcPositional.size() && ParseInt(m_vcPositional[nIndex], nValue);
}

std::string Args::Unknown(const std::vector<std::string>& vcAllowed) const {
  for (const auto& option : m_options) {
    if (std::find(vcAllowed.begin(), vcAllowed.end(), option.first) == vcAllowed.end()) {
      return "--" + option.first;
    }
  }
  return std::string();
}

}  // namespace ctsvc_tool
