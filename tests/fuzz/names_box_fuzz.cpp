// Fuzz target: the rebuild of the names box. The whole input is the box's
// content. The kept lines are the box's lines (split at CR LF on character
// boundaries) that hold more than half-width and full-width spaces, each as
// typed; the rebuilt box is those lines, each followed by CR LF; the names
// (that box split at CR LF, as the search splits it) are the kept lines
// whenever the last one ends on a whole character (any box that came from
// an edit control); and rebuilding the rebuilt box changes nothing then.
#include <cstdint>
#include <string>

#include "search/names_box.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/reference_text.h"

using namespace tarnwell;
using namespace tarnwell::fuzz;

namespace {

// Whether the text's last character is a lead byte without its trail byte.
bool EndsInLoneLeadByte(std::string_view text) {
  std::size_t i = 0;
  std::size_t last = 0;
  for (; i < text.size(); i += RefCharacterLength(text, i)) last = i;
  return !text.empty() && last == text.size() - 1 && RefIsLead(text.back());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view content(reinterpret_cast<const char*>(data), size);
  const Text box = RebuildNamesBox(content);

  std::vector<std::string> kept;
  for (const std::string& line : RefSplit(content, "\r\n")) {
    if (!RefRemoveSpaces(line).empty()) kept.push_back(line);
  }
  std::string rebuilt;
  for (const std::string& line : kept) rebuilt += line + "\r\n";
  Require(box == rebuilt, "the rebuilt box is the kept lines as typed, each followed by CR LF", {content, box});

  if (kept.empty() || !EndsInLoneLeadByte(kept.back())) {
    Require(SplitText(box, "\r\n") == kept, "the names are the kept lines", {content, box});
    Require(RebuildNamesBox(box) == box, "a rebuilt box rebuilds to itself", {box});
  }
  return 0;
}
