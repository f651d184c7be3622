// The names box's tidying commands: pure rewrites of the box's whole text,
// line by line, for lists as people send them (several names on one line,
// bullets and numbering, ranges of photo numbers, full-width characters).
// Lines are the box's CR LF lines; every line of the result is followed by
// CR LF, as a rebuilt names box holds them, and has no half-width or
// full-width spaces at its ends (no Windows file name ends in a space, so a
// name with one would find nothing). Every rewrite steps over the text
// character by character, so no character is ever cut.
//
// A numbering "1、" with no space after it is told from a separator by the
// lines around it: the lines of the box that start with digits and "、"
// count 1, 2, 3 ... from the first (each one more than the one before,
// blank lines and other lines between them left out), and where the box
// holds a single such line, no separator follows in it. So "1、3551" and
// "2、3552" on two lines are a numbered list of 3551 and 3552, "1、3551"
// alone is 3551, and "3551、3552、3560" or "1、2、3" are names split at "、".
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

// Splits every line at "," "，" ";" "；" "、" "|" and tab into one name per
// line, after dropping a leading numbering "1、" (see above), which would
// otherwise become a name of its own. Empty names are dropped; a line
// holding no separator stays as it is, but for the spaces at its ends.
Text SplitAtSeparators(std::string_view box);

// As SplitAtSeparators, and at half-width and full-width spaces too.
Text SplitAtSeparatorsAndSpaces(std::string_view box);

// Drops a leading list marker and the spaces and tabs around it: one of the
// bullets • · ● ○ ■ □ ◆ ▪ ★, one of the bullets - * > when a space or tab
// follows it, or a numbering 1. 1) 1、 (1) （1） ①-⑳ when a space or tab
// follows it, or a numbering "1、" told by the lines around it (see above).
// So "1.jpg" and "2024.05 合同" stay whole.
Text DropListMarkers(std::string_view box);

// A line that is wholly a range of numbers becomes one line per number:
// "12-20", also with ~ ～ – — 至 between the numbers and spaces around them,
// with a prefix holding no digit ("IMG_0012-0020", "IMG_0012-IMG_0020", the
// second prefix equal to the first, ASCII case ignored) and an extension
// after the last number ("IMG_0012-0020.jpg"). Every number takes the first
// one's width, padded with zeros. A range whose end is below its start or
// that spans more than kMaxRangeNumbers numbers stays as it is. Nothing when
// the whole result would hold more than kMaxTidiedLines lines or
// kMaxTidiedBytes bytes: a thousand pasted ranges must not become a hundred
// million lines.
std::optional<Text> ExpandNumberRanges(std::string_view box);
inline constexpr int kMaxRangeNumbers = 100000;
inline constexpr std::size_t kMaxTidiedLines = 1000000;
inline constexpr std::size_t kMaxTidiedBytes = std::size_t{64} << 20;

// The full-width forms of ASCII (U+FF01-U+FF5E) and the full-width space
// become their half-width characters.
Text FullWidthToHalfWidth(std::string_view box);

// Drops every line equal to an earlier one, ASCII case ignored, keeping the
// order. Blank lines are no names and stay where they are.
Text DropRepeatedLines(std::string_view box);

// FullWidthToHalfWidth, SplitAtSeparators, DropListMarkers,
// ExpandNumberRanges, DropRepeatedLines, in that order; nothing when the
// ranges would make the list too long.
std::optional<Text> TidyNameList(std::string_view box);

}  // namespace tarnwell
