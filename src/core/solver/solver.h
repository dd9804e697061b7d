// The automatic solver: block and region walks, the four deduction rules, the
// deduction pass with its snapshots, the trial search and the automatic solve.
// It works in place on one BoardState and keeps all of its working storage in
// fixed-size arrays of its own: nothing is allocated while solving and nothing
// recurses.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/board/board_state.h"

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

struct SolverOptions {
  Mends mends;                              // the default: every mend on
  const std::atomic<bool>* stop = nullptr;  // polled by the trial loops; nullptr = never stop
  std::atomic<std::int64_t>* progress = nullptr;  // trials done so far, for a window to show
};

// Every cell of the largest puzzle, and the same bound four times over for
// lists that may name a cell once per neighbouring block cell.
constexpr int kPuzzleCells = kMaxWidth * kMaxHeight;
constexpr int kCandidateCapacity = 4 * kPuzzleCells;
constexpr int kFrontierCapacity = 4 * kPuzzleCells;
constexpr int kBranchCapacity = kBoardColumns * kBoardRows;
// A damaged file may hold any byte; every value reduces to 0..99.
constexpr int kNumberSlots = 100;

// Reduced(number) for every byte value, looked up: the walks reduce cell
// values in their innermost loops, where the division costs more than a load.
struct ReducedTable {
  std::uint8_t value[256] = {};
  constexpr ReducedTable() {
    for (int i = 0; i < 256; ++i) value[i] = static_cast<std::uint8_t>(Reduced(static_cast<std::uint8_t>(i)));
  }
};
inline constexpr ReducedTable kReducedTable{};
inline int ReducedFast(std::uint8_t number) { return kReducedTable.value[number]; }

struct CellRef {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// About 2 MB of fixed working storage (snapshots, lists, per-number region
// labels and the remembered trials): allocate it on the heap.
class Solver {
 public:
  explicit Solver(BoardState& state, SolverOptions options = {});

  // InitSolver then the solve loop; state.SolverStatus is kStatusOk (solved),
  // kStatusContradiction or kStatusGaveUp on return.
  void AutoSolve();
  // True when the stop flag ended the last AutoSolve (its status means nothing then).
  bool Stopped() const { return stopped_; }
  // The growth rule measures areas from region labels (same results as the
  // flood of MeasureArea); false makes it flood each way out, for tests.
  bool UseAreaLabels = true;

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
  // The walks of phases 1 and 3, classic and mended; the
  // caller clears the marks (and FrontierCount, MarkedNumbers) first.
  void WalkBlockFrontier(int x, int y, int n);
  void FloodBlockFrontier(int x, int y, int n);
  int WalkSmallRegion(int x, int y);  // returns k, the cells finished
  int FloodSmallRegion(int x, int y);

  // --- Result variables and working lists (read by callers right after a call) ---
  std::int32_t UnvisitedCount = 0;
  std::int32_t VisitedCount = 0;
  CellRef LastUnvisited;
  CellRef LastVisited;
  std::int32_t BlockCellCount = 0;
  std::int32_t RegionCellCount = 0;
  std::int32_t SlotCount = 0;
  std::int32_t AllVisited = 0;

  std::int32_t CandidateColumn[kCandidateCapacity] = {};
  std::int32_t CandidateRow[kCandidateCapacity] = {};
  std::int32_t CandidateTouch[kCandidateCapacity] = {};
  std::int32_t CandidateCount = 0;

  std::int32_t SlotColumn[4] = {};
  std::int32_t SlotRow[4] = {};

  std::int32_t FrontierColumn[kFrontierCapacity] = {};
  std::int32_t FrontierRow[kFrontierCapacity] = {};
  std::int32_t FrontierCount = 0;

  std::int32_t SeenNumbers[kNumberSlots] = {};
  std::int32_t MarkedNumbers[kNumberSlots] = {};

  Cell ScanCopy[kBoardColumns][kBoardRows] = {};

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

  void RegionStepOf(int x, int y, int) { RegionStep(x, y); }
  template <StepFn step>
  void Walk(int x, int y, int n);
  template <StepFn step>
  void Flood(int x, int y, int n);
  void PushBranch(int x, int y);
  void ClearEmptyMarks();
  void ClearAllMarks();
  void ClearMarksOfNumberAndEmpty(int n);
  void BlockFloodFromClearMarks(int x, int y, int n);  // BlockFlood after ClearEmptyMarks
  void FlagWalkedBlock(int n);
  void FilterOneMissing(int n);
  bool TouchesCompleteNumber(int x, int y, int from, int n) const;
  // Inline and unrolled: the area labels ask it for nearly every empty cell
  // they meet. Which neighbour answers does not matter, only whether one does.
  bool NeighbourHoldsCompleteNumber(int x, int y, int n) const {
    const auto& b = state_.Board;
    auto hit = [n](const Cell& o) { return o.complete != 0 && ReducedFast(o.number) == n; };
    return hit(b[x][y - 1]) || hit(b[x - 1][y]) || hit(b[x][y + 1]) || hit(b[x + 1][y]);
  }
  void FillFromScanCopy(int mark, int n);

  void GrowEachBlock();
  // Labels of walkable regions and blocks, per number, valid while the board
  // stands still (see solver_area_cache.cpp).
  static constexpr int kLabelledNumbers = kMaxCellNumber + 1;  // larger numbers flood
  static constexpr int kComponentPool = 8192;
  struct AreaComponent {
    int size = 0;
    int block = -1;  // the one block of n it touches, -1 none
    bool manyBlocks = false;
    bool dead = false;  // a number was written into it: its cells need new labels
    int adjacency = -1;  // shared regions: its entry in sharedAdjacency_
  };
  // For a region of all empty cells: per number, the one block it touches
  // (-1 none) and whether it touches several.
  struct SharedAdjacency {
    std::int16_t block[kMaxCellNumber + 1];
    std::uint64_t many;
  };
  static constexpr int kSharedPool = 1024;
  struct LastArea {
    CellRef start;
    int comps[4];
    int compCount = 0;
    int slot = 0;  // 0: regions of all empty cells, else the number's own regions
  };
  void PrepareSharedLabels();
  int SharedAreaLabel(int x, int y);
  bool SlotWalkable(int x, int y, int slot) const {
    return slot == 0 ? state_.Board[x][y].number == 0 : Walkable(x, y, slot);
  }
  void PrepareAreaLabels(int n);
  void ForgetAreaLabels() {
    if (labelLogging_) labelLogOverflow_ = true;  // the base labels are gone with it
    ++boardVersion_;
  }
  void ForgetAreaLabelsFor(int n) {
    if (n > 0 && n < kLabelledNumbers) {
      labelVersion_[n] = 0;
      blocksEmptyCells_[n] = true;  // its blocks changed: it leaves the shared regions
    }
  }
  void ForgetAreasAround(int x, int y);
  void ForgetAroundNewCell(int x, int y, int n);
  bool Labelled(int n, int x, int y) const {
    return areaStamp_[n][x][y] == areaGen_[n] && !areaComps_[areaLabel_[n][x][y]].dead;
  }
  bool Walkable(int x, int y, int n) const {
    return state_.Board[x][y].number == 0 && !NeighbourHoldsCompleteNumber(x, y, n);
  }
  int BlockLabel(int x, int y, int n);
  int AreaLabel(int x, int y, int n);
  int MeasureByLabels(CellRef w, int n, CellRef walkedBlock);
  bool InLastArea(CellRef c, int n);
  void FillLastArea(int n);
  int MeasureForGrowth(CellRef w, int n);
  bool InMeasuredArea(CellRef c, int n);
  // The labels answer the whole-area measurement and the shared-area fill.
  bool LabelsServe(int n) const {
    return options_.mends.wholeArea && options_.mends.sharedArea && UseAreaLabels && n < kLabelledNumbers;
  }

  // Labels found on the board that TrialSnapshot holds stay valid through
  // every trial: while logging, each label a trial overwrites is logged, and
  // RestoreTrialSnapshot writes the log back instead of forgetting them all.
  struct LabelWrite {
    std::uint8_t kind, n, x, y;  // kind 0: area label, 1: block label, 2: component killed
    std::uint32_t stamp;
    std::int32_t label;
  };
  static constexpr int kLabelLogCapacity = 1 << 15;
  struct LabelScalars {
    std::uint32_t boardVersion, poolVersion, blockedVersion;
    int poolCount, sharedCount;
    std::uint32_t labelVersion[kLabelledNumbers], areaGen[kLabelledNumbers];
    int blockCompCount[kLabelledNumbers];
    bool blocksEmptyCells[kLabelledNumbers];
  };
  LabelWrite labelLog_[kLabelLogCapacity];
  int labelLogCount_ = 0;
  bool labelLogging_ = false;
  bool labelLogOverflow_ = false;
  LabelScalars labelBase_{};
  void Log(std::uint8_t kind, int n, int x, int y, std::uint32_t stamp, std::int32_t label) {
    if (labelLogCount_ >= kLabelLogCapacity) {
      labelLogOverflow_ = true;
      return;
    }
    labelLog_[labelLogCount_++] = {kind, static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(x),
                                   static_cast<std::uint8_t>(y), stamp, label};
  }
  void WriteAreaLabel(int n, int x, int y, std::uint32_t gen, int id) {
    if (labelLogging_) Log(0, n, x, y, areaStamp_[n][x][y], areaLabel_[n][x][y]);
    areaStamp_[n][x][y] = gen;
    areaLabel_[n][x][y] = static_cast<std::int16_t>(id);
  }
  void WriteBlockLabel(int n, int x, int y, std::uint32_t gen, int id) {
    if (labelLogging_) Log(1, n, x, y, blockStamp_[n][x][y], blockLabel_[n][x][y]);
    blockStamp_[n][x][y] = gen;
    blockLabel_[n][x][y] = static_cast<std::int16_t>(id);
  }
  void KillComponent(int id) {
    if (areaComps_[id].dead) return;
    if (labelLogging_) Log(2, 0, 0, 0, 0, id);
    areaComps_[id].dead = true;
  }
  void StartLabelBase();     // the labels now standing become the base
  bool RestoreLabelBase();   // false when the log could not bring it back
  std::uint32_t boardVersion_ = 1;
  std::uint32_t poolVersion_ = 0;
  int poolCount_ = 0;
  std::uint32_t labelVersion_[kLabelledNumbers] = {};
  std::uint32_t areaGen_[kLabelledNumbers] = {};
  int blockCompCount_[kLabelledNumbers] = {};
  CellRef walkedBlock_;
  LastArea lastArea_;
  std::uint32_t areaStamp_[kLabelledNumbers][kBoardColumns][kBoardRows] = {};
  std::int16_t areaLabel_[kLabelledNumbers][kBoardColumns][kBoardRows] = {};
  std::uint32_t blockStamp_[kLabelledNumbers][kBoardColumns][kBoardRows] = {};
  std::int16_t blockLabel_[kLabelledNumbers][kBoardColumns][kBoardRows] = {};
  AreaComponent areaComps_[kComponentPool] = {};
  SharedAdjacency sharedAdjacency_[kSharedPool] = {};
  int sharedCount_ = 0;
  // Numbers with a complete block beside some empty cell: their walkable
  // regions differ from the regions of all empty cells.
  bool blocksEmptyCells_[kLabelledNumbers] = {};
  std::uint32_t blockedVersion_ = 0;
  CellRef AreaQueue[kPuzzleCells] = {};
  CellRef LabelQueue[kPuzzleCells] = {};

  // Part of the growth rule: blocks with two or three ways out.
  void TwoWaysOut(int n, int need, CellRef w0, CellRef w1);
  void ThreeWaysOut(int n, int need, CellRef w0, CellRef w1, CellRef w2);
  int MeasureWholeArea(int x, int y, int n);  // the mended MeasureArea
  bool MiddleCellTest(int x, int y);  // true: the rule ends
  int ScanRegion(int x, int y, bool& besideOpenBlock, std::uint64_t& numbersBeside);
  bool PairMayHideOneAndPartner(int x, int y, int px, int py, bool horizontal) const;  // mended pair rule

  // Trial machinery.
  std::uint64_t overfillCount_ = 0;  // overfilling SetCell calls so far
  bool CheckAssumption(int limit);  // false when the stop flag ended it
  bool StopRequested();
  bool Trial(int x, int y, int v);
  void Commit(int x, int y, int v);
  bool TrialPhaseGrowBlocks();  // true: the search ended
  bool TryCellNumbers(int x, int y, int limit, const std::int32_t* allowed);
  bool TrialPhaseEveryNumber(int limit);
  bool TrialPhaseSmallRegions(int limit);

  // The rectangle holding every cell whose mark became non-zero since the
  // last clean-up of the growth or region rule. Outside it, empty cells have
  // mark 0 and numbered cells mark 0 or 3, so the clean-ups and (within the
  // growth rule) the clearing of empty marks need not look further.
  struct MarkBox {
    int x0 = 1 << 20, x1 = -1, y0 = 1 << 20, y1 = -1;
    void Reset() { *this = MarkBox{}; }
    void Touch(int x, int y) {
      if (x < x0) x0 = x;
      if (x > x1) x1 = x;
      if (y < y0) y0 = y;
      if (y > y1) y1 = y;
    }
  };
  void SetMark(Cell& cell, int x, int y, std::uint8_t mark) {
    cell.mark = mark;
    box_.Touch(x, y);
    markExtent_.Touch(x, y);
    if (touchedCount_ <= kTouchedCapacity) {
      if (touchedCount_ < kTouchedCapacity) Touched[touchedCount_] = {x, y};
      ++touchedCount_;
    }
  }
  void MarkScanned(int x, int y) {
    state_.Board[x][y].mark = 3;
    markExtent_.Touch(x, y);
  }
  void ResetBox() {
    box_.Reset();
    touchedCount_ = 0;
  }
  // The cells marked since the box was last reset, while they fit: a clean-up
  // visits them instead of the whole box (a long thin block has a large box).
  static constexpr int kTouchedCapacity = 4 * kPuzzleCells;
  CellRef Touched[kTouchedCapacity] = {};
  int touchedCount_ = 0;
  template <typename Fn>
  void ForEachTouched(Fn fn) {
    if (touchedCount_ <= kTouchedCapacity) {
      for (int i = 0; i < touchedCount_; ++i) fn(state_.Board[Touched[i].x][Touched[i].y]);
      return;
    }
    for (int cx = box_.x0; cx <= box_.x1; ++cx) {
      for (int cy = box_.y0; cy <= box_.y1; ++cy) fn(state_.Board[cx][cy]);
    }
  }
  MarkBox box_;
  bool boxedEmptyClear_ = false;  // true only inside the growth rule
  // Inside AutoSolve only the solver writes marks, so it can know the
  // rectangle outside which every mark is 0, and clear marks within it alone.
  // Outside AutoSolve (tests call the operations one by one) it assumes
  // nothing and clears the whole board.
  bool insideSolve_ = false;
  MarkBox markExtent_;
  MarkBox trialMarkExtent_;  // markExtent_ when TrialSnapshot was saved
  MarkBox ClearingBox() const {
    if (insideSolve_) return markExtent_;
    return {1, state_.BoardWidth, 1, state_.BoardHeight};
  }
  // The given 2s in scan order, listed once per solve: hints never change
  // while the solver runs.
  CellRef HintTwos[kPuzzleCells] = {};
  std::int32_t HintTwoCount = 0;
  void ListHintTwos();

  BoardState& state_;
  SolverOptions options_;
  bool stopped_ = false;

  std::uint8_t BranchColumn[kBranchCapacity] = {};
  std::uint8_t BranchRow[kBranchCapacity] = {};
  std::int32_t BranchCount = 0;

  // Cells of the block walked by the last BlockFlood, so that a complete block
  // is flagged without a pass over the whole board.
  CellRef WalkedCells[kPuzzleCells] = {};
  std::int32_t WalkedCount = 0;
  // Working stack of the whole-area and whole-block floods of the mended rules.
  CellRef FloodCells[kPuzzleCells] = {};

  Cell TrialSnapshot[kBoardColumns][kBoardRows] = {};
  std::int32_t TrialEmptyCount = 0;
  Cell ProbeSnapshot[kBoardColumns][kBoardRows] = {};
  std::int32_t ProbeEmptyCount = 0;
};

}  // namespace numbloc
