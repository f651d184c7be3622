#include "results/batch_transfer.h"

#include <map>
#include <set>

#include "platform/text/gbk_literal.h"
#include "results/file_work.h"
#include "results/tick_scan.h"

namespace tarnwell {
namespace {

struct TransferTexts {
  const Text& browserTitle;
  const Text& progress;
  const Text& done;
  const Text& nothingTicked;
  const Text& failedVerb;  // "有N个文件未能" + this + "。", "已停止：已" + this + "N个文件。"
};

TransferTexts TextsFor(TransferKind kind) {
  if (kind == TransferKind::Copy) {
    return {"复制文件到"_gbk, "正在复制，请稍等..."_gbk, "复制完毕！"_gbk, "您没有选择要复制的文件！"_gbk, "复制"_gbk};
  }
  return {"移动文件到"_gbk, "正在移动，请稍等..."_gbk, "移动完毕！"_gbk, "您没有选择要移动的文件！"_gbk, "移动"_gbk};
}

// The box at the end, empty for none: a stop and what was done until then,
// the files that could not go, the copies read back whole.
Text EndBox(const TransferTexts& texts, bool stopped, int arrived, int failed, bool verify, int verified) {
  Text box;
  if (stopped) box = Concat("已停止：已"_gbk, texts.failedVerb, NumberToText(arrived), "个文件。"_gbk);
  if (failed > 0) box += Concat("有"_gbk, NumberToText(failed), "个文件未能"_gbk, texts.failedVerb, "。"_gbk);
  if (verify && verified > 0) box += Concat("已校验"_gbk, NumberToText(verified), "个文件，与源文件一致。"_gbk);
  return box;
}

// The folder of a row's path: everything before the "\" that precedes its name.
Text FolderOf(const Text& path) {
  const Text name = FileNameOf(path);
  return name.size() < path.size() ? path.substr(0, path.size() - name.size() - 1) : Text();
}

// One batch: the target, the rule for same names, the files moved so far.
class Transfer {
 public:
  Transfer(ResultHost& host, TransferKind kind, const TransferOptions& options, Text target, MovedFiles* moved,
           BatchProgress& progress)
      : host_(host), kind_(kind), options_(options), target_(std::move(target)), record_(host), moved_(moved),
        progress_(progress) {}

  // On the worker thread, one file at a time.
  void File(const Text& path);
  int Failed() const { return failed_; }
  int Arrived() const { return arrived_; }
  int Verified() const { return verified_; }
  OperationRecord& Record() { return record_; }

 private:
  RecordedAction Action() const { return kind_ == TransferKind::Copy ? RecordedAction::Copy : RecordedAction::Move; }
  void Fail(const Text& path, const Text& destination, const Text& reason, std::uint32_t code = 0) {
    record_.Failed(Action(), path, destination, reason, code);
    ++failed_;
  }
  FileOutcome Act(const Text& path, const Text& destination, ExistingFile existing) {
    CopyOptions copy;
    copy.existing = existing;
    copy.verify = options_.verify;
    copy.watch = &progress_;
    return kind_ == TransferKind::Copy ? host_.CopyOneFile(path, destination, copy)
                                       : host_.MoveOneFile(path, destination, copy);
  }
  // The destination names the source file itself (another spelling, a share of its disk).
  bool IsItself(const Text& path, const Text& destination) {
    auto there = host_.IdentifyFile(destination);
    return there && host_.IdentifyFile(path) == there;
  }
  // A file that arrived: counted, and counted as verified when its copy was read back.
  void CountArrival(int verifiedBefore) {
    ++arrived_;
    if (progress_.Read().filesVerified > verifiedBefore) ++verified_;
  }
  // Copies or moves under the next free numbered name: a name that a file
  // took between the look and the act is passed over, never replaced.
  std::optional<FileOutcome> ActRenamed(const Text& path, const Text& folder, Text& destination);

  ResultHost& host_;
  TransferKind kind_;
  const TransferOptions& options_;
  Text target_;  // ends in "\"
  OperationRecord record_;
  MovedFiles* moved_;
  // Files this command has moved into the target. A later ticked row with
  // the same file name must not replace one of them: the move's fallback
  // would then delete its source and the first file would be lost.
  std::set<FileIdentity> movedHere_;
  // The rows' paths this command has copied or moved, with where each went:
  // a file that two rows name (two wanted names found it, a list named it
  // twice) is done by its first row.
  std::map<Text, Text> done_;
  BatchProgress& progress_;
  int failed_ = 0;
  int arrived_ = 0;
  int verified_ = 0;
};

std::optional<FileOutcome> Transfer::ActRenamed(const Text& path, const Text& folder, Text& destination) {
  std::set<Text> taken;
  for (;;) {
    auto free = FirstFreeNumberedPath(folder, FileNameOf(path),
                                      [&](const Text& p) { return !taken.count(p) && host_.NothingAt(p); });
    if (!free) return std::nullopt;
    destination = *free;
    FileOutcome outcome = Act(path, destination, ExistingFile::Keep);
    if (!outcome.targetTaken) return outcome;  // done, failed or stopped
    taken.insert(destination);
  }
}

void Transfer::File(const Text& path) {
  if (auto done = done_.find(path); done != done_.end()) {
    record_.AlreadyDone(Action(), path, done->second);
    return;
  }
  Text folder = target_;
  if (options_.keepFolders) {
    const Text below = FolderBelowRoot(FolderOf(path), options_.roots);
    if (!below.empty()) {
      folder = Concat(target_, below);
      FileOutcome made = host_.CreateFolders(folder);
      if (!made.done) return Fail(path, Concat(folder, "\\", FileNameOf(path)), made.failure, made.code);
      folder += "\\";
    }
  }
  Text destination = Concat(folder, FileNameOf(path));
  // A copy that replaces needs no look first: the copy itself refuses to go
  // onto its own source, and only a copy that failed asks whether that was
  // why. Every other transfer looks once at the destination; the identities
  // of what is there and of the source only when something is: they cost as
  // much as a small file's copy on some systems.
  const bool replacingCopy = kind_ == TransferKind::Copy && options_.sameName == SameNameRule::Replace;
  const bool taken = !replacingCopy && !host_.NothingAt(destination);
  auto existing = taken ? host_.IdentifyFile(destination) : std::nullopt;
  if (existing && host_.IdentifyFile(path) == existing) {  // already there
    record_.Skipped(Action(), path, destination);
    return;
  }
  // Only 替换 replaces; the other rules act with operations that fail on a
  // file at the destination, never after a look that a file could outrun.
  const int verifiedBefore = progress_.Read().filesVerified;
  bool renamed = false;
  FileOutcome outcome;
  if (options_.sameName == SameNameRule::Replace) {
    if (kind_ == TransferKind::Move && existing && movedHere_.count(*existing)) {
      return Fail(path, destination, "目标中的同名文件是本次刚移入的"_gbk);
    }
    outcome = Act(path, destination, ExistingFile::Replace);
    if (replacingCopy && !outcome.done && !outcome.stopped && IsItself(path, destination)) {
      record_.Skipped(Action(), path, destination);
      return;
    }
  } else {
    if (!taken) outcome = Act(path, destination, ExistingFile::Keep);
    if (taken || outcome.targetTaken) {
      if (options_.sameName == SameNameRule::Skip) return record_.Skipped(Action(), path, destination);
      std::optional<FileOutcome> numbered = ActRenamed(path, folder, destination);
      if (!numbered) return Fail(path, destination, "没有空闲的新名称"_gbk);
      outcome = std::move(*numbered);
      renamed = true;
    }
  }
  // Stopped: nothing of the file is at the destination, its source is whole.
  if (outcome.stopped) return record_.Stopped(Action(), path, destination);
  if (!outcome.done) return Fail(path, destination, outcome.failure, outcome.code);
  done_.emplace(path, destination);
  // A move that fell back to copying may have left its source behind (read-only, held): the
  // file is in both places, which is no move.
  if (kind_ == TransferKind::Move && !host_.NothingAt(path)) {
    if (auto arrived = host_.IdentifyFile(destination)) movedHere_.insert(*arrived);
    return Fail(path, destination, "已复制到目标，但源文件未能删除"_gbk);
  }
  if (renamed) {
    record_.Renamed(Action(), path, destination);
  } else {
    record_.Succeeded(Action(), path, destination);
  }
  CountArrival(verifiedBefore);
  if (kind_ != TransferKind::Move) return;
  auto arrived = host_.IdentifyFile(destination);
  if (arrived) movedHere_.insert(*arrived);
  if (moved_) moved_->push_back({path, destination, arrived, host_.FactsOf(destination)});
}

}  // namespace

Text FileNameOf(const Text& path) { return RightText(path, TextLength(path) - FindLastText(path, "\\", false)); }

void BatchTransfer(ResultList& list, ResultHost& host, TransferKind kind, const TransferOptions& options,
                   MovedFiles* moved, BatchProgress* shared) {
  const TransferTexts texts = TextsFor(kind);
  const Text target = Concat(host.BrowseForFolder(texts.browserTitle), "\\");
  if (TextEquals(target, "\\")) return;  // the user cancelled

  BatchProgress own;
  BatchProgress& progress = shared ? *shared : own;
  FileWork work(host, progress);
  // The list stays as it is: a moved file's row keeps its old path, kept on
  // purpose (docs/behaviour.md).
  Transfer transfer(host, kind, options, target, moved, progress);
  progress.Begin(kind == TransferKind::Copy ? BatchKind::Copy : BatchKind::Move, TickedRowCount(list));
  const std::uint64_t weight = options.verify ? 2 : 1;  // a copy read back goes through its bytes twice
  const TickedSizes sizes(list, work, weight);
  int ticked = ScanTickedRows(
      list, host, texts.progress, ScanOrder::StatusThenEvents,
      [&](ResultList::RowId id, const Text& path) {
        work.Run([&] {
          progress.BeginFile(path, sizes.Of(id) * weight);
          transfer.File(path);
          progress.EndFile();
        });
      },
      progress);
  progress.End();
  if (host.WindowClosed()) return;  // nothing more is shown
  const bool stopped = progress.StopRequested();
  const Text& end = ticked > 0 || stopped ? texts.done : texts.nothingTicked;
  host.SetStatus(stopped ? Concat("已停止："_gbk, end) : end);
  const Text box = EndBox(texts, stopped, transfer.Arrived(), transfer.Failed(), options.verify, transfer.Verified());
  if (!box.empty()) host.ShowMessageBox(box, MessageBoxStyle::Ok, Text());
  transfer.Record().TellWhenUnwritten();
}

}  // namespace tarnwell
