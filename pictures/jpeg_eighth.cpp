#include "pictures/jpeg_eighth.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace tarnwell {
namespace {

using Bytes = std::span<const std::uint8_t>;

// Codes up to this long are found by one look-up of the next bits; longer
// ones (rare: the codes are shortest for the commonest symbols) by length.
constexpr int kFastBits = 9;

// One Huffman table as DHT gives it, with its codes made canonically
// (T.81, Annex C): the codes of each length count up from where the shorter
// ones ended.
struct HuffmanTable {
  bool defined = false;
  std::array<std::uint8_t, 256> symbols{};
  std::array<int, 17> firstCode{};   // by length
  std::array<int, 17> firstIndex{};  // where in `symbols` the codes of that length start
  std::array<int, 17> count{};
  std::array<std::uint16_t, 1 << kFastBits> fast{};  // length << 8 | symbol; 0 when the code is longer

  // False when the counts give more codes than their lengths hold.
  bool Build(Bytes counts, Bytes values) {
    *this = {};
    int code = 0, index = 0;
    for (int length = 1; length <= 16; ++length) {
      firstCode[length] = code;
      firstIndex[length] = index;
      count[length] = counts[static_cast<std::size_t>(length - 1)];
      for (int i = 0; i < count[length]; ++i, ++code, ++index) {
        if (code >= (1 << length)) return false;
        symbols[static_cast<std::size_t>(index)] = values[static_cast<std::size_t>(index)];
        if (length > kFastBits) continue;
        const int shift = kFastBits - length;
        const auto entry = static_cast<std::uint16_t>(length << 8 | symbols[static_cast<std::size_t>(index)]);
        std::fill_n(fast.begin() + (code << shift), 1 << shift, entry);
      }
      code <<= 1;
    }
    defined = true;
    return true;
  }
};

// Where the next marker starts at or after `at`: an FF followed by neither
// 00 (a stuffed data byte FF) nor FF (a fill byte); the end when none comes.
std::size_t NextMarker(Bytes bytes, std::size_t at) {
  for (; at + 1 < bytes.size(); ++at) {
    if (bytes[at] == 0xFF && bytes[at + 1] != 0x00 && bytes[at + 1] != 0xFF) return at;
  }
  return bytes.size();
}

// The bits of a scan's entropy-coded data, first bit highest. A marker or
// the end of the bytes ends the data; zero bits follow, counted, so that a
// scan that reads into them is known to be corrupt or cut short.
class ScanBits {
 public:
  ScanBits(Bytes bytes, std::size_t at) : bytes_(bytes), at_(at) {}

  // Holds at least 57 bits: a code and its value bits need at most 32.
  void Fill() {
    while (held_ <= 56) {
      std::uint64_t byte = 0;
      if (!ended_ && at_ < bytes_.size() && bytes_[at_] != 0xFF) {
        byte = bytes_[at_++];
      } else if (!ended_ && at_ + 1 < bytes_.size() && bytes_[at_ + 1] == 0x00) {
        byte = 0xFF;
        at_ += 2;
      } else {
        ended_ = true;
        padding_ += 8;
      }
      buffer_ |= byte << (56 - held_);
      held_ += 8;
    }
  }

  // The symbol of the next code; -1 when no code of the table starts there.
  int Decode(const HuffmanTable& table) {
    Fill();
    if (const int entry = table.fast[Peek(kFastBits)]) {
      Skip(entry >> 8);
      return entry & 0xFF;
    }
    for (int length = kFastBits + 1; length <= 16; ++length) {
      const int code = Peek(length) - table.firstCode[length];
      if (code >= 0 && code < table.count[length]) {
        Skip(length);
        return table.symbols[static_cast<std::size_t>(table.firstIndex[length] + code)];
      }
    }
    return -1;
  }

  // The next `count` bits (at most 16) as a number.
  int Bits(int count) {
    if (count == 0) return 0;
    if (held_ < count) Fill();
    const int bits = Peek(count);
    Skip(count);
    return bits;
  }

  bool ReadPastEnd() const { return padding_ > held_; }

  // Past the restart marker that should end this interval, with the bits
  // emptied: what is left of the last byte pads the interval out.
  bool Restart(int index) {
    at_ = NextMarker(bytes_, at_);
    if (at_ + 1 >= bytes_.size() || bytes_[at_ + 1] != 0xD0 + index) return false;
    at_ += 2;
    buffer_ = 0;
    held_ = padding_ = 0;
    ended_ = false;
    return true;
  }

  // Where reading stopped; the data's marker, if any, lies at or after it.
  std::size_t At() const { return at_; }

 private:
  int Peek(int count) const { return static_cast<int>(buffer_ >> (64 - count)); }
  void Skip(int count) {
    buffer_ <<= count;
    held_ -= count;
  }

  Bytes bytes_;
  std::size_t at_;
  std::uint64_t buffer_ = 0;
  int held_ = 0;
  int padding_ = 0;
  bool ended_ = false;
};

// A value of `size` bits as T.81's EXTEND makes it signed.
int Extend(int bits, int size) { return size == 0 || bits >= (1 << (size - 1)) ? bits : bits - (1 << size) + 1; }

struct Component {
  int id = 0;
  int h = 1, v = 1;  // sampling factors
  int quantTable = 0;
  int blocksWide = 0, blocksHigh = 0;  // the blocks of whole MCUs
  std::vector<std::uint8_t> means;     // one for each block: its pixel
  bool scanned = false;
  // For the scan under way.
  const HuffmanTable* dc = nullptr;
  const HuffmanTable* ac = nullptr;
  int dcQuant = 1;
  int predictor = 0;
};

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

// One block: its DC difference added to the predictor, its AC coefficients
// read and dropped. Sizes past 11 bits do not occur in 8-bit streams.
bool DecodeBlock(ScanBits& bits, Component& component) {
  const int size = bits.Decode(*component.dc);
  if (size < 0 || size > 11) return false;
  // Kept within 16 bits whatever a corrupt stream adds up; a real one stays within 11.
  component.predictor = std::clamp(component.predictor + Extend(bits.Bits(size), size), -32768, 32767);
  for (int k = 1; k < 64;) {
    const int symbol = bits.Decode(*component.ac);
    if (symbol < 0) return false;
    const int run = symbol >> 4, valueSize = symbol & 15;
    if (valueSize == 0) {
      if (run != 15) break;  // the end of the block
      k += 16;               // sixteen zeros
      continue;
    }
    bits.Bits(valueSize);
    k += run + 1;
  }
  return true;
}

// What the segments before each scan have given: the tables and the frame.
struct Stream {
  std::array<std::array<HuffmanTable, 4>, 2> huffman;  // DC, AC; by id
  std::array<int, 4> dcQuant{};                        // the first entry of each table; 0 while not given
  int restartInterval = 0;
  int adobeTransform = -1;  // APP14's colour transform: 0 RGB, 1 YCbCr; -1 when absent
  bool haveFrame = false;
  int width = 0, height = 0;
  int hMax = 1, vMax = 1;
  int mcusWide = 0, mcusHigh = 0;
  int count = 0;
  std::array<Component, 3> components;
};

// The scan's MCUs: of one block of its component when it has one, else of
// each component's h x v blocks in turn.
bool DecodeScan(ScanBits& bits, const Stream& stream, std::span<Component* const> scan) {
  const bool interleaved = scan.size() > 1;
  int across = stream.mcusWide, down = stream.mcusHigh;
  if (!interleaved) {
    across = CeilDiv(stream.width * scan[0]->h, stream.hMax * 8);
    down = CeilDiv(stream.height * scan[0]->v, stream.vMax * 8);
  }
  int untilRestart = stream.restartInterval, restarts = 0;
  for (int my = 0; my < down; ++my) {
    for (int mx = 0; mx < across; ++mx) {
      if (stream.restartInterval > 0 && untilRestart-- == 0) {
        if (bits.ReadPastEnd() || !bits.Restart(restarts++ % 8)) return false;
        for (Component* component : scan) component->predictor = 0;
        untilRestart = stream.restartInterval - 1;
      }
      for (Component* component : scan) {
        const int h = interleaved ? component->h : 1, v = interleaved ? component->v : 1;
        for (int y = 0; y < v; ++y) {
          for (int x = 0; x < h; ++x) {
            if (!DecodeBlock(bits, *component)) return false;
            // The block's mean: its DC coefficient is 8 times it, less 1024 (T.81, A.3.3).
            const std::int64_t mean = ((std::int64_t{component->predictor} * component->dcQuant + 4) >> 3) + 128;
            const auto at = static_cast<std::size_t>((my * v + y) * component->blocksWide + mx * h + x);
            component->means[at] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(mean, 0, 255));
          }
        }
      }
    }
    if (bits.ReadPastEnd()) return false;
  }
  return true;
}

bool ReadQuantization(Stream& stream, Bytes segment) {
  while (!segment.empty()) {
    const int precision = segment[0] >> 4, id = segment[0] & 15;
    const std::size_t size = precision == 0 ? 64 : 128;
    if (precision > 1 || id > 3 || segment.size() < 1 + size) return false;
    stream.dcQuant[static_cast<std::size_t>(id)] = precision == 0 ? segment[1] : segment[1] << 8 | segment[2];
    segment = segment.subspan(1 + size);
  }
  return true;
}

bool ReadHuffman(Stream& stream, Bytes segment) {
  while (segment.size() >= 17) {
    const int tableClass = segment[0] >> 4, id = segment[0] & 15;
    if (tableClass > 1 || id > 3) return false;
    std::size_t total = 0;
    for (std::size_t i = 1; i <= 16; ++i) total += segment[i];
    if (total > 256 || segment.size() < 17 + total) return false;
    HuffmanTable& table = stream.huffman[static_cast<std::size_t>(tableClass)][static_cast<std::size_t>(id)];
    if (!table.Build(segment.subspan(1, 16), segment.subspan(17, total))) return false;
    segment = segment.subspan(17 + total);
  }
  return segment.empty();
}

// Every block of a valid scan takes at least two bits (a DC code and an end
// of block, or AC codes, each at least one bit long), so n bytes hold at most
// 4n blocks. Each component, sampled at a half or more across and down,
// codes at least a quarter as many blocks as the picture's 8x8 grid has, so
// a valid stream of n bytes has at most 16n pixels at an eighth: a frame
// stating more is refused before anything is allocated. What is allocated
// then, a byte for each block of each component's whole MCUs (at most 4 per
// pixel: at most one MCU more across and down) and 4 bytes for each pixel,
// stays within 16 bytes a pixel, 256 bytes for each byte of the stream.
bool ReadFrame(Stream& stream, Bytes segment, std::size_t streamSize) {
  if (stream.haveFrame || segment.size() < 6 || segment[0] != 8) return false;
  stream.height = segment[1] << 8 | segment[2];
  stream.width = segment[3] << 8 | segment[4];
  stream.count = segment[5];
  if (stream.width == 0 || stream.height == 0 || (stream.count != 1 && stream.count != 3) ||
      segment.size() != 6 + 3 * static_cast<std::size_t>(stream.count)) {
    return false;
  }
  for (int i = 0; i < stream.count; ++i) {
    Component& component = stream.components[static_cast<std::size_t>(i)];
    const Bytes fields = segment.subspan(6 + 3 * static_cast<std::size_t>(i), 3);
    component.id = fields[0];
    component.h = fields[1] >> 4;
    component.v = fields[1] & 15;
    component.quantTable = fields[2];
    if (component.h < 1 || component.h > 2 || component.v < 1 || component.v > 2 || component.quantTable > 3) {
      return false;
    }
    stream.hMax = std::max(stream.hMax, component.h);
    stream.vMax = std::max(stream.vMax, component.v);
  }
  const auto pixels = std::uint64_t(CeilDiv(stream.width, 8)) * std::uint64_t(CeilDiv(stream.height, 8));
  if (pixels > 16 * std::uint64_t{streamSize}) return false;
  stream.mcusWide = CeilDiv(stream.width, 8 * stream.hMax);
  stream.mcusHigh = CeilDiv(stream.height, 8 * stream.vMax);
  for (int i = 0; i < stream.count; ++i) {
    Component& component = stream.components[static_cast<std::size_t>(i)];
    component.blocksWide = stream.mcusWide * component.h;
    component.blocksHigh = stream.mcusHigh * component.v;
    const auto blocks = static_cast<std::size_t>(component.blocksWide) * static_cast<std::size_t>(component.blocksHigh);
    component.means.assign(blocks, 128);
  }
  stream.haveFrame = true;
  return true;
}

// The scan's components, in its order, with their tables; each component is
// scanned once.
bool ReadScan(Stream& stream, Bytes segment, std::array<Component*, 3>& scan, std::size_t& count) {
  if (!stream.haveFrame || segment.empty()) return false;
  count = segment[0];
  if (count < 1 || count > static_cast<std::size_t>(stream.count) || segment.size() < 1 + 2 * count + 3) return false;
  for (std::size_t i = 0; i < count; ++i) {
    const int id = segment[1 + 2 * i], dc = segment[2 + 2 * i] >> 4, ac = segment[2 + 2 * i] & 15;
    const auto end = stream.components.begin() + stream.count;
    const auto found = std::find_if(stream.components.begin(), end, [&](const Component& c) { return c.id == id; });
    if (found == end || found->scanned || dc > 3 || ac > 3) return false;
    found->dc = &stream.huffman[0][static_cast<std::size_t>(dc)];
    found->ac = &stream.huffman[1][static_cast<std::size_t>(ac)];
    found->dcQuant = stream.dcQuant[static_cast<std::size_t>(found->quantTable)];
    if (!found->dc->defined || !found->ac->defined || found->dcQuant == 0) return false;
    found->predictor = 0;
    found->scanned = true;
    scan[i] = &*found;
  }
  return true;
}

std::uint32_t Pixel(int r, int g, int b) {
  const auto channel = [](int value) { return static_cast<std::uint32_t>(std::clamp(value, 0, 255)); };
  return 0xFF000000u | channel(r) << 16 | channel(g) << 8 | channel(b);
}

// The picture from the components' block means: a component sampled at half
// the largest factor gives each of its blocks to two pixels.
EighthJpeg Assembled(const Stream& stream) {
  EighthJpeg eighth;
  eighth.width = stream.width;
  eighth.height = stream.height;
  Picture& picture = eighth.picture;
  picture.width = CeilDiv(stream.width, 8);
  picture.height = CeilDiv(stream.height, 8);
  picture.pixels.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
  const bool rgb = stream.adobeTransform == 0;
  std::size_t at = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      std::array<int, 3> s{};
      for (std::size_t c = 0; c < static_cast<std::size_t>(stream.count); ++c) {
        const Component& component = stream.components[c];
        const int row = y * component.v / stream.vMax, column = x * component.h / stream.hMax;
        s[c] = component.means[static_cast<std::size_t>(row * component.blocksWide + column)];
      }
      if (stream.count == 1) {
        picture.pixels[at++] = Pixel(s[0], s[0], s[0]);
      } else if (rgb) {
        picture.pixels[at++] = Pixel(s[0], s[1], s[2]);
      } else {
        // JFIF's YCbCr to RGB, in fixed point of 16 bits.
        const int cb = s[1] - 128, cr = s[2] - 128;
        picture.pixels[at++] = Pixel(s[0] + ((91881 * cr + 32768) >> 16),
                                     s[0] + ((-22554 * cb - 46802 * cr + 32768) >> 16),
                                     s[0] + ((116130 * cb + 32768) >> 16));
      }
    }
  }
  return eighth;
}

}  // namespace

std::optional<EighthJpeg> DecodeJpegEighth(std::span<const std::uint8_t> jpeg) {
  if (jpeg.size() < 2 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return std::nullopt;
  Stream stream;
  std::size_t at = 2;
  for (;;) {
    if (at + 1 >= jpeg.size() || jpeg[at] != 0xFF) return std::nullopt;
    const std::uint8_t marker = jpeg[at + 1];
    if (marker == 0xFF) {  // a fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // TEM and restart markers stand alone
      at += 2;
      continue;
    }
    // A second start of image, or the end before every component came.
    if (marker == 0xD8 || marker == 0xD9 || at + 4 > jpeg.size()) return std::nullopt;
    const std::size_t length = std::size_t{jpeg[at + 2]} << 8 | jpeg[at + 3];
    if (length < 2 || length > jpeg.size() - at - 2) return std::nullopt;
    const Bytes segment = jpeg.subspan(at + 4, length - 2);
    at += 2 + length;
    bool read = true;
    if (marker == 0xC0 || marker == 0xC1) {
      read = ReadFrame(stream, segment, jpeg.size());
    } else if (marker == 0xC4) {
      read = ReadHuffman(stream, segment);
    } else if (marker >= 0xC0 && marker <= 0xCF) {
      return std::nullopt;  // progressive, lossless, hierarchical or arithmetic coding
    } else if (marker == 0xDB) {
      read = ReadQuantization(stream, segment);
    } else if (marker == 0xDD) {
      read = segment.size() == 2;
      if (read) stream.restartInterval = segment[0] << 8 | segment[1];
    } else if (marker == 0xEE && segment.size() >= 12 && std::equal(segment.begin(), segment.begin() + 5, "Adobe")) {
      stream.adobeTransform = segment[11];
    } else if (marker == 0xDA) {
      std::array<Component*, 3> scan{};
      std::size_t count = 0;
      if (!ReadScan(stream, segment, scan, count)) return std::nullopt;
      ScanBits bits(jpeg, at);
      if (!DecodeScan(bits, stream, std::span(scan.data(), count))) return std::nullopt;
      if (std::all_of(stream.components.begin(), stream.components.begin() + stream.count,
                      [](const Component& c) { return c.scanned; })) {
        return Assembled(stream);
      }
      at = NextMarker(jpeg, bits.At());
    }
    if (!read) return std::nullopt;
  }
}

}  // namespace tarnwell
