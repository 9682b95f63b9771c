// The system-service interface of the emulated device, as the program sees it.
#pragma once

#include "windef.h"
#include "winerror.h"
#include "winbase.h"
#include "winreg.h"
#include "winuser.h"
#include "wingdi.h"
#include "tchar.h"
#include "wcrt.h"
