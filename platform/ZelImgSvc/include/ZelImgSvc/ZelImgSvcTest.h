// Test API of the image services: what the decoders allocated, and the thumbnail stores' room.
// Production code never includes this header.
#ifndef ZEL_IMG_SVC_TEST_H
#define ZEL_IMG_SVC_TEST_H

#include <cstdint>

namespace zel::test {

// Largest number of pixel bytes held by live bitmaps at one time since the last reset.
uint64_t ImgPeakPixelBytes();
void ImgResetPeakPixelBytes();

// Entries a thumbnail store holds before it reports full (0: back to the default).
void ImgSetThumbDbCapacity(int nEntries);

}  // namespace zel::test

#endif
