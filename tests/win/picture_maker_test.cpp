// Pictures made through the Windows Imaging Component, from files that
// ImageMagick and exiftool made (solid colours: blue pictures, red
// thumbnails) and raw containers the test writes around them: a camera
// file's picture comes from its thumbnail or preview, turned by its
// orientation; the large view takes a raw file's largest preview; other
// pictures are decoded whole and fitted; a file that is no picture shows
// its type's icon.
#include <gtest/gtest.h>

#include <atomic>

#include "pictures/picture_maker_win.h"
#include "tests/win/support/picture_files.h"
#include "tests/win/support/temporary_folder.h"

namespace tarnwell {
namespace {

using testing::PictureFilesFolder;

enum class Colour { Red, Green, Blue, Yellow, Cyan, Magenta, White, Other };

Colour ColourOf(std::uint32_t pixel) {
  const auto r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  const auto high = [](std::uint32_t c) { return c > 200; };
  const auto low = [](std::uint32_t c) { return c < 60; };
  if (high(r) && low(g) && low(b)) return Colour::Red;
  if (low(r) && high(g) && low(b)) return Colour::Green;
  if (low(r) && low(g) && high(b)) return Colour::Blue;
  if (high(r) && high(g) && low(b)) return Colour::Yellow;
  if (low(r) && high(g) && high(b)) return Colour::Cyan;
  if (high(r) && low(g) && high(b)) return Colour::Magenta;
  if (high(r) && high(g) && high(b)) return Colour::White;
  return Colour::Other;
}

std::uint32_t PixelAt(const Picture& picture, int x, int y) {
  return picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                        static_cast<std::size_t>(x)];
}

Colour Middle(const Picture& picture) { return ColourOf(PixelAt(picture, picture.width / 2, picture.height / 2)); }

std::shared_ptr<const MadePicture> Make(const Text& path, int side, bool largest = false) {
  PictureRequest request;
  request.key = path;
  request.path = path;
  request.boxWidth = request.boxHeight = side;
  request.largest = largest;
  std::atomic<bool> stop{false};
  return MakePicture(request, stop);
}

class PictureMaker : public ::testing::Test {
 protected:
  void SetUp() override {
    files = PictureFilesFolder();
    if (files.empty()) GTEST_SKIP() << "the test pictures were not made: ImageMagick or exiftool is missing";
  }
  Text File(const char* name) const { return Concat(files, "\\", name); }

  Text files;
};

TEST_F(PictureMaker, JpegFromItsExifThumbnailTurnedUpright) {
  const auto made = Make(File("photo.jpg"), 160);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->origin, PictureOrigin::Preview);
  EXPECT_EQ(Middle(made->picture), Colour::Red);
  // 160 x 120 stored, orientation 6: shown 120 wide and 160 high.
  EXPECT_EQ(made->picture.width, 120);
  EXPECT_EQ(made->picture.height, 160);
  EXPECT_EQ(made->facts.cameraModel, "Tarnwell Test Camera");
  EXPECT_EQ(made->facts.takenAt, "2024:05:06 07:08:09");
  EXPECT_EQ(made->facts.width, 1600);
}

TEST_F(PictureMaker, JpegForTheLargeViewIsDecodedWhole) {
  const auto made = Make(File("photo.jpg"), 400, true);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->origin, PictureOrigin::File);
  EXPECT_EQ(Middle(made->picture), Colour::Blue);
  EXPECT_EQ(made->picture.width, 300);  // 1600 x 1200 fitted into 400 x 400 after the quarter turn
  EXPECT_EQ(made->picture.height, 400);
}

TEST_F(PictureMaker, OtherPicturesAreDecodedAndFitted) {
  struct Row {
    const char* name;
    Colour middle;
  };
  for (const Row& row : {Row{"plain.jpg", Colour::Blue}, Row{"picture.gif", Colour::Yellow},
                         Row{"picture.bmp", Colour::Cyan}, Row{"picture.tif", Colour::Magenta}}) {
    SCOPED_TRACE(row.name);
    const auto made = Make(File(row.name), 200);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->origin, PictureOrigin::File);
    EXPECT_EQ(Middle(made->picture), row.middle);
    EXPECT_EQ(std::max(made->picture.width, made->picture.height), 200);
  }
  // The transparent half shows the background.
  const auto png = Make(File("picture.png"), 200);
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(ColourOf(PixelAt(png->picture, 10, 75)), Colour::Green);
  EXPECT_EQ(ColourOf(PixelAt(png->picture, 190, 75)), Colour::White);
}

TEST_F(PictureMaker, RawFilesFromTheirPreviews) {
  testing_support::TemporaryFolder folder("raw");
  const auto raws = testing::WriteRawFiles(folder.path(), testing_support::FileBytes(File("preview.jpg")),
                                           testing_support::FileBytes(File("thumbnail.jpg")));
  for (const testing::RawFile& raw : raws) {
    SCOPED_TRACE(raw.name);
    const auto grid = Make(folder / raw.name, 160);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->origin, PictureOrigin::Preview);
    EXPECT_EQ(Middle(grid->picture), raw.hasThumbnail ? Colour::Red : Colour::Blue);
    // A cell of 64: a preview alone is decoded at an eighth (80 x 54 still fills the cell).
    const auto small = Make(folder / raw.name, 64);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(Middle(small->picture), raw.hasThumbnail ? Colour::Red : Colour::Blue);
    EXPECT_EQ(std::max(small->picture.width, small->picture.height), 64);
    const auto large = Make(folder / raw.name, 1000, true);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(large->origin, PictureOrigin::Preview);
    EXPECT_EQ(Middle(large->picture), Colour::Blue);
    EXPECT_EQ(large->picture.width, 640);  // the largest preview, never enlarged
  }
}

TEST_F(PictureMaker, NoPictureShowsItsTypesIcon) {
  for (const char* name : {"notes.txt", "photo.jpg.missing"}) {
    SCOPED_TRACE(name);
    const auto made = Make(File(name), 160);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->origin, PictureOrigin::Icon);
  }
  // A file named as a picture that no codec decodes.
  testing_support::TemporaryFolder folder("broken");
  testing_support::PutFile(folder / "broken.jpg", "not a JPEG at all");
  const auto broken = Make(folder / "broken.jpg", 160);
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(broken->origin, PictureOrigin::Icon);
}

}  // namespace
}  // namespace tarnwell
