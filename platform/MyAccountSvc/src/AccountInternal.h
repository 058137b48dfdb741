// What the account list and the notification delivery share inside the account service.
#ifndef MY_ACCOUNT_SVC_INTERNAL_H
#define MY_ACCOUNT_SVC_INTERNAL_H

#include <new>
#include <utility>

#include "MyAccountSvc.h"

namespace myaccount::internal {

// Process-wide state kept in static storage and never destroyed: event-handler threads may still
// deliver notifications while static destructors run at exit.
template <typename T>
T& Persistent() {
  alignas(T) static unsigned char s_storage[sizeof(T)];
  static T* s_pValue = ::new (static_cast<void*>(s_storage)) T();
  return *s_pValue;
}

enum class Change { Removed, Updated };

// Calls the registered callbacks of the change with the account (see MyAccountSvc.h for where).
void Notify(Change change, const MyAccount& account);

}  // namespace myaccount::internal

#endif
