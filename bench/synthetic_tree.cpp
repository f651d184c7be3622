#include "bench/synthetic_tree.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <unordered_set>
#include <utility>

namespace tarnwell::bench {
namespace {

const char* const kWords[] = {"report", "Invoice", "photo", "SCAN", "contract", "budget", "Holiday", "draft",
                              "minutes", "readme", "Backup", "notes", "plan", "Summary", "letter", "archive"};
const char* const kChinese[] = {"照片", "合同", "报告", "发票", "资料", "会议纪要", "预算", "备份", "扫描件", "档案"};
const char* const kExtensions[] = {".jpg", ".JPG", ".png", ".doc", ".docx", ".pdf", ".txt", ".xls", ".tar.gz", ""};

template <class T, std::size_t N>
const T& Pick(std::mt19937& random, const T (&items)[N]) {
  return items[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

std::string Digits(std::mt19937& random, int count) {
  std::string digits;
  std::uniform_int_distribution<int> digit(0, 9);
  digits.push_back(static_cast<char>('1' + digit(random) % 9));
  while (static_cast<int>(digits.size()) < count) digits.push_back(static_cast<char>('0' + digit(random)));
  return digits;
}

std::string FileStem(std::mt19937& random) {
  switch (std::uniform_int_distribution<int>(0, 9)(random)) {
    case 0: case 1: case 2: case 3: case 4:
      return Digits(random, 18);
    case 5: case 6:
      return std::string(Pick(random, kWords)) + "_" + Digits(random, 4);
    case 7: case 8:
      return std::string(Pick(random, kChinese)) + Digits(random, 3);
    default:
      return std::string(Pick(random, kWords)) + "-" + Pick(random, kChinese);
  }
}

std::string FolderName(std::mt19937& random, int index) {
  if (index % 3 == 0) return std::string(Pick(random, kChinese)) + std::to_string(index);
  return std::string(Pick(random, kWords)) + std::to_string(index);
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string StemOf(const std::string& path) {
  std::string name = path.substr(path.rfind('/') + 1);
  return name.substr(0, name.find('.'));
}

}  // namespace

SyntheticTree MakeTree(const TreeShape& shape) {
  std::mt19937 random(shape.seed);
  SyntheticTree tree;
  // Chains of folders from the root, each 3 to 6 deep; later chains branch
  // off earlier folders, so the tree has both depth and width.
  std::vector<int> depthOf;
  while (static_cast<int>(tree.folders.size()) < shape.folders) {
    int depth = std::uniform_int_distribution<int>(shape.minDepth, shape.maxDepth)(random);
    std::string parent;
    int parentDepth = 0;
    if (!tree.folders.empty() && random() % 4 != 0) {
      int at = std::uniform_int_distribution<int>(0, static_cast<int>(tree.folders.size()) - 1)(random);
      if (depthOf[at] < depth) {
        parent = tree.folders[at];
        parentDepth = depthOf[at];
      }
    }
    for (int level = parentDepth + 1; level <= depth && static_cast<int>(tree.folders.size()) < shape.folders;
         ++level) {
      parent = parent.empty() ? FolderName(random, static_cast<int>(tree.folders.size()))
                              : parent + "/" + FolderName(random, static_cast<int>(tree.folders.size()));
      tree.folders.push_back(parent);
      depthOf.push_back(level);
    }
  }
  std::uniform_int_distribution<int> folderOf(-1, static_cast<int>(tree.folders.size()) - 1);
  // A path drawn twice is drawn again, so the tree holds exactly `files`
  // files; paths are compared ignoring ASCII case, as Windows compares them.
  std::unordered_set<std::string> taken;
  while (static_cast<int>(tree.files.size()) < shape.files) {
    int folder = folderOf(random);
    std::string name = FileStem(random) + Pick(random, kExtensions);
    std::string path = folder < 0 ? name : tree.folders[folder] + "/" + name;
    if (taken.insert(AsciiLower(path)).second) tree.files.push_back(std::move(path));
  }
  return tree;
}

std::vector<std::string> MakeNames(const SyntheticTree& tree, int count, double presentShare, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::bernoulli_distribution present(presentShare);
  std::uniform_int_distribution<std::size_t> fileOf(0, tree.files.empty() ? 0 : tree.files.size() - 1);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    if (!tree.files.empty() && present(random)) {
      names.push_back(StemOf(tree.files[fileOf(random)]));
    } else {
      // 18 random digits after a 9: as good as certain to be no stem of the tree.
      std::string absent = "9";
      absent += Digits(random, 17);
      names.push_back(std::move(absent));
    }
  }
  return names;
}

bool WriteTree(const SyntheticTree& tree, const std::string& root) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::create_directories(root, error);
  for (const auto& folder : tree.folders) {
    fs::create_directories(fs::path(root) / fs::u8path(folder), error);
    if (error) return false;
  }
  for (const auto& file : tree.files) {
    std::ofstream out(fs::path(root) / fs::u8path(file), std::ios::binary);
    out << "x";
    if (!out) return false;
  }
  return true;
}

}  // namespace tarnwell::bench
