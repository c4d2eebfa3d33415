// The device's SDK umbrella header.
#pragma once

#include "windef.h"
#include "winbase.h"
#include "winuser.h"
#include "wingdi.h"
#include "winreg.h"
#include "winver.h"
