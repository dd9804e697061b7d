// Shared solver primitives: SetCell, the block and region walks, the free-area
// measurement and the two steps that the trial search drives.
#include <cstring>
#include <type_traits>

#include "core/solver/solver.h"
#include "core/solver/solver_geometry.h"

namespace numbloc {

Solver::Solver(BoardState& state, SolverOptions options)
    : state_(state), options_(options), labels_(state), marks_(state) {
  marks_.enabled = options.layers.markTracking;
  if (options.threads > 1) pool_ = std::make_unique<TrialPool>(options.threads, options);
}

Solver::~Solver() = default;

void Solver::ClearEmptyMarks() {
  const MarkTracker::Box b = boxedEmptyClear_ ? marks_.TouchedBox() : marks_.Extent();
  const int x0 = b.x0, x1 = b.x1, y0 = b.y0, y1 = b.y1;
  for (int x = x0; x <= x1; ++x) {
    Cell* column = state_.Board[x];
    for (int y = y0; y <= y1; ++y) {
      if (column[y].number == 0) column[y].mark = 0;
    }
  }
}

void Solver::ClearAllMarks() {
  const MarkTracker::Box b = marks_.Extent();
  for (int x = b.x0; x <= b.x1; ++x) {
    Cell* column = state_.Board[x];
    for (int y = b.y0; y <= b.y1; ++y) column[y].mark = 0;
  }
  marks_.AllCleared();
}

// ClearMarksOfNumber(n) followed by ClearEmptyMarks() in one pass: the two
// touch disjoint cells (n is at least 1), so one pass leaves the same marks.
void Solver::ClearMarksOfNumberAndEmpty(int n) {
  const MarkTracker::Box all = marks_.Extent();
  if (!boxedEmptyClear_) {
    for (int x = all.x0; x <= all.x1; ++x) {
      Cell* column = state_.Board[x];
      for (int y = all.y0; y <= all.y1; ++y) {
        Cell& c = column[y];
        if (c.number == 0 || ReducedFast(c.number) == n) c.mark = 0;
      }
    }
    return;
  }
  const MarkTracker::Box box = marks_.TouchedBox();
  const int x0 = box.x0, x1 = box.x1, y0 = box.y0, y1 = box.y1;
  for (int x = all.x0; x <= all.x1; ++x) {
    Cell* column = state_.Board[x];
    const bool columnInBox = x >= x0 && x <= x1;
    for (int y = all.y0; y <= all.y1; ++y) {
      Cell& c = column[y];
      if (c.number == 0) {
        if (columnInBox && y >= y0 && y <= y1) c.mark = 0;
      } else if (ReducedFast(c.number) == n) {
        c.mark = 0;
      }
    }
  }
}

void Solver::SetCell(int x, int y, int n) {
  Cell& cell = At(x, y);
  // A number outside 1..99 can only come from a damaged cell value; writing
  // it would turn the cell into a frame cell or walk the empty cells as a block.
  if (cell.number != 0 || n < 1 || n >= kNumberSlots) {
    state_.SolverStatus = kStatusContradiction;
    return;
  }
  labels_.BeforeWrite(x, y, n);
  state_.ProgressMade = 1;
  --state_.EmptyCount;
  cell.number = static_cast<std::uint8_t>(n + 100);
  ClearMarksOfNumberAndEmpty(n);
  CandidateCount = 0;
  BlockFloodFromClearMarks(x, y, n);
  if (BlockCellCount > n) {
    ++overfillCount_;
    state_.ConflictColumn = x;
    state_.ConflictRow = y;
    state_.ConflictNumber = n;
    state_.SolverStatus = kStatusContradiction;
    return;
  }
  if (BlockCellCount == n) {
    FlagWalkedBlock(n);
    return;
  }
  if (CandidateCount == 0) state_.SolverStatus = kStatusContradiction;
}

// Every cell that the walk reached holds n and has mark 1 or 2 afterwards,
// including a cell the walk left at mark 1; all of them form the block.
void Solver::FlagWalkedBlock(int n) {
  labels_.ForgetNumber(n);  // complete flags decide which cells are walkable
  for (int i = 0; i < WalkedCount; ++i) {
    Cell& cell = At(WalkedCells[i].x, WalkedCells[i].y);
    if (ReducedFast(cell.number) == n && (cell.mark == 1 || cell.mark == 2)) cell.complete = 1;
  }
}

bool Solver::TouchesCompleteNumber(int nx, int ny, int from, int n) const {
  for (int k = 0; k < 3; ++k) {
    const Cell& o = state_.Board[nx + kOtherDx[from][k]][ny + kOtherDy[from][k]];
    if (ReducedFast(o.number) == n && o.complete) return true;
  }
  return false;
}


// The four neighbours are unrolled with their direction known at compile
// time: the flood runs this step for every block cell of every trial.
void Solver::BlockStep(int x, int y, int n) {
  UnvisitedCount = 0;
  VisitedCount = 0;
  auto& board = state_.Board;
  auto look = [&](auto direction) {
    constexpr int d = decltype(direction)::value;
    const int nx = x + kDx[d], ny = y + kDy[d];
    Cell& nb = board[nx][ny];
    if (ReducedFast(nb.number) == n) {
      if (nb.mark == 0) {
        ++UnvisitedCount;
        LastUnvisited = {nx, ny};
      } else if (nb.mark == 1) {
        ++VisitedCount;
        LastVisited = {nx, ny};
      }
    } else if (nb.number == 0 && nb.mark == 0) {
      // The first of the empty cell's other neighbours that holds n: 0 none,
      // 1 one that is not complete, 2 a complete one.
      int touch = 0;
      for (int k = 0; k < 3; ++k) {
        const Cell& o = board[nx + kOtherDx[d][k]][ny + kOtherDy[d][k]];
        if (ReducedFast(o.number) == n) {
          touch = o.complete ? 2 : 1;
          break;
        }
      }
      if (touch != 2 && CandidateCount < kCandidateCapacity) {
        CandidateColumn[CandidateCount] = nx;
        CandidateRow[CandidateCount] = ny;
        CandidateTouch[CandidateCount] = touch;
        ++CandidateCount;
        SetMark(nb, nx, ny, 1);
      }
    }
  };
  look(std::integral_constant<int, 0>{});
  look(std::integral_constant<int, 1>{});
  look(std::integral_constant<int, 2>{});
  look(std::integral_constant<int, 3>{});
  Cell& self = board[x][y];
  if (self.mark == 0) {
    SetMark(self, x, y, 1);
    ++BlockCellCount;
    if (WalkedCount < kPuzzleCells) WalkedCells[WalkedCount++] = {x, y};
  }
  if (UnvisitedCount == 0) SetMark(self, x, y, 2);
}

void Solver::PushBranch(int x, int y) {
  // Every push is followed by the first step onto a new cell, so a flood
  // pushes at most once per cell of the array; the test only guards damage.
  if (BranchCount >= kBranchCapacity) return;
  BranchColumn[BranchCount] = static_cast<std::uint8_t>(x);
  BranchRow[BranchCount] = static_cast<std::uint8_t>(y);
  ++BranchCount;
}

template <Solver::StepFn step>
void Solver::Walk(int x, int y, int n) {
  int cx = x, cy = y;
  for (;;) {
    (this->*step)(cx, cy, n);
    if (UnvisitedCount > 0) {
      if (UnvisitedCount > 1) PushBranch(cx, cy);
      cx = LastUnvisited.x;
      cy = LastUnvisited.y;
    } else if (VisitedCount > 0) {
      cx = LastVisited.x;
      cy = LastVisited.y;
    } else {
      return;
    }
  }
}

template <Solver::StepFn step>
void Solver::Flood(int x, int y, int n) {
  BranchCount = 0;
  Walk<step>(x, y, n);
  for (int i = 0; i < BranchCount; ++i) Walk<step>(BranchColumn[i], BranchRow[i], n);
}

void Solver::BlockFlood(int x, int y, int n) {
  ClearEmptyMarks();
  BlockFloodFromClearMarks(x, y, n);
}

void Solver::BlockFloodFromClearMarks(int x, int y, int n) {
  BlockCellCount = 0;
  CandidateCount = 0;
  WalkedCount = 0;
  Flood<&Solver::BlockStep>(x, y, n);
  if (n - BlockCellCount == 1) FilterOneMissing(n);
}

// A block that lacks one cell must not grow into a cell that would join it to
// a further cell of its number.
void Solver::FilterOneMissing(int n) {
  int kept = 0;
  for (int i = 0; i < CandidateCount; ++i) {
    const int cx = CandidateColumn[i], cy = CandidateRow[i];
    bool keep = true;
    if (CandidateTouch[i] == 1) {
      for (int d = 0; d < 4; ++d) {
        const Cell& nb = state_.Board[cx + kDx[d]][cy + kDy[d]];
        if (ReducedFast(nb.number) == n && (nb.mark == 0 || nb.mark == 3)) keep = false;
      }
    }
    if (keep) {
      CandidateColumn[kept] = cx;
      CandidateRow[kept] = cy;
      CandidateTouch[kept] = CandidateTouch[i];
      ++kept;
    }
  }
  CandidateCount = kept;
}

void Solver::RegionStep(int x, int y) {
  UnvisitedCount = 0;
  VisitedCount = 0;
  for (int d = 0; d < 4; ++d) {
    const int nx = x + kDx[d], ny = y + kDy[d];
    const Cell& nb = At(nx, ny);
    if (nb.number == 0) {
      if (nb.mark == 0) {
        ++UnvisitedCount;
        LastUnvisited = {nx, ny};
      } else if (nb.mark == 1) {
        ++VisitedCount;
        LastVisited = {nx, ny};
      }
    } else {
      const int m = ReducedFast(nb.number);
      if (m > 0) {
        if (nb.complete == 0) SeenNumbers[0] = 1;
        SeenNumbers[m] = 1;
      }
    }
  }
  Cell& self = At(x, y);
  if (self.mark == 0) {
    SetMark(self, x, y, 1);
    ++RegionCellCount;
  }
  if (UnvisitedCount == 0) SetMark(self, x, y, 2);
}

void Solver::RegionFlood(int x, int y) {
  RegionCellCount = 0;
  Flood<&Solver::RegionStepOf>(x, y, 0);
}

void Solver::AreaStep(int x, int y, int n) {
  SlotCount = 0;
  AllVisited = 1;
  for (int d = 0; d < 4; ++d) {
    const int nx = x + kDx[d], ny = y + kDy[d];
    const Cell& nb = At(nx, ny);
    if (nb.number == 0) {
      if (nb.mark < 2 && !TouchesCompleteNumber(nx, ny, d, n)) {
        const int slot = nb.mark * SlotCount;
        SlotColumn[slot] = nx;
        SlotRow[slot] = ny;
        ++SlotCount;
        if (nb.mark == 0) AllVisited = 0;
      }
    } else if (ReducedFast(nb.number) == n && nb.mark != 2) {
      SlotCount = 100;
      return;
    }
  }
}

int Solver::MeasureArea(int x, int y, int n) {
  if (options_.mends.wholeArea) return MeasureWholeArea(x, y, n);
  ClearEmptyMarks();
  int count = 0;
  int cx = x, cy = y;
  for (;;) {
    AreaStep(cx, cy, n);
    Cell& cur = At(cx, cy);
    if (SlotCount == 0) {
      SetMark(cur, cx, cy, 2);
      return count + 1;
    }
    if (SlotCount >= 100) return 100;
    if (SlotCount == 1 || AllVisited == 1) {
      ++count;
      SetMark(cur, cx, cy, 2);
    } else {
      SetMark(cur, cx, cy, 1);
    }
    cx = SlotColumn[0];
    cy = SlotRow[0];
  }
}

// Mended: the area behind a way out, flooded to completion so that no dead end
// of a single path can make it look smaller than it is. A flooded cell beside
// a cell of n outside the walked block (mark neither 1 nor 2) makes it 100.
int Solver::MeasureWholeArea(int x, int y, int n) {
  ClearEmptyMarks();
  bool reachesOther = false;
  SetMark(At(x, y), x, y, 2);
  const int count = FloodFrom({x, y}, FloodCells, [&](int nx, int ny) {
    Cell& nb = At(nx, ny);
    if (nb.number == 0) {
      if (nb.mark != 0 || NeighbourHoldsCompleteNumber(state_, nx, ny, n)) return false;
      SetMark(nb, nx, ny, 2);
      return true;
    }
    if (ReducedFast(nb.number) == n && nb.mark != 1 && nb.mark != 2) reachesOther = true;
    return false;
  });
  return reachesOther ? 100 : count;
}

void Solver::FrontierStep(int x, int y, int n) {
  AllVisited = 1;
  SlotCount = 0;
  for (int d = 0; d < 4; ++d) {
    const int nx = x + kDx[d], ny = y + kDy[d];
    const Cell& nb = At(nx, ny);
    if (ReducedFast(nb.number) != n) continue;
    if (nb.complete) {
      state_.SolverStatus = kStatusContradiction;
      continue;
    }
    if (nb.mark < 2) {
      const int slot = nb.mark * SlotCount;
      SlotColumn[slot] = nx;
      SlotRow[slot] = ny;
      ++SlotCount;
      if (nb.mark == 0) AllVisited = 0;
    }
  }
  for (int d = 0; d < 4; ++d) {
    const int nx = x + kDx[d], ny = y + kDy[d];
    Cell& nb = At(nx, ny);
    if (nb.number == 0 && nb.mark == 0 && !TouchesCompleteNumber(nx, ny, d, n) &&
        FrontierCount < kFrontierCapacity) {
      SetMark(nb, nx, ny, 1);
      FrontierColumn[FrontierCount] = nx;
      FrontierRow[FrontierCount] = ny;
      ++FrontierCount;
    }
  }
}

void Solver::ProbeCell(int x, int y) {
  const Cell& p = At(x, y);
  if (p.number == 0 && p.mark < 2) {
    const int slot = p.mark * SlotCount;
    SlotColumn[slot] = x;
    SlotRow[slot] = y;
    ++SlotCount;
    if (p.mark == 0) AllVisited = 0;
    return;
  }
  const int m = ReducedFast(p.number);
  if (m > 0 && p.complete == 0) MarkedNumbers[m] = 1;
}

}  // namespace numbloc
