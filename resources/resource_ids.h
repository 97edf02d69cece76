// Resource ids shared by the resource script and the code.
#pragma once

#define IDS_DESCRIPTION 1
#define IDB_ABOUT 104
#define IDB_PREVIEW 106
#define IDI_SAVER 108
#define IDD_SETTINGS 102
#define IDD_ABOUT 103

// Controls of the settings dialog (IDD_SETTINGS).
#define IDC_PREVIEW_AREA 1015
#define IDC_BRIGHTNESS_NUMBER 1016
#define IDC_BRIGHTNESS_SCROLL 1017
#define IDC_DEFAULTS 1018
#define IDC_ABOUT 1019
#define IDC_BRIGHTNESS_LABEL 1020
