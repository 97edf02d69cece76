// The entry point's logic: the Windows-family probe and the switch scanning.
#include "host/command_line.h"

#include "host/host_state.h"
#include "host/password_hooks.h"
#include "host/saver_window.h"
#include "settings/settings_dialog.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The change-password switch, from the position of its letter (or of the character that ended
// a preview's host number).
int ChangePasswordFrom(const char* position, const HostActions& actions) {
  if (!isWin9x) return 0;
  if (*position != '\0') ++position;
  while (IsBlank(*position)) ++position;
  HWND owner = HandleFromNumber(ParseDecimal(position));
  if (owner == nullptr || !actions.isWindow(owner)) owner = actions.getForegroundWindow();
  actions.changeSaverPassword(owner);
  return 0;
}

int PreviewFrom(const char* letter, const HostActions& actions) {
  isWindowed = true;
  isPreview = true;
  const char* position = letter + 1;
  while (IsBlank(*position)) ++position;
  HWND host = HandleFromNumber(ParseDecimal(position));
  if (host != nullptr && actions.isWindow(host)) return actions.runSaverWindow(host);
  // Not a window: the change-password handling takes over from the first character after the
  // blanks, which it steps past before reading its own number.
  return ChangePasswordFrom(position, actions);
}

}  // namespace

HostActions SystemHostActions() {
  return HostActions{RunSettingsDialog, RunSaverWindow, ChangeSaverPassword, IsWindow,
                     GetForegroundWindow};
}

const char* ArgumentText(const char* commandLine) {
  const char* p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p != '\0' && !IsBlank(*p)) ++p;
  }
  while (IsBlank(*p)) ++p;
  return p;
}

uint32_t ParseDecimal(const char* text) {
  uint32_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) value = value * 10u + uint32_t(*text - '0');
  return value;
}

bool ProbeWin9x() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);  // 148
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL ok = GetVersionExA(&info);
#pragma GCC diagnostic pop
  return ok && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

int RunCommandLine(const char* arguments, const HostActions& actions) {
  for (const char* p = arguments;; ++p) {
    switch (*p) {
      case '\0': return actions.runSettingsDialog(nullptr);
      case ' ':
      case '-':
      case '/': continue;
      case 'C':
      case 'c': return actions.runSettingsDialog(actions.getForegroundWindow());
      case 'W':
      case 'w': isWindowed = true; return actions.runSaverWindow(nullptr);
      case 'S':
      case 's': return actions.runSaverWindow(nullptr);
      case 'P':
      case 'p': return PreviewFrom(p, actions);
      case 'A':
      case 'a': return ChangePasswordFrom(p, actions);
      default: return 0;
    }
  }
}
