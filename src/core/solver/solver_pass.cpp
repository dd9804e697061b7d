// The solver's setup, the deduction pass to the rules' fixpoint, the two
// board snapshots used by the trials, and the automatic-solve loop.
#include <cstring>
#include <memory>

#include "core/solver/solver.h"

namespace numbloc {

// The frame must lie inside the board array for the walks to stay inside it.
bool Solver::SizeIsSane() const {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  return w >= 1 && w <= kMaxWidth && h >= 1 && h <= kMaxHeight;
}

void Solver::InitSolver() {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  if (!SizeIsSane()) {
    state_.SolverStatus = kStatusContradiction;
    return;
  }
  state_.SolverStatus = kStatusOk;
  state_.EmptyCount = w * h;
  // The walks rely on a frame of WALL cells around the puzzle instead of
  // bounds checks; a damaged state cannot be allowed to open that frame.
  state_.WallFrame();
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      Cell& c = state_.Board[x][y];
      c.complete = 0;
      c.mark = 0;
      if (c.number >= 100) {
        c.number = 0;
      } else if (c.number >= 1) {
        --state_.EmptyCount;
        if (c.number == 1) c.complete = 1;
      }
    }
  }
  marks_.AllCleared();
  labels_.Reset();
}

void Solver::ListHintTwos() {
  HintTwoCount = 0;
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      if (state_.Board[x][y].number == 2) HintTwos[HintTwoCount++] = {x, y};
    }
  }
}

void Solver::Sweep() {
  ++Work.sweeps;
  state_.ProgressMade = 0;
  PartnerOfTwo();
  GrowIncompleteBlocks();
  FillEnclosedRegions();
  FillEnclosedSinglesAndPairs();
}

void Solver::RunDeductionPass() {
  if (state_.SolverStatus == kStatusContradiction) return;
  state_.SolverStatus = kStatusOk;
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (;;) {
    Sweep();
    if (state_.SolverStatus == kStatusContradiction) return;
    if (state_.EmptyCount == 0) {
      for (int x = 1; x <= w; ++x) {
        for (int y = 1; y <= h; ++y) {
          if (state_.Board[x][y].complete == 0) {
            state_.SolverStatus = kStatusContradiction;
            return;
          }
        }
      }
    }
    if (state_.ProgressMade != 1) break;
  }
  state_.SolverStatus = kStatusGaveUp;
}

void Solver::SaveTrialSnapshot() {
  std::memcpy(TrialSnapshot, state_.Board, sizeof(TrialSnapshot));
  TrialEmptyCount = state_.EmptyCount;
  marks_.Save();
  if (insideSolve_) labels_.StartBase();
}

void Solver::RestoreTrialSnapshot() {
  std::memcpy(state_.Board, TrialSnapshot, sizeof(TrialSnapshot));
  state_.EmptyCount = TrialEmptyCount;
  state_.SolverStatus = kStatusOk;
  marks_.Restore();
  labels_.RestoreBase();
}

void Solver::SaveProbeSnapshot() {
  std::memcpy(ProbeSnapshot, state_.Board, sizeof(ProbeSnapshot));
  ProbeEmptyCount = state_.EmptyCount;
}

// The probe slot holds number and complete only: the marks stay as they are.
void Solver::RestoreProbeSnapshot() {
  for (int x = 0; x < kBoardColumns; ++x) {
    for (int y = 0; y < kBoardRows; ++y) {
      state_.Board[x][y].number = ProbeSnapshot[x][y].number;
      state_.Board[x][y].complete = ProbeSnapshot[x][y].complete;
    }
  }
  state_.EmptyCount = ProbeEmptyCount;
  state_.SolverStatus = kStatusOk;
  labels_.Reset();
}

void Solver::AutoSolve() {
  stopped_ = false;
  Work = Counters{};
  if (!SizeIsSane()) {
    state_.SolverStatus = kStatusContradiction;
    return;
  }
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  InitSolver();
  ListHintTwos();
  // Inside the solve the layers may trust what they are told; after it,
  // whatever the way out, they trust nothing.
  struct InsideSolve {
    Solver& s;
    explicit InsideSolve(Solver& solver) : s(solver) {
      s.insideSolve_ = true;
      s.marks_.Trust(true);
    }
    ~InsideSolve() {
      s.insideSolve_ = false;
      s.marks_.Trust(false);
      s.labels_.Reset();
    }
  } inside(*this);
  for (;;) {
    Sweep();
    if (state_.SolverStatus == kStatusContradiction) return;
    if (state_.EmptyCount == 0) break;
    if (state_.ProgressMade == 1) continue;
    TrialSearch();
    if (stopped_) return;
    if (state_.SolverStatus == kStatusOk || state_.SolverStatus == kStatusContradiction) continue;
    state_.SolverStatus = kStatusOk;
    LookaheadProbe();
    if (stopped_) return;
    if (state_.SolverStatus == kStatusGaveUp) return;
  }
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      if (state_.Board[x][y].complete == 0) {
        state_.SolverStatus = kStatusContradiction;
        return;
      }
    }
  }
  state_.SolverStatus = kStatusOk;
}

bool SolveLikeTheButton(BoardState& state, const SolverOptions& options, Solver::Counters* work) {
  state.MaxNumber = DeriveMaxNumber(state.BoardWidth, state.BoardHeight);
  state.LayoutPending = 0;
  state.SolverStatus = kStatusOk;
  auto solver = std::make_unique<Solver>(state, options);
  solver->AutoSolve();
  if (work) *work = solver->Work;
  if (solver->Stopped()) return false;
  state.Mode = SolveAuto;
  return true;
}

}  // namespace numbloc
