#include "platform/text/gb18030.h"

#include "platform/text/gb18030_utf8.h"

#include <algorithm>
#include <optional>

namespace tarnwell {
namespace {

// The published GB18030 four-byte ranges table: from each pointer on, the
// code points rise with the pointer, starting at the one given; a range ends
// where the next begins (the last one at kEscapePointer).
struct Range {
  std::uint32_t pointer;
  char16_t first;
};
constexpr Range kRanges[] = {
    {0, 0x0080}, {36, 0x00A5}, {38, 0x00A9}, {45, 0x00B2}, {50, 0x00B8}, {81, 0x00D8}, {89, 0x00E2},
    {95, 0x00EB}, {96, 0x00EE}, {100, 0x00F4}, {103, 0x00F8}, {104, 0x00FB}, {105, 0x00FD}, {109, 0x0102},
    {126, 0x0114}, {133, 0x011C}, {148, 0x012C}, {172, 0x0145}, {175, 0x0149}, {179, 0x014E}, {208, 0x016C},
    {306, 0x01CF}, {307, 0x01D1}, {308, 0x01D3}, {309, 0x01D5}, {310, 0x01D7}, {311, 0x01D9}, {312, 0x01DB},
    {313, 0x01DD}, {341, 0x01FA}, {428, 0x0252}, {443, 0x0262}, {544, 0x02C8}, {545, 0x02CC}, {558, 0x02DA},
    {741, 0x03A2}, {742, 0x03AA}, {749, 0x03C2}, {750, 0x03CA}, {805, 0x0402}, {819, 0x0450}, {820, 0x0452},
    {7922, 0x2011}, {7924, 0x2017}, {7925, 0x201A}, {7927, 0x201E}, {7934, 0x2027}, {7943, 0x2031}, {7944, 0x2034},
    {7945, 0x2036}, {7950, 0x203C}, {8062, 0x20AD}, {8148, 0x2104}, {8149, 0x2106}, {8152, 0x210A}, {8164, 0x2117},
    {8174, 0x2122}, {8236, 0x216C}, {8240, 0x217A}, {8262, 0x2194}, {8264, 0x219A}, {8374, 0x2209}, {8380, 0x2210},
    {8381, 0x2212}, {8384, 0x2216}, {8388, 0x221B}, {8390, 0x2221}, {8392, 0x2224}, {8393, 0x2226}, {8394, 0x222C},
    {8396, 0x222F}, {8401, 0x2238}, {8406, 0x223E}, {8416, 0x2249}, {8419, 0x224D}, {8424, 0x2253}, {8437, 0x2262},
    {8439, 0x2268}, {8445, 0x2270}, {8482, 0x2296}, {8485, 0x229A}, {8496, 0x22A6}, {8521, 0x22C0}, {8603, 0x2313},
    {8936, 0x246A}, {8946, 0x249C}, {9046, 0x254C}, {9050, 0x2574}, {9063, 0x2590}, {9066, 0x2596}, {9076, 0x25A2},
    {9092, 0x25B4}, {9100, 0x25BE}, {9108, 0x25C8}, {9111, 0x25CC}, {9113, 0x25D0}, {9131, 0x25E6}, {9162, 0x2607},
    {9164, 0x260A}, {9218, 0x2641}, {9219, 0x2643}, {11329, 0x2E82}, {11331, 0x2E85}, {11334, 0x2E89}, {11336, 0x2E8D},
    {11346, 0x2E98}, {11361, 0x2EA8}, {11363, 0x2EAB}, {11366, 0x2EAF}, {11370, 0x2EB4}, {11372, 0x2EB8}, {11375, 0x2EBC},
    {11389, 0x2ECB}, {11682, 0x2FFC}, {11686, 0x3004}, {11687, 0x3018}, {11692, 0x301F}, {11694, 0x302A}, {11714, 0x303F},
    {11716, 0x3094}, {11723, 0x309F}, {11725, 0x30F7}, {11730, 0x30FF}, {11736, 0x312A}, {11982, 0x322A}, {11989, 0x3232},
    {12102, 0x32A4}, {12336, 0x3390}, {12348, 0x339F}, {12350, 0x33A2}, {12384, 0x33C5}, {12393, 0x33CF}, {12395, 0x33D3},
    {12397, 0x33D6}, {12510, 0x3448}, {12553, 0x3474}, {12851, 0x359F}, {12962, 0x360F}, {12973, 0x361B}, {13738, 0x3919},
    {13823, 0x396F}, {13919, 0x39D1}, {13933, 0x39E0}, {14080, 0x3A74}, {14298, 0x3B4F}, {14585, 0x3C6F}, {14698, 0x3CE1},
    {15583, 0x4057}, {15847, 0x4160}, {16318, 0x4338}, {16434, 0x43AD}, {16438, 0x43B2}, {16481, 0x43DE}, {16729, 0x44D7},
    {17102, 0x464D}, {17122, 0x4662}, {17315, 0x4724}, {17320, 0x472A}, {17402, 0x477D}, {17418, 0x478E}, {17859, 0x4948},
    {17909, 0x497B}, {17911, 0x497E}, {17915, 0x4984}, {17916, 0x4987}, {17936, 0x499C}, {17939, 0x49A0}, {17961, 0x49B8},
    {18664, 0x4C78}, {18703, 0x4CA4}, {18814, 0x4D1A}, {18962, 0x4DAF}, {19043, 0x9FA6}, {33469, 0xE76C}, {33470, 0xE7C8},
    {33471, 0xE7E7}, {33484, 0xE815}, {33485, 0xE819}, {33490, 0xE81F}, {33497, 0xE827}, {33501, 0xE82D}, {33505, 0xE833},
    {33513, 0xE83C}, {33520, 0xE844}, {33536, 0xE856}, {33550, 0xE865}, {37845, 0xF92D}, {37921, 0xF97A}, {37948, 0xF996},
    {38029, 0xF9E8}, {38038, 0xF9F2}, {38064, 0xFA10}, {38065, 0xFA12}, {38066, 0xFA15}, {38069, 0xFA19}, {38075, 0xFA22},
    {38076, 0xFA25}, {38078, 0xFA2A}, {39108, 0xFE32}, {39109, 0xFE45}, {39113, 0xFE53}, {39114, 0xFE58}, {39115, 0xFE67},
    {39116, 0xFE6C}, {39265, 0xFF5F}, {39394, 0xFFE6},
};

// Characters GB18030 gives the two-byte code at which code page 936 holds
// the private-use character beside it. Code page 936 keeps its character
// there, and the other one takes the four-byte code of that private-use
// character, which the code page no longer needs. Sorted by `character`.
struct Swap {
  char16_t character;
  char16_t privateUse;
};
constexpr Swap kSwaps[] = {
    {0x01F9, 0xE7C8}, {0x2E81, 0xE815}, {0x2E84, 0xE819}, {0x2E88, 0xE81C}, {0x2E8B, 0xE81D}, {0x2E8C, 0xE822},
    {0x2E97, 0xE823}, {0x2EA7, 0xE830}, {0x2EAA, 0xE833}, {0x2EAE, 0xE836}, {0x2EB3, 0xE838}, {0x2EB6, 0xE839},
    {0x2EB7, 0xE83A}, {0x2EBB, 0xE83E}, {0x2ECA, 0xE848}, {0x2FF0, 0xE7E8}, {0x2FF1, 0xE7E9}, {0x2FF2, 0xE7EA},
    {0x2FF3, 0xE7EB}, {0x2FF4, 0xE7EC}, {0x2FF5, 0xE7ED}, {0x2FF6, 0xE7EE}, {0x2FF7, 0xE7EF}, {0x2FF8, 0xE7F0},
    {0x2FF9, 0xE7F1}, {0x2FFA, 0xE7F2}, {0x2FFB, 0xE7F3}, {0x303E, 0xE7E7}, {0x3447, 0xE81B}, {0x3473, 0xE81A},
    {0x359E, 0xE81F}, {0x360E, 0xE821}, {0x361A, 0xE820}, {0x3918, 0xE825}, {0x396E, 0xE824}, {0x39CF, 0xE827},
    {0x39D0, 0xE82A}, {0x39DF, 0xE828}, {0x3A73, 0xE829}, {0x3B4E, 0xE82D}, {0x3C6E, 0xE82E}, {0x3CE0, 0xE82F},
    {0x4056, 0xE834}, {0x415F, 0xE835}, {0x4337, 0xE837}, {0x43AC, 0xE83D}, {0x43B1, 0xE83C}, {0x43DD, 0xE83F},
    {0x44D6, 0xE840}, {0x464C, 0xE842}, {0x4661, 0xE841}, {0x4723, 0xE844}, {0x4729, 0xE845}, {0x477C, 0xE846},
    {0x478D, 0xE847}, {0x4947, 0xE849}, {0x497A, 0xE84A}, {0x497D, 0xE84B}, {0x4982, 0xE84C}, {0x4983, 0xE84D},
    {0x4985, 0xE84E}, {0x4986, 0xE84F}, {0x499B, 0xE851}, {0x499F, 0xE850}, {0x49B6, 0xE853}, {0x49B7, 0xE852},
    {0x4C77, 0xE85A}, {0x4C9F, 0xE857}, {0x4CA0, 0xE858}, {0x4CA1, 0xE859}, {0x4CA2, 0xE85B}, {0x4CA3, 0xE856},
    {0x4D13, 0xE85C}, {0x4D14, 0xE85D}, {0x4D15, 0xE85E}, {0x4D16, 0xE85F}, {0x4D17, 0xE860}, {0x4D18, 0xE861},
    {0x4D19, 0xE862}, {0x4DAE, 0xE863},
};

constexpr std::uint32_t kEscapeEnd = kEscapePointer + 0x10000;
constexpr std::uint32_t kAstralEnd = kAstralPointer + 0x100000;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
bool IsSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
// Lone low surrogates that stand for a byte no character starts with.
bool IsByteSurrogate(char32_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }

const Swap* SwapOfCharacter(char32_t c) {
  auto found = std::lower_bound(std::begin(kSwaps), std::end(kSwaps), c,
                                [](const Swap& swap, char32_t value) { return swap.character < value; });
  return found != std::end(kSwaps) && found->character == c ? found : nullptr;
}

const Swap* SwapOfPrivateUse(char32_t c) {
  if (c < 0xE7C8 || c > 0xE863) return nullptr;
  for (const Swap& swap : kSwaps) {
    if (swap.privateUse == c) return &swap;
  }
  return nullptr;
}

// The pointer the ranges table gives a BMP code point, if any.
std::optional<std::uint32_t> RangesPointer(char32_t c) {
  auto after = std::upper_bound(std::begin(kRanges), std::end(kRanges), c,
                                [](char32_t value, const Range& range) { return value < range.first; });
  if (after == std::begin(kRanges)) return std::nullopt;
  const Range& range = *(after - 1);
  std::uint32_t end = after == std::end(kRanges) ? kEscapePointer : after->pointer;
  std::uint32_t pointer = range.pointer + (c - range.first);
  if (pointer >= end) return std::nullopt;
  return pointer;
}

char32_t RangesCodePoint(std::uint32_t pointer) {
  auto after = std::upper_bound(std::begin(kRanges), std::end(kRanges), pointer,
                                [](std::uint32_t value, const Range& range) { return value < range.pointer; });
  const Range& range = *(after - 1);
  return range.first + (pointer - range.pointer);
}

void AppendFourByte(std::uint32_t pointer, std::string& out) {
  out.push_back(static_cast<char>(0x81 + pointer / 12600));
  out.push_back(static_cast<char>(0x30 + pointer / 1260 % 10));
  out.push_back(static_cast<char>(0x81 + pointer / 10 % 126));
  out.push_back(static_cast<char>(0x30 + pointer % 10));
}

bool HeldByCodePage936(char32_t c) {
  Utf16Unit unit = static_cast<Utf16Unit>(c);
  std::string ignored;
  return EncodeCodePage936(Utf16View(&unit, 1), ignored);
}

// The pointer of a BMP unit that code page 936 does not hold.
std::uint32_t FourBytePointer(char32_t c) {
  if (const Swap* swap = SwapOfCharacter(c)) return *RangesPointer(swap->privateUse);
  // A private-use character whose code a swap took has no code of its own:
  // were code page 936 ever to leave one out, it still gets a unique one.
  if (SwapOfPrivateUse(c) == nullptr && !IsSurrogate(c)) {
    if (auto pointer = RangesPointer(c)) return *pointer;
  }
  return kEscapePointer + c;
}

// Appends the Text of one BMP character (not ASCII, no surrogate).
void AppendCharacter(char32_t c, std::string& out) {
  Utf16Unit unit = static_cast<Utf16Unit>(c);
  if (EncodeCodePage936(Utf16View(&unit, 1), out)) return;
  AppendFourByte(FourBytePointer(c), out);
}

// The slow way, unit by unit. With escapeBytes every lone surrogate takes a
// four-byte code; without, those of U+DC80-U+DCFF become their byte.
Text EncodeByUnits(Utf16View wide, bool escapeBytes) {
  Text text;
  text.reserve(wide.size() * 2);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t unit = static_cast<char16_t>(wide[i]);
    if (unit < 0x80) {
      text.push_back(static_cast<char>(unit));
    } else if (IsHighSurrogate(unit) && i + 1 < wide.size() && IsLowSurrogate(static_cast<char16_t>(wide[i + 1]))) {
      char32_t low = static_cast<char16_t>(wide[++i]);
      AppendFourByte(kAstralPointer + ((unit - 0xD800) << 10) + (low - 0xDC00), text);
    } else if (IsSurrogate(unit)) {
      if (!escapeBytes && IsByteSurrogate(unit)) {
        text.push_back(static_cast<char>(unit - 0xDC00));
      } else {
        AppendFourByte(kEscapePointer + unit, text);
      }
    } else {
      AppendCharacter(unit, text);
    }
  }
  return text;
}

// The units of the four-byte code at `at` (a lead byte 0x81-0xFE, checked by
// the caller), or nothing when that code is no character's (or another
// form of one that has a shorter code).
std::optional<Utf16> DecodeFourByte(std::string_view text, std::size_t at) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
  std::uint32_t pointer = (byte(0) - 0x81u) * 12600 + (byte(1) - 0x30u) * 1260 + (byte(2) - 0x81u) * 10 + (byte(3) - 0x30u);
  if (pointer >= kAstralPointer && pointer < kAstralEnd) {
    char32_t c = 0x10000 + (pointer - kAstralPointer);
    return Utf16{static_cast<Utf16Unit>(0xD800 + ((c - 0x10000) >> 10)), static_cast<Utf16Unit>(0xDC00 + (c & 0x3FF))};
  }
  char32_t c;
  if (pointer < kEscapePointer) {
    c = RangesCodePoint(pointer);
    if (const Swap* swap = SwapOfPrivateUse(c)) c = swap->character;
  } else if (pointer < kEscapeEnd) {
    c = pointer - kEscapePointer;
    if (c < 0x80) return std::nullopt;
  } else {
    return std::nullopt;
  }
  // Only the code the encoder itself gives the character.
  if (!IsSurrogate(c) && (HeldByCodePage936(c) || FourBytePointer(c) != pointer)) return std::nullopt;
  return Utf16(1, static_cast<Utf16Unit>(c));
}

// The slow way, character by character.
Utf16 DecodeByCharacters(std::string_view text) {
  Utf16 wide;
  wide.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      wide.push_back(byte);
      ++i;
      continue;
    }
    if (byte >= 0x81 && CharacterLength(text, i) == 4) {
      if (auto units = DecodeFourByte(text, i)) {
        wide += *units;
        i += 4;
        continue;
      }
    }
    // Two bytes, or one (code page 936 holds the euro sign as 0x80).
    if (i + 1 < text.size() && DecodeCodePage936(text.substr(i, 2), wide)) {
      i += 2;
    } else if (DecodeCodePage936(text.substr(i, 1), wide)) {
      ++i;
    } else {
      wide.push_back(static_cast<Utf16Unit>(0xDC00 + byte));
      ++i;
    }
  }
  return wide;
}

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

template <class Unit>
bool IsAsciiWide(std::basic_string_view<Unit> s) {
  return std::all_of(s.begin(), s.end(), [](Unit c) { return static_cast<char16_t>(c) < 0x80; });
}

}  // namespace

std::string FourByteCode(std::uint32_t pointer) {
  std::string code;
  AppendFourByte(pointer, code);
  return code;
}

Text Utf16ToText(Utf16View wide) {
  if (IsAsciiWide(wide)) return Text(wide.begin(), wide.end());
  Text text;
  if (EncodeCodePage936(wide, text)) return text;
  text = EncodeByUnits(wide, false);
  // A byte that stood for a lone surrogate may make a character with the
  // bytes after it: then that name takes the four-byte codes, which read back
  // as what they are.
  bool holdsByteSurrogate =
      std::any_of(wide.begin(), wide.end(), [](Utf16Unit unit) { return IsByteSurrogate(static_cast<char16_t>(unit)); });
  if (holdsByteSurrogate && TextToUtf16(text) != wide) text = EncodeByUnits(wide, true);
  return text;
}

Utf16 TextToUtf16(std::string_view text) {
  if (IsAscii(text)) return Utf16(text.begin(), text.end());
  Utf16 wide;
  wide.reserve(text.size());
  if (DecodeCodePage936(text, wide)) return wide;
  return DecodeByCharacters(text);
}

Utf16 Utf8ToUtf16(std::string_view utf8) {
  Utf16 wide;
  wide.reserve(utf8.size());
  auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  std::size_t i = 0;
  while (i < utf8.size()) {
    unsigned char lead = byteAt(i);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                         : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length > 0 && i + length <= utf8.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      valid = (byteAt(i + k) & 0xC0) == 0x80;
      c = (c << 6) | (byteAt(i + k) & 0x3F);
    }
    // No overlong forms, nothing beyond U+10FFFF.
    valid = valid && !(length == 3 && c < 0x800) && !(length == 4 && (c < 0x10000 || c > 0x10FFFF));
    if (!valid) {
      wide.push_back(static_cast<Utf16Unit>(0xDC00 + lead));
      ++i;
    } else if (c >= 0x10000) {
      wide.push_back(static_cast<Utf16Unit>(0xD800 + ((c - 0x10000) >> 10)));
      wide.push_back(static_cast<Utf16Unit>(0xDC00 + (c & 0x3FF)));
      i += length;
    } else {
      wide.push_back(static_cast<Utf16Unit>(c));
      i += length;
    }
  }
  return wide;
}

void AppendUtf8(std::string& utf8, char32_t code) {
  if (code < 0x80) {
    utf8.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    utf8.push_back(static_cast<char>(0xC0 | (code >> 6)));
    utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    utf8.push_back(static_cast<char>(0xE0 | (code >> 12)));
    utf8.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    utf8.push_back(static_cast<char>(0xF0 | (code >> 18)));
    utf8.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    utf8.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

std::string Utf16ToUtf8(Utf16View wide) {
  auto encode = [&](bool escapeBytes) {
    std::string utf8;
    utf8.reserve(wide.size() * 3);
    auto append = [&](char32_t c) { AppendUtf8(utf8, c); };
    for (std::size_t i = 0; i < wide.size(); ++i) {
      char32_t unit = static_cast<char16_t>(wide[i]);
      if (IsHighSurrogate(unit) && i + 1 < wide.size() && IsLowSurrogate(static_cast<char16_t>(wide[i + 1]))) {
        append(0x10000 + ((unit - 0xD800) << 10) + (static_cast<char16_t>(wide[++i]) - 0xDC00));
      } else if (!escapeBytes && IsByteSurrogate(unit)) {
        utf8.push_back(static_cast<char>(unit - 0xDC00));
      } else {
        append(unit);
      }
    }
    return utf8;
  };
  std::string utf8 = encode(false);
  bool holdsByteSurrogate =
      std::any_of(wide.begin(), wide.end(), [](Utf16Unit unit) { return IsByteSurrogate(static_cast<char16_t>(unit)); });
  if (holdsByteSurrogate && Utf8ToUtf16(utf8) != wide) utf8 = encode(true);
  return utf8;
}

Text Utf8ToGb18030(std::string_view utf8) {
  if (IsAscii(utf8)) return Text(utf8);
  return Utf16ToText(Utf8ToUtf16(utf8));
}

std::string Gb18030ToUtf8(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  return Utf16ToUtf8(TextToUtf16(text));
}

}  // namespace tarnwell
