// The picture of a file that is no picture: its type's icon as the shell
// shows it (by the extension alone, the file is not opened), drawn in the
// middle of a square of its background.
#pragma once

#include <cstdint>
#include <string_view>

#include "pictures/picture.h"

namespace tarnwell {

// The extra-large icon (48 x 48 at 96 DPI) where the shell has one, else the
// large one; `side` is the square's side. An empty picture when the shell
// gives no icon.
Picture SystemIconPicture(std::string_view path, int side, std::uint32_t background);

}  // namespace tarnwell
