// The --trace printer of the phonebook's change callbacks.
#include "ChangeTrace.h"

#include <cstdio>
#include <mutex>

namespace ctsvc_tool {

namespace {

const char* TypeName(CtSvcChangeType type) {
  static const char* const kNames[] = {"insert", "update", "delete", "bulk-delete", "bulk-insert", "full-sync"};
  return type >= 0 && type < 6 ? kNames[type] : "unknown";
}

// The list is named by the user data of its registration.
void Print(CtSvcChangeType type, int nRecordId, void*, void* pUserData) {
  static std::mutex s_mutex;
  std::lock_guard<std::mutex> lock(s_mutex);
  std::fprintf(stderr, "trace: %s %s %d\n", static_cast<const char*>(pUserData), TypeName(type), nRecordId);
  std::fflush(stderr);
}

struct TraceList {
  void (*pfnRegister)(CtSvcPhonebookChangeCallback, void*);
  void (*pfnUnregister)(CtSvcPhonebookChangeCallback, void*);
  const char* pszName;
};

const TraceList kLists[] = {
    {&CtSvcPhonebookRegisterContactCallback, &CtSvcPhonebookUnRegisterContactCallback, "contact"},
    {&CtSvcPhonebookRegisterGroupCallback, &CtSvcPhonebookUnRegisterGroupCallback, "group"},
    {&CtSvcPhonebookRegisterContactCallbackForQRN, &CtSvcPhonebookUnRegisterContactCallbackForQRN, "contact-qrn"},
    {&CtSvcPhonebookRegisterGroupCallbackForQRN, &CtSvcPhonebookUnRegisterGroupCallbackForQRN, "group-qrn"},
};

}  // namespace

ChangeTrace::ChangeTrace(bool bOn) : m_bOn(bOn) {
  for (const TraceList& list : kLists) {
    if (m_bOn) {
      list.pfnRegister(&Print, const_cast<char*>(list.pszName));
    }
  }
}

ChangeTrace::~ChangeTrace() {
  for (const TraceList& list : kLists) {
    if (m_bOn) {
      list.pfnUnregister(&Print, const_cast<char*>(list.pszName));
    }
  }
}

}  // namespace ctsvc_tool
