// What the benchmark knows about the machine and the tools around it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnwell::bench {

// A one-line description of the system the benchmark runs on: the operating
// system (or Wine and its version), the processor and the number of cores.
std::string MachineLabel();

// Processor time (user and system) this process has used so far, all its
// threads together, in seconds.
double ProcessCpuSeconds();

struct CommandTime {
  double seconds = 0;     // wall time
  double cpuSeconds = 0;  // processor time of the program, all its threads
};

// Runs an external program with its output discarded and returns its times,
// or nothing when it could not be run or failed. Only where the external
// tools exist (natively); elsewhere always nothing.
std::optional<CommandTime> TimeCommand(const std::vector<std::string>& command);

// Empties the system's page cache, so that the next reads come from the disk
// (natively, as root: sync, then 3 into /proc/sys/vm/drop_caches). Gives
// nothing when done, or why it could not be done.
std::optional<std::string> DropFileCache();

// The path of the first of `names` found on PATH, or nothing.
std::optional<std::string> FindProgram(const std::vector<std::string>& names);

}  // namespace tarnwell::bench
