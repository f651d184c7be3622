#include "ui/search_controller_win.h"

#include <chrono>

#include "platform/window/edit_text_win.h"
#include "platform/base/entry_guard.h"
#include "platform/window/event_pump_win.h"
#include "platform/files/file_system.h"
#include "platform/files/folder_watch.h"
#include "platform/text/gbk_literal.h"
#include "platform/window/message_box_win.h"
#include "platform/window/window_properties_win.h"
#include "search/kept/keeping_lister.h"
#include "ui/search_texts.h"

namespace tarnwell {
namespace {

// How often the status line shows the walks' latest progress.
constexpr UINT kProgressPollMs = 100;
constexpr int kCompletionIntervalMs = 2000;
constexpr int kCompletionWaitMs = 500;
constexpr auto kShutdownWait = std::chrono::seconds(2);

}  // namespace

// Hands the workers' deliveries to the window thread, in order. The tasks
// name the controller, but only the window thread runs them, and the
// window's queue refuses and drops them once the window is destroyed.
class SearchController::Sink : public SearchSink {
 public:
  Sink(SearchController& owner, std::shared_ptr<WindowThreadQueue> queue) : owner_(owner), queue_(std::move(queue)) {}

  void DeliverRows(Search& search, std::size_t, RowBatch rows) override {
    auto batch = std::make_shared<RowBatch>(std::move(rows));
    auto self = search.shared_from_this();
    queue_->Post([owner = &owner_, self, batch] { owner->OnRows(self, *batch); });
  }

  void WalkEnded(Search& search, std::size_t) override {
    auto self = search.shared_from_this();
    queue_->Post([owner = &owner_, self] { owner->OnWalkEnded(self); });
  }

  void SearchEnded(Search& search) override {
    auto self = search.shared_from_this();
    queue_->Post([owner = &owner_, self] { owner->OnSearchEnded(self); });
  }

 private:
  SearchController& owner_;
  std::shared_ptr<WindowThreadQueue> queue_;
};

SearchController::SearchController(MainWindow& window, const DirectoryLister& lister,
                                   std::function<NumberRule()> numberRule, std::function<bool()> keeping)
    : window_(window), lister_(lister), numberRule_(std::move(numberRule)), keeping_(std::move(keeping)) {}

SearchController::~SearchController() { Shutdown(); }

MatchMode SearchController::RadioMatchMode() const {
  return GetChecked(Control(Control::FuzzyRadio)) ? MatchMode::Fuzzy : MatchMode::Exact;
}

void SearchController::RefreshMatchMode() {
  if (current_) current_->SetMatchMode(RadioMatchMode());
}

bool SearchController::IsCurrent(const std::shared_ptr<Search>& search) const {
  return search == current_ && !search->Cancelled();
}

void SearchController::StartSearch() {
  const bool specifiedPath = GetChecked(Control(Control::SpecifiedPathRadio));
  if (specifiedPath && TextEquals(GetContent(Control(Control::PathBox)), "")) {
    ShowMessageBox("您选择的是按指定路径搜索，请指定搜索路径后再搜索！"_gbk);
    return;
  }

  // The names box is rebuilt without its blank lines; the wanted names are
  // what the box then holds.
  HWND namesBox = Control(Control::NamesBox);
  const Text rebuilt = RebuildNamesBox(GetContent(namesBox));
  SetContent(namesBox, Text());
  // One append of all kept lines: the same text as one append per line, but
  // a names box of 100,000 lines is not rewritten 100,000 times.
  if (!rebuilt.empty()) AppendEditText(namesBox, rebuilt);
  const Text content = GetContent(namesBox);
  NameList names = SplitText(content, "\r\n");
  if (TextEquals(content, "")) {
    ShowMessageBox("您没有输入任何要搜索的文件名！请输入后再执行搜索！"_gbk);
    return;
  }

  SetCaption(Control(Control::StatusLabel), "正在搜索，请稍后..."_gbk);
  window_.Timer().SetInterval(specifiedPath ? 0 : kCompletionIntervalMs);

  // The searches cancelled before whose walks have ended are let go.
  std::erase_if(cancelled_, [](const std::shared_ptr<Search>& search) {
    return search->WaitForWalks(std::chrono::steady_clock::now());
  });
  if (current_) {
    current_->Cancel();
    cancelled_.push_back(std::move(current_));
  }
  window_.Results().Clear();

  const bool wholeComputer = GetChecked(Control(Control::WholeComputerRadio));
  RootList roots =
      wholeComputer ? ListDrives(DriveKind::Fixed) : SplitText(GetContent(Control(Control::PathBox)), "\r\n");
  const bool walks = !roots.empty();
  startedMode_ = RadioMatchMode();
  startedRoots_ = {roots, wholeComputer};
  auto sink = std::make_shared<Sink>(*this, window_.Queue());
  currentEnded_ = false;
  std::shared_ptr<const DirectoryLister> lister = ListerFor(roots);
  SearchOptions options;
  options.numbers = numberRule_();
  if (kept_) options.walkThreads = WalkThreadsThrough(*kept_, roots);
  current_ = Search::Start(std::move(names), std::move(roots), RadioMatchMode(), sink, std::move(lister), options);
  if (walks) StartProgressPolling();
}

std::shared_ptr<const DirectoryLister> SearchController::ListerFor(const RootList& roots) {
  // A watch vouches for the file system only: another lister is never kept.
  const bool keeping = &lister_ == &FileSystemLister() && keeping_ && keeping_();
  if (!keeping) {
    ReleaseKept();
    // No share of anything: the lister outlives every walk.
    return std::shared_ptr<const DirectoryLister>(std::shared_ptr<const DirectoryLister>(), &lister_);
  }
  if (!kept_) kept_ = std::make_shared<KeptFolders>(SystemFolderWatcher());
  return std::make_shared<KeepingLister>(kept_, lister_, roots);
}

void SearchController::LetDrivesGo(const TextList& drives) {
  if (!kept_) return;
  for (const Text& drive : drives) kept_->DropVolume(drive);
}

void SearchController::ReleaseKept() {
  if (!kept_) return;
  // Walks still running hold the store, but it holds nothing from now on.
  kept_->Close();
  kept_.reset();
}

void SearchController::OnRows(const std::shared_ptr<Search>& search, const RowBatch& rows) {
  if (!IsCurrent(search)) return;
  ResultList& results = window_.Results();
  for (std::size_t i = 0; i < rows.size(); ++i) results.Append(rows.Folder(i), rows.Name(i));
}

void SearchController::OnWalkEnded(const std::shared_ptr<Search>& search) {
  if (!IsCurrent(search)) return;
  ShowProgress();  // the walk's last progress text comes before its completion
}

// Comes after every row and every walk's end of the search.
void SearchController::OnSearchEnded(const std::shared_ptr<Search>& search) {
  if (!IsCurrent(search)) return;
  currentEnded_ = true;
  ShowProgress();
  StopProgressPolling();
  // Judged by the scope the search started with: the radios may say
  // otherwise by now, and the completion timer runs only for a whole-computer
  // search.
  if (!startedRoots_.wholeComputer) ReportCompletion();
}

std::uint64_t SearchController::UnreadFolders() const {
  if (!current_) return 0;
  return current_->FailedFolders() + static_cast<std::uint64_t>(current_->FailedWalks());
}

std::vector<Failure> SearchController::Problems() const {
  return current_ ? current_->Problems() : std::vector<Failure>();
}

void SearchController::ReportCompletion() {
  // The list shows every row before the text counts them: the control
  // learns of appended rows only every so often.
  window_.ResultView().SyncRowCount();
  const int rows = window_.Results().RowCount();
  SetCaption(Control(Control::StatusLabel), CompletionText(rows, UnreadFolders()));
  SetDisabled(Control(Control::NotFoundButton), false);
}

// Two reads of the status line 500 ms apart, kept on purpose (docs/behaviour.md).
void SearchController::CompletionTick() {
  HWND status = Control(Control::StatusLabel);
  const Text first = GetCaption(status);
  DelayProcessingEvents(kCompletionWaitMs);
  if (!window_.Handle()) return;  // the window was closed meanwhile
  const Text second = GetCaption(status);
  // A quiet status line is not the end while a walk still has rows to deliver
  // (a slow folder, a slow drive).
  if (!TextEquals(first, second) || Walking()) return;
  ReportCompletion();
  // The search is over: a later tick would only hold a batch's events for
  // its wait and write the completion text over the batch's own.
  window_.Timer().SetInterval(0);
}

void SearchController::ShowProgress() {
  if (!current_) return;
  if (auto name = current_->TakeProgress()) {
    SetCaption(Control(Control::StatusLabel), ProgressText(current_->Names()[*name]));
  }
}

void SearchController::StartProgressPolling() {
  if (polling_) return;
  polling_ = SetTimer(window_.Handle(), reinterpret_cast<UINT_PTR>(this), kProgressPollMs,
                      [](HWND, UINT, UINT_PTR id, DWORD) {
                        CatchAtEntry("the progress timer",
                                     [id] { reinterpret_cast<SearchController*>(id)->ShowProgress(); });
                      });
}

void SearchController::StopProgressPolling() {
  if (!polling_) return;
  KillTimer(window_.Handle(), reinterpret_cast<UINT_PTR>(this));
  polling_ = false;
}

bool SearchController::Shutdown() {
  StopProgressPolling();
  if (current_) {
    current_->Cancel();
    cancelled_.push_back(std::move(current_));
  }
  // The walks stop at their next entry and signal their end. A walk still
  // inside a listing call at the deadline (a folder that does not answer)
  // is not waited for: it holds a share of everything it uses, and its
  // deliveries go to the closed window queue, which drops them.
  const auto deadline = std::chrono::steady_clock::now() + kShutdownWait;
  bool allEnded = true;
  for (const std::shared_ptr<Search>& search : cancelled_) allEnded = search->WaitForWalks(deadline) && allEnded;
  cancelled_.clear();
  ReleaseKept();
  return allEnded;
}

}  // namespace tarnwell
