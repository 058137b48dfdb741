// A generated address book: Latin and Hangul names, numbers, e-mails, addresses and groups, and
// pairs of account contacts that share an e-mail (so they merge into one contact).
#ifndef CTSVC_TOOL_GENERATOR_H
#define CTSVC_TOOL_GENERATOR_H

#include <cstdint>
#include <functional>

namespace ctsvc_tool {

struct GenerateResult {
  int nPersons = 0;   // persons stored
  int nFailures = 0;  // contacts that could not be stored
};

// Stores nCount contacts (the service must be up). pfnProgress(done, total) is called now and then.
// The same seed gives the same address book.
GenerateResult GenerateContacts(int nCount, uint32_t nSeed, const std::function<void(int, int)>& pfnProgress);

// The accounts the generator files contacts under (created when missing).
constexpr int kGeneratorAccountA = 1;
constexpr int kGeneratorAccountB = 2;

}  // namespace ctsvc_tool

#endif
