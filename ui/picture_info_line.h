// The line under the large view's picture: the file's name, its size, when
// it was last written, the picture's size as shown (turned by its
// orientation) and, where the file says, the
// camera's model and when the picture was taken. What is not known yet (the
// picture is still being made) or not said is left out.
#pragma once

#include "pictures/made_picture.h"
#include "platform/text/text.h"

namespace tarnwell {

// "IMG_0012.CR3    24.6 MB    修改时间 2024-05-06 07:08:09    6000 × 4000    Canon EOS R6    拍摄时间 2024-05-06 07:08:09"
Text PictureInfoLine(const Text& fileName, const MadePicture* made);

// 900 字节, 12.3 KB, 24.6 MB, 1.2 GB.
Text SizeText(std::uint64_t bytes);

}  // namespace tarnwell
