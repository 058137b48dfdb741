// Trimming a person to what a SIM ADN record holds.
#include "CtSvcDB/Records/CtSvcSimLimits.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "CtSvcUtil.h"
#include "ZelDebug.h"
#include "ZelNv.h"

namespace {

// Non-volatile setting of the display name order: 0 first-last, otherwise last-first.
constexpr UINT32 kNvNameOrder = 1417;
// A name part is merged into the first name only while it is shorter than this.
constexpr size_t kMergeLimit = 49;

}  // namespace

int CCtSvcPerson::RemoveFieldForSim() {
  std::string& strFirst = m_Fields.strFirstName;
  std::string& strLast = m_Fields.strLastName;
  if (!strLast.empty()) {
    std::string strMerged;
    if (NvGetInt(kNvNameOrder) != 0) {
      if (strLast.size() < kMergeLimit) {
        _GetFullNameToSearch(strLast, strFirst, strMerged);
        strFirst = strMerged;
      }
    } else if (strFirst.size() < kMergeLimit) {
      _GetFullNameToSearch(strFirst, strLast, strMerged);
      strFirst = strMerged;
    }
    strLast.clear();
  }
  const int nFit = CtGetLCodeMaxByteSize(strFirst.c_str(), CtSvcGetSimLimits().GetAdnNameLength(), 0);
  if (nFit >= 0 && static_cast<size_t>(nFit) < strFirst.size()) {
    DbgPrint(DBG_CLASS_TRACE, "CCtSvcPerson::RemoveFieldForSim Name size over than byte size %s\n", strFirst.c_str());
    strFirst.resize(static_cast<size_t>(nFit));
  }
  m_Fields.strCallerImage.clear();
  m_Fields.Birthday = kCtSvcUnsetDate;
  m_Fields.BirthdayReserve = kCtSvcUnsetDate;
  m_Fields.Anniversary = kCtSvcUnsetDate;
  m_Fields.AnniversaryReserve = kCtSvcUnsetDate;
  m_Fields.bHasAddr = 0;
  m_Fields.bHasIM = 0;
  m_Fields.bHasRcs = 0;
  m_Fields.bHasSnsData = 0;
  return 1;
}
