#include "CtSvcDB/CfPlugin/CtSvcCFFilter.h"

CContentFilter* CCtSvcCFFilter::GetContentFilter() {
  BuildContentFilter();
  return &m_ContentFilter;
}
