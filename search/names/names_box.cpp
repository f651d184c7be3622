#include "search/names/names_box.h"

namespace tarnwell {

Text RebuildNamesBox(std::string_view content) {
  static constexpr std::string_view kLineEnd = "\r\n";
  Text rebuilt;
  for (const Text& line : SplitText(content, kLineEnd)) {
    if (RemoveAllSpaces(line).empty()) continue;
    rebuilt.append(line);
    rebuilt.append(kLineEnd);
  }
  return rebuilt;
}

}  // namespace tarnwell
