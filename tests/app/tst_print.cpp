// The printed page at 254 dpi, where one 0.1 mm unit is one pixel: frame,
// digits, cell size, the fit of wide boards, and the PDF written headless.
#include <QAction>
#include <QImage>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QtTest>

#include "app/main_frame.h"
#include "app/numbloc_app.h"
#include "app/print_job.h"
#include "app_test_support.h"
#include "core/board/nbl_file.h"
#include "platform/draw_surface.h"
#include "view/print_page.h"

using numbloc::BoardState;

namespace {

// A4 less 10 mm on each side, in 0.1 mm.
const QSize kA4Printable(1900, 2770);

BoardState Board(int width, int height) {
  BoardState state;
  state.BoardWidth = static_cast<std::uint8_t>(width);
  state.BoardHeight = static_cast<std::uint8_t>(height);
  state.ResetBoard();
  return state;
}

QImage RenderPage(const BoardState& state, QSize pixels) {
  QImage image(pixels, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setDotsPerMeterX(10000);  // 254 dpi
  image.setDotsPerMeterY(10000);
  QPainter painter(&image);
  {
    numbloc::PainterSurface surface(painter);
    numbloc::OnPrint(state, surface, 254, 254, QSizeF(pixels));
  }
  painter.end();
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

// The outer black edges of the frame along one row and one column, the
// column searched from `below` down (under the title).
struct Edges {
  int left = -1, right = -1, top = -1, bottom = -1;
};
Edges FrameEdges(const QImage& image, int row, int column, int below = 300) {
  Edges e;
  for (int x = 0; x < image.width(); ++x)
    if (IsBlack(image.pixel(x, row))) {
      if (e.left < 0) e.left = x;
      e.right = x;
    }
  for (int y = below; y < image.height(); ++y)
    if (IsBlack(image.pixel(column, y))) {
      if (e.top < 0) e.top = y;
      e.bottom = y;
    }
  return e;
}

}  // namespace

class PrintTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { CNumblocApp::SetUpProcess(*qobject_cast<QApplication*>(qApp)); }

  void the8By8FrameRunsFrom175To775AndMinus375ToMinus975() {
    const QImage page = RenderPage(Board(8, 8), kA4Printable);
    // The thick frame straddles its edges; the cells cover its inner half.
    const Edges e = FrameEdges(page, 600, 500);
    QVERIFY2(qAbs(e.left - 171) <= 1, qPrintable(QString::number(e.left)));
    QVERIFY2(qAbs(e.right - 778) <= 1, qPrintable(QString::number(e.right)));
    QVERIFY2(qAbs(e.top - 371) <= 1, qPrintable(QString::number(e.top)));
    QVERIFY2(qAbs(e.bottom - 978) <= 1, qPrintable(QString::number(e.bottom)));
    // Thin cell lines every 75 units inside.
    for (int x = 250; x < 775; x += 75) QVERIFY(IsBlack(page.pixel(x, 600)));
    QVERIFY(!IsBlack(page.pixel(287, 600)));
    // The title stands at (200, -150) and nothing else is above the board.
    const QRect title = Find(page, QRect(0, 0, 1900, 360), IsBlack);
    QVERIFY(title.left() >= 200 && title.left() < 230);
    QVERIFY(title.top() >= 150 && title.bottom() <= 250);
    QVERIFY(title.right() > 900);  // eight characters of 10 mm
  }

  void digitsStandWhereAndInTheColourTheyShould() {
    BoardState state = Board(8, 8);
    state.Board[1][1].number = 7;    // hint: blue, one digit at (200, -382)
    state.Board[2][1].number = 112;  // placed 12: green "1" at 257, "2" at 287
    state.Board[3][2].number = 135;  // placed 35
    state.Board[4][2].number = 23;   // hint 23
    state.Board[5][3].number = 77;   // out of range: empty
    const QImage page = RenderPage(state, kA4Printable);

    const QRect seven = Find(page, QRect(175, 375, 75, 75), IsBlue);
    QVERIFY(!seven.isEmpty());
    QVERIFY2(seven.left() >= 200 && seven.top() >= 382, qPrintable(QString("%1,%2").arg(seven.left()).arg(seven.top())));
    QVERIFY(seven.right() < 250 && seven.bottom() < 442);
    QVERIFY(Find(page, QRect(175, 375, 75, 75), IsGreen).isEmpty());

    const QRect one = Find(page, QRect(250, 375, 37, 75), IsGreen);
    const QRect two = Find(page, QRect(287, 375, 38, 75), IsGreen);
    QVERIFY(!one.isEmpty() && !two.isEmpty());
    QVERIFY(one.left() >= 257 && one.top() >= 382);
    QVERIFY(two.left() >= 287 && two.top() >= 382);
    QVERIFY(Find(page, QRect(250, 375, 75, 75), IsBlue).isEmpty());

    QVERIFY(!Find(page, QRect(332, 457, 30, 60), IsGreen).isEmpty());  // "3" at 332
    QVERIFY(!Find(page, QRect(362, 457, 35, 60), IsGreen).isEmpty());  // "5" at 362
    QVERIFY(!Find(page, QRect(407, 457, 30, 60), IsBlue).isEmpty());   // "2" at 407
    QVERIFY(!Find(page, QRect(437, 457, 35, 60), IsBlue).isEmpty());   // "3" at 437

    const QRect empty(481, 531, 65, 65);  // cell (5, 3) inside its lines
    QVERIFY(Find(page, empty, IsBlack).isEmpty());
    QVERIFY(Find(page, empty, IsBlue).isEmpty());
    QVERIFY(Find(page, empty, IsGreen).isEmpty());
  }

  void blockOutlinesFollowTheScreenRule() {
    BoardState state = Board(8, 8);
    state.Board[2][2].number = 3;  // two different hints side by side
    state.Board[3][2].number = 4;
    const QImage page = RenderPage(state, kA4Printable);
    // Only the segment between them (x = 325, y -450..-525) is thick.
    const QRect between = Find(page, QRect(319, 460, 12, 55), IsBlack);
    QVERIFY(between.width() >= 7);
    const QRect above = Find(page, QRect(260, 445, 50, 11), IsBlack);
    QVERIFY(above.height() <= 2);
  }

  void cellsShrinkTo50From32Rows() {
    QCOMPARE(numbloc::PrintCellSize(31), 75);
    QCOMPARE(numbloc::PrintCellSize(32), 50);
    BoardState tall = Board(6, 32);
    tall.Board[1][1].number = 4;
    const QImage page = RenderPage(tall, kA4Printable);
    const Edges e = FrameEdges(page, 1000, 300);
    QVERIFY(qAbs(e.left - 146) <= 1);
    QVERIFY(qAbs(e.right - (100 + 7 * 50 + 3)) <= 1);
    QVERIFY(qAbs(e.top - 346) <= 1);
    QVERIFY(qAbs(e.bottom - (300 + 33 * 50 + 3)) <= 1);
    // One digit at (xl + 16, yt - 5) in a 40-unit face.
    const QRect four = Find(page, QRect(150, 350, 50, 50), IsBlue);
    QVERIFY(four.left() >= 166 && four.top() >= 355 && four.bottom() < 400);

    const Edges at31 = FrameEdges(RenderPage(Board(6, 31), kA4Printable), 1000, 300);
    QVERIFY(qAbs(at31.bottom - (300 + 32 * 75 + 3)) <= 1);
  }

  void aWideBoardIsScaledDownToFitA4() {
    BoardState wide = Board(30, 31);
    wide.Board[30][31].number = 9;  // the last cell must still be on paper
    QVERIFY(numbloc::PrintScale(wide, QSizeF(kA4Printable)) < 1.0);
    QCOMPARE(numbloc::PrintScale(Board(8, 8), QSizeF(kA4Printable)), 1.0);
    QCOMPARE(numbloc::PrintScale(Board(30, 40), QSizeF(kA4Printable)), 1.0);

    const QImage page = RenderPage(wide, kA4Printable);
    const double s = numbloc::PrintScale(wide, QSizeF(kA4Printable));
    const Edges e = FrameEdges(page, int(1500 * s), int(1000 * s), int(300 * s));
    // The frame's outer edge reaches the right margin and no further.
    QVERIFY2(e.right <= kA4Printable.width() - 1 && e.right >= kA4Printable.width() - 4,
             qPrintable(QString::number(e.right)));
    QVERIFY(qAbs(e.right - 2429 * s) <= 2);
    QVERIFY(qAbs(e.bottom - 2704 * s) <= 2);
    // Uniform: the frame keeps its proportions of 30 by 31 cells.
    const double ratio = double(e.right - e.left) / double(e.bottom - e.top);
    QVERIFY(qAbs(ratio - 2258.0 / 2333.0) < 0.01);
    const QRect nine = Find(page, QRect(int(2350 * s), int(2625 * s), int(75 * s), int(75 * s)), IsBlue);
    QVERIFY(!nine.isEmpty());
  }

  // The preview records the page at the printer's resolution and shows it
  // shrunk, where a 0.1 mm line is a seventh of a pixel: drawn without
  // smoothing, most of the grid vanished from the preview.
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
    {
      QPainter painter(&shown);
      painter.scale(0.03, 0.03);
      painter.drawPicture(0, 0, picture);
    }
    // Along the middle of row 1, each of the seven inner cell lines leaves a
    // trace at its place (the page starts at the printable area's corner).
    const double pixelsPerUnit = 1200 / 254.0 * 0.03;
    const int row = static_cast<int>(412 * pixelsPerUnit);
    for (int x = 250; x < 775; x += 75) {
      const int px = static_cast<int>(x * pixelsPerUnit);
      int darkest = 255;
      for (int dx = -1; dx <= 1; ++dx) darkest = qMin(darkest, qGray(shown.pixel(px + dx, row)));
      QVERIFY2(darkest < 245, qPrintable(QStringLiteral("line at %1: %2").arg(x).arg(darkest)));
    }
  }

  void printToWritesThePageWithoutAWindow() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("page.pdf");
    QProcess run;
    // Nothing says which window system to use and there is no display.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    run.setProcessEnvironment(env);
    run.start(QStringLiteral(NUMBLOC_PROGRAM), {"--print-to", pdf});
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 0);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");

    if (!QStringLiteral(NUMBLOC_PDFFONTS).isEmpty()) {
      // The title and the digits are set in the Mincho face, embedded.
      QProcess fonts;
      fonts.start(QStringLiteral(NUMBLOC_PDFFONTS), {pdf});
      QVERIFY(fonts.waitForFinished(60000));
      const QByteArray listing = fonts.readAllStandardOutput();
      QVERIFY2(listing.contains("IPAMincho"), listing.constData());
    }

    if (QStringLiteral(NUMBLOC_PDFTOPPM).isEmpty()) QSKIP("pdftoppm is not installed");
    QProcess raster;
    raster.start(QStringLiteral(NUMBLOC_PDFTOPPM),
                 {"-r", "254", "-png", "-singlefile", pdf, dir.filePath("page")});
    QVERIFY(raster.waitForFinished(60000));
    const QImage page(dir.filePath("page.png"));
    QVERIFY(!page.isNull());
    // Find the frame from the middle of the board's left edge inwards.
    const Edges e = FrameEdges(page, page.height() / 4, page.width() / 8, page.height() / 8);
    QVERIFY2(qAbs((e.right - e.left) - 607) <= 3, qPrintable(QString::number(e.right - e.left)));
  }

  // The Mincho face has no bold of its own. On screen and in images the font
  // engine thickens the glyphs; the PDF writer only struck them twice, a
  // hair apart, so the digits on paper came out nearly regular.
  void digitsInThePdfAreAsBoldAsInTheImage() {
    if (QStringLiteral(NUMBLOC_PDFTOPPM).isEmpty()) QSKIP("pdftoppm is not installed");
    BoardState state = Board(8, 8);
    for (int x = 1; x <= 8; ++x)
      for (int y = 1; y <= 8; ++y) state.Board[x][y].number = static_cast<std::uint8_t>(8 + (x % 3) * 10);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("bold.pdf");
    QString reason;
    QVERIFY2(numbloc::PrintToPdf(state, pdf, &reason), qPrintable(reason));
    QProcess raster;
    raster.start(QStringLiteral(NUMBLOC_PDFTOPPM),
                 {"-r", "254", "-png", "-singlefile", pdf, dir.filePath("bold")});
    QVERIFY(raster.waitForFinished(60000));
    const QImage paper(dir.filePath("bold.png"));
    QVERIFY(!paper.isNull());
    const QImage image = RenderPage(state, kA4Printable);
    const auto ink = [](const QImage& page) {
      int n = 0;
      for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) n += IsBlue(page.pixel(x, y)) ? 1 : 0;
      return n;
    };
    const int onPaper = ink(paper), inImage = ink(image);
    QVERIFY2(onPaper > inImage * 85 / 100,
             qPrintable(QStringLiteral("paper %1, image %2").arg(onPaper).arg(inImage)));
  }

  void printToLoadsTheNamedPuzzleAndRefusesAnUnreadableOne() {
    QTemporaryDir dir;
    BoardState state = Board(12, 9);
    state.Board[1][1].number = 5;
    QVERIFY(numbloc::WriteNblFile(QFile::encodeName(dir.filePath("p.nbl")).toStdString(), state).ok);

    QProcess ok;
    ok.start(QStringLiteral(NUMBLOC_PROGRAM), {"--print-to", dir.filePath("p.pdf"), dir.filePath("p.nbl")});
    QVERIFY(ok.waitForFinished(60000));
    QCOMPARE(ok.exitCode(), 0);
    QVERIFY(QFileInfo(dir.filePath("p.pdf")).size() > 1000);

    QProcess missing;
    missing.start(QStringLiteral(NUMBLOC_PROGRAM),
                  {"--print-to", dir.filePath("m.pdf"), dir.filePath("missing.nbl")});
    QVERIFY(missing.waitForFinished(60000));
    QCOMPARE(missing.exitCode(), 1);
    QVERIFY(missing.readAllStandardError().contains("missing.nbl"));
    QVERIFY(!QFileInfo::exists(dir.filePath("m.pdf")));

    QProcess unwritable;
    unwritable.start(QStringLiteral(NUMBLOC_PROGRAM),
                     {"--print-to", dir.filePath("no/such/folder/x.pdf")});
    QVERIFY(unwritable.waitForFinished(60000));
    QCOMPARE(unwritable.exitCode(), 1);
  }

  void theMenuPrintsPreviewsAndSetsUpThePrinter() {
    ShellDoubles doubles;
    QTemporaryDir dir;
    CNumblocApp app;
    app.InitInstance();
    CMainFrame* frame = app.MainFrame();
    frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame));
    app.State().Board[1][1].number = 6;
    app.Printer().setOutputFormat(QPrinter::PdfFormat);
    app.Printer().setOutputFileName(dir.filePath("menu.pdf"));

    // Ctrl+P: the print dialog, then the page.
    QString seen;
    WhenModalShown([&](QWidget* modal) {
      seen = modal->metaObject()->className();
      qobject_cast<QDialog*>(modal)->accept();
    });
    QTest::keyClick(frame, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(qobject_cast<QPrintDialog*>(QApplication::activeModalWidget()) == nullptr);
    QVERIFY2(seen.contains("PrintDialog"), qPrintable(seen));
    QVERIFY(QFileInfo(dir.filePath("menu.pdf")).size() > 1000);

    // Cancelling the print dialog prints nothing.
    app.Printer().setOutputFileName(dir.filePath("cancelled.pdf"));
    WhenModalShown([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    frame->Action("ID_FILE_PRINT")->trigger();
    QVERIFY(!QFileInfo::exists(dir.filePath("cancelled.pdf")));

    // The preview shows the one page.
    int pages = -1;
    WhenModalShown([&](QWidget* modal) {
      if (auto* preview = modal->findChild<QPrintPreviewWidget*>()) pages = preview->pageCount();
      qobject_cast<QDialog*>(modal)->reject();
    });
    frame->Action("ID_FILE_PRINT_PREVIEW")->trigger();
    QCOMPARE(pages, 1);

    bool pageSetup = false;
    WhenModalShown([&](QWidget* modal) {
      pageSetup = qobject_cast<QPageSetupDialog*>(modal) != nullptr;
      qobject_cast<QDialog*>(modal)->reject();
    });
    frame->Action("ID_FILE_PRINT_SETUP")->trigger();
    QVERIFY(pageSetup);
  }

  void versionIsReported() {
    QProcess run;
    run.start(QStringLiteral(NUMBLOC_PROGRAM), {"--version"});
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 0);
    QCOMPARE(run.readAllStandardOutput().trimmed(), QByteArray("numbloc 1.0.0.1"));
  }
};

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
