// Makes the content handler of a "CtSvc/..." URI.
#ifndef CTSVC_CONTENT_HANDLER_FACTORY_H
#define CTSVC_CONTENT_HANDLER_FACTORY_H

#include <memory>
#include <string>
#include <vector>

#include "ContentFramework.h"
#include "CtSvcCFHandler.h"

// Row nEntry of the URI table (0..14).
const CtSvcHandlerDesc& CtSvcGetHandlerDesc(int nEntry);

// One handler class per URI: the shared handler over its own row of the URI table.
template <int ENTRY>
class CCtSvcHandler final : public CCtSvcCFHandler {
 public:
  explicit CCtSvcHandler(const std::string& strUri) : CCtSvcCFHandler(strUri, CtSvcGetHandlerDesc(ENTRY)) {}
};

using CCtSvcPersonHandler = CCtSvcHandler<0>;
using CCtSvcPhoneNumberHandler = CCtSvcHandler<1>;
using CCtSvcEmailHandler = CCtSvcHandler<2>;
using CCtSvcPostalAddressHandler = CCtSvcHandler<3>;
using CCtSvcGroupHandler = CCtSvcHandler<4>;
using CCtSvcGroupMemberHandler = CCtSvcHandler<5>;
using CCtSvcEtcDataHandler = CCtSvcHandler<6>;
using CCtSvcFdnHandler = CCtSvcHandler<7>;
using CCtSvcRcsHandler = CCtSvcHandler<8>;
using CCtSvcSpeedDialHandler = CCtSvcHandler<9>;
using CCtSvcPrimaryHandler = CCtSvcHandler<10>;
using CCtSvcPrimaryGroupMemberHandler = CCtSvcHandler<11>;
using CCtSvcIMHandler = CCtSvcHandler<12>;
using CCtSvcSnsDataHandler = CCtSvcHandler<13>;
using CCtSvcDeleteAccountHandler = CCtSvcHandler<14>;

// A URI whose writes change what a list shows; bRowTable when it writes the rows the list is
// made of (its changes then name a row of the list), not a table the list's filter only reads.
struct CtSvcListSource {
  std::string strUri;
  bool bRowTable;
};

class CCtSvcContentHandlerFactory : public IContentHandlerFactory {
 public:
  std::unique_ptr<IContentHandler> Create(const std::string& strUri) override;
  // The URI table row serving a URI, or null.
  static const CtSvcHandlerDesc* FindHandlerDesc(const std::string& strUri);
  // Every URI writing a table that a list over the URI and its where text reads: the list's own
  // table(s) and each table the where text names ("T.COLUMN", "from T"). Empty for a URI not served.
  static std::vector<CtSvcListSource> FindListSources(const std::string& strUri, const std::string& strWhere);
};

#endif
