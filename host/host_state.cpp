// Storage for the process-wide host state.
#include "host/host_state.h"

HINSTANCE moduleInstance = nullptr;
bool isWin9x = false;
bool isWindowed = false;
bool isPreview = false;
HWND saverWindow = nullptr;
HWND parentWindow = nullptr;
