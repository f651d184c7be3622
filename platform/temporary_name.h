// Names for temporary files placed beside the file they will replace, so that
// the final rename stays within one folder and one volume.
#pragma once

#include "platform/text.h"

namespace tarnwell {

// ".~" followed by 16 hex digits and ".tmp": a different suffix on every call
// within a process, and unlikely to meet another process's. Callers create
// the file exclusively and ask again when the name is taken.
Text TemporarySuffix();

}  // namespace tarnwell
