#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "bench/machine.h"

extern char** environ;

namespace tarnwell::bench {

std::string MachineLabel() {
  std::string cpu = "unknown processor";
  std::ifstream info("/proc/cpuinfo");
  for (std::string line; std::getline(info, line);) {
    if (line.rfind("model name", 0) == 0) {
      cpu = line.substr(line.find(':') + 2);
      break;
    }
  }
  utsname system{};
  uname(&system);
  return std::string(system.sysname) + " " + system.release + " (native), " + cpu + ", " +
         std::to_string(std::thread::hardware_concurrency()) + " cores";
}

namespace {

double CpuSecondsOf(int who) {
  rusage usage{};
  getrusage(who, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

double ProcessCpuSeconds() { return CpuSecondsOf(RUSAGE_SELF); }

std::optional<CommandTime> TimeCommand(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  double childCpu = CpuSecondsOf(RUSAGE_CHILDREN);
  auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return std::nullopt;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return std::nullopt;
  auto stop = std::chrono::steady_clock::now();
  // find and fd exit 0 whether or not anything matched.
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return CommandTime{std::chrono::duration<double>(stop - start).count(), CpuSecondsOf(RUSAGE_CHILDREN) - childCpu};
}

std::optional<std::string> DropFileCache() {
  sync();
  int file = open("/proc/sys/vm/drop_caches", O_WRONLY);
  if (file < 0) return std::string("cannot open /proc/sys/vm/drop_caches: ") + std::strerror(errno);
  bool written = write(file, "3\n", 2) == 2;
  int error = errno;
  close(file);
  if (!written) return std::string("cannot write /proc/sys/vm/drop_caches: ") + std::strerror(error);
  return std::nullopt;
}

std::optional<std::string> FindProgram(const std::vector<std::string>& names) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  for (const std::string& name : names) {
    std::string folders = path;
    std::size_t start = 0;
    while (start <= folders.size()) {
      std::size_t end = folders.find(':', start);
      if (end == std::string::npos) end = folders.size();
      std::string candidate = folders.substr(start, end - start) + "/" + name;
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
      start = end + 1;
    }
  }
  return std::nullopt;
}

}  // namespace tarnwell::bench
