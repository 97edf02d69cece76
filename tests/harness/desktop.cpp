// A stand-in desktop for the saver to capture, and a way to press a key from outside.
//   lumora_desktop show     covers the screen with a known wallpaper until it is closed
//   lumora_desktop key      presses and releases the space bar through the input queue
// The wallpaper is a smooth colour field with bands and discs, so that the dim and the
// clock's repairs are easy to see; DesktopPixel gives its exact colour at any point.
#include <windows.h>

#include <cstring>

#include "harness/desktop_pattern.h"

namespace {

LRESULT CALLBACK DesktopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      PaintDesktopPattern(dc, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

int ShowDesktop() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DesktopProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = "LumoraTestDesktop";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "desktop", WS_POPUP | WS_VISIBLE, 0,
                                0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

int PressKey() {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = VK_SPACE;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, inputs, sizeof(INPUT)) == 2 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "show") == 0) return ShowDesktop();
  if (argc == 2 && std::strcmp(argv[1], "key") == 0) return PressKey();
  return 2;
}
