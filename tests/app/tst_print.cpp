// The printed page at 254 dpi (one 0.1 mm unit a pixel): frame, digits, cell size, wide boards, PDF.
#include <QAction>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QtTest>

#include "app/print_job.h"
#include "app_test_support.h"
#include "platform/draw_surface.h"
#include "view/print_page.h"

using numbloc::BoardState;

namespace {

// A4 less 10 mm on each side, in 0.1 mm.
const QSize kA4Printable(1900, 2770);

QImage RenderPage(const BoardState& state) {
  QImage image(kA4Printable, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setDotsPerMeterX(10000);  // 254 dpi
  image.setDotsPerMeterY(10000);
  {
    QPainter painter(&image);
    numbloc::PainterSurface surface(painter);
    numbloc::OnPrint(state, surface, 254, 254, QSizeF(kA4Printable));
  }
  return image;
}

bool IsBlack(QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; }
bool IsBlue(QRgb c) { return qBlue(c) > 170 && qRed(c) < 90 && qGreen(c) < 90; }
bool IsGreen(QRgb c) { return qGreen(c) > 80 && qRed(c) < 60 && qBlue(c) < 60; }

// Bounding box of the pixels inside `area` that match.
QRect Find(const QImage& image, QRect area, bool (*match)(QRgb)) {
  area &= image.rect();
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (match(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
  return box;
}

// The frame's outer black edges: left/right along `row`, top/bottom down `column` from `below`.
QList<int> FrameEdges(const QImage& image, int row, int column, int below = 300) {
  const QRect across = Find(image, {0, row, image.width(), 1}, IsBlack);
  const QRect down = Find(image, {column, below, 1, image.height()}, IsBlack);
  return {across.left(), across.right(), down.top(), down.bottom()};
}

// Runs one of Poppler's tools on a PDF; nothing when it is not installed.
QByteArray Poppler(const QString& tool, const QStringList& args) {
  if (tool.isEmpty()) return {};
  QProcess run;
  run.start(tool, args);
  run.waitForFinished(60000);
  return run.readAllStandardOutput();
}

// The PDF's page rendered at 254 dpi; null without pdftoppm.
QImage Rasterise(const QString& pdf) {
  Poppler(NUMBLOC_PDFTOPPM, {"-r", "254", "-png", "-singlefile", pdf, pdf + "-page"});
  return QImage(pdf + "-page.png");
}

}  // namespace

class PrintTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { CNumblocApp::SetUpProcess(*qobject_cast<QApplication*>(qApp)); }

  // The thick frame straddles its edges, the cells cover its inner half; from 32 rows cells
  // shrink from 75 units to 50. Too wide for A4: scaled down evenly until the frame reaches the
  // right margin. A hint in the corner cell stands at its offset inside it.
  void theFrameAndACornerHintFollowTheCellSize_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<int>>("edges");  // left, right, top, bottom before scaling
    QTest::addColumn<QRect>("hint");        // where the digit must lie
    const QRect big(200, 382, 50, 60), small(166, 355, 34, 45);
    QTest::newRow("6 x 31") << QSize(6, 31) << QList<int>{171, 628, 371, 2703} << big;
    QTest::newRow("6 x 32") << QSize(6, 32) << QList<int>{146, 453, 346, 1953} << small;
    QTest::newRow("30 x 40") << QSize(30, 40) << QList<int>{146, 1653, 346, 2353} << small;
  }
  void theFrameAndACornerHintFollowTheCellSize() {
    QFETCH(QSize, size);
    QFETCH(QList<int>, edges);
    QFETCH(QRect, hint);
    const BoardState state = Board(size.width(), size.height(), {"4"});
    const QImage page = RenderPage(state);
    const double s = numbloc::PrintScale(state, QSizeF(kA4Printable));
    QCOMPARE(s < 1.0, edges[1] >= kA4Printable.width());
    const QList<int> found = FrameEdges(page, int(600 * s), int(300 * s), int(300 * s));
    for (int i = 0; i < 4; ++i)
      QVERIFY2(qAbs(found[i] - edges[i] * s) <= (s < 1.0 ? 2 : 1), qPrintable(QString::number(found[i])));
    QVERIFY(found[1] < kA4Printable.width() && (s == 1.0 || found[1] >= kA4Printable.width() - 4));
    const QRect digit = Find(page, {100, 250, 200, 200}, IsBlue);
    QVERIFY(!digit.isEmpty() && QRect(hint.topLeft() * s, hint.size() * s).contains(digit));
  }

  void digitsLinesAndTitleStandWhereTheyShould() {
    // Placed 12 (green, "1" from 257, "2" from 287) and 35, blue hint 23, 77 out of range, two hints.
    const BoardState state = Board(8, 8, {". +12", ". . +35 23", ". . . . 77", "", ". 3 4"});
    const QImage page = RenderPage(state);
    // Each digit in its half of the cell or in its place, from the given corner.
    const struct { QRect area; QPoint from; bool (*match)(QRgb); } glyphs[] = {
        {{250, 375, 37, 75}, {257, 382}, IsGreen}, {{287, 375, 38, 75}, {287, 382}, IsGreen},  // 1, 2
        {{437, 457, 35, 60}, {437, 457}, IsBlue}};                                             // 3 of 23
    for (const auto& glyph : glyphs) {
      const QRect box = Find(page, glyph.area, glyph.match);
      QVERIFY(!box.isEmpty() && box.left() >= glyph.from.x() && box.top() >= glyph.from.y());
    }
    QCOMPARE(Find(page, {250, 375, 75, 75}, IsBlue), QRect());  // placed numbers are not hints
    QCOMPARE(Find(page, {481, 531, 65, 65}, [](QRgb c) { return qGray(c) < 245; }), QRect());  // cell (5, 3)
    // As on screen, only the segment between the two hints (x = 325, y -675..-750) is thick.
    QVERIFY(Find(page, {319, 685, 12, 55}, IsBlack).width() >= 7);
    QVERIFY(Find(page, {260, 670, 50, 11}, IsBlack).height() <= 2);
    // Thin cell lines every 75 units (their traces in a preview: below), not between.
    QVERIFY(IsBlack(page.pixel(325, 600)) && !IsBlack(page.pixel(287, 600)));
    // The title at (200, -150), eight characters of 10 mm; nothing else above the board.
    const QRect title = Find(page, {0, 0, 1900, 360}, IsBlack);
    QVERIFY(title.left() >= 200 && title.left() < 230 && title.right() > 900);
    QVERIFY(title.top() >= 150 && title.bottom() <= 250);
  }

  // The preview shrinks the page so a 0.1 mm line is a seventh of a pixel: drawn without
  // smoothing, most of the grid vanished.
  void thinLinesStayVisibleInAShrunkPreview() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setResolution(1200);
    QPicture picture;
    {
      QPainter painter(&picture);
      numbloc::PrintToPrinter(Board(8, 8), printer, painter);
    }
    QImage shown(300, 400, QImage::Format_RGB32);
    shown.fill(Qt::white);
    QPainter painter(&shown);
    painter.scale(0.03, 0.03);
    painter.drawPicture(0, 0, picture);
    painter.end();
    // Along row 1 each of the seven inner cell lines leaves a trace (page origin: printable corner).
    const double pixelsPerUnit = 1200 / 254.0 * 0.03;
    const int row = static_cast<int>(412 * pixelsPerUnit);
    for (int x = 250; x < 775; x += 75) {
      const int px = static_cast<int>(x * pixelsPerUnit);
      int darkest = 255;
      for (int dx = -1; dx <= 1; ++dx) darkest = qMin(darkest, qGray(shown.pixel(px + dx, row)));
      QVERIFY2(darkest < 245, qPrintable(QStringLiteral("line at %1: %2").arg(x).arg(darkest)));
    }
  }

  // The windowless commands, run with no display and no platform named; "@": a folder with p.nbl.
  void theProgramWithoutAWindow_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("says");
    QTest::addColumn<QString>("pdf");  // the one PDF written, if any
    QTest::newRow("version") << QStringList{"--version"} << 0 << QByteArray("numbloc 1.0.0.1\n") << "";
    QTest::newRow("puzzle") << QStringList{"--print-to", "@/p.pdf", "@/p.nbl"} << 0 << QByteArray() << "p.pdf";
    QTest::newRow("missing puzzle") << QStringList{"--print-to", "@/m.pdf", "@/missing.nbl"} << 1
                                    << QByteArray("missing.nbl") << "";
    QTest::newRow("no folder") << QStringList{"--print-to", "@/no/such/x.pdf"} << 1 << QByteArray("x.pdf") << "";
  }
  void theProgramWithoutAWindow() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QByteArray, says);
    QFETCH(QString, pdf);
    QTemporaryDir dir;
    WriteNbl(dir.filePath("p.nbl"), Board(12, 9, {"5"}));
    args.replaceInStrings("@", dir.path());
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(name);
    run.setProcessEnvironment(env);
    run.start(QStringLiteral(NUMBLOC_PROGRAM), args);
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), code);
    QVERIFY((run.readAllStandardOutput() + run.readAllStandardError()).contains(says));
    QCOMPARE(QDir(dir.path()).entryList({"*.pdf"}), pdf.isEmpty() ? QStringList() : QStringList{pdf});
    if (pdf.isEmpty()) return;
    QFile file(dir.filePath(pdf));
    QVERIFY(file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-" && file.size() > 1000);
    // The title and the digits are set in the Mincho face, embedded.
    const QByteArray fonts = Poppler(NUMBLOC_PDFFONTS, {dir.filePath(pdf)});
    QVERIFY2(QStringLiteral(NUMBLOC_PDFFONTS).isEmpty() || fonts.contains("IPAMincho"), fonts.constData());
    const QImage page = Rasterise(dir.filePath(pdf));
    if (page.isNull()) QSKIP("pdftoppm is not installed");
    // The frame found from the board's left side inwards: 12 cells wide.
    const QList<int> e = FrameEdges(page, page.height() / 4, page.width() / 8, page.height() / 8);
    QVERIFY2(qAbs((e[1] - e[0]) - 907) <= 3, qPrintable(QString::number(e[1] - e[0])));
  }

  // The Mincho face has no bold: the PDF writer only struck glyphs twice, a hair apart, so the
  // digits on paper came out nearly regular.
  void digitsInThePdfAreAsBoldAsInTheImage() {
    BoardState state = Board(8, 8);
    for (int x = 1; x <= 8; ++x)
      for (int y = 1; y <= 8; ++y) state.Board[x][y].number = static_cast<std::uint8_t>(8 + (x % 3) * 10);
    QTemporaryDir dir;
    QString reason;
    QVERIFY2(numbloc::PrintToPdf(state, dir.filePath("bold.pdf"), &reason), qPrintable(reason));
    const QImage paper = Rasterise(dir.filePath("bold.pdf"));
    if (paper.isNull()) QSKIP("pdftoppm is not installed");
    // The pixels of the hints' blue, within a third of the scale in each channel.
    const auto ink = [](const QImage& page) { return numbloc::testing::CountColour(page, page.rect(), 0x0000FF, 85); };
    const int onPaper = ink(paper), inImage = ink(RenderPage(state));
    QVERIFY2(onPaper > inImage * 85 / 100, qPrintable(QStringLiteral("paper %1, image %2").arg(onPaper).arg(inImage)));
  }

  // Accepting the print dialog prints the page, cancelling prints nothing; the preview shows it.
  void theMenuPrintsPreviewsAndSetsUpThePrinter() {
    QTemporaryDir dir;
    Shell s;
    s.state.Board[1][1].number = 6;
    s.app.Printer().setOutputFormat(QPrinter::PdfFormat);
    QStringList seen;
    for (const auto& [id, accept] : {std::pair{"Ctrl+P", true}, {"ID_FILE_PRINT", false},
                                     {"ID_FILE_PRINT_PREVIEW", false}, {"ID_FILE_PRINT_SETUP", false}}) {
      s.app.Printer().setOutputFileName(dir.filePath(QStringLiteral("%1.pdf").arg(id)));
      WhenModalShown([&seen, accept = accept](QWidget* modal) {
        seen << modal->metaObject()->className();
        if (auto* preview = modal->findChild<QPrintPreviewWidget*>()) seen << QString::number(preview->pageCount());
        accept ? qobject_cast<QDialog*>(modal)->accept() : qobject_cast<QDialog*>(modal)->reject();
      });
      if (accept)
        QTest::keyClick(s.frame, Qt::Key_P, Qt::ControlModifier);
      else
        s.frame->Action(id)->trigger();
    }
    QCOMPARE(seen, QStringList({"QPrintDialog", "QPrintDialog", "QPrintPreviewDialog", "1", "QPageSetupDialog"}));
    QCOMPARE(QDir(dir.path()).entryList({"*.pdf"}), QStringList{"Ctrl+P.pdf"});
    QVERIFY(QFileInfo(dir.filePath("Ctrl+P.pdf")).size() > 1000);
  }
};

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
