// System metrics and parameters of the device.
#include <aygshell.h>

#include "device/Device.h"

int WINAPI GetSystemMetrics(int index) {
  device::Device& device = device::Device::instance();
  switch (index) {
    case SM_CXSCREEN:
      return device.screenWidth();
    case SM_CYSCREEN:
      return device.screenHeight();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 13;
    case SM_CYCAPTION:
    case SM_CYMENU:
      return 26;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    default:
      return 0;
  }
}

BOOL WINAPI SystemParametersInfoW(UINT action, UINT param, PVOID data, UINT winIni) {
  switch (action) {
    case SPI_GETWORKAREA:
      if (!data) break;
      *static_cast<RECT*>(data) = device::Device::instance().workArea();
      return TRUE;
    case SPI_GETSIPINFO:
    case SPI_SETSIPINFO:
      return SHSipInfo(action, param, data, winIni);
    default:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
