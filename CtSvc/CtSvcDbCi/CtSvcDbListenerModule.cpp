// The listener module's lists live for the whole process.
#include "CtSvcDbCi/CtSvcDbListenerModule.h"

CCtSvcDbListenerModule& CCtSvcDbListenerModule::Instance() {
  static CCtSvcDbListenerModule s_module;
  return s_module;
}
