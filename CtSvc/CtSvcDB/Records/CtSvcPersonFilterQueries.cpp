// A person's first other-data row of a type, and its first RCS row, through the content filters.
#include <vector>

#include "ContentFramework.h"
#include "CtSvcDB/CfPlugin/CtSvcDetailFilters.h"
#include "CtSvcDB/Records/CtSvcPersonRecord.h"
#include "ZelDebug.h"

namespace {

bool GetFirstRow(const char* szUri, CCtSvcCFFilter& filter, CContent& content) {
  std::vector<CContent> vcContents;
  if (!CContentMgr::Instance()->GetContents(szUri, filter.GetContentFilter(), vcContents) || vcContents.empty()) {
    return false;
  }
  content = vcContents.front();
  return true;
}

}  // namespace

int CCtSvcPerson::GetEtcData(CtSvcEtcDataType nType, CContent& content) const {
  if (!__IsSaved("GetEtcData")) {
    return 0;
  }
  CCtSvcEtcDataFilter filter;
  filter.SetPersonId(GetRecordId());
  filter.SetEtcDataType(nType);
  if (!GetFirstRow("CtSvc/EtcData", filter, content)) {
    return 0;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPerson::GetEtcData - EtcType(%d) Content(%d) get success\n", nType, GetRecordId());
  return 1;
}

int CCtSvcPerson::GetRcsInformation(CContent& content) const {
  if (!__IsSaved("GetRcsInformation")) {
    return 0;
  }
  CCtSvcRcsFilter filter;
  filter.SetPersonId(GetRecordId());
  if (!GetFirstRow("CtSvc/Rcs", filter, content)) {
    return 0;
  }
  DbgPrint(DBG_CLASS_TRACE, "CCtSvcPerson::GetRcsInformation - Content(%d) get success\n", GetRecordId());
  return 1;
}
