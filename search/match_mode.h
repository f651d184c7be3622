// How a wanted name meets a file name: Exact when the file's name is the
// wanted name with or without an extension, Fuzzy when the wanted name occurs
// anywhere in the file's name.
#pragma once

namespace tarnwell {

enum class MatchMode { Exact, Fuzzy };

}  // namespace tarnwell
