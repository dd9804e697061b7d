// Deciding one more cell by trial when the rules stall: the three phases of
// the trial search and the two-level lookahead probe.
#include <algorithm>

#include "core/solver/solver.h"
#include "core/solver/solver_geometry.h"

namespace numbloc {

int Solver::NumberLimit() const {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  int limit = DeriveMaxNumber(w, h);
  // Hand-made puzzles may hold hints above what the number bar offers; a
  // limit below them would make a needed number look impossible.
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      const int number = state_.Board[x][y].number;
      if (number < 100) limit = std::max(limit, number);
    }
  }
  return std::min(limit, kMaxCellNumber);
}

bool Solver::StopRequested() {
  if (options_.stop != nullptr && options_.stop->load(std::memory_order_relaxed)) stopped_ = true;
  return stopped_;
}

bool Solver::Trial(int x, int y, int v) {
  if (StopRequested()) return false;
  ++Work.trials;
  if (options_.progress) options_.progress->store(Work.trials, std::memory_order_relaxed);
  SetCell(x, y, v);
  RunDeductionPass();
  const bool consistent = state_.SolverStatus != kStatusContradiction;
  RestoreTrialSnapshot();
  return consistent;
}

void Solver::Commit(int x, int y, int v) {
  SetCell(x, y, v);
  state_.SolverStatus = kStatusOk;
}

void Solver::TrialSearch() {
  ++Work.trialSearches;
  SaveTrialSnapshot();
  const int limit = NumberLimit();
  const bool decided = TrialPhaseGrowBlocks() || TrialPhaseEveryNumber(limit) || TrialPhaseSmallRegions(limit);
  if (!decided) state_.SolverStatus = kStatusGaveUp;
}

// Phase 1: an incomplete hinted block grows through one of its frontier
// cells; when exactly one of them survives a trial, that one is taken.
bool Solver::TrialPhaseGrowBlocks() {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      const Cell& s = At(x, y);
      if (s.number < 2 || s.number > 49 || s.complete != 0) continue;
      const int n = s.number;
      ClearAllMarks();
      FrontierCount = 0;
      if (options_.mends.wholeBlockFrontier) {
        FloodBlockFrontier(x, y, n);
      } else {
        WalkBlockFrontier(x, y, n);
      }
      if (FrontierCount <= 1) continue;

      int consistent = 0, last = 0;
      for (int i = 0; i < FrontierCount; ++i) {
        if (Trial(FrontierColumn[i], FrontierRow[i], n)) {
          ++consistent;
          last = i;
        }
        if (stopped_) {
          state_.SolverStatus = kStatusGaveUp;
          return true;
        }
      }
      if (consistent == 1) {
        Commit(FrontierColumn[last], FrontierRow[last], n);
        return true;
      }
      if (consistent == 0) {
        state_.SolverStatus = kStatusContradiction;
        return true;
      }
    }
  }
  return false;
}

void Solver::WalkBlockFrontier(int x, int y, int n) {
  int cx = x, cy = y;
  for (;;) {
    FrontierStep(cx, cy, n);
    Cell& cur = At(cx, cy);
    if (SlotCount == 0) {
      SetMark(cur, cx, cy, 2);
      return;
    }
    SetMark(cur, cx, cy, (SlotCount == 1 || (SlotCount == 2 && AllVisited == 1)) ? 2 : 1);
    cx = SlotColumn[0];
    cy = SlotRow[0];
  }
}

// Mended: the whole block of S and every free empty cell beside it, in scan
// order, so that no branch of the block is left without its frontier.
void Solver::FloodBlockFrontier(int x, int y, int n) {
  SetMark(At(x, y), x, y, 2);
  const int count = FloodFrom({x, y}, FloodCells, [&](int nx, int ny) {
    Cell& nb = At(nx, ny);
    if (ReducedFast(nb.number) != n) return false;
    if (nb.complete) {
      state_.SolverStatus = kStatusContradiction;
      return false;
    }
    if (nb.mark != 0) return false;
    SetMark(nb, nx, ny, 2);
    return true;
  });
  int minX = x, maxX = x, minY = y, maxY = y;
  for (int i = 0; i < count; ++i) {
    minX = std::min(minX, FloodCells[i].x), maxX = std::max(maxX, FloodCells[i].x);
    minY = std::min(minY, FloodCells[i].y), maxY = std::max(maxY, FloodCells[i].y);
  }
  // Only cells within one step of the block can be frontier cells.
  const int x0 = std::max(1, minX - 1), x1 = std::min<int>(state_.BoardWidth, maxX + 1);
  const int y0 = std::max(1, minY - 1), y1 = std::min<int>(state_.BoardHeight, maxY + 1);
  for (int cx = x0; cx <= x1; ++cx) {
    for (int cy = y0; cy <= y1; ++cy) {
      Cell& c = At(cx, cy);
      if (c.number != 0 || NeighbourHoldsCompleteNumber(state_, cx, cy, n)) continue;
      bool besideBlock = false;
      for (int d = 0; d < 4; ++d) {
        const Cell& nb = At(cx + kDx[d], cy + kDy[d]);
        if (ReducedFast(nb.number) == n && nb.mark == 2) besideBlock = true;
      }
      if (!besideBlock) continue;
      SetMark(c, cx, cy, 1);
      FrontierColumn[FrontierCount] = cx;
      FrontierRow[FrontierCount] = cy;
      ++FrontierCount;
    }
  }
}

// Tries the numbers 1..limit on an empty cell (only those flagged in
// `allowed`, when given) and stops at the second that fits. True when the
// phase ends here: exactly one fits and is committed, none fits (status 1),
// or the stop flag fired.
bool Solver::TryCellNumbers(int x, int y, int limit, const std::int32_t* allowed) {
  int consistent = 0, last = 0;
  for (int v = 1; v <= limit && consistent < 2; ++v) {
    if (allowed && allowed[v] != 1) continue;
    if (Trial(x, y, v)) {
      ++consistent;
      last = v;
    }
    if (stopped_) {
      state_.SolverStatus = kStatusGaveUp;
      return true;
    }
  }
  if (consistent == 1) {
    Commit(x, y, last);
    return true;
  }
  if (consistent == 0) {
    state_.SolverStatus = kStatusContradiction;
    return true;
  }
  return false;
}

// Phase 2: every number on every empty cell, until a cell admits exactly one.
bool Solver::TrialPhaseEveryNumber(int limit) {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      if (!IsEmpty(x, y)) continue;
      if (TryCellNumbers(x, y, limit, nullptr)) return true;
    }
  }
  return false;
}

// Phase 3: the cells of small empty regions, tried with the region's sizes
// and the numbers of the unfinished blocks around it.
bool Solver::TrialPhaseSmallRegions(int limit) {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      if (!IsEmpty(x, y)) continue;
      ClearEmptyMarks();
      for (int v = 0; v <= limit; ++v) MarkedNumbers[v] = 0;
      const int k = options_.mends.wholeSmallRegion ? FloodSmallRegion(x, y) : WalkSmallRegion(x, y);
      if (k > 5) continue;
      for (int v = 1; v <= k; ++v) MarkedNumbers[v] = 1;
      if (TryCellNumbers(x, y, limit, MarkedNumbers)) return true;
    }
  }
  return false;
}

int Solver::WalkSmallRegion(int x, int y) {
  int k = 0;
  int cx = x, cy = y;
  for (;;) {
    SlotCount = 0;
    AllVisited = 1;
    for (int d = 0; d < 4; ++d) ProbeCell(cx + kDx[d], cy + kDy[d]);
    Cell& cur = At(cx, cy);
    if (SlotCount == 0) {
      ++k;
      SetMark(cur, cx, cy, 2);
      return k;
    }
    if (SlotCount == 1 || (SlotCount == 2 && AllVisited == 1)) {
      ++k;
      SetMark(cur, cx, cy, 2);
    } else {
      SetMark(cur, cx, cy, 1);
    }
    if (k > 5) return k;
    cx = SlotColumn[0];
    cy = SlotRow[0];
  }
}

// Mended: the whole empty region of E, given up as soon as it has six cells.
int Solver::FloodSmallRegion(int x, int y) {
  SetMark(At(x, y), x, y, 2);
  const int k = FloodFrom(
      {x, y}, FloodCells,
      [&](int nx, int ny) {
        Cell& nb = At(nx, ny);
        if (nb.number != 0 || nb.mark != 0) return false;
        SetMark(nb, nx, ny, 2);
        return true;
      },
      5);
  if (k > 5) return k;
  for (int i = 0; i < k; ++i) {
    for (int d = 0; d < 4; ++d) {
      const Cell& nb = At(FloodCells[i].x + kDx[d], FloodCells[i].y + kDy[d]);
      const int m = ReducedFast(nb.number);
      if (nb.number != 0 && m > 0 && nb.complete == 0) MarkedNumbers[m] = 1;
    }
  }
  return k;
}

// Every empty cell must still admit a number after the assumption; the
// first cell that admits none ends the check with status 1.
bool Solver::CheckAssumption(int limit) {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int dx = 1; dx <= w; ++dx) {
    for (int dy = 1; dy <= h; ++dy) {
      if (!IsEmpty(dx, dy)) continue;
      int consistent = 0;
      for (int u = 1; u <= limit && consistent < 2; ++u) {
        if (Trial(dx, dy, u)) ++consistent;
        if (stopped_) return false;
      }
      if (consistent == 0) {
        state_.SolverStatus = kStatusContradiction;
        return true;
      }
    }
  }
  return true;
}

void Solver::LookaheadProbe() {
  ++Work.lookaheadProbes;
  SaveProbeSnapshot();
  const int limit = NumberLimit();
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      if (!IsEmpty(x, y)) continue;
      int survived = 0, last = 0;
      for (int v = 1; v <= limit && survived < 2; ++v) {
        SetCell(x, y, v);
        RunDeductionPass();
        SaveTrialSnapshot();
        // The pass's own status is not looked at: a contradictory assumption
        // shows up as the first check trial failing.
        if (!CheckAssumption(limit)) {
          RestoreProbeSnapshot();
          state_.SolverStatus = kStatusGaveUp;
          return;
        }
        if (state_.SolverStatus != kStatusContradiction) {
          ++survived;
          last = v;
        }
        RestoreProbeSnapshot();
      }
      if (survived == 1) {
        Commit(x, y, last);
        return;
      }
    }
  }
  state_.SolverStatus = kStatusGaveUp;
}

}  // namespace numbloc
