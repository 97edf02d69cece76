// What the password tests and their stand-in system libraries agree on: where the stand-ins
// write what happened to them, and where the tests put the verifier's answer.
#pragma once

// Each stand-in appends one line per event to this file, in the folder it was loaded from.
constexpr char kStandInLogName[] = "standin_calls.log";

// HKCU key and DWORD value holding the verifier's answer.
constexpr char kAnswerKey[] = "Software\\Lumora Tests\\Password Stand-in";
constexpr char kAnswerValue[] = "Answer";
enum StandInAnswer : unsigned long {
  kAnswerRefuse = 0,
  kAnswerAccept = 1,
  // Opens a window of kDialogClass and dispatches messages, as the system's password dialog
  // would, until the test sends it WM_COMMAND with IDOK (accept) or IDCANCEL (refuse).
  kAnswerAskDialog = 2,
};
constexpr char kDialogClass[] = "LumoraTestPasswordDialog";

// Optional DWORD beside the answer, x in the low and y in the high word: the verifier puts the
// cursor there before it answers, as a user does who moves the mouse while the check is open.
constexpr char kCursorValue[] = "MoveCursorTo";
