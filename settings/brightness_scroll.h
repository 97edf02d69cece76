// How the settings dialog's brightness scroll bar answers one WM_HSCROLL request: pure rules,
// kept apart from the dialog so that they can be checked without a window.
#pragma once
#include <windows.h>

#include <cstdint>

struct ScrollOutcome {
  int position;        // the scroll bar's new position
  int32_t brightness;  // the brightness it stands for (the drag position while dragging)
};

// request: LOWORD of the message's wParam; thumbArgument: its HIWORD; state: the scroll bar's
// range, page, position and track position (SIF_ALL). Both results stay within the range.
ScrollOutcome ApplyScrollRequest(int request, WORD thumbArgument, const SCROLLINFO& state);
