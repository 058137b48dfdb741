/* Everything of the platform core library. */
#ifndef ZEL_CORE_H
#define ZEL_CORE_H

#include "ZelAc.h"
#include "ZelBluetooth.h"
#include "ZelDb2.h"
#include "ZelDebug.h"
#include "ZelFm.h"
#include "ZelMem.h"
#include "ZelNv.h"
#include "ZelOs.h"
#include "ZelPhs.h"
#include "ZelReg.h"
#include "ZelSys.h"
#include "ZelTm.h"
#include "ZelTypes.h"
#include "ZelWm.h"

#endif
