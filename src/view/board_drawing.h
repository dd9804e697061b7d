// The picture of the board window, drawn from the board state onto a
// drawing surface, and the block-outline rule shared with the printed page.
#pragma once

#include "core/board/board_state.h"

namespace numbloc {

class DrawSurface;

// Whether the cell (i, j) gets its top (or left) outline segment: the line
// between different numbers, and around blocks known to be complete.
bool DrawsTopSegment(const BoardState& state, int i, int j);
bool DrawsLeftSegment(const BoardState& state, int i, int j);

// Paints everything after the deferred reset and layout, in canvas
// coordinates: background, title, status line, cells with their outlines,
// frame, number bar, marker, buttons and mode label. Reads the state only.
void DrawBoardWindow(const BoardState& state, DrawSurface& surface);

}  // namespace numbloc
