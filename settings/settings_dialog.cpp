// The settings dialog. Not built yet: shows nothing and reports the dialog as closed.
#include "settings/settings_dialog.h"

int RunSettingsDialog(HWND) { return 1; }
