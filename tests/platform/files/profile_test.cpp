#include "platform/files/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/files/whole_file.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;

class Profile : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tarnwell-profile-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    file_ = (folder_ / "config.ini").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  void Put(std::string_view bytes) { std::ofstream(file_, std::ios::binary).write(bytes.data(), bytes.size()); }
  Text Contents() const {
    std::ifstream in(file_, std::ios::binary);
    return Text(std::istreambuf_iterator<char>(in), {});
  }
  // The names in the folder, to see that no temporary file was left behind.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
    return names;
  }

  fs::path folder_;
  std::string file_;
};

TEST_F(Profile, WritesCreateTheFileAndReadBack) {
  EXPECT_EQ(ReadProfileValue(file_, "zhuce", "path"), "");
  EXPECT_TRUE(Entries().empty());  // reading creates nothing
  ASSERT_TRUE(WriteProfileValue(file_, "zhuce", "path", "D:\\photos"));
  ASSERT_TRUE(WriteProfileValue(file_, "zhuce", "mode", "1"));
  ASSERT_TRUE(WriteProfileValue(file_, "zhuce", "path", ""));
  EXPECT_EQ(Contents(), "[zhuce]\r\npath=\r\nmode=1\r\n");
  EXPECT_EQ(ReadProfileValue(file_, "ZHUCE", "Mode", "x"), "1");
  EXPECT_EQ(ReadProfileValue(file_, "zhuce", "path", "x"), "");
  EXPECT_EQ(Entries(), std::vector<std::string>{"config.ini"});
}

TEST_F(Profile, ArgumentsSkipLeadingControlBytesAndEmptyOnesReadNothing) {
  Put("[zhuce]\r\nk=v\r\n");
  EXPECT_EQ(ReadProfileValue(Concat(" \t\x01", file_), "\x1F zhuce", "\n k"), "v");
  EXPECT_EQ(ReadProfileValue(file_, " \t", "k", "default"), "");
  EXPECT_EQ(ReadProfileValue(file_, "zhuce", "", "default"), "");
  EXPECT_EQ(ReadProfileValue("  ", "zhuce", "k", "default"), "");
  EXPECT_EQ(ReadProfileValue(file_, "zhuce", "missing", "default  "), "default");
  EXPECT_EQ(ReadProfileValue(file_, "missing", "k", " d e "), " d e");
  EXPECT_FALSE(WriteProfileValue(file_, "\x02", "k", "v"));
  EXPECT_FALSE(WriteProfileValue(file_, "zhuce", " ", "v"));
  EXPECT_FALSE(WriteProfileValue(" ", "zhuce", "k", "v"));
  EXPECT_EQ(Contents(), "[zhuce]\r\nk=v\r\n");
}

TEST_F(Profile, ValuesFitTheReadBuffer) {
  Text huge(20000, 'p');
  ASSERT_TRUE(WriteProfileValue(file_, "zhuce", "path", huge));
  EXPECT_EQ(ReadProfileValue(file_, "zhuce", "path"), Text(10239, 'p'));
  EXPECT_EQ(ReadProfileValue(file_, "zhuce", "missing", huge), Text(10239, 'p'));
  Put(Text("[zhuce]\r\nk=ab\0cd\r\n", 17));
  EXPECT_EQ(ReadProfileValue(file_, "zhuce", "k"), "ab");
}

TEST_F(Profile, RewritingTheSameValueLeavesTheFileAlone) {
  ASSERT_TRUE(WriteProfileValue(file_, "zhuce", "k", "v"));
  struct stat before {};
  ASSERT_EQ(stat(file_.c_str(), &before), 0);
  ASSERT_TRUE(WriteProfileValue(file_, "zhuce", "k", "v"));
  struct stat after {};
  ASSERT_EQ(stat(file_.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  ASSERT_TRUE(WriteProfileValue(file_, "zhuce", "k", "w"));
  ASSERT_EQ(stat(file_.c_str(), &after), 0);
  EXPECT_NE(before.st_ino, after.st_ino);  // replaced by renaming a new file over it
}

TEST_F(Profile, AFolderNamedLikeTheFileIsNeitherReadNorReplaced) {
  fs::create_directory(file_);
  EXPECT_EQ(ReadProfileValue(file_, "zhuce", "k", "d"), "d");
  EXPECT_FALSE(WriteProfileValue(file_, "zhuce", "k", "v"));
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_EQ(Entries(), std::vector<std::string>{"config.ini"});
  EXPECT_FALSE(WriteProfileValue((folder_ / "no such folder" / "config.ini").string(), "zhuce", "k", "v"));
}

TEST_F(Profile, GarbageFilesGiveSoundResults) {
  Text garbage;
  for (std::size_t i = 0; i < (10u << 20); ++i) garbage.push_back(static_cast<char>((i * 2654435761u) >> 13));
  Put(garbage);
  EXPECT_EQ(ReadProfileValue(file_, "zhuce", "k", "d"), "d");
  ASSERT_TRUE(WriteProfileValue(file_, "zhuce", "k", "v"));
  EXPECT_EQ(ReadProfileValue(file_, "zhuce", "k"), "v");
  EXPECT_EQ(Contents().substr(0, garbage.size()), garbage);

  // Far beyond any settings file: left as it is.
  Text tooLarge(40u << 20, '\0');
  Put(tooLarge);
  EXPECT_EQ(ReadProfileValue(file_, "zhuce", "k", "d"), "d");
  EXPECT_FALSE(WriteProfileValue(file_, "zhuce", "k", "v"));
  EXPECT_EQ(fs::file_size(file_), tooLarge.size());
  EXPECT_EQ(Entries(), std::vector<std::string>{"config.ini"});
}

TEST_F(Profile, ProgramPathsWithBackslashesNameTheSameFile) {
  ASSERT_TRUE(WriteProfileValue(Concat(folder_.string(), "\\config.ini"), "zhuce", "k", "v"));
  EXPECT_EQ(Contents(), "[zhuce]\r\nk=v\r\n");
  EXPECT_EQ(ReadWholeFile(Concat(folder_.string(), "\\config.ini"), 100).bytes, "[zhuce]\r\nk=v\r\n");
  EXPECT_EQ(ReadWholeFile(Concat(folder_.string(), "\\absent"), 100).status, ReadStatus::Missing);
  EXPECT_EQ(ReadWholeFile(Concat(folder_.string(), "\\config.ini"), 5).status, ReadStatus::Failed);
}

}  // namespace
}  // namespace tarnwell
