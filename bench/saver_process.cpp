// The whole saver process, as the system would start it (lumora.scr /s), measured from
// outside: its CPU time across some seconds of the scene phase, as a share of one core.
#include <string>

#include "bench/bench_clock.h"
#include "bench/host_kernel_times.h"
#include "bench/parts.h"
#include "bench/report.h"

namespace {

constexpr DWORD kSettleMs = 3000;  // start-up and the opening dim on one monitor take less
constexpr double kOpeningLimitMs = 60000;
constexpr double kTargetPercent = 3.0;

// The saver's window in the given process, or null.
HWND FindSaverWindow(DWORD processId) {
  for (HWND window = FindWindowA("WindowsScreenSaverClass", nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, "WindowsScreenSaverClass", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) return window;
  }
  return nullptr;
}

// A path from the Unix side is reached through Wine's Z: drive.
std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// The opening dim on a large desk, or under a slow system, takes longer than the settle: it is
// over once the saver stops working flat out, under half a core across half a second.
void WaitForTheScenePhase(HANDLE saver, int hostPid) {
  auto cpuMs = [&] { return hostPid != 0 ? HostProcessCpuMs(hostPid) : ProcessCpuMs(saver); };
  const double deadline = WallMs() + kOpeningLimitMs;
  for (double before = cpuMs(); WallMs() < deadline;) {
    Sleep(500);
    const double now = cpuMs();
    if (now - before < 250) return;
    before = now;
  }
  PrintNote("the saver still worked flat out after a minute");
}

}  // namespace

int MeasureSaverProcess(const char* saverPath, int seconds) {
  PrintHeading(Format("The saver process (lumora.scr /s), %d s in the scene phase, on %dx%d",
                      seconds, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_CYVIRTUALSCREEN))
                   .c_str());
  const std::string path = WindowsPath(saverPath);
  std::string commandLine = "\"" + path + "\" /s";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION saver = {};
  if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &saver)) {
    PrintNote("could not start " + path);
    return 1;
  }
  HWND window = nullptr;
  const double deadline = WallMs() + 20000;
  while (window == nullptr && WallMs() < deadline &&
         WaitForSingleObject(saver.hProcess, 50) == WAIT_TIMEOUT) {
    window = FindSaverWindow(saver.dwProcessId);
  }
  int result = 1;
  if (window == nullptr) {
    PrintNote("the saver's window did not appear");
  } else {
    Sleep(kSettleMs);
    const int hostPid = FindHostProcess(path);
    WaitForTheScenePhase(saver.hProcess, hostPid);
    const double cpuStart = ProcessCpuMs(saver.hProcess);
    const double hostStart = hostPid != 0 ? HostProcessCpuMs(hostPid) : -1;
    const double wallStart = WallMs();
    Sleep(DWORD(seconds) * 1000);
    const double cpu = ProcessCpuMs(saver.hProcess) - cpuStart, wall = WallMs() - wallStart;
    const double hostEnd = hostPid != 0 ? HostProcessCpuMs(hostPid) : -1;
    const bool stillRunning = WaitForSingleObject(saver.hProcess, 0) == WAIT_TIMEOUT;
    // Zero from GetProcessTimes over whole seconds of a running saver means the system keeps no
    // account of other processes (Wine); the kernel's own account is then the figure.
    const bool fromHost = cpu <= 0 && hostStart >= 0 && hostEnd >= 0;
    const double used = fromHost ? hostEnd - hostStart : cpu;
    const double percent = 100.0 * used / wall;
    PrintFigure("saver process CPU, share of one core", Format("%.2f %%", percent), "< 3 %",
                Judge(stillRunning && percent < kTargetPercent));
    PrintNote(Format("%.0f ms CPU over %.0f ms wall, from %s%s", used, wall,
                     fromHost ? "the Linux kernel's account of the process (GetProcessTimes "
                                "gave 0 for another process)"
                              : "GetProcessTimes",
                     stillRunning ? "" : "; the saver ended early"));
    // What the saver holds for the screen it covers: its surfaces, and the opening's two images
    // until the dim is over, which the peak still shows.
    if (hostPid != 0) {
      PrintFigure("saver memory, resident now and at its peak",
                  Format("%.1f MiB, %.1f MiB", HostProcessMemoryKb(hostPid, "VmRSS") / 1024.0,
                         HostProcessMemoryKb(hostPid, "VmHWM") / 1024.0));
    }
    result = stillRunning ? 0 : 1;
    // The close a key press would ask for.
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(saver.hProcess, 10000) == WAIT_TIMEOUT) {
    PrintNote("the saver did not end on WM_CLOSE; terminated");
    TerminateProcess(saver.hProcess, 99);
    WaitForSingleObject(saver.hProcess, 5000);
  }
  CloseHandle(saver.hThread);
  CloseHandle(saver.hProcess);
  return result;
}
