// Construction of the framework's lists (the class itself stays inside ContentList.cpp).
#ifndef ZEL_FW_CONTENT_LIST_H
#define ZEL_FW_CONTENT_LIST_H

#include <memory>
#include <string>

#include "ContentFramework.h"

namespace zel::content {

// A list over the rows of the filter (null: every row) served by the handler; it registers
// itself as an observer of the URI.
std::unique_ptr<IContentList> MakeContentList(const std::string& strUri, const CContentFilter* pFilter,
                                              std::unique_ptr<IContentHandler> pHandler);

}  // namespace zel::content

#endif
