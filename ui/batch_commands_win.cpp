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
  RunAlone([this] { BatchDelete(window_.Results(), host_); });
}

void BatchCommands::Copy() { Transfer(TransferKind::Copy); }

void BatchCommands::Move() { Transfer(TransferKind::Move); }

void BatchCommands::Transfer(TransferKind kind) {
  RunAlone([this, kind] {
    TransferOptions options;
    options.sameName = SameNameRuleChosen(programDirectory_);
    options.keepFolders = KeepFoldersChosen(programDirectory_);
    options.roots = searches_.LastSearchRoots();
    if (kind == TransferKind::Copy) {
      BatchTransfer(window_.Results(), host_, kind, options);
      return;
    }
    // A move that was cancelled, or moved nothing, leaves the last one to undo.
    MovedFiles moved;
    BatchTransfer(window_.Results(), host_, kind, options, &moved);
    if (!moved.empty()) lastMove_ = std::move(moved);
  });
}

void BatchCommands::UndoLastMove() {
  RunAlone([this] { UndoMove(host_, lastMove_); });
}

}  // namespace tarnwell
