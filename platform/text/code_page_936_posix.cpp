// Code page 936 on POSIX systems, for the native tests and benchmarks: the
// same table Windows has, built once from the C library's GB18030 converter
// (whose two-byte codes are GBK's) and the codes where Windows keeps the
// private-use characters of GBK instead.
#include <iconv.h>

#include <array>
#include <cstring>
#include <memory>

#include "platform/text/gb18030.h"

namespace tarnwell {
namespace {

// Two-byte codes where Windows' code page 936 holds private-use characters
// (from `privateUse` on, one a code) while GB18030 holds other ones there.
struct PrivateUseRun {
  unsigned lead;
  unsigned firstTrail;
  unsigned count;
  char16_t privateUse;
};
constexpr PrivateUseRun kPrivateUseRuns[] = {
    {0xA2, 0xE3, 1, 0xE76C},  {0xA6, 0xD9, 7, 0xE78D},  {0xA6, 0xEC, 2, 0xE794}, {0xA6, 0xF3, 1, 0xE796},
    {0xA8, 0xBC, 1, 0xE7C7},  {0xA8, 0xBF, 1, 0xE7C8},  {0xA9, 0x89, 13, 0xE7E7}, {0xFE, 0x50, 47, 0xE815},
    {0xFE, 0x80, 33, 0xE844},
};

constexpr std::size_t kPairs = 126 * 190;  // leads 81-FE, trails 40-7E and 80-FE

std::size_t PairIndex(unsigned lead, unsigned trail) { return (lead - 0x81) * 190 + trail - (trail < 0x7F ? 0x40 : 0x41); }

bool IsPair(unsigned lead, unsigned trail) {
  return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

struct CodePage936 {
  std::array<char16_t, kPairs> decoded{};       // 0: no character
  std::unique_ptr<std::uint16_t[]> encoded;     // by unit: lead << 8 | trail, 0x80 for the euro sign, 0: none

  CodePage936() : encoded(new std::uint16_t[0x10000]()) {
    iconv_t cd = iconv_open("UTF-16LE", "GB18030");
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        unsigned char out[4];
        char* inPointer = in;
        char* outPointer = reinterpret_cast<char*>(out);
        std::size_t inLeft = 2, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        // Only characters of one unit: the few astral ones are private-use runs.
        if (iconv(cd, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<std::size_t>(-1) && outLeft == 2) {
          decoded[PairIndex(lead, trail)] = static_cast<char16_t>(out[0] | out[1] << 8);
        }
      }
    }
    iconv_close(cd);
    for (const PrivateUseRun& run : kPrivateUseRuns) {
      for (unsigned k = 0; k < run.count; ++k) {
        decoded[PairIndex(run.lead, run.firstTrail + k)] = static_cast<char16_t>(run.privateUse + k);
      }
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        if (char16_t c = decoded[PairIndex(lead, trail)]) encoded[c] = static_cast<std::uint16_t>(lead << 8 | trail);
      }
    }
    encoded[0x20AC] = 0x80;
  }
};

const CodePage936& Table() {
  static const CodePage936 table;
  return table;
}

}  // namespace

bool DecodeCodePage936(std::string_view bytes, Utf16& out) {
  const CodePage936& table = Table();
  const std::size_t start = out.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      out.push_back(byte);
    } else if (byte == 0x80) {
      out.push_back(0x20AC);
    } else if (i + 1 < bytes.size() && IsPair(byte, static_cast<unsigned char>(bytes[i + 1])) &&
               table.decoded[PairIndex(byte, static_cast<unsigned char>(bytes[i + 1]))] != 0) {
      out.push_back(table.decoded[PairIndex(byte, static_cast<unsigned char>(bytes[++i]))]);
    } else {
      out.resize(start);
      return false;
    }
  }
  return true;
}

bool EncodeCodePage936(Utf16View wide, std::string& out) {
  const CodePage936& table = Table();
  const std::size_t start = out.size();
  for (char16_t unit : wide) {
    if (unit < 0x80) {
      out.push_back(static_cast<char>(unit));
    } else if (std::uint16_t code = table.encoded[unit]) {
      if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    } else {
      out.resize(start);
      return false;
    }
  }
  return true;
}

}  // namespace tarnwell
