// The listener module pauses every client listener; the image manager removes an account's images.
#include "CtSvcTaskHooks.h"

#include "CtSvcDbListener.h"
#include "CtSvcImg.h"
#include "ZelDebug.h"

void CtSvcTaskPauseListeners(bool bPause) {
  if (bPause) {
    CtSvcDbListenerPause();
  } else {
    CtSvcDbListenerResume();
  }
}

void CtSvcTaskDeleteAccountImages(int nAccountId) {
  if (!CtSvcImgDeleteAccount(nAccountId)) {
    DbgPrint(DBG_CLASS_FAIL, "CtSvcTaskDeleteAccountImages - images of account %d stay on disk\n", nAccountId);
  }
}
