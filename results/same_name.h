// What copy and move do when the target already holds a file of the same
// name, and where each file goes when the folders below the search's root
// are kept.
#pragma once

#include <functional>
#include <optional>

#include "platform/text/text.h"

namespace tarnwell {

enum class SameNameRule {
  Replace,  // the file in the target is replaced
  Skip,     // the file is left where it is
  Rename,   // it goes in as "name (2).ext", "name (3).ext", ...
};

// "name (n).ext": the number before the last "." of the name; a name without
// one, or whose only "." is its first character (".profile"), gets it at its end.
Text NumberedName(const Text& name, int number);

// folder (ending in "\") + the first NumberedName from 2 on that `free` says
// is free; nothing when none up to 9999 is.
std::optional<Text> FirstFreeNumberedPath(const Text& folder, const Text& name,
                                          const std::function<bool(const Text&)>& free);

// The roots a search ran with, to place each row's folder below a target.
struct SearchRoots {
  TextList roots;              // as the search walked them ("C:", "D:\photos", "D:\")
  bool wholeComputer = false;  // the roots are drives: each keeps its letter as a first folder
};

// The path of the row's folder below the root it was found under, without a
// "\" at either end; empty for a file right in its root. A whole-computer
// search's rows keep the drive letter as their first folder ("C\Users\x").
// A folder below no root of the search keeps its whole path the same way,
// its drive letter ("X:") or its share's server ("\\server") as a first folder.
Text FolderBelowRoot(const Text& rowFolder, const SearchRoots& roots);

}  // namespace tarnwell
