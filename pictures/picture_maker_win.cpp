#include "pictures/picture_maker_win.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "pictures/embedded_previews.h"
#include "pictures/file_bytes.h"
#include "pictures/fitted_size.h"
#include "pictures/jpeg_eighth.h"
#include "pictures/orientation.h"
#include "pictures/picture_kinds.h"
#include "pictures/preview_choice.h"
#include "pictures/system_icon_win.h"
#include "pictures/wic_decode_win.h"
#include "platform/files/file_facts.h"

namespace tarnwell {
namespace {

// A preview is read whole into memory; no camera writes one this large.
constexpr std::uint64_t kLargestPreview = 64ull << 20;

// The preview that makes the picture, or null when the file itself is to be
// decoded. For the grid, a preview half as large as the cell is sharp
// enough (an EXIF thumbnail of 160 x 120 for cells of 240 pixels on a
// screen of 150 %): decoding a whole JPEG costs a hundred times more.
const EmbeddedPreview* ChoosePreview(const PictureFacts& facts, const PictureRequest& request, FileKind kind) {
  if (request.largest) return kind == FileKind::Raw ? PreviewFor(facts, INT_MAX) : nullptr;
  const int longSide = std::max(request.boxWidth, request.boxHeight);
  const EmbeddedPreview* preview = PreviewFor(facts, longSide);
  if (!preview) return nullptr;
  if (kind == FileKind::Raw || std::max(preview->width, preview->height) * 2 >= longSide) return preview;
  return nullptr;
}

std::optional<Decoded> DecodePreview(const FileBytes& file, const EmbeddedPreview& preview, int boxWidth,
                                     int boxHeight, std::uint32_t background) {
  if (preview.length > kLargestPreview) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(preview.length));
  if (!file.Read(preview.offset, bytes)) return std::nullopt;
  if (preview.format == PreviewFormat::Rgb8) {
    return DecodeRgb(bytes, preview.width, preview.height, boxWidth, boxHeight, background);
  }
  // A preview still as large as the box at an eighth of its size is decoded
  // at that size by our own decoder: Wine's JPEG codec decodes only whole,
  // which takes 50 ms for a 1620 x 1080 preview. What it does not decode
  // goes to the codec.
  const FittedSize fitted = FitInBox(preview.width, preview.height, boxWidth, boxHeight);
  if ((preview.width + 7) / 8 >= fitted.width && (preview.height + 7) / 8 >= fitted.height) {
    if (const std::optional<EighthJpeg> eighth = DecodeJpegEighth(bytes)) {
      std::optional<Decoded> decoded = FitPicture(eighth->picture, boxWidth, boxHeight, background);
      if (decoded) {
        decoded->sourceWidth = eighth->width;
        decoded->sourceHeight = eighth->height;
        return decoded;
      }
    }
  }
  return DecodeBytes(bytes, boxWidth, boxHeight, background);
}

std::shared_ptr<MadePicture> Made(Decoded decoded, PictureOrigin origin, PictureFacts facts) {
  auto made = std::make_shared<MadePicture>();
  made->picture = Oriented(decoded.picture, facts.orientation);
  made->origin = origin;
  if (facts.width == 0 && origin == PictureOrigin::File) {
    facts.width = decoded.sourceWidth;
    facts.height = decoded.sourceHeight;
  }
  made->facts = std::move(facts);
  return made;
}

std::shared_ptr<MadePicture> IconOf(const PictureRequest& request, PictureFacts facts) {
  auto made = std::make_shared<MadePicture>();
  made->picture = SystemIconPicture(request.path, std::min({request.boxWidth, request.boxHeight, 256}),
                                    request.background);
  made->origin = PictureOrigin::Icon;
  made->facts = std::move(facts);
  return made;
}

std::shared_ptr<MadePicture> MakePictureOf(const PictureRequest& request, const std::atomic<bool>& stop) {
  const FileKind kind = KindOfFile(request.path);
  if (kind == FileKind::Other) return IconOf(request, {});
  PictureFacts facts;
  std::optional<Decoded> decoded;
  {
    const FileBytes file(request.path);
    if (!file.Opened()) return IconOf(request, {});
    facts = ReadPictureFacts(file);
    if (stop) return nullptr;
    // The stored picture is fitted into the box turned as it will be shown.
    const bool swap = SwapsSides(facts.orientation);
    const int boxWidth = swap ? request.boxHeight : request.boxWidth;
    const int boxHeight = swap ? request.boxWidth : request.boxHeight;
    if (const EmbeddedPreview* preview = ChoosePreview(facts, request, kind)) {
      decoded = DecodePreview(file, *preview, boxWidth, boxHeight, request.background);
      if (decoded) return Made(std::move(*decoded), PictureOrigin::Preview, std::move(facts));
    }
    if (stop) return nullptr;
    decoded = DecodeFile(request.path, boxWidth, boxHeight, request.background);
    if (decoded) return Made(std::move(*decoded), PictureOrigin::File, std::move(facts));
    // A raw file no codec decodes still has its largest preview, however small.
    if (const EmbeddedPreview* preview = PreviewFor(facts, INT_MAX); preview && !stop) {
      decoded = DecodePreview(file, *preview, boxWidth, boxHeight, request.background);
      if (decoded) return Made(std::move(*decoded), PictureOrigin::Preview, std::move(facts));
    }
  }
  if (stop) return nullptr;
  return IconOf(request, std::move(facts));
}

}  // namespace

void PreparePictureThread() { PrepareImaging(); }

std::shared_ptr<const MadePicture> MakePicture(const PictureRequest& request, const std::atomic<bool>& stop) {
  std::shared_ptr<MadePicture> made = MakePictureOf(request, stop);
  // The file's size and time, for the line under the large view.
  if (made && request.largest) {
    if (const std::optional<FileFacts> file = ReadFileFacts(request.path)) {
      made->fileKnown = true;
      made->fileSize = file->size;
      made->modified = file->modified;
    }
  }
  return made;
}

}  // namespace tarnwell
