// Writes the synthetic benchmark tree and, optionally, a list of wanted names.
// Usage: make_tree ROOT [folders] [files] [seed] [--names FILE COUNT SHARE]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/synthetic_tree.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s ROOT [folders] [files] [seed] [--names FILE COUNT SHARE]\n", argv[0]);
    return 2;
  }
  tarnwell::bench::TreeShape shape;
  int positional = 0;
  std::string namesFile;
  int nameCount = 0;
  double share = 0.5;
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--names" && i + 3 < argc) {
      namesFile = argv[i + 1];
      nameCount = std::atoi(argv[i + 2]);
      share = std::atof(argv[i + 3]);
      i += 3;
    } else if (positional == 0) {
      shape.folders = std::atoi(argv[i]), ++positional;
    } else if (positional == 1) {
      shape.files = std::atoi(argv[i]), ++positional;
    } else {
      shape.seed = static_cast<std::uint32_t>(std::strtoul(argv[i], nullptr, 10));
    }
  }
  auto tree = tarnwell::bench::MakeTree(shape);
  if (!tarnwell::bench::WriteTree(tree, argv[1])) {
    std::fprintf(stderr, "could not write the tree below %s\n", argv[1]);
    return 1;
  }
  if (!namesFile.empty()) {
    std::ofstream out(namesFile, std::ios::binary);
    for (const auto& name : tarnwell::bench::MakeNames(tree, nameCount, share, shape.seed + 1)) out << name << "\n";
  }
  std::printf("%zu folders, %zu files below %s\n", tree.folders.size(), tree.files.size(), argv[1]);
  return 0;
}
