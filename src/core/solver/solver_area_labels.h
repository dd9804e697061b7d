// Labels of the free areas that the growth rule measures: per number, the
// walkable empty regions and the blocks they touch, kept while the board
// stands still so that measuring the area behind a way out costs a lookup
// instead of a flood. A speed layer only: the solver can measure by flooding
// instead and must get the same answers.
#pragma once

#include <cstdint>

#include "core/board/board_state.h"
#include "core/solver/solver_geometry.h"

namespace numbloc {

// While the board does not change, the area behind a way out is the same set
// of cells for every block of n: the way out itself and the regions of empty
// cells that touch no complete block of n. Each such region is labelled once
// per number and board state, with its size and the blocks of n it touches.
//
// What keeps the labels true (the solver's side of the bargain):
//  - BeforeWrite() before every number written into an empty cell;
//  - ForgetNumber(n) whenever complete flags of n change;
//  - ForgetAll() for any other change, and whenever the board is replaced;
//  - StartBase() when the trial snapshot is saved, RestoreBase() when the
//    board goes back to it.
// Labels are valid when their stamp equals the number's generation and
// their region was not killed since; "versions" say which numbers have
// labels for the board as it now stands.
class AreaLabels {
 public:
  static constexpr int kLabelledNumbers = kMaxCellNumber + 1;  // larger numbers are measured by flooding
  static bool Covers(int n) { return n > 0 && n < kLabelledNumbers; }

  explicit AreaLabels(const BoardState& state) : state_(state) {}

  // --- What the solver tells it ---
  void ForgetAll();
  void ForgetNumber(int n);
  void BeforeWrite(int x, int y, int n);
  void StartBase();    // the labels now standing are the base; log every later write
  void RestoreBase();  // back to the base (or, when the log overflowed, a fresh start)
  void Reset();        // stop logging and start fresh: the board was replaced

  // --- What it answers ---
  // The size of the area behind the way out w of the block of n that holds
  // `block`, or 100 when the area reaches another block of n; -1 when the
  // pools ran out twice (not seen: one number's regions fit a fresh pool).
  int Measure(CellRef w, int n, CellRef block);
  bool InLastArea(CellRef c, int n);  // c lies in the area measured last
  // The empty cells of the area measured last, in scan order, into out[];
  // returns their count.
  int LastAreaEmptyCells(CellRef* out) const;

 private:
  static constexpr int kComponentPool = 8192;
  static constexpr int kSharedPool = 1024;
  static constexpr int kLogCapacity = 1 << 15;

  struct Component {  // one labelled region
    int size = 0;             // its cells
    int block = -1;           // the one block of its number it touches, -1 none
    bool manyBlocks = false;  // it touches several
    bool dead = false;        // a number was written into it: its cells need new labels
    int adjacency = -1;       // a region of all empty cells: its entry in shared_
  };
  // For a region of all empty cells, per number: the one block it touches
  // (-1 none) and, as bit n, whether it touches several.
  struct SharedAdjacency {
    std::int16_t block[kLabelledNumbers];
    std::uint64_t many;
  };
  struct LastArea {  // the area measured last, as the regions it is made of
    CellRef start;       // its way out
    int comps[4];        // its regions
    int compCount = 0;
    int slot = 0;        // 0: regions of all empty cells, else the number's own regions
  };
  struct Write {  // one logged label write, undone by RestoreBase()
    std::uint8_t kind, n, x, y;  // kind 0: area label, 1: block label, 2: region killed
    std::uint32_t stamp;
    std::int32_t label;
  };
  struct Scalars {  // the counters as they stood at StartBase()
    std::uint32_t boardVersion, poolVersion, blockedVersion;
    int poolCount, sharedCount;
    std::uint32_t labelVersion[kLabelledNumbers], areaGen[kLabelledNumbers];
    int blockCompCount[kLabelledNumbers];
    bool blocksEmptyCells[kLabelledNumbers];
  };

  void Prepare(int n);
  void PrepareShared();
  int BlockLabel(int x, int y, int n);
  int AreaLabel(int x, int y, int n);
  int SharedAreaLabel(int x, int y);
  bool Labelled(int n, int x, int y) const {
    return areaStamp_[n][x][y] == areaGen_[n] && !comps_[areaLabel_[n][x][y]].dead;
  }
  void ForgetRegionsAt(int x, int y);
  void Log(std::uint8_t kind, int n, int x, int y, std::uint32_t stamp, std::int32_t label);
  void WriteAreaLabel(int n, int x, int y, std::uint32_t gen, int id);
  void WriteBlockLabel(int n, int x, int y, std::uint32_t gen, int id);
  void Kill(int id);
  bool Undo();

  const BoardState& state_;                   // the board the labels describe
  std::uint32_t boardVersion_ = 1;            // bumped by ForgetAll(): every label is stale
  std::uint32_t poolVersion_ = 0;             // boardVersion_ the component pools were started for
  int poolCount_ = 0;                         // components in use
  int sharedCount_ = 0;                       // shared adjacencies in use
  std::uint32_t labelVersion_[kLabelledNumbers] = {};  // boardVersion_ that number's labels belong to
  std::uint32_t areaGen_[kLabelledNumbers] = {};       // the stamp of that number's valid labels
  int blockCompCount_[kLabelledNumbers] = {};          // block labels handed out for it
  // Numbers with a complete block beside some empty cell: their walkable
  // regions differ from the regions of all empty cells (slot 0).
  bool blocksEmptyCells_[kLabelledNumbers] = {};
  std::uint32_t blockedVersion_ = 0;          // boardVersion_ blocksEmptyCells_ was found for
  std::uint32_t areaStamp_[kLabelledNumbers][kBoardColumns][kBoardRows] = {};  // per number and cell
  std::int16_t areaLabel_[kLabelledNumbers][kBoardColumns][kBoardRows] = {};   // the cell's region
  std::uint32_t blockStamp_[kLabelledNumbers][kBoardColumns][kBoardRows] = {};
  std::int16_t blockLabel_[kLabelledNumbers][kBoardColumns][kBoardRows] = {};  // the cell's block
  Component comps_[kComponentPool] = {};
  SharedAdjacency shared_[kSharedPool] = {};
  LastArea lastArea_;
  CellRef areaQueue_[kPuzzleCells] = {};      // flood of a region
  CellRef blockQueue_[kPuzzleCells] = {};     // flood of a block, met during a region's flood

  bool logging_ = false;                      // label writes are logged for RestoreBase()
  bool logOverflow_ = false;                  // the log cannot bring the base back
  int logCount_ = 0;
  Write log_[kLogCapacity];
  Scalars base_{};
};

}  // namespace numbloc
