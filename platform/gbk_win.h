// GBK <-> UTF-16 at the Win32 edge: the program calls only the wide Win32
// functions and converts with code page 936 explicitly.
#pragma once

#include <string>
#include <string_view>

#include "platform/text.h"

namespace tarnwell {

std::wstring GbkToWide(std::string_view gbk);
// Characters that GBK cannot hold become "?".
Text WideToGbk(std::wstring_view wide);

}  // namespace tarnwell
