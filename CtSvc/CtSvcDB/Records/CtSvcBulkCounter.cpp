#include "CtSvcBulkCounter.h"

#include <atomic>

namespace {
std::atomic<int> g_nBulkOperationStack{0};
}

int CtSvcIncrementBulkCounter(void) { return ++g_nBulkOperationStack; }

int CtSvcGetBulkCounter(void) { return g_nBulkOperationStack.load(); }

void CtSvcResetBulkCounter(void) { g_nBulkOperationStack.store(0); }
