// A deterministic synthetic folder tree that looks like what users search:
// photo numbers, words, Chinese names, mixed case, several extensions.
// The same seed and sizes always give the same tree and the same name lists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwell::bench {

struct TreeShape {
  std::uint32_t seed = 1;
  int folders = 10000;
  int files = 200000;
  int minDepth = 3;
  int maxDepth = 6;
};

struct SyntheticTree {
  std::vector<std::string> folders;  // relative paths, "/" separated, UTF-8, parents first
  std::vector<std::string> files;    // relative paths, "/" separated, UTF-8
};

SyntheticTree MakeTree(const TreeShape& shape);

// `count` wanted names (UTF-8), roughly `presentShare` of them the stem of a
// file of the tree, the others names that no file holds.
std::vector<std::string> MakeNames(const SyntheticTree& tree, int count, double presentShare, std::uint32_t seed);

// Writes the tree below `root` (created if missing); files hold a few bytes.
bool WriteTree(const SyntheticTree& tree, const std::string& root);

}  // namespace tarnwell::bench
