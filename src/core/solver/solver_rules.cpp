// The four deduction rules that every sweep runs in this order: the partner
// of a given 2, growth of incomplete blocks, enclosed empty regions, and
// enclosed single cells and pairs.
#include "core/solver/solver.h"
#include "core/solver/solver_geometry.h"

namespace numbloc {

namespace {

// The neighbour written when no neighbour of a given 2 is free, indexed by
// U L D R as bits 8 4 2 1, a set bit meaning "empty, its straight cell holds 2".
constexpr int kNoneFreeTarget[16] = {kDown, kRight, kDown, kDown, kLeft,  kRight, kDown, kRight,
                                     kUp,   kRight, kDown, kRight, kDown, kRight, kLeft, kUp};

// Diagonal cells of a given 2 in the order UL, DL, DR, UR; for each, the two
// remaining neighbours (first, second) and the diagonal cell each of them
// still checks besides its straight cell (the one that is not opposite).
struct DiagonalCase {
  int dx, dy;
  int first, second;
  int firstDiagX, firstDiagY;
  int secondDiagX, secondDiagY;
};
constexpr DiagonalCase kDiagonalCases[4] = {
    {-1, -1, kRight, kDown, 1, -1, -1, 1},  // UL: R checks UR, D checks DL
    {-1, 1, kRight, kUp, 1, 1, -1, -1},     // DL: R checks DR, U checks UL
    {1, 1, kLeft, kUp, -1, 1, 1, -1},       // DR: L checks DL, U checks UR
    {1, -1, kLeft, kDown, -1, -1, 1, 1},    // UR: L checks UL, D checks DR
};

}  // namespace

void Solver::PartnerOfTwo() {
  if (!insideSolve_) ListHintTwos();
  for (int i = 0; i < HintTwoCount; ++i) {
    {
      const int x = HintTwos[i].x, y = HintTwos[i].y;
      Cell& hint = At(x, y);
      if (hint.number != 2 || hint.complete != 0) continue;

      int partner = -1;
      for (int d = 0; d < 4 && partner < 0; ++d) {
        if (Holds(x + kDx[d], y + kDy[d], 2)) partner = d;
      }
      if (partner >= 0) {
        Cell& p = At(x + kDx[partner], y + kDy[partner]);
        bool another = false;
        for (int d = partner + 1; d < 4; ++d) another = another || Holds(x + kDx[d], y + kDy[d], 2);
        if (p.complete || another) {
          state_.SolverStatus = kStatusContradiction;
        } else {
          hint.complete = 1;
          p.complete = 1;
          labels_.ForgetNumber(2);
        }
        continue;
      }

      // Straight cells are read only behind an empty neighbour, which is a
      // puzzle cell, so they lie at worst in the frame.
      auto straightHoldsTwo = [&](int d) { return Holds(x + 2 * kDx[d], y + 2 * kDy[d], 2); };

      const DiagonalCase* g = nullptr;
      for (const DiagonalCase& c : kDiagonalCases) {
        if (Holds(x + c.dx, y + c.dy, 2)) {
          g = &c;
          break;
        }
      }
      if (g != nullptr) {
        auto free = [&](int d, int diagX, int diagY) {
          if (!IsEmpty(x + kDx[d], y + kDy[d])) return false;
          return !straightHoldsTwo(d) && !Holds(x + diagX, y + diagY, 2);
        };
        const bool firstFree = free(g->first, g->firstDiagX, g->firstDiagY);
        if (!firstFree) {
          SetCell(x + kDx[g->second], y + kDy[g->second], 2);
        } else if (!free(g->second, g->secondDiagX, g->secondDiagY)) {
          SetCell(x + kDx[g->first], y + kDy[g->first], 2);
        }
        continue;
      }

      int freeCount = 0, freeDir = 0, pattern = 0;
      for (int d = 0; d < 4; ++d) {
        if (!IsEmpty(x + kDx[d], y + kDy[d])) continue;
        if (straightHoldsTwo(d)) {
          pattern |= 8 >> d;
        } else {
          ++freeCount;
          freeDir = d;
        }
      }
      if (freeCount == 1) {
        SetCell(x + kDx[freeDir], y + kDy[freeDir], 2);
      } else if (freeCount == 0) {
        const int d = kNoneFreeTarget[pattern];
        SetCell(x + kDx[d], y + kDy[d], 2);
      }
    }
  }
}

void Solver::FillFromScanCopy(int mark, int n) {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      ScanCopy[x][y].number = state_.Board[x][y].number;
      ScanCopy[x][y].mark = state_.Board[x][y].mark;
    }
  }
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      if (ScanCopy[x][y].number == 0 && ScanCopy[x][y].mark == mark) SetCell(x, y, n);
    }
  }
}

void Solver::GrowIncompleteBlocks() {
  // Inside a solve every change of a number or a complete flag forgets the
  // labels it spoils, so they last from sweep to sweep; tests may change the
  // board by hand between two calls.
  if (!insideSolve_) labels_.ForgetAll();
  ClearAllMarks();
  marks_.ResetTouched();
  boxedEmptyClear_ = true;
  GrowEachBlock();
  boxedEmptyClear_ = false;
}

void Solver::GrowEachBlock() {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      const Cell& p = At(x, y);
      const int n = ReducedFast(p.number);
      if (n == 0 || p.complete != 0 || p.mark != 0) continue;

      BlockFlood(x, y, n);
      const int k = BlockCellCount;
      if (k > n) {
        state_.SolverStatus = kStatusContradiction;
        return;
      }
      if (k == n) {
        FlagWalkedBlock(n);
      } else {
        const int need = n - k;
        walkedBlock_ = {x, y};
        const CellRef w0{CandidateColumn[0], CandidateRow[0]};
        const CellRef w1{CandidateColumn[1], CandidateRow[1]};
        const CellRef w2{CandidateColumn[2], CandidateRow[2]};
        switch (CandidateCount) {
          case 1: SetCell(w0.x, w0.y, n); break;
          case 2: TwoWaysOut(n, need, w0, w1); break;
          case 3: ThreeWaysOut(n, need, w0, w1, w2); break;
          default: break;
        }
      }

      // Outside the cells marked since the last clean-up, empty cells hold
      // mark 0 and numbered ones 0 or 3 already.
      marks_.ForEachTouched(state_, [](Cell& c) {
        if (c.number == 0) {
          c.mark = 0;
        } else if (c.mark > 0) {
          c.mark = 3;
        }
      });
      marks_.ResetTouched();
    }
  }
}

int Solver::MeasureForGrowth(CellRef w, int n) {
  if (LabelsServe(n)) {
    const int size = labels_.Measure(w, n, walkedBlock_);
    if (size >= 0) return size;
  }
  return MeasureArea(w.x, w.y, n);
}

// "Its mark is now 2": the cell lies in the area measured last.
bool Solver::InMeasuredArea(CellRef c, int n) {
  if (!LabelsServe(n)) return At(c.x, c.y).mark == 2;
  return labels_.InLastArea(c, n);
}

// Every empty cell of the area measured last receives n, in scan order.
void Solver::FillMeasuredArea(int n) {
  if (!LabelsServe(n)) {
    FillFromScanCopy(2, n);
    return;
  }
  const int count = labels_.LastAreaEmptyCells(FloodCells);
  for (int i = 0; i < count; ++i) SetCell(FloodCells[i].x, FloodCells[i].y, n);
}

void Solver::TwoWaysOut(int n, int need, CellRef w0, CellRef w1) {
  const int d0 = MeasureForGrowth(w0, n);
  if (need > d0) {
    SetCell(w1.x, w1.y, n);
    return;
  }
  if (options_.mends.sharedArea) {
    // Both ways out open into one area of exactly the missing size, so the
    // block takes all of it.
    const bool shared = InMeasuredArea(w1, n);
    if (d0 == need && shared) {
      FillMeasuredArea(n);
      return;
    }
    if (shared) return;
  } else {
    const int w1Mark = At(w1.x, w1.y).mark;
    if (d0 == need && w1Mark == 1) {
      FillFromScanCopy(1, n);
      return;
    }
    if (w1Mark != 0) return;
  }
  const int d1 = MeasureForGrowth(w1, n);
  if (need > d1) SetCell(w0.x, w0.y, n);
}

void Solver::ThreeWaysOut(int n, int need, CellRef w0, CellRef w1, CellRef w2) {
  const int d0 = MeasureForGrowth(w0, n);
  const bool a = InMeasuredArea(w1, n);
  int b = InMeasuredArea(w2, n) ? 1 : 0;
  int d1 = 0, d2 = 0;
  if (!a) {
    d1 = MeasureForGrowth(w1, n);
    if (InMeasuredArea(w2, n)) b = 2;
  }
  if (b == 0) d2 = MeasureForGrowth(w2, n);

  if (!a && b == 0) {
    if (d0 + d1 < need) {
      SetCell(w2.x, w2.y, n);
    } else if (d0 + d2 < need) {
      SetCell(w1.x, w1.y, n);
    } else if (d1 + d2 < need) {
      SetCell(w0.x, w0.y, n);
    }
  } else if (!a && b == 1) {
    if (d0 < need) SetCell(w1.x, w1.y, n);
  } else if (!a && b == 2) {
    if (d1 < need) SetCell(w0.x, w0.y, n);
  } else if (a && b == 0) {
    if (d0 < need) SetCell(w2.x, w2.y, n);
  }
}

void Solver::FillEnclosedRegions() {
  ClearAllMarks();
  marks_.ResetTouched();
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      const Cell& e = At(x, y);
      if (e.number != 0 || e.mark != 0) continue;

      bool besideOpenBlock = false;
      std::uint64_t numbersBeside = 0;
      const int size = ScanRegion(x, y, besideOpenBlock, numbersBeside);
      const bool acts = size <= kMaxCellNumber && !besideOpenBlock &&
                        (((numbersBeside >> size) & 1) == 0 || size <= 2);
      if (acts) {
        // The fill takes the cells the walk leaves finished, and a
        // contradiction leaves the walk's marks: walk the region for them.
        for (int i = 0; i < size; ++i) At(FloodCells[i].x, FloodCells[i].y).mark = 0;
        for (std::int32_t& seen : SeenNumbers) seen = 0;
        RegionFlood(x, y);
      }
      const int s = acts ? RegionCellCount : size;
      if (s <= kMaxCellNumber && !besideOpenBlock) {
        if (acts && SeenNumbers[s] == 0) {
          FillFromScanCopy(2, s);
        } else if (s <= 2) {
          state_.SolverStatus = kStatusContradiction;
          break;  // on with row 1 of the next column, without the clean-up
        } else if (s == 3) {
          if (MiddleCellTest(x, y)) return;
        }
      }

      marks_.ForEachTouched(state_, [](Cell& c) {
        if (c.mark > 0) c.mark = 3;
      });
      marks_.ResetTouched();
    }
  }
}

// The empty region around (x, y), breadth first: its size, whether it
// borders a block that is not complete, and the numbers 1..63 beside it.
// RegionFlood's walk steps many cells more than once and the rule mostly
// needs only these answers; every cell reached gets mark 3, which the rule's
// clean-up would have given it, so the clean-up need not visit it.
int Solver::ScanRegion(int x, int y, bool& besideOpenBlock, std::uint64_t& numbersBeside) {
  marks_.Scanned(At(x, y), x, y);
  return FloodFrom({x, y}, FloodCells, [&](int nx, int ny) {
    Cell& nb = At(nx, ny);
    if (nb.number == 0) {
      if (nb.mark != 0) return false;
      marks_.Scanned(nb, nx, ny);
      return true;
    }
    const int m = ReducedFast(nb.number);
    if (m == 0) return false;
    if (nb.complete == 0) besideOpenBlock = true;
    if (m < 64) numbersBeside |= std::uint64_t{1} << m;
    return false;
  });
}

// A region of 3 beside a complete 3 splits into a 1 and a 2 that holds the
// middle cell, so the middle cell must not touch another 2.
bool Solver::MiddleCellTest(int x, int y) {
  int emptyCount = 0;
  int fx = 0, fy = 0;
  bool twoBeside = false;
  for (int d = 0; d < 4; ++d) {
    const int nx = x + kDx[d], ny = y + kDy[d];
    if (IsEmpty(nx, ny)) {
      ++emptyCount;
      fx = nx;
      fy = ny;
    } else if (Holds(nx, ny, 2)) {
      twoBeside = true;
    }
  }
  if (emptyCount == 2) {
    if (twoBeside) {
      state_.SolverStatus = kStatusContradiction;
      return true;
    }
  } else if (emptyCount == 1) {
    for (int d = 0; d < 4; ++d) {
      const int nx = fx + kDx[d], ny = fy + kDy[d];
      if (!IsEmpty(nx, ny) && Holds(nx, ny, 2)) {
        state_.SolverStatus = kStatusContradiction;
        return true;
      }
    }
  }
  return false;
}

void Solver::FillEnclosedSinglesAndPairs() {
  const int w = state_.BoardWidth, h = state_.BoardHeight;
  for (int x = 1; x <= w; ++x) {
    for (int y = 1; y <= h; ++y) {
      if (!IsEmpty(x, y)) continue;
      auto filled = [&](int dx, int dy) { return !IsEmpty(x + dx, y + dy); };
      const bool u = filled(0, -1), l = filled(-1, 0), d = filled(0, 1), r = filled(1, 0);

      if (u && l && d && r) {
        bool oneBeside = false;
        int count = 0, candidate = 0;
        for (int dir = 0; dir < 4; ++dir) {
          const Cell& nb = At(x + kDx[dir], y + kDy[dir]);
          if (ReducedFast(nb.number) == 1) {
            oneBeside = true;
          } else if (nb.number != WALL && nb.complete == 0) {
            ++count;
            candidate = ReducedFast(nb.number);
          }
        }
        if (oneBeside) {
          if (count == 1) {
            SetCell(x, y, candidate);
          } else if (count == 0) {
            state_.SolverStatus = kStatusContradiction;
            return;
          }
        } else if (count == 0) {
          SetCell(x, y, 1);
        }
        continue;
      }
      if (!u) continue;

      // The six outer cells of the pair: three beside E, then three beside the partner.
      int ox[6], oy[6];
      int px = 0, py = 0;
      bool horizontal = false;
      if (l && d) {
        if (!(filled(1, -1) && filled(2, 0) && filled(1, 1))) continue;
        horizontal = true;
        px = x + 1;
        py = y;
        const int xs[6] = {0, -1, 0, 1, 2, 1}, ys[6] = {-1, 0, 1, -1, 0, 1};
        for (int i = 0; i < 6; ++i) ox[i] = x + xs[i], oy[i] = y + ys[i];
      } else {
        if (!(l && r)) continue;
        if (!(filled(-1, 1) && filled(0, 2) && filled(1, 1))) continue;
        px = x;
        py = y + 1;
        const int xs[6] = {0, -1, 1, -1, 0, 1}, ys[6] = {-1, 0, 0, 1, 2, 1};
        for (int i = 0; i < 6; ++i) ox[i] = x + xs[i], oy[i] = y + ys[i];
      }

      bool twoBeside = false;
      int count = 0, candidate = 0;
      bool partnerSide = false;
      for (int i = 0; i < 6; ++i) {
        const Cell& c = At(ox[i], oy[i]);
        const int m = ReducedFast(c.number);
        if (m == 2) {
          twoBeside = true;
        } else if (m > 2 && c.complete == 0) {
          ++count;
          candidate = m;
          partnerSide = i >= 3;
        }
      }
      if (twoBeside && count == 1) {
        if (options_.mends.pairMayHideOne && PairMayHideOneAndPartner(x, y, px, py, horizontal)) continue;
        if (partnerSide) {
          SetCell(px, py, candidate);
        } else {
          SetCell(x, y, candidate);
        }
      } else if (!twoBeside && count == 0) {
        SetCell(x, y, 2);
        SetCell(px, py, 2);
      }
    }
  }
}

// Mended: with a 2 beside the pair, one cell may be a 1 (no 1 among its outer
// cells) while the other joins an unfinished 2 among its own outer cells.
bool Solver::PairMayHideOneAndPartner(int x, int y, int px, int py, bool horizontal) const {
  // Outer cells of E and of the partner, three each, as in the pair rule.
  int ex[3], ey[3], qx[3], qy[3];
  if (horizontal) {
    const int exs[3] = {0, -1, 0}, eys[3] = {-1, 0, 1};
    const int qxs[3] = {0, 1, 0}, qys[3] = {-1, 0, 1};
    for (int i = 0; i < 3; ++i) {
      ex[i] = x + exs[i], ey[i] = y + eys[i];
      qx[i] = px + qxs[i], qy[i] = py + qys[i];
    }
  } else {
    const int exs[3] = {0, -1, 1}, eys[3] = {-1, 0, 0};
    const int qxs[3] = {-1, 0, 1}, qys[3] = {0, 1, 0};
    for (int i = 0; i < 3; ++i) {
      ex[i] = x + exs[i], ey[i] = y + eys[i];
      qx[i] = px + qxs[i], qy[i] = py + qys[i];
    }
  }
  auto anyHolding = [&](const int* cx, const int* cy, int number, bool onlyIncomplete) {
    for (int i = 0; i < 3; ++i) {
      const Cell& c = state_.Board[cx[i]][cy[i]];
      if (ReducedFast(c.number) == number && (!onlyIncomplete || c.complete == 0)) return true;
    }
    return false;
  };
  const bool eCanBeOne = !anyHolding(ex, ey, 1, false);
  const bool pCanBeOne = !anyHolding(qx, qy, 1, false);
  const bool eBesideOpenTwo = anyHolding(ex, ey, 2, true);
  const bool pBesideOpenTwo = anyHolding(qx, qy, 2, true);
  return (eCanBeOne && pBesideOpenTwo) || (pCanBeOne && eBesideOpenTwo);
}

}  // namespace numbloc
