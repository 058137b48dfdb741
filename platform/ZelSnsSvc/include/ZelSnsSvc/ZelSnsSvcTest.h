// Test API of the social-network service: the profile photos it serves. Production code never
// includes this header.
#ifndef ZEL_SNS_SVC_TEST_H
#define ZEL_SNS_SVC_TEST_H

#include <cstddef>

namespace zel::test {

// The photo served for the people id: the bytes of an image file (copied).
void SnsSetPhoto(const char* pszPeopleId, const void* pData, size_t nSize);
// Serves no photo at all any more.
void SnsClearPhotos();

}  // namespace zel::test

#endif
