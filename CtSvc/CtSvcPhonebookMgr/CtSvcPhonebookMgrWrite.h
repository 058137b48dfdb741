// Steps shared by the phonebook manager's contact writes: reading a caller's contact info into a
// contact (the checks every write makes before it changes anything), the closing person update,
// removing a stored person, and removing its caller image.
#ifndef CTSVC_PHONEBOOK_MGR_WRITE_H
#define CTSVC_PHONEBOOK_MGR_WRITE_H

#include <string>

#include "CtSvcDB/DbMgr/CtSvcDbWriteUnit.h"
#include "CtSvcPerson.h"
#include "CtSvcRecord.h"

class CCtSvcContact;

// Checks the contact info and builds the contact of the device type from it. False, with an
// assertion for a missing info or person and "<pszWho> - invalid contact info\n" for a detail
// array that is null while its count is above 0, a count below -1 or a text that does not end in
// its array, and "<pszWho> - DB FULL\n" when the store's volume is full; nothing is written in
// any case.
bool CtSvcPhonebookReadContact(const char* pszWho, const CtSvcContactInfo* pContactInfo, CtSvcDeviceType nDeviceType,
                               CCtSvcContact* pContact);

// The person row rewritten from the info, then its primary rearranged; false (logged) when
// either fails.
bool CtSvcPhonebookFinishPersonUpdate(const char* pszWho, HOBJ hPerson, int nPrimaryId,
                                      const CtSvcPersonInfo* pPersonInfo);

// The platform's social-network history store that keeps what was fetched for friends.
constexpr char kSnsLiteHistoryDb[] = "SnsLiteHistoryDb";
constexpr int kSnsLiteHistorySize = 100;

// Deletes the stored person with its rows, tidies its primary (removed with its last person) and
// then removes its caller image and the social-network history of its first social-network row.
// The store part is one write unit: all of it or nothing; committed when bCommit.
bool CtSvcPhonebookRemovePerson(const char* pszWho, const CtSvcPersonRecord& stored, BOOL bCommit);

// Removes the caller-image file at the platform path when it is present; TRUE when no file is
// left there.
BOOL CtSvcPhonebookDeleteCallerImage(const char* pszImagePath);

// Every text of a group or FDN info ends inside its array; false with "<pszWho> - invalid group
// info\n" (or FDN info) otherwise, before anything is written or logged from it.
bool CtSvcPhonebookCheckGroupInfo(const char* pszWho, const CtSvcGroupInfo& info);
bool CtSvcPhonebookCheckFdnInfo(const char* pszWho, const CtSvcFdnInfo& info);

// The SIM side of a group or FDN write: the store step, then the card request, in one write unit
// that is kept only when both succeeded (the updater accepted the request).
template <class TStoreStep, class TCardStep>
bool CtSvcPhonebookWriteStoreAndCard(TStoreStep storeStep, TCardStep cardStep) {
  CCtSvcDbWriteUnit unit;
  return unit.IsOpen() && storeStep() && cardStep() && unit.KeepAndCommit();
}

// A slot index of -1 becomes the group's first free record; false, with "<pszWho> -
// GetUnusedRecordIndex() failed\n", when the group has none.
bool CtSvcPhonebookTakeFreeSlot(const char* pszWho, int nSimFileID, INT32* pnSlotIndex);

// The name an ADN record gets: the name shown first (last name first when the name-order setting
// says so), followed by a blank and the other name while the first is shorter than 49 bytes; at
// most 50 bytes, cut between characters.
std::string CtSvcMakeSimAdnName(const std::string& strFirst, const std::string& strLast);

#endif
