// A line for the developer, never shown to the user: faults the program
// survives but must not hide (a search walk that ended by an exception) go
// to the debugger's output on Windows and to standard error elsewhere.
#pragma once

#include <string_view>

namespace tarnwell {

// Any thread. `line` is GBK text without a line break.
void WriteDebugLine(std::string_view line);

}  // namespace tarnwell
