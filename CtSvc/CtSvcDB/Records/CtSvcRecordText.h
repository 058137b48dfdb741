// Text conversions of the records: UTF-8 (L-code) fields to and from the 16-bit (P-code) values
// of the content framework, and bounded copies to and from the character arrays of the C
// structures.
#ifndef CTSVC_RECORD_TEXT_H
#define CTSVC_RECORD_TEXT_H

#include <cstddef>
#include <string>

// A column text is converted in a buffer of 2002 bytes: at most 1000 units are kept.
#define CTSVC_RECORD_PCODE_BUFFER_UNITS 1001

// The P-code form of a UTF-8 text (malformed sequences become U+FFFD), cut to 1000 units
// without splitting a surrogate pair.
std::u16string CtSvcToPCode(const std::string& strText);

// The text as a value of a CContentInput: the P-code form, with every apostrophe and percent sign
// doubled (the handlers undo the doubling when they bind the value).
std::u16string CtSvcToInputText(const std::string& strText);
std::u16string CtSvcToInputText(std::u16string strPCode);

// The index letters of a name, as its stored letters column holds them.
std::u16string CtSvcNameLetters(const std::u16string& strName);

// The UTF-8 form of a P-code text (unpaired surrogates become U+FFFD).
std::string CtSvcToLCode(const std::u16string& strText);

// True when the nBytes bytes at pText are well-formed UTF-8 (no overlong forms, no surrogates).
bool CtSvcIsValidUtf8(const char* pText, size_t nBytes);

// Reads a character array of nSize bytes of a C structure, never beyond its end. False when the
// array holds no terminator (the text is then taken up to the array's end) or is not UTF-8
// (the text is still taken as it is).
bool CtSvcReadCString(const char* pArray, size_t nSize, std::string& out);

// Writes the text into a character array of nSize bytes: at most nSize - 1 bytes, never a cut
// UTF-8 sequence, always terminated.
void CtSvcWriteCString(char* pArray, size_t nSize, const std::string& strText);

#endif
