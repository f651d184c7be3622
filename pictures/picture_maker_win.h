// Making one picture on a picture thread, as fast as the file allows:
//  - a camera file (JPEG, raw) with an embedded preview that is large enough
//    gives its picture from the preview: the preview's bytes alone are read
//    and decoded (the large view takes the largest preview of a raw file);
//  - any other picture the system's codecs decode is decoded whole and
//    scaled down (reduced while decoding where the codec can);
//  - everything else, and a picture no codec decodes, shows its type's icon.
// The EXIF orientation is applied to the first two.
#pragma once

#include <atomic>
#include <memory>

#include "pictures/made_picture.h"
#include "pictures/picture_work.h"

namespace tarnwell {

std::shared_ptr<const MadePicture> MakePicture(const PictureRequest& request, const std::atomic<bool>& stop);

// Sets up what MakePicture needs on the calling thread (PictureWork::Prepare).
void PreparePictureThread();

}  // namespace tarnwell
