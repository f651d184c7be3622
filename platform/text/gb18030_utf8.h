// Conversions between the program's texts (GB18030: GBK and, for what GBK
// lacks, four-byte codes; see gb18030.h) and UTF-8. Both are exact: no
// character is ever replaced, and bytes that are no character come back as
// they were.
#pragma once

#include <string>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

Text Utf8ToGb18030(std::string_view utf8);
std::string Gb18030ToUtf8(std::string_view text);

}  // namespace tarnwell
