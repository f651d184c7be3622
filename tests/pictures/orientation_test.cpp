// The eight EXIF orientations on a picture of 3 x 2 whose pixels are
// numbered row by row; each expected picture is drawn from EXIF's own
// wording of the orientation (where the stored first row and first column
// end up), not from the code's arithmetic.
#include <gtest/gtest.h>

#include <vector>

#include "pictures/orientation.h"

namespace tarnwell {
namespace {

// 1 2 3
// 4 5 6
Picture Stored() { return {3, 2, {1, 2, 3, 4, 5, 6}}; }

TEST(Orientation, TurnsAndMirrorsAsExifSays) {
  struct Row {
    int orientation;
    int width, height;
    std::vector<std::uint32_t> shown;
  };
  const Row rows[] = {
      {1, 3, 2, {1, 2, 3, 4, 5, 6}},
      {2, 3, 2, {3, 2, 1, 6, 5, 4}},        // the first row runs right to left
      {3, 3, 2, {6, 5, 4, 3, 2, 1}},        // half a turn
      {4, 3, 2, {4, 5, 6, 1, 2, 3}},        // the first row at the bottom
      {5, 2, 3, {1, 4, 2, 5, 3, 6}},        // the first row becomes the left column, top down
      {6, 2, 3, {4, 1, 5, 2, 6, 3}},        // a quarter to the right: the first row is the right column
      {7, 2, 3, {6, 3, 5, 2, 4, 1}},        // the first row becomes the right column, bottom up
      {8, 2, 3, {3, 6, 2, 5, 1, 4}},        // a quarter to the left: the first row is the left column, bottom up
      {0, 3, 2, {1, 2, 3, 4, 5, 6}},        // unknown: as stored
      {9, 3, 2, {1, 2, 3, 4, 5, 6}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.orientation);
    const Picture shown = Oriented(Stored(), row.orientation);
    EXPECT_EQ(shown.width, row.width);
    EXPECT_EQ(shown.height, row.height);
    EXPECT_EQ(shown.pixels, row.shown);
  }
}

}  // namespace
}  // namespace tarnwell
