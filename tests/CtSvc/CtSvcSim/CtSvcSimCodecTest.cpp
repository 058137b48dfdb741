// Alpha decoding gives what the platform converters give (GSM default alphabet to 16-bit text to
// the local code) for every single GSM code, mixed names, padding and names longer than 40.
#include "CtSvcSim/SimFile/CtSvcSimCodec.h"
#include "SimFakeDevice.h"
#include "ZelGWESCore.h"

namespace ctsvc_sim_test {
namespace {

std::string ThroughConverters(const Bytes& alpha, int nUnits) {
  std::vector<MCHAR> vcText(static_cast<size_t>(nUnits), 0);
  if (WmConvertGSM2PCode(vcText.data(), nUnits, alpha.data(), static_cast<int>(alpha.size())) <= 0) {
    return "";
  }
  char sz[121] = {};
  WmConvert2LCode(sz, sizeof(sz), vcText.data());
  return sz;
}

std::string Decoded(const Bytes& alpha, int nUnits) {
  char sz[121] = {};
  CtSvcSimDecodeAlpha(alpha.data(), static_cast<int>(alpha.size()), 14, CtSvcSimAlphaRule::Full, nUnits, sz, sizeof(sz));
  return sz;
}

TEST(CtSvcSimCodec, GsmAlphaDecodesAsThePlatformConvertersDo) {
  std::vector<Bytes> vcAlpha;
  for (int c = 0; c < 0x80; ++c) {
    vcAlpha.push_back({static_cast<UINT8>(c), 'a'});
    vcAlpha.push_back({'A', static_cast<UINT8>(c), 0xFF, 'b'});
  }
  vcAlpha.push_back(Text("Anna Schmidt 1-2 (x)"));
  vcAlpha.push_back(Text("Ok $5 @ home_"));
  vcAlpha.push_back({'E', 'u', 0x1B, 0x65, 'r', 'o'});
  vcAlpha.push_back(Text(std::string(45, 'x') + "yz"));
  vcAlpha.push_back(Bytes(60, 0x10));
  for (const Bytes& alpha : vcAlpha) {
    for (int nUnits : {41, 8}) {
      EXPECT_EQ(ThroughConverters(alpha, nUnits), Decoded(alpha, nUnits))
          << "first bytes " << int(alpha[0]) << "," << int(alpha[1]) << " units " << nUnits;
    }
  }
}

}  // namespace
}  // namespace ctsvc_sim_test
