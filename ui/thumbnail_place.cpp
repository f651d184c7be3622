#include "ui/thumbnail_place.h"

#include <array>
#include <charconv>
#include <string>

#include "platform/text/gbk_literal.h"
#include "ui/settings_file.h"

namespace tarnwell {
namespace {

const Text& ThumbnailPlaceKey() { return "缩略图窗口"_gbk; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<WindowPlace> ParseWindowPlace(std::string_view text) {
  std::array<int, 4> numbers{};
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const std::size_t comma = text.find(',');
    if ((comma == std::string_view::npos) != (i + 1 == numbers.size())) return std::nullopt;
    const std::string_view part = Trimmed(text.substr(0, comma));
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), numbers[i]);
    if (error != std::errc() || end != part.data() + part.size() || part.empty()) return std::nullopt;
    if (comma != std::string_view::npos) text.remove_prefix(comma + 1);
  }
  if (numbers[2] < kSmallestSide || numbers[3] < kSmallestSide) return std::nullopt;
  return WindowPlace{numbers[0], numbers[1], numbers[2], numbers[3]};
}

Text WindowPlaceText(const WindowPlace& place) {
  return Concat(std::to_string(place.left), ",", std::to_string(place.top), ",", std::to_string(place.width), ",",
                std::to_string(place.height));
}

std::optional<WindowPlace> ThumbnailPlaceChosen(std::string_view programDirectory) {
  return ParseWindowPlace(ReadSetting(programDirectory, ThumbnailPlaceKey()));
}

void SaveThumbnailPlace(std::string_view programDirectory, const WindowPlace& place) {
  WriteSetting(programDirectory, ThumbnailPlaceKey(), WindowPlaceText(place));
}

}  // namespace tarnwell
