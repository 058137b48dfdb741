// The steps of ctsvc demo that show the whole service on the data directory: the sample USIM and
// the phonebook started on it, a vCard file imported and its duplicates linked, the Bluetooth
// export, the AT phonebook, and the change callbacks all of it caused.
#ifndef CTSVC_TOOL_DEMO_SERVICE_H
#define CTSVC_TOOL_DEMO_SERVICE_H

#include "CtsvcTool.h"
#include "Json.h"

namespace ctsvc_tool {

// Puts the sample USIM into a data directory that has no card (before the service is loaded).
void DemoInsertSampleUsim(const Options& options);
// Counts the contact and group change callbacks from now on.
void DemoWatchChanges();
Json DemoStartPhonebook();
// Copies the SIM contacts not yet on the phone to the phone with the bulk copy, with its progress.
Json DemoCopySimToPhone();
Json DemoImportVCardFile(const Options& options);
Json DemoLinkDuplicates();
Json DemoSearchImported();
Json DemoPbapExport();
Json DemoAtRead();
Json DemoChangeCallbacks();

}  // namespace ctsvc_tool

#endif
