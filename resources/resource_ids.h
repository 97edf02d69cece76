// Resource ids shared by the resource script and the code.
#pragma once

#define IDS_DESCRIPTION 1
#define IDB_ABOUT 104
#define IDB_PREVIEW 106
#define IDI_SAVER 108
#define IDD_SETTINGS 102
#define IDD_ABOUT 103

// The about and preview pictures drawn again for displays scaled to 125, 150 and 200 %, so that
// the dialogs show them crisp there; they are scaled smoothly from the nearest for other scales.
#define IDB_ABOUT_125 1104
#define IDB_PREVIEW_125 1106
#define IDB_ABOUT_150 1204
#define IDB_PREVIEW_150 1206
#define IDB_ABOUT_200 1304
#define IDB_PREVIEW_200 1306

// Controls of the settings dialog (IDD_SETTINGS).
#define IDC_PREVIEW_AREA 1015
#define IDC_BRIGHTNESS_NUMBER 1016
#define IDC_BRIGHTNESS_SCROLL 1017
#define IDC_DEFAULTS 1018
#define IDC_ABOUT 1019
#define IDC_BRIGHTNESS_LABEL 1020
