// The listener module pauses every client listener; the image manager is not part of the library
// yet, so the removal of an account's images is traced only and the images stay on disk.
#include "CtSvcTaskHooks.h"

#include "CtSvcDbListener.h"
#include "ZelDebug.h"

void CtSvcTaskPauseListeners(bool bPause) {
  if (bPause) {
    CtSvcDbListenerPause();
  } else {
    CtSvcDbListenerResume();
  }
}

void CtSvcTaskDeleteAccountImages(int nAccountId) {
  DbgPrint(DBG_CLASS_TRACE, "CtSvcTaskDeleteAccountImages - account %d: no image manager yet\n", nAccountId);
}
