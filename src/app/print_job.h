// Running the printed page on a printer, its preview, or a PDF file.
#pragma once

#include <QString>

#include "core/board/board_state.h"

class QPainter;
class QPrinter;

namespace numbloc {

// Draws the page on a painter that is active on a printer (or its preview);
// the painter's origin is the top left of the printable area.
void PrintToPrinter(const BoardState& state, QPrinter& printer, QPainter& painter);

// Writes the page as a one-page A4 PDF. False, with the reason, when the file
// cannot be written.
bool PrintToPdf(const BoardState& state, const QString& path, QString* reason);

}  // namespace numbloc
