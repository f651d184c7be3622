// What the fuzz targets share: the input cut into fields at its zero bytes
// (texts hold no zero byte, so the zero byte separates them), and the check
// that reports a broken property with the texts involved and stops the
// fuzzer, which then keeps the input as a crash file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell::fuzz {

inline std::vector<std::string_view> SplitFields(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= input.size(); ++i) {
    if (i == input.size() || input[i] == '\0') {
      fields.push_back(input.substr(start, i - start));
      start = i + 1;
    }
  }
  return fields;
}

// The text as a C string literal, every byte outside printable ASCII escaped.
inline std::string Escaped(std::string_view text) {
  std::string escaped = "\"";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
      escaped.push_back(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      escaped += hex;
    }
  }
  return escaped + "\"";
}

// Stops the run when `holds` is false, naming the property and the texts.
inline void Require(bool holds, const char* property, std::initializer_list<std::string_view> texts = {}) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  for (std::string_view text : texts) std::fprintf(stderr, "  %s\n", Escaped(text).c_str());
  std::abort();
}

}  // namespace tarnwell::fuzz
