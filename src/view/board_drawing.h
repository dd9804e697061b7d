// The picture of the board window, drawn from the board state onto a
// drawing surface, and the block-outline rule shared with the printed page.
#pragma once

#include <QString>
#include <bitset>

#include "core/board/board_state.h"

namespace numbloc {

class DrawSurface;

// Whether the cell (i, j) gets its top (or left) outline segment: the line
// between different numbers, and around blocks known to be complete.
bool DrawsTopSegment(const BoardState& state, int i, int j);
bool DrawsLeftSegment(const BoardState& state, int i, int j);

// What the window shows beside the board state: the answer of an analysis
// on the status line, the cells where two solutions differ, the live verdict
// of Creation mode and the progress of a running job.
struct BoardOverlay {
  QString statusText;               // replaces the status message when not empty
  std::bitset<kMaxWidth * kMaxHeight> differs;   // red frames; cell (x, y) at (y - 1) * W + (x - 1)
  std::bitset<kMaxWidth * kMaxHeight> warnings;  // broken rules: orange frames
  int cursorColumn = 0;             // the keyboard's cell, 0 when hidden
  int cursorRow = 0;
  QString verdict;                  // under the mode label
  QString progress[2];              // under the buttons
  bool Empty() const {
    return statusText.isEmpty() && differs.none() && warnings.none() && cursorColumn == 0 &&
           verdict.isEmpty() && progress[0].isEmpty();
  }
};

// Paints everything after the deferred reset and layout, in canvas
// coordinates: background, title, status line, cells with their outlines,
// frame, number bar, marker, buttons and mode label, then the overlay.
// Reads the state only.
void DrawBoardWindow(const BoardState& state, DrawSurface& surface,
                     const BoardOverlay& overlay = {});

}  // namespace numbloc
