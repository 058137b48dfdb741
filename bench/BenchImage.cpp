// The thumbnail of a 12-megapixel camera JPEG (4000 x 3000, photo-like texture, quality 90) as
// the image manager stores it (file read, libjpeg-turbo scaled decoding, area-averaged resize,
// 16-bit conversion, the thumbnail store's write), against libjpeg-turbo decoding the same bytes
// at 1/8 alone.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchEnv.h"
#include "BenchRegistry.h"
#include "BenchSuites.h"
#include "CtSvcImg.h"
#include "ImgTestFiles.h"
#include "ZelFm.h"

namespace ctsvc_bench {

namespace {

const char kPhoto[] = "/User/Mass/Ct/0/Images/camera.jpg";

// A smooth gradient with fine grain, as a camera picture compresses; written row by row, so the
// run's peak memory is not the generator's.
std::vector<UINT8> CameraJpeg() {
  UINT32 nSeed = 12345;
  return img_test::MakeJpeg(4000, 3000, 0, 90, [&nSeed](int y, int nWidth, int, unsigned char* pRow) {
    for (int x = 0; x < nWidth; ++x) {
      nSeed = nSeed * 1103515245u + 12345u;
      const int nGrain = static_cast<int>((nSeed >> 16) % 24) - 12;
      UINT8* p = pRow + static_cast<size_t>(x) * 3;
      p[0] = static_cast<UINT8>(std::min(255, std::max(0, x / 16 + nGrain)));
      p[1] = static_cast<UINT8>(std::min(255, std::max(0, y / 12 + nGrain)));
      p[2] = static_cast<UINT8>(std::min(255, std::max(0, (x + y) / 28 + nGrain)));
    }
  });
}

struct PhotoDir {
  PhotoDir() {
    ZelSetDataDir(dir.Path().c_str());
    bytes = CameraJpeg();
    FmCreateDir("/User/Mass/Ct/0/Images");
    const HOBJ hFile = FmCreateFile(kPhoto);
    FmWriteFile(hFile, bytes.data(), static_cast<UINT32>(bytes.size()));
    FmCloseFile(hFile);
    std::printf("camera JPEG: 4000 x 3000, %zu bytes\n", bytes.size());
  }
  TempDir dir;
  std::vector<UINT8> bytes;
};

PhotoDir& Photo() {
  static PhotoDir s_photo;
  return s_photo;
}

void RawScaledDecode(benchmark::State& state) {
  const std::vector<UINT8>& bytes = Photo().bytes;
  std::vector<UINT8> vcRow(4000 * 3);
  for (auto _ : state) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.scale_num = 1;
    cinfo.scale_denom = 8;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW pRow = vcRow.data();
      jpeg_read_scanlines(&cinfo, &pRow, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
  }
}

void ServiceThumbnail(benchmark::State& state) {
  Photo();
  for (auto _ : state) {
    if (!CtSvcImgSaveThumbnail(kPhoto)) {
      state.SkipWithError("CtSvcImgSaveThumbnail failed");
      break;
    }
  }
}

}  // namespace

void RegisterImageBenchmarks() {
  Register("image_thumb_raw/jpeg12mp", 1, "", {}, RawScaledDecode)->Unit(benchmark::kMillisecond);
  Register("image_thumb/jpeg12mp", 1, "image_thumb_raw/jpeg12mp", MaxSeconds(0.150, "< 150 ms"), ServiceThumbnail)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace ctsvc_bench
