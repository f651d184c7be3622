// The running program's own file.
#pragma once

#include <string>

namespace tarnwell {

// The full path of the program's file, however long; empty when the system
// cannot tell.
std::wstring ProgramFilePath();

}  // namespace tarnwell
