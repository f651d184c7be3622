#include "platform/text/text_decoding.h"

#include <cstdint>

#include "platform/text/gb18030.h"
#include "platform/text/gb18030_utf8.h"

namespace tarnwell {
namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    int trail;
    std::uint32_t code;
    std::uint32_t least;
    if (lead >= 0xC2 && lead <= 0xDF) {
      trail = 1, code = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      trail = 2, code = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      trail = 3, code = lead & 0x07, least = 0x10000;
    } else {
      return false;  // a trail byte alone, C0, C1 or F5 and above
    }
    if (bytes.size() - i <= static_cast<std::size_t>(trail)) return false;
    for (int k = 1; k <= trail; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(trail) + 1;
  }
  return true;
}

DetectedText DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return {TextEncoding::Utf8, bytes.substr(3)};
  if (bytes.starts_with("\xFF\xFE")) return {TextEncoding::Utf16LittleEndian, bytes.substr(2)};
  if (bytes.starts_with("\xFE\xFF")) return {TextEncoding::Utf16BigEndian, bytes.substr(2)};
  return {IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Gb18030, bytes};
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  auto unit = [&](std::size_t at) -> std::uint32_t {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return bigEndian ? (first << 8 | second) : (second << 8 | first);
  };
  const std::size_t units = bytes.size() / 2;
  for (std::size_t u = 0; u < units; ++u) {
    std::uint32_t code = unit(u * 2);
    if (code >= 0xD800 && code <= 0xDBFF && u + 1 < units) {
      std::uint32_t low = unit((u + 1) * 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, static_cast<char32_t>(0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00)));
        ++u;
        continue;
      }
    }
    AppendUtf8(out, static_cast<char32_t>(code >= 0xD800 && code <= 0xDFFF ? kReplacement : code));
  }
  return out;
}

std::string BodyAsUtf8OrGb18030(const DetectedText& text) {
  switch (text.encoding) {
    case TextEncoding::Utf16LittleEndian: return Utf16ToUtf8(text.body, false);
    case TextEncoding::Utf16BigEndian: return Utf16ToUtf8(text.body, true);
    case TextEncoding::Utf8:
    case TextEncoding::Gb18030: break;
  }
  return std::string(text.body);
}

std::optional<Text> Utf8ToProgramText(std::string_view utf8) {
  Text text = Utf8ToGb18030(utf8);
  // Only a conversion that comes back whole kept every character.
  if (Gb18030ToUtf8(text) != utf8) return std::nullopt;
  return text;
}

}  // namespace tarnwell
