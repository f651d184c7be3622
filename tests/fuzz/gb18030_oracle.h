// The C library's GB18030 converter (iconv), an implementation of its own,
// as the oracle of the program's conversion: for every character they must
// give the same bytes, except where Windows' code page 936, which the
// program follows for what GBK holds, differs from GB18030. Those places are
// listed here, from the code page's side.
#pragma once

#include <iconv.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwell::fuzz {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  // Nothing when the converter refuses any of the input.
  std::optional<std::string> operator()(std::string_view input) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string output(input.size() * 4 + 8, '\0');
    char* in = const_cast<char*>(input.data());
    char* out = output.data();
    std::size_t inLeft = input.size(), outLeft = output.size();
    if (iconv(cd_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
  }

 private:
  iconv_t cd_;
};

inline std::string Utf32(char32_t c) { return std::string(reinterpret_cast<const char*>(&c), 4); }

// GB18030's four-byte code of a character beyond the Basic Multilingual
// Plane, by its formula: 90 30 81 30 is U+10000, counting up digit, byte
// 0x81-0xFE, digit, lead byte.
inline std::string LinearFourByteCode(char32_t c) {
  std::uint32_t n = c - 0x10000;
  return {static_cast<char>(0x90 + n / 12600), static_cast<char>(0x30 + n / 1260 % 10),
          static_cast<char>(0x81 + n / 10 % 126), static_cast<char>(0x30 + n % 10)};
}

// The two-byte codes where Windows' code page 936 keeps a private-use
// character (from `privateUse` on) while GB18030 holds another one there.
struct PrivateUseRun {
  int lead, firstTrail, count;
  char32_t privateUse;
};
inline constexpr PrivateUseRun kPrivateUseRuns[] = {
    {0xA2, 0xE3, 1, 0xE76C},  {0xA6, 0xD9, 7, 0xE78D},  {0xA6, 0xEC, 2, 0xE794}, {0xA6, 0xF3, 1, 0xE796},
    {0xA8, 0xBC, 1, 0xE7C7},  {0xA8, 0xBF, 1, 0xE7C8},  {0xA9, 0x89, 13, 0xE7E7}, {0xFE, 0x50, 47, 0xE815},
    {0xFE, 0x80, 33, 0xE844},
};

// What the program gives the characters of those places: the private-use
// character keeps the two-byte code; the character GB18030 puts there takes
// the four-byte code GB18030 gives the private-use one (beyond the Basic
// Multilingual Plane: its own, where the C library gives it the two-byte
// code). An empty text: a four-byte code that the C
// library leaves unassigned (it follows GB18030-2022 there, the program
// the published 2005 ranges). The euro sign keeps code page 936's 0x80.
inline std::map<char32_t, std::string> CodePage936Differences() {
  Iconv toGb18030("GB18030", "UTF-32LE");
  Iconv fromGb18030("UTF-32LE", "GB18030");
  std::map<char32_t, std::string> differences;
  for (const PrivateUseRun& run : kPrivateUseRuns) {
    for (int k = 0; k < run.count; ++k) {
      const std::string code = {static_cast<char>(run.lead), static_cast<char>(run.firstTrail + k)};
      char32_t privateUse = run.privateUse + k;
      char32_t other = 0;
      if (auto decoded = fromGb18030(code)) std::memcpy(&other, decoded->data(), 4);
      differences[privateUse] = code;
      if (other >= 0x10000) {
        differences[other] = LinearFourByteCode(other);
      } else if (auto fourByte = toGb18030(Utf32(privateUse)); fourByte && fourByte->size() == 4) {
        differences[other] = *fourByte;
      } else {
        differences[other] = "";
      }
    }
  }
  differences[0x20AC] = "\x80";
  return differences;
}

// Whether `ours`, the program's text of the one character c, is what the
// oracle says. Characters of the places above may also differ from the C
// library as they list.
class Gb18030Oracle {
 public:
  Gb18030Oracle() : differences_(CodePage936Differences()) {}

  bool Agrees(char32_t c, const std::string& ours) {
    auto known = differences_.find(c);
    if (known != differences_.end()) {
      if (known->second == ours) return true;
      if (known->second.empty()) return ours.size() == 4 && !fromGb18030_(ours);
    }
    // U+F8F5: Windows writes it as 0xFF, which it cannot read back, so it
    // takes the four-byte code GB18030 gives it: no difference.
    return toGb18030_(Utf32(c)) == ours;
  }

 private:
  std::map<char32_t, std::string> differences_;
  Iconv toGb18030_{"GB18030", "UTF-32LE"};
  Iconv fromGb18030_{"UTF-32LE", "GB18030"};
};

}  // namespace tarnwell::fuzz
