// Which files are asked for a picture, by their extension: those a codec of
// the system may decode (JPEG, PNG, GIF, BMP, TIFF, HEIC, WebP ...), camera
// raw files, whose pictures come from their embedded previews, and every
// other file, which shows its type's icon without being opened.
#pragma once

#include <string_view>

namespace tarnwell {

enum class FileKind { Picture, Raw, Other };

// By the extension of the path's last name, ASCII case ignored.
FileKind KindOfFile(std::string_view path);

}  // namespace tarnwell
