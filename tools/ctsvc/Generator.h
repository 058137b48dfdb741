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

// How the contacts are written: in bulk (kept mass-insert statements, committed at the end) or
// each contact committed on its own.
enum class InsertMode { kBulk, kCommitEach };

// Stores nCount contacts (the service must be up). pfnProgress(done, total) is called now and then.
// The same seed gives the same address book.
GenerateResult GenerateContacts(int nCount, uint32_t nSeed, const std::function<void(int, int)>& pfnProgress,
                                InsertMode eMode = InsertMode::kBulk);

// The accounts the generator files contacts under (created when missing).
constexpr int kGeneratorAccountA = 1;
constexpr int kGeneratorAccountB = 2;

}  // namespace ctsvc_tool

#endif
