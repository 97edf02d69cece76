// The stand-ins' event log: one line per event, appended to kStandInLogName next to the
// library itself, so that every test folder keeps its own record.
#pragma once
#include <windows.h>

#include <string>

#include "password/standins/standin_protocol.h"

inline void AppendStandInLog(HMODULE self, const std::string& line) {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::string logPath(path, length);
  logPath.erase(logPath.find_last_of("\\/") + 1);
  logPath += kStandInLogName;
  HANDLE file = CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

// Logs "load NAME" when the library is mapped and "unload NAME" when FreeLibrary drops it; the
// detach at process exit is not logged, so an "unload" line proves an explicit release.
inline void LogAttachAndRelease(HMODULE self, DWORD reason, LPVOID reserved, const char* name) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(self);
    AppendStandInLog(self, std::string("load ") + name);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    AppendStandInLog(self, std::string("unload ") + name);
  }
}
