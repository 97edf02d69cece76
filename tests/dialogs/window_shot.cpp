// Screen areas for the dialog tests, read through GDI and written as PNG files through GDI+.
#include "dialogs/window_shot.h"

#include <gdiplus.h>

#include <algorithm>
#include <vector>

#include "e2e/driver.h"
#include "win32_pieces.h"

namespace {

// GDI+'s PNG encoder.
constexpr CLSID kPngEncoder = {
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

ScreenImage CaptureWindow(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return CaptureScreenImage(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace

ScreenImage CaptureSettled(HWND window, DWORD timeoutMs) {
  Settle(window);  // its thread has painted what was due
  const DWORD start = GetTickCount();
  ScreenImage last = CaptureWindow(window);
  do {
    PumpFor(150);  // a paint under way changes the picture within a frame or two
    ScreenImage next = CaptureWindow(window);
    if (next == last) return next;
    last = std::move(next);
  } while (GetTickCount() - start < Patience(timeoutMs));
  return last;
}

bool SavePng(const ScreenImage& area, const std::string& windowsPath) {
  if (area.pixels.empty()) return false;
  const std::string folder = windowsPath.substr(0, windowsPath.find_last_of('\\'));
  CreateDirectoryA(folder.c_str(), nullptr);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  bool saved = false;
  {
    // GDI+ reads the pixels in place: 32 bits each, the top row first, stride width × 4.
    std::vector<uint32_t> pixels = area.pixels;
    Gdiplus::Bitmap bitmap(area.width, area.height, area.width * 4, PixelFormat32bppRGB,
                           reinterpret_cast<BYTE*>(pixels.data()));
    saved = bitmap.Save(Wide(windowsPath).c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
  }
  Gdiplus::GdiplusShutdown(token);
  return saved;
}

ScreenImage PictureResource(int id) {
  ScreenImage picture;
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return picture;
  BITMAP shape = {};
  GetObjectA(bitmap, sizeof(shape), &shape);
  picture.width = shape.bmWidth;
  picture.height = shape.bmHeight;
  picture.pixels.resize(size_t(picture.width) * size_t(picture.height));
  BITMAPINFO info = win32_pieces::TopDown(picture.width, picture.height);
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, bitmap, 0, UINT(picture.height), picture.pixels.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  DeleteObject(bitmap);
  for (uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;
  return picture;
}

std::string ShotsFolder() {
  std::string path = "Z:" LUMORA_SHOTS_DIR "/";
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}
