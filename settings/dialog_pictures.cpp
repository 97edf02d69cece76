// The dialogs' pictures at the display's scale: which drawing to take, and how to bring it to
// a size none was drawn for.
#include "settings/dialog_pictures.h"

#include <iterator>

#include "host/host_state.h"
#include "host/system_functions.h"
#include "resources/resource_ids.h"

const DialogPicture kAboutPicture = {
    {340, 230},
    {{96, IDB_ABOUT}, {120, IDB_ABOUT_125}, {144, IDB_ABOUT_150}, {192, IDB_ABOUT_200}}};
const DialogPicture kPreviewPicture = {
    {136, 136},
    {{96, IDB_PREVIEW}, {120, IDB_PREVIEW_125}, {144, IDB_PREVIEW_150}, {192, IDB_PREVIEW_200}}};

namespace {

// user32's GetDpiForWindow, Windows 10 1607 and later.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND window);

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return USER_DEFAULT_SCREEN_DPI;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

HBITMAP NewPicture24(SIZE size) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// The drawing scaled into a new picture of the size; null on failure.
HBITMAP ScaledCopy(HBITMAP drawing, SIZE from, SIZE size) {
  HBITMAP scaled = NewPicture24(size);
  HDC source = CreateCompatibleDC(nullptr);
  HDC target = CreateCompatibleDC(nullptr);
  if (scaled != nullptr && source != nullptr && target != nullptr) {
    HGDIOBJ previousSource = SelectObject(source, drawing);
    HGDIOBJ previousTarget = SelectObject(target, scaled);
    StretchSmoothly(target, RECT{0, 0, size.cx, size.cy}, source, from);
    SelectObject(target, previousTarget);
    SelectObject(source, previousSource);
  } else if (scaled != nullptr) {
    DeleteObject(scaled);
    scaled = nullptr;
  }
  if (target != nullptr) DeleteDC(target);
  if (source != nullptr) DeleteDC(source);
  return scaled;
}

}  // namespace

SIZE PictureSizeAt(const DialogPicture& picture, int dpi) {
  return SIZE{MulDiv(picture.size.cx, dpi, USER_DEFAULT_SCREEN_DPI),
              MulDiv(picture.size.cy, dpi, USER_DEFAULT_SCREEN_DPI)};
}

SIZE PictureSizeIn(const DialogPicture& picture, int dpi, SIZE area) {
  const SIZE wanted = PictureSizeAt(picture, dpi);
  if (area.cx <= 0 || area.cy <= 0) return SIZE{0, 0};
  if (wanted.cx <= area.cx && wanted.cy <= area.cy) return wanted;
  // The side that overflows most sets the scale.
  if (static_cast<long long>(area.cx) * wanted.cy <= static_cast<long long>(area.cy) * wanted.cx) {
    return SIZE{area.cx, MulDiv(wanted.cy, area.cx, wanted.cx)};
  }
  return SIZE{MulDiv(wanted.cx, area.cy, wanted.cy), area.cy};
}

// The drawings come smallest first.
int ChooseVariant(const DialogPicture& picture, SIZE size) {
  const int count = static_cast<int>(std::size(picture.variants));
  for (int i = 0; i < count; ++i) {
    if (PictureSizeAt(picture, picture.variants[i].dpi).cx >= size.cx) return i;
  }
  return count - 1;
}

int WindowDpi(HWND window) {
  const auto getDpiForWindow =
      ProcAs<GetDpiForWindowFn>(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
  const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

// HALFTONE averages the source pixels under each target pixel; it needs the brush origin set
// after the mode. Windows 95 and 98 lack it and stretch as COLORONCOLOR does.
void StretchSmoothly(HDC target, const RECT& to, HDC source, SIZE from) {
  const int previousMode = SetStretchBltMode(target, HALFTONE);
  POINT previousOrigin = {0, 0};
  SetBrushOrgEx(target, 0, 0, &previousOrigin);
  StretchBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, source, 0, 0, from.cx,
             from.cy, SRCCOPY);
  SetBrushOrgEx(target, previousOrigin.x, previousOrigin.y, nullptr);
  if (previousMode != 0) SetStretchBltMode(target, previousMode);
}

HBITMAP LoadPictureAtSize(const DialogPicture& picture, SIZE size) {
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  const PictureVariant& variant = picture.variants[ChooseVariant(picture, size)];
  HBITMAP drawing =
      static_cast<HBITMAP>(LoadImageA(moduleInstance, MAKEINTRESOURCEA(variant.resourceId),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (drawing == nullptr) return nullptr;
  BITMAP shape = {};
  GetObjectA(drawing, sizeof(shape), &shape);
  if (shape.bmWidth == size.cx && shape.bmHeight == size.cy) return drawing;
  HBITMAP scaled = ScaledCopy(drawing, SIZE{shape.bmWidth, shape.bmHeight}, size);
  DeleteObject(drawing);
  return scaled;
}
