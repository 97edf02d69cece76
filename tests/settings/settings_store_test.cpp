// The settings store against the real (per-run, private) registry: what a load accepts, what it
// leaves alone, and exactly what a save writes.
#include <gtest/gtest.h>

#include "settings_test_support.h"

namespace {

using SettingsStoreTest = SettingsTest;

TEST_F(SettingsStoreTest, LoadOnAFreshProfileCreatesBothKeysAndWritesNothing) {
  LoadSettings();
  EXPECT_EQ(Brightness, kDefaultBrightness) << "nothing stored: the default must stay";
  ASSERT_TRUE(KeyExists(kTimeKeyPath)) << "the load is expected to create the Time key";
  EXPECT_TRUE(ValuesOf(kRootKeyPath).empty()) << "no value expected under the root key";
  EXPECT_TRUE(ValuesOf(kTimeKeyPath).empty()) << "a load must not write any value";
  EXPECT_EQ(SubkeysOf(kRootKeyPath), std::vector<std::string>{"Time"})
      << "the root key is expected to hold the Time key only";
  EXPECT_TRUE(SubkeysOf(kTimeKeyPath).empty()) << "no key expected under Time";
}

struct StoredCase {
  const char* label;
  DWORD type;
  std::vector<BYTE> data;
  int32_t expected;
};

class LoadedValueTest : public SettingsTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(LoadedValueTest, TakesOnlyA4ByteDwordFrom0To8) {
  const StoredCase& c = GetParam();
  WriteTimeValue("Brightness", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
  LoadSettings();
  EXPECT_EQ(Brightness, c.expected) << "after loading " << c.label;
  ASSERT_EQ(ValuesOf(kTimeKeyPath).size(), 1u) << "a load must not add or remove values";
}

// The value's four bytes, lowest first, as a REG_DWORD holds them.
std::vector<BYTE> Dword(DWORD value) {
  return {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)};
}

INSTANTIATE_TEST_SUITE_P(
    Values, LoadedValueTest,
    ::testing::Values(
        StoredCase{"dword 0", REG_DWORD, Dword(0), 0},
        StoredCase{"dword 3", REG_DWORD, Dword(3), 3},
        StoredCase{"dword 8", REG_DWORD, Dword(8), 8},
        StoredCase{"dword 9", REG_DWORD, Dword(9), kDefaultBrightness},
        StoredCase{"dword 0xFFFFFFFF", REG_DWORD, Dword(0xFFFFFFFF), kDefaultBrightness},
        StoredCase{"dword 0x80000000", REG_DWORD, Dword(0x80000000), kDefaultBrightness},
        StoredCase{"string \"3\"", REG_SZ, {'3', 0}, kDefaultBrightness},
        StoredCase{"4-byte binary 3", REG_BINARY, Dword(3), kDefaultBrightness},
        StoredCase{"big-endian dword 3", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 3}, kDefaultBrightness},
        StoredCase{"2-byte dword 3", REG_DWORD, {3, 0}, kDefaultBrightness},
        StoredCase{"empty dword", REG_DWORD, {}, kDefaultBrightness},
        StoredCase{"8-byte dword 3", REG_DWORD, {3, 0, 0, 0, 0, 0, 0, 0}, kDefaultBrightness},
        StoredCase{"qword 3", REG_QWORD, {3, 0, 0, 0, 0, 0, 0, 0}, kDefaultBrightness}));

TEST_F(SettingsStoreTest, AValueUnderAnotherNameIsNotRead) {
  const DWORD value = 2;
  WriteTimeValue("brightness level", REG_DWORD, &value, sizeof(value));
  LoadSettings();
  EXPECT_EQ(Brightness, kDefaultBrightness) << "only the value named Brightness counts";
}

TEST_F(SettingsStoreTest, SaveWritesExactlyOneFourByteDword) {
  for (int32_t level : {0, 5, 8}) {
    Brightness = level;
    SaveSettings();
    const std::vector<StoredValue> values = ValuesOf(kTimeKeyPath);
    ASSERT_EQ(values.size(), 1u) << "expected exactly one value under Time after saving " << level;
    EXPECT_EQ(values[0].name, "Brightness");
    EXPECT_EQ(values[0].type, static_cast<DWORD>(REG_DWORD)) << "the value must be a REG_DWORD";
    EXPECT_EQ(values[0].data, Dword(static_cast<DWORD>(level))) << "4 bytes holding " << level;
    EXPECT_TRUE(ValuesOf(kRootKeyPath).empty()) << "nothing may be written to the root key";
  }
}

TEST_F(SettingsStoreTest, SaveThenLoadRoundTrips) {
  Brightness = 7;
  SaveSettings();
  Brightness = kDefaultBrightness;
  LoadSettings();
  EXPECT_EQ(Brightness, 7) << "a saved brightness is expected to load back";
}

TEST_F(SettingsStoreTest, LoadKeepsTheCurrentValueWhenNothingUsableIsStored) {
  Brightness = 6;
  LoadSettings();
  EXPECT_EQ(Brightness, 6) << "a load without a usable value must keep the value in memory";
}

}  // namespace
