#include "results/batch_transfer.h"

#include <set>

#include "platform/gbk_literal.h"
#include "results/tick_scan.h"

namespace tarnwell {
namespace {

struct TransferTexts {
  const Text& browserTitle;
  const Text& progress;
  const Text& done;
  const Text& nothingTicked;
};

TransferTexts TextsFor(TransferKind kind) {
  if (kind == TransferKind::Copy) {
    return {"复制文件到"_gbk, "正在复制，请稍等..."_gbk, "复制完毕！"_gbk, "您没有选择要复制的文件！"_gbk};
  }
  return {"移动文件到"_gbk, "正在移动，请稍等..."_gbk, "移动完毕！"_gbk, "您没有选择要移动的文件！"_gbk};
}

}  // namespace

Text FileNameOf(const Text& path) { return RightText(path, TextLength(path) - FindLastText(path, "\\", false)); }

void BatchTransfer(ResultList& list, ResultHost& host, TransferKind kind) {
  const TransferTexts texts = TextsFor(kind);
  const Text target = Concat(host.BrowseForFolder(texts.browserTitle), "\\");
  if (TextEquals(target, "\\")) return;  // the user cancelled

  // Files this command has moved into the target folder. A later ticked row
  // with the same file name must not overwrite one of them: the move's
  // fallback would then delete its source and the first file would be lost.
  std::set<FileIdentity> movedHere;
  int ticked = ScanTickedRows(list, host, texts.progress, ScanOrder::StatusThenEvents,
                              [&](ResultList::RowId, const Text& path) {
                                const Text destination = Concat(target, FileNameOf(path));
                                auto source = host.IdentifyFile(path);
                                auto existing = host.IdentifyFile(destination);
                                if (source && existing && *source == *existing) return;  // already there
                                if (kind == TransferKind::Copy) {
                                  host.CopyOneFile(path, destination);
                                  return;
                                }
                                if (existing && movedHere.count(*existing)) return;
                                if (host.MoveOneFile(path, destination)) {
                                  if (auto moved = host.IdentifyFile(destination)) movedHere.insert(*moved);
                                }
                              });
  if (host.WindowClosed()) return;  // nothing more is shown
  host.SetStatus(ticked > 0 ? texts.done : texts.nothingTicked);
}

}  // namespace tarnwell
