// The about box the settings dialog opens: the about picture in a borderless box that closes
// on any click or when it loses activation.
#pragma once
#include <windows.h>

int ShowAboutBox(HWND owner);  // always 1, once the box has closed
