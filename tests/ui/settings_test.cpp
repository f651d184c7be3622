#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/text/gbk_literal.h"
#include "ui/settings_file.h"
#include "ui/settings_handlers.h"

namespace tarnwell {
namespace {

namespace fs = std::filesystem;
using Control = SettingsControl;

const char* NameOf(Control control) {
  switch (control) {
    case Control::ExactRadio: return "exact";
    case Control::FuzzyRadio: return "fuzzy";
    case Control::WholeComputerRadio: return "whole";
    case Control::SpecifiedPathsRadio: return "specified";
    case Control::SearchPathBox: return "pathBox";
    case Control::SearchPathButton: return "pathButton";
  }
  return "?";
}

// The settings part of the main window as the form creates it, logging every
// operation. Like the real path box it raises content-changed (and so runs
// SaveSearchPath) whenever its content is set or typed into.
class FakeWindow : public SettingsControls {
 public:
  explicit FakeWindow(std::string folder) : folder_(std::move(folder)) {}

  Text SearchPath() override { return path_; }
  void SetSearchPath(const Text& path) override {
    log.push_back(Concat("content=", path));
    path_ = path;
    SaveSearchPath(*this, folder_);
  }
  void SetChecked(Control radio, bool value) override {
    log.push_back(Concat("checked ", NameOf(radio), value ? "=1" : "=0"));
    checked[radio] = value;
  }
  void SetDisabled(Control control, bool value) override {
    log.push_back(Concat("disabled ", NameOf(control), value ? "=1" : "=0"));
    disabled[control] = value;
    fileWhenDisabling.push_back(FileContents());
  }

  void Type(char c) {
    path_.push_back(c);
    SaveSearchPath(*this, folder_);
  }
  void EraseAll() {
    path_.clear();
    SaveSearchPath(*this, folder_);
  }
  Text FileContents() const {
    fs::path file = fs::path(folder_) / "config.ini";
    if (!fs::is_regular_file(file)) return "(no file)";
    std::ifstream in(file, std::ios::binary);
    return Text(std::istreambuf_iterator<char>(in), {});
  }

  std::vector<Text> log;
  std::map<Control, bool> checked{{Control::ExactRadio, true}, {Control::SpecifiedPathsRadio, true}};
  std::map<Control, bool> disabled;
  std::vector<Text> fileWhenDisabling;

 private:
  std::string folder_;
  Text path_;
};

class Settings : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tarnwell-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  void Put(std::string_view bytes) {
    std::ofstream(fs::path(folder_) / "config.ini", std::ios::binary).write(bytes.data(), bytes.size());
  }
  bool FileExists() const { return fs::exists(fs::path(folder_) / "config.ini"); }

  std::string folder_;
};

Text Line(std::string_view key, std::string_view value) { return Concat(key, "=", value, "\r\n"); }

TEST_F(Settings, NoFileGivesTheFormsOwnStateAndWritesNothing) {
  FakeWindow window(folder_);
  LoadSettings(window, folder_);
  EXPECT_EQ(window.log, (std::vector<Text>{"checked whole=0", "checked specified=1", "disabled pathBox=0",
                                           "disabled pathButton=0", "checked fuzzy=0", "checked exact=1"}));
  EXPECT_EQ(window.SearchPath(), "");
  EXPECT_FALSE(FileExists());
  EXPECT_EQ(SettingsPath(folder_), Concat(folder_, "\\config.ini"));
  EXPECT_EQ(ReadSetting(folder_, "精确"_gbk), "");
}

TEST_F(Settings, StoredChoicesComeBackInOrderPathScopeMode) {
  Text file = Concat("[zhuce]\r\n", Line("精确"_gbk, "假"_gbk), Line("全盘搜索"_gbk, "真"_gbk),
                     Line("搜索路径"_gbk, "D:\\照片"_gbk));
  Put(file);
  FakeWindow window(folder_);
  LoadSettings(window, folder_);
  EXPECT_EQ(window.log,
            (std::vector<Text>{Concat("content=", "D:\\照片"_gbk), "checked whole=1", "checked specified=0",
                               "disabled pathBox=1", "disabled pathButton=1", "checked fuzzy=1",
                               "checked exact=0"}));
  EXPECT_EQ(window.FileContents(), file);  // the path written back is the path read
}

TEST_F(Settings, AnythingButTheExactWordsTakesTheFallbacks) {
  struct Case {
    Text exact, whole;
  };
  const Text utf8No = "\xE5\x81\x87";  // "假" in UTF-8, not GBK
  for (const Case& c : {Case{"1", "1"}, Case{"", ""}, Case{utf8No, "真真"_gbk}, Case{"假 x"_gbk, "TRUE"}}) {
    Put(Concat("[zhuce]\r\n", Line("精确"_gbk, c.exact), Line("全盘搜索"_gbk, c.whole), Line("搜索路径"_gbk, utf8No)));
    FakeWindow window(folder_);
    LoadSettings(window, folder_);
    EXPECT_TRUE(window.checked[Control::ExactRadio]) << c.exact;
    EXPECT_FALSE(window.checked[Control::FuzzyRadio]) << c.exact;
    EXPECT_TRUE(window.checked[Control::SpecifiedPathsRadio]) << c.whole;
    EXPECT_FALSE(window.disabled[Control::SearchPathBox]) << c.whole;
    EXPECT_EQ(window.SearchPath(), utf8No);  // a path in another encoding is taken byte for byte
  }
}

TEST_F(Settings, ClicksWriteGbkWordsAndScopeClicksSetTheControlsAroundTheWrite) {
  FakeWindow window(folder_);
  SaveScopeWholeComputer(window, folder_);
  const Text wholeYes = "[zhuce]\r\n\xC8\xAB\xC5\xCC\xCB\xD1\xCB\xF7=\xD5\xE6\r\n";  // 全盘搜索=真
  EXPECT_EQ(window.log, (std::vector<Text>{"checked whole=1", "checked specified=0", "disabled pathBox=1",
                                           "disabled pathButton=1"}));
  EXPECT_EQ(window.fileWhenDisabling, (std::vector<Text>{wholeYes, wholeYes}));

  SaveMatchModeFuzzy(folder_);
  const Text withFuzzy = Concat(wholeYes, "\xBE\xAB\xC8\xB7=\xBC\xD9\r\n");  // 精确=假
  EXPECT_EQ(window.FileContents(), withFuzzy);
  SaveMatchModeFuzzy(folder_);
  EXPECT_EQ(window.FileContents(), withFuzzy);

  SaveMatchModeExact(folder_);
  window.log.clear();
  SaveScopeSpecifiedPaths(window, folder_);
  EXPECT_EQ(window.log, (std::vector<Text>{"checked whole=0", "checked specified=1", "disabled pathBox=0",
                                           "disabled pathButton=0"}));
  EXPECT_EQ(window.FileContents(),
            Concat("[zhuce]\r\n", Line("全盘搜索"_gbk, "假"_gbk), Line("精确"_gbk, "真"_gbk)));
  EXPECT_EQ(ReadSetting(folder_, "全盘搜索"_gbk), "假"_gbk);
}

TEST_F(Settings, EveryChangeOfThePathIsWrittenAndAnEmptyPathStaysEmpty) {
  FakeWindow window(folder_);
  for (char c : std::string("D:\\ab")) {
    window.Type(c);
    EXPECT_EQ(window.FileContents(), Concat("[zhuce]\r\n", Line("搜索路径"_gbk, window.SearchPath())));
  }
  window.EraseAll();
  EXPECT_EQ(window.FileContents(), Concat("[zhuce]\r\n", Line("搜索路径"_gbk, "")));

  FakeWindow restarted(folder_);
  LoadSettings(restarted, folder_);
  EXPECT_EQ(restarted.SearchPath(), "");
  EXPECT_EQ(restarted.log.front(), "checked whole=0");  // the box was never set
}

TEST_F(Settings, AFailingFileChangesNothingAndHurtsNothing) {
  fs::create_directory(fs::path(folder_) / "config.ini");
  FakeWindow window(folder_);
  window.Type('x');
  SaveScopeWholeComputer(window, folder_);
  EXPECT_FALSE(WriteSetting(folder_, "精确"_gbk, "假"_gbk));
  LoadSettings(window, folder_);
  EXPECT_TRUE(window.checked[Control::SpecifiedPathsRadio]);
  EXPECT_TRUE(window.checked[Control::ExactRadio]);
  EXPECT_EQ(window.SearchPath(), "x");  // the control keeps what the user chose
}

}  // namespace
}  // namespace tarnwell
