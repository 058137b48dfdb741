// Names a list family uses in its assertions and log lines, and the texts made from them.
#ifndef CTSVC_LIST_TEXTS_H
#define CTSVC_LIST_TEXTS_H

#include <string>

struct CtSvcListNames {
  const char* szPrefix;   // exported prefix, starts the Create/Destroy/cursor lines ("CtSvcContactList")
  const char* szHandle;   // the handle's name ("hPhonebook")
  const char* szTable;    // the table's name ("g_PBList")
  const char* szMax;      // the size constant ("CTSVC_PHONEBOOK_LIST_MAX")
  const char* szOpener;   // what opened the list ("CreatePersonList")
  const char* szGetAt;    // prefix of the row-read failures ("CtSvcContactGetAt")
  const char* szRecord;   // the record object's name ("Person")
};

// Every text is built once per family; the formatted lines take the handle and index.
class CCtSvcListTexts {
 public:
  explicit CCtSvcListTexts(const CtSvcListNames& names);

  // Assertion expressions.
  const std::string& RangeCheck() const { return m_strRange; }      // "hPhonebook >= 0 && hPhonebook < ..."
  const std::string& OpenCheck() const { return m_strOpen; }        // "g_PBList[hPhonebook]"
  const std::string& PositionCheck() const { return m_strPosition; }  // "nPos >= 0 && nPos < ...->GetCount()"

  // Lines of Create, Destroy and GetAt.
  std::string Created() const;
  std::string CreateFailed() const;
  std::string NoFreeSlot() const;
  std::string ObserverRegistered() const;
  std::string Destroyed() const;
  std::string GetAtStart() const;
  std::string GetAtFinish() const;
  std::string GetAtReadFailed(int nHandle, int nIndex) const;
  std::string GetAtLoadFailed(int nHandle, int nIndex) const;

  // Lines of the cursor functions; szFunction is the function's suffix ("GetNext").
  std::string IteratorMissing(const char* szFunction, int nHandle) const;  // "(hPhonebook = %d"
  std::string IteratorMissingHGroup(const char* szFunction, int nHandle) const;  // "(HGROUP = %d"
  std::string MoveFailed(int nHandle) const;
  std::string CurrentReadFailed(int nHandle) const;                          // "(hPhonebook = %d"
  std::string StepReadFailed(const char* szFunction, int nHandle) const;    // "(HGROUP = %d"
  std::string CursorLoadFailed(const char* szFunction, int nHandle) const;

 private:
  std::string _Head(const char* szFunction) const;  // "<prefix><function> - "
  std::string _Value(int nHandle) const;            // "hPhonebook = <n>"

  CtSvcListNames m_Names;
  std::string m_strRange;
  std::string m_strOpen;
  std::string m_strPosition;
};

#endif
