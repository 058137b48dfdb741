#include "Args.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

namespace ctsvc_tool {

namespace {

bool Contains(const std::vector<std::string>& vcNames, const std::string& strName) {
  return std::find(vcNames.begin(), vcNames.end(), strName) != vcNames.end();
}

}  // namespace

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

std::vector<std::string> SplitWords(const char* szList) {
  std::vector<std::string> vcWords;
  std::istringstream in(szList != nullptr ? szList : "");
  for (std::string strWord; in >> strWord;) {
    vcWords.push_back(strWord);
  }
  return vcWords;
}

Args::Args(const std::vector<std::string>& vcArgs, const std::vector<std::string>& vcFlags,
           const std::vector<std::string>& vcValues) {
  bool bOptionsEnded = false;
  for (size_t i = 0; i < vcArgs.size() && m_strError.empty(); ++i) {
    const std::string& strArg = vcArgs[i];
    if (!bOptionsEnded && strArg == "--") {
      bOptionsEnded = true;
      continue;
    }
    if (bOptionsEnded || strArg.size() < 3 || strArg.compare(0, 2, "--") != 0) {
      m_vcPositional.push_back(strArg);
      continue;
    }
    const size_t nEquals = strArg.find('=');
    const std::string strName = strArg.substr(2, nEquals == std::string::npos ? std::string::npos : nEquals - 2);
    if (Contains(vcFlags, strName)) {
      if (nEquals != std::string::npos) {
        m_strError = "option '--" + strName + "' takes no value";
      }
      m_options.emplace(strName, "");
    } else if (!Contains(vcValues, strName)) {
      m_strError = "unknown option '--" + strName + "'";
    } else if (nEquals != std::string::npos) {
      m_options.emplace(strName, strArg.substr(nEquals + 1));
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

}  // namespace ctsvc_tool
