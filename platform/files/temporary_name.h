// Names for temporary files placed beside the file they will replace, so that
// the final rename stays within one folder and one volume.
#pragma once

#include <functional>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

// ".~" followed by 16 hex digits and ".tmp": a different suffix on every call
// within a process, and unlikely to meet another process's. Callers create
// the file exclusively and ask again when the name is taken.
Text TemporarySuffix();

// What one attempt to create the temporary file came to.
enum class TemporaryCreation {
  Created,    // the file is there, made and filled
  NameTaken,  // another file has that name: try another
  Failed,     // it could not be made; nothing of it is left behind
};

// Creates a file beside `path` under the name path + TemporarySuffix() with
// `create`, asking again while the name is taken (at most 100 names). Gives
// the name created, or the empty text when creating failed or no name was free.
Text CreateTemporaryBeside(std::string_view path, const std::function<TemporaryCreation(const Text&)>& create);

}  // namespace tarnwell
