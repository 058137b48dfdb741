// The streaming reader of .vcf files.
#include <cstdio>
#include <memory>

#include "VCardCardReader.h"

struct VCardStream {
  explicit VCardStream(FILE* pFile) : pFile(pFile), source(pFile), reader(source) {}
  ~VCardStream() { std::fclose(pFile); }
  FILE* pFile;
  zel_vcard::FileSource source;
  zel_vcard::CardReader reader;
  UINT64 nSize = 0;
};

VCardStream* VCardStreamOpen(const char* pszHostPath) {
  FILE* pFile = pszHostPath != nullptr ? std::fopen(pszHostPath, "rb") : nullptr;
  if (pFile == nullptr) {
    return nullptr;
  }
  auto pStream = std::make_unique<VCardStream>(pFile);
  if (std::fseek(pFile, 0, SEEK_END) == 0) {
    const long nSize = std::ftell(pFile);
    pStream->nSize = nSize > 0 ? static_cast<UINT64>(nSize) : 0;
  }
  std::fseek(pFile, 0, SEEK_SET);
  return pStream.release();
}

INT32 VCardStreamNext(VCardStream* pStream, VCardStreamCard* pCard) {
  if (pStream == nullptr || pCard == nullptr) {
    return -1;
  }
  const int nResult = pStream->reader.Next(*pCard);
  if (nResult == 0 && pStream->source.HasError()) {
    return -1;
  }
  return nResult;
}

UINT64 VCardStreamGetPosition(const VCardStream* pStream) { return pStream != nullptr ? pStream->source.Position() : 0; }

UINT64 VCardStreamGetSize(const VCardStream* pStream) { return pStream != nullptr ? pStream->nSize : 0; }

void VCardStreamClose(VCardStream* pStream) { delete pStream; }
