// The saver's entry point: records the module, probes the Windows family and runs the mode
// that the switch in the argument text selects. Its result is the process's exit value.
#include <windows.h>

#include "host/command_line.h"
#include "host/host_state.h"

// The runtime's argument pointer is not used: see ArgumentText.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  moduleInstance = instance;
  isWin9x = ProbeWin9x();
  return RunCommandLine(ArgumentText(GetCommandLineA()), SystemHostActions());
}
