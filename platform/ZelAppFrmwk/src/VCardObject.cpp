// The vCard object model: building, reading and freeing objects, properties and parameters.
#include <cstring>

#include "VCardInternal.h"
#include "ZelMem.h"

VObject* VCardNewObject(void) {
  auto* pObject = static_cast<VObject*>(MemCalloc(sizeof(VObject)));
  if (pObject != nullptr) {
    pObject->nKind = VCARD_OBJECT_VCARD;
    pObject->nVersion = VCARD_VERSION_21;
  }
  return pObject;
}

VProp* VCardAddProp(VObject* pObject, INT32 nKind) {
  if (pObject == nullptr) {
    return nullptr;
  }
  auto* pProp = static_cast<VProp*>(MemCalloc(sizeof(VProp)));
  if (pProp == nullptr) {
    return nullptr;
  }
  pProp->nKind = nKind;
  if (pObject->pLast != nullptr) {
    pObject->pLast->pNext = pProp;
  } else {
    pObject->pFirst = pProp;
  }
  pObject->pLast = pProp;
  return pProp;
}

BOOL VCardAddParam(VProp* pProp, INT32 nKind, UINT32 nValue) {
  if (pProp == nullptr) {
    return FALSE;
  }
  auto* pParam = static_cast<VParam*>(MemCalloc(sizeof(VParam)));
  if (pParam == nullptr) {
    return FALSE;
  }
  pParam->nKind = nKind;
  pParam->nValue = nValue;
  VParam** ppTail = &pProp->pParam;
  while (*ppTail != nullptr) {
    ppTail = &(*ppTail)->pNext;
  }
  *ppTail = pParam;
  return TRUE;
}

BOOL VCardSetValue(VProp* pProp, INT32 nIndex, const char* pValue, INT32 nLength) {
  if (pProp == nullptr || nIndex < 0 || nLength < 0 || (pValue == nullptr && nLength > 0)) {
    return FALSE;
  }
  if (nIndex >= pProp->nValueCount) {
    auto** ppValues = static_cast<char**>(MemCalloc(sizeof(char*) * static_cast<size_t>(nIndex + 1)));
    if (ppValues == nullptr) {
      return FALSE;
    }
    if (pProp->ppszValue != nullptr) {
      std::memcpy(ppValues, pProp->ppszValue, sizeof(char*) * static_cast<size_t>(pProp->nValueCount));
      MemFree(pProp->ppszValue);
    }
    pProp->ppszValue = ppValues;
    pProp->nValueCount = nIndex + 1;
  }
  auto* pszCopy = static_cast<char*>(MemAlloc(static_cast<size_t>(nLength) + 1));
  if (pszCopy == nullptr) {
    return FALSE;
  }
  if (nLength > 0) {
    std::memcpy(pszCopy, pValue, static_cast<size_t>(nLength));
  }
  pszCopy[nLength] = '\0';
  MemFree(pProp->ppszValue[nIndex]);
  pProp->ppszValue[nIndex] = pszCopy;
  return TRUE;
}

UINT32 VCardGetParam(const VProp* pProp, INT32 nKind) {
  UINT32 nMask = 0;
  for (const VParam* pParam = pProp != nullptr ? pProp->pParam : nullptr; pParam != nullptr; pParam = pParam->pNext) {
    if (pParam->nKind == nKind) {
      nMask |= pParam->nValue;
    }
  }
  return nMask;
}

BOOL VCardHasParam(const VProp* pProp, INT32 nKind) {
  for (const VParam* pParam = pProp != nullptr ? pProp->pParam : nullptr; pParam != nullptr; pParam = pParam->pNext) {
    if (pParam->nKind == nKind) {
      return TRUE;
    }
  }
  return FALSE;
}

namespace {

void FreeProp(VProp* pProp) {
  for (VParam* pParam = pProp->pParam; pParam != nullptr;) {
    VParam* pNext = pParam->pNext;
    MemFree(pParam);
    pParam = pNext;
  }
  for (INT32 i = 0; i < pProp->nValueCount; ++i) {
    MemFree(pProp->ppszValue[i]);
  }
  MemFree(pProp->ppszValue);
  MemFree(pProp);
}

}  // namespace

void VCardFreeObject(VObject* pObject) {
  while (pObject != nullptr) {
    for (VProp* pProp = pObject->pFirst; pProp != nullptr;) {
      VProp* pNext = pProp->pNext;
      FreeProp(pProp);
      pProp = pNext;
    }
    VObject* pNext = pObject->pNext;
    MemFree(pObject);
    pObject = pNext;
  }
}

void VCardFreeText(char* pszText) { MemFree(pszText); }
