#include "results/operation_record.h"

#include "platform/text/csv_writer.h"
#include "platform/text/gbk_literal.h"
#include "results/batch_transfer.h"

namespace tarnwell {
namespace {

const Text& ActionText(RecordedAction action) {
  switch (action) {
    case RecordedAction::Delete: return "删除"_gbk;
    case RecordedAction::Recycle: return "放入回收站"_gbk;
    case RecordedAction::Copy: return "复制"_gbk;
    case RecordedAction::Move: return "移动"_gbk;
    case RecordedAction::UndoMove: return "撤销移动"_gbk;
  }
  return "删除"_gbk;
}

// The byte-order mark and the column names, for a file that is new.
const std::string& Header() {
  static const std::string header = [] {
    CsvWriter names;
    names.Field("时间"_gbk).Field("操作"_gbk).Field("源路径"_gbk).Field("目标路径"_gbk).Field("结果"_gbk).EndLine();
    return names.Bytes();
  }();
  return header;
}

}  // namespace

Text OperationRecordPath(const Text& programDirectory) { return Concat(programDirectory, "\\"_gbk, "操作记录.csv"_gbk); }

OperationRecord::OperationRecord(ResultHost& host) : host_(host), path_(OperationRecordPath(host.ProgramDirectory())) {
  host_.StartBatchProblems();
}

void OperationRecord::Succeeded(RecordedAction action, const Text& source, const Text& destination) {
  Line(action, source, destination, "成功"_gbk);
}

void OperationRecord::Skipped(RecordedAction action, const Text& source, const Text& destination) {
  Line(action, source, destination, "跳过"_gbk);
}

void OperationRecord::Renamed(RecordedAction action, const Text& source, const Text& destination) {
  Line(action, source, destination, Concat("改名为"_gbk, FileNameOf(destination)));
}

void OperationRecord::Failed(RecordedAction action, const Text& source, const Text& destination, const Text& reason,
                             std::uint32_t code) {
  Line(action, source, destination, Concat("失败："_gbk, reason));
  host_.AddBatchProblem(Failure{ActionText(action), source, code, reason});
}

void OperationRecord::AlreadyDone(RecordedAction action, const Text& source, const Text& destination) {
  Line(action, source, destination, "本次已处理过"_gbk);
}

void OperationRecord::Stopped(RecordedAction action, const Text& source, const Text& destination) {
  Line(action, source, destination, "已停止"_gbk);
}

void OperationRecord::Write(RecordedAction action, const Text& source, const Text& destination,
                            const FileOutcome& outcome) {
  if (outcome.done) {
    Succeeded(action, source, destination);
  } else if (outcome.stopped) {
    Stopped(action, source, destination);
  } else {
    Failed(action, source, destination, outcome.failure, outcome.code);
  }
}

void OperationRecord::Line(RecordedAction action, const Text& source, const Text& destination, const Text& outcome) {
  CsvWriter line;
  line.Field(host_.LocalTimeNow()).Field(ActionText(action)).Field(source).Field(destination).Field(outcome).EndLine();
  if (!file_) file_ = host_.AppendsTo(path_);
  if (!file_->Append(Header(), line.Lines())) unwritten_ = true;
}

void OperationRecord::TellWhenUnwritten() {
  if (unwritten_) host_.ShowMessageBox("操作记录写入失败！"_gbk, MessageBoxStyle::Ok, Text());
}

}  // namespace tarnwell
