// The record of every file that delete, recycle, copy, move and undo act
// on: "操作记录.csv" beside the program, one line per file written at the
// moment of the action (time, action, source, destination, outcome), on the
// batch's worker thread as the file work goes (never at once on two). The
// file is only ever appended to, its header written when it is new, so a
// crash loses at most the line in progress; it is held open while the
// record lives. A line that cannot be written never stops the batch; the
// batch tells the user at its end. A record is made at the start of each
// batch, which starts the batch's problem list; every failure recorded goes
// into that list too.
#pragma once

#include <memory>

#include "results/result_host.h"

namespace tarnwell {

enum class RecordedAction { Delete, Recycle, Copy, Move, UndoMove };

// programDirectory + "\操作记录.csv".
Text OperationRecordPath(const Text& programDirectory);

class OperationRecord {
 public:
  explicit OperationRecord(ResultHost& host);

  // An empty destination for a delete or a recycle.
  void Succeeded(RecordedAction action, const Text& source, const Text& destination);
  void Skipped(RecordedAction action, const Text& source, const Text& destination);
  // The file went in under another name than its own; `destination` is its new path.
  void Renamed(RecordedAction action, const Text& source, const Text& destination);
  // `code`: the system's error code behind `reason`, for the problem list.
  void Failed(RecordedAction action, const Text& source, const Text& destination, const Text& reason,
              std::uint32_t code = 0);
  // An earlier row of the same batch already acted on this file; `destination`
  // is where it went then.
  void AlreadyDone(RecordedAction action, const Text& source, const Text& destination);
  // The batch was stopped while it was at this file: nothing of it is left
  // at the destination, and the source is where it was.
  void Stopped(RecordedAction action, const Text& source, const Text& destination);
  // Succeeded, Stopped or Failed as the outcome says.
  void Write(RecordedAction action, const Text& source, const Text& destination, const FileOutcome& outcome);

  // Shows "操作记录写入失败！" when a line could not be written. For the end of
  // a batch, after its own texts.
  void TellWhenUnwritten();

 private:
  void Line(RecordedAction action, const Text& source, const Text& destination, const Text& outcome);

  ResultHost& host_;
  Text path_;
  std::unique_ptr<FileAppends> file_;  // opened at the first line, on the thread that writes it
  bool unwritten_ = false;
};

}  // namespace tarnwell
