#include "results/report_file.h"

namespace tarnwell {

bool WriteAndOpenBesideProgram(ResultHost& host, const Text& fileName, std::string_view bytes, const Text& failure) {
  // Beside the program, kept on purpose (docs/behaviour.md).
  const Text path = Concat(host.ProgramDirectory(), "\\", fileName);
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  if (!host.WriteWholeFile(path, {data, bytes.size()})) {
    host.ShowMessageBox(failure, MessageBoxStyle::Ok, Text());
    return false;
  }
  host.ShellOpen(path);
  return true;
}

}  // namespace tarnwell
