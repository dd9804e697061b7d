// The built-in tile atlas: size, palette, and every region at its place
// with its colours.
#include <QtTest>

#include <QImage>
#include <QSet>

#include "platform/draw_surface.h"
#include "view/layout.h"

using namespace numbloc::layout;

namespace {

// Colours without alpha, as At reads them.
const QRgb kBlack = 0x000000, kWhite = 0xFFFFFF, kBlue = 0x0000FF, kRed = 0xFF0000, kCyan = 0x00FFFF,
           kDarkGreen = 0x008000, kGreen = 0x00FF00, kYellow = 0xFFFF00, kTeal = 0x008080,
           kNavy = 0x000080, kDarkRed = 0x800000, kOlive = 0x808000;

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

int Count(const QImage& image, const Region& r, QRgb colour) {
  int n = 0;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x) n += At(image, x, y) == colour;
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
  // roughly centred and of a readable size.
  void CheckTile(Point at, QRgb background, QRgb ink, const QString& what) {
    const int x = at.x, y = at.y;
    for (const Region& edge : {Region{x, y, 28, 1}, Region{x, y + 27, 28, 1}, Region{x, y, 1, 28},
                               Region{x + 27, y, 1, 28}})
      QVERIFY2(Colours(atlas_, edge) == QSet<QRgb>{kBlack}, qPrintable(what + " frame"));
    QSet<QRgb> expected{background};
    if (ink) expected.insert(ink);
    QCOMPARE(Colours(atlas_, {x + 1, y + 1, 26, 26}), expected);
    if (!ink) return;
    int left = 99, right = -1, top = 99, bottom = -1;
    for (int j = 1; j < 27; ++j)
      for (int i = 1; i < 27; ++i)
        if (At(atlas_, x + i, y + j) == ink) {
          left = std::min(left, i), right = std::max(right, i);
          top = std::min(top, j), bottom = std::max(bottom, j);
        }
    QVERIFY2(std::abs((left + right) - 27) <= 2, qPrintable(what + " not centred across"));
    QVERIFY2(std::abs((top + bottom) - 27) <= 2, qPrintable(what + " not centred down"));
    QVERIFY2(bottom - top + 1 >= 13, qPrintable(what + " digits too small"));
    QVERIFY2(left >= 2 && right <= 25, qPrintable(what + " digits touch the frame"));
  }

  void CheckButton(const Region& r, QRgb face, QRgb rim, QRgb caption) {
    QCOMPARE(QSize(r.width, r.height), QSize(101, 35));
    // Rounded: the corners show the teal background.
    QCOMPARE(At(atlas_, r.x, r.y), kTeal);
    QCOMPARE(At(atlas_, r.x + 100, r.y + 34), kTeal);
    QCOMPARE(At(atlas_, r.x + 2, r.y + 2), kTeal);
    // Face on the left of the caption, highlight on top, rim at the bottom.
    QCOMPARE(At(atlas_, r.x + 6, r.y + 17), face);
    QCOMPARE(At(atlas_, r.x + 50, r.y + 1), kWhite);
    QCOMPARE(At(atlas_, r.x + 1, r.y + 17), kWhite);
    QCOMPARE(At(atlas_, r.x + 50, r.y + 33), rim);
    QCOMPARE(At(atlas_, r.x + 99, r.y + 17), rim);
    QVERIFY(Count(atlas_, {r.x + 10, r.y + 6, 81, 23}, caption) > 40);
  }

 private slots:
  void initTestCase() {
    const QImage raw(numbloc::AtlasResourcePath());
    QVERIFY2(!raw.isNull(), "the atlas resource is not built in");
    QCOMPARE(raw.size(), QSize(kAtlasWidth, kAtlasHeight));
    // 16 colours in the standard order.
    const QList<QRgb> palette{kBlack, kDarkRed, kDarkGreen, kOlive,  kNavy, 0x800080, kTeal, 0xC0C0C0,
                              0x808080, kRed, kGreen, kYellow, kBlue, 0xFF00FF, kCyan, kWhite};
    QCOMPARE(raw.colorCount(), 16);
    for (int k = 0; k < 16; ++k) QCOMPARE(raw.colorTable()[k] & 0xFFFFFF, palette[k]);
    atlas_ = numbloc::LoadAtlasImage();
    QVERIFY(!atlas_.isNull());
  }

  void numberTiles() {
    const std::tuple<TileStyle, QRgb, QRgb, const char*> styles[] = {
        {TileStyle::Hint, kWhite, kBlue, "hint"},
        {TileStyle::Selected, kCyan, kRed, "selected"},
        {TileStyle::Placed, kWhite, kDarkGreen, "placed"}};
    for (int n = 1; n <= 40; ++n)
      for (const auto& [style, background, ink, name] : styles) {
        CheckTile(NumberTileAtlas(style, n), background, ink, QString("%1 %2").arg(name).arg(n));
        if (QTest::currentTestFailed()) return;
      }
    // The ink of 11 lies in both halves of the tile.
    const auto p = NumberTileAtlas(TileStyle::Hint, 11);
    QVERIFY(Count(atlas_, {p.x + 1, p.y + 1, 13, 26}, kBlue) > 10);
    QVERIFY(Count(atlas_, {p.x + 14, p.y + 1, 13, 26}, kBlue) > 10);
    // Tile 20 ends on y 540, so a strip of 20 tiles is 541 high; the title banner starts below.
    for (int x : {0, 28, 56, 84, 112, 140}) QCOMPARE(At(atlas_, x + 5, 540), kBlack);
    QCOMPARE(At(atlas_, 5, 541), kTeal);
  }

  void buttons() {
    CheckButton(ButtonRegion(ButtonPicture::ToSolving), kBlue, kNavy, kWhite);
    CheckButton(ButtonRegion(ButtonPicture::ToCreation), kBlue, kNavy, kWhite);
    CheckButton(ButtonRegion(ButtonPicture::BackToStart), kGreen, kDarkGreen, kRed);
    CheckButton(ButtonRegion(ButtonPicture::ClearAll), kRed, kDarkRed, kWhite);
    CheckButton(ButtonRegion(ButtonPicture::UndoOne), kGreen, kDarkGreen, kBlack);
    CheckButton(ButtonRegion(ButtonPicture::AutoSolve), kYellow, kOlive, kBlue);
  }

  void labelsQuestionEmptyAndTitle() {
    for (int x = 168; x < 269; ++x)
      for (int y : {210, 233, 256}) QCOMPARE(At(atlas_, x, y), kBlack);
    const Region creation = CreationLabelRegion(), solving = SolvingLabelRegion();
    QCOMPARE(At(atlas_, creation.x + 100, creation.y), kTeal);
    QCOMPARE(At(atlas_, solving.x + 100, solving.y + 21), kTeal);
    QVERIFY(Count(atlas_, {creation.x + 24, creation.y, 77, 22}, kWhite) > 60);
    QVERIFY(Count(atlas_, {solving.x + 24, solving.y, 77, 22}, kWhite) > 60);
    QVERIFY(Count(atlas_, {creation.x, creation.y, 24, 22}, kYellow) > 40);
    QVERIFY(Count(atlas_, {solving.x, solving.y, 24, 22}, kRed) > 10);

    CheckTile(QuestionTileAtlas(), kWhite, kDarkGreen, "question mark");
    CheckTile(EmptyTileAtlas(), kWhite, 0, "empty");
    const Region title = TitleBannerRegion();
    QCOMPARE(At(atlas_, title.x, title.y), kTeal);
    QCOMPARE(At(atlas_, title.x + 185, title.y + 20), kTeal);
    QVERIFY(Count(atlas_, title, kWhite) > 200);
  }
};

QTEST_MAIN(TestAtlas)
#include "tst_atlas.moc"
