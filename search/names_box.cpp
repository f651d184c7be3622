#include "search/names_box.h"

namespace tarnwell {

RebuiltNamesBox RebuildNamesBox(std::string_view content) {
  static constexpr std::string_view kLineEnd = "\r\n";
  RebuiltNamesBox rebuilt;
  for (const Text& line : SplitText(content, kLineEnd)) {
    if (RemoveAllSpaces(line).empty()) continue;
    rebuilt.appended.push_back(Concat(line, kLineEnd));
    rebuilt.content += rebuilt.appended.back();
  }
  // Split again rather than reuse the kept lines: this is the content the box
  // now really holds.
  rebuilt.names = SplitText(rebuilt.content, kLineEnd);
  return rebuilt;
}

}  // namespace tarnwell
