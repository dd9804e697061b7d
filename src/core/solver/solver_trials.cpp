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
  if (options_.trialBudget > 0 && Work.trials >= options_.trialBudget) stopped_ = true;
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

// Tries the numbers 1..limit allowed on an empty cell, in order, and stops
// at the second that fits (or when the stop flag fires).
Solver::Tally Solver::TryNumbers(int x, int y, int limit, std::uint64_t allowed) {
  Tally tally;
  for (int v = 1; v <= limit && tally.fits < 2; ++v) {
    if (((allowed >> v) & 1) == 0) continue;
    if (Trial(x, y, v)) {
      ++tally.fits;
      tally.last = v;
    }
    if (stopped_) break;
  }
  return tally;
}

// True when the phase ends here: exactly one number fits and is committed,
// or none fits (status 1).
bool Solver::Settle(int x, int y, Tally tally) {
  if (tally.fits == 1) {
    Commit(x, y, tally.last);
    return true;
  }
  if (tally.fits == 0) {
    state_.SolverStatus = kStatusContradiction;
    return true;
  }
  return false;
}

// True when the phase ends here (see Settle), also when the stop flag fired.
bool Solver::TryCellNumbers(int x, int y, int limit, std::uint64_t allowed) {
  const Tally tally = TryNumbers(x, y, limit, allowed);
  if (stopped_) {
    state_.SolverStatus = kStatusGaveUp;
    return true;
  }
  return Settle(x, y, tally);
}

namespace {
std::uint64_t NumbersUpTo(int limit) { return ((std::uint64_t{1} << (limit + 1)) - 1) & ~std::uint64_t{1}; }
}  // namespace

// Phase 2: every number on every empty cell, until a cell admits exactly one.
bool Solver::TrialPhaseEveryNumber(int limit) {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  const std::uint64_t all = NumbersUpTo(limit);
  int count = 0;
  if (pool_) {
    for (int x = 1; x <= w; ++x) {
      for (int y = 1; y <= h; ++y) {
        if (IsEmpty(x, y)) pool_->Units()[count++] = {x, y, all};
      }
    }
    pool_->Start(UnitKind::Trials, state_, limit, count);
  }
  bool decided = false;
  for (int x = 1, i = 0; x <= w && !decided; ++x) {
    for (int y = 1; y <= h && !decided; ++y) {
      if (!IsEmpty(x, y)) continue;
      decided = pool_ ? TakeTrialUnit(i++, x, y, limit, all) : TryCellNumbers(x, y, limit, all);
    }
  }
  if (pool_) pool_->End();
  return decided;
}

// Phase 3's walk over the empty cells: for each that lies in an empty region
// of at most 5 cells, fn(x, y, numbers to try); true from fn ends it.
template <typename Fn>
bool Solver::ForEachSmallRegionCell(int limit, Fn fn) {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      if (!IsEmpty(x, y)) continue;
      ClearEmptyMarks();
      for (int v = 0; v <= limit; ++v) MarkedNumbers[v] = 0;
      const int k = options_.mends.wholeSmallRegion ? FloodSmallRegion(x, y) : WalkSmallRegion(x, y);
      if (k > 5) continue;
      for (int v = 1; v <= k; ++v) MarkedNumbers[v] = 1;
      std::uint64_t allowed = 0;
      for (int v = 1; v <= limit; ++v) allowed |= static_cast<std::uint64_t>(MarkedNumbers[v] == 1) << v;
      if (fn(x, y, allowed)) return true;
    }
  }
  return false;
}

// Phase 3: the cells of small empty regions, tried with the region's sizes
// and the numbers of the unfinished blocks around it.
bool Solver::TrialPhaseSmallRegions(int limit) {
  if (!pool_) {
    return ForEachSmallRegionCell(limit, [&](int x, int y, std::uint64_t allowed) {
      return TryCellNumbers(x, y, limit, allowed);
    });
  }
  // The units are listed by a first walk: the regions depend on the numbers
  // alone, and the walk that takes the results sets the marks again as the
  // plain phase does.
  int count = 0;
  ForEachSmallRegionCell(limit, [&](int x, int y, std::uint64_t allowed) {
    pool_->Units()[count++] = {x, y, allowed};
    return false;
  });
  pool_->Start(UnitKind::Trials, state_, limit, count);
  int i = 0;
  const bool decided = ForEachSmallRegionCell(limit, [&](int x, int y, std::uint64_t allowed) {
    return TakeTrialUnit(i++, x, y, limit, allowed);
  });
  pool_->End();
  return decided;
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
  if (pool_) {
    ProbeOnWorkers(limit);
    return;
  }
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

// The probe with every assumption and its check on the workers. What the
// plain probe leaves besides its verdict comes from the results: the
// conflict variables and ProgressMade, and the marks, which are those of the
// last assumption whose pass ran (every pass clears and sets them anew),
// changed by the assumptions after it, each of which its first placement
// contradicted at once. Those few steps run here again at the end.
void Solver::ProbeOnWorkers(int limit) {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  int count = 0;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      if (IsEmpty(x, y)) pool_->Units()[count++] = {x, y, 0};
    }
  }
  pool_->Start(UnitKind::Probe, state_, limit, count);
  std::int32_t conflict[3] = {state_.ConflictColumn, state_.ConflictRow, state_.ConflictNumber};
  std::int32_t progressMade = state_.ProgressMade;
  int lastPass = -1;  // the unit of the last assumption whose pass ran
  int decided = -1, cell = 0;
  int survived = 0, last = 0;  // as in the plain probe, for the cell being taken
  for (; cell < count && decided < 0; ++cell) {
    survived = 0;
    for (int v = 1; v <= limit && survived < 2; ++v) {
      const int i = cell * limit + v - 1;
      const UnitResult* r = WaitForUnit(i);
      if (r == nullptr) {
        pool_->End();
        state_.SolverStatus = kStatusGaveUp;
        return;
      }
      Work.trials += r->trials;
      if (r->overfilled) std::copy(r->conflict, r->conflict + 3, conflict);
      progressMade = r->progressMade;
      if (r->fullPass) lastPass = i;
      if (r->survived) {
        ++survived;
        last = v;
      }
    }
    if (survived == 1) decided = cell;
  }
  pool_->End();

  // The marks, replayed: the last assumption whose pass ran, then the
  // placements of the assumptions taken after it (each cell's, up to its
  // second survivor, as taken above).
  const UnitResult* results = pool_->Results();
  const int from = std::max(lastPass, 0);
  for (int c = from / limit; c < cell; ++c) {
    const TrialUnit& unit = pool_->Units()[c];
    int survivedHere = 0;
    for (int v = 1, i = c * limit; v <= limit && survivedHere < 2; ++v, ++i) {
      if (i >= from) {
        SetCell(unit.x, unit.y, v);
        if (i == lastPass) RunDeductionPass();
        RestoreProbeSnapshot();
      }
      survivedHere += results[i].survived;
    }
  }
  state_.ConflictColumn = conflict[0];
  state_.ConflictRow = conflict[1];
  state_.ConflictNumber = conflict[2];
  state_.ProgressMade = progressMade;
  if (decided < 0) {
    state_.SolverStatus = kStatusGaveUp;
    return;
  }
  const TrialUnit& unit = pool_->Units()[decided];
  Commit(unit.x, unit.y, last);
}

const UnitResult* Solver::WaitForUnit(int i) {
  const UnitResult* r = pool_->Wait(i, options_.stop, options_.progress, Work.trials);
  if (r == nullptr) stopped_ = true;
  return r;
}

void Solver::TakeConflict(const UnitResult& r) {
  ++overfillCount_;
  state_.ConflictColumn = r.conflict[0];
  state_.ConflictRow = r.conflict[1];
  state_.ConflictNumber = r.conflict[2];
}

// One cell of phase 2 or 3 from a worker. Its trials all end on the trial
// snapshot; a trial begun on status 1 fails whatever the board, which the
// workers (begun on status 0) cannot know, so such a cell is tried here.
bool Solver::TakeTrialUnit(int i, int x, int y, int limit, std::uint64_t allowed) {
  if (state_.SolverStatus == kStatusContradiction) return TryCellNumbers(x, y, limit, allowed);
  const UnitResult* r = WaitForUnit(i);
  if (r == nullptr) {
    state_.SolverStatus = kStatusGaveUp;
    return true;
  }
  if (r->trials > 0) RestoreTrialSnapshot();
  if (r->overfilled) TakeConflict(*r);
  if (r->progressMade >= 0) state_.ProgressMade = r->progressMade;
  Work.trials += r->trials;
  return Settle(x, y, {r->fits, r->lastFit});
}

void Solver::BeginUnits(const BoardState& board, UnitKind kind) {
  state_ = board;
  state_.SolverStatus = kStatusOk;
  insideSolve_ = true;
  marks_.Trust(true);
  marks_.CoverAll();
  labels_.Reset();
  ListHintTwos();
  if (kind == UnitKind::Trials) {
    SaveTrialSnapshot();
  } else {
    SaveProbeSnapshot();
  }
}

// What every unit reports at its end: the conflict variables when one of its
// placements overfilled a block since `overfills`, and ProgressMade.
void Solver::NoteUnitEnd(UnitResult& r, std::uint64_t overfills) const {
  if (overfillCount_ != overfills) {
    r.overfilled = true;
    r.conflict[0] = state_.ConflictColumn;
    r.conflict[1] = state_.ConflictRow;
    r.conflict[2] = state_.ConflictNumber;
  }
  r.progressMade = static_cast<std::int8_t>(state_.ProgressMade);  // -1, 0 or 1
}

// ProgressMade starts at -1 so that the result tells whether the unit wrote it.
UnitResult Solver::RunTrialUnit(const TrialUnit& unit, int limit) {
  UnitResult r;
  stopped_ = false;
  state_.ProgressMade = -1;
  const std::uint64_t overfills = overfillCount_;
  const std::int64_t trials = Work.trials;
  const Tally tally = TryNumbers(unit.x, unit.y, limit, unit.allowed);
  r.finished = !stopped_;
  r.fits = static_cast<std::int8_t>(tally.fits);  // up to 2
  r.lastFit = static_cast<std::int8_t>(tally.last);  // up to the limit
  r.trials = static_cast<std::int32_t>(Work.trials - trials);
  NoteUnitEnd(r, overfills);
  return r;
}

// One assumption of the probe with its check, from the probe snapshot and
// back to it; the placement writes ProgressMade whatever came before.
UnitResult Solver::RunProbeAssumption(const TrialUnit& unit, int v, int limit) {
  UnitResult r;
  stopped_ = false;
  const std::int64_t trials = Work.trials;
  const std::uint64_t overfills = overfillCount_;
  SetCell(unit.x, unit.y, v);
  r.fullPass = state_.SolverStatus != kStatusContradiction;
  RunDeductionPass();
  SaveTrialSnapshot();
  const bool checked = CheckAssumption(limit);
  r.survived = checked && state_.SolverStatus != kStatusContradiction;
  RestoreProbeSnapshot();
  if (!checked) return r;
  NoteUnitEnd(r, overfills);
  r.trials = static_cast<std::int32_t>(Work.trials - trials);
  r.finished = true;
  return r;
}

}  // namespace numbloc
