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
#include "e2e/scoped_registry_value.h"
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
inline bool WaitForLine(const char* folder, const std::string& line, size_t count) {
  return WaitUntil([&] { return CountLines(folder, line) >= count; });
}

inline std::string VerifyLine(HWND window) {
  return "verify " + std::to_string(HandleToULong(window));
}

inline bool StartCopy(SaverProcess& saver, const char* folder, const char* program,
                      const std::string& arguments) {
  return saver.StartProgram(RunFolder(folder) + "\\" + program, arguments);
}

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
