#include <windows.h>

#include <thread>

#include "bench/machine.h"

namespace tarnwell::bench {

std::string MachineLabel() {
  std::string system = "Windows";
  // Wine says which Wine it is through an export of its ntdll.
  using WineVersion = const char*(__cdecl*)();
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    auto version = reinterpret_cast<WineVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
    if (version != nullptr) system = std::string("Wine ") + version();
  }
  std::string cpu = "unknown processor";
  char name[256] = {};
  DWORD size = sizeof name;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "ProcessorNameString",
                   RRF_RT_REG_SZ, nullptr, name, &size) == ERROR_SUCCESS) {
    cpu = name;
  }
  return system + " (Windows build), " + cpu + ", " + std::to_string(std::thread::hardware_concurrency()) + " cores";
}

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

std::optional<CommandTime> TimeCommand(const std::vector<std::string>&) { return std::nullopt; }

std::optional<std::string> DropFileCache() { return "the Windows build does not drop the system's file cache"; }

std::optional<std::string> FindProgram(const std::vector<std::string>&) { return std::nullopt; }

}  // namespace tarnwell::bench
