// Where the solver has set marks, so that its clean-ups visit those cells
// instead of the whole board. A speed layer only: switched off, every
// question is answered with the whole board and the results stay the same.
#pragma once

#include <cstdint>

#include "core/board/board_state.h"
#include "core/solver/solver_geometry.h"

namespace numbloc {

// What the tracker relies on, while it is trusted (inside an automatic solve,
// where only the solver writes marks):
//  - a mark is raised above 0 only through Set() or Scanned(); other code
//    may only lower a mark to 0 or turn a non-zero mark into 3;
//  - so every non-zero mark lies inside Extent();
//  - outside the cells Set() since the last ResetTouched(), empty cells hold
//    mark 0 and numbered cells 0 or 3: the rules that call ResetTouched()
//    first clear every mark and clean up after each block or region.
// Outside a solve (tests call the operations one by one and may write marks
// by hand) the extent is not trusted and stands for the whole board; the
// touched cells still serve within one rule, which clears every mark first.
class MarkTracker {
 public:
  struct Box {
    int x0 = 1 << 20, x1 = -1, y0 = 1 << 20, y1 = -1;  // empty while x1 < x0
    void Reset() { *this = Box{}; }
    void Touch(int x, int y) {
      if (x < x0) x0 = x;
      if (x > x1) x1 = x;
      if (y < y0) y0 = y;
      if (y > y1) y1 = y;
    }
  };

  bool enabled = true;  // false: no tracking, every box is the whole board (for tests)

  explicit MarkTracker(const BoardState& state) : state_(state) {}

  void Trust(bool trusted) { trusted_ = trusted; }
  void Set(Cell& cell, int x, int y, std::uint8_t mark) {
    cell.mark = mark;
    touchedBox_.Touch(x, y);
    extent_.Touch(x, y);
    if (touchedCount_ <= kTouchedCapacity) {
      if (touchedCount_ < kTouchedCapacity) touched_[touchedCount_] = {x, y};
      ++touchedCount_;
    }
  }
  // Mark 3 for a cell that a clean-up would have given mark 3 anyway.
  void Scanned(Cell& cell, int x, int y) {
    cell.mark = 3;
    extent_.Touch(x, y);
  }
  void ResetTouched() {
    touchedBox_.Reset();
    touchedCount_ = 0;
  }
  void AllCleared() { extent_.Reset(); }
  void CoverAll() { extent_ = WholeBoard(); }  // marks came from elsewhere: any cell may hold one
  void Save() { savedExtent_ = extent_; }        // with the trial snapshot of the board
  void Restore() { extent_ = savedExtent_; }

  // The rectangle outside which every mark is 0.
  Box Extent() const { return enabled && trusted_ ? extent_ : WholeBoard(); }
  // The rectangle of the cells Set() since the last ResetTouched().
  Box TouchedBox() const { return enabled ? touchedBox_ : WholeBoard(); }
  // fn(cell) on every cell Set() since the last ResetTouched() (some more
  // than once), or on every cell of their rectangle when they were too many.
  template <typename Fn>
  void ForEachTouched(BoardState& state, Fn fn) const {
    if (enabled && touchedCount_ <= kTouchedCapacity) {
      for (int i = 0; i < touchedCount_; ++i) fn(state.Board[touched_[i].x][touched_[i].y]);
      return;
    }
    const Box b = TouchedBox();
    for (int x = b.x0; x <= b.x1; ++x) {
      for (int y = b.y0; y <= b.y1; ++y) fn(state.Board[x][y]);
    }
  }

 private:
  Box WholeBoard() const { return {1, state_.BoardWidth, 1, state_.BoardHeight}; }

  // A cell is listed once per Set(); a long thin block has a large rectangle
  // but few cells, so a clean-up visits the list while it fits.
  static constexpr int kTouchedCapacity = 4 * kPuzzleCells;

  const BoardState& state_;        // the board whose marks are tracked (its size)
  bool trusted_ = false;           // inside a solve: the extent holds every non-zero mark
  Box extent_;                     // every cell given a non-zero mark since the last AllCleared()
  Box savedExtent_;                // extent_ when the trial snapshot was saved
  Box touchedBox_;                 // the cells Set() since the last ResetTouched()
  int touchedCount_ = 0;           // Set() calls since then, counted past the capacity
  CellRef touched_[kTouchedCapacity] = {};  // their cells, while they fit
};

}  // namespace numbloc
