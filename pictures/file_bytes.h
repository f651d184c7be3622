// A picture file opened for the preview reader. The reader asks for many
// small pieces near each other (directory entries, segment headers); they
// are served from a few blocks of kBlockSize bytes, each read from the disk
// once, so a raw file's directories cost one or two reads of the disk. A
// piece larger than a block (a preview's JPEG) is read on its own.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "pictures/byte_source.h"

namespace tarnwell {

// The system's file, read at offsets (file_bytes_win.cpp, file_bytes_posix.cpp).
class PositionedFile {
 public:
  // Opens the file for reading, letting others read, write, rename and
  // delete it meanwhile; Opened() tells whether it worked.
  explicit PositionedFile(std::string_view path);
  ~PositionedFile();
  PositionedFile(const PositionedFile&) = delete;
  PositionedFile& operator=(const PositionedFile&) = delete;

  bool Opened() const;
  std::uint64_t Size() const { return size_; }
  // Reads exactly into.size() bytes at `offset`.
  bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) const;

 private:
  struct System;
  std::unique_ptr<System> system_;
  std::uint64_t size_ = 0;
};

class FileBytes final : public ByteSource {
 public:
  static constexpr std::size_t kBlockSize = 64 * 1024;

  explicit FileBytes(std::string_view path) : file_(path) {}

  bool Opened() const { return file_.Opened(); }
  std::uint64_t Size() const override { return file_.Size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> into) const override;

 private:
  struct Block {
    std::uint64_t start = 0;
    std::vector<std::uint8_t> bytes;  // empty: not read yet
  };
  const Block* BlockAt(std::uint64_t start) const;

  PositionedFile file_;
  mutable std::array<Block, 4> blocks_;
  mutable std::size_t nextBlock_ = 0;  // the block to be read over next
};

}  // namespace tarnwell
