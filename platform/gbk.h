// Conversions between the program's GBK texts and the encodings around it.
// Code page 936 is named explicitly everywhere: the program never depends on
// the system's code page.
#pragma once

#include <string>
#include <string_view>

#include "platform/text.h"

namespace tarnwell {

// UTF-8 to GBK. Characters GBK cannot hold become "?".
Text Utf8ToGbk(std::string_view utf8);
// GBK to UTF-8. Bytes that are no GBK character become U+FFFD or "?".
std::string GbkToUtf8(std::string_view gbk);

}  // namespace tarnwell
