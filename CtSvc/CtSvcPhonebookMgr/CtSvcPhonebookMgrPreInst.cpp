// The carrier's pre-installed contacts ("sectionOne" of "CtSet.ini"): inserted as phone contacts
// once per settings file, and looked at once per process.
#include <cstdio>

#include "CtSvcDB/Records/CtSvcContactInfoBuilder.h"
#include "CtSvcPhonebookMgr/CtSvcPhonebookMgr.h"
#include "ZelDebug.h"
#include "ZelReg.h"

namespace {

const char kSettingFile[] = "CtSet.ini";
const char kSection[] = "sectionOne";
constexpr size_t kNameSize = 151;
constexpr size_t kNumberSize = 51;
constexpr int kPreInstPhoneType = 1;

// Reads entry i (numbered from 1) and inserts it.
void InsertEntry(CCtSvcPhonebookMgr* pMgr, int i) {
  char szKey[32];
  char szName[kNameSize] = "";
  char szNumber[kNumberSize] = "";
  snprintf(szKey, sizeof(szKey), "PreInstTelName%d", i);
  RegGetString(kSettingFile, kSection, szKey, szName, sizeof(szName));
  snprintf(szKey, sizeof(szKey), "PreInstTelNum%d", i);
  RegGetString(kSettingFile, kSection, szKey, szNumber, sizeof(szNumber));
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr: __PreInstContact. PREINST_NAME:%s \n", szName);
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPhonebookMgr:__PreInstContact. PREINST_NUM:%s \n", szNumber);
  CCtSvcContactInfoBuilder builder(szName, -1);
  builder.Number(szNumber, kPreInstPhoneType);
  builder.person.bHasPhoneNumber = 1;
  const CtSvcContactInfo info = builder.Info();
  if (pMgr->InsertContactToPhone(&info, TRUE) == INVALID_HOBJ) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcPhonebookMgr: __PreInstContact - insert of entry %d failed\n", i);
  }
}

}  // namespace

BOOL CCtSvcPhonebookMgr::__PreInstContact() {
  if (m_bPreInstLoaded) {
    DbgPrint(DBG_CLASS_TRACE, "CtPreConfigDataForKRV: __PreInstContact IsLoaded!\n");
    return TRUE;
  }
  if (RegLoad(kSettingFile, 1) != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "CtPreConfigDataForKRV: RegLoad error\n");
    return FALSE;
  }
  INT32 nLoaded = 0;
  RegGetInt(kSettingFile, kSection, "IsLoaded", &nLoaded);
  m_bPreInstLoaded = nLoaded == 1;
  if (m_bPreInstLoaded) {
    RegUnload(kSettingFile);
    return TRUE;
  }
  m_bPreInstLoaded = true;
  INT32 nCount = 0;
  RegGetInt(kSettingFile, kSection, "PreInstCount", &nCount);
  DbgPrint(DBG_CLASS_TRACE, "CtPreConfigDataForKRV: Encode KRV value. PREINST_CNT:%d \n", (int)nCount);
  for (int i = 1; i <= nCount; ++i) {
    InsertEntry(this, i);
  }
  RegUnload(kSettingFile);
  if (RegLoad(kSettingFile, 0) != REG_OK) {
    DbgPrint(DBG_CLASS_FAIL, "CtPreConfigDataForKRV: RegLoad error\n");
    return FALSE;
  }
  RegSetInt(kSettingFile, kSection, "IsLoaded", 1);
  RegFlush(kSettingFile);
  RegUnload(kSettingFile);
  return TRUE;
}
