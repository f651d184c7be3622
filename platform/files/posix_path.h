// Paths on POSIX systems (the native tests and benchmarks): every file
// function there names a file by the same bytes for the same program path.
#pragma once

#include <string>
#include <string_view>

namespace tarnwell {

// The program's path (its text, "\" as separator) as a UTF-8 path with "/".
std::string PosixPathOf(std::string_view path);

}  // namespace tarnwell
