// The wanted names come from the names box, one per line. Before a search
// the box is rebuilt without blank lines, and the NameList is the rebuilt
// box, as the box then holds it, split into its lines: the names exactly as
// typed, spaces kept.
#pragma once

#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

using NameList = TextList;

// Splits the box's content at CR LF and keeps the lines that hold something
// besides half-width and full-width spaces (a tab counts as something): the
// box's new content is those lines, each followed by CR LF, as typed.
Text RebuildNamesBox(std::string_view content);

}  // namespace tarnwell
