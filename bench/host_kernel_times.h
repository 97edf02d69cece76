// Wine answers GetProcessTimes with zeros for any process but the caller's own. There the
// Linux kernel's account of the process, read through Wine's Z: drive, stands in for it.
#pragma once
#include <string>

// The Linux process id of the Wine process whose command line starts with windowsPath and
// that runs in this program's own Wine prefix; 0 if there is none or not exactly one.
int FindHostProcess(const std::string& windowsPath);
// User plus system CPU time of a Linux process in ms, from /proc; negative when unreadable.
double HostProcessCpuMs(int hostPid);
// A memory figure of a Linux process in KiB ("VmRSS", "VmHWM"), from /proc; negative when
// unreadable.
long HostProcessMemoryKb(int hostPid, const std::string& field);

// The pieces that read what /proc gives, usable on their own.
// The value of one variable in a NUL-separated environment block, or "" when it is not there.
std::string EnvironmentValue(const std::string& block, const std::string& name);
// The first argument, the program, of a NUL-separated /proc/PID/cmdline.
std::string ProgramOf(const std::string& commandLine);
// User plus system clock ticks from the text of /proc/PID/stat; negative when it is malformed.
double StatCpuTicks(const std::string& stat);
// One "Name:  N kB" line's number from the text of /proc/PID/status; negative when absent.
long StatusKb(const std::string& status, const std::string& field);
