// Shared by the settings tests: the registry keys the store uses, read and written directly,
// and a clean start for every test.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_state.h"
#include "settings/settings_store.h"

constexpr char kVendorKey[] = "Software\\QUENDRA";
constexpr char kRootKeyPath[] = "Software\\QUENDRA\\Lumora ScreenSaver";
constexpr char kTimeKeyPath[] = "Software\\QUENDRA\\Lumora ScreenSaver\\Time";

struct StoredValue {
  std::string name;
  DWORD type;
  std::vector<BYTE> data;
};

inline bool KeyExists(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Every value of the key, in enumeration order; empty if the key does not exist.
inline std::vector<StoredValue> ValuesOf(const char* path) {
  std::vector<StoredValue> values;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameSize = sizeof(name);
    BYTE data[256];
    DWORD dataSize = sizeof(data);
    DWORD type = 0;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) {
      break;
    }
    values.push_back(StoredValue{name, type, std::vector<BYTE>(data, data + dataSize)});
  }
  RegCloseKey(key);
  return values;
}

inline std::vector<std::string> SubkeysOf(const char* path) {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  char name[256];
  for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof(name)) == ERROR_SUCCESS; ++i) {
    names.push_back(name);
  }
  RegCloseKey(key);
  return names;
}

inline void WriteTimeValue(const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTimeKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS)
      << "could not create the Time key for the test";
  ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS)
      << "could not write the test value " << name;
  RegCloseKey(key);
}

// No settings in the registry and the built-in brightness in memory.
class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    moduleInstance = GetModuleHandleA(nullptr);
    const LONG result = RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey);
    ASSERT_TRUE(result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND)
        << "could not remove the settings left by an earlier test (error " << result << ")";
    Brightness = kDefaultBrightness;
  }
};
