// The printed page on QPrinter: print dialog jobs, preview and PDF files.
#include "app/print_job.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include "platform/draw_surface.h"
#include "view/print_page.h"

namespace numbloc {

void PrintToPrinter(const BoardState& state, QPrinter& printer, QPainter& painter) {
  const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  PainterSurface surface(painter);
  // The preview shrinks the page to the screen, where the 0.1 mm lines
  // become narrower than a pixel: with antialiasing they still show, as
  // faint lines, instead of vanishing. Paper output is vector and unaffected.
  painter.setRenderHint(QPainter::Antialiasing, true);
  OnPrint(state, surface, printer.logicalDpiX(), printer.logicalDpiY(),
          QSizeF(area.width() * 10.0, area.height() * 10.0));
}

bool PrintToPdf(const BoardState& state, const QString& path, QString* reason) {
  // QPrinter would only warn about a file it cannot create; find out first.
  const QFileInfo target(path);
  if (target.isDir() || !QFileInfo(target.absolutePath()).isDir() ||
      (target.exists() && !target.isWritable())) {
    if (reason) *reason = QStringLiteral("cannot write %1").arg(path);
    return false;
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setDocName(QStringLiteral("簡易ナムブロック"));
  printer.setCreator(QStringLiteral("numbloc"));
  QPainter painter;
  if (!painter.begin(&printer)) {
    if (reason) *reason = QStringLiteral("cannot write %1").arg(path);
    return false;
  }
  PrintToPrinter(state, printer, painter);
  if (!painter.end()) {
    if (reason) *reason = QStringLiteral("cannot write %1").arg(path);
    return false;
  }
  return true;
}

}  // namespace numbloc
