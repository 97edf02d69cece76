// Loading the brightness from whatever a user or another program left in the registry: every
// value type, every length from 0 to 8 bytes, small, negative, huge and binary contents. Only a
// 4-byte REG_DWORD from 0 to 8 is taken; anything else keeps the value in memory, and a load
// never writes to the registry.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "both_builds.h"
#include "settings/settings_test_support.h"

namespace {

// Eight bytes of content; a value of length n stores the first n of them. The 32-bit build, whose
// registry calls run under emulation, takes the first four: a valid value, one above the range,
// a negative one, and one valid in the low four bytes of a longer value.
struct Content {
  const char* label;
  uint64_t bytes;  // little-endian
};

const Content kContents[] = {
    {"1", 1},
    {"9", 9},
    {"-1", 0xFFFFFFFFFFFFFFFFull},
    {"2^32 + 3", 0x100000003ull},
    {"0", 0},
    {"5", 5},
    {"8", 8},
    {"256 + 3", 0x103},
    {"-4", 0xFFFFFFFFFFFFFFFCull},
    {"INT_MIN", 0x80000000ull},
    {"INT_MAX", 0x7FFFFFFFull},
    {"binary", 0x5AA5C33C0FF0E11Eull},
    {"text \"7\"", 0x37ull},
};

const DWORD kTypes[] = {REG_NONE,
                        REG_SZ,
                        REG_EXPAND_SZ,
                        REG_BINARY,
                        REG_DWORD,
                        REG_DWORD_BIG_ENDIAN,
                        REG_LINK,
                        REG_MULTI_SZ,
                        REG_RESOURCE_LIST,
                        REG_FULL_RESOURCE_DESCRIPTOR,
                        REG_RESOURCE_REQUIREMENTS_LIST,
                        REG_QWORD,
                        12,
                        0x7FFFFFFF,
                        0xFFFFFFFF};

// The validation rule, stated on its own: a 4-byte REG_DWORD whose unsigned value is at most 8.
bool Accepted(DWORD type, DWORD length, uint64_t bytes) {
  return type == REG_DWORD && length == 4 && uint32_t(bytes) <= 8;
}

bool SameValues(const std::vector<StoredValue>& a, const std::vector<StoredValue>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].type != b[i].type || a[i].data != b[i].data) return false;
  }
  return true;
}

using SettingsRegistryTest = SettingsTest;

TEST_F(SettingsRegistryTest, EveryTypeLengthAndContentFallsBackUnlessValid) {
  int failures = 0, cases = 0, accepted = 0;
  for (DWORD type : kTypes) {
    for (DWORD length = 0; length <= 8; ++length) {
      for (const Content& content : Sample(kContents, 4)) {
        for (int32_t before : {kDefaultBrightness, 6}) {
          ASSERT_TRUE(RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey) == ERROR_SUCCESS ||
                      !KeyExists(kVendorKey));
          BYTE data[8];
          std::memcpy(data, &content.bytes, sizeof(data));
          WriteTimeValue("Brightness", type, data, length);
          if (HasFatalFailure()) return;
          const std::vector<StoredValue> stored = ValuesOf(kTimeKeyPath);
          Brightness = before;
          LoadSettings();
          ++cases;
          const bool valid = Accepted(type, length, content.bytes);
          accepted += valid;
          const int32_t want = valid ? int32_t(uint32_t(content.bytes)) : before;
          std::ostringstream problem;
          if (Brightness != want) problem << " brightness " << Brightness << ", wanted " << want;
          if (!SameValues(ValuesOf(kTimeKeyPath), stored)) problem << " the Time key changed";
          if (!ValuesOf(kRootKeyPath).empty()) problem << " a value appeared under the root";
          if (SubkeysOf(kTimeKeyPath).size() != 0) problem << " a key appeared under Time";
          if (!problem.str().empty() && ++failures <= 20) {
            ADD_FAILURE() << "type " << type << ", " << length << " bytes of " << content.label
                          << ", " << before << " in memory:" << problem.str();
          }
        }
      }
    }
  }
  EXPECT_EQ(failures, 0) << "of " << cases << " stored values";
  // 0, 1, 5, 8 and the low four bytes of 2^32 + 3 (the sample: 1 and 2^32 + 3), twice each.
  EXPECT_EQ(accepted, 2 * (kAllRows ? 5 : 2))
      << "the sweep did not reach the valid values it should";
}

// The value in the wrong place, or a key where the value should be, is not read.
TEST_F(SettingsRegistryTest, ValuesOutsideTheTimeKeyAreIgnored) {
  const DWORD three = 3;
  struct {
    const char* label;
    const char* keyPath;
    const char* valueName;
  } cases[] = {
      {"under the root key", kRootKeyPath, "Brightness"},
      {"as the Time key's default value", kTimeKeyPath, ""},
      {"under a Brightness subkey", "Software\\QUENDRA\\Lumora ScreenSaver\\Time\\Brightness", ""},
      {"under the vendor key", kVendorKey, "Brightness"},
  };
  for (const auto& c : cases) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, c.keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, c.valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), 4);
    RegCloseKey(key);
    Brightness = kDefaultBrightness;
    LoadSettings();
    EXPECT_EQ(Brightness, kDefaultBrightness) << "a value " << c.label << " was read";
  }
}

}  // namespace
