// The eighth-scale JPEG decoder over streams written here: blocks given by
// their means (each block's DC coefficient), most of them with AC
// coefficients to read past, coded with T.81's DC tables and an AC table
// whose codes run from 2 to 16 bits. Each picture must come out with every
// block's colour, whatever the sampling, restart interval or scans; frames
// it does not decode, and streams cut short anywhere, give nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "pictures/jpeg_eighth.h"

namespace tarnwell {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint8_t Byte(std::size_t value) { return static_cast<std::uint8_t>(value); }
int CeilDiv(int a, int b) { return (a + b - 1) / b; }

// A Huffman table's DHT body after its class and id, and its codes (code, length) by symbol.
struct Table {
  Bytes body;
  std::map<int, std::pair<std::uint32_t, int>> codes;
};

Table MakeTable(const Bytes& counts, const Bytes& symbols) {
  Table table{counts, {}};
  table.body.resize(16);
  table.body.insert(table.body.end(), symbols.begin(), symbols.end());
  std::uint32_t code = 0;
  std::size_t next = 0;
  for (int length = 1; length <= 16; ++length, code <<= 1) {
    const int codes = table.body[static_cast<std::size_t>(length - 1)];
    for (int i = 0; i < codes; ++i) table.codes[symbols[next++]] = {code++, length};
  }
  return table;
}

// T.81's tables K.3 and K.4 (codes of up to 9 and 11 bits), and an AC table
// of end of block, one bit, 16 zeros, run 1 + 2 bits, run 2 + 3 bits.
const Table kDc[2] = {MakeTable({0, 1, 5, 1, 1, 1, 1, 1, 1}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}),
                      MakeTable({0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})};
const Table kAc = MakeTable({0, 2, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1}, {0x00, 0x01, 0xF0, 0x12, 0x23});
// The AC symbols of the three kinds of block: flat, a few coefficients and
// the end of block, coefficients up to the 63rd and no end of block.
const Bytes kTextures[3] = {{0x00}, {0x01, 0xF0, 0x12, 0x23, 0x00},
                            {0xF0, 0xF0, 0xF0, 0x23, 0x12, 0x12, 0x12, 0x12, 0x12, 0x01, 0x01}};

class BitWriter {
 public:
  void Put(std::uint32_t bits, int count) {
    while (count-- > 0) {
      byte_ = Byte(byte_ << 1 | ((bits >> count) & 1));
      if (++held_ < 8) continue;
      out.push_back(byte_);
      if (byte_ == 0xFF) out.push_back(0x00);
      held_ = 0;
    }
  }
  void Align() { Put(0xFF, (8 - held_) % 8); }  // ones, as before a marker
  Bytes out;

 private:
  std::uint8_t byte_ = 0;
  int held_ = 0;
};

struct Plane {
  int h = 1, v = 1;
  std::function<int(int, int)> mean;  // by the block's column and row in the plane
};

struct Layout {
  int width = 0, height = 0;
  std::vector<Plane> planes;
  int restartInterval = 0;
  bool separateScans = false;
  bool adobeRgb = false;
};

void Segment(Bytes& out, std::uint8_t marker, const Bytes& body) {
  out.insert(out.end(), {0xFF, marker, Byte((body.size() + 2) >> 8), Byte(body.size() + 2)});
  out.insert(out.end(), body.begin(), body.end());
}

// The first plane's DC step is 1 (an 8-bit table), the others' 2 (a 16-bit
// table), so that every mean codes exactly.
Bytes Encode(const Layout& layout) {
  Bytes out{0xFF, 0xD8};
  if (layout.adobeRgb) Segment(out, 0xEE, {'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 0});
  Bytes quant(65, 3), wide(129, 0);
  quant[0] = 0x00, quant[1] = 1, wide[0] = 0x11, wide[2] = 2;
  Segment(out, 0xDB, quant);
  Segment(out, 0xDB, wide);
  Bytes tables;
  for (std::size_t id = 0; id < 2; ++id) {
    for (const auto& [header, table] : {std::pair{Byte(id), &kDc[id]}, std::pair{Byte(0x10 | id), &kAc}}) {
      tables.push_back(header);
      tables.insert(tables.end(), table->body.begin(), table->body.end());
    }
  }
  Segment(out, 0xC4, tables);
  const std::size_t count = layout.planes.size();
  Bytes frame{8, Byte(layout.height >> 8), Byte(layout.height), Byte(layout.width >> 8), Byte(layout.width),
              Byte(count)};
  int hMax = 1, vMax = 1;
  for (std::size_t c = 0; c < count; ++c) {
    const Plane& plane = layout.planes[c];
    frame.insert(frame.end(), {Byte(c + 1), Byte(plane.h << 4 | plane.v), Byte(c == 0 ? 0 : 1)});
    hMax = std::max(hMax, plane.h), vMax = std::max(vMax, plane.v);
  }
  Segment(out, 0xC0, frame);
  if (layout.restartInterval > 0) Segment(out, 0xDD, {0, Byte(layout.restartInterval)});

  std::vector<std::vector<std::size_t>> scans;
  for (std::size_t c = 0; c < count; ++c) {
    if (layout.separateScans || c == 0) scans.emplace_back();
    scans.back().push_back(c);
  }
  for (const std::vector<std::size_t>& scan : scans) {
    Bytes header{Byte(scan.size())};
    for (std::size_t c : scan) header.insert(header.end(), {Byte(c + 1), Byte(c == 0 ? 0x00 : 0x11)});
    header.insert(header.end(), {0, 63, 0});
    Segment(out, 0xDA, header);
    // One plane alone codes its blocks one by one, all others in MCUs.
    const bool interleaved = scan.size() > 1;
    const Plane& first = layout.planes[scan[0]];
    const int across = CeilDiv(layout.width * (interleaved ? 1 : first.h), 8 * hMax);
    const int down = CeilDiv(layout.height * (interleaved ? 1 : first.v), 8 * vMax);
    BitWriter bits;
    std::vector<int> predictors(count, 0);
    for (int mcu = 0; mcu < across * down; ++mcu) {
      if (layout.restartInterval > 0 && mcu > 0 && mcu % layout.restartInterval == 0) {
        bits.Align();
        bits.out.insert(bits.out.end(), {0xFF, Byte(0xD0 + (mcu / layout.restartInterval - 1) % 8)});
        std::fill(predictors.begin(), predictors.end(), 0);
      }
      for (std::size_t c : scan) {
        const Plane& plane = layout.planes[c];
        const int h = interleaved ? plane.h : 1, v = interleaved ? plane.v : 1;
        for (int block = 0; block < h * v; ++block) {
          const int column = mcu % across * h + block % h, row = mcu / across * v + block / h;
          const int dc = (plane.mean(column, row) - 128) * (c == 0 ? 8 : 4), diff = dc - predictors[c];
          const auto size = static_cast<int>(std::bit_width(static_cast<unsigned>(std::abs(diff))));
          predictors[c] = dc;
          const auto [code, length] = kDc[c == 0 ? 0 : 1].codes.at(size);
          bits.Put(code, length);
          bits.Put(static_cast<std::uint32_t>(diff >= 0 ? diff : diff + (1 << size) - 1), size);
          for (std::uint8_t symbol : kTextures[(column + row) % 3]) {
            bits.Put(kAc.codes.at(symbol).first, kAc.codes.at(symbol).second);
            bits.Put(0xFFFF, symbol & 15);  // the coefficient's bits: any will do
          }
        }
      }
    }
    bits.Align();
    out.insert(out.end(), bits.out.begin(), bits.out.end());
  }
  out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

// Each pixel from the block of each plane that covers it, as JFIF turns YCbCr into RGB.
std::vector<std::array<double, 3>> Expected(const Layout& layout) {
  std::vector<std::array<double, 3>> pixels;
  int hMax = 1, vMax = 1;
  for (const Plane& plane : layout.planes) hMax = std::max(hMax, plane.h), vMax = std::max(vMax, plane.v);
  for (int y = 0; y < CeilDiv(layout.height, 8); ++y) {
    for (int x = 0; x < CeilDiv(layout.width, 8); ++x) {
      std::vector<double> s;
      for (const Plane& plane : layout.planes) s.push_back(plane.mean(x * plane.h / hMax, y * plane.v / vMax));
      if (s.size() == 1) {
        pixels.push_back({s[0], s[0], s[0]});
      } else if (layout.adobeRgb) {
        pixels.push_back({s[0], s[1], s[2]});
      } else {
        pixels.push_back({s[0] + 1.402 * (s[2] - 128), s[0] - 0.344136 * (s[1] - 128) - 0.714136 * (s[2] - 128),
                          s[0] + 1.772 * (s[1] - 128)});
      }
    }
  }
  return pixels;
}

int Luma(int x, int y) { return (x * 37 + y * 91 + 7) % 256; }
int Blue(int x, int y) { return (x * 53 + y * 29 + 60) % 256; }
int Red(int x, int y) { return (x * 17 + y * 71 + 190) % 256; }

Layout Colour(int width, int height, int h, int v) {
  return {width, height, {{h, v, Luma}, {1, 1, Blue}, {1, 1, Red}}};
}

// Changes to the frame header after the stream is written.
std::size_t FrameAt(const Bytes& jpeg) {
  const Bytes frame{0xFF, 0xC0};
  return static_cast<std::size_t>(std::search(jpeg.begin(), jpeg.end(), frame.begin(), frame.end()) - jpeg.begin());
}
void Progressive(Bytes& jpeg) { jpeg[FrameAt(jpeg) + 1] = 0xC2; }
void TwelveBits(Bytes& jpeg) {
  const std::size_t at = FrameAt(jpeg);
  jpeg[at + 1] = 0xC1;
  jpeg[at + 4] = 12;
}
void Huge(Bytes& jpeg) { std::fill_n(jpeg.begin() + static_cast<std::ptrdiff_t>(FrameAt(jpeg)) + 5, 4, 0xFF); }

TEST(JpegEighth, GivesEachBlocksColourOrNothing) {
  struct Row {
    std::string name;
    Layout layout;
    std::function<void(Bytes&)> change = nullptr;
    bool decodes = true;
  };
  // Means of 0 and 255 by turns: the scan holds FF bytes, stuffed.
  const Layout stripes{64, 16, {{1, 1, [](int x, int) { return x % 2 == 0 ? 0 : 255; }}}};
  const Bytes stuffed{0xFF, 0x00}, stream = Encode(stripes);
  ASSERT_NE(std::search(stream.begin(), stream.end(), stuffed.begin(), stuffed.end()), stream.end());
  Layout restarts = Colour(64, 48, 2, 2);
  restarts.restartInterval = 1;  // 12 intervals: the markers' numbers wrap after D7
  Layout scans = Colour(50, 35, 2, 2);
  scans.separateScans = true;
  const Row rows[] = {
      {"gray, odd size", {17, 9, {{1, 1, Luma}}}},
      {"gray, stuffed bytes", stripes},
      {"gray, restart interval", {40, 24, {{1, 1, Luma}}, 4}},
      {"4:4:4", Colour(40, 24, 1, 1)},
      {"4:2:0, odd size", Colour(50, 35, 2, 2)},
      {"4:2:2", Colour(33, 17, 2, 1)},
      {"4:4:0", Colour(24, 40, 1, 2)},
      {"4:2:0, restart every MCU", restarts},
      {"4:2:0, a scan for each component", scans},
      {"Adobe RGB", {24, 16, {{1, 1, Luma}, {1, 1, Blue}, {1, 1, Red}}, 0, false, true}},
      {"progressive", Colour(32, 32, 2, 2), Progressive, false},
      {"12 bits", {16, 16, {{1, 1, Luma}}}, TwelveBits, false},
      {"four components", {16, 16, {{1, 1, Luma}, {1, 1, Blue}, {1, 1, Red}, {1, 1, Luma}}}, nullptr, false},
      {"sampling factor 3", Colour(48, 48, 3, 1), nullptr, false},
      {"65535 x 65535 in a few hundred bytes", {16, 16, {{1, 1, Luma}}}, Huge, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Bytes jpeg = Encode(row.layout);
    if (row.change) row.change(jpeg);
    const std::optional<EighthJpeg> eighth = DecodeJpegEighth(jpeg);
    ASSERT_EQ(eighth.has_value(), row.decodes);
    if (!row.decodes) continue;
    EXPECT_EQ(eighth->width, row.layout.width);
    EXPECT_EQ(eighth->height, row.layout.height);
    ASSERT_EQ(eighth->picture.width, CeilDiv(row.layout.width, 8));
    ASSERT_EQ(eighth->picture.height, CeilDiv(row.layout.height, 8));
    const std::vector<std::array<double, 3>> expected = Expected(row.layout);
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const std::uint32_t pixel = eighth->picture.pixels[i];
      EXPECT_EQ(pixel >> 24, 0xFFu);
      for (int channel = 0; channel < 3; ++channel) {
        const double value = std::clamp(expected[i][static_cast<std::size_t>(channel)], 0.0, 255.0);
        ASSERT_NEAR((pixel >> (16 - 8 * channel)) & 0xFF, value, 1.0) << "pixel " << i << ", channel " << channel;
      }
    }
  }
}

// Cut anywhere before its last scan's data ends, a stream gives nothing
// (never a picture with made-up blocks); without only its end marker it
// still gives the picture.
TEST(JpegEighth, CutShortGivesNothing) {
  Layout layout = Colour(50, 35, 2, 2);
  layout.restartInterval = 2;
  const Bytes jpeg = Encode(layout);
  for (std::size_t length = 0; length < jpeg.size(); ++length) {
    const Bytes cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(DecodeJpegEighth(cut).has_value(), length >= jpeg.size() - 2) << length;
  }
}

}  // namespace
}  // namespace tarnwell
