// The built-in tile atlas: size, palette, and every region at its place
// with its colours.
#include <QtTest>

#include <QImage>
#include <QSet>

#include "platform/draw_surface.h"
#include "view/layout.h"

using namespace numbloc::layout;

namespace {

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255), kBlue = qRgb(0, 0, 255),
           kRed = qRgb(255, 0, 0), kCyan = qRgb(0, 255, 255), kDarkGreen = qRgb(0, 128, 0),
           kGreen = qRgb(0, 255, 0), kYellow = qRgb(255, 255, 0), kTeal = qRgb(0, 128, 128),
           kNavy = qRgb(0, 0, 128), kDarkRed = qRgb(128, 0, 0), kOlive = qRgb(128, 128, 0);

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

int Count(const QImage& image, const Region& r, QRgb colour) {
  int n = 0;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x) n += At(image, x, y) == (colour & 0xFFFFFF);
  return n;
}

QSet<QRgb> Colours(const QImage& image, const Region& r) {
  QSet<QRgb> set;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x) set.insert(At(image, x, y));
  return set;
}

}  // namespace

class TestAtlas : public QObject {
  Q_OBJECT

 private:
  QImage atlas_;

  // A 28 x 28 tile: black frame, `background` inside, and `ink` (if any)
  // roughly centred.
  void CheckTile(int x, int y, QRgb background, QRgb ink, const QString& what) {
    for (int k = 0; k < 28; ++k) {
      QVERIFY2(At(atlas_, x + k, y) == (kBlack & 0xFFFFFF), qPrintable(what + " top frame"));
      QVERIFY2(At(atlas_, x + k, y + 27) == (kBlack & 0xFFFFFF), qPrintable(what + " bottom"));
      QVERIFY2(At(atlas_, x, y + k) == (kBlack & 0xFFFFFF), qPrintable(what + " left frame"));
      QVERIFY2(At(atlas_, x + 27, y + k) == (kBlack & 0xFFFFFF), qPrintable(what + " right"));
    }
    const Region inside{x + 1, y + 1, 26, 26};
    QSet<QRgb> expected{background & 0xFFFFFF};
    if (ink) expected.insert(ink & 0xFFFFFF);
    QCOMPARE(Colours(atlas_, inside), expected);
    if (!ink) return;
    int left = 99, right = -1, top = 99, bottom = -1;
    for (int j = 1; j < 27; ++j)
      for (int i = 1; i < 27; ++i)
        if (At(atlas_, x + i, y + j) == (ink & 0xFFFFFF)) {
          left = std::min(left, i), right = std::max(right, i);
          top = std::min(top, j), bottom = std::max(bottom, j);
        }
    // Centred within a pixel or so, and of a readable size.
    QVERIFY2(std::abs((left + right) - 27) <= 2, qPrintable(what + " not centred across"));
    QVERIFY2(std::abs((top + bottom) - 27) <= 2, qPrintable(what + " not centred down"));
    QVERIFY2(bottom - top + 1 >= 13, qPrintable(what + " digits too small"));
    QVERIFY2(left >= 2 && right <= 25, qPrintable(what + " digits touch the frame"));
  }

  void CheckButton(const Region& r, QRgb face, QRgb rim, QRgb caption) {
    QCOMPARE(r.width, 101);
    QCOMPARE(r.height, 35);
    // Rounded: the corners show the teal background.
    QCOMPARE(At(atlas_, r.x, r.y), kTeal & 0xFFFFFF);
    QCOMPARE(At(atlas_, r.x + 100, r.y + 34), kTeal & 0xFFFFFF);
    QCOMPARE(At(atlas_, r.x + 2, r.y + 2), kTeal & 0xFFFFFF);
    // Face on the left of the caption, highlight on top, rim at the bottom.
    QCOMPARE(At(atlas_, r.x + 6, r.y + 17), face & 0xFFFFFF);
    QCOMPARE(At(atlas_, r.x + 50, r.y + 1), kWhite & 0xFFFFFF);
    QCOMPARE(At(atlas_, r.x + 1, r.y + 17), kWhite & 0xFFFFFF);
    QCOMPARE(At(atlas_, r.x + 50, r.y + 33), rim & 0xFFFFFF);
    QCOMPARE(At(atlas_, r.x + 99, r.y + 17), rim & 0xFFFFFF);
    QVERIFY(Count(atlas_, {r.x + 10, r.y + 6, 81, 23}, caption) > 40);
  }

 private slots:
  void initTestCase() {
    const QImage raw(numbloc::AtlasResourcePath());
    QVERIFY2(!raw.isNull(), "the atlas resource is not built in");
    QCOMPARE(raw.size(), QSize(kAtlasWidth, kAtlasHeight));
    // 16 colours in the standard order.
    QCOMPARE(raw.colorCount(), 16);
    const QList<QRgb> palette{kBlack,  kDarkRed, kDarkGreen, kOlive, kNavy, qRgb(128, 0, 128),
                              kTeal, qRgb(192, 192, 192), qRgb(128, 128, 128), kRed, kGreen,
                              kYellow, kBlue, qRgb(255, 0, 255), kCyan, kWhite};
    for (int k = 0; k < 16; ++k) QCOMPARE(raw.colorTable()[k] & 0xFFFFFF, palette[k] & 0xFFFFFF);
    atlas_ = numbloc::LoadAtlasImage();
    QVERIFY(!atlas_.isNull());
  }

  void numberTiles() {
    for (int n = 1; n <= 40; ++n) {
      auto p = NumberTileAtlas(TileStyle::Hint, n);
      CheckTile(p.x, p.y, kWhite, kBlue, QString("hint %1").arg(n));
      if (QTest::currentTestFailed()) return;
      p = NumberTileAtlas(TileStyle::Selected, n);
      CheckTile(p.x, p.y, kCyan, kRed, QString("selected %1").arg(n));
      if (QTest::currentTestFailed()) return;
      p = NumberTileAtlas(TileStyle::Placed, n);
      CheckTile(p.x, p.y, kWhite, kDarkGreen, QString("placed %1").arg(n));
      if (QTest::currentTestFailed()) return;
    }
  }

  void numberColumnsAreStripsOf541() {
    // Tile 20 ends on y 540, so a strip of 20 tiles is 541 high.
    for (int x : {0, 28, 56, 84, 112, 140}) {
      QCOMPARE(At(atlas_, x + 5, 540), kBlack & 0xFFFFFF);
      QCOMPARE(At(atlas_, x + 5, 0), kBlack & 0xFFFFFF);
    }
    QCOMPARE(At(atlas_, 5, 541), kTeal & 0xFFFFFF);  // the title banner starts below
  }

  void twoDigitNumbersShowBothDigits() {
    // The ink of 11 lies in both halves of the tile.
    const auto p = NumberTileAtlas(TileStyle::Hint, 11);
    QVERIFY(Count(atlas_, {p.x + 1, p.y + 1, 13, 26}, kBlue) > 10);
    QVERIFY(Count(atlas_, {p.x + 14, p.y + 1, 13, 26}, kBlue) > 10);
  }

  void buttons() {
    CheckButton(ButtonRegion(ButtonPicture::ToSolving), kBlue, kNavy, kWhite);
    CheckButton(ButtonRegion(ButtonPicture::ToCreation), kBlue, kNavy, kWhite);
    CheckButton(ButtonRegion(ButtonPicture::BackToStart), kGreen, kDarkGreen, kRed);
    CheckButton(ButtonRegion(ButtonPicture::ClearAll), kRed, kDarkRed, kWhite);
    CheckButton(ButtonRegion(ButtonPicture::UndoOne), kGreen, kDarkGreen, kBlack);
    CheckButton(ButtonRegion(ButtonPicture::AutoSolve), kYellow, kOlive, kBlue);
  }

  void labels() {
    for (int x = 168; x < 269; ++x)
      for (int y : {210, 233, 256}) QCOMPARE(At(atlas_, x, y), kBlack & 0xFFFFFF);
    const Region creation = CreationLabelRegion(), solving = SolvingLabelRegion();
    QCOMPARE(At(atlas_, creation.x + 100, creation.y), kTeal & 0xFFFFFF);
    QCOMPARE(At(atlas_, solving.x + 100, solving.y + 21), kTeal & 0xFFFFFF);
    QVERIFY(Count(atlas_, {creation.x + 24, creation.y, 77, 22}, kWhite) > 60);
    QVERIFY(Count(atlas_, {solving.x + 24, solving.y, 77, 22}, kWhite) > 60);
    QVERIFY(Count(atlas_, {creation.x, creation.y, 24, 22}, kYellow) > 40);
    QVERIFY(Count(atlas_, {solving.x, solving.y, 24, 22}, kRed) > 10);
  }

  void questionEmptyAndTitleTiles() {
    const auto question = QuestionTileAtlas();
    CheckTile(question.x, question.y, kWhite, kDarkGreen, "question mark");
    const auto empty = EmptyTileAtlas();
    CheckTile(empty.x, empty.y, kWhite, 0, "empty");
    const Region title = TitleBannerRegion();
    QCOMPARE(At(atlas_, title.x, title.y), kTeal & 0xFFFFFF);
    QCOMPARE(At(atlas_, title.x + 185, title.y + 20), kTeal & 0xFFFFFF);
    QVERIFY(Count(atlas_, title, kWhite) > 200);
  }
};

QTEST_MAIN(TestAtlas)
#include "tst_atlas.moc"
