// Name lists dropped on the names box: text files (.txt) with one name a
// line, and CSV files (.csv) whose first column holds the names. The file's
// bytes become the program's names; what the box gets appended is built here.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

enum class NameListFormat { Lines, Csv };

// What a dropped list file may weigh: a larger one is refused whole.
constexpr std::size_t kMaxNameListBytes = 64u << 20;

// The lines of a text, split at CR LF, LF or CR.
TextList SplitLines(std::string_view text);

// The first field of every record of a CSV text (RFC 4180): fields are
// separated by commas, records by line breaks; a field in double quotes may
// hold commas, line breaks and doubled quotes (one quote each). Lenient with
// what the rules do not allow: a quote inside an unquoted field is a
// character, text after a closing quote belongs to the field, and an
// unclosed quote runs to the end. Separators are ASCII, so the text may be
// UTF-8 or the program's own.
TextList CsvFirstColumn(std::string_view text);

// The names a list file's bytes hold, in order, as the program's texts: the
// encoding is told by the bytes (text_decoding.h); each line (Lines) or each
// first field (Csv, whose line breaks part it into lines) is a name. Empty
// names are left out, and so are names holding a NUL or a character the
// program's text cannot hold.
TextList NamesInListFile(std::string_view bytes, NameListFormat format);

// What to append to a names box holding `existing` so that every name ends
// up on a line of its own after the box's text: a line break first when the
// box's text does not end with one, then each name followed by CR LF. Empty
// when there are no names.
Text NamesBoxAddition(std::string_view existing, const TextList& names);

}  // namespace tarnwell
