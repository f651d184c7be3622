// Writes the folder it runs from, as ProgramDirectory finds it, into
// "probe.txt" in that folder. The file appears in the right place only when
// the folder was found right, and holds its GBK bytes for the test to compare.
#include "platform/files/file_system.h"
#include "platform/files/whole_file.h"

int main() {
  tarnwell::Text directory = tarnwell::ProgramDirectory();
  bool written = tarnwell::WriteWholeFile(tarnwell::Concat(directory, "\\probe.txt"), tarnwell::TextToBytes(directory));
  return written ? 0 : 1;
}
