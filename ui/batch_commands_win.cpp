#include "ui/batch_commands_win.h"

#include "results/batch_delete.h"
#include "results/undo_move.h"
#include "ui/settings_handlers.h"

namespace tarnwell {

template <class Command>
void BatchCommands::RunAlone(Command command) {
  if (running_) return;  // a click while another batch runs does nothing
  running_ = true;
  struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{running_};
  command();
}

void BatchCommands::Delete() {
  RunAlone([this] { BatchDelete(window_.Results(), host_, &progress_); });
}

void BatchCommands::Copy() { Transfer(TransferKind::Copy); }

void BatchCommands::Move() { Transfer(TransferKind::Move); }

void BatchCommands::Transfer(TransferKind kind) {
  RunAlone([this, kind] {
    TransferOptions options;
    options.sameName = SameNameRuleChosen(programDirectory_);
    options.keepFolders = KeepFoldersChosen(programDirectory_);
    options.verify = VerifyCopiesChosen(programDirectory_);
    options.roots = searches_.LastSearchRoots();
    if (kind == TransferKind::Copy) {
      BatchTransfer(window_.Results(), host_, kind, options, nullptr, &progress_);
      return;
    }
    // A move that was cancelled, or moved nothing, leaves the last one to undo.
    // (An undo that was stopped leaves what it did not reach.)
    MovedFiles moved;
    BatchTransfer(window_.Results(), host_, kind, options, &moved, &progress_);
    if (!moved.empty()) lastMove_ = std::move(moved);
  });
}

void BatchCommands::UndoLastMove() {
  RunAlone([this] { UndoMove(host_, lastMove_, &progress_); });
}

}  // namespace tarnwell
