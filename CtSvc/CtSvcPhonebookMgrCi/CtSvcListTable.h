// The table of open lists of one family, and the functions every family has: create, destroy,
// count, read by position and find an id. Handles are indexes into the table. Each function holds
// the module mutex for its whole run.
#ifndef CTSVC_LIST_TABLE_H
#define CTSVC_LIST_TABLE_H

#include <memory>

#include "ContentFramework.h"
#include "CtSvcDB/DbMgr/CtSvcDbMgr.h"
#include "CtSvcDbCi/CtSvcDbCiCommon.h"
#include "CtSvcDbListener.h"
#include "CtSvcPhonebookMgrCi/CtSvcListTexts.h"
#include "ZelDebug.h"

// Writes one prepared line to the debug print.
inline void CtSvcListLog(UINT32 nClass, const std::string& strLine) { DbgPrint(nClass, "%s", strLine.c_str()); }

template <class F>
class CCtSvcListTable {
 public:
  using Filter = typename F::Filter;
  using Record = typename F::Record;

  static CCtSvcListTable& Instance() {
    static CCtSvcListTable s_table;
    return s_table;
  }

  static const CCtSvcListTexts& Texts() {
    static const CCtSvcListTexts s_texts(F::kNames);
    return s_texts;
  }

  INT32 Create(const Filter* pFilter, CtSvcDbListenerCallback pfnCallback) {
    CCtSvcModuleLock lock;
    const int hList = _FirstFreeSlot();
    if (hList < 0) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().NoFreeSlot());
      return -1;
    }
    std::unique_ptr<IContentList> pList(CCtSvcDbMgr::Instance()->CreateList(pFilter));
    if (!pList) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().CreateFailed());
      return -1;
    }
    CtSvcListLog(DBG_CLASS_TRACE, Texts().Created());
    if (pfnCallback != nullptr && _CtSvcDbListenerListRegisterCallback(pList.get(), pfnCallback, nullptr, __LINE__)) {
      CtSvcListLog(DBG_CLASS_TRACE, Texts().ObserverRegistered());
      m_apfnCallback[hList] = pfnCallback;
    }
    m_apList[hList] = std::move(pList);
    return hList;
  }

  BOOL Destroy(INT32 hList) {
    CCtSvcModuleLock lock;
    if (!ZEL_REQUIRE_TEXT(_InRange(hList), Texts().RangeCheck().c_str())) {
      return FALSE;
    }
    std::unique_ptr<IContentList>& pList = m_apList[hList];
    if (!pList) {
      return FALSE;
    }
    if (m_apfnCallback[hList] != nullptr) {
      CtSvcDbListenerListUnregisterCallback(pList.get(), m_apfnCallback[hList], nullptr);
      m_apfnCallback[hList] = nullptr;
    }
    pList.reset();
    CtSvcListLog(DBG_CLASS_TRACE, Texts().Destroyed());
    return TRUE;
  }

  INT32 GetCount(INT32 hList) {
    CCtSvcModuleLock lock;
    IContentList* pList = OpenList(hList);
    return pList != nullptr ? pList->GetCount() : -1;
  }

  INT32 GetListIndexFromID(INT32 hList, INT32 nId) {
    CCtSvcModuleLock lock;
    IContentList* pList = OpenList(hList);
    return pList != nullptr ? pList->GetIndexWithID(nId) : -1;
  }

  BOOL GetAt(INT32 hList, INT32 nIndex, Record* pRecord) {
    CCtSvcModuleLock lock;
    GetAtFrame frame;
    IContentList* pList = OpenList(hList);
    if (pList == nullptr || !ZEL_REQUIRE(nIndex >= 0) || !ZEL_REQUIRE(pRecord)) {
      return FALSE;
    }
    CContent content;
    if (!pList->GetAt(nIndex, content)) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().GetAtReadFailed(hList, nIndex));
      return FALSE;
    }
    if (!Convert(content, *pRecord)) {
      CtSvcListLog(DBG_CLASS_FAIL, Texts().GetAtLoadFailed(hList, nIndex));
      return FALSE;
    }
    return TRUE;
  }

  // The open list of a handle, or null after the range or open assertion. Callers hold the
  // module mutex.
  IContentList* OpenList(INT32 hList) {
    if (!ZEL_REQUIRE_TEXT(_InRange(hList), Texts().RangeCheck().c_str())) {
      return nullptr;
    }
    IContentList* pList = m_apList[hList].get();
    if (!ZEL_REQUIRE_TEXT(pList != nullptr, Texts().OpenCheck().c_str())) {
      return nullptr;
    }
    return pList;
  }

  // Loads a row into the family's record object and fills the C record from it.
  static bool Convert(const CContent& content, Record& record) {
    typename F::RecordClass object;
    if (!object.SetData(content)) {
      return false;
    }
    object.GetData(record);
    return true;
  }

 private:
  // Frames GetAt with its start and finish traces in the families that have them.
  struct GetAtFrame {
    GetAtFrame() {
      if (F::kTracesGetAt) {
        CtSvcListLog(DBG_CLASS_TRACE, Texts().GetAtStart());
      }
    }
    ~GetAtFrame() {
      if (F::kTracesGetAt) {
        CtSvcListLog(DBG_CLASS_TRACE, Texts().GetAtFinish());
      }
    }
  };

  CCtSvcListTable() = default;

  static bool _InRange(INT32 hList) { return hList >= 0 && hList < F::kSlots; }

  int _FirstFreeSlot() const {
    for (int hList = 0; hList < F::kSlots; ++hList) {
      if (!m_apList[hList]) {
        return hList;
      }
    }
    return -1;
  }

  std::unique_ptr<IContentList> m_apList[F::kSlots];
  CtSvcDbListenerCallback m_apfnCallback[F::kSlots] = {};
};

#endif
