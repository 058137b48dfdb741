// Changes made through the content manager in one process can be followed from another process
// on the same data directory: the watcher binds the datagram socket "<data dir>/ctsvc-changes.sock"
// and every process sends one line per change to it ("<change type> <id> <uri>") while it exists.
// A change is reported when it is made, which may be before its transaction is committed.
#ifndef ZEL_CONTENT_CHANGE_WATCHER_H
#define ZEL_CONTENT_CHANGE_WATCHER_H

#include <string>

class CContentChangeWatcher {
 public:
  CContentChangeWatcher() = default;
  ~CContentChangeWatcher();
  CContentChangeWatcher(const CContentChangeWatcher&) = delete;
  CContentChangeWatcher& operator=(const CContentChangeWatcher&) = delete;

  // Binds the socket of the current data directory; false when another watcher has it or the path
  // does not fit a socket address.
  bool Open();
  // Waits up to nTimeoutMs (negative: forever) for the next change line; false on timeout or error.
  bool Receive(std::string& strLine, int nTimeoutMs);

 private:
  int m_nSocket = -1;
  std::string m_strPath;
};

// The socket path of the current data directory.
std::string ContentChangeSocketPath();
// Sends one change line to the watcher of the data directory, if there is one (never blocks).
void BroadcastContentChange(int nChangeType, const std::string& strUri, int nId);

#endif
