// The result list: the one store of found files. Each row is a path and a
// tick. Rows are addressed by their 0-based index, which shifts when an
// earlier row is removed, and also carry a RowId that never changes and is
// never reused: ids grow with every append, so the rows are always sorted by
// id and a row is found again by binary search, whatever was removed or
// cleared meanwhile. Folder texts are stored once per run of rows that share
// them, which keeps a million rows small. Rows, folders and texts are held in
// blocks that never move, so appending never copies what is already there.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/row_range.h"
#include "platform/text/text.h"
#include "results/slab_pool.h"
#include "results/text_blocks.h"

namespace tarnwell {

class ResultList {
 public:
  using RowId = std::uint64_t;
  static constexpr RowId kNoRow = 0;

  enum class Change {
    Appended,    // rows were added at the end
    Reset,       // rows were cleared or removed: indices changed
    RowChanged,  // one row's tick or text changed (the row index is passed)
    AllTicks,    // every row's tick was set at once, or the ticks of many rows
  };

  using Listener = std::function<void(Change, int row)>;

  // Called after every change; the view uses it to repaint.
  void SetListener(Listener listener);
  // Further listeners (the thumbnail window), called after that one in the
  // order added, until the id given back takes them off again.
  int AddListener(Listener listener);
  void RemoveListener(int id);

  void Clear();
  // Appends an unticked row holding folder + "\" + name.
  void Append(std::string_view folder, std::string_view name);

  int RowCount() const;
  // The row's whole path; the empty text for an index that names no row.
  Text RowText(int row) const;
  // The part of the row's path after its last "\".
  Text RowFileName(int row) const;
  bool IsChecked(int row) const;
  void SetChecked(int row, bool checked);
  // Ticks or unticks every row with one notification: a view told once per
  // row would take seconds over a million rows.
  void SetAllChecked(bool checked);
  // Ticks or unticks the rows of every range (rows that name no row are
  // skipped), also with one notification.
  void SetRowsChecked(std::span<const RowRange> ranges, bool checked);

  // Removes every row whose id is listed (ids in any order; unknown ids are ignored).
  void RemoveRows(std::span<const RowId> ids);

  RowId IdOf(int row) const;  // kNoRow for an index that names no row
  int RowOf(RowId id) const;  // -1 when the row is gone
  // The first row whose id is greater than `after`, or -1.
  int FirstRowAfter(RowId after) const;

 private:
  struct Row {
    RowId id;
    const char* name;
    std::uint32_t folder;
    std::uint32_t nameLength : 31;
    std::uint32_t checked : 1;
  };

  // Everything the rows hold, replaced whole by Clear. The pool is made
  // first and goes last.
  struct Store {
    SlabPool pool;
    std::deque<Row, SlabAllocator<Row>> rows{SlabAllocator<Row>(pool)};
    std::deque<std::string_view, SlabAllocator<std::string_view>> folders{
        SlabAllocator<std::string_view>(pool)};  // texts held in `texts`
    TextBlocks texts;
  };

  bool Valid(int row) const { return row >= 0 && row < static_cast<int>(store_->rows.size()); }
  std::uint32_t FolderIndex(std::string_view folder);
  void AppendRow(std::uint32_t folder, std::string_view name);
  void Notify(Change change, int row = -1);

  std::unique_ptr<Store> store_ = std::make_unique<Store>();
  RowId lastId_ = kNoRow;
  Listener listener_;
  std::vector<std::pair<int, Listener>> moreListeners_;
  int lastListenerId_ = 0;
};

}  // namespace tarnwell
