// Mouse presses: every Mode transition, the moves and history recorded, the area repainted.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "board_picture.h"
#include "view/board_input.h"
#include "view/layout.h"

namespace numbloc {
namespace {

using testing::LoadPicture;
using testing::Picture;
using Events = std::vector<std::string>;

std::string Describe(const layout::Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// Records the repaint requests and the start of the automatic solve.
class RecordingHost : public InputHost {
 public:
  void InvalidateCanvasRect(const layout::Rect& rect) override { events.push_back(Describe(rect)); }
  void InvalidateWholeView() override { events.push_back("whole"); }
  void StartAutoSolve() override { events.push_back("solve"); }

  Events events;
};

// Canvas point inside cell (c, r), bar entry n and the two buttons of a 6 x 6 board.
using Click = layout::Point;
Click At(int c, int r) { return {layout::CellOrigin(c, r).x + 10, layout::CellOrigin(c, r).y + 10}; }
Click Bar(int n) { return {layout::BarX(6) + 10, layout::BarEntryOrigin(6, n).y + 10}; }
const Click kLower{layout::PanelX(6) + 50, 228}, kUpper{layout::PanelX(6) + 50, 168};

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadPicture(state, Picture(6, 6)); }
  bool Left(Click c) { return LeftPress(state, c.x, c.y, host); }
  bool Right(Click c) { return RightPress(state, c.x, c.y, host); }
  static std::string Cell(int c, int r) { return Describe(layout::CellRepaintRect(c, r)); }
  static std::string Board() { return Describe(layout::BoardRepaintRect(6, 6)); }

  BoardState state;
  RecordingHost host;
};

TEST_F(InputTest, CreationPlacesAndErasesHintsWithoutCompletingThem) {
  EXPECT_TRUE(Left(At(2, 3)));
  state.SelectedNumber = 7;
  EXPECT_FALSE(Left(At(2, 3)));  // never overwritten
  EXPECT_EQ(state.Board[2][3].number, 1);
  EXPECT_EQ(state.Board[2][3].complete, 0);  // a hint 1 completes only in Solving mode
  EXPECT_TRUE(Right(At(2, 3)));
  EXPECT_EQ(state.Board[2][3].number, 0);
  EXPECT_EQ(host.events, (Events{Cell(2, 3), Cell(2, 3)}));
  EXPECT_EQ(state.history.HistoryCount, 0);
  EXPECT_EQ(state.Mode, Creation);
}

TEST_F(InputTest, NumberBarSelectsInEveryModeAndRepaintsTheBar) {
  const std::string bar = Describe(layout::BarRepaintRect(6, state.MaxNumber));
  for (int mode : {0, 1, 2, 3, 9}) {
    state.Mode = static_cast<std::uint8_t>(mode);
    host.events.clear();
    Left(Bar(8));
    EXPECT_EQ(state.SelectedNumber, 8);
    Left(Bar(3));
    EXPECT_EQ(state.SelectedNumber, 3);
    EXPECT_EQ(host.events, (Events{bar, bar}));
  }
  // Right presses off the board do nothing.
  state.Mode = Creation;
  host.events.clear();
  for (Click c : {Bar(5), kLower, kUpper, Click{5, 5}}) EXPECT_FALSE(Right(c));
  EXPECT_EQ(state.SelectedNumber, 3);
  EXPECT_EQ(state.Mode, Creation);
  EXPECT_TRUE(host.events.empty());
}

// Each button in each Mode, from a board with a complete hint 2 at (1, 1),
// the player's +2 and +3 (the +3 a recorded move), status 'gave up' and 5 selected.
TEST_F(InputTest, ButtonsInEveryMode) {
  struct Case {
    int mode;
    bool upper, changed;
    // After: Mode, HistoryCount, status, (1, 1)'s number and completeness, placed left, selected, requests.
    int modeAfter, history, status, hint, complete, placed, selected;
    Events events;
  };
  const Case cases[] = {
      // Lower: to Solving, to Creation, back to start (twice), nothing.
      {Creation, false, true, SolveStart, 0, kStatusGaveUp, 2, 1, 2, 5, {"whole"}},
      {SolveStart, false, true, Creation, 1, kStatusOk, 2, 1, 2, 5, {"whole"}},
      {SolvePlayed, false, true, SolveStart, 0, kStatusGaveUp, 2, 0, 0, 5, {"whole"}},
      {SolveAuto, false, true, SolveStart, 0, kStatusGaveUp, 2, 0, 0, 5, {"whole"}},
      {7, false, false, 7, 1, kStatusGaveUp, 2, 1, 2, 5, {"whole"}},
      // Upper: clear all (keeping the history count), solve, undo, clear all, nothing.
      {Creation, true, true, Creation, 1, kStatusOk, 0, 0, 0, 1, {"whole"}},
      {SolveStart, true, true, SolveStart, 1, kStatusGaveUp, 2, 1, 2, 5, {"solve", "whole"}},
      {SolvePlayed, true, true, SolvePlayed, 0, kStatusGaveUp, 2, 1, 1, 5, {Board()}},
      {SolveAuto, true, true, Creation, 1, kStatusOk, 0, 0, 0, 1, {"whole"}},
      {7, true, false, 7, 1, kStatusGaveUp, 2, 1, 2, 5, {}},
  };
  for (const Case& c : cases) {
    state = BoardState();
    LoadPicture(state, Picture(6, 6, {"2* +2*", "", "", "", "", ". . . . . +3"}));
    state.PushHistory(6, 6, 0);  // the +3 was placed on an empty cell
    state.Mode = static_cast<std::uint8_t>(c.mode);
    state.SolverStatus = kStatusGaveUp;
    state.SelectedNumber = 5;
    host.events.clear();
    EXPECT_EQ(Left(c.upper ? kUpper : kLower), c.changed);
    int placed = 0;
    for (int x = 1; x <= 6; ++x)
      for (int y = 1; y <= 6; ++y) placed += state.Board[x][y].number > 100;
    EXPECT_EQ(std::make_tuple(int(state.Mode), state.history.HistoryCount, state.SolverStatus,
                              int(state.Board[1][1].number), int(state.Board[1][1].complete), placed,
                              int(state.SelectedNumber), host.events),
              std::make_tuple(c.modeAfter, c.history, c.status, c.hint, c.complete, c.placed,
                              c.selected, c.events))
        << "mode " << c.mode << (c.upper ? " upper" : " lower");
    EXPECT_EQ(state.Board[0][1].number, WALL);  // the frame is not touched
  }
}

TEST_F(InputTest, MovesInSolvingAreRecordedAndHintsStay) {
  LoadPicture(state, Picture(6, 6, {"3 +35"}));
  state.Mode = SolveStart;
  state.SelectedNumber = 3;
  EXPECT_TRUE(Right(At(2, 1)));  // erasing keeps SolveStart
  EXPECT_EQ(state.Mode, SolveStart);
  EXPECT_TRUE(Left(At(3, 1)));  // the first placement: the buttons change
  EXPECT_EQ(state.Mode, SolvePlayed);
  EXPECT_TRUE(Left(At(4, 1)));
  EXPECT_EQ(state.Board[4][1].number, 103);
  EXPECT_EQ(host.events, (Events{Board(), "whole", Cell(4, 1)}));
  // Each move records its cell and what the cell held.
  ASSERT_EQ(state.history.HistoryCount, 3);
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(std::make_tuple(state.history.column[k], state.history.row[k], state.history.previous[k]),
              std::make_tuple(k + 2, 1, k == 0 ? 135 : 0));
  EXPECT_FALSE(Left(At(1, 1)));
  EXPECT_FALSE(Right(At(1, 1)));
  EXPECT_EQ(state.Board[1][1].number, 3);
  // Undo takes all three back, the erased 35 too, and then nothing.
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(Left(kUpper));
  EXPECT_EQ(state.Board[2][1].number, 135);
  EXPECT_EQ(state.Mode, SolvePlayed);
  host.events.clear();
  EXPECT_FALSE(Left(kUpper));
  EXPECT_TRUE(host.events.empty());
}

TEST_F(InputTest, AClickCompletesAHintOneButNotAPlacedOne) {
  LoadPicture(state, Picture(6, 6, {"1"}));
  state.Mode = SolvePlayed;
  EXPECT_TRUE(Left(At(1, 1)));
  EXPECT_EQ(state.Board[1][1].complete, 1);
  EXPECT_FALSE(Left(At(1, 1)));  // already complete
  // Placed 1 is stored as 101, which is not the hint 1 the completion needs.
  state.Mode = SolveAuto;
  EXPECT_TRUE(Left(At(4, 4)));
  EXPECT_EQ(state.Board[4][4].number, 101);
  EXPECT_EQ(state.Board[4][4].complete, 0);
  EXPECT_EQ(host.events, (Events{Cell(1, 1), Cell(4, 4)}));
  EXPECT_EQ(state.history.HistoryCount, 1);
  EXPECT_EQ(state.Mode, SolveAuto);
}

// A damaged file may bring any Mode or selected number.
TEST_F(InputTest, DamagedSelectedNumberPlacesNoWallOrWrappedValue) {
  for (int mode : {0, 1, 2})
    for (int selected : {0, 41, 100, 200}) {
      state.Mode = static_cast<std::uint8_t>(mode);
      state.SelectedNumber = static_cast<std::uint8_t>(selected);
      EXPECT_FALSE(Left(At(2, 2))) << mode << " " << selected;
      EXPECT_EQ(std::make_tuple(state.Board[2][2].number, state.history.HistoryCount, state.Mode),
                std::make_tuple(0, 0, mode));
    }
  EXPECT_TRUE(host.events.empty());
  // A Mode outside the table still places and erases, as in Solving.
  state.Mode = 7;
  state.SelectedNumber = 2;
  EXPECT_TRUE(Left(At(1, 1)));
  EXPECT_EQ(state.Board[1][1].number, 102);
  EXPECT_EQ(state.history.HistoryCount, 1);
  EXPECT_TRUE(Right(At(1, 1)));
  EXPECT_EQ(state.Board[1][1].number, 0);
}

}  // namespace
}  // namespace numbloc
