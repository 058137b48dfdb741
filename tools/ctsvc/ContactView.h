// Reading contacts into printable values.
#ifndef CTSVC_TOOL_CONTACT_VIEW_H
#define CTSVC_TOOL_CONTACT_VIEW_H

#include "Json.h"

namespace ctsvc_tool {

// A primary with its persons and their numbers, e-mails and addresses; Null when it does not exist.
Json PrimaryView(int nPrimaryId);
// One line of a primary list: id, name, links, favourite.
Json PrimarySummary(int nPrimaryId);
// A person with its details; Null when it does not exist.
Json PersonView(int nPersonId);

}  // namespace ctsvc_tool

#endif
