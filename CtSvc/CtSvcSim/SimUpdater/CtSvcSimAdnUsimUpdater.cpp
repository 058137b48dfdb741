// The ADN updater's writes on a USIM: one contact over the files of its PBR record.
#include "CtSvcSim/SimUpdater/CtSvcSimAdnUpdater.h"

#include "ZelDebug.h"

namespace {

constexpr UINT32 kCounterWrap = 0xFFFF;
constexpr UINT32 kPscInvalid = 0xFFFFFFFF;

}  // namespace

BOOL CCtSvcSimAdnUpdater::_ResolveEntries(const UsimSlot& slot, std::vector<EntryFile>* pvcEntry) const {
  const CCtSvcPbrFile& pbr = *slot.pPbrFile;
  const CtSvcSimPbrFileSet& files = slot.files;
  int nAnr = 0;
  int nEmail = 0;
  int nA9 = 0;
  const int nEntries = pbr.GetTotalEntryCount(slot.nPbrIndex);
  for (int e = 0; e < nEntries; ++e) {
    const CtSvcSimPbrEntry& info = *pbr.GetEntryInfo(slot.nPbrIndex, e);
    const bool bType2 = info.constructedTag == CTSVC_SIM_PBR_TYPE2;
    EntryFile entry{info.entryType, nullptr, 0, bType2 ? nA9++ : -1};
    const char* pszMissing = nullptr;  // the line logged when the listed file is missing
    switch (info.entryType) {
      case CTSVC_SIM_ENTRY_ANR:
        entry.nNth = nAnr++;
        entry.pFile = files.vcpAnrFile[static_cast<size_t>(entry.nNth)];
        pszMissing = "CCtSvcSimAdnUpdater::_UpdateRecordUsim - pAnrFile(nPbrIndex = %d, nAnrIndex = %d) is NULL \n";
        break;
      case CTSVC_SIM_ENTRY_EMAIL:
        entry.nNth = nEmail++;
        entry.pFile = files.vcpEmailFile[static_cast<size_t>(entry.nNth)];
        pszMissing = "CCtSvcSimAdnUpdater::_UpdateRecordUsim - pEmailFile(nPbrIndex = %d, nEmailIndex = %d) is NULL \n";
        break;
      case CTSVC_SIM_ENTRY_SNE:
        entry.pFile = files.pSneFile;
        pszMissing = "CCtSvcSimAdnUpdater::_UpdateRecordUsim - pSneFile(nPbrIndex = %d) is NULL \n";
        break;
      case CTSVC_SIM_ENTRY_GRP:
        entry.pFile = files.pGrpFile;
        break;
      case CTSVC_SIM_ENTRY_PBC:
        entry.pFile = files.pPbcFile;
        break;
      case CTSVC_SIM_ENTRY_UID:
        entry.pFile = files.pUidFile;
        break;
      case CTSVC_SIM_ENTRY_IAP:
        entry.pFile = files.pIapFile;
        break;
      default:
        break;  // ADN itself and the shared files (EXT1, GAS, AAS, CCP1)
    }
    if (pszMissing != nullptr && entry.pFile == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, pszMissing, slot.nPbrIndex, entry.nNth);
      return FALSE;
    }
    if (bType2 && files.pIapFile == nullptr) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimAdnUpdater::_UpdateRecordUsim - there is A9, but no IAP File\n");
      return FALSE;
    }
    if (entry.pFile != nullptr) {
      pvcEntry->push_back(entry);
    }
  }
  return TRUE;
}

void CCtSvcSimAdnUpdater::_StepChangeCounter() {
  auto* pCcFile = _GetFile<CCtSvcSimValueFile>(CTSVC_SIM_CC);
  auto* pPuidFile = _GetFile<CCtSvcSimValueFile>(CTSVC_SIM_PUID);
  if (pCcFile == nullptr || pPuidFile == nullptr) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimAdnUpdater::_UpdateRecordUsim - Phonebook synchronisation is not supported\n");
    return;
  }
  if (pPuidFile->GetValue() == kCounterWrap || pCcFile->GetValue() == kCounterWrap) {
    // The counters ran out: a new PSC tells a synchronising peer to read every UID again.
    if (auto* pPscFile = _GetFile<CCtSvcSimValueFile>(CTSVC_SIM_PSC)) {
      UINT32 nPsc = pPscFile->GetValue() + 1;
      nPsc = nPsc == kPscInvalid ? nPsc + 1 : nPsc;
      pPscFile->SetValue(nPsc);
      _AddWork(0, CTSVC_SIM_WORK_WRITE, pPscFile);
    }
    pPuidFile->SetValue(0);
    _AddWork(0, CTSVC_SIM_WORK_WRITE, pPuidFile);
  }
  pCcFile->SetValue(pCcFile->GetValue() == kCounterWrap ? 1 : pCcFile->GetValue() + 1);
  _AddWork(0, CTSVC_SIM_WORK_WRITE, pCcFile);
}

CCtSvcSimAdnUpdater::LinkedValue CCtSvcSimAdnUpdater::_ValueOf(const EntryFile& entry, const CCtSvcSimAdnRecord& adn) {
  LinkedValue value{nullptr, CTSVC_SIM_LINK_NONE};
  if (entry.nEntryType == CTSVC_SIM_ENTRY_ANR) {
    if (entry.nNth < adn.GetAdditionalPhoneNumberCount()) {
      value.pszValue = adn.GetAdditionalPhoneNumber(entry.nNth, &value.nAasIndex);
    }
  } else if (entry.nEntryType == CTSVC_SIM_ENTRY_EMAIL) {
    if (entry.nNth < adn.GetEmailAddressCount()) {
      value.pszValue = adn.GetEmailAddress(entry.nNth);
    }
  } else {
    value.pszValue = adn.GetSecondName().c_str();
  }
  return value;
}

void CCtSvcSimAdnUpdater::_FillValue(const UsimSlot& slot, CCtSvcSimFile* pFile, const LinkedValue& value, int nIndex,
                                     bool bLinked) {
  pFile->PrepareInsertRecord(nIndex);
  const CtSvcSimPbrEntry* pAdnEntry = slot.pPbrFile->FindEntry(slot.nPbrIndex, CTSVC_SIM_ENTRY_ADN);
  const UINT8 nSfi = pAdnEntry != nullptr ? pAdnEntry->sfi : 0;
  const auto nAdnRecord = static_cast<UINT8>(slot.nFileRecordIndex);
  if (pFile->GetSimFileID() == CTSVC_SIM_ANR) {
    auto* pAnrFile = static_cast<CCtSvcAnrFile*>(pFile);
    const CtSvcSimNumberDigits number = CtSvcSimSplitNumber(value.pszValue);
    pAnrFile->SetAdditionalNumber(nIndex, number.strDigits.substr(0, CTSVC_SIM_RECORD_DIGITS_MAX).c_str());
    pAnrFile->SetInternational(nIndex, number.bInternational);
    pAnrFile->SetAasIndex(nIndex, value.nAasIndex);
    if (bLinked) {
      pAnrFile->SetAdnLink(nIndex, nSfi, nAdnRecord);
    }
  } else {
    auto* pTextFile = static_cast<CCtSvcSimTextFile*>(pFile);
    pTextFile->SetText(nIndex, value.pszValue);
    if (bLinked) {
      pTextFile->SetAdnLink(nIndex, nSfi, nAdnRecord);
    }
  }
  _AddWork(nIndex, CTSVC_SIM_WORK_WRITE, pFile);
}

void CCtSvcSimAdnUpdater::_UpdateLinkedValue(const UsimSlot& slot, const EntryFile& entry, const LinkedValue& value) {
  CCtSvcIapFile* pIapFile = slot.files.pIapFile;
  const int r = slot.nFileRecordIndex;
  const int nLink = pIapFile->IsUsed(r) ? pIapFile->GetIndex(r, entry.nIapPosition) : CTSVC_SIM_LINK_NONE;
  const bool bLinked = nLink >= 0 && nLink != CTSVC_SIM_LINK_NONE && nLink < entry.pFile->GetMaxRecordCount();
  if (value.pszValue != nullptr && value.pszValue[0] != '\0') {
    int nIndex = nLink;
    if (!bLinked) {
      nIndex = entry.pFile->GetUnusedRecordIndex();
      if (nIndex < 0) {
        DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimAdnUpdater::_UpdateRecordUsim - SimFileID(%d) is full, the value is left out\n",
                 entry.pFile->GetSimFileID());
        return;
      }
      if (!pIapFile->IsUsed(r)) {
        pIapFile->PrepareInsertRecord(r);  // every position "none"
      }
      pIapFile->SetIndex(r, entry.nIapPosition, static_cast<UINT8>(nIndex));
      _AddWork(r, CTSVC_SIM_WORK_WRITE, pIapFile);
    }
    _FillValue(slot, entry.pFile, value, nIndex, true);
  } else if (bLinked) {
    pIapFile->SetIndex(r, entry.nIapPosition, CTSVC_SIM_LINK_NONE);
    _AddWork(r, CTSVC_SIM_WORK_WRITE, pIapFile);
    _EraseRecord(entry.pFile, nLink);
  }
}

void CCtSvcSimAdnUpdater::_UpdateSameIndexValue(const UsimSlot& slot, const EntryFile& entry,
                                                const LinkedValue& value) {
  if (value.pszValue != nullptr && value.pszValue[0] != '\0') {
    _FillValue(slot, entry.pFile, value, slot.nFileRecordIndex, false);
  } else if (entry.pFile->IsUsed(slot.nFileRecordIndex)) {
    _EraseRecord(entry.pFile, slot.nFileRecordIndex);
  }
}

void CCtSvcSimAdnUpdater::_UpdateGroups(const UsimSlot& slot, const CCtSvcSimAdnRecord& adn) {
  CCtSvcGrpFile* pGrpFile = slot.files.pGrpFile;
  const int r = slot.nFileRecordIndex;
  if (adn.GetGroupIndexCount() == 0) {
    // No group is an empty record, as the card's own empty records read back: memory and the
    // file's fingerprint then agree with the card after a reload.
    if (pGrpFile->IsUsed(r)) {
      _EraseRecord(pGrpFile, r);
    }
    return;
  }
  pGrpFile->PrepareInsertRecord(r);
  for (int i = 0; i < CTSVC_SIM_GROUP_COUNT_MAX; ++i) {
    const int nGroup = i < adn.GetGroupIndexCount() ? adn.GetGroupIndex(i) : CTSVC_SIM_LINK_NONE;
    pGrpFile->SetGASIndex(r, i, static_cast<UINT8>(nGroup));
  }
  _AddWork(r, CTSVC_SIM_WORK_WRITE, pGrpFile);
}

void CCtSvcSimAdnUpdater::_UpdatePbc(const UsimSlot& slot, const CCtSvcSimAdnRecord& adn) {
  const int r = slot.nFileRecordIndex;
  slot.files.pPbcFile->PrepareInsertRecord(r);
  slot.files.pPbcFile->SetEntryControl(r, adn.GetPbc());
  _AddWork(r, CTSVC_SIM_WORK_WRITE, slot.files.pPbcFile);
}

void CCtSvcSimAdnUpdater::_UpdateUid(const UsimSlot& slot) {
  auto* pPuidFile = _GetFile<CCtSvcSimValueFile>(CTSVC_SIM_PUID);
  if (pPuidFile == nullptr) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimAdnUpdater::_UpdateRecordUsim - no PUID file, the UID is left as it is\n");
    return;
  }
  const UINT32 nUid = pPuidFile->GetValue() == kCounterWrap ? 1 : pPuidFile->GetValue() + 1;
  const int r = slot.nFileRecordIndex;
  slot.files.pUidFile->PrepareInsertRecord(r);
  slot.files.pUidFile->SetUID(r, static_cast<UINT16>(nUid));
  _AddWork(r, CTSVC_SIM_WORK_WRITE, slot.files.pUidFile);
  pPuidFile->SetValue(nUid);
  _AddWork(0, CTSVC_SIM_WORK_WRITE, pPuidFile);
}

BOOL CCtSvcSimAdnUpdater::_UpdateRecordUsim(int nRecordIndex, const CCtSvcSimXdnRecord& record) {
  UsimSlot slot;
  std::vector<EntryFile> vcEntry;
  if (!_FindUsimSlot(nRecordIndex, &slot) || !_ResolveEntries(slot, &vcEntry) ||
      !_CheckDialNumber(slot.files.pAdnFile, slot.nFileRecordIndex, record)) {
    return FALSE;
  }
  const auto* pAdn = dynamic_cast<const CCtSvcSimAdnRecord*>(&record);
  for (int i = 0; pAdn != nullptr && i < pAdn->GetAdditionalPhoneNumberCount(); ++i) {
    if (!CtSvcSimSplitNumber(pAdn->GetAdditionalPhoneNumber(i, nullptr)).bValid) {
      DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimAdnUpdater::_UpdateRecordUsim - additional number %d holds a character a SIM card cannot store\n", i);
      return FALSE;
    }
  }
  // Checked: from here on memory changes as the writes are queued.
  _StepChangeCounter();
  for (const EntryFile& entry : vcEntry) {
    if (pAdn == nullptr) {
      break;  // a plain dialling-number record leaves the contact's other files as they are
    }
    switch (entry.nEntryType) {
      case CTSVC_SIM_ENTRY_ANR:
      case CTSVC_SIM_ENTRY_EMAIL:
      case CTSVC_SIM_ENTRY_SNE:
        if (entry.nIapPosition >= 0) {
          _UpdateLinkedValue(slot, entry, _ValueOf(entry, *pAdn));
        } else {
          _UpdateSameIndexValue(slot, entry, _ValueOf(entry, *pAdn));
        }
        break;
      case CTSVC_SIM_ENTRY_GRP:
        _UpdateGroups(slot, *pAdn);
        break;
      case CTSVC_SIM_ENTRY_PBC:
        _UpdatePbc(slot, *pAdn);
        break;
      case CTSVC_SIM_ENTRY_UID:
        _UpdateUid(slot);
        break;
      default:
        break;  // IAP is written with the values it links
    }
  }
  if (!_SetDialNumberEntry(slot.files.pAdnFile, slot.nFileRecordIndex, record, slot.files.pExt1File)) {
    return FALSE;
  }
  _AddWork(slot.nFileRecordIndex, CTSVC_SIM_WORK_WRITE, slot.files.pAdnFile);
  return TRUE;
}

BOOL CCtSvcSimAdnUpdater::_DeleteRecordUsim(int nRecordIndex) {
  UsimSlot slot;
  std::vector<EntryFile> vcEntry;
  if (!_FindUsimSlot(nRecordIndex, &slot) || !_ResolveEntries(slot, &vcEntry)) {
    return FALSE;
  }
  const int r = slot.nFileRecordIndex;
  if (!slot.files.pAdnFile->IsUsed(r)) {
    DbgPrint(DBG_CLASS_FAIL, "CCtSvcSimAdnUpdater::_DeleteRecordUsim - pAdnFile->IsUsed(%d) is FALSE\n", r);
    return FALSE;
  }
  _StepChangeCounter();
  // Every link is read before the IAP record goes.
  std::vector<std::pair<CCtSvcSimFile*, int>> vcErase;
  for (const EntryFile& entry : vcEntry) {
    int nIndex = r;
    if (entry.nIapPosition >= 0) {
      nIndex = slot.files.pIapFile->IsUsed(r) ? slot.files.pIapFile->GetIndex(r, entry.nIapPosition) : -1;
      if (nIndex < 0 || nIndex == CTSVC_SIM_LINK_NONE) {
        DbgPrint(DBG_CLASS_TRACE, "CCtSvcSimAdnUpdater::_DeleteRecordUsim - there is NO IAP Index : Simfileid(%d) - continue next entry\n",
                 entry.pFile->GetSimFileID());
        continue;
      }
    }
    if (entry.pFile->IsUsed(nIndex)) {
      vcErase.emplace_back(entry.pFile, nIndex);
    }
  }
  for (const auto& erase : vcErase) {
    _EraseRecord(erase.first, erase.second);
  }
  return _EraseDialNumberEntry(slot.files.pAdnFile, r, slot.files.pExt1File);
}
