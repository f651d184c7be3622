#include "results/same_name.h"

namespace tarnwell {
namespace {

// Whether `path` lies in `root` or below it: root, then a "\" (a root given
// with its own trailing "\", as "D:\", is followed by another one).
bool Below(const Text& path, const Text& root) {
  if (root.empty() || path.size() <= root.size()) return false;
  if (path.compare(0, root.size(), root) != 0) return false;
  // The root must end at a character's end; "\" never is a trail byte's
  // first half, so the next byte being "\" settles it.
  return path[root.size()] == '\\';
}

Text WithoutSeparatorsAtEnds(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  // A "\" at the end that is a character of its own.
  while (!path.empty() && FindLastText(path, "\\", false) == static_cast<int>(path.size())) path.remove_suffix(1);
  return Text(path);
}

// A drive's "X:" becomes "X"; "\\server\share" becomes "server\share".
Text DriveAsFolder(const Text& path) {
  if (path.size() >= 2 && path[1] == ':') return WithoutSeparatorsAtEnds(Concat(path.substr(0, 1), path.substr(2)));
  return WithoutSeparatorsAtEnds(path);
}

}  // namespace

Text NumberedName(const Text& name, int number) {
  const Text suffix = Concat(" (", NumberToText(number), ")");
  const int dot = FindLastText(name, ".", false);
  if (dot <= 1) return Concat(name, suffix);
  const std::size_t cut = static_cast<std::size_t>(dot) - 1;
  return Concat(name.substr(0, cut), suffix, name.substr(cut));
}

std::optional<Text> FirstFreeNumberedPath(const Text& folder, const Text& name,
                                          const std::function<bool(const Text&)>& free) {
  for (int number = 2; number <= 9999; ++number) {
    Text path = Concat(folder, NumberedName(name, number));
    if (free(path)) return path;
  }
  return std::nullopt;
}

Text FolderBelowRoot(const Text& rowFolder, const SearchRoots& roots) {
  for (const Text& root : roots.roots) {
    if (TextEquals(rowFolder, root)) return roots.wholeComputer ? DriveAsFolder(root) : Text();
    if (!Below(rowFolder, root)) continue;
    const Text below = WithoutSeparatorsAtEnds(std::string_view(rowFolder).substr(root.size()));
    if (!roots.wholeComputer) return below;
    const Text drive = DriveAsFolder(root);
    return below.empty() ? drive : Concat(drive, "\\", below);
  }
  return DriveAsFolder(rowFolder);
}

}  // namespace tarnwell
