// The saver's version, name and copyright line, written once here for the settings dialog and
// the file's version resource.
#pragma once

#define LUMORA_VERSION_MAJOR 1
#define LUMORA_VERSION_MINOR 0

#define LUMORA_TEXT_OF(x) #x
#define LUMORA_TEXT(x) LUMORA_TEXT_OF(x)
#define LUMORA_VERSION_TEXT LUMORA_TEXT(LUMORA_VERSION_MAJOR) "." LUMORA_TEXT(LUMORA_VERSION_MINOR)
// The version resource's four numbers, as text and as numbers.
#define LUMORA_FILE_VERSION_TEXT LUMORA_VERSION_TEXT ".0.0"
#define LUMORA_FILE_VERSION LUMORA_VERSION_MAJOR, LUMORA_VERSION_MINOR, 0, 0

#define LUMORA_PRODUCT_NAME "Lumora ScreenSaver"
#define LUMORA_COMPANY "QUENDRA"
#define LUMORA_COPYRIGHT "Copyright (C) 2026 QUENDRA. All rights reserved."
// The description the display settings list the saver by.
#define LUMORA_DESCRIPTION "Lumora　スクリーンセーバー(時計2)"
