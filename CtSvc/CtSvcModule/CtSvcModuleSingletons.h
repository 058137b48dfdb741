// Singletons that the unload command destroys, in this order, when they exist. Each is created
// lazily by the first call that needs it and registers its destroy function then.
#ifndef CTSVC_MODULE_SINGLETONS_H
#define CTSVC_MODULE_SINGLETONS_H

enum CtSvcModuleSingleton {
  CTSVC_SINGLETON_BULK_OPERATION = 0,
  CTSVC_SINGLETON_SNS_IMAGE = 1,
  CTSVC_SINGLETON_TASK = 2,
  CTSVC_SINGLETON_MAX = 3
};

typedef void (*CtSvcSingletonDestroyer)(void);

void CtSvcModuleSetSingleton(CtSvcModuleSingleton nWhich, CtSvcSingletonDestroyer pfnDestroy);
// Destroys the singleton if it exists and forgets it; false when it did not exist.
bool CtSvcModuleDestroySingleton(CtSvcModuleSingleton nWhich);

#endif
