// Command arguments: positional words and "--name value" / "--name=value" / "--flag" options.
#ifndef CTSVC_TOOL_ARGS_H
#define CTSVC_TOOL_ARGS_H

#include <map>
#include <string>
#include <vector>

namespace ctsvc_tool {

class Args {
 public:
  Args() = default;
  // vcFlags name the options that take no value, vcValues those that take one; any other "--name"
  // is an error. "--" ends the options: every later word is positional.
  Args(const std::vector<std::string>& vcArgs, const std::vector<std::string>& vcFlags,
       const std::vector<std::string>& vcValues);

  bool IsValid() const { return m_strError.empty(); }
  const std::string& Error() const { return m_strError; }
  const std::vector<std::string>& Positional() const { return m_vcPositional; }
  bool Has(const std::string& strName) const { return m_options.count(strName) > 0; }
  std::string Get(const std::string& strName, const std::string& strDefault = "") const;
  std::vector<std::string> GetAll(const std::string& strName) const;
  // Integer option or positional word; false when it is not a whole number.
  bool GetInt(const std::string& strName, int& nValue) const;
  bool PositionalInt(size_t nIndex, int& nValue) const;
  // The positional word at nIndex, "" when there is none.
  std::string Word(size_t nIndex) const { return nIndex < m_vcPositional.size() ? m_vcPositional[nIndex] : ""; }

 private:
  std::vector<std::string> m_vcPositional;
  std::multimap<std::string, std::string> m_options;
  std::string m_strError;
};

// Parses a whole decimal number (optional sign); false for anything else or out of range.
bool ParseInt(const std::string& strText, int& nValue);

// The words of a blank-separated list ("a b c").
std::vector<std::string> SplitWords(const char* szList);

}  // namespace ctsvc_tool

#endif
