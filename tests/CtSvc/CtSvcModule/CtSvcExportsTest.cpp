// Every function a public header declares is defined by the library: a program that calls any of
// them links. The declarations are read from the headers themselves, so a new one is checked as
// soon as it is written.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The text without comments, preprocessor lines and the bodies of structures, enumerations and
// inline functions: what is left is a list of declarations ending in ';'.
std::string Declarations(std::string strText) {
  strText = std::regex_replace(strText, std::regex(R"(/\*[\s\S]*?\*/)"), " ");
  strText = std::regex_replace(strText, std::regex(R"(//[^\n]*)"), " ");
  strText = std::regex_replace(strText, std::regex(R"((^|\n)[ \t]*#([^\n]*\\\n)*[^\n]*)"), "\n");
  std::string strOut;
  int nDepth = 0;
  for (const char c : strText) {
    if (c == '{') {
      ++nDepth;
    } else if (c == '}') {
      --nDepth;
      strOut += nDepth == 0 ? ";" : "";
    } else if (nDepth == 0) {
      strOut += c;
    }
  }
  return strOut;
}

// Names of the functions a header text declares for the library to define (typedefs of function
// types and inline functions left out).
std::vector<std::string> FunctionNames(const std::string& strHeader) {
  const std::regex name(R"(([A-Za-z_]\w*)\s*\()");
  const std::regex notExported(R"(\b(typedef|static|inline|static_assert)\b)");
  std::vector<std::string> vcNames;
  std::istringstream declarations(Declarations(strHeader));
  std::string strDeclaration;
  while (std::getline(declarations, strDeclaration, ';')) {
    std::smatch match;
    if (!std::regex_search(strDeclaration, notExported) && std::regex_search(strDeclaration, match, name)) {
      vcNames.push_back(match[1]);
    }
  }
  return vcNames;
}

// Every function the public headers declare.
std::set<std::string> DeclaredFunctions() {
  std::set<std::string> setNames;
  for (const auto& entry : std::filesystem::directory_iterator(CTSVC_PUBLIC_INCLUDE_DIR)) {
    if (entry.path().extension() == ".h") {
      std::ifstream in(entry.path());
      const std::string strText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      for (const std::string& strName : FunctionNames(strText)) {
        setNames.insert(strName);
      }
    }
  }
  return setNames;
}

TEST(CtSvcExportsTest, EveryDeclaredFunctionIsDefinedByTheLibrary) {
  const std::set<std::string> setNames = DeclaredFunctions();
  // The headers declare a few hundred functions; far fewer means they were not read.
  ASSERT_GT(setNames.size(), 200u);
  void* pLibrary = dlopen("libZelCtSvc.so", RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(nullptr, pLibrary) << dlerror();
  std::vector<std::string> vcMissing;
  for (const std::string& strName : setNames) {
    if (dlsym(pLibrary, strName.c_str()) == nullptr) {
      vcMissing.push_back(strName);
    }
  }
  dlclose(pLibrary);
  EXPECT_TRUE(vcMissing.empty()) << ::testing::PrintToString(vcMissing);
}

// The reader itself: declarations over several lines, attributes, bodies, typedefs and inline
// functions.
TEST(CtSvcExportsTest, DeclarationsAreReadFromHeaderText) {
  const std::string strHeader =
      "/* A(x); */\n#define M(x) x\n#ifdef __cplusplus\nclass C;\n#endif\n"
      "typedef struct S { int (*pfn)(int); } S;\ntypedef void (*Callback)(int);\n"
      "ZEL_EXTERN_C_BEGIN\nint First(const S* p,\n          int n) ZEL_PRINTF(1, 2);\n"
      "static inline int Inline(void) { return Hidden(); }\nBOOL Second(void); // Third(void);\n";
  EXPECT_EQ((std::vector<std::string>{"First", "Second"}), FunctionNames(strHeader));
}

}  // namespace
