// Resource strings.
#include "ZelAppFrmwk/ZelRes.h"

namespace {

struct ResString {
  UINT32 nId;
  const char* szText;
};

const ResString kStrings[] = {
    {RES_STR_UNNAMED, "Unnamed"},
};

}  // namespace

const char* ResGetString(UINT32 nId) {
  for (const ResString& entry : kStrings) {
    if (entry.nId == nId) {
      return entry.szText;
    }
  }
  return "";
}
