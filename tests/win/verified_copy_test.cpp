// Verified copies on the real window and files: with 复制后校验 on, every
// file copied (also by a move that has to copy) is read back and compared
// with its source before it takes its name in the target. A copy spoilt
// after it was written (a byte flipped in its temporary file, through the
// copy's hook) fails with 校验不一致: nothing of it is left in the target, the
// file of its name that was there keeps its bytes, and a move's source
// stays. The end box counts the files verified. With the setting off
// (the default) nothing is read back, and the same spoilt copy arrives.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text/gb18030_wide_win.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/answering_host.h"
#include "tests/win/support/program_fixture.h"
#include "ui/batch_commands_win.h"

namespace tarnwell::testing {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::FolderNames;
using testing_support::LongForm;
using testing_support::MakeFolder;
using testing_support::PutFile;

// Flips one byte of the copy of `spoilt` once it is written, before it is read back.
class SpoilingWatch final : public CopyWatch {
 public:
  SpoilingWatch(CopyWatch& inner, bool spoil) : inner_(inner), spoil_(spoil) {}
  void Copied(std::uint64_t bytes) override { inner_.Copied(bytes); }
  bool StopWanted() override { return inner_.StopWanted(); }
  void Verified() override { inner_.Verified(); }
  void CopyMade(std::string_view temporary) override {
    if (!spoil_) return;
    HANDLE file = CreateFileW(LongForm(temporary).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char byte = 0;
    DWORD done = 0;
    SetFilePointer(file, 100, nullptr, FILE_BEGIN);
    ReadFile(file, &byte, 1, &done, nullptr);
    byte = static_cast<char>(byte ^ 0x5A);
    SetFilePointer(file, 100, nullptr, FILE_BEGIN);
    WriteFile(file, &byte, 1, &done, nullptr);
    CloseHandle(file);
  }

 private:
  CopyWatch& inner_;
  bool spoil_;
};

class SpoilingHost final : public AnsweringHost {
 public:
  using AnsweringHost::AnsweringHost;
  Text spoilt;  // the source whose copy is spoilt
  FileOutcome CopyOneFile(const Text& source, const Text& destination, const CopyOptions& options) override {
    SpoilingWatch watch(*options.watch, source == spoilt);
    CopyOptions spoiling = options;
    spoiling.watch = &watch;
    return WindowResultHost::CopyOneFile(source, destination, spoiling);
  }
  FileOutcome MoveOneFile(const Text& source, const Text& destination, const CopyOptions& options) override {
    SpoilingWatch watch(*options.watch, source == spoilt);
    CopyOptions spoiling = options;
    spoiling.watch = &watch;
    return WindowResultHost::MoveOneFile(source, destination, spoiling);
  }
};

class VerifiedCopies : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    host = std::make_unique<SpoilingHost>(program->Window(), programFolder.path());
    commands = std::make_unique<BatchCommands>(program->Window(), *host, program->Searches(), programFolder.path());
  }
  void TearDown() override {
    commands.reset();
    host.reset();
    ProgramFixture::TearDown();
  }
  static std::string Content(char name) {
    std::string bytes;
    for (int b = 0; b < 4096; ++b) bytes.push_back(static_cast<char>((b * 13 + name) & 0xFF));
    return bytes;
  }

  std::unique_ptr<SpoilingHost> host;
  std::unique_ptr<BatchCommands> commands;
};

TEST_F(VerifiedCopies, ASpoiltCopyFailsAndLeavesNothingWhileTheOthersAreVerified) {
  struct Case {
    bool verify;
    bool move;
    const char* box;
  };
  const Case cases[] = {
      {false, false, ""},
      {true, false, "有1个文件未能复制。已校验2个文件，与源文件一致。"},
      {true, true, "有1个文件未能移动。已校验2个文件，与源文件一致。"},
  };
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(round);
    const Text src = tree / ("src" + std::to_string(round));
    const Text out = tree / ("out" + std::to_string(round++));
    MakeFolder(src);
    MakeFolder(out);
    Rows().Clear();
    // Each file has an older namesake in the target, so that a move has to copy it.
    for (char name : {'a', 'b', 'c'}) {
      const Text file = Concat(Text(1, name), ".bin");
      PutFile(Concat(src, "\\", file), Content(name));
      PutFile(Concat(out, "\\", file), Concat("older ", file));
      AppendPath(Rows(), Concat(src, "\\", file));
    }
    Rows().SetAllChecked(true);
    PutFile(programFolder / "config.ini", G(c.verify ? "[zhuce]\r\n复制后校验=真\r\n" : "[zhuce]\r\n"));
    host->folderChoice = out;
    host->spoilt = Concat(src, "\\b.bin");
    if (c.move) {
      commands->Move();
    } else {
      commands->Copy();
    }
    EXPECT_EQ(host->TakeShown(), *c.box ? TextList{G(c.box)} : TextList{});
    TextList names = FolderNames(out);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (TextList{"a.bin", "b.bin", "c.bin"}));  // no temporary file left
    EXPECT_EQ(FileBytes(Concat(out, "\\a.bin")), Content('a'));
    EXPECT_EQ(FileBytes(Concat(out, "\\c.bin")), Content('c'));
    EXPECT_EQ(Exists(Concat(src, "\\a.bin")), !c.move);
    const std::string sentB = FileBytes(Concat(out, "\\b.bin"));
    if (!c.verify) {  // unverified, the spoilt copy arrives
      EXPECT_NE(sentB, Content('b'));
      EXPECT_EQ(sentB.size(), Content('b').size());
      continue;
    }
    EXPECT_EQ(sentB, "older b.bin");
    EXPECT_EQ(FileBytes(Concat(src, "\\b.bin")), Content('b'));
    const std::vector<Failure> problems = host->BatchProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].path, Concat(src, "\\b.bin"));
    EXPECT_EQ(problems[0].message, G("校验不一致"));
    const std::string record = FileBytes(programFolder / G("操作记录.csv"));
    EXPECT_NE(record.find(Gb18030ToUtf8(Concat(out, "\\b.bin,", G("失败：校验不一致")))), std::string::npos);
  }
}

}  // namespace
}  // namespace tarnwell::testing
