// Shared pieces of the Bluetooth phonebook exports: the export's card form, the owner's card, the
// persons of a device type with the details the exports carry, and the export files.
#ifndef CTSVC_VCARD_PBAP_H
#define CTSVC_VCARD_PBAP_H

#include <string>
#include <vector>

#include "CtSvcPbap.h"
#include "CtSvcRecord.h"

// Which details a card of an export carries besides the name and the numbers.
enum class CtSvcPbapDetails { kAddresses, kEmails };

// A person with the details an export carries.
struct CtSvcPbapPerson {
  CtSvcPersonInfo person{};
  std::vector<CtSvcPhoneNumberInfo> vcNumbers;
  std::vector<CtSvcPostalAddressInfo> vcAddresses;
  std::vector<CtSvcEmailAddressInfo> vcEmails;
};

// The export's vCard 2.1 form of a contact: N, FN and TEL, then the addresses or the e-mails.
// False (logged) when it cannot be encoded.
bool CtSvcPbapCardText(const CtSvcContactInfo& contact, CtSvcPbapDetails eDetails, std::string& strOut);
bool CtSvcPbapCardText(const CtSvcPbapPerson& person, CtSvcPbapDetails eDetails, std::string& strOut);
// The owner's card as a contact info (release with CtSvcFreeContactInfo); false when there is no
// card file or it does not convert.
bool CtSvcPbapReadOwnerCard(CtSvcContactInfo* pContact);
// The contact that stands for a missing owner's card.
CtSvcPersonInfo CtSvcPbapNoOwnerCardPerson();
// Up to nMax persons of the device type (0: all) in first-last name order, each with its numbers
// and the details asked for; false when the store cannot be read.
bool CtSvcPbapReadPersons(int nDeviceType, int nMax, CtSvcPbapDetails eDetails, std::vector<CtSvcPbapPerson>& vcOut);
// The path of an export file ("" for a device type outside 0..2).
std::string CtSvcPbapPath(int nDeviceType, CtSvcPbapFile eFile, int nIndex);
// Creates the file (and its folder) anew; INVALID_HOBJ when it cannot.
HOBJ CtSvcPbapCreateFile(const std::string& strPath);
// Writes the whole text; false when the file took less.
bool CtSvcPbapWrite(HOBJ hFile, const std::string& strText);

#endif
