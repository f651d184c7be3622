// A long batch on the real window: the copy of a 2 GB file (sparse, its
// pieces slowed to 100 MB a second) runs on the worker while the window
// answers; the progress window shows after half a second with counts that
// match the files, and 停止 or Esc in it stop the copy in the middle of the
// file: no part of it, and no temporary file, is left in the target, a file
// that was there keeps its bytes, the source is whole. Closing the main
// window in the middle of a move leaves the source whole where it was. A
// quick batch never shows the window. What the figures say is printed.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <vector>

#include "platform/text/gb18030_wide_win.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/answering_host.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"
#include "ui/batch_commands_win.h"

namespace tarnwell::testing {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::FolderNames;
using testing_support::LongForm;
using testing_support::MakeFolder;
using testing_support::PutFile;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kBigSize = 2ull << 30;
const std::string kHead = "head of the big file";
const std::string kTail = "tail of the big file";

double Milliseconds(Clock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); }

// A file of 2 GB that takes no room: a hole between a few bytes at its
// start and at its end.
void MakeBigFile(const Text& path) {
  HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, kHead.data(), static_cast<DWORD>(kHead.size()), &written, nullptr);
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(kBigSize - kTail.size());
  SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
  WriteFile(file, kTail.data(), static_cast<DWORD>(kTail.size()), &written, nullptr);
  CloseHandle(file);
}

// The big file is there, whole: its size and the bytes at both ends.
bool BigFileWhole(const Text& path) {
  HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  std::string head(kHead.size(), '\0'), tail(kTail.size(), '\0');
  DWORD got = 0;
  ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr);
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(kBigSize - kTail.size());
  SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
  ReadFile(file, tail.data(), static_cast<DWORD>(tail.size()), &got, nullptr);
  CloseHandle(file);
  return static_cast<std::uint64_t>(size.QuadPart) == kBigSize && head == kHead && tail == kTail;
}

// A source that delivers slowly: every piece of a copy takes 10 ms more.
class SlowWatch final : public CopyWatch {
 public:
  explicit SlowWatch(CopyWatch& inner) : inner_(inner) {}
  void Copied(std::uint64_t bytes) override {
    inner_.Copied(bytes);
    Sleep(10);
  }
  bool StopWanted() override { return inner_.StopWanted(); }
  void CopyMade(std::string_view temporary) override { inner_.CopyMade(temporary); }
  void Verified() override { inner_.Verified(); }

 private:
  CopyWatch& inner_;
};

class SlowHost final : public AnsweringHost {
 public:
  using AnsweringHost::AnsweringHost;
  FileOutcome CopyOneFile(const Text& source, const Text& destination, const CopyOptions& options) override {
    return Slowly(options, [&](const CopyOptions& slow) { return WindowResultHost::CopyOneFile(source, destination, slow); });
  }
  FileOutcome MoveOneFile(const Text& source, const Text& destination, const CopyOptions& options) override {
    return Slowly(options, [&](const CopyOptions& slow) { return WindowResultHost::MoveOneFile(source, destination, slow); });
  }

 private:
  template <class Act>
  FileOutcome Slowly(const CopyOptions& options, Act act) {
    if (!options.watch) return act(options);
    SlowWatch watch(*options.watch);
    CopyOptions slow = options;
    slow.watch = &watch;
    return act(slow);
  }
};

// What the taskbar button was told.
class RecordingTaskbar final : public TaskbarProgress {
 public:
  std::vector<std::uint64_t> shown;  // done, of 1000
  int cleared = 0;
  void Show(HWND, std::uint64_t done, std::uint64_t total) override {
    if (total == 1000) shown.push_back(done);
  }
  void Clear(HWND) override { ++cleared; }
};

// What a helper thread saw of the window while the batch ran.
struct Watched {
  bool progressShown = false;
  std::vector<std::wstring> texts;        // the progress window's caption and labels
  std::vector<double> answers;            // round trips of a message to the main window, ms
  Clock::time_point stopAsked{};
};

// How a helper thread ends the batch once the progress window shows.
enum class Ending { StopButton, EscapeKey, CloseMainWindow };

class BatchProgressWindow : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    host = std::make_unique<SlowHost>(program->Window(), programFolder.path());
    commands = std::make_unique<BatchCommands>(program->Window(), *host, program->Searches(), programFolder.path(),
                                               &taskbar);
    MakeFolder(tree / "src");
    MakeFolder(tree / "out");
    host->folderChoice = tree / "out";
  }
  void TearDown() override {
    commands.reset();
    host.reset();
    ProgramFixture::TearDown();
  }
  // a.txt, b.txt, big.bin, z.txt in src, all ticked; big.bin has an older namesake in out.
  void MakeRows() {
    PutFile(tree / "src\\a.txt", "a");
    PutFile(tree / "src\\b.txt", "b");
    MakeBigFile(tree / "src\\big.bin");
    PutFile(tree / "src\\z.txt", "z");
    PutFile(tree / "out\\big.bin", "an older big.bin");
    for (const char* name : {"a.txt", "b.txt", "big.bin", "z.txt"}) AppendPath(Rows(), tree / (Text("src\\") + name));
    Rows().SetAllChecked(true);
  }
  // Watches from another thread: waits for the progress window, reads it,
  // times messages sent to the main window, then ends the batch.
  std::future<Watched> WatchAndEnd(Ending ending) {
    const DWORD thread = GetCurrentThreadId();
    HWND main = program->Window().Handle();
    return std::async(std::launch::async, [thread, main, ending] {
      Watched seen;
      HWND window = nullptr;
      for (int wait = 0; wait < 600 && !window; ++wait) {
        window = FindVisibleWindowOfClass(thread, L"TarnwellBatch");
        if (!window) Sleep(10);
      }
      if (!window) return seen;
      seen.progressShown = true;
      Sleep(300);  // a few ticks of the window's figures
      seen.texts.push_back(WindowTextOf(window));
      HWND stop = nullptr;
      for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        seen.texts.push_back(WindowTextOf(child));
        stop = child;  // the button is made last
      }
      for (int i = 0; i < 10; ++i) {
        const Clock::time_point sent = Clock::now();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        seen.answers.push_back(Milliseconds(Clock::now() - sent));
        Sleep(30);
      }
      seen.stopAsked = Clock::now();
      if (ending == Ending::StopButton) PostMessageW(stop, BM_CLICK, 0, 0);
      if (ending == Ending::EscapeKey) PostMessageW(stop, WM_KEYDOWN, VK_ESCAPE, 0);
      if (ending == Ending::CloseMainWindow) PostMessageW(main, WM_CLOSE, 0, 0);
      return seen;
    });
  }
  // Prints the figures and checks them against generous bounds: the window
  // answers within 100 ms as a rule, and the batch stops within a moment.
  void ExpectAnsweredAndStopped(const Watched& seen, Clock::time_point ended, const char* what) {
    ASSERT_TRUE(seen.progressShown) << what;
    ASSERT_FALSE(seen.answers.empty());
    std::vector<double> answers = seen.answers;
    std::sort(answers.begin(), answers.end());
    const double stopped = Milliseconds(ended - seen.stopAsked);
    std::printf("%s: a message answered in %.1f ms (median) to %.1f ms (slowest); stopped %.1f ms after the ask\n",
                what, answers[answers.size() / 2], answers.back(), stopped);
    EXPECT_LT(answers[answers.size() / 2], 100.0) << what;
    EXPECT_LT(stopped, 1000.0) << what;
  }
  void ExpectTargetHoldsOnly(const TextList& names) {
    TextList there = FolderNames(tree / "out");
    std::sort(there.begin(), there.end());
    EXPECT_EQ(there, names);  // no temporary file, no part of big.bin
    EXPECT_EQ(FileBytes(tree / "out\\big.bin"), "an older big.bin");
  }

  RecordingTaskbar taskbar;
  std::unique_ptr<SlowHost> host;
  std::unique_ptr<BatchCommands> commands;
};

TEST_F(BatchProgressWindow, StopInTheMiddleOfALargeCopyLeavesNoPartAndTheSourceWhole) {
  for (Ending ending : {Ending::StopButton, Ending::EscapeKey}) {
    SCOPED_TRACE(static_cast<int>(ending));
    Rows().Clear();
    DeleteFileW(LongForm(tree / "out\\a.txt").c_str());
    DeleteFileW(LongForm(tree / "out\\b.txt").c_str());
    MakeRows();
    taskbar = RecordingTaskbar{};
    auto watcher = WatchAndEnd(ending);
    commands->Copy();
    const Clock::time_point ended = Clock::now();
    const Watched seen = watcher.get();
    ExpectAnsweredAndStopped(seen, ended, ending == Ending::StopButton ? "copy, 停止" : "copy, Esc");

    // The caption, the current file, files and bytes as the files are.
    ASSERT_GE(seen.texts.size(), 6u);
    EXPECT_EQ(seen.texts[0], Gb18030ToWide(G("正在复制文件")));
    EXPECT_EQ(seen.texts[1], Gb18030ToWide(tree / "src\\big.bin"));
    EXPECT_EQ(seen.texts[2], Gb18030ToWide(G("文件：2 / 4")));
    EXPECT_NE(seen.texts[3].find(Gb18030ToWide(G(" / 2.00 GB"))), std::wstring::npos) << Gb18030ToUtf8(WideToGb18030(seen.texts[3]));
    EXPECT_TRUE(commands->Progress().WasShown());
    ASSERT_FALSE(taskbar.shown.empty());
    EXPECT_LT(taskbar.shown.back(), 1000u);
    EXPECT_EQ(taskbar.cleared, 1);

    ExpectTargetHoldsOnly({"a.txt", "b.txt", "big.bin"});
    EXPECT_TRUE(BigFileWhole(tree / "src\\big.bin"));
    EXPECT_EQ(Status(), G("已停止：复制完毕！"));
    EXPECT_EQ(host->TakeShown(), TextList{G("已停止：已复制2个文件。")});
    EXPECT_EQ(commands->Progress().Handle(), nullptr);  // gone with the batch
  }
}

TEST_F(BatchProgressWindow, ClosingTheWindowInTheMiddleOfAMoveLeavesTheSourceWhole) {
  MakeRows();
  // The move of big.bin must copy: the rename cannot go over its older namesake.
  HWND main = program->Window().Handle();
  auto watcher = WatchAndEnd(Ending::CloseMainWindow);
  commands->Move();
  const Clock::time_point ended = Clock::now();
  ExpectAnsweredAndStopped(watcher.get(), ended, "move, window closed");
  EXPECT_FALSE(IsWindow(main));
  ExpectTargetHoldsOnly({"a.txt", "b.txt", "big.bin"});
  EXPECT_TRUE(BigFileWhole(tree / "src\\big.bin"));
  EXPECT_TRUE(Exists(tree / "src\\z.txt"));
  EXPECT_FALSE(Exists(tree / "src\\a.txt"));
  EXPECT_TRUE(host->TakeShown().empty());
}

TEST_F(BatchProgressWindow, AQuickBatchNeverShowsTheWindow) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
    PutFile(tree / (Text("src\\") + name), name);
    AppendPath(Rows(), tree / (Text("src\\") + name));
  }
  Rows().SetAllChecked(true);
  commands->Copy();
  EXPECT_EQ(Status(), G("复制完毕！"));
  EXPECT_FALSE(commands->Progress().WasShown());
  EXPECT_TRUE(taskbar.shown.empty());
  EXPECT_EQ(taskbar.cleared, 0);
}

}  // namespace
}  // namespace tarnwell::testing
