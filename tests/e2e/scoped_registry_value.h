// A registry value under HKEY_CURRENT_USER that a test sets for a while and then puts back as it
// was, including its absence.
#pragma once
#include <windows.h>

#include <vector>

class ScopedRegistryValue {
 public:
  ScopedRegistryValue(const char* keyPath, const char* name) : name_(name) {
    RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    DWORD size = 0;
    if (RegQueryValueExA(key_, name_, nullptr, &savedType_, nullptr, &size) == ERROR_SUCCESS) {
      saved_.resize(size);
      hadValue_ = RegQueryValueExA(key_, name_, nullptr, &savedType_, saved_.data(), &size) ==
                  ERROR_SUCCESS;
    }
  }
  ~ScopedRegistryValue() {
    if (hadValue_) {
      RegSetValueExA(key_, name_, 0, savedType_, saved_.data(), static_cast<DWORD>(saved_.size()));
    } else {
      RegDeleteValueA(key_, name_);
    }
    RegCloseKey(key_);
  }
  ScopedRegistryValue(const ScopedRegistryValue&) = delete;
  ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

  bool Set(DWORD type, const void* data, size_t size) {
    return RegSetValueExA(key_, name_, 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
  }
  bool SetNumber(DWORD number) { return Set(REG_DWORD, &number, sizeof(number)); }
  void Remove() { RegDeleteValueA(key_, name_); }

 private:
  const char* name_;
  HKEY key_ = nullptr;
  bool hadValue_ = false;
  DWORD savedType_ = 0;
  std::vector<BYTE> saved_;
};
