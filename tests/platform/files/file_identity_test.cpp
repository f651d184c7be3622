// When two identified files count as one: the 128-bit id where the volume
// gives one, else the 64-bit index, else the normalised path; a zero id never
// joins two files.
#include "platform/files/file_identity.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

FileId Id(std::uint8_t high, std::uint8_t low) {
  FileId id{};
  id[15] = high;
  id[0] = low;
  return id;
}

// Identifies a file; `pathAsked` tells whether the path was needed.
std::optional<FileIdentity> Identify(std::uint64_t volume, std::optional<FileId> id128, std::uint64_t index64,
                                     std::wstring path, bool* pathAsked = nullptr) {
  if (pathAsked) *pathAsked = false;
  return MakeFileIdentity(volume, id128, index64, [&] {
    if (pathAsked) *pathAsked = true;
    return path;
  });
}

TEST(FileIdentity, IdsDecideWhereTheVolumeGivesThemPathsOnlyWhereItGivesNone) {
  bool pathAsked = true;
  // The 128-bit id decides, whatever the 64-bit index (on ReFS it repeats)
  // or the spelling of the path; the path is not even asked for.
  auto a = Identify(7, Id(1, 2), 5, L"C:\\A.TXT", &pathAsked);
  EXPECT_FALSE(pathAsked);
  EXPECT_EQ(a, Identify(7, Id(1, 2), 9, L"C:\\B.TXT"));
  EXPECT_NE(a, Identify(7, Id(2, 2), 5, L"C:\\A.TXT"));  // differs only in the high bytes
  EXPECT_NE(a, Identify(8, Id(1, 2), 5, L"C:\\A.TXT"));  // another volume
  // Without a 128-bit id, or with a zero one, the 64-bit index decides, and
  // equals the 128-bit id the volume would give for it.
  auto b = Identify(7, std::nullopt, 0x0102, L"C:\\A.TXT", &pathAsked);
  EXPECT_FALSE(pathAsked);
  EXPECT_EQ(b, Identify(7, FileId{}, 0x0102, L"C:\\B.TXT"));
  FileId widened{};
  widened[0] = 0x02;
  widened[1] = 0x01;
  EXPECT_EQ(b, Identify(7, widened, 0, L"C:\\C.TXT"));
  EXPECT_NE(b, Identify(7, std::nullopt, 0x0201, L"C:\\A.TXT"));
  // No id at all: the normalised paths decide (the caller folds their case).
  auto c = Identify(7, FileId{}, 0, L"\\\\SERVER\\SHARE\\A.TXT", &pathAsked);
  EXPECT_TRUE(pathAsked);
  ASSERT_TRUE(c);
  EXPECT_EQ(c, Identify(7, std::nullopt, 0, L"\\\\SERVER\\SHARE\\A.TXT"));
  EXPECT_NE(c, Identify(7, std::nullopt, 0, L"\\\\SERVER\\SHARE\\B.TXT"));
  EXPECT_NE(c, Identify(7, Id(0, 1), 0, L"\\\\SERVER\\SHARE\\A.TXT"));
  // Two files with zero ids on one volume stay apart, and a file with no id
  // and no path has no identity at all.
  EXPECT_NE(Identify(0, FileId{}, 0, L"X:\\1"), Identify(0, FileId{}, 0, L"X:\\2"));
  EXPECT_EQ(Identify(7, FileId{}, 0, L""), std::nullopt);
}

}  // namespace
}  // namespace tarnwell
