// Shared pieces of the vCard conversion: the type tables, the contact-to-object builder and the
// object-to-contact reader.
#ifndef CTSVC_VCARD_INTERNAL_H
#define CTSVC_VCARD_INTERNAL_H

#include <cstring>
#include <string>
#include <vector>

#include "CtSvcVCard.h"
#include "ZelAppFrmwk/ZelVCard.h"
#include "ZelDebug.h"
#include "ZelMem.h"

// TEL TYPE mask of a phone type and use type, and back.
UINT32 CtSvcVCardTelMask(int nPhoneType, int nUseType);
void CtSvcVCardTelTypes(UINT32 nMask, int* pnPhoneType, int* pnUseType);
// Use type by TYPE: 3 with WORK, else 2 with HOME, else 1.
int CtSvcVCardUseByType(UINT32 nMask);
UINT32 CtSvcVCardEmailMask(int nUseType);
UINT32 CtSvcVCardAddressMask(int nUseType);
// Property kind of an etc-data type (-1 when it has none) and its TYPE mask (URL only).
int CtSvcVCardEtcKind(int nEtcType, UINT32* pnTypeMask, bool* pbHasType);
// Etc-data type of a property, -1 when it is not etc data.
int CtSvcVCardEtcTypeOf(int nKind, UINT32 nMask);
// Property kind of an IM service, -1 (logged) when the service has no vCard property.
int CtSvcVCardImKindOfIsp(int nIspId);
// ISP id of an IM property kind, 0 when none of the known services has it.
int CtSvcVCardIspOfImKind(int nKind, std::string& strIsp);
bool CtSvcVCardIsImKind(int nKind);

// What the object builder puts in: the full card of a contact, or the backup form.
enum class CtSvcVCardForm { kFull, kBackup };

// The contact as a codec object; null (logged) on failure.
VObject* CtSvcVCardBuildObject(const CtSvcContactInfo& contact, CtSvcVCardForm eForm);
// The display name the card and the file name use: first, a space, last, cut to 50 characters.
std::string CtSvcVCardDisplayName(const CtSvcPersonInfo& person);
// Cuts a UTF-8 text to at most nChars characters.
void CtSvcVCardCutChars(std::string& strText, int nChars);
// Fills the contact (allocating it) from one object; the photo is written to pszPhotoPath.
// strNote tells what was left out. FALSE on an allocation failure.
BOOL CtSvcVCardReadObject(const VObject& object, CtSvcContactInfo* pContact, const char* pszPhotoPath,
                          std::string* pstrNote = nullptr);
// Writes a decoded photo to a platform path; FALSE (logged) when it cannot.
BOOL CtSvcVCardWritePhoto(const char* pszPath, const char* pBytes, int nLength);
// Parses a BDAY or REV text; FALSE (logged) when it is not a valid date.
BOOL CtSvcVCardParseDateTime(const char* pszText, TmDateTime* pDate);
// Reads a whole platform file; false when it cannot.
bool CtSvcVCardReadFile(const char* pszPath, std::string& strOut);

// Copies a list into a newly allocated (MemAlloc) array; false (logged) when the allocation fails.
template <class T>
bool CtSvcVCardAllocArray(const std::vector<T>& vcList, T*& pArray, INT32& nCount, const char* szWhat) {
  pArray = nullptr;
  nCount = 0;
  if (vcList.empty()) {
    return true;
  }
  pArray = static_cast<T*>(MemAlloc(sizeof(T) * vcList.size()));
  if (pArray == nullptr) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcConvertVcard2Record: %s MemAlloc Failed!!!!!!\n", szWhat);
    return false;
  }
  std::memcpy(pArray, vcList.data(), sizeof(T) * vcList.size());
  nCount = static_cast<INT32>(vcList.size());
  return true;
}

#endif
