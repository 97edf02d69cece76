// Resource ids shared by the resource script and the code.
#pragma once

#define IDS_DESCRIPTION 1
#define IDB_ABOUT 104
#define IDB_PREVIEW 106
#define IDI_SAVER 108
#define IDD_SETTINGS 102
#define IDD_ABOUT 103
