// The program's texts and the UTF-16 and UTF-8 around them. A Text holds
// GB18030: every character that code page 936 (GBK) holds in its GBK bytes,
// so that files written in GBK stay byte for byte what they were, and every
// other Unicode character in its four-byte form (lead 0x81-0xFE, a digit,
// 0x81-0xFE, a digit). Nothing is ever replaced by "?": a "?" is a wildcard
// and no character of a file name, so a lossy conversion could match or act
// on a file nobody named.
//
// Both directions are exact:
//  - every UTF-16 string, also one holding lone surrogates (which Windows
//    file names may hold), comes back from its Text unit for unit, so a
//    file is always acted on by its own name;
//  - every byte string (a settings file edited by hand) comes back from its
//    UTF-16 form byte for byte: a byte that starts no character becomes a
//    lone low surrogate U+DC80-U+DCFF and that surrogate becomes the byte
//    again. (The one exception: the unassigned four-byte codes this file
//    gives lone surrogates, see below, which no GB18030 text holds.)
//
// The code is the same on every platform; only code page 936 itself comes
// from the platform (Windows' own tables; elsewhere a copy of them).
#pragma once

#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

// UTF-16 code units as the platform's wide strings hold them: on Windows
// the wide strings of the Win32 functions themselves.
#if WCHAR_MAX == 0xFFFF
using Utf16Unit = wchar_t;
#else
using Utf16Unit = char16_t;
#endif
using Utf16 = std::basic_string<Utf16Unit>;
using Utf16View = std::basic_string_view<Utf16Unit>;

Text Utf16ToText(Utf16View wide);
Utf16 TextToUtf16(std::string_view text);

// UTF-8 (the source's literals, POSIX file names). A byte of UTF-8 that
// starts no character becomes a lone low surrogate as above and its byte
// again on the way back; other lone surrogates take the three bytes UTF-8
// would give them.
Utf16 Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(Utf16View wide);
// Appends the UTF-8 bytes of one code point (below 0x110000).
void AppendUtf8(std::string& utf8, char32_t code);

// Code page 936 as the platform holds it, strictly: all of the input is
// converted, or false is returned. Decoding appends the characters of
// `bytes`; encoding appends the bytes of `wide`, none of them by a best fit
// or a default character. Both convert only what reads back exactly.
bool DecodeCodePage936(std::string_view bytes, Utf16& out);
bool EncodeCodePage936(Utf16View wide, std::string& out);

// The four-byte forms, for the tests that compare them with other
// converters. A four-byte code has a linear number, its pointer: 0-39419
// hold the characters of the Basic Multilingual Plane that the two-byte
// codes leave out, in the order of the published GB18030 ranges table,
// 189000 on hold U+10000-U+10FFFF. The 80 characters that GB18030 gives
// two-byte codes where code page 936 holds private-use characters take the
// pointers GB18030 gives those private-use characters (as GB18030-2000 did
// for U+1E3F and U+E7C7). Pointers from kEscapePointer on, unassigned in
// GB18030, hold lone surrogates and any other unit without a form.
constexpr std::uint32_t kAstralPointer = 189000;
constexpr std::uint32_t kEscapePointer = 39420;
std::string FourByteCode(std::uint32_t pointer);

}  // namespace tarnwell
