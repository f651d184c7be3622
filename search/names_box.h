// The wanted names come from the names box, one per line. Before a search
// the box is rebuilt without blank lines, and the NameList is the rebuilt
// box split into its lines: the names exactly as typed, spaces kept.
#pragma once

#include <string_view>

#include "platform/text.h"

namespace tarnwell {

using NameList = TextList;

struct RebuiltNamesBox {
  // The kept lines, each followed by CR LF, in order: what is appended to the
  // emptied box, one piece at a time.
  TextList appended;
  // The box's content once they are appended.
  Text content;
  // That content split at CR LF.
  NameList names;
};

// Splits the box's content at CR LF and keeps the lines that hold something
// besides half-width and full-width spaces (a tab counts as something).
RebuiltNamesBox RebuildNamesBox(std::string_view content);

}  // namespace tarnwell
