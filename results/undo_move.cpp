#include "results/undo_move.h"

#include "platform/text/gbk_literal.h"
#include "results/file_work.h"
#include "results/operation_record.h"

namespace tarnwell {
namespace {

// Why the file cannot go back, or empty when it can.
Text Obstacle(ResultHost& host, const MovedFile& file) {
  if (!host.NothingAt(file.from)) return "原位置已有文件"_gbk;
  const auto now = host.IdentifyFile(file.to);
  // Gone, or there and not to be opened (no rights, held): two reasons.
  if (!now) return host.NothingAt(file.to) ? "文件已不在移动后的位置"_gbk : "无法打开移动后的文件"_gbk;
  // A file id tells the file; where the volume gives none (the identity is
  // then its path), its size and time must still be those it arrived with.
  if (file.identity && file.identity->path.empty()) {
    return *now == *file.identity ? Text() : "移动后的位置已是另一个文件"_gbk;
  }
  const auto facts = host.FactsOf(file.to);
  if (!file.facts || !facts || facts->size != file.facts->size || !TextEquals(facts->modified, file.facts->modified)) {
    return "文件在移动后已被更改"_gbk;
  }
  return Text();
}

}  // namespace

void UndoMove(ResultHost& host, MovedFiles& moved, BatchProgress* shared) {
  if (moved.empty()) return;
  const MovedFiles files = std::move(moved);
  moved.clear();
  BatchProgress own;
  BatchProgress& progress = shared ? *shared : own;
  FileWork work(host, progress);
  OperationRecord record(host);
  progress.Begin(BatchKind::Undo, static_cast<int>(files.size()));
  int back = 0;
  int stayed = 0;
  // Last moved first: a file moved into a path that an earlier one left
  // frees it again before that one goes back.
  for (std::size_t left = files.size(); left > 0; --left) {
    const MovedFile& file = files[left - 1];
    if (host.WindowClosed()) return progress.End();
    if (!progress.StopRequested()) {
      host.SetStatus("正在撤销移动，请稍等..."_gbk);
      host.ProcessPendingEvents();
      if (host.WindowClosed()) return progress.End();
    }
    const FileOutcome outcome = progress.StopRequested() ? FileOutcome::Stopped() : work.Run([&] {
      progress.BeginFile(file.to, 0);
      FileOutcome result;
      if (Text obstacle = Obstacle(host, file); !obstacle.empty()) {
        record.Failed(RecordedAction::UndoMove, file.to, file.from, obstacle);
        result = FileOutcome::Failed(obstacle);
      } else {
        // The old path was free a moment ago; a file that came there since stays.
        CopyOptions options;
        options.existing = ExistingFile::Keep;
        options.watch = &progress;
        result = host.MoveOneFile(file.to, file.from, options);
        record.Write(RecordedAction::UndoMove, file.to, file.from, result);
      }
      progress.EndFile();
      return result;
    });
    if (outcome.stopped) {
      // This file and those before it stay where the move put them, to be taken back later.
      moved.assign(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(left));
      break;
    }
    ++(outcome.done ? back : stayed);
  }
  progress.End();
  if (host.WindowClosed()) return;
  const bool stopped = progress.StopRequested();
  host.SetStatus(stopped ? Concat("已停止："_gbk, "撤销完毕！"_gbk) : "撤销完毕！"_gbk);
  host.ShowMessageBox(Concat(stopped ? "已停止："_gbk : Text(), "已移回"_gbk, NumberToText(back), "个文件，"_gbk,
                             NumberToText(stayed), "个文件未能移回。"_gbk),
                      MessageBoxStyle::Ok, Text());
  record.TellWhenUnwritten();
}

}  // namespace tarnwell
