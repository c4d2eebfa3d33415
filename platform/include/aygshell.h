// The Pocket PC shell: input panel, menu bar, full-screen dialogs.
#pragma once

#include "windows.h"

#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004

typedef struct tagSIPINFO {
  DWORD cbSize;
  DWORD fdwFlags;
  RECT rcVisibleDesktop;
  RECT rcSipRect;
  DWORD dwImDataSize;
  void* pvImData;
} SIPINFO, *PSIPINFO;

// uiAction is SPI_GETSIPINFO or SPI_SETSIPINFO; cbSize must be sizeof(SIPINFO).
BOOL WINAPI SHSipInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);

// A menu bar resource button that opens no popup menu.
#define NOMENU 0xFFFF
