// Where the thumbnail window was when it last closed: the key "缩略图窗口" in
// config.ini's section zhuce, "left,top,width,height" in screen pixels,
// written when the window closes and read when it opens.
#pragma once

#include <optional>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

struct WindowPlace {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Four integers separated by commas (spaces around them allowed), the
// width and height at least kSmallestSide; nothing for anything else.
std::optional<WindowPlace> ParseWindowPlace(std::string_view text);
Text WindowPlaceText(const WindowPlace& place);

std::optional<WindowPlace> ThumbnailPlaceChosen(std::string_view programDirectory);
void SaveThumbnailPlace(std::string_view programDirectory, const WindowPlace& place);

constexpr int kSmallestSide = 100;

}  // namespace tarnwell
