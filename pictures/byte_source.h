// Where the embedded-preview reader takes its bytes from: a file on disk, a
// buffer in memory (the tests, the fuzzer). The reader asks only for the few
// bytes it needs, at offsets it has checked against Size().
#pragma once

#include <cstdint>
#include <span>

namespace tarnwell {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Copies the bytes at [offset, offset + into.size()) into `into`; false
  // when any of them lies past the end or cannot be read.
  virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> into) const = 0;
};

// The bytes of a buffer that outlives it.
class MemoryBytes final : public ByteSource {
 public:
  explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> into) const override;

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace tarnwell
