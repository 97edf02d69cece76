// The brightness setting in HKEY_CURRENT_USER\Software\QUENDRA\Lumora ScreenSaver\Time, value
// "Brightness" (REG_DWORD). Both keys are created on first use, even by a load, so that the
// store never has to tell "missing" from "unreadable": either way the current value stays.
#include "settings/settings_store.h"

#include <windows.h>

int32_t Brightness = kDefaultBrightness;

namespace {

constexpr char kRootKey[] = "Software\\QUENDRA\\Lumora ScreenSaver";
constexpr char kTimeKey[] = "Time";
constexpr char kBrightnessValue[] = "Brightness";

HKEY CreateKey(HKEY parent, const char* name) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

// Anything but a 4-byte REG_DWORD within 0..8 is left alone; the size check comes from the
// 4-byte buffer, which makes a longer value fail with ERROR_MORE_DATA.
void ReadBrightness(HKEY time) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  const LONG result = RegQueryValueExA(time, kBrightnessValue, nullptr, &type,
                                       reinterpret_cast<BYTE*>(&value), &size);
  if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return;
  if (value > static_cast<DWORD>(kMaxBrightness)) return;
  Brightness = static_cast<int32_t>(value);
}

void WriteBrightness(HKEY time) {
  const DWORD value = static_cast<DWORD>(Brightness);
  RegSetValueExA(time, kBrightnessValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof(value));
}

// Opens (creating where missing) the root and its "Time" subkey and hands the subkey to use.
void WithTimeKey(void (*use)(HKEY)) {
  HKEY root = CreateKey(HKEY_CURRENT_USER, kRootKey);
  if (root == nullptr) return;
  HKEY time = CreateKey(root, kTimeKey);
  if (time != nullptr) {
    use(time);
    RegCloseKey(time);
  }
  RegCloseKey(root);
}

}  // namespace

void LoadSettings() {
  WithTimeKey(ReadBrightness);
}

void SaveSettings() {
  WithTimeKey(WriteBrightness);
}
