// Every read of the embedded-preview reader passes here. A span of the file
// is checked against the file's size before it is read, with arithmetic that
// cannot overflow whatever offsets a file holds, and the reads of one file
// are counted: past kMaxReads every read fails, so no crafted file keeps
// the reader busy, whatever its structure. Numbers are read in the byte
// order the caller names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "pictures/byte_source.h"

namespace tarnwell {

enum class ByteOrder : std::uint8_t { Little, Big };

// [begin, end) of the file: a TIFF block, a box, a JPEG segment.
struct ByteSpan {
  std::uint64_t begin = 0;
  std::uint64_t end = 0;

  std::uint64_t Length() const { return end - begin; }
  // Whether `length` bytes from `offset` lie inside, without overflow.
  bool Holds(std::uint64_t offset, std::uint64_t length) const {
    return offset >= begin && offset <= end && length <= end - offset;
  }
  // What follows the first `skip` bytes; empty when there is nothing.
  ByteSpan After(std::uint64_t skip) const { return skip >= Length() ? ByteSpan{end, end} : ByteSpan{begin + skip, end}; }
  // The span of `length` bytes `offset` bytes into this one; nothing when it
  // reaches past the end.
  std::optional<ByteSpan> Part(std::uint64_t offset, std::uint64_t length) const {
    if (offset > Length() || length > Length() - offset) return std::nullopt;
    return ByteSpan{begin + offset, begin + offset + length};
  }
};

class BoundedReads {
 public:
  // More than any real file needs: a camera's raw file is read in a few
  // dozen reads.
  static constexpr int kMaxReads = 4096;

  explicit BoundedReads(const ByteSource& source);

  // The whole file.
  ByteSpan File() const { return {0, size_}; }
  int ReadsMade() const { return reads_; }

  // False when the bytes lie past the end of the file, the read fails, or
  // the reads are used up; `into` is then left as it may be.
  bool Read(std::uint64_t offset, std::span<std::uint8_t> into);
  std::optional<std::uint8_t> U8(std::uint64_t at);
  std::optional<std::uint16_t> U16(std::uint64_t at, ByteOrder order);
  std::optional<std::uint32_t> U32(std::uint64_t at, ByteOrder order);
  std::optional<std::uint64_t> U64(std::uint64_t at, ByteOrder order);

 private:
  const ByteSource& source_;
  std::uint64_t size_;
  int reads_ = 0;
};

// Numbers from bytes already read.
std::uint16_t U16Of(const std::uint8_t* bytes, ByteOrder order);
std::uint32_t U32Of(const std::uint8_t* bytes, ByteOrder order);

}  // namespace tarnwell
