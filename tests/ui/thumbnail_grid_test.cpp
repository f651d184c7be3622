// The thumbnail grid's portable parts: its selection keeps the list's rules
// (Space ticks or unticks the selection as the focused row decides, a
// focused row outside it is toggled alone; Ctrl+click and Shift extend as a
// list does), and the window's kept place reads back only when it is whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/result_rows.h"
#include "ui/grid_selection.h"
#include "ui/thumbnail_place.h"

namespace tarnwell {
namespace {

std::vector<int> Ticked(const ResultList& rows) {
  std::vector<int> ticked;
  for (int row = 0; row < rows.RowCount(); ++row) {
    if (rows.IsChecked(row)) ticked.push_back(row);
  }
  return ticked;
}

TEST(GridSelection, SpaceFollowsTheListsRule) {
  enum Step { Choose, Flip, Extend, Focus, All };
  struct Row {
    const char* what;
    std::vector<std::pair<Step, int>> steps;
    std::vector<int> tickedBefore;
    std::vector<int> tickedAfter;
  };
  const Row rows[] = {
      {"one row, unticked", {{Choose, 3}}, {}, {3}},
      {"one row, ticked", {{Choose, 3}}, {3}, {}},
      {"a range, the focused row unticked: all ticked", {{Choose, 1}, {Extend, 4}}, {1, 2}, {1, 2, 3, 4}},
      {"a range, the focused row ticked: all unticked", {{Choose, 1}, {Extend, 4}}, {4, 6}, {6}},
      {"Ctrl+click adds and takes away", {{Choose, 0}, {Flip, 2}, {Flip, 5}, {Flip, 0}, {Focus, 2}}, {}, {2, 5}},
      {"Ctrl+click takes the focused row out: toggled alone", {{Choose, 0}, {Flip, 2}, {Flip, 0}}, {}, {0}},
      {"the focus outside the selection: toggled alone", {{Choose, 1}, {Extend, 2}, {Focus, 5}}, {}, {5}},
      {"every row", {{All, 0}, {Focus, 0}}, {0}, {}},
      {"Shift from the anchor, up", {{Choose, 5}, {Extend, 3}}, {}, {3, 4, 5}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ResultList list;
    for (int i = 0; i < 8; ++i) AppendPath(list, "C:\\d\\f" + std::to_string(i));
    for (int ticked : row.tickedBefore) list.SetChecked(ticked, true);
    GridSelection selection;
    for (const auto& [step, at] : row.steps) {
      switch (step) {
        case Choose: selection.Choose(at); break;
        case Flip: selection.Flip(at); break;
        case Extend: selection.ExtendTo(at); break;
        case Focus: selection.MoveFocus(at); break;
        case All: selection.SelectAll(list.RowCount()); break;
      }
    }
    selection.Space(list);
    EXPECT_EQ(Ticked(list), row.tickedAfter);
  }
}

TEST(ThumbnailPlace, ReadsBackOnlyAWholePlace) {
  struct Row {
    const char* text;
    bool read;
  };
  for (const Row& row : {Row{"10,20,700,500", true}, Row{" -8 , -8 , 1936 , 1056 ", true}, Row{"10,20,700", false},
                         Row{"10,20,700,500,3", false}, Row{"10,20,99,500", false}, Row{"a,20,700,500", false},
                         Row{"10,20,700,500x", false}, Row{"", false}, Row{",,,", false}}) {
    SCOPED_TRACE(row.text);
    const std::optional<WindowPlace> place = ParseWindowPlace(row.text);
    ASSERT_EQ(place.has_value(), row.read);
    if (place) {
      const std::optional<WindowPlace> again = ParseWindowPlace(WindowPlaceText(*place));
      ASSERT_TRUE(again.has_value());
      EXPECT_EQ(again->left, place->left);
      EXPECT_EQ(again->height, place->height);
    }
  }
}

}  // namespace
}  // namespace tarnwell
