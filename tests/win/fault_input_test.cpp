// Input the program must take in its stride: a names box of 100,000 lines,
// names made of control bytes, DEL and 0xFF, GBK lead bytes with no trail
// byte, and a settings file that is megabytes of random bytes or a folder.
// The window stays responsive, every search ends with its completion text,
// and the user's files stay as they were unless the program rewrites them by
// its own rules.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "platform/text/gb18030_wide_win.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"

namespace tarnwell::testing {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::FolderNames;
using testing_support::IsFolder;
using testing_support::MakeFolder;
using testing_support::PutFile;

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Sends messages to the window from another thread while the test thread
// runs the window's messages, and keeps the longest wait for an answer.
class ResponsivenessProbe {
 public:
  explicit ResponsivenessProbe(HWND window)
      : thread_([this, window] {
          while (!stop_) {
            auto start = Clock::now();
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) unanswered_ = true;
            longest_ = std::max<long long>(longest_, MillisecondsSince(start));
            ++answered_;
            Sleep(20);
          }
          finished_ = true;
        }) {}
  ~ResponsivenessProbe() { Stop(); }
  // Runs the window's messages until the last one sent has its answer.
  void Stop() {
    stop_ = true;
    PumpUntil([this] { return finished_.load(); }, 20000);
    if (thread_.joinable()) thread_.join();
  }
  long long longest() const { return longest_; }
  int answered() const { return answered_; }
  bool unanswered() const { return unanswered_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<long long> longest_{0};
  std::atomic<int> answered_{0};
  std::atomic<bool> unanswered_{false};
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

// The pieces between line breaks as the program's texts define them: a CR LF
// counts only where a character starts, and a byte of 0x80 or more starts a
// two-byte character, so a CR right after one is its second byte. No piece
// follows a final CR LF.
TextList LinesOf(const Text& content) {
  TextList lines;
  std::size_t start = 0;
  std::size_t at = 0;
  while (at < content.size()) {
    if (content.compare(at, 2, "\r\n") == 0) {
      lines.push_back(content.substr(start, at - start));
      at += 2;
      start = at;
    } else {
      at += static_cast<unsigned char>(content[at]) >= 0x80 ? 2 : 1;
    }
  }
  if (start < content.size()) lines.push_back(content.substr(start));
  return lines;
}

// The lines that hold something besides spaces.
TextList KeptLines(const Text& content) {
  TextList kept;
  for (const Text& line : LinesOf(content)) {
    if (line.find_first_not_of(' ') != Text::npos) kept.push_back(line);
  }
  return kept;
}

Text WithLineEnds(const TextList& lines) {
  Text text;
  for (const Text& line : lines) text += line + "\r\n";
  return text;
}

class NamesBoxFaults : public ProgramFixture {
 protected:
  Text NamesBox() { return GetContent(C(Control::NamesBox)); }
  std::set<Text> RowSet() {
    std::set<Text> rows;
    for (int i = 0; i < Rows().RowCount(); ++i) rows.insert(Rows().RowText(i));
    return rows;
  }
  const NameList& SearchedNames() { return program->Searches().Current()->Names(); }
  void ExpectCompletionCountsTheRows() {
    EXPECT_EQ(Status(), Concat(G("搜索完毕！共搜索到文件"), NumberToText(Rows().RowCount()), G("个.")));
  }
  // Clicks the search button with the box as it is, below the tree, and
  // waits for the end; the click's own time in milliseconds.
  long long SearchAndWait(bool fuzzy) {
    Click(fuzzy ? Control::FuzzyRadio : Control::ExactRadio);
    Click(Control::SpecifiedPathRadio);
    SetContent(C(Control::PathBox), tree.path());
    auto start = Clock::now();
    Click(Control::SearchButton);
    long long took = MillisecondsSince(start);
    EXPECT_TRUE(WaitForCompletion(60000));
    ExpectCompletionCountsTheRows();
    return took;
  }
};

TEST_F(NamesBoxFaults, AHundredThousandNamesAreSearchedAndTheWindowStaysResponsive) {
  constexpr int kNames = 100000;
  Text content;
  TextList kept;
  for (int i = 0; i < kNames; ++i) {
    char name[16];
    snprintf(name, sizeof name, "n%06d", i);
    kept.push_back(name);
    content += Concat(name, "\r\n");
    if (i % 1000 == 0) content += i % 2000 ? "\r\n" : "   \r\n";  // blank lines the rebuild drops
  }
  for (const char* file : {"n000000.jpg", "n050000.txt", "n099999", "n100000.jpg", "x.txt"}) PutFile(tree / file, "x");
  const std::set<Text> wanted{tree / "n000000.jpg", tree / "n050000.txt", tree / "n099999"};
  // What the box itself takes to receive the text once, as a paste does: the
  // rebuild at the search's start holds the window for about as long.
  auto pasteStart = Clock::now();
  SetContent(C(Control::NamesBox), content);
  const long long pasteTook = MillisecondsSince(pasteStart);
  ASSERT_EQ(NamesBox().size(), content.size());

  for (bool fuzzy : {false, true}) {
    SCOPED_TRACE(fuzzy ? "fuzzy" : "exact");
    ResponsivenessProbe probe(program->Window().Handle());
    long long clickTook = SearchAndWait(fuzzy);
    probe.Stop();
    // Starting the search rebuilds the box on the window's thread, in one
    // go rather than line by line; the walk runs beside it.
    const long long bound = 3 * pasteTook + 2000;
    EXPECT_LT(clickTook, bound) << "the box took " << pasteTook << " ms to receive the text";
    EXPECT_FALSE(probe.unanswered());
    EXPECT_GT(probe.answered(), 0);
    EXPECT_LT(probe.longest(), bound);
    EXPECT_EQ(RowSet(), wanted);
    EXPECT_EQ(Rows().RowCount(), 3);
    // The box holds the kept lines; a second search finds nothing more to drop.
    EXPECT_TRUE(NamesBox() == WithLineEnds(kept));
    EXPECT_TRUE(SearchedNames() == kept);
  }
}

TEST_F(NamesBoxFaults, ControlBytesDelAndFFInNamesAreSearchedAsTheyStand) {
  Text controls = "c";
  for (int byte = 0x01; byte <= 0x1F; ++byte) controls.push_back(static_cast<char>(byte));
  const TextList lines{"keep1", "", controls, "\x7F", "del\x7Fname", "\t", "ff\xFFname", "\xFF\x01", " \x01 ", "keep2"};
  PutFile(tree / "keep1.txt", "1");
  PutFile(tree / "keep2.dat", "2");
  PutFile(tree / "del\x7Fname.txt", "3");
  PutFile(tree / "other.txt", "5");
  ASSERT_TRUE(Exists(tree / "del\x7Fname.txt"));
  // The byte 0xFF starts no character: it stands for the lone surrogate
  // U+DCFF, which Wine cannot put in a file name. Its line is searched as it
  // stands and finds nothing.

  Text content = WithLineEnds(lines);
  content += "\r\n  \r\n";
  SetContent(C(Control::NamesBox), content);
  ASSERT_EQ(NamesBox(), content) << "the box holds these bytes as they are";

  const TextList kept = KeptLines(content);
  const std::set<Text> found{tree / "keep1.txt", tree / "keep2.dat", tree / "del\x7Fname.txt"};
  for (bool fuzzy : {false, true}) {
    SCOPED_TRACE(fuzzy ? "fuzzy" : "exact");
    SearchAndWait(fuzzy);
    EXPECT_EQ(NamesBox(), WithLineEnds(kept));
    EXPECT_EQ(SearchedNames(), kept);
    EXPECT_EQ(RowSet(), found);
  }
}

TEST_F(NamesBoxFaults, LoneLeadBytesKeepTheRebuildAndTheSearchSound) {
  // Lead bytes before a line break, alone on a line and as the box's last
  // byte. The box holds a byte that starts no character as a lone surrogate
  // and gives it back as that byte; the texts then take the CR after a lead
  // byte for its second byte, so that line runs on into the next.
  PutFile(tree / "plain.txt", "1");
  PutFile(tree / "other.txt", "2");
  const Text contents[] = {
      Concat("plain\r\n", "alpha\x81\r\n", "beta\r\n", "\xFE\r\n\r\n", "gamma\x81"),
      Concat("plain\r\n", "delta\xFF\r\n", "epsilon\r\n", "\xFF"),
  };
  for (const Text& content : contents) {
    SetContent(C(Control::NamesBox), content);
    for (bool fuzzy : {false, true}) {
      SCOPED_TRACE(Concat(content, fuzzy ? " fuzzy" : " exact"));
      // What the box shows is what is searched: its non-blank lines, each
      // ending in CR LF once the box is rebuilt.
      const TextList kept = KeptLines(NamesBox());
      ASSERT_FALSE(kept.empty());
      EXPECT_EQ(kept.front(), "plain");
      SearchAndWait(fuzzy);
      EXPECT_EQ(NamesBox(), WithLineEnds(kept));
      EXPECT_EQ(SearchedNames(), LinesOf(NamesBox()));
      EXPECT_EQ(RowSet(), (std::set<Text>{tree / "plain.txt"}));
    }
  }
}

// A settings file the program did not write: what a start shows, what edits
// do to it, and what stays of it.
class SettingsFileFaults : public ProgramFixture {
 protected:
  void SetUp() override {}  // each test prepares config.ini, then opens the program
  void Open() {
    auto start = Clock::now();
    ProgramFixture::SetUp();
    openTook = MillisecondsSince(start);
  }
  void Reopen() {
    TearDown();
    Open();
  }
  Text ConfigPath() { return programFolder / "config.ini"; }
  bool Checked(Control control) { return GetChecked(C(control)); }
  bool Enabled(Control control) { return IsWindowEnabled(C(control)) != FALSE; }
  void ExpectFormsOwnState() {
    EXPECT_TRUE(Checked(Control::ExactRadio));
    EXPECT_FALSE(Checked(Control::FuzzyRadio));
    EXPECT_TRUE(Checked(Control::SpecifiedPathRadio));
    EXPECT_FALSE(Checked(Control::WholeComputerRadio));
    EXPECT_EQ(GetContent(C(Control::PathBox)), "");
    EXPECT_TRUE(Enabled(Control::PathBox));
    EXPECT_TRUE(Enabled(Control::BrowseButton));
  }
  // Types into the path box one character at a time; the longest keystroke in milliseconds.
  long long TypePath(const char* typed) {
    SetFocus(C(Control::PathBox));
    long long longest = 0;
    for (int i = 0; typed[i]; ++i) {
      auto start = Clock::now();
      SendMessageW(C(Control::PathBox), WM_CHAR, static_cast<WPARAM>(typed[i]), 0);
      longest = std::max(longest, MillisecondsSince(start));
    }
    return longest;
  }
  static std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
  }
  long long openTook = 0;
};

::testing::AssertionResult StartsWith(const std::string& bytes, const std::string& prefix) {
  if (bytes.size() >= prefix.size() && bytes.compare(0, prefix.size(), prefix) == 0) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "the file's " << bytes.size() << " bytes do not begin with the "
                                       << prefix.size() << " bytes it held";
}

TEST_F(SettingsFileFaults, TenMegabytesOfRandomBytesGiveTheFormsStateAndStayInTheFile) {
  const std::string garbage = RandomBytes(10u << 20, 20240601);
  ASSERT_EQ(garbage.find("[zhuce]"), std::string::npos);
  PutFile(ConfigPath(), garbage);
  Open();
  EXPECT_LT(openTook, 10000);
  ExpectFormsOwnState();
  EXPECT_TRUE(FileBytes(ConfigPath()) == garbage) << "a start writes nothing";

  // Each choice adds its section and key after the bytes that were there.
  auto start = Clock::now();
  Click(Control::FuzzyRadio);
  Click(Control::WholeComputerRadio);
  EXPECT_LT(MillisecondsSince(start), 10000);
  EXPECT_TRUE(Checked(Control::FuzzyRadio));
  EXPECT_FALSE(Enabled(Control::PathBox));
  Click(Control::SpecifiedPathRadio);
  EXPECT_LT(TypePath("D:\\x"), 5000);
  std::string now = FileBytes(ConfigPath());
  EXPECT_TRUE(StartsWith(now, garbage));
  EXPECT_LT(now.size(), garbage.size() + 100);
  EXPECT_EQ(FolderNames(programFolder.path()), TextList{"config.ini"});  // no temporary file left

  Reopen();
  EXPECT_TRUE(Checked(Control::FuzzyRadio));
  EXPECT_TRUE(Checked(Control::SpecifiedPathRadio));
  EXPECT_EQ(GetContent(C(Control::PathBox)), "D:\\x");
  EXPECT_TRUE(StartsWith(FileBytes(ConfigPath()), garbage));
}

TEST_F(SettingsFileFaults, AFileTooLargeToBeSettingsIsNeverRewritten) {
  const std::string garbage = RandomBytes(33u << 20, 7);
  PutFile(ConfigPath(), garbage);
  Open();
  EXPECT_LT(openTook, 10000);
  ExpectFormsOwnState();
  Click(Control::FuzzyRadio);
  Click(Control::WholeComputerRadio);
  Click(Control::SpecifiedPathRadio);
  TypePath("E:\\y");
  // The controls keep what the user chose; the file keeps every byte.
  EXPECT_TRUE(Checked(Control::FuzzyRadio));
  EXPECT_EQ(GetContent(C(Control::PathBox)), "E:\\y");
  EXPECT_TRUE(FileBytes(ConfigPath()) == garbage);
  EXPECT_EQ(FolderNames(programFolder.path()), TextList{"config.ini"});
}

TEST_F(SettingsFileFaults, AFolderNamedConfigIniGivesTheFormsStateAndStays) {
  MakeFolder(ConfigPath());
  PutFile(ConfigPath() + "\\inside.txt", G("[zhuce]\r\n精确=假\r\n"));
  Open();
  ExpectFormsOwnState();

  Click(Control::FuzzyRadio);
  Click(Control::WholeComputerRadio);
  EXPECT_TRUE(Checked(Control::FuzzyRadio));
  EXPECT_TRUE(Checked(Control::WholeComputerRadio));
  EXPECT_FALSE(Enabled(Control::PathBox));
  EXPECT_FALSE(Enabled(Control::BrowseButton));
  Click(Control::SpecifiedPathRadio);
  TypePath("C:\\z");
  SetContent(C(Control::PathBox), G("D:\\照片"));
  Click(Control::ExactRadio);
  EXPECT_TRUE(Checked(Control::ExactRadio));
  EXPECT_EQ(GetContent(C(Control::PathBox)), G("D:\\照片"));

  EXPECT_TRUE(IsFolder(ConfigPath()));
  EXPECT_EQ(FolderNames(ConfigPath()), TextList{"inside.txt"});
  EXPECT_EQ(FileBytes(ConfigPath() + "\\inside.txt"), G("[zhuce]\r\n精确=假\r\n"));
  EXPECT_EQ(FolderNames(programFolder.path()), TextList{"config.ini"});

  Reopen();
  ExpectFormsOwnState();
  EXPECT_TRUE(IsFolder(ConfigPath()));
}

}  // namespace
}  // namespace tarnwell::testing
