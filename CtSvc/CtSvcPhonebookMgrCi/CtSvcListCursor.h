// The name lookup and the shared cursor of the contact and primary list families. Each function
// holds the module mutex for its whole run.
#ifndef CTSVC_LIST_CURSOR_H
#define CTSVC_LIST_CURSOR_H

#include "CtSvcPhonebookMgrCi/CtSvcListFamilies.h"
#include "CtSvcPhonebookMgrCi/CtSvcListTable.h"

template <class F>
class CCtSvcListCursor {
 public:
  using Table = CCtSvcListTable<F>;
  using Record = typename F::Record;

  static INT32 GetListIndexFromName(INT32 hList, const CtSvcPersonFilterName* pNameFilter) {
    CCtSvcModuleLock lock;
    if (!ZEL_REQUIRE(pNameFilter)) {
      return -1;
    }
    IContentList* pList = Table::Instance().OpenList(hList);
    return pList != nullptr ? CtSvcListIndexFromName(F(), pList, pNameFilter) : -1;
  }

  static INT32 SetPos(INT32 hList, INT32 nPos) {
    CCtSvcModuleLock lock;
    IContentList* pList = Table::Instance().OpenList(hList);
    if (pList == nullptr) {
      return -1;
    }
    if (!ZEL_REQUIRE_TEXT(nPos >= 0 && nPos < pList->GetCount(), Texts().PositionCheck().c_str())) {
      return -1;
    }
    IContentListIterator* pIterator = pList->GetIterator();
    if (pIterator == nullptr) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().IteratorMissing("GetCurrent", hList));
      return FALSE;
    }
    if (!pIterator->MoveTo(nPos)) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().MoveFailed(hList));
      return FALSE;
    }
    return TRUE;
  }

  // Fills the record with the cursor's row; the row's position in the list, or -1.
  static INT32 GetCurrent(INT32 hList, Record* pRecord) {
    CCtSvcModuleLock lock;
    IContentList* pList = Table::Instance().OpenList(hList);
    if (pList == nullptr || !ZEL_REQUIRE(pRecord)) {
      return -1;
    }
    IContentListIterator* pIterator = pList->GetIterator();
    if (pIterator == nullptr) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().IteratorMissing("GetCurrent", hList));
      return -1;
    }
    CContent content;
    if (!pIterator->GetCurrent(content)) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().CurrentReadFailed(hList));
      return -1;
    }
    if (!Table::Convert(content, *pRecord)) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().CursorLoadFailed("GetCurrent", hList));
      return -1;
    }
    return pList->GetIndexWithID(pRecord->nId);
  }

  static BOOL GetNext(INT32 hList, Record* pRecord) {
    return _Step(hList, pRecord, "GetNext", &IContentListIterator::GetNext);
  }
  static BOOL GetPrev(INT32 hList, Record* pRecord) {
    return _Step(hList, pRecord, "GetPrev", &IContentListIterator::GetPrev);
  }
  static BOOL IsFirst(INT32 hList) { return _Ask(hList, "IsFirst", &IContentListIterator::IsFirst); }
  static BOOL IsLast(INT32 hList) { return _Ask(hList, "IsLast", &IContentListIterator::IsLast); }

 private:
  static const CCtSvcListTexts& Texts() { return Table::Texts(); }

  // Moves the cursor one row with pfnStep and converts the row it reaches.
  static BOOL _Step(INT32 hList, Record* pRecord, const char* szFunction,
                    bool (IContentListIterator::*pfnStep)(CContent&)) {
    CCtSvcModuleLock lock;
    IContentList* pList = Table::Instance().OpenList(hList);
    if (pList == nullptr || !ZEL_REQUIRE(pRecord)) {
      return FALSE;
    }
    IContentListIterator* pIterator = pList->GetIterator();
    if (pIterator == nullptr) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().IteratorMissingHGroup(szFunction, hList));
      return FALSE;
    }
    CContent content;
    if (!(pIterator->*pfnStep)(content)) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().StepReadFailed(szFunction, hList));
      return FALSE;
    }
    if (!Table::Convert(content, *pRecord)) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().CursorLoadFailed(szFunction, hList));
      return FALSE;
    }
    return TRUE;
  }

  static BOOL _Ask(INT32 hList, const char* szFunction, bool (IContentListIterator::*pfnAsk)()) {
    CCtSvcModuleLock lock;
    IContentList* pList = Table::Instance().OpenList(hList);
    if (pList == nullptr) {
      return FALSE;
    }
    IContentListIterator* pIterator = pList->GetIterator();
    if (pIterator == nullptr) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().IteratorMissingHGroup(szFunction, hList));
      return FALSE;
    }
    return (pIterator->*pfnAsk)() ? TRUE : FALSE;
  }
};

#endif
