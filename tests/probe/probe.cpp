// lumora_probe: looks at a running full-screen saver from outside, for the odd-screen and
// long-run scripts. It finds the saver by its window class.
//   lumora_probe stats        one line: GDI objects (counted in its handle table, and as
//                             GetGuiResources says), USER objects, handles and memory
//   lumora_probe clock SCR    reads the clock off the screen with the digit pictures of SCR and
//                             compares it with the local time; exit 0 when they agree,
//                             1 when not, 2 when no clock is found, 3 when it is partly
//                             off the screen
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "e2e/clock_reader.h"
#include "e2e/screen_image.h"

namespace {

DWORD SaverProcessId() {
  HWND window = FindWindowA("WindowsScreenSaverClass", nullptr);
  DWORD id = 0;
  if (window != nullptr) GetWindowThreadProcessId(window, &id);
  return id;
}

// Wine answers GetGuiResources with 0. It keeps each process's GDI handle table in the
// process's own memory, where the process environment block points at it, so the objects in use
// can be counted from outside: 16384 entries of 24 bytes, the type byte at offset 14 (0 when
// the entry is free), the stock flag in the top bit of byte 12. Returns -1 where that fails.
int CountGdiTableEntries(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic = {};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) !=
          0 ||
      basic.PebBaseAddress == nullptr) {
    return -1;
  }
  const auto* peb = reinterpret_cast<const uint8_t*>(basic.PebBaseAddress);
  constexpr size_t kTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
  uint8_t* table = nullptr;
  if (!ReadProcessMemory(process, peb + kTableOffset, &table, sizeof(table), nullptr) ||
      table == nullptr) {
    return -1;
  }
  constexpr size_t kEntries = 16384, kEntrySize = 24;
  std::vector<uint8_t> entries(kEntries * kEntrySize);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr)) return -1;
  int used = 0;
  for (size_t i = 0; i < kEntries; ++i) {
    const uint8_t* entry = &entries[i * kEntrySize];
    if (entry[14] != 0 && (entry[12] & 0x80) == 0) ++used;
  }
  return used;
}

int PrintStats() {
  const DWORD id = SaverProcessId();
  if (id == 0) {
    std::printf("no saver window\n");
    return 1;
  }
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
  if (process == nullptr) {
    std::printf("cannot open process %lu\n", id);
    return 1;
  }
  DWORD handles = 0;
  const BOOL haveHandles = GetProcessHandleCount(process, &handles);
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof(memory);
  const BOOL haveMemory = GetProcessMemoryInfo(
      process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  std::printf(
      "gdiTable=%d gdi=%lu user=%lu handles=%s workingSetKB=%s peakWorkingSetKB=%s privateKB=%s\n",
      CountGdiTableEntries(process), GetGuiResources(process, GR_GDIOBJECTS),
      GetGuiResources(process, GR_USEROBJECTS), haveHandles ? std::to_string(handles).c_str() : "?",
      haveMemory ? std::to_string(memory.WorkingSetSize / 1024).c_str() : "?",
      haveMemory ? std::to_string(memory.PeakWorkingSetSize / 1024).c_str() : "?",
      haveMemory ? std::to_string(memory.PrivateUsage / 1024).c_str() : "?");
  CloseHandle(process);
  return 0;
}

int SecondOfDay(const SYSTEMTIME& t) {
  return (t.wHour * 60 + t.wMinute) * 60 + t.wSecond;
}

int CheckClock(const char* saverPath) {
  ClockPictures pictures;
  if (!LoadClockPictures(saverPath, pictures)) {
    std::printf("cannot read the clock pictures of %s\n", saverPath);
    return 2;
  }
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  const ScreenImage screen = CaptureScreenImage();
  GetLocalTime(&after);
  const ClockReading reading = ReadClock(screen, pictures);
  if (!reading.found) {
    int x = 0, y = 0;
    if (FindClockBlock(screen, pictures, &x, &y)) {
      std::printf("clock block at %d,%d, its digits not all readable\n", x, y);
      return 3;
    }
    std::printf("clock not found on the %dx%d screen\n", screen.width, screen.height);
    return 2;
  }
  // The picture on the screen is a frame or two older than the capture; a loaded machine may
  // hold a frame back longer, so a lag of up to 2 s counts as right.
  const int shown = reading.SecondOfDay();
  const int lag = (SecondOfDay(before) - shown + 86400) % 86400;
  const bool agrees = lag <= 2 || shown == SecondOfDay(after);
  std::printf("clock shows %02d:%02d:%02d at %d,%d; local time %02d:%02d:%02d.%03d; %s\n",
              reading.Hour(), reading.Minute(), reading.Second(), reading.blockX, reading.blockY,
              before.wHour, before.wMinute, before.wSecond, before.wMilliseconds,
              agrees ? "agrees" : "DISAGREES");
  return agrees ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "stats") == 0) return PrintStats();
  if (argc == 3 && std::strcmp(argv[1], "clock") == 0) return CheckClock(argv[2]);
  std::fprintf(stderr, "usage: lumora_probe stats | clock SAVER.scr\n");
  return 2;
}
