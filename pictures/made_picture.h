// A picture as made for a file: the pixels to draw, and what the file said
// about itself for the line under the large view.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "pictures/picture.h"
#include "pictures/picture_facts.h"

namespace tarnwell {

enum class PictureOrigin : std::uint8_t {
  Preview,  // an embedded preview, decoded and scaled
  File,     // the file itself, decoded and scaled
  Icon,     // no picture: the system's icon of the file's type
};

struct MadePicture {
  Picture picture;  // upright, fitted into the size asked for
  PictureOrigin origin = PictureOrigin::Icon;
  PictureFacts facts;  // what the file says; its size is the decoder's when the file does not say
  // The file's size and local modification time ("YYYY-MM-DD HH:MM:SS"),
  // when it could be looked at; only the large view's pictures look.
  bool fileKnown = false;
  std::uint64_t fileSize = 0;
  std::string modified;
  // The bytes the cache counts for it.
  std::size_t Bytes() const { return picture.Bytes() + sizeof(MadePicture); }
};

}  // namespace tarnwell
