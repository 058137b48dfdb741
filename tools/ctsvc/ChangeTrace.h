// --trace: the change callbacks a command causes, printed on stderr as they are called
// ("trace: contact insert 12", "trace: contact-qrn bulk-insert -1").
#ifndef CTSVC_TOOL_CHANGE_TRACE_H
#define CTSVC_TOOL_CHANGE_TRACE_H

#include "CtSvcPhonebook.h"

namespace ctsvc_tool {

class ChangeTrace {
 public:
  // Registers on the four callback lists when bOn.
  explicit ChangeTrace(bool bOn);
  ~ChangeTrace();
  ChangeTrace(const ChangeTrace&) = delete;
  ChangeTrace& operator=(const ChangeTrace&) = delete;

 private:
  bool m_bOn;
};

}  // namespace ctsvc_tool

#endif
