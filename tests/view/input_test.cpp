// Mouse presses on the board window: every Mode transition, the moves and
// history they record and the part of the window each one repaints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board_picture.h"
#include "view/board_input.h"
#include "view/layout.h"

namespace numbloc {
namespace {

using layout::Rect;
using testing::LoadPicture;

// Records the repaint requests and the start of the automatic solve.
class RecordingHost : public InputHost {
 public:
  void InvalidateCanvasRect(const Rect& rect) override { events.push_back(Describe(rect)); }
  void InvalidateWholeView() override { events.push_back("whole"); }
  void StartAutoSolve() override { events.push_back("solve"); }
  static std::string Describe(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
  }

  std::vector<std::string> events;
};

// Canvas point inside cell (c, r), bar entry n and the two buttons.
int CellX(int c) { return layout::CellOrigin(c, 1).x + 10; }
int CellY(int r) { return layout::CellOrigin(1, r).y + 10; }
struct Click {
  int x, y;
};
Click Cell_(int c, int r) { return {CellX(c), CellY(r)}; }
Click Bar(const BoardState& s, int n) { return {layout::BarX(s.BoardWidth) + 10, 27 * n + 33}; }
Click Lower(const BoardState& s) { return {layout::PanelX(s.BoardWidth) + 50, 228}; }
Click Upper(const BoardState& s) { return {layout::PanelX(s.BoardWidth) + 50, 168}; }

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadPicture(state, {". . . . . .", ". . . . . .", ". . . . . .", ". . . . . .",
                        ". . . . . .", ". . . . . ."});
  }
  bool Left(Click c) { return LeftPress(state, c.x, c.y, host); }
  bool Right(Click c) { return RightPress(state, c.x, c.y, host); }
  std::string Cell(int c, int r) { return RecordingHost::Describe(layout::CellRepaintRect(c, r)); }
  std::string Board() {
    return RecordingHost::Describe(layout::BoardRepaintRect(state.BoardWidth, state.BoardHeight));
  }

  BoardState state;
  RecordingHost host;
};

TEST_F(InputTest, CreationPlacesAndErasesHints) {
  state.SelectedNumber = 7;
  EXPECT_TRUE(Left(Cell_(2, 3)));
  EXPECT_EQ(state.Board[2][3].number, 7);
  EXPECT_FALSE(Left(Cell_(2, 3)));  // never overwritten
  EXPECT_EQ(state.Board[2][3].number, 7);
  EXPECT_TRUE(Right(Cell_(2, 3)));
  EXPECT_EQ(state.Board[2][3].number, 0);
  EXPECT_EQ(host.events, (std::vector<std::string>{Cell(2, 3), Cell(2, 3)}));
  EXPECT_EQ(state.history.HistoryCount, 0);
  EXPECT_EQ(state.Mode, Creation);
}

TEST_F(InputTest, NumberBarSelectsInEveryModeAndRepaintsTheBar) {
  const std::string bar =
      RecordingHost::Describe(layout::BarRepaintRect(state.BoardWidth, state.MaxNumber));
  for (int mode : {0, 1, 2, 3, 9}) {
    state.Mode = static_cast<std::uint8_t>(mode);
    host.events.clear();
    Left(Bar(state, 8));
    EXPECT_EQ(state.SelectedNumber, 8);
    Left(Bar(state, 3));
    EXPECT_EQ(state.SelectedNumber, 3);
    EXPECT_EQ(host.events, (std::vector<std::string>{bar, bar}));
  }
  Right(Bar(state, 5));
  EXPECT_EQ(state.SelectedNumber, 3);
}

TEST_F(InputTest, CreationToSolvingAndBack) {
  state.history.HistoryCount = 17;
  EXPECT_TRUE(Left(Lower(state)));
  EXPECT_EQ(state.Mode, SolveStart);
  EXPECT_EQ(state.history.HistoryCount, 0);
  state.SolverStatus = kStatusGaveUp;
  state.history.HistoryCount = 5;
  EXPECT_TRUE(Left(Lower(state)));
  EXPECT_EQ(state.Mode, Creation);
  EXPECT_EQ(state.SolverStatus, kStatusOk);
  EXPECT_EQ(state.history.HistoryCount, 5);
  EXPECT_EQ(host.events, (std::vector<std::string>{"whole", "whole"}));
}

TEST_F(InputTest, FirstPlacementInSolveStartRepaintsWholeViewThenOnlyCells) {
  LoadPicture(state, {"3 . . . . .", ". . . . . .", ". . . . . .", ". . . . . .",
                      ". . . . . .", ". . . . . 1"});
  state.Mode = SolveStart;
  state.SelectedNumber = 3;
  EXPECT_TRUE(Left(Cell_(2, 1)));
  EXPECT_EQ(state.Board[2][1].number, 103);
  EXPECT_EQ(state.Mode, SolvePlayed);
  EXPECT_TRUE(Left(Cell_(3, 1)));
  EXPECT_EQ(state.Board[3][1].number, 103);
  EXPECT_EQ(host.events, (std::vector<std::string>{"whole", Cell(3, 1)}));
  ASSERT_EQ(state.history.HistoryCount, 2);
  EXPECT_EQ(state.history.column[0], 2);
  EXPECT_EQ(state.history.row[0], 1);
  EXPECT_EQ(state.history.previous[0], 0);
  // A hint is never overwritten nor erased in Solving mode.
  EXPECT_FALSE(Left(Cell_(1, 1)));
  EXPECT_FALSE(Right(Cell_(1, 1)));
  EXPECT_EQ(state.Board[1][1].number, 3);
}

TEST_F(InputTest, ErasePlaced35ThenUndoPutsItBack) {
  LoadPicture(state, {"+35 . . . . .", ". . . . . .", ". . . . . .", ". . . . . .",
                      ". . . . . .", ". . . . . ."});
  state.Mode = SolvePlayed;
  EXPECT_TRUE(Right(Cell_(1, 1)));
  EXPECT_EQ(state.Board[1][1].number, 0);
  ASSERT_EQ(state.history.HistoryCount, 1);
  EXPECT_EQ(state.history.previous[0], 135);
  EXPECT_TRUE(Left(Upper(state)));  // 1つ戻る
  EXPECT_EQ(state.Board[1][1].number, 135);
  EXPECT_EQ(state.history.HistoryCount, 0);
  EXPECT_EQ(state.Mode, SolvePlayed);
  EXPECT_EQ(host.events, (std::vector<std::string>{Board(), Board()}));
  // Undo with an empty history does nothing and keeps the mode.
  host.events.clear();
  EXPECT_FALSE(Left(Upper(state)));
  EXPECT_EQ(state.Mode, SolvePlayed);
  EXPECT_TRUE(host.events.empty());
}

TEST_F(InputTest, RightPressInSolveStartKeepsMode) {
  LoadPicture(state, {"+4 . . . . .", ". . . . . .", ". . . . . .", ". . . . . .",
                      ". . . . . .", ". . . . . ."});
  state.Mode = SolveStart;
  EXPECT_TRUE(Right(Cell_(1, 1)));
  EXPECT_EQ(state.Mode, SolveStart);
  EXPECT_EQ(state.history.HistoryCount, 1);
}

TEST_F(InputTest, HintOneClickMarksCompleteAndBackToStartClearsIt) {
  LoadPicture(state, {"1 . . . . .", ". . . . . .", ". . . . . .", ". . . . . .",
                      ". . . . . .", ". . . . . ."});
  state.Mode = SolvePlayed;
  EXPECT_TRUE(Left(Cell_(1, 1)));
  EXPECT_EQ(state.Board[1][1].complete, 1);
  EXPECT_EQ(state.history.HistoryCount, 0);
  EXPECT_EQ(state.Mode, SolvePlayed);
  EXPECT_EQ(host.events, (std::vector<std::string>{Cell(1, 1)}));
  EXPECT_FALSE(Left(Cell_(1, 1)));  // already complete
  EXPECT_TRUE(Left(Lower(state)));  // 最初に戻る
  EXPECT_EQ(state.Board[1][1].complete, 0);
  EXPECT_EQ(state.Mode, SolveStart);
}

TEST_F(InputTest, PlacedOneIsNotMarkedComplete) {
  state.Mode = SolveAuto;
  state.SelectedNumber = 1;
  EXPECT_TRUE(Left(Cell_(4, 4)));
  // Placed 1 is stored as 101, which is not the hint 1 the completion needs.
  EXPECT_EQ(state.Board[4][4].number, 101);
  EXPECT_EQ(state.Board[4][4].complete, 0);
  EXPECT_EQ(host.events, (std::vector<std::string>{Cell(4, 4)}));
}

TEST_F(InputTest, HintOneInCreationIsNotCompleted) {
  state.SelectedNumber = 1;
  Left(Cell_(2, 2));
  Left(Cell_(2, 2));
  EXPECT_EQ(state.Board[2][2].number, 1);
  EXPECT_EQ(state.Board[2][2].complete, 0);
}

TEST_F(InputTest, BackToStartFromSolveAutoKeepsHintsAndStatus) {
  LoadPicture(state, {"2* +2* . . . .", ". . . . . .", ". . . . . .", ". . . . . .",
                      ". . . . . .", ". . . . . +3"});
  state.Mode = SolveAuto;
  state.SolverStatus = kStatusGaveUp;
  state.history.HistoryCount = 4;
  EXPECT_TRUE(Left(Lower(state)));
  EXPECT_EQ(state.Board[1][1].number, 2);
  EXPECT_EQ(state.Board[1][1].complete, 0);
  EXPECT_EQ(state.Board[2][1].number, 0);
  EXPECT_EQ(state.Board[2][1].complete, 0);
  EXPECT_EQ(state.Board[6][6].number, 0);
  EXPECT_EQ(state.Mode, SolveStart);
  EXPECT_EQ(state.history.HistoryCount, 0);
  EXPECT_EQ(state.SolverStatus, kStatusGaveUp);
  EXPECT_EQ(state.Board[0][1].number, WALL);  // the frame is not touched
}

TEST_F(InputTest, ClearAllInSolveAutoReturnsToEmptyCreation) {
  LoadPicture(state, {"2 +2 . . . .", ". . . . . .", ". . . . . .", ". . . . . .",
                      ". . . . . .", ". . . . . ."});
  state.Mode = SolveAuto;
  state.SelectedNumber = 5;
  state.SolverStatus = kStatusContradiction;
  EXPECT_TRUE(Left(Upper(state)));
  EXPECT_EQ(state.Board[1][1].number, 0);
  EXPECT_EQ(state.Board[2][1].number, 0);
  EXPECT_EQ(state.Mode, Creation);
  EXPECT_EQ(state.SelectedNumber, 1);
  EXPECT_EQ(state.SolverStatus, kStatusOk);
  EXPECT_EQ(host.events, (std::vector<std::string>{"whole"}));
}

TEST_F(InputTest, ClearAllInCreation) {
  state.SelectedNumber = 4;
  Left(Cell_(3, 3));
  EXPECT_TRUE(Left(Upper(state)));
  EXPECT_EQ(state.Board[3][3].number, 0);
  EXPECT_EQ(state.Mode, Creation);
}

TEST_F(InputTest, AutoSolveButtonStartsTheSolveAndLeavesTheRestToItsEnd) {
  state.Mode = SolveStart;
  state.SolverStatus = kStatusUnreadable;
  EXPECT_TRUE(Left(Upper(state)));
  EXPECT_EQ(host.events, (std::vector<std::string>{"solve", "whole"}));
  EXPECT_EQ(state.SolverStatus, kStatusUnreadable);
  EXPECT_EQ(state.Mode, SolveStart);
}

TEST_F(InputTest, DamagedModeOnlyRepaintsAndStillPlaces) {
  state.Mode = 7;
  EXPECT_FALSE(Left(Upper(state)));
  EXPECT_FALSE(Left(Lower(state)));
  EXPECT_EQ(host.events, (std::vector<std::string>{"whole"}));
  EXPECT_EQ(state.Mode, 7);
  state.SelectedNumber = 2;
  EXPECT_TRUE(Left(Cell_(1, 1)));
  EXPECT_EQ(state.Board[1][1].number, 102);
  EXPECT_EQ(state.history.HistoryCount, 1);
  EXPECT_TRUE(Right(Cell_(1, 1)));
  EXPECT_EQ(state.Board[1][1].number, 0);
}

TEST_F(InputTest, DamagedSelectedNumberPlacesNoWallOrWrappedValue) {
  for (int mode : {0, 1, 2}) {
    for (int selected : {0, 41, 100, 200}) {
      state.Mode = static_cast<std::uint8_t>(mode);
      state.SelectedNumber = static_cast<std::uint8_t>(selected);
      EXPECT_FALSE(Left(Cell_(2, 2))) << mode << " " << selected;
      EXPECT_EQ(state.Board[2][2].number, 0);
      EXPECT_EQ(state.history.HistoryCount, 0);
      EXPECT_EQ(state.Mode, mode);
    }
  }
  EXPECT_TRUE(host.events.empty());
}

TEST_F(InputTest, PressesOutsideEveryRegionChangeNothing) {
  for (Click c : {Click{25, 60}, Click{5, 5}, Click{layout::PanelX(6) + 50, 100},
                  Click{layout::BarX(6) + 10, 27 * 8 + 50}}) {
    EXPECT_FALSE(Left(c));
    EXPECT_FALSE(Right(c));
  }
  EXPECT_TRUE(host.events.empty());
  // A right press on a button does nothing either.
  EXPECT_FALSE(Right(Lower(state)));
  EXPECT_EQ(state.Mode, Creation);
}

}  // namespace
}  // namespace numbloc
