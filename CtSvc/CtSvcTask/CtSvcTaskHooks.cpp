// Until the listener module and the image manager are part of the library, their calls are traced
// only: the listeners then see every batch delete, and the images stay on disk.
#include "CtSvcTaskHooks.h"

#include "ZelDebug.h"

void CtSvcTaskPauseListeners(bool bPause) {
  DbgPrint(DBG_CLASS_TRACE, "CtSvcTaskPauseListeners - %s (no listener module yet)\n", bPause ? "pause" : "resume");
}

void CtSvcTaskDeleteAccountImages(int nAccountId) {
  DbgPrint(DBG_CLASS_TRACE, "CtSvcTaskDeleteAccountImages - account %d: no image manager yet\n", nAccountId);
}
