// The mended free-area measurement of the growth rule, answered from labels
// of the walkable empty regions instead of one flood per way out.
//
// While the board does not change, the area behind a way out is the same set
// of cells for every block of n: the way out itself and the regions of empty
// cells that touch no complete block of n. Labelling each such region once
// per number and board state gives the same counts, the same "another block
// of n" verdicts and the same membership of the other ways out as the flood,
// without writing marks that the growth rule clears again before anything
// else reads them. The block of n being grown is the whole connected group
// of cells holding n around it: its walk reaches every such cell.
#include "core/solver/solver.h"
#include "core/solver/solver_geometry.h"

namespace numbloc {

void Solver::PrepareAreaLabels(int n) {
  if (poolVersion_ != boardVersion_) {
    poolVersion_ = boardVersion_;
    poolCount_ = 0;
    sharedCount_ = 0;
  }
  if (labelVersion_[n] == boardVersion_) return;
  labelVersion_[n] = boardVersion_;
  blockCompCount_[n] = 0;
  if (++areaGen_[n] == 0) {
    // The stamps wrapped around: forget this number's labels explicitly.
    if (labelLogging_) labelLogOverflow_ = true;  // too many writes to log
    for (auto& column : areaStamp_[n]) {
      for (std::uint32_t& stamp : column) stamp = 0;
    }
    for (auto& column : blockStamp_[n]) {
      for (std::uint32_t& stamp : column) stamp = 0;
    }
    areaGen_[n] = 1;
  }
}

// Writing a number into the empty cell (x, y) splits only the regions that
// hold it; every other region keeps its cells, its size and its neighbours.
void Solver::ForgetAreasAround(int x, int y) {
  for (int n = 0; n < kLabelledNumbers; ++n) {
    if (labelVersion_[n] == boardVersion_ && poolVersion_ == boardVersion_ && Labelled(n, x, y)) {
      KillComponent(areaLabel_[n][x][y]);
    }
  }
}

// Writing n into the empty cell (x, y), before the write: the regions beside
// it (their own and the shared ones) now touch a block of n, and the cell
// joins the labelled block beside it. Only when it joins blocks with
// different labels, or a labelled with an unlabelled one, must every label
// of n go.
void Solver::ForgetAroundNewCell(int x, int y, int n) {
  if (n <= 0 || n >= kLabelledNumbers) return;
  if (poolVersion_ == boardVersion_) {
    for (int d = 0; d < 4; ++d) {
      const int nx = x + kDx[d], ny = y + kDy[d];
      if (state_.Board[nx][ny].number != 0) continue;
      for (const int slot : {0, n}) {
        if (labelVersion_[slot] == boardVersion_ && Labelled(slot, nx, ny)) KillComponent(areaLabel_[slot][nx][ny]);
      }
    }
  }
  if (labelVersion_[n] != boardVersion_) return;
  const std::uint32_t gen = areaGen_[n];
  int joined = -1;
  bool unlabelled = false, several = false;
  for (int d = 0; d < 4; ++d) {
    const int nx = x + kDx[d], ny = y + kDy[d];
    if (ReducedFast(state_.Board[nx][ny].number) != n) continue;
    if (blockStamp_[n][nx][ny] != gen) {
      unlabelled = true;
    } else if (joined < 0) {
      joined = blockLabel_[n][nx][ny];
    } else if (joined != blockLabel_[n][nx][ny]) {
      several = true;
    }
  }
  if (several || (unlabelled && joined >= 0)) {
    ForgetAreaLabelsFor(n);
    return;
  }
  // Unlabelled neighbours: the flood that labels their block will take this cell too.
  if (joined >= 0) WriteBlockLabel(n, x, y, gen, joined);
}

// The connected cells holding n around (x, y), which the block walk would
// reach as one block.
int Solver::BlockLabel(int x, int y, int n) {
  const std::uint32_t gen = areaGen_[n];
  if (blockStamp_[n][x][y] == gen) return blockLabel_[n][x][y];
  const int id = blockCompCount_[n]++;
  int count = 0;
  WriteBlockLabel(n, x, y, gen, id);
  LabelQueue[count++] = {x, y};
  for (int i = 0; i < count; ++i) {
    for (int d = 0; d < 4; ++d) {
      const int nx = LabelQueue[i].x + kDx[d], ny = LabelQueue[i].y + kDy[d];
      if (blockStamp_[n][nx][ny] == gen || ReducedFast(state_.Board[nx][ny].number) != n) continue;
      WriteBlockLabel(n, nx, ny, gen, id);
      LabelQueue[count++] = {nx, ny};
    }
  }
  return id;
}

// The walkable region around the walkable empty cell (x, y): its size and
// which blocks of n it touches. Returns -1 when the pool is full (the caller
// then starts again from fresh labels).
int Solver::AreaLabel(int x, int y, int n) {
  const std::uint32_t gen = areaGen_[n];
  if (Labelled(n, x, y)) return areaLabel_[n][x][y];
  if (poolCount_ >= kComponentPool) return -1;
  const int id = poolCount_++;
  AreaComponent& comp = areaComps_[id];
  comp = AreaComponent{};
  int count = 0;
  WriteAreaLabel(n, x, y, gen, id);
  AreaQueue[count++] = {x, y};
  for (int i = 0; i < count; ++i) {
    for (int d = 0; d < 4; ++d) {
      const int nx = AreaQueue[i].x + kDx[d], ny = AreaQueue[i].y + kDy[d];
      const Cell& nb = state_.Board[nx][ny];
      if (nb.number == 0) {
        if ((areaStamp_[n][nx][ny] == gen && areaLabel_[n][nx][ny] == id) || Labelled(n, nx, ny) ||
            !Walkable(nx, ny, n)) {
          continue;
        }
        WriteAreaLabel(n, nx, ny, gen, id);
        AreaQueue[count++] = {nx, ny};
      } else if (ReducedFast(nb.number) == n) {
        const int block = BlockLabel(nx, ny, n);
        if (comp.block < 0) {
          comp.block = block;
        } else if (comp.block != block) {
          comp.manyBlocks = true;
        }
      }
    }
  }
  comp.size = count;
  return id;
}

// Which numbers have a complete block beside an empty cell, found once per
// board state; a number only ever joins them until the next fresh start.
void Solver::PrepareSharedLabels() {
  PrepareAreaLabels(0);
  if (blockedVersion_ == boardVersion_) return;
  blockedVersion_ = boardVersion_;
  for (bool& blocked : blocksEmptyCells_) blocked = false;
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      if (state_.Board[x][y].number != 0) continue;
      for (int d = 0; d < 4; ++d) {
        const Cell& nb = state_.Board[x + kDx[d]][y + kDy[d]];
        const int m = ReducedFast(nb.number);
        if (nb.complete && m > 0 && m < kLabelledNumbers) blocksEmptyCells_[m] = true;
      }
    }
  }
}

// A region of all empty cells around (x, y) with, for every number, the
// blocks it touches. Returns -1 when a pool is full.
int Solver::SharedAreaLabel(int x, int y) {
  const std::uint32_t gen = areaGen_[0];
  if (Labelled(0, x, y)) return areaLabel_[0][x][y];
  if (poolCount_ >= kComponentPool || sharedCount_ >= kSharedPool) return -1;
  const int id = poolCount_++;
  AreaComponent& comp = areaComps_[id];
  comp = AreaComponent{};
  comp.adjacency = sharedCount_++;
  SharedAdjacency& adj = sharedAdjacency_[comp.adjacency];
  for (std::int16_t& block : adj.block) block = -1;
  adj.many = 0;
  int count = 0;
  WriteAreaLabel(0, x, y, gen, id);
  AreaQueue[count++] = {x, y};
  for (int i = 0; i < count; ++i) {
    for (int d = 0; d < 4; ++d) {
      const int nx = AreaQueue[i].x + kDx[d], ny = AreaQueue[i].y + kDy[d];
      const Cell& nb = state_.Board[nx][ny];
      if (nb.number == 0) {
        if (Labelled(0, nx, ny)) continue;
        WriteAreaLabel(0, nx, ny, gen, id);
        AreaQueue[count++] = {nx, ny};
        continue;
      }
      const int m = ReducedFast(nb.number);
      if (m == 0 || m >= kLabelledNumbers) continue;
      PrepareAreaLabels(m);
      const int block = BlockLabel(nx, ny, m);
      if (adj.block[m] < 0) {
        adj.block[m] = static_cast<std::int16_t>(block);
      } else if (adj.block[m] != block) {
        adj.many |= std::uint64_t{1} << m;
      }
    }
  }
  comp.size = count;
  return id;
}

int Solver::MeasureByLabels(CellRef w, int n, CellRef walkedBlock) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    PrepareAreaLabels(n);
    PrepareSharedLabels();
    PrepareAreaLabels(n);
    const int own = BlockLabel(walkedBlock.x, walkedBlock.y, n);
    const int slot = blocksEmptyCells_[n] ? n : 0;
    lastArea_ = {w, {-1, -1, -1, -1}, 0, slot};
    int count = 0;
    bool reachesOther = false, poolFull = false;
    auto addComponent = [&](int id) {
      if (id < 0) {
        poolFull = true;
        return;
      }
      for (int i = 0; i < lastArea_.compCount; ++i) {
        if (lastArea_.comps[i] == id) return;
      }
      lastArea_.comps[lastArea_.compCount++] = id;
      const AreaComponent& comp = areaComps_[id];
      count += comp.size;
      int block = comp.block;
      bool many = comp.manyBlocks;
      if (slot == 0) {
        const SharedAdjacency& adj = sharedAdjacency_[comp.adjacency];
        block = adj.block[n];
        many = ((adj.many >> n) & 1) != 0;
      }
      if (many || (block >= 0 && block != own)) reachesOther = true;
    };
    auto label = [&](int x, int y) { return slot == 0 ? SharedAreaLabel(x, y) : AreaLabel(x, y, n); };
    if (Walkable(w.x, w.y, n)) {
      addComponent(label(w.x, w.y));
    } else {
      count = 1;
      for (int d = 0; d < 4; ++d) {
        const int nx = w.x + kDx[d], ny = w.y + kDy[d];
        const Cell& nb = state_.Board[nx][ny];
        if (nb.number == 0) {
          if (Walkable(nx, ny, n)) addComponent(label(nx, ny));
        } else if (ReducedFast(nb.number) == n && BlockLabel(nx, ny, n) != own) {
          reachesOther = true;
        }
      }
    }
    if (!poolFull) return reachesOther ? 100 : count;
    ForgetAreaLabels();  // a fresh pool has room for every region of one number
  }
  return MeasureArea(w.x, w.y, n);  // not reached: one number's regions fit the pool
}

bool Solver::InLastArea(CellRef c, int n) {
  if (c.x == lastArea_.start.x && c.y == lastArea_.start.y) return true;
  const int slot = lastArea_.slot;
  if (!Walkable(c.x, c.y, n)) return false;
  if (!Labelled(slot, c.x, c.y)) return false;  // unlabelled: in no measured region
  const int id = areaLabel_[slot][c.x][c.y];
  for (int i = 0; i < lastArea_.compCount; ++i) {
    if (lastArea_.comps[i] == id) return true;
  }
  return false;
}

// The mended fill of two ways out into one area, from labels: every cell of
// the last measured area receives n, in scan order.
void Solver::FillLastArea(int n) {
  int count = 0;
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  const int slot = lastArea_.slot;
  const std::uint32_t gen = areaGen_[slot];
  (void)n;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      bool inArea = x == lastArea_.start.x && y == lastArea_.start.y;
      if (!inArea && areaStamp_[slot][x][y] == gen) {
        for (int i = 0; i < lastArea_.compCount; ++i) {
          inArea = inArea || areaLabel_[slot][x][y] == lastArea_.comps[i];
        }
      }
      if (inArea && state_.Board[x][y].number == 0) FloodCells[count++] = {x, y};
    }
  }
  for (int i = 0; i < count; ++i) SetCell(FloodCells[i].x, FloodCells[i].y, n);
}

void Solver::StartLabelBase() {
  LabelScalars& b = labelBase_;
  b.boardVersion = boardVersion_;
  b.poolVersion = poolVersion_;
  b.blockedVersion = blockedVersion_;
  b.poolCount = poolCount_;
  b.sharedCount = sharedCount_;
  for (int n = 0; n < kLabelledNumbers; ++n) {
    b.labelVersion[n] = labelVersion_[n];
    b.areaGen[n] = areaGen_[n];
    b.blockCompCount[n] = blockCompCount_[n];
    b.blocksEmptyCells[n] = blocksEmptyCells_[n];
  }
  labelLogCount_ = 0;
  labelLogOverflow_ = false;
  labelLogging_ = true;
}

bool Solver::RestoreLabelBase() {
  if (!labelLogging_ || labelLogOverflow_) return false;
  for (int i = labelLogCount_ - 1; i >= 0; --i) {
    const LabelWrite& w = labelLog_[i];
    if (w.kind == 0) {
      areaStamp_[w.n][w.x][w.y] = w.stamp;
      areaLabel_[w.n][w.x][w.y] = static_cast<std::int16_t>(w.label);
    } else if (w.kind == 1) {
      blockStamp_[w.n][w.x][w.y] = w.stamp;
      blockLabel_[w.n][w.x][w.y] = static_cast<std::int16_t>(w.label);
    } else {
      areaComps_[w.label].dead = false;
    }
  }
  labelLogCount_ = 0;
  const LabelScalars& b = labelBase_;
  boardVersion_ = b.boardVersion;
  poolVersion_ = b.poolVersion;
  blockedVersion_ = b.blockedVersion;
  poolCount_ = b.poolCount;
  sharedCount_ = b.sharedCount;
  for (int n = 0; n < kLabelledNumbers; ++n) {
    labelVersion_[n] = b.labelVersion[n];
    areaGen_[n] = b.areaGen[n];
    blockCompCount_[n] = b.blockCompCount[n];
    blocksEmptyCells_[n] = b.blocksEmptyCells[n];
  }
  return true;
}

}  // namespace numbloc
