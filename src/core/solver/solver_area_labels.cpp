// The growth rule's free areas from labels: labelling regions and blocks,
// keeping the labels true as numbers are written, and the undo log that
// carries them through every trial.
#include "core/solver/solver_area_labels.h"

#include <initializer_list>

namespace numbloc {

void AreaLabels::ForgetAll() {
  if (logging_) logOverflow_ = true;  // the base labels are gone with it
  ++boardVersion_;
}

void AreaLabels::ForgetNumber(int n) {
  if (!Covers(n)) return;
  labelVersion_[n] = 0;
  blocksEmptyCells_[n] = true;  // its blocks changed: it leaves the shared regions
}

void AreaLabels::Reset() {
  logging_ = false;
  ForgetAll();
}

void AreaLabels::Prepare(int n) {
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
    if (logging_) logOverflow_ = true;  // too many writes to log
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
void AreaLabels::ForgetRegionsAt(int x, int y) {
  for (int n = 0; n < kLabelledNumbers; ++n) {
    if (labelVersion_[n] == boardVersion_ && poolVersion_ == boardVersion_ && Labelled(n, x, y)) {
      Kill(areaLabel_[n][x][y]);
    }
  }
}

// Writing n into the empty cell (x, y), before the write: the regions beside
// it (their own and the shared ones) now touch a block of n, and the cell
// joins the labelled block beside it. Only when it joins blocks with
// different labels, or a labelled with an unlabelled one, must every label
// of n go.
void AreaLabels::BeforeWrite(int x, int y, int n) {
  ForgetRegionsAt(x, y);
  if (!Covers(n)) return;
  if (poolVersion_ == boardVersion_) {
    for (int d = 0; d < 4; ++d) {
      const int nx = x + kDx[d], ny = y + kDy[d];
      if (state_.Board[nx][ny].number != 0) continue;
      for (const int slot : {0, n}) {
        if (labelVersion_[slot] == boardVersion_ && Labelled(slot, nx, ny)) Kill(areaLabel_[slot][nx][ny]);
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
    ForgetNumber(n);
    return;
  }
  // Unlabelled neighbours: the flood that labels their block will take this cell too.
  if (joined >= 0) WriteBlockLabel(n, x, y, gen, joined);
}

// The connected cells holding n around (x, y), which the block walk would
// reach as one block.
int AreaLabels::BlockLabel(int x, int y, int n) {
  const std::uint32_t gen = areaGen_[n];
  if (blockStamp_[n][x][y] == gen) return blockLabel_[n][x][y];
  const int id = blockCompCount_[n]++;
  WriteBlockLabel(n, x, y, gen, id);
  FloodFrom({x, y}, blockQueue_, [&](int nx, int ny) {
    if (blockStamp_[n][nx][ny] == gen || ReducedFast(state_.Board[nx][ny].number) != n) return false;
    WriteBlockLabel(n, nx, ny, gen, id);
    return true;
  });
  return id;
}

// The walkable region around the walkable empty cell (x, y): its size and
// which blocks of n it touches. Returns -1 when the pool is full (the caller
// then starts again from fresh labels).
int AreaLabels::AreaLabel(int x, int y, int n) {
  const std::uint32_t gen = areaGen_[n];
  if (Labelled(n, x, y)) return areaLabel_[n][x][y];
  if (poolCount_ >= kComponentPool) return -1;
  const int id = poolCount_++;
  Component& comp = comps_[id];
  comp = Component{};
  WriteAreaLabel(n, x, y, gen, id);
  comp.size = FloodFrom({x, y}, areaQueue_, [&](int nx, int ny) {
    const Cell& nb = state_.Board[nx][ny];
    if (nb.number == 0) {
      if ((areaStamp_[n][nx][ny] == gen && areaLabel_[n][nx][ny] == id) || Labelled(n, nx, ny) ||
          !Walkable(state_, nx, ny, n)) {
        return false;
      }
      WriteAreaLabel(n, nx, ny, gen, id);
      return true;
    }
    if (ReducedFast(nb.number) == n) {
      const int block = BlockLabel(nx, ny, n);
      if (comp.block < 0) {
        comp.block = block;
      } else if (comp.block != block) {
        comp.manyBlocks = true;
      }
    }
    return false;
  });
  return id;
}

// Which numbers have a complete block beside an empty cell, found once per
// board state; a number only ever joins them until the next fresh start.
void AreaLabels::PrepareShared() {
  Prepare(0);
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
        if (nb.complete && Covers(m)) blocksEmptyCells_[m] = true;
      }
    }
  }
}

// A region of all empty cells around (x, y) with, for every number, the
// blocks it touches. Returns -1 when a pool is full.
int AreaLabels::SharedAreaLabel(int x, int y) {
  const std::uint32_t gen = areaGen_[0];
  if (Labelled(0, x, y)) return areaLabel_[0][x][y];
  if (poolCount_ >= kComponentPool || sharedCount_ >= kSharedPool) return -1;
  const int id = poolCount_++;
  Component& comp = comps_[id];
  comp = Component{};
  comp.adjacency = sharedCount_++;
  SharedAdjacency& adj = shared_[comp.adjacency];
  for (std::int16_t& block : adj.block) block = -1;
  adj.many = 0;
  WriteAreaLabel(0, x, y, gen, id);
  comp.size = FloodFrom({x, y}, areaQueue_, [&](int nx, int ny) {
    const Cell& nb = state_.Board[nx][ny];
    if (nb.number == 0) {
      if (Labelled(0, nx, ny)) return false;
      WriteAreaLabel(0, nx, ny, gen, id);
      return true;
    }
    const int m = ReducedFast(nb.number);
    if (!Covers(m)) return false;
    Prepare(m);
    const int block = BlockLabel(nx, ny, m);
    if (adj.block[m] < 0) {
      adj.block[m] = static_cast<std::int16_t>(block);
    } else if (adj.block[m] != block) {
      adj.many |= std::uint64_t{1} << m;
    }
    return false;
  });
  return id;
}

int AreaLabels::Measure(CellRef w, int n, CellRef block) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    Prepare(n);
    PrepareShared();
    Prepare(n);
    const int own = BlockLabel(block.x, block.y, n);
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
      const Component& comp = comps_[id];
      count += comp.size;
      int touched = comp.block;
      bool many = comp.manyBlocks;
      if (slot == 0) {
        const SharedAdjacency& adj = shared_[comp.adjacency];
        touched = adj.block[n];
        many = ((adj.many >> n) & 1) != 0;
      }
      if (many || (touched >= 0 && touched != own)) reachesOther = true;
    };
    auto label = [&](int x, int y) { return slot == 0 ? SharedAreaLabel(x, y) : AreaLabel(x, y, n); };
    if (Walkable(state_, w.x, w.y, n)) {
      addComponent(label(w.x, w.y));
    } else {
      count = 1;
      for (int d = 0; d < 4; ++d) {
        const int nx = w.x + kDx[d], ny = w.y + kDy[d];
        const Cell& nb = state_.Board[nx][ny];
        if (nb.number == 0) {
          if (Walkable(state_, nx, ny, n)) addComponent(label(nx, ny));
        } else if (ReducedFast(nb.number) == n && BlockLabel(nx, ny, n) != own) {
          reachesOther = true;
        }
      }
    }
    if (!poolFull) return reachesOther ? 100 : count;
    ForgetAll();  // a fresh pool has room for every region of one number
  }
  return -1;
}

bool AreaLabels::InLastArea(CellRef c, int n) {
  if (c.x == lastArea_.start.x && c.y == lastArea_.start.y) return true;
  const int slot = lastArea_.slot;
  if (!Walkable(state_, c.x, c.y, n)) return false;
  if (!Labelled(slot, c.x, c.y)) return false;  // unlabelled: in no measured region
  const int id = areaLabel_[slot][c.x][c.y];
  for (int i = 0; i < lastArea_.compCount; ++i) {
    if (lastArea_.comps[i] == id) return true;
  }
  return false;
}

int AreaLabels::LastAreaEmptyCells(CellRef* out) const {
  int count = 0;
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  const int slot = lastArea_.slot;
  const std::uint32_t gen = areaGen_[slot];
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      bool inArea = x == lastArea_.start.x && y == lastArea_.start.y;
      if (!inArea && areaStamp_[slot][x][y] == gen) {
        for (int i = 0; i < lastArea_.compCount; ++i) {
          inArea = inArea || areaLabel_[slot][x][y] == lastArea_.comps[i];
        }
      }
      if (inArea && state_.Board[x][y].number == 0) out[count++] = {x, y};
    }
  }
  return count;
}

void AreaLabels::Log(std::uint8_t kind, int n, int x, int y, std::uint32_t stamp, std::int32_t label) {
  if (logCount_ >= kLogCapacity) {
    logOverflow_ = true;
    return;
  }
  log_[logCount_++] = {kind, static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(x),
                       static_cast<std::uint8_t>(y), stamp, label};
}

void AreaLabels::WriteAreaLabel(int n, int x, int y, std::uint32_t gen, int id) {
  if (logging_) Log(0, n, x, y, areaStamp_[n][x][y], areaLabel_[n][x][y]);
  areaStamp_[n][x][y] = gen;
  areaLabel_[n][x][y] = static_cast<std::int16_t>(id);
}

void AreaLabels::WriteBlockLabel(int n, int x, int y, std::uint32_t gen, int id) {
  if (logging_) Log(1, n, x, y, blockStamp_[n][x][y], blockLabel_[n][x][y]);
  blockStamp_[n][x][y] = gen;
  blockLabel_[n][x][y] = static_cast<std::int16_t>(id);
}

void AreaLabels::Kill(int id) {
  if (comps_[id].dead) return;
  if (logging_) Log(2, 0, 0, 0, 0, id);
  comps_[id].dead = true;
}

// Labels found on the board that the trial snapshot holds stay valid through
// every trial: each label a trial overwrites is logged, and RestoreBase()
// writes the log back instead of forgetting them all.
void AreaLabels::StartBase() {
  Scalars& b = base_;
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
  logCount_ = 0;
  logOverflow_ = false;
  logging_ = true;
}

void AreaLabels::RestoreBase() {
  if (Undo()) return;
  ForgetAll();
  if (logging_) StartBase();  // the forgotten labels are the new base
}

bool AreaLabels::Undo() {
  if (!logging_ || logOverflow_) return false;
  for (int i = logCount_ - 1; i >= 0; --i) {
    const Write& w = log_[i];
    if (w.kind == 0) {
      areaStamp_[w.n][w.x][w.y] = w.stamp;
      areaLabel_[w.n][w.x][w.y] = static_cast<std::int16_t>(w.label);
    } else if (w.kind == 1) {
      blockStamp_[w.n][w.x][w.y] = w.stamp;
      blockLabel_[w.n][w.x][w.y] = static_cast<std::int16_t>(w.label);
    } else {
      comps_[w.label].dead = false;
    }
  }
  logCount_ = 0;
  const Scalars& b = base_;
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
