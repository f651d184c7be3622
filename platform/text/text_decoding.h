// Text files from elsewhere (name lists) in the encodings they come in:
// telling the encoding, and turning what they hold into the program's text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

enum class TextEncoding {
  Utf8,                // with a byte-order mark, or valid UTF-8 without one
  Utf16LittleEndian,   // byte-order mark FF FE
  Utf16BigEndian,      // byte-order mark FE FF
  Gb18030,             // anything else: taken as the program's own text
};

struct DetectedText {
  TextEncoding encoding;
  std::string_view body;  // the bytes after the byte-order mark
};

// A byte-order mark decides; without one, bytes that are valid UTF-8 (ASCII
// included) are UTF-8, all others GBK.
DetectedText DetectEncoding(std::string_view bytes);

// Whether the bytes are well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view bytes);

// UTF-16 code units to UTF-8. A surrogate without its partner becomes
// U+FFFD; an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);

// The detected text as UTF-8 (UTF-16 converted), or the bytes unchanged for GBK.
std::string BodyAsUtf8OrGb18030(const DetectedText& text);

// UTF-8 to the program's text, or nothing when the text holds a character
// the program's text cannot hold (a lossy conversion would put "?" there,
// which is a wildcard and would match other files).
std::optional<Text> Utf8ToProgramText(std::string_view utf8);

}  // namespace tarnwell
