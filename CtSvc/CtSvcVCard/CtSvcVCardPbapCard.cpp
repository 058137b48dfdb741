// The cards of the Bluetooth exports: a contact reduced to what a car kit or headset shows (name,
// numbers, and addresses or e-mails), the owner's card, and the persons of a device type read in
// three queries with their details attached by person.
#include <cstring>
#include <unordered_map>

#include "CtSvcDbDetail.h"
#include "CtSvcDbPerson.h"
#include "CtSvcFilter.h"
#include "CtSvcVCard/CtSvcVCardInternal.h"
#include "CtSvcVCard/CtSvcVCardPbap.h"
#include "ZelDebug.h"

namespace {

constexpr char kOwnerCardPath[] = "/User/Ct/myaddress.vcf";
constexpr char kNoOwnerCardName[] = "No My NameCard";

// The person's names only: no photo, dates or UID go into an export card.
CtSvcPersonInfo NamesOnly(const CtSvcPersonInfo& person) {
  CtSvcPersonInfo names{};
  std::memcpy(names.szFirstName, person.szFirstName, sizeof(names.szFirstName));
  std::memcpy(names.szLastName, person.szLastName, sizeof(names.szLastName));
  names.Birthday = TmDateTime{1899, 12, 31, 0, 0, 0};
  return names;
}

// Every detail of one kind the filter selects, by person.
template <class Record, class Info, class Filter>
bool ReadByPerson(const Filter& filter, int (*pfnCount)(const Filter*), int (*pfnRead)(const Filter*, Record*, int),
                  std::unordered_map<INT32, std::vector<Info>>& mapOut) {
  const int nCount = pfnCount(&filter);
  if (nCount < 0) {
    return false;
  }
  std::vector<Record> vcRecords(static_cast<size_t>(nCount) + 1);
  const int nRead = pfnRead(&filter, vcRecords.data(), static_cast<int>(vcRecords.size()));
  if (nRead < 0) {
    return false;
  }
  for (int i = 0; i < nRead; ++i) {
    mapOut[vcRecords[static_cast<size_t>(i)].nPersonId].push_back(vcRecords[static_cast<size_t>(i)].Info);
  }
  return true;
}

template <class Filter>
Filter OfDevice(void (*pfnInit)(Filter*), int nDeviceType) {
  Filter filter;
  pfnInit(&filter);
  filter.DevType = nDeviceType;
  return filter;
}

// Addresses carry no device type; only the persons taken look theirs up.
CtSvcPostalAddressFilter AllAddresses() {
  CtSvcPostalAddressFilter filter;
  CtSvcPostalAddressFilterInit(&filter);
  return filter;
}

template <class Info>
void Attach(std::unordered_map<INT32, std::vector<Info>>& map, INT32 nPersonId, std::vector<Info>& vcOut) {
  const auto it = map.find(nPersonId);
  if (it != map.end()) {
    vcOut = std::move(it->second);
  }
}

}  // namespace

bool CtSvcPbapCardText(const CtSvcContactInfo& contact, CtSvcPbapDetails eDetails, std::string& strOut) {
  if (contact.pPersonInfo == nullptr) {
    return false;
  }
  CtSvcPersonInfo person = NamesOnly(*contact.pPersonInfo);
  CtSvcContactInfo card{};
  card.pPersonInfo = &person;
  card.pPhoneNumberInfo = contact.pPhoneNumberInfo;
  card.nPhoneNumberCount = contact.pPhoneNumberInfo != nullptr ? contact.nPhoneNumberCount : 0;
  if (eDetails == CtSvcPbapDetails::kAddresses) {
    card.pPostalAddressInfo = contact.pPostalAddressInfo;
    card.nPostalAddressCount = contact.pPostalAddressInfo != nullptr ? contact.nPostalAddressCount : 0;
  } else {
    card.pEmailAddressInfo = contact.pEmailAddressInfo;
    card.nEmailAddressCount = contact.pEmailAddressInfo != nullptr ? contact.nEmailAddressCount : 0;
  }
  VObject* pObject = CtSvcVCardBuildObject(card, CtSvcVCardForm::kFull);
  char* pszText = nullptr;
  const bool bDone = pObject != nullptr && VCardEncodeVersion(pObject, VCARD_VERSION_21, &pszText);
  VCardFreeObject(pObject);
  if (!bDone) {
    DbgPrint(DBG_CLASS_FAIL, "_CtSvcConvertRecord2VCard4PBAP: - VCardEncode failed\n");
    return false;
  }
  strOut = pszText;
  VCardFreeText(pszText);
  return true;
}

bool CtSvcPbapCardText(const CtSvcPbapPerson& person, CtSvcPbapDetails eDetails, std::string& strOut) {
  CtSvcContactInfo contact{};
  contact.pPersonInfo = const_cast<CtSvcPersonInfo*>(&person.person);
  contact.pPhoneNumberInfo = const_cast<CtSvcPhoneNumberInfo*>(person.vcNumbers.data());
  contact.nPhoneNumberCount = static_cast<INT32>(person.vcNumbers.size());
  contact.pPostalAddressInfo = const_cast<CtSvcPostalAddressInfo*>(person.vcAddresses.data());
  contact.nPostalAddressCount = static_cast<INT32>(person.vcAddresses.size());
  contact.pEmailAddressInfo = const_cast<CtSvcEmailAddressInfo*>(person.vcEmails.data());
  contact.nEmailAddressCount = static_cast<INT32>(person.vcEmails.size());
  return CtSvcPbapCardText(contact, eDetails, strOut);
}

bool CtSvcPbapReadOwnerCard(CtSvcContactInfo* pContact) {
  std::string strText;
  if (!CtSvcVCardReadFile(kOwnerCardPath, strText)) {
    return false;
  }
  VObject* pObject = nullptr;
  if (!VCardDecode(strText.c_str(), &pObject)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcPbapReadOwnerCard: - %s does not decode\n", kOwnerCardPath);
    return false;
  }
  // The export takes names and numbers only: a photo in the card is not written anywhere.
  const BOOL bDone = CtSvcVCardReadObject(*pObject, pContact, nullptr);
  VCardFreeObject(pObject);
  return bDone != FALSE;
}

CtSvcPersonInfo CtSvcPbapNoOwnerCardPerson() {
  CtSvcPersonInfo person{};
  std::strncpy(person.szFirstName, kNoOwnerCardName, sizeof(person.szFirstName) - 1);
  return person;
}

bool CtSvcPbapReadPersons(int nDeviceType, int nMax, CtSvcPbapDetails eDetails, std::vector<CtSvcPbapPerson>& vcOut) {
  CtSvcPersonFilter filter;
  CtSvcPersonFilterInit(&filter);
  filter.DevType = nDeviceType;
  filter.FilterIndexType = CTSVC_FILTER_INDEX_FIRST_LAST;
  std::vector<CtSvcPersonRecord> vcPersons(static_cast<size_t>(nMax));
  const int nPersons = nMax > 0 ? CtSvcDbPersonGetRecords(&filter, vcPersons.data(), nMax) : 0;
  std::unordered_map<INT32, std::vector<CtSvcPhoneNumberInfo>> mapNumbers;
  std::unordered_map<INT32, std::vector<CtSvcPostalAddressInfo>> mapAddresses;
  std::unordered_map<INT32, std::vector<CtSvcEmailAddressInfo>> mapEmails;
  const bool bRead =
      nPersons >= 0 &&
      ReadByPerson(OfDevice(&CtSvcPhoneNumberFilterInit, nDeviceType), &CtSvcDbPhoneNumberGetCount,
                   &CtSvcDbPhoneNumberGetRecords, mapNumbers) &&
      (eDetails == CtSvcPbapDetails::kAddresses
           ? ReadByPerson(AllAddresses(), &CtSvcDbPostalAddressGetCount, &CtSvcDbPostalAddressGetRecords, mapAddresses)
           : ReadByPerson(OfDevice(&CtSvcEmailFilterInit, nDeviceType), &CtSvcDbEmailAddressGetCount,
                          &CtSvcDbEmailAddressGetRecords, mapEmails));
  if (!bRead) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcPbapReadPersons: - the store could not be read\n");
    return false;
  }
  vcOut.clear();
  vcOut.reserve(static_cast<size_t>(nPersons));
  for (int i = 0; i < nPersons; ++i) {
    const CtSvcPersonRecord& record = vcPersons[static_cast<size_t>(i)];
    CtSvcPbapPerson person;
    person.person = record.Info;
    Attach(mapNumbers, record.nId, person.vcNumbers);
    Attach(mapAddresses, record.nId, person.vcAddresses);
    Attach(mapEmails, record.nId, person.vcEmails);
    vcOut.push_back(std::move(person));
  }
  return true;
}
