// The plain-text puzzle format of the shared collection and of our puzzle
// generator: a size line, a solutions line, a grid of hints ('.' for an empty
// cell) and optionally the grid of a published solution.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/board/board_state.h"

namespace numbloc {

struct PuzzleText {
  int width = 0;
  int height = 0;
  std::string solutions;            // the text after "# solutions:", trimmed
  std::vector<int> hints;           // width * height, index x * height + y (0-based), 0 = none
  std::vector<int> solution;        // same layout; empty when none is published

  int HintAt(int x, int y) const { return hints[(x - 1) * height + (y - 1)]; }       // 1-based
  int SolutionAt(int x, int y) const { return solution[(x - 1) * height + (y - 1)]; }
  bool HasSolution() const { return !solution.empty(); }
  bool UniqueSolution() const { return HasSolution() && solutions.rfind("unique", 0) == 0; }
};

// Parses the text; returns nothing and explains in *error when it is malformed.
std::optional<PuzzleText> ParsePuzzleText(const std::string& text, std::string* error = nullptr);
std::optional<PuzzleText> ReadPuzzleText(const std::string& path, std::string* error = nullptr);

// Formats a puzzle (and its solution when it has one) in the same layout.
std::string FormatPuzzleText(const PuzzleText& puzzle);

// A fresh Creation-mode state holding the puzzle's hints, as the program would
// save a puzzle that was just set up.
BoardState PuzzleToState(const PuzzleText& puzzle);

}  // namespace numbloc
