// The built-in atlas: size, palette, every number tile, four buttons, labels and title.
// Nothing regenerates the atlas to compare, so the tiles are all checked here.
#include <QtTest>

#include <QImage>
#include <QSet>

#include "board_picture.h"
#include "platform/draw_surface.h"
#include "view/layout.h"

using namespace numbloc::layout;
using namespace numbloc::testing;

namespace {

// Colours without alpha, as At reads them.
const QRgb kBlack = 0x000000, kWhite = 0xFFFFFF, kBlue = 0x0000FF, kRed = 0xFF0000, kCyan = 0x00FFFF,
           kDarkGreen = 0x008000, kGreen = 0x00FF00, kYellow = 0xFFFF00, kTeal = 0x008080,
           kNavy = 0x000080, kDarkRed = 0x800000, kOlive = 0x808000;

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

  // A 28 x 28 tile: black frame, `background` inside, `ink` (if any) centred and readable.
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
    // Rounded teal corners; the face left of the caption, highlight top-left, rim bottom-right.
    const std::pair<QPoint, QRgb> probes[] = {{{0, 0}, kTeal},    {{100, 34}, kTeal}, {{2, 2}, kTeal},
                                              {{6, 17}, face},    {{50, 1}, kWhite},  {{1, 17}, kWhite},
                                              {{50, 33}, rim},    {{99, 17}, rim}};
    for (const auto& [p, colour] : probes) QCOMPARE(At(atlas_, r.x + p.x(), r.y + p.y()), colour);
    QVERIFY(CountColour(atlas_, {r.x + 10, r.y + 6, 81, 23}, caption) > 40);
  }

 private slots:
  void initTestCase() {
    const QImage raw(numbloc::AtlasResourcePath());
    QVERIFY2(!raw.isNull(), "the atlas resource is not built in");
    QCOMPARE(raw.size(), QSize(kAtlasWidth, kAtlasHeight));
    QCOMPARE(raw.colorCount(), 16);  // which colours where: the checks below
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
    QVERIFY(CountColour(atlas_, {p.x + 1, p.y + 1, 13, 26}, kBlue) > 10);
    QVERIFY(CountColour(atlas_, {p.x + 14, p.y + 1, 13, 26}, kBlue) > 10);
    // Tile 20 ends on y 540, so a strip of 20 tiles is 541 high; the title banner starts below.
    for (int x : {0, 28, 56, 84, 112, 140}) QCOMPARE(At(atlas_, x + 5, 540), kBlack);
    QCOMPARE(At(atlas_, 5, 541), kTeal);
  }

  void buttons() {
    CheckButton(ButtonRegion(ButtonPicture::ToSolving), kBlue, kNavy, kWhite);
    CheckButton(ButtonRegion(ButtonPicture::BackToStart), kGreen, kDarkGreen, kRed);
    CheckButton(ButtonRegion(ButtonPicture::ClearAll), kRed, kDarkRed, kWhite);
    CheckButton(ButtonRegion(ButtonPicture::AutoSolve), kYellow, kOlive, kBlue);
  }

  void labelsQuestionEmptyAndTitle() {
    for (int x = 168; x < 269; ++x)
      for (int y : {210, 233, 256}) QCOMPARE(At(atlas_, x, y), kBlack);
    // Each label: white words after a mark of its own colour, teal corners.
    for (const auto& [label, mark, least] : {std::tuple(CreationLabelRegion(), kYellow, 40),
                                              std::tuple(SolvingLabelRegion(), kRed, 10)}) {
      QCOMPARE(At(atlas_, label.x + 100, label.y), kTeal);
      QCOMPARE(At(atlas_, label.x + 100, label.y + 21), kTeal);
      QVERIFY(CountColour(atlas_, {label.x + 24, label.y, 77, 22}, kWhite) > 60);
      QVERIFY(CountColour(atlas_, {label.x, label.y, 24, 22}, mark) > least);
    }

    CheckTile(QuestionTileAtlas(), kWhite, kDarkGreen, "question mark");
    CheckTile(EmptyTileAtlas(), kWhite, 0, "empty");
    const Region title = TitleBannerRegion();
    QCOMPARE(At(atlas_, title.x, title.y), kTeal);
    QCOMPARE(At(atlas_, title.x + 185, title.y + 20), kTeal);
    QVERIFY(CountColour(atlas_, {title.x, title.y, title.width, title.height}, kWhite) > 200);
  }
};

QTEST_MAIN(TestAtlas)
#include "tst_atlas.moc"
