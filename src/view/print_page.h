// The printed page: title, grid, numbers and block outlines in 0.1 mm units,
// drawn through the same drawing surface as the board window.
#pragma once

#include <QSizeF>

#include "core/board/board_state.h"

namespace numbloc {

class DrawSurface;

// Cell size in 0.1 mm: 75 up to 31 rows, 50 from 32 rows on.
int PrintCellSize(int boardHeight);

// Room the unscaled page takes from the top left of the printable area,
// in 0.1 mm, including the outer half of the thick frame and the title.
QSizeF PrintedExtent(const BoardState& state);

// 1 when the page fits `printable` (0.1 mm); otherwise the largest uniform
// factor below 1 that makes it fit, so nothing is cut off.
double PrintScale(const BoardState& state, const QSizeF& printable);

// Draws the one page on `surface`, which covers the printable area of a
// device of the given resolution; `printable` is that area in 0.1 mm.
void OnPrint(const BoardState& state, DrawSurface& surface, double dpiX, double dpiY,
             const QSizeF& printable);

}  // namespace numbloc
