// How "ScreenSaveUsePassword" is read, whatever type and length it was stored with: a 32-bit
// number in a zeroed 4-byte buffer, anything longer counting as no password.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/password_hooks.h"

namespace {

constexpr char kValueName[] = "ScreenSaveUsePassword";

// A private scratch key standing in for "Control Panel\Desktop".
class ScratchKey {
 public:
  ScratchKey() {
    RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
  }
  ~ScratchKey() {
    RegCloseKey(key_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kPath);
  }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  HKEY get() const { return key_; }
  bool Store(DWORD type, const std::vector<BYTE>& data) {
    return RegSetValueExA(key_, kValueName, 0, type, data.empty() ? nullptr : data.data(),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  }

 private:
  static constexpr char kPath[] = "Software\\Lumora Tests\\Use Password Scratch";
  HKEY key_ = nullptr;
};

std::string Describe(DWORD type, const std::vector<BYTE>& data) {
  std::string text = "type " + std::to_string(type) + ", bytes {";
  for (BYTE b : data) text += " " + std::to_string(b);
  return text + " }";
}

TEST(UsePasswordSetting, AbsentValueMeansNoPassword) {
  ScratchKey key;
  ASSERT_NE(key.get(), nullptr);
  EXPECT_FALSE(UsePasswordSet(key.get()));
}

// Types that the registry stores as raw bytes: only the length and the bytes matter.
TEST(UsePasswordSetting, RawTypesOfEveryLengthFromZeroToEight) {
  const DWORD types[] = {REG_NONE,  REG_BINARY,        REG_DWORD, REG_DWORD_BIG_ENDIAN,
                         REG_QWORD, REG_RESOURCE_LIST, 0x1234};
  ScratchKey key;
  ASSERT_NE(key.get(), nullptr);
  for (DWORD type : types) {
    for (size_t length = 0; length <= 8; ++length) {
      // All zero; then a single non-zero byte in each position in turn.
      for (size_t marked = 0; marked <= length; ++marked) {
        std::vector<BYTE> data(length, 0);
        if (marked < length) data[marked] = 0x80;
        ASSERT_TRUE(key.Store(type, data)) << Describe(type, data);
        const bool expected = length <= 4 && marked < length;
        EXPECT_EQ(UsePasswordSet(key.get()), expected) << Describe(type, data);
      }
    }
  }
}

TEST(UsePasswordSetting, NumbersAndStringsAsTheFourByteReadSeesThem) {
  struct Case {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    bool expected;
  } cases[] = {
      {"dword 0", REG_DWORD, {0, 0, 0, 0}, false},
      {"dword 1", REG_DWORD, {1, 0, 0, 0}, true},
      {"dword 0x80000000", REG_DWORD, {0, 0, 0, 0x80}, true},
      {"dword 0xFFFFFFFF", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, true},
      {"qword 1 is too long", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, false},
      {"binary of 3 bytes", REG_BINARY, {0, 0, 1}, true},
      {"binary of 5 bytes", REG_BINARY, {1, 1, 1, 1, 1}, false},
      {"binary of 7 bytes", REG_BINARY, {1, 2, 3, 4, 5, 6, 7}, false},
      {"empty string", REG_SZ, {0}, false},
      {"string 0 reads as 0x30", REG_SZ, {'0', 0}, true},
      {"string 1", REG_SZ, {'1', 0}, true},
      {"string of 3 characters", REG_SZ, {'1', '2', '3', 0}, true},
      {"string of 4 characters is too long", REG_SZ, {'1', '2', '3', '4', 0}, false},
      {"expandable string", REG_EXPAND_SZ, {'1', 0}, true},
      {"multi-string", REG_MULTI_SZ, {'1', 0, 0}, true},
      {"empty multi-string", REG_MULTI_SZ, {0, 0}, false},
  };
  ScratchKey key;
  ASSERT_NE(key.get(), nullptr);
  for (const Case& c : cases) {
    ASSERT_TRUE(key.Store(c.type, c.data)) << c.name;
    EXPECT_EQ(UsePasswordSet(key.get()), c.expected) << c.name;
  }
}

TEST(UsePasswordSetting, HugeValuesFailTheReadAndMeanNoPassword) {
  ScratchKey key;
  ASSERT_NE(key.get(), nullptr);
  const std::vector<BYTE> huge(1 << 20, 0x01);
  std::vector<BYTE> longText(64 * 1024, '1');
  longText.back() = 0;
  for (DWORD type : {REG_BINARY, REG_DWORD, REG_NONE}) {
    ASSERT_TRUE(key.Store(type, huge));
    EXPECT_FALSE(UsePasswordSet(key.get())) << "1 MB of type " << type;
  }
  ASSERT_TRUE(key.Store(REG_SZ, longText));
  EXPECT_FALSE(UsePasswordSet(key.get())) << "64 KB string";
}

}  // namespace
