// Resizing by area averaging: every target pixel is the mean of the source area it covers,
// partly covered source pixels weighted by their covered fraction. Rows first, then columns.
#include <algorithm>
#include <cmath>
#include <vector>

#include "ImgInternal.h"

namespace {

struct Tap {
  int nIndex;
  float fWeight;
};

// Per target pixel, the source pixels of [fStart, fStart + fSpan) it covers and their weights.
std::vector<std::vector<Tap>> Taps(float fStart, float fSpan, int nTarget, int nSourceSize) {
  std::vector<std::vector<Tap>> vcTaps(nTarget);
  const float fStep = fSpan / static_cast<float>(nTarget);
  for (int i = 0; i < nTarget; ++i) {
    const float a = fStart + fStep * static_cast<float>(i);
    const float b = a + fStep;
    float fTotal = 0.0f;
    for (int s = std::max(0, static_cast<int>(std::floor(a))); s < std::min(nSourceSize, static_cast<int>(std::ceil(b)));
         ++s) {
      const float fCover = std::min(b, static_cast<float>(s + 1)) - std::max(a, static_cast<float>(s));
      if (fCover > 0.0f) {
        vcTaps[i].push_back({s, fCover});
        fTotal += fCover;
      }
    }
    if (vcTaps[i].empty()) {
      vcTaps[i].push_back({std::clamp(static_cast<int>(a), 0, nSourceSize - 1), 1.0f});
      fTotal = 1.0f;
    }
    for (Tap& tap : vcTaps[i]) {
      tap.fWeight /= fTotal;
    }
  }
  return vcTaps;
}

// Target size and source rectangle of a mode.
struct Plan {
  int nWidth, nHeight;
  float fX, fY, fW, fH;
};

Plan MakePlan(int nSrcW, int nSrcH, int nW, int nH, int nMode) {
  Plan plan{nW, nH, 0.0f, 0.0f, static_cast<float>(nSrcW), static_cast<float>(nSrcH)};
  const double fScaleW = static_cast<double>(nW) / nSrcW;
  const double fScaleH = static_cast<double>(nH) / nSrcH;
  if (nMode == IMG_RESIZE_FIT) {
    const double s = std::min(fScaleW, fScaleH);
    plan.nWidth = std::max(1, static_cast<int>(std::lround(nSrcW * s)));
    plan.nHeight = std::max(1, static_cast<int>(std::lround(nSrcH * s)));
  } else if (nMode == IMG_RESIZE_FILL) {
    const double s = std::max(fScaleW, fScaleH);  // cover the target, cut the overflow evenly
    plan.fW = static_cast<float>(nW / s);
    plan.fH = static_cast<float>(nH / s);
    plan.fX = (static_cast<float>(nSrcW) - plan.fW) / 2.0f;
    plan.fY = (static_cast<float>(nSrcH) - plan.fH) / 2.0f;
  }
  return plan;
}

}  // namespace

using namespace zel::img;

ImgBitmap* ImgSvcResizeBitmap(const ImgBitmap* pSrc, INT32 nWidth, INT32 nHeight, INT32 nMode) {
  if (pSrc == nullptr || pSrc->pBits == nullptr || nWidth < 1 || nHeight < 1 ||
      (nMode != IMG_RESIZE_STRETCH && nMode != IMG_RESIZE_FIT && nMode != IMG_RESIZE_FILL)) {
    SetError("resize to %dx%d (mode %d) is not possible", nWidth, nHeight, nMode);
    return nullptr;
  }
  const Plan plan = MakePlan(pSrc->nWidth, pSrc->nHeight, nWidth, nHeight, nMode);
  const auto vcX = Taps(plan.fX, plan.fW, plan.nWidth, pSrc->nWidth);
  const auto vcY = Taps(plan.fY, plan.fH, plan.nHeight, pSrc->nHeight);
  ImgBitmap* pOut = ImgCreateBitmap(plan.nWidth, plan.nHeight, 24);
  if (pOut == nullptr) {
    return nullptr;
  }
  // Rows of the source that some target row reads, averaged horizontally.
  const int nRowFirst = vcY.front().front().nIndex;
  const int nRowLast = vcY.back().back().nIndex;
  std::vector<float> vcRows(static_cast<size_t>(nRowLast - nRowFirst + 1) * plan.nWidth * 3, 0.0f);
  for (int sy = nRowFirst; sy <= nRowLast; ++sy) {
    float* pRow = &vcRows[static_cast<size_t>(sy - nRowFirst) * plan.nWidth * 3];
    for (int x = 0; x < plan.nWidth; ++x) {
      for (const Tap& tap : vcX[x]) {
        UINT8 aRgb[3];
        GetRgb(pSrc, tap.nIndex, sy, aRgb);
        for (int c = 0; c < 3; ++c) pRow[x * 3 + c] += tap.fWeight * aRgb[c];
      }
    }
  }
  for (int y = 0; y < plan.nHeight; ++y) {
    UINT8* pDst = pOut->pBits + static_cast<size_t>(y) * pOut->nStride;
    for (int x = 0; x < plan.nWidth * 3; ++x) {
      float v = 0.0f;
      for (const Tap& tap : vcY[y]) {
        v += tap.fWeight * vcRows[static_cast<size_t>(tap.nIndex - nRowFirst) * plan.nWidth * 3 + x];
      }
      pDst[x] = static_cast<UINT8>(std::clamp(std::lround(v), 0L, 255L));
    }
  }
  return pOut;
}
