// Win32 pieces that many test programs write out alike: the header of a top-down DIB, and a
// window of a class registered on first use.
#pragma once

#include <windows.h>

namespace win32_pieces {

// An uncompressed DIB of the given size and depth whose first row is the top one.
inline BITMAPINFO TopDown(int width, int height, WORD bitCount = 32) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitCount;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A window procedure that paints with Paint and leaves every other message to the default one.
template <void (*Paint)(HDC)>
LRESULT CALLBACK PaintingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  Paint(BeginPaint(window, &paint));
  EndPaint(window, &paint);
  return 0;
}

// Registers the class (a second registration of the same name fails harmlessly and the first
// stands) and creates a window of it in this module.
inline HWND MakeWindow(const char* className, WNDPROC proc, DWORD style, int x, int y, int width,
                       int height, HWND parent = nullptr, const char* title = "",
                       HBRUSH background = nullptr) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, className, title, style, x, y, width, height, parent, nullptr,
                         windowClass.hInstance, nullptr);
}

}  // namespace win32_pieces
