// Linked into the 32-bit saver only. The compiler's runtime calls two Unicode functions that
// Windows 95 exports as failing stubs at best: libgcc makes its unwinder's locks with
// CreateSemaphoreW, and the C runtime's start-up looks for msvcrt.dll with GetModuleHandleW.
// Their import slots are filled here with ANSI equivalents, so that the file imports neither
// and behaves the same on both Windows families. An import slot defined in the program itself
// is what the linker takes before it looks in kernel32's import library.
#include <windows.h>

namespace {

// The runtime names only modules and semaphores in ASCII, or none at all.
bool ToAnsi(LPCWSTR wide, char* narrow, int size) {
  return WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, size, nullptr, nullptr) != 0;
}

HMODULE WINAPI AnsiGetModuleHandle(LPCWSTR name) {
  char narrow[MAX_PATH];
  if (name == nullptr) return GetModuleHandleA(nullptr);
  return ToAnsi(name, narrow, MAX_PATH) ? GetModuleHandleA(narrow) : nullptr;
}

HANDLE WINAPI AnsiCreateSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                  LPCWSTR name) {
  char narrow[MAX_PATH];
  if (name == nullptr) return CreateSemaphoreA(attributes, initial, maximum, nullptr);
  return ToAnsi(name, narrow, MAX_PATH) ? CreateSemaphoreA(attributes, initial, maximum, narrow)
                                        : nullptr;
}

}  // namespace

// The slots under the names the import library would give them (stdcall, argument bytes).
extern "C" {
extern void* const getModuleHandleSlot asm("__imp__GetModuleHandleW@4");
extern void* const createSemaphoreSlot asm("__imp__CreateSemaphoreW@16");
void* const getModuleHandleSlot = reinterpret_cast<void*>(&AnsiGetModuleHandle);
void* const createSemaphoreSlot = reinterpret_cast<void*>(&AnsiCreateSemaphore);
}
