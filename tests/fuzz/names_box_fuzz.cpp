// Fuzz target: the rebuild of the names box. The whole input is the box's
// content. The kept lines are the box's lines (split at CR LF on character
// boundaries) that hold more than half-width and full-width spaces, each as
// typed; the rebuilt box is those lines, each followed by CR LF; the names
// are that box split at CR LF, which gives the kept lines back whenever the
// last one ends on a whole character (any box that came from an edit
// control); and rebuilding the rebuilt box changes nothing then.
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
  RebuiltNamesBox box = RebuildNamesBox(content);

  std::vector<std::string> kept;
  for (const std::string& line : RefSplit(content, "\r\n")) {
    if (!RefRemoveSpaces(line).empty()) kept.push_back(line);
  }
  Require(box.appended.size() == kept.size(), "one appended piece per kept line", {content});
  std::string rebuilt;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    Require(box.appended[i] == kept[i] + "\r\n", "each kept line as typed, followed by CR LF", {content, box.appended[i]});
    rebuilt += box.appended[i];
  }
  Require(box.content == rebuilt, "the rebuilt box is the appended pieces", {content, box.content});
  Require(box.names == RefSplit(box.content, "\r\n"), "the names are the rebuilt box's lines", {content, box.content});

  if (kept.empty() || !EndsInLoneLeadByte(kept.back())) {
    Require(box.names == kept, "the names are the kept lines", {content, box.content});
    Require(RebuildNamesBox(box.content).content == box.content, "a rebuilt box rebuilds to itself", {box.content});
  }
  return 0;
}
