// Drives modal dialogs from inside their own message loops: a thread timer, which any loop on
// the thread dispatches (DialogBoxParamA's, a nested dialog's, a scroll bar's drag loop), runs
// the script's steps one after another. A step returns false to be asked again on the next
// tick, until it succeeds or its time runs out; then the test fails and every dialog of the
// thread is ended, so that a broken dialog cannot hang the test program.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct ScriptStep {
  std::string label;             // says in a failure which step did not finish
  std::function<bool()> action;  // true once the step is done
};

// Starts the script; the caller then opens the dialog. Leaves no timer behind once it ends.
void StartModalScript(std::vector<ScriptStep> steps);
// True once every step has run (false if one ran out of time).
bool ModalScriptFinished();

// The open settings dialog and about box of this thread, or null.
HWND FindSettingsDialog();
HWND FindAboutBox();

// Real input, as if from the user: mouse at screen coordinates (keys: SendKey of the driver).
void MoveMouseTo(POINT screen);
void PressMouse(POINT screen);
void ReleaseMouse(POINT screen);
// downFlag/upFlag: MOUSEEVENTF_LEFTDOWN/LEFTUP, RIGHTDOWN/RIGHTUP or MIDDLEDOWN/MIDDLEUP.
void ClickMouse(POINT screen, DWORD downFlag, DWORD upFlag);
