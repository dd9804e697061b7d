// The automatic solver: block and region walks, the four deduction rules, the
// deduction pass with its snapshots, the trial search and the automatic solve.
// It works in place on one BoardState and keeps all of its working storage in
// fixed-size arrays of its own: nothing is allocated while solving and nothing
// recurses. Two speed layers live apart from the algorithm (AreaLabels,
// MarkTracker); each can be switched off and must not change any result.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "core/board/board_state.h"
#include "core/solver/solver_area_labels.h"
#include "core/solver/solver_geometry.h"
#include "core/solver/solver_marks.h"
#include "core/solver/trial_pool.h"

namespace numbloc {

// Where the default solve departs from the deduction rules as first written,
// one field per mend; Mends::Classic() turns every one off. Two fixes hold in
// every mode because without them the solver is unsafe or plainly wrong: a
// complete block is flagged whole (also the cells its walk left at mark 1),
// and the trials try numbers up to the largest hint when it is above the
// number bar's limit.
struct Mends {
  bool wholeArea = true;           // the growth rule measures the whole area behind a way out, not one path
                                   // (three ways out then read "mark 2" as "in the measured area")
  bool sharedArea = true;          // two ways out into one area of exactly the missing size: the block takes it all
  bool wholeBlockFrontier = true;  // trial phase 1 tries the frontier of the whole block, not of one path
  bool wholeSmallRegion = true;    // trial phase 3 sizes the whole empty region, not one path of it
  bool pairMayHideOne = true;      // an enclosed pair beside a 2 may hold a 1 and the partner of another 2
  static constexpr Mends Classic() { return {false, false, false, false, false}; }
  static constexpr Mends For(bool classic) { return classic ? Classic() : Mends{}; }
};

// The speed layers; off, the solver runs the plain algorithm (for tests).
struct SpeedLayers {
  bool areaLabels = true;    // the growth rule measures areas from labels instead of flooding each
  bool markTracking = true;  // clean-ups visit only where marks were set instead of the whole board
};

struct SolverOptions {
  Mends mends;                              // the default: every mend on
  SpeedLayers layers;                       // the default: both on
  int threads = 1;  // threads for the trials of phases 2 and 3 and the probe's checks; 1: the caller's alone
  const std::atomic<bool>* stop = nullptr;  // polled by the trial loops; nullptr = never stop
  std::atomic<std::int64_t>* progress = nullptr;  // trials done so far, for a window to show
  std::int64_t trialBudget = 0;  // stop as by the flag after this many trials (one thread only); 0: never
};

// Lists that may name a cell once per neighbouring block cell hold four times
// the cells of the largest puzzle.
constexpr int kCandidateCapacity = 4 * kPuzzleCells;
constexpr int kFrontierCapacity = 4 * kPuzzleCells;
constexpr int kBranchCapacity = kBoardColumns * kBoardRows;
// A damaged file may hold any byte; every value reduces to 0..99.
constexpr int kNumberSlots = 100;
static_assert(TrialPool::kMaxNumber == kNumberSlots - 1, "the pool has a slot for every number a trial may place");

// About 3 MB of fixed working storage (snapshots, lists, per-number region
// labels and their undo log): allocate it on the heap.
class Solver {
 public:
  explicit Solver(BoardState& state, SolverOptions options = {});
  ~Solver();
  Solver(const Solver&) = delete;
  Solver& operator=(const Solver&) = delete;

  // InitSolver then the solve loop; state.SolverStatus is kStatusOk (solved),
  // kStatusContradiction or kStatusGaveUp on return.
  void AutoSolve();
  // True when the stop flag ended the last AutoSolve (its status means nothing then).
  bool Stopped() const { return stopped_; }

  // --- Deduction pass and snapshots ---
  void InitSolver();
  void RunDeductionPass();
  void Sweep();  // ProgressMade = 0, then the four rules in order
  void SaveTrialSnapshot();
  void RestoreTrialSnapshot();
  void SaveProbeSnapshot();
  void RestoreProbeSnapshot();

  // --- Block analysis primitives ---
  void SetCell(int x, int y, int n);
  void BlockStep(int x, int y, int n);
  void BlockFlood(int x, int y, int n);
  void RegionStep(int x, int y);
  void RegionFlood(int x, int y);
  void AreaStep(int x, int y, int n);
  int MeasureArea(int x, int y, int n);
  void FrontierStep(int x, int y, int n);
  void ProbeCell(int x, int y);

  // --- The four deduction rules, in sweep order ---
  void PartnerOfTwo();
  void GrowIncompleteBlocks();
  void FillEnclosedRegions();
  void FillEnclosedSinglesAndPairs();

  // --- Trial search and lookahead probe ---
  void TrialSearch();
  void LookaheadProbe();
  // The largest number the trials try: MaxNumber for this board size, or the
  // largest hint when that is larger, never above 40.
  int NumberLimit() const;
  // The walks of phases 1 and 3, as first written and mended; the caller
  // clears the marks (and FrontierCount, MarkedNumbers) first.
  void WalkBlockFrontier(int x, int y, int n);
  void FloodBlockFrontier(int x, int y, int n);
  int WalkSmallRegion(int x, int y);  // returns k, the cells finished
  int FloodSmallRegion(int x, int y);

  // --- Result variables and working lists (read by callers right after a call) ---
  std::int32_t UnvisitedCount = 0;  // step: neighbours of the block or region not yet walked
  std::int32_t VisitedCount = 0;    // step: neighbours walked once (mark 1)
  CellRef LastUnvisited;            // step: the last of those, where the walk goes next
  CellRef LastVisited;
  std::int32_t BlockCellCount = 0;   // block flood: cells of the block
  std::int32_t RegionCellCount = 0;  // region flood: cells of the region
  std::int32_t SlotCount = 0;        // area, frontier and probe steps: ways on (100: another block)
  std::int32_t AllVisited = 0;       // 1 when every way on was walked before

  // Block flood: the empty cells beside the block it may grow into, and for
  // each whether another cell holding its number touches it (1) or not (0).
  std::int32_t CandidateColumn[kCandidateCapacity] = {};
  std::int32_t CandidateRow[kCandidateCapacity] = {};
  std::int32_t CandidateTouch[kCandidateCapacity] = {};
  std::int32_t CandidateCount = 0;

  std::int32_t SlotColumn[4] = {};  // the ways on of the last step, mark-0 cells first
  std::int32_t SlotRow[4] = {};

  std::int32_t FrontierColumn[kFrontierCapacity] = {};  // trial phase 1: the cells to try
  std::int32_t FrontierRow[kFrontierCapacity] = {};
  std::int32_t FrontierCount = 0;

  std::int32_t SeenNumbers[kNumberSlots] = {};    // region flood: numbers beside it (0: an unfinished one)
  std::int32_t MarkedNumbers[kNumberSlots] = {};  // trial phase 3: numbers to try

  Cell ScanCopy[kBoardColumns][kBoardRows] = {};  // the board as a fill began, read while it writes

  // How much work the last AutoSolve did, for tests and the benchmark.
  struct Counters {
    std::int64_t trialSearches = 0;
    std::int64_t lookaheadProbes = 0;
    std::int64_t trials = 0;
    std::int64_t sweeps = 0;
  } Work;

 private:
  using StepFn = void (Solver::*)(int, int, int);

  bool SizeIsSane() const;
  bool Holds(int x, int y, int n) const { return ReducedFast(state_.Board[x][y].number) == n; }
  bool IsEmpty(int x, int y) const { return state_.Board[x][y].number == 0; }
  Cell& At(int x, int y) { return state_.Board[x][y]; }

  // Block and region walks.
  void RegionStepOf(int x, int y, int) { RegionStep(x, y); }
  template <StepFn step>
  void Walk(int x, int y, int n);
  template <StepFn step>
  void Flood(int x, int y, int n);
  void PushBranch(int x, int y);
  void BlockFloodFromClearMarks(int x, int y, int n);  // BlockFlood after ClearEmptyMarks
  void FilterOneMissing(int n);
  void FlagWalkedBlock(int n);
  bool TouchesCompleteNumber(int x, int y, int from, int n) const;

  // Marks: every raise goes through SetMark (see MarkTracker for why).
  void SetMark(Cell& cell, int x, int y, std::uint8_t mark) { marks_.Set(cell, x, y, mark); }
  void ClearEmptyMarks();
  void ClearAllMarks();
  void ClearMarksOfNumberAndEmpty(int n);

  // The growth rule.
  void GrowEachBlock();
  void TwoWaysOut(int n, int need, CellRef w0, CellRef w1);
  void ThreeWaysOut(int n, int need, CellRef w0, CellRef w1, CellRef w2);
  bool LabelsServe(int n) const {
    // The labels answer the whole-area measurement and the shared-area fill.
    return options_.layers.areaLabels && options_.mends.wholeArea && options_.mends.sharedArea &&
           AreaLabels::Covers(n);
  }
  int MeasureForGrowth(CellRef w, int n);
  bool InMeasuredArea(CellRef c, int n);
  void FillMeasuredArea(int n);
  int MeasureWholeArea(int x, int y, int n);  // the mended MeasureArea
  void FillFromScanCopy(int mark, int n);

  // The region rule and the pair rule.
  bool MiddleCellTest(int x, int y);  // true: the rule ends
  int ScanRegion(int x, int y, bool& besideOpenBlock, std::uint64_t& numbersBeside);
  bool PairMayHideOneAndPartner(int x, int y, int px, int py, bool horizontal) const;  // mended pair rule

  // Trials.
  struct Tally {
    int fits = 0;  // numbers that fitted, counted up to 2
    int last = 0;  // the last of them
  };
  bool CheckAssumption(int limit);  // false when the stop flag ended it
  bool StopRequested();
  bool Trial(int x, int y, int v);
  void Commit(int x, int y, int v);
  bool TrialPhaseGrowBlocks();  // true: the search ended
  Tally TryNumbers(int x, int y, int limit, std::uint64_t allowed);
  bool Settle(int x, int y, Tally tally);  // true: the phase ends here
  bool TryCellNumbers(int x, int y, int limit, std::uint64_t allowed);
  bool TrialPhaseEveryNumber(int limit);
  bool TrialPhaseSmallRegions(int limit);
  template <typename Fn>
  bool ForEachSmallRegionCell(int limit, Fn fn);
  void ListHintTwos();

  // The same on worker threads (see TrialPool): the solver takes the units'
  // results in scan order and applies what each trial would have left.
  friend class TrialPool;
  bool TakeTrialUnit(int i, int x, int y, int limit, std::uint64_t allowed);
  const UnitResult* WaitForUnit(int i);
  void ProbeOnWorkers(int limit);
  void TakeConflict(const UnitResult& r);
  void BeginUnits(const BoardState& board, UnitKind kind);  // on a worker's solver
  UnitResult RunTrialUnit(const TrialUnit& unit, int limit);
  UnitResult RunProbeAssumption(const TrialUnit& unit, int v, int limit);
  void NoteUnitEnd(UnitResult& r, std::uint64_t overfills) const;  // the conflict and ProgressMade a unit leaves

  BoardState& state_;        // the board solved in place
  SolverOptions options_;
  bool stopped_ = false;     // the stop flag ended the last AutoSolve
  // Inside AutoSolve only the solver changes the board, so the layers may
  // trust what they were told; outside it, tests change the board by hand
  // between calls.
  bool insideSolve_ = false;
  bool boxedEmptyClear_ = false;  // inside the growth rule: empty marks are cleared within the touched box
  std::uint64_t overfillCount_ = 0;  // SetCell calls so far that overfilled a block

  std::unique_ptr<TrialPool> pool_;  // workers for the trials, when options_.threads > 1
  AreaLabels labels_;        // speed layer: the growth rule's areas
  MarkTracker marks_;        // speed layer: where marks may be non-zero
  CellRef walkedBlock_;      // growth rule: a cell of the block being grown

  std::uint8_t BranchColumn[kBranchCapacity] = {};  // walk: cells to walk again from, in order met
  std::uint8_t BranchRow[kBranchCapacity] = {};
  std::int32_t BranchCount = 0;

  // Cells of the block walked by the last BlockFlood, so that a complete block
  // is flagged without a pass over the whole board.
  CellRef WalkedCells[kPuzzleCells] = {};
  std::int32_t WalkedCount = 0;
  CellRef FloodCells[kPuzzleCells] = {};  // queue of the breadth-first floods
  // The given 2s in scan order, listed once per solve: hints never change
  // while the solver runs.
  CellRef HintTwos[kPuzzleCells] = {};
  std::int32_t HintTwoCount = 0;

  Cell TrialSnapshot[kBoardColumns][kBoardRows] = {};  // the board every trial starts from
  std::int32_t TrialEmptyCount = 0;
  Cell ProbeSnapshot[kBoardColumns][kBoardRows] = {};  // the board every assumption starts from
  std::int32_t ProbeEmptyCount = 0;
};

// The automatic solve as the board window's button runs it, for the window,
// the command line and the tests alike. Before: a loaded or edited board.
// The number bar's limit is derived from the size (the window's layout does
// so before any click can reach the button), the status set to 0, AutoSolve
// run and the board left in SolveAuto mode. Returns false when the stop flag
// ended it; the board then means nothing. `work`, when given, receives the
// solve's counters.
bool SolveLikeTheButton(BoardState& state, const SolverOptions& options = {}, Solver::Counters* work = nullptr);

}  // namespace numbloc
