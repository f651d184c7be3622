// The program's own folder, as the process's current directory.
#pragma once

namespace tarnwell {

// Makes the folder that holds the program file the current directory, so
// that files beside the program are found by their bare names.
void EnterProgramDirectory();

}  // namespace tarnwell
