#include "pictures/bounded_reads.h"

#include <array>

namespace tarnwell {

BoundedReads::BoundedReads(const ByteSource& source) : source_(source), size_(source.Size()) {}

bool BoundedReads::Read(std::uint64_t offset, std::span<std::uint8_t> into) {
  if (offset > size_ || into.size() > size_ - offset) return false;
  if (reads_ >= kMaxReads) return false;
  ++reads_;
  return source_.Read(offset, into);
}

std::optional<std::uint8_t> BoundedReads::U8(std::uint64_t at) {
  std::array<std::uint8_t, 1> byte{};
  if (!Read(at, byte)) return std::nullopt;
  return byte[0];
}

std::optional<std::uint16_t> BoundedReads::U16(std::uint64_t at, ByteOrder order) {
  std::array<std::uint8_t, 2> bytes{};
  if (!Read(at, bytes)) return std::nullopt;
  return U16Of(bytes.data(), order);
}

std::optional<std::uint32_t> BoundedReads::U32(std::uint64_t at, ByteOrder order) {
  std::array<std::uint8_t, 4> bytes{};
  if (!Read(at, bytes)) return std::nullopt;
  return U32Of(bytes.data(), order);
}

std::optional<std::uint64_t> BoundedReads::U64(std::uint64_t at, ByteOrder order) {
  std::array<std::uint8_t, 8> bytes{};
  if (!Read(at, bytes)) return std::nullopt;
  const std::uint64_t first = U32Of(bytes.data(), order);
  const std::uint64_t second = U32Of(bytes.data() + 4, order);
  return order == ByteOrder::Big ? (first << 32) | second : (second << 32) | first;
}

std::uint16_t U16Of(const std::uint8_t* bytes, ByteOrder order) {
  const auto a = static_cast<unsigned>(bytes[0]);
  const auto b = static_cast<unsigned>(bytes[1]);
  return static_cast<std::uint16_t>(order == ByteOrder::Big ? (a << 8) | b : (b << 8) | a);
}

std::uint32_t U32Of(const std::uint8_t* bytes, ByteOrder order) {
  const std::uint32_t high = U16Of(order == ByteOrder::Big ? bytes : bytes + 2, order);
  const std::uint32_t low = U16Of(order == ByteOrder::Big ? bytes + 2 : bytes, order);
  return (high << 16) | low;
}

}  // namespace tarnwell
