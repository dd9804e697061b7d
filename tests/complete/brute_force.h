// A reference written without solver code: every filling of a tiny board, cut
// as soon as a group outgrows its number or is shut in too small.
#pragma once

#include <algorithm>
#include <random>
#include <vector>

namespace numbloc::test {

class BruteForce {
 public:
  static constexpr int kMaxCells = 30;  // tiny boards only

  // hints: width * height values, row by row, 0 = none.
  BruteForce(int width, int height, std::vector<int> hints)
      : w_(width), h_(height), hints_(std::move(hints)), cell_(width * height, 0) {}

  // Random number order from now on: the first solution found is random.
  void Shuffle(std::mt19937* rng) { rng_ = rng; }

  // Counts solutions, stopping at `limit`; keeps the first two found.
  int Count(int limit) {
    count_ = 0;
    limit_ = limit;
    found_.clear();
    Fill(0);
    return count_;
  }
  const std::vector<std::vector<int>>& Found() const { return found_; }

 private:
  // Size of the equal filled group around i; *open: touches an empty cell.
  // With `roomy`, empty cells count too: how large it could still grow.
  int GroupSize(int i, bool* open, bool roomy = false) const {
    int seen[kMaxCells] = {};
    int stack[kMaxCells];
    int top = 0, size = 0;
    stack[top++] = i;
    seen[i] = 1;
    if (open) *open = false;
    while (top > 0) {
      const int c = stack[--top];
      ++size;
      const int x = c % w_, y = c / w_;
      const int nx[4] = {x + 1, x - 1, x, x};
      const int ny[4] = {y, y, y + 1, y - 1};
      for (int d = 0; d < 4; ++d) {
        if (nx[d] < 0 || nx[d] >= w_ || ny[d] < 0 || ny[d] >= h_) continue;
        const int n = ny[d] * w_ + nx[d];
        if (cell_[n] == 0 && open) *open = true;
        if (seen[n] || (cell_[n] != cell_[i] && !(roomy && cell_[n] == 0))) continue;
        seen[n] = 1;
        stack[top++] = n;
      }
    }
    return size;
  }

  // Cell i was just filled: its group is not too large, and the groups it may
  // have shut in (left of and above it, filled earlier) are not too small.
  bool Plausible(int i) const {
    const int around[3] = {i, i % w_ > 0 ? i - 1 : -1, i - w_};
    for (const int c : around) {
      if (c < 0) continue;
      bool open = false;
      const int size = GroupSize(c, &open);
      if (size > cell_[c] || (!open && size < cell_[c])) return false;
      if (open && GroupSize(c, nullptr, true) < cell_[c]) return false;
    }
    return true;
  }

  void Fill(int i) {
    if (count_ >= limit_) return;
    if (i == w_ * h_) {
      if (static_cast<int>(found_.size()) < 2) found_.push_back(cell_);
      ++count_;
      return;
    }
    const int top = w_ * h_ < 40 ? w_ * h_ : 40;
    std::vector<int> order;
    for (int v = 1; v <= top; ++v) order.push_back(v);
    // Small numbers make puzzle-like boards: shuffle the first few only.
    if (rng_) std::shuffle(order.begin(), order.begin() + std::min(top, 6), *rng_);
    for (const int v : order) {
      if (hints_[i] && hints_[i] != v) continue;
      cell_[i] = v;
      if (Plausible(i)) Fill(i + 1);
    }
    cell_[i] = 0;
  }

  int w_, h_;
  std::vector<int> hints_;
  std::vector<int> cell_;
  std::vector<std::vector<int>> found_;
  int count_ = 0;
  int limit_ = 2;
  std::mt19937* rng_ = nullptr;
};

}  // namespace numbloc::test
