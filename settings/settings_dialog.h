// The configure mode's settings dialog and its about box.
#pragma once
#include <windows.h>

int RunSettingsDialog(HWND owner);  // the dialog's result: 1 after OK or Cancel
