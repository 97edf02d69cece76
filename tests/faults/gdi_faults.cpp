// Test-only GDI fault injection and object accounting, linked into a copy of the saver (and into
// in-process tests). At start-up it points the executable's own import-table entries for the
// GDI object makers and deleters at wrappers: the product links statically, so every one of its
// GDI calls goes through that table and no product code changes.
//
//   LUMORA_FAULT=CreateCompatibleDC:3        the 3rd call of that function fails (returns null)
//   LUMORA_FAULT=CreatePalette:1,CreateDIBSection:2   several at once
//   LUMORA_FAULT_REPORT=C:\path\report.txt   at exit: calls per function and the live objects
//
// The report also says what the saver left to the user: the cursor's display count when the
// failure box came up and at exit, whether the input method was on at exit, and how often a
// saver window was shown, erased or painted while no stage (scene) existed, which is after
// Stage::Shutdown, since no saver window exists before Stage::Start; how many saver windows were
// made, and whether an opening dim ever ended. Once the opening dim is over, the saver window
// carries the property kOpeningOverProperty, for a test to wait for.
#include "faults/gdi_faults.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "host/system_functions.h"
#include "stage/stage.h"
#include "stage/stage_state.h"

namespace gdi_faults {

namespace {

struct Wrapped {
  const char* dll;
  const char* name;
  void* wrapper;
  void** original;
};

// The originals, filled in when the import table is patched.
decltype(&CreateDIBSection) realCreateDIBSection = CreateDIBSection;
decltype(&CreateCompatibleDC) realCreateCompatibleDC = CreateCompatibleDC;
decltype(&CreateCompatibleBitmap) realCreateCompatibleBitmap = CreateCompatibleBitmap;
decltype(&CreatePalette) realCreatePalette = CreatePalette;
decltype(&CreateBitmap) realCreateBitmap = CreateBitmap;
decltype(&DeleteObject) realDeleteObject = DeleteObject;
decltype(&DeleteDC) realDeleteDC = DeleteDC;
decltype(&LoadImageA) realLoadImageA = LoadImageA;
decltype(&GetDeviceCaps) realGetDeviceCaps = GetDeviceCaps;
decltype(&RealizePalette) realRealizePalette = RealizePalette;
decltype(&GetDC) realGetDC = GetDC;
decltype(&ShowWindow) realShowWindow = ShowWindow;
decltype(&ShowCursor) realShowCursor = ShowCursor;
decltype(&MessageBoxW) realMessageBoxW = MessageBoxW;
EnableImeFn realEnableIme = nullptr;

std::map<std::string, int> calls;
std::map<std::string, int> failAt;  // function name -> call number that fails
std::set<void*> live;
int fakeBitsPerPixel = 0;

// What the saver window did for the user, as the report gives it.
struct Watch {
  int cursorCount = 0;  // as ShowCursor last returned it
  int cursorAtBox = 0;
  bool boxShown = false;
  bool imeEnabled = true;
  int stagelessShows = 0, stagelessErases = 0, stagelessPaints = 0;
  int windowsMade = 0;
  bool openingOver = false;
} watch;

bool IsSaverWindow(HWND window) {
  char name[64] = {};
  return GetClassNameA(window, name, sizeof(name)) != 0 &&
         std::strcmp(name, "WindowsScreenSaverClass") == 0;
}

// Counts the call and says whether this one is to fail.
bool Fails(const char* name) {
  const int n = ++calls[name];
  auto it = failAt.find(name);
  return it != failAt.end() && it->second == n;
}

template <typename H>
H Track(H handle) {
  if (handle != nullptr) live.insert(reinterpret_cast<void*>(handle));
  return handle;
}

HBITMAP WINAPI FakeCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                    HANDLE section, DWORD offset) {
  if (Fails("CreateDIBSection")) {
    if (bits != nullptr) *bits = nullptr;
    return nullptr;
  }
  return Track(realCreateDIBSection(dc, info, usage, bits, section, offset));
}
HDC WINAPI FakeCreateCompatibleDC(HDC dc) {
  if (Fails("CreateCompatibleDC")) return nullptr;
  return Track(realCreateCompatibleDC(dc));
}
HBITMAP WINAPI FakeCreateCompatibleBitmap(HDC dc, int width, int height) {
  if (Fails("CreateCompatibleBitmap")) return nullptr;
  return Track(realCreateCompatibleBitmap(dc, width, height));
}
HPALETTE WINAPI FakeCreatePalette(const LOGPALETTE* palette) {
  if (Fails("CreatePalette")) return nullptr;
  return Track(realCreatePalette(palette));
}
HBITMAP WINAPI FakeCreateBitmap(int width, int height, UINT planes, UINT bits, const void* data) {
  if (Fails("CreateBitmap")) return nullptr;
  return Track(realCreateBitmap(width, height, planes, bits, data));
}
HANDLE WINAPI FakeLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy,
                             UINT flags) {
  ++calls["LoadImageA"];
  HANDLE image = realLoadImageA(instance, name, type, cx, cy, flags);
  if (type == IMAGE_BITMAP) Track(image);
  return image;
}
BOOL WINAPI FakeDeleteObject(HGDIOBJ object) {
  ++calls["DeleteObject"];
  const BOOL ok = realDeleteObject(object);
  if (ok) live.erase(object);
  return ok;
}
BOOL WINAPI FakeDeleteDC(HDC dc) {
  ++calls["DeleteDC"];
  const BOOL ok = realDeleteDC(dc);
  if (ok) live.erase(dc);
  return ok;
}
UINT WINAPI FakeRealizePalette(HDC dc) {
  ++calls["RealizePalette"];
  return realRealizePalette(dc);
}
HDC WINAPI FakeGetDC(HWND window) {
  if (Fails("GetDC")) return nullptr;
  return realGetDC(window);
}
BOOL WINAPI FakeShowWindow(HWND window, int command) {
  const bool wasVisible = IsWindowVisible(window) != FALSE;
  const BOOL result = realShowWindow(window, command);
  if (!wasVisible && IsWindowVisible(window) && IsSaverWindow(window) && !Stage::HasScene()) {
    ++watch.stagelessShows;
  }
  return result;
}
int WINAPI FakeShowCursor(BOOL show) {
  watch.cursorCount = realShowCursor(show);
  return watch.cursorCount;
}
BOOL WINAPI FakeEnableIme(HWND window, BOOL enable) {
  watch.imeEnabled = enable != FALSE;
  return realEnableIme != nullptr ? realEnableIme(window, enable) : TRUE;
}
int WINAPI FakeMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  watch.boxShown = true;
  watch.cursorAtBox = watch.cursorCount;
  return realMessageBoxW(owner, text, caption, type);
}
int WINAPI FakeGetDeviceCaps(HDC dc, int index) {
  if (fakeBitsPerPixel != 0 && index == BITSPIXEL) return fakeBitsPerPixel;
  return realGetDeviceCaps(dc, index);
}

// The wrapper and the original of one import, of the same function type.
template <typename F>
Wrapped Wrap(const char* dll, const char* name, F* wrapper, F** original) {
  return {dll, name, reinterpret_cast<void*>(wrapper), reinterpret_cast<void**>(original)};
}

const Wrapped kWrapped[] = {
    Wrap("gdi32.dll", "CreateDIBSection", FakeCreateDIBSection, &realCreateDIBSection),
    Wrap("gdi32.dll", "CreateCompatibleDC", FakeCreateCompatibleDC, &realCreateCompatibleDC),
    Wrap("gdi32.dll", "CreateCompatibleBitmap", FakeCreateCompatibleBitmap,
         &realCreateCompatibleBitmap),
    Wrap("gdi32.dll", "CreatePalette", FakeCreatePalette, &realCreatePalette),
    Wrap("gdi32.dll", "CreateBitmap", FakeCreateBitmap, &realCreateBitmap),
    Wrap("gdi32.dll", "DeleteObject", FakeDeleteObject, &realDeleteObject),
    Wrap("gdi32.dll", "DeleteDC", FakeDeleteDC, &realDeleteDC),
    Wrap("gdi32.dll", "GetDeviceCaps", FakeGetDeviceCaps, &realGetDeviceCaps),
    Wrap("gdi32.dll", "RealizePalette", FakeRealizePalette, &realRealizePalette),
    Wrap("user32.dll", "LoadImageA", FakeLoadImageA, &realLoadImageA),
    Wrap("user32.dll", "GetDC", FakeGetDC, &realGetDC),
    Wrap("user32.dll", "ShowWindow", FakeShowWindow, &realShowWindow),
    Wrap("user32.dll", "ShowCursor", FakeShowCursor, &realShowCursor),
    Wrap("user32.dll", "MessageBoxW", FakeMessageBoxW, &realMessageBoxW),
};

// Points every import of this executable that kWrapped names at its wrapper.
int PatchImports() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0) return 0;
  int patched = 0;
  for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       module->Name != 0; ++module) {
    const char* dll = reinterpret_cast<const char*>(base + module->Name);
    if (module->OriginalFirstThunk == 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      for (const Wrapped& w : kWrapped) {
        if (lstrcmpiA(dll, w.dll) != 0 || std::strcmp(byName->Name, w.name) != 0) continue;
        DWORD oldProtection = 0;
        void** slot = reinterpret_cast<void**>(&slots->u1.Function);
        VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &oldProtection);
        *w.original = *slot;
        *slot = w.wrapper;
        VirtualProtect(slot, sizeof(void*), oldProtection, &oldProtection);
        ++patched;
      }
    }
  }
  return patched;
}

void ReadFaults(const char* text) {
  // Name:N entries separated by commas.
  std::string faults = text;
  size_t start = 0;
  while (start < faults.size()) {
    size_t end = faults.find(',', start);
    if (end == std::string::npos) end = faults.size();
    const std::string entry = faults.substr(start, end - start);
    const size_t colon = entry.find(':');
    if (colon != std::string::npos) {
      failAt[entry.substr(0, colon)] = std::atoi(entry.c_str() + colon + 1);
    }
    start = end + 1;
  }
}

}  // namespace

int Install() {
  static int patched = -1;
  if (patched < 0) {
    patched = PatchImports();
    // The opening takes CreateDIBSection through a pointer that may have been read from the
    // import table before it was patched; the host looks WINNLSEnableIME up itself.
    Stage::createDibSection = FakeCreateDIBSection;
    realEnableIme = ProcAs<EnableImeFn>(GetModuleHandleA("user32.dll"), "WINNLSEnableIME");
    enableIme = FakeEnableIme;
  }
  return patched;
}

void FailCall(const char* function, int n) {
  failAt[function] = n;
}

void Reset() {
  failAt.clear();
  calls.clear();
  live.clear();
  fakeBitsPerPixel = 0;
}

int Calls(const char* function) {
  auto it = calls.find(function);
  return it == calls.end() ? 0 : it->second;
}

size_t LiveObjects() {
  return live.size();
}

void FakeBitsPerPixel(int bits) {
  fakeBitsPerPixel = bits;
}

bool WriteReport(const char* path) {
  FILE* file = std::fopen(path, "w");
  if (file == nullptr) return false;
  for (const auto& [name, count] : calls) std::fprintf(file, "calls %s %d\n", name.c_str(), count);
  if (watch.boxShown) std::fprintf(file, "cursor-at-box %d\n", watch.cursorAtBox);
  std::fprintf(file, "cursor-at-exit %d\n", watch.cursorCount);
  std::fprintf(file, "ime-at-exit %d\n", watch.imeEnabled ? 1 : 0);
  std::fprintf(file, "stageless-shows %d\n", watch.stagelessShows);
  std::fprintf(file, "stageless-erases %d\n", watch.stagelessErases);
  std::fprintf(file, "stageless-paints %d\n", watch.stagelessPaints);
  std::fprintf(file, "windows-made %d\n", watch.windowsMade);
  std::fprintf(file, "opening-over %d\n", watch.openingOver ? 1 : 0);
  std::fprintf(file, "live %u\n", unsigned(live.size()));
  std::fclose(file);
  return true;
}

namespace {

void CountStageless(HWND window, UINT message) {
  if (!IsSaverWindow(window)) return;
  if (message == WM_CREATE) ++watch.windowsMade;
  if (message == WM_DESTROY) RemovePropA(window, kOpeningOverProperty);
  const bool scene = Stage::HasScene();
  if (scene && !Stage::stage.firstErase && Stage::stage.dimLevel < Stage::TargetLevel()) {
    SetPropA(window, kOpeningOverProperty, reinterpret_cast<HANDLE>(1));  // each frame's paint
    watch.openingOver = true;
  }
  if (scene) return;
  if (message == WM_ERASEBKGND) ++watch.stagelessErases;
  if (message == WM_PAINT || message == WM_NCPAINT) ++watch.stagelessPaints;
}

// Sent messages (an erase inside ShowWindow, a paint from UpdateWindow) and retrieved ones.
LRESULT CALLBACK WatchSent(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    CountStageless(sent->hwnd, sent->message);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
LRESULT CALLBACK WatchRetrieved(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    CountStageless(message->hwnd, message->message);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// In the saver copy, the environment arms the faults before WinMain and the report is written
// when the process ends normally (after WinMain has returned and the saver has cleaned up).
struct FromEnvironment {
  std::string report;
  HHOOK sentHook = nullptr, retrievedHook = nullptr;
  FromEnvironment() {
    char value[512] = {};
    if (GetEnvironmentVariableA("LUMORA_FAULT_REPORT", value, sizeof(value)) == 0) return;
    report = value;
    Install();
    if (GetEnvironmentVariableA("LUMORA_FAULT", value, sizeof(value)) != 0) ReadFaults(value);
    sentHook = SetWindowsHookExA(WH_CALLWNDPROC, WatchSent, nullptr, GetCurrentThreadId());
    retrievedHook = SetWindowsHookExA(WH_GETMESSAGE, WatchRetrieved, nullptr, GetCurrentThreadId());
  }
  ~FromEnvironment() {
    if (sentHook != nullptr) UnhookWindowsHookEx(sentHook);
    if (retrievedHook != nullptr) UnhookWindowsHookEx(retrievedHook);
    if (!report.empty()) WriteReport(report.c_str());
  }
} fromEnvironment;

}  // namespace

}  // namespace gdi_faults
