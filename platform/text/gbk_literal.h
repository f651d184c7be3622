// The program's Chinese literals are written in UTF-8 source as
// "正在搜索"_gbk; each literal is converted to the program's text (GBK bytes
// for every character GBK holds) once, on first use, and the same Text is
// handed out after that.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "platform/text/gb18030_utf8.h"

namespace tarnwell {

template <std::size_t N>
struct Utf8Literal {
  char bytes[N]{};
  constexpr Utf8Literal(const char (&literal)[N]) { std::copy_n(literal, N, bytes); }
  constexpr std::string_view view() const { return {bytes, N - 1}; }
};

template <Utf8Literal Source>
const Text& operator""_gbk() {
  static const Text converted = Utf8ToGb18030(Source.view());
  return converted;
}

}  // namespace tarnwell
