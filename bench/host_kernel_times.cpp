// Finding a Wine process on the Linux side and reading its CPU time from /proc.
#include "bench/host_kernel_times.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// Linux reports process times in clock ticks of 1/100 s (USER_HZ) on every x86 system.
constexpr double kMsPerTick = 10.0;

std::string ReadHostFile(const std::string& path) {
  std::ifstream file("Z:" + path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

std::string EnvironmentValue(const std::string& block, const std::string& name) {
  std::istringstream entries(block);
  std::string entry;
  while (std::getline(entries, entry, '\0')) {
    if (entry.compare(0, name.size() + 1, name + "=") == 0) return entry.substr(name.size() + 1);
  }
  return "";
}

std::string ProgramOf(const std::string& commandLine) {
  return commandLine.substr(0, commandLine.find('\0'));
}

int FindHostProcess(const std::string& windowsPath) {
  const std::string prefix = EnvironmentValue(ReadHostFile("/proc/self/environ"), "WINEPREFIX");
  if (prefix.empty()) return 0;
  int found = 0, matches = 0;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    const int pid = std::atoi(entry.cFileName);
    if (pid <= 0) continue;
    const std::string folder = "/proc/" + std::to_string(pid);
    if (ProgramOf(ReadHostFile(folder + "/cmdline")) != windowsPath) continue;
    if (EnvironmentValue(ReadHostFile(folder + "/environ"), "WINEPREFIX") != prefix) continue;
    found = pid;
    ++matches;
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return matches == 1 ? found : 0;
}

double StatCpuTicks(const std::string& stat) {
  // The command name is in parentheses and may itself hold spaces and parentheses, so the
  // fields are counted from the last closing one: state is field 3, utime 14 and stime 15.
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(stat.substr(close + 1));
  std::string field;
  double utime = -1, stime = -1;
  for (int number = 3; fields >> field && number <= 15; ++number) {
    if (number == 14) utime = std::atof(field.c_str());
    if (number == 15) stime = std::atof(field.c_str());
  }
  if (utime < 0 || stime < 0) return -1;
  return utime + stime;
}

double HostProcessCpuMs(int hostPid) {
  const double ticks = StatCpuTicks(ReadHostFile("/proc/" + std::to_string(hostPid) + "/stat"));
  return ticks < 0 ? -1 : ticks * kMsPerTick;
}

long StatusKb(const std::string& status, const std::string& field) {
  std::istringstream lines(status);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.compare(0, field.size() + 1, field + ":") == 0) {
      return std::atol(line.c_str() + field.size() + 1);
    }
  }
  return -1;
}

long HostProcessMemoryKb(int hostPid, const std::string& field) {
  return StatusKb(ReadHostFile("/proc/" + std::to_string(hostPid) + "/status"), field);
}
