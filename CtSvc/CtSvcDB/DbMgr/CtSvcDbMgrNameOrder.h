// Stores written before the name order was the language's collation: their name columns are
// declared, and their index letters computed, in the order of this library.
#ifndef CTSVC_DB_MGR_NAME_ORDER_H
#define CTSVC_DB_MGR_NAME_ORDER_H

class CCtSvcDbTable;

// Declares the name collation on every name column of the table that lacks it (an older store),
// then rebuilds the table's indexes in that order. FALSE when the declaration cannot be changed.
bool CtSvcDeclareNameOrder(CCtSvcDbTable& table);

// Recomputes the index letters of every person and primary when the store's letters were made
// under another name order (recorded as the schema version "CtSvc.letters"). FALSE on a failure.
bool CtSvcRefreshNameLetters(CCtSvcDbTable& person, CCtSvcDbTable& primary);

#endif
