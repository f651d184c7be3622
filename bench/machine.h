// What the benchmark knows about the machine and the tools around it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnwell::bench {

// A one-line description of the system the benchmark runs on: the operating
// system (or Wine and its version), the processor and the number of cores.
std::string MachineLabel();

// Runs an external program with its output discarded and returns its wall
// time in seconds, or nothing when it could not be run or failed. Only where
// the external tools exist (natively); elsewhere always nothing.
std::optional<double> TimeCommand(const std::vector<std::string>& command);

// The path of the first of `names` found on PATH, or nothing.
std::optional<std::string> FindProgram(const std::vector<std::string>& names);

}  // namespace tarnwell::bench
