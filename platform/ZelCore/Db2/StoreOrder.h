// Rebuilding the indexes whose order the library defines (name order, word folding) when a store
// was last written under another definition.
#ifndef ZEL_DB2_STORE_ORDER_H
#define ZEL_DB2_STORE_ORDER_H

#include <sqlite3.h>

namespace zel::db2 {

// Compares the identities recorded in the store with the current ones and rebuilds what differs
// (REINDEX of the user1 indexes, refill of the word-tokenized full-text indexes), each in its own
// write transaction, then records the current identity. A store that cannot be written (read
// only, locked past the busy wait) is left as it is; the next open tries again.
void RefreshOrderedIndexes(sqlite3* pDb);

}  // namespace zel::db2

#endif
