#include "bench/synthetic_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace tarnwell::bench {
namespace {

TreeShape SmallShape(std::uint32_t seed) {
  TreeShape shape;
  shape.seed = seed;
  shape.folders = 300;
  shape.files = 4000;
  return shape;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

int Depth(const std::string& path) { return static_cast<int>(std::count(path.begin(), path.end(), '/')) + 1; }

TEST(SyntheticTree, SameSeedGivesTheSameTreeAndNames) {
  SyntheticTree first = MakeTree(SmallShape(7));
  SyntheticTree second = MakeTree(SmallShape(7));
  EXPECT_EQ(first.folders, second.folders);
  EXPECT_EQ(first.files, second.files);
  EXPECT_EQ(MakeNames(first, 200, 0.5, 8), MakeNames(second, 200, 0.5, 8));
  EXPECT_NE(first.files, MakeTree(SmallShape(8)).files);
}

TEST(SyntheticTree, HoldsExactlyTheAskedSizesWithoutPathsThatWindowsTakesForOne) {
  SyntheticTree tree = MakeTree(SmallShape(3));
  EXPECT_EQ(tree.folders.size(), 300u);
  ASSERT_EQ(tree.files.size(), 4000u);
  std::set<std::string> seen;
  for (const auto& file : tree.files) EXPECT_TRUE(seen.insert(Lower(file)).second) << file;
}

TEST(SyntheticTree, FoldersComeAfterTheirParentsAndNestUpToSixDeep) {
  SyntheticTree tree = MakeTree(SmallShape(5));
  std::set<std::string> made;
  int deepest = 0;
  for (const auto& folder : tree.folders) {
    std::size_t slash = folder.rfind('/');
    if (slash != std::string::npos) {
      EXPECT_TRUE(made.count(folder.substr(0, slash))) << folder;
    }
    made.insert(folder);
    deepest = std::max(deepest, Depth(folder));
  }
  EXPECT_LE(deepest, 6);
  EXPECT_GE(deepest, 3);
}

TEST(SyntheticTree, ShorterNameListsAreTheFirstNamesOfLongerOnes) {
  SyntheticTree tree = MakeTree(SmallShape(2));
  auto hundred = MakeNames(tree, 100, 0.5, 3);
  auto ten = MakeNames(tree, 10, 0.5, 3);
  EXPECT_TRUE(std::equal(ten.begin(), ten.end(), hundred.begin()));
}

TEST(SyntheticTree, PresentNamesAreStemsOfFilesAndAbsentOnesAreNot) {
  SyntheticTree tree = MakeTree(SmallShape(4));
  std::set<std::string> stems;
  for (const auto& file : tree.files) {
    std::string name = file.substr(file.rfind('/') + 1);
    stems.insert(name.substr(0, name.find('.')));
  }
  auto all = MakeNames(tree, 100, 1.0, 9);
  for (const auto& name : all) EXPECT_TRUE(stems.count(name)) << name;
  auto none = MakeNames(tree, 100, 0.0, 9);
  for (const auto& name : none) EXPECT_FALSE(stems.count(name)) << name;
}

}  // namespace
}  // namespace tarnwell::bench
