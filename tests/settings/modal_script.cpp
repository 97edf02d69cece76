// The modal script runner and the real-input helpers.
#include "modal_script.h"

#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "resources/resource_ids.h"

namespace {

constexpr UINT kTickMs = 20;
constexpr DWORD kStepTimeoutMs = 5000;

struct Script {
  std::vector<ScriptStep> steps;
  size_t next = 0;
  DWORD stepStarted = 0;
  UINT_PTR timer = 0;
  bool running = false;
  bool abandoned = false;
};
Script script;

struct DialogSearch {
  bool withScrollBar;
  HWND found;
};

// An enumeration callback is stdcall (CALLBACK), which a lambda cannot be on the 32-bit build.
// A visible dialog of the thread's, the settings dialog or the about box as asked.
BOOL CALLBACK MatchThreadDialog(HWND window, LPARAM data) {
  auto* s = reinterpret_cast<DialogSearch*>(data);
  char className[16] = {};
  GetClassNameA(window, className, sizeof(className));
  if (std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
  if ((GetDlgItem(window, IDC_BRIGHTNESS_SCROLL) != nullptr) != s->withScrollBar) return TRUE;
  s->found = window;
  return FALSE;
}

HWND FindThreadDialog(bool withScrollBar) {
  DialogSearch search = {withScrollBar, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchThreadDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void StopScript() {
  if (script.timer != 0) KillTimer(nullptr, script.timer);
  script.timer = 0;
}

// A step ran out of time: end the innermost dialog first, then the settings dialog.
void Abandon() {
  script.abandoned = true;
  ADD_FAILURE() << "script step \"" << script.steps[script.next].label << "\" did not finish";
  StopScript();
  if (HWND about = FindAboutBox()) EndDialog(about, 0);
  if (HWND settings = FindSettingsDialog()) EndDialog(settings, 0);
}

// One step per tick, so that each step's effects reach the dialog before the next one runs.
void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (script.running || script.next >= script.steps.size()) return;
  script.running = true;
  const bool done = script.steps[script.next].action();
  script.running = false;
  if (done) {
    ++script.next;
    script.stepStarted = GetTickCount();
  } else if (GetTickCount() - script.stepStarted > Patience(kStepTimeoutMs)) {
    Abandon();
    script.next = script.steps.size();
  }
  if (script.next >= script.steps.size()) StopScript();
}

void SendMouse(DWORD flags, POINT screen) {
  SetCursorPos(screen.x, screen.y);
  INPUT input = AbsoluteMouseInput(screen, flags);
  SendInput(1, &input, sizeof(input));
}

}  // namespace

void StartModalScript(std::vector<ScriptStep> steps) {
  StopScript();
  script.steps = std::move(steps);
  script.next = 0;
  script.abandoned = false;
  script.stepStarted = GetTickCount();
  script.timer = SetTimer(nullptr, 0, kTickMs, OnTick);
  ASSERT_NE(script.timer, 0u) << "could not start the script's timer";
}

bool ModalScriptFinished() {
  return !script.abandoned && script.next >= script.steps.size();
}

HWND FindSettingsDialog() {
  return FindThreadDialog(true);
}
HWND FindAboutBox() {
  return FindThreadDialog(false);
}

void MoveMouseTo(POINT screen) {
  SendMouse(0, screen);
}
void PressMouse(POINT screen) {
  SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
}
void ReleaseMouse(POINT screen) {
  SendMouse(MOUSEEVENTF_LEFTUP, screen);
}
void ClickMouse(POINT screen, DWORD downFlag, DWORD upFlag) {
  SendMouse(downFlag, screen);
  SendMouse(upFlag, screen);
}
