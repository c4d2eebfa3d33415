// SHSipInfo: the input panel's state as the shell reports it.
#include <aygshell.h>

#include "device/Device.h"

namespace {

bool validSipInfo(const void* data) {
  return data && static_cast<const SIPINFO*>(data)->cbSize == sizeof(SIPINFO);
}

}  // namespace

BOOL WINAPI SHSipInfo(UINT uiAction, UINT, PVOID pvParam, UINT) {
  device::Device& device = device::Device::instance();
  switch (uiAction) {
    case SPI_GETSIPINFO: {
      if (!validSipInfo(pvParam)) break;
      auto* info = static_cast<SIPINFO*>(pvParam);
      info->fdwFlags = SIPF_DOCKED | (device.sipVisible() ? SIPF_ON : SIPF_OFF);
      info->rcVisibleDesktop = device.visibleDesktop();
      info->rcSipRect = device.sipRect();
      info->dwImDataSize = 0;
      return TRUE;
    }
    case SPI_SETSIPINFO: {
      if (!validSipInfo(pvParam)) break;
      device.setSipVisible((static_cast<const SIPINFO*>(pvParam)->fdwFlags & SIPF_ON) != 0);
      return TRUE;
    }
    default: break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
