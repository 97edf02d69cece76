// Helpers for the password tests on the real saver: the run folders the build prepares (copies
// of the saver beside the stand-in libraries), the stand-ins' event logs, and the registry
// settings a test changes and puts back.
#pragma once
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "password/standins/standin_protocol.h"

// Copies of the saver. Wine's per-program settings (AppDefaults, keyed by file name) make it
// report the 9x family to the first and load the MPR stand-in instead of its builtin MPR.DLL
// there; the second keeps the NT family.
constexpr char kWin9xSaver[] = "lumora_9x.scr";
constexpr char kNtSaver[] = "lumora_nt.scr";

// Run folders: both stand-ins beside both saver copies; no libraries at all; and an MPR
// stand-in copied as PASSWORD.CPL, a library without VerifyScreenSavePwd.
constexpr char kWithLibraries[] = "libraries";
constexpr char kNoLibraries[] = "bare";
constexpr char kWrongLibrary[] = "wrong-library";

inline std::string RunFolder(const char* folder) {
  std::string path = "Z:" LUMORA_PASSWORD_RUN_DIR "/";
  path += folder;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

inline std::string LogPath(const char* folder) {
  return RunFolder(folder) + "\\" + kStandInLogName;
}

inline void ClearLog(const char* folder) {
  DeleteFileA(LogPath(folder).c_str());
}

inline std::vector<std::string> LogLines(const char* folder) {
  std::vector<std::string> lines;
  std::ifstream file(LogPath(folder));
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

inline size_t CountLines(const char* folder, const std::string& line) {
  const auto lines = LogLines(folder);
  return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// Waits, pumping the driver's messages, until the log holds the line at least count times.
inline bool WaitForLine(const char* folder, const std::string& line, size_t count,
                        DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  while (CountLines(folder, line) < count) {
    if (GetTickCount() - start >= Patience(timeoutMs)) return false;
    PumpFor(20);
  }
  return true;
}

inline std::string VerifyLine(HWND window) {
  return "verify " + std::to_string(HandleToULong(window));
}

inline bool StartCopy(SaverProcess& saver, const char* folder, const char* program,
                      const std::string& arguments) {
  return saver.StartProgram(RunFolder(folder) + "\\" + program, arguments);
}

// Sets a registry value for the life of the guard and then restores what was there before
// (including its absence).
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

// The system's password switch and the stand-in verifier's answer, both put back afterwards.
struct PasswordSettings {
  ScopedRegistryValue usePassword{"Control Panel\\Desktop", "ScreenSaveUsePassword"};
  ScopedRegistryValue answer{kAnswerKey, kAnswerValue};
  ScopedRegistryValue cursorAtAnswer{kAnswerKey, kCursorValue};

  PasswordSettings(DWORD use, DWORD verifierAnswer) {
    usePassword.SetNumber(use);
    answer.SetNumber(verifierAnswer);
  }
};
