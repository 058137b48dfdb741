// Exported functions of the ten list families, each a call into its family's table or cursor.
#include "CtSvcList.h"

#include "CtSvcPhonebookMgrCi/CtSvcListCursor.h"
#include "CtSvcPhonebookMgrCi/CtSvcListFamilies.h"
#include "CtSvcPhonebookMgrCi/CtSvcListTable.h"

#define CTSVC_LIST_COMMON_EXPORTS(NAME)                                                                           \
  extern "C" BOOL CtSvc##NAME##Destroy(INT32 hList) {                                                           \
    return CCtSvcListTable<CtSvc##NAME##Family>::Instance().Destroy(hList);                                    \
  }                                                                                                            \
  extern "C" INT32 CtSvc##NAME##GetCount(INT32 hList) {                                                        \
    return CCtSvcListTable<CtSvc##NAME##Family>::Instance().GetCount(hList);                                   \
  }                                                                                                            \
  extern "C" BOOL CtSvc##NAME##GetAt(INT32 hList, INT32 nIndex, CtSvc##NAME##Family::Record* pRecord) {       \
    return CCtSvcListTable<CtSvc##NAME##Family>::Instance().GetAt(hList, nIndex, pRecord);                     \
  }                                                                                                            \
  extern "C" INT32 CtSvc##NAME##GetListIndexFromID(INT32 hList, INT32 nId) {                                   \
    return CCtSvcListTable<CtSvc##NAME##Family>::Instance().GetListIndexFromID(hList, nId);                    \
  }

#define CTSVC_LIST_CREATE_EXPORT(NAME)                                                                           \
  extern "C" INT32 CtSvc##NAME##Create(const CtSvc##NAME##Family::Filter* pFilter,                              \
                                       CtSvcListCallback pfnCallback) {                                        \
    return CCtSvcListTable<CtSvc##NAME##Family>::Instance().Create(pFilter, pfnCallback);                      \
  }

#define CTSVC_LIST_CURSOR_EXPORTS(NAME)                                                                          \
  extern "C" INT32 CtSvc##NAME##GetListIndexFromName(INT32 hList, const CtSvcPersonFilterName* pNameFilter) {   \
    return CCtSvcListCursor<CtSvc##NAME##Family>::GetListIndexFromName(hList, pNameFilter);                    \
  }                                                                                                            \
  extern "C" INT32 CtSvc##NAME##SetPos(INT32 hList, INT32 nPos) {                                              \
    return CCtSvcListCursor<CtSvc##NAME##Family>::SetPos(hList, nPos);                                         \
  }                                                                                                            \
  extern "C" INT32 CtSvc##NAME##GetCurrent(INT32 hList, CtSvc##NAME##Family::Record* pRecord) {               \
    return CCtSvcListCursor<CtSvc##NAME##Family>::GetCurrent(hList, pRecord);                                  \
  }                                                                                                            \
  extern "C" BOOL CtSvc##NAME##GetNext(INT32 hList, CtSvc##NAME##Family::Record* pRecord) {                   \
    return CCtSvcListCursor<CtSvc##NAME##Family>::GetNext(hList, pRecord);                                     \
  }                                                                                                            \
  extern "C" BOOL CtSvc##NAME##GetPrev(INT32 hList, CtSvc##NAME##Family::Record* pRecord) {                   \
    return CCtSvcListCursor<CtSvc##NAME##Family>::GetPrev(hList, pRecord);                                     \
  }                                                                                                            \
  extern "C" BOOL CtSvc##NAME##IsFirst(INT32 hList) {                                                           \
    return CCtSvcListCursor<CtSvc##NAME##Family>::IsFirst(hList);                                              \
  }                                                                                                            \
  extern "C" BOOL CtSvc##NAME##IsLast(INT32 hList) { return CCtSvcListCursor<CtSvc##NAME##Family>::IsLast(hList); }

CTSVC_LIST_COMMON_EXPORTS(ContactList)
CTSVC_LIST_COMMON_EXPORTS(PrimaryList)
CTSVC_LIST_COMMON_EXPORTS(FdnList)
CTSVC_LIST_COMMON_EXPORTS(GroupList)
CTSVC_LIST_COMMON_EXPORTS(GroupMemberList)
CTSVC_LIST_COMMON_EXPORTS(PhoneNumberList)
CTSVC_LIST_COMMON_EXPORTS(EmailAddressList)
CTSVC_LIST_COMMON_EXPORTS(PostalAddressList)
CTSVC_LIST_COMMON_EXPORTS(EtcDataList)
CTSVC_LIST_COMMON_EXPORTS(IMList)

CTSVC_LIST_CREATE_EXPORT(ContactList)
CTSVC_LIST_CREATE_EXPORT(PrimaryList)
CTSVC_LIST_CREATE_EXPORT(GroupList)
CTSVC_LIST_CREATE_EXPORT(GroupMemberList)
CTSVC_LIST_CREATE_EXPORT(PhoneNumberList)
CTSVC_LIST_CREATE_EXPORT(EmailAddressList)
CTSVC_LIST_CREATE_EXPORT(PostalAddressList)
CTSVC_LIST_CREATE_EXPORT(EtcDataList)
CTSVC_LIST_CREATE_EXPORT(IMList)

// Fixed-dialling lists have no change callback.
extern "C" INT32 CtSvcFdnListCreate(const CtSvcFdnFilter* pFilter) {
  return CCtSvcListTable<CtSvcFdnListFamily>::Instance().Create(pFilter, nullptr);
}

CTSVC_LIST_CURSOR_EXPORTS(ContactList)
CTSVC_LIST_CURSOR_EXPORTS(PrimaryList)
